#include "MInvoiceIntake.h"

#include "MInvoiceWorkingCopies.h"
#include "MSqlTransaction.h"

#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

const QString productColumns = QStringLiteral(
    "id, name, symbol, code, unit, netto_price, brutto_price, vat, reduct, id_currency, vat_text, vat_kind, "
    "count_from_netto, time_create, time_modify, additional, '', profit_brutto");

QString rounded(const QString& x)
{
    return QStringLiteral("round(") + x + QStringLiteral(" + 0.0000000001, 2)");
}

// Net, gross and VAT of one line, for one price base and discount kind; the
// line is found by exactly one of the four variants.
QString lineValues(bool fromNetto, bool percent)
{
    const QString price = fromNetto ? QStringLiteral("p.netto_price") : QStringLiteral("p.brutto_price");
    const QString value = percent ? QStringLiteral("pm.amount * ") + price + QStringLiteral(" * (100.0 - pm.reduct) * 0.01")
                                  : QStringLiteral("pm.amount * (") + price + QStringLiteral(" - pm.reduct)");
    QString netto;
    QString brutto;
    if (fromNetto) {
        netto = rounded(value);
        brutto = rounded(netto + QStringLiteral(" * (100.0 + p.vat) * 0.01"));
    } else {
        brutto = rounded(value);
        netto = rounded(brutto + QStringLiteral(" * 100.0 / (100.0 + p.vat)"));
    }
    return QStringLiteral("SELECT pm.__id, ") + netto + QStringLiteral(", ") + brutto + QStringLiteral(", ") + brutto
           + QStringLiteral(" - ") + netto
           + QStringLiteral(" FROM __invoice_product_misc pm LEFT JOIN __invoice_product p ON p.__id = pm.id_product"
                            " WHERE p.count_from_netto = ")
           + QString::number(fromNetto ? 1 : 0) + QStringLiteral(" AND pm.reduct_percent = ")
           + QString::number(percent ? 1 : 0) + QStringLiteral(" AND pm.__id = :key");
}

const QString lineValueSql = QStringList{lineValues(true, true), lineValues(true, false), lineValues(false, true),
                                         lineValues(false, false)}
                                 .join(QStringLiteral(" UNION ALL "));

// Writes the line of product copy `productKey` into row `replaceKey`, or a
// new row; returns the line's key, 0 when nothing was written. `errorText`
// receives the database's reason when a statement fails.
int writeLine(int productKey, const MInvoiceIntake::LineDefaults& defaults, int replaceKey, QString* errorText)
{
    double netto = 0.0;
    double brutto = 0.0;
    QSqlQuery prices;
    *errorText = MSqlTransaction::exec(prices, QStringLiteral("SELECT netto_price, brutto_price FROM __invoice_product "
                                                              "WHERE __id = ")
                                                   + QString::number(productKey));
    if (!errorText->isEmpty())
        return 0;
    if (prices.next()) {
        netto = prices.value(0).toDouble();
        brutto = prices.value(1).toDouble();
    }

    QSqlQuery query;
    if (replaceKey > 0)
        query.prepare(QStringLiteral("UPDATE __invoice_product_misc SET id = :id, id_invoice = :id_invoice, "
                                     "id_product = :id_product, amount = :amount, reduct = :reduct, "
                                     "id_product_base = :id_product_base, reduct_percent = :reduct_percent, "
                                     "netto_price = :netto_price, brutto_price = :brutto_price, vat_price = :vat_price "
                                     "WHERE __id = :__id"));
    else
        query.prepare(QStringLiteral("INSERT INTO __invoice_product_misc (id, id_invoice, id_product, amount, reduct, "
                                     "id_product_base, reduct_percent, netto_price, brutto_price, vat_price) VALUES "
                                     "(:id, :id_invoice, :id_product, :amount, :reduct, :id_product_base, "
                                     ":reduct_percent, :netto_price, :brutto_price, :vat_price)"));
    query.bindValue(QStringLiteral(":id"), 0);
    query.bindValue(QStringLiteral(":id_invoice"), defaults.idInvoice);
    query.bindValue(QStringLiteral(":id_product"), productKey);
    query.bindValue(QStringLiteral(":amount"), 1);
    query.bindValue(QStringLiteral(":reduct"), defaults.amountDiscount ? 0.0 : defaults.buyerReduct);
    query.bindValue(QStringLiteral(":id_product_base"), 0);
    query.bindValue(QStringLiteral(":reduct_percent"), defaults.amountDiscount ? 0 : 1);
    query.bindValue(QStringLiteral(":netto_price"), netto);
    query.bindValue(QStringLiteral(":brutto_price"), brutto);
    query.bindValue(QStringLiteral(":vat_price"), brutto - netto);
    if (replaceKey > 0)
        query.bindValue(QStringLiteral(":__id"), replaceKey);
    *errorText = MSqlTransaction::exec(query);
    if (!errorText->isEmpty() || query.numRowsAffected() <= 0)
        return 0;
    return replaceKey > 0 ? replaceKey : query.lastInsertId().toInt();
}

