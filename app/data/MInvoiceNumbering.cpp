#include "MInvoiceNumbering.h"

#include <QSqlQuery>
#include <QVariant>

QString MInvoiceNumbering::groupKinds(int kind)
{
    switch (kind) {
    case 0:
    case 3:
    case 15:
    case 19:
    case 23:
    case 27:
        return QStringLiteral("0, 3, 15, 19, 23, 27");
    case 2:
    case 4:
    case 16:
    case 20:
    case 24:
    case 28:
        return QStringLiteral("2, 4, 16, 20, 24, 28");
    case 1:
    case 9:
    case 11:
    case 12:
        return QString::number(kind);
    default:
        return QStringLiteral("-1");
    }
}

bool MInvoiceNumbering::periodBounds(int period, const QDate& date, QString* from, QString* to)
{
    if (period == Monthly) {
        *from = date.toString(QStringLiteral("yyyy-MM-01 00:00:00"));
        *to = date.addMonths(1).toString(QStringLiteral("yyyy-MM-01 00:00:00"));
        return true;
    }
    if (period == Yearly) {
        *from = date.toString(QStringLiteral("yyyy-01-01 00:00:00"));
        *to = date.addYears(1).toString(QStringLiteral("yyyy-01-01 00:00:00"));
        return true;
    }
    return false;
}

int MInvoiceNumbering::sellerPeriod(int sellerKey, int fallback)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT id_invoice_index_format FROM __invoice_seller WHERE __id = :key"));
    query.bindValue(QStringLiteral(":key"), sellerKey);
    if (query.exec() && query.next())
        return query.value(0).toInt();
    return fallback;
}

int MInvoiceNumbering::nextNumber(int idSellerBase, int kind, int period, const QDate& issueDate)
{
    QString from;
    QString to;
    if (!periodBounds(period, issueDate, &from, &to))
        return 0;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT MAX(invoice_index) FROM invoice WHERE date_put >= :from AND date_put < :to "
                                 "AND id_seller_base = :seller AND invoice_kind IN (")
                  + groupKinds(kind) + QStringLiteral(")"));
    query.bindValue(QStringLiteral(":from"), from);
    query.bindValue(QStringLiteral(":to"), to);
    query.bindValue(QStringLiteral(":seller"), idSellerBase);
    if (!query.exec() || !query.next())
        return 0;
    return query.value(0).toInt() + 1;
}
