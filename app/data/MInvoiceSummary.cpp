#include "MInvoiceSummary.h"

#include <QSqlQuery>
#include <QVariant>
#include <QStringList>

QVector<MInvoiceSummary::Rate> MInvoiceSummary::rates(const QList<int>& lineKeys, bool grossBase, int method)
{
    QVector<Rate> result;
    if (lineKeys.isEmpty())
        return result;

    QString head;
    if (method != AtTheEnd)
        head = QStringLiteral("SELECT v.id, SUM(pm.netto_price), SUM(pm.brutto_price), SUM(pm.vat_price) ");
    else if (grossBase)
        head = QStringLiteral(
            "SELECT v.id, round(SUM(pm.brutto_price) / (1.0 + p.vat / 100.0) + 0.0000000001, 2), "
            "SUM(pm.brutto_price), "
            "SUM(pm.brutto_price) - round(SUM(pm.brutto_price) / (1.0 + p.vat / 100.0) + 0.0000000001, 2) ");
    else
        head = QStringLiteral(
            "SELECT v.id, SUM(pm.netto_price), round(SUM(pm.netto_price) * (1.0 + p.vat / 100.0) + 0.0000000001, 2), "
            "round(SUM(pm.netto_price) * (1.0 + p.vat / 100.0) + 0.0000000001, 2) - SUM(pm.netto_price) ");

    QSqlQuery query;
    if (!query.exec(head
                    + QStringLiteral("FROM __invoice_product_misc pm "
                                     "LEFT JOIN __invoice_product p ON p.__id = pm.id_product "
                                     "LEFT JOIN vat v ON v.name = p.vat_text WHERE pm.__id IN (")
                    + keyList(lineKeys) + QStringLiteral(") GROUP BY v.id")))
        return result;
    while (query.next())
        result.append({query.value(0).toInt(), query.value(1).toDouble(), query.value(2).toDouble(),
                       query.value(3).toDouble()});
    return result;
}

double MInvoiceSummary::brutto(const QVector<Rate>& rates)
{
    double sum = 0.0;
    for (const Rate& rate : rates)
        sum += rate.brutto;
    return sum;
}

double MInvoiceSummary::advanceSum(const QList<int>& joinKeys)
{
    if (joinKeys.isEmpty())
        return 0.0;
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT SUM(i.brutto_part) FROM __invoice_join ij "
                                   "LEFT JOIN invoice i ON i.id = ij.id_invoice_join WHERE ij.__id IN (")
                    + keyList(joinKeys) + QStringLiteral(")"))
        || !query.next())
        return 0.0;
    return query.value(0).toDouble();
}

QString MInvoiceSummary::keyList(const QList<int>& keys)
{
    QStringList ids {QStringLiteral("0")};
    for (int key : keys)
        ids << QString::number(key);
    return ids.join(QLatin1Char(','));
}

double MInvoiceSummary::readAmount(QString text)
{
    return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}