// Copies product `id` and writes its line, whose key goes into `keys`; a bill's
// (`exempt`) product copy is made exempt first. Returns the reason when a
// statement fails, empty text also when the product is missing.
QString takeProduct(int id, const MInvoiceIntake::LineDefaults& defaults, bool exempt, int replaceKey,
                    QList<int>* keys)
{
    QString error;
    const int product = MInvoiceWorkingCopies::copy(QStringLiteral("__invoice_product"), QStringLiteral("product"),
                                                    id, productColumns, &error);
    if (product <= 0)
        return error;
    if (exempt) {
        error = MInvoiceWorkingCopies::makeExempt(product);
        if (!error.isEmpty())
            return error;
    }
    const int line = writeLine(product, defaults, replaceKey, &error);
    if (line <= 0) // a line to replace that is gone would leave the product copy on no line
        return error.isEmpty() ? QStringLiteral("no line %1").arg(replaceKey) : error;
    *keys << line;
    return MInvoiceIntake::updateLineValues(line);
}

QSet<int> joinedDocuments(const QList<int>& joinedKeys)
{
    QSet<int> ids;
    if (joinedKeys.isEmpty())
        return ids;
    QStringList keys;
    for (int key : joinedKeys)
        keys << QString::number(key);
    QSqlQuery query;
    if (query.exec(QStringLiteral("SELECT id_invoice_join FROM __invoice_join WHERE __id IN (") + keys.join(',')
                   + QLatin1Char(')')))
        while (query.next())
            ids.insert(query.value(0).toInt());
    return ids;
}

bool isOtherThanAdvance(int id)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT i.id FROM invoice i WHERE i.id = ? AND i.invoice_kind NOT IN (19,20)"));
    query.addBindValue(id);
    return query.exec() && query.next();
}

// Like writeLine, for a join row.
int writeJoin(int id, int idInvoice, int replaceKey, QString* errorText)
{
    QSqlQuery query;
    if (replaceKey > 0)
        query.prepare(QStringLiteral("UPDATE __invoice_join SET id = :id, id_invoice = :id_invoice, "
                                     "id_invoice_join = :id_invoice_join WHERE __id = :__id"));
    else
        query.prepare(QStringLiteral("INSERT INTO __invoice_join (id, id_invoice, id_invoice_join) VALUES "
                                     "(:id, :id_invoice, :id_invoice_join)"));
    query.bindValue(QStringLiteral(":id"), 0);
    query.bindValue(QStringLiteral(":id_invoice"), idInvoice);
    query.bindValue(QStringLiteral(":id_invoice_join"), id);
    if (replaceKey > 0)
        query.bindValue(QStringLiteral(":__id"), replaceKey);
    *errorText = MSqlTransaction::exec(query);
    if (!errorText->isEmpty() || query.numRowsAffected() <= 0)
        return 0;
    return replaceKey > 0 ? replaceKey : query.lastInsertId().toInt();
}

} // namespace

namespace MInvoiceIntake {

int takeBuyer(int id)
{
    return MInvoiceWorkingCopies::copyBuyer(QStringLiteral("buyer"), QStringLiteral("buyer_address"), id);
}

QList<int> takeProducts(const QList<int>& ids, const LineDefaults& defaults, int replaceKey)
{
    QList<int> keys;
    const bool bill = defaults.docKind == 9;
    const bool taken = MSqlTransaction::run([&] {
        for (int id : ids) {
            const QString error = takeProduct(id, defaults, bill, replaceKey, &keys);
            if (!error.isEmpty())
                return error;
            if (replaceKey > 0)
                break;
        }
        return QString();
    });
    return taken ? keys : QList<int>();
}

QString updateLineValues(int key)
{
    QSqlQuery values;
    values.prepare(lineValueSql);
    values.bindValue(QStringLiteral(":key"), key);
    QString error = MSqlTransaction::exec(values);
    if (!error.isEmpty() || !values.next())
        return error;
    QSqlQuery update;
    update.prepare(QStringLiteral("UPDATE __invoice_product_misc SET netto_price = :netto_price, brutto_price = "
                                  ":brutto_price, vat_price = :vat_price WHERE __id = :__id"));
    update.bindValue(QStringLiteral(":netto_price"), values.value(1));
    update.bindValue(QStringLiteral(":brutto_price"), values.value(2));
    update.bindValue(QStringLiteral(":vat_price"), values.value(3));
    update.bindValue(QStringLiteral(":__id"), key);
    return MSqlTransaction::exec(update);
}

JoinResult takeJoins(const QList<int>& ids, int idInvoice, const QList<int>& joinedKeys, int replaceKey)
{
    JoinResult result;
    QSet<int> joined = joinedDocuments(joinedKeys);
    if (replaceKey > 0)
        joined -= joinedDocuments({replaceKey});
    const bool taken = MSqlTransaction::run([&] {
        for (int id : ids) {
            if (isOtherThanAdvance(id)) {
                ++result.refused;
            } else if (!joined.contains(id) && !(idInvoice > 0 && id == idInvoice)) {
                QString error;
                const int key = writeJoin(id, idInvoice, replaceKey, &error);
                if (!error.isEmpty())
                    return error;
                if (key > 0) {
                    result.keys << key;
                    joined.insert(id);
                }
            }
            if (replaceKey > 0)
                break;
        }
        return QString();
    });
    return taken ? result : JoinResult();
}

} // namespace MInvoiceIntake
