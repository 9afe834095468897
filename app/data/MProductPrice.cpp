#include "data/MProductPrice.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// The values go into the table as text of six decimals, the precision the dialog keeps.
double sixDecimals(double value)
{
    return QString::number(value, 'f', 6).toDouble();
}

QStringList nettoColumns(bool percent)
{
    const QString gross = QStringLiteral(" * (1.0 + vat / 100.0))");
    if (percent) {
        return {
            QStringLiteral("round_cents(netto") + gross,
            QStringLiteral("round_cents(netto * (100.0 - reduct) * 0.01)"),
            QStringLiteral("round_cents(amount * netto * (100.0 - reduct) * 0.01)"),
            QStringLiteral("round_cents(round_cents(netto * (100.0 - reduct) * 0.01)") + gross,
            QStringLiteral("round_cents(round_cents(amount * netto * (100.0 - reduct) * 0.01)") + gross,
        };
    }
    return {
        QStringLiteral("round_cents(netto") + gross,
        QStringLiteral("netto - reduct"),
        QStringLiteral("round_cents(amount * (netto - reduct))"),
        QStringLiteral("round_cents((netto - reduct)") + gross,
        QStringLiteral("round_cents(round_cents(amount * (netto - reduct))") + gross,
    };
}

QStringList bruttoColumns(bool percent)
{
    const QString net = QStringLiteral(" / (1.0 + vat / 100.0))");
    if (percent) {
        return {
            QStringLiteral("round_cents(brutto") + net,
            QStringLiteral("round_cents(round_cents(brutto * (100.0 - reduct) * 0.01)") + net,
            QStringLiteral("round_cents(round_cents(amount * brutto * (100.0 - reduct) * 0.01)") + net,
            QStringLiteral("round_cents(brutto * (100.0 - reduct) * 0.01)"),
            QStringLiteral("round_cents(amount * brutto * (100.0 - reduct) * 0.01)"),
        };
    }
    return {
        QStringLiteral("round_cents(brutto") + net,
        QStringLiteral("round_cents((brutto - reduct)") + net,
        QStringLiteral("round_cents(amount * ((brutto - reduct) / (1.0 + vat / 100.0)))"),
        QStringLiteral("brutto - reduct"),
        QStringLiteral("round_cents(amount * (brutto - reduct))"),
    };
}

} // namespace

int MProductPrice::vatRate(const QString& name)
{
    if (name.isEmpty())
        return 0;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT val FROM vat WHERE name = :name"));
    query.bindValue(QStringLiteral(":name"), name);
    if (query.exec() && query.next())
        return query.value(0).toInt();
    return 0;
}

QString MProductPrice::selectColumns(const Input& input)
{
    const QStringList columns = input.fromNetto ? nettoColumns(input.percentDiscount)
                                                : bruttoColumns(input.percentDiscount);
    return input.line ? columns.join(QStringLiteral(", ")) : columns.first();
}

MProductPrice::Result MProductPrice::count(const Input& input)
{
    Result result;
    const QString priceColumn = input.fromNetto ? QStringLiteral("netto") : QStringLiteral("brutto");
    QSqlQuery insert;
    if (input.line) {
        insert.prepare(QStringLiteral("INSERT INTO __count_price (") + priceColumn
                       + QStringLiteral(", vat, reduct, amount) VALUES (:price, :vat, :reduct, :amount)"));
        insert.bindValue(QStringLiteral(":reduct"), sixDecimals(input.reduct));
        insert.bindValue(QStringLiteral(":amount"), sixDecimals(input.amount));
    } else {
        insert.prepare(QStringLiteral("INSERT INTO __count_price (") + priceColumn
                       + QStringLiteral(", vat) VALUES (:price, :vat)"));
    }
    insert.bindValue(QStringLiteral(":price"), sixDecimals(input.price));
    insert.bindValue(QStringLiteral(":vat"), sixDecimals(input.vatRate));
    if (!insert.exec())
        return result;

    QSqlQuery select;
    select.prepare(QStringLiteral("SELECT ") + selectColumns(input) + QStringLiteral(" FROM __count_price WHERE id = :id"));
    select.bindValue(QStringLiteral(":id"), insert.lastInsertId());
    if (!select.exec() || !select.next())
        return result;

    result.ok = true;
    result.otherPrice = select.value(0).toDouble();
    if (input.line) {
        result.nettoReduced = select.value(1).toDouble();
        result.nettoTotal = select.value(2).toDouble();
        result.bruttoReduced = select.value(3).toDouble();
        result.bruttoTotal = select.value(4).toDouble();
    }
    return result;
}
