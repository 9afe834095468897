#include "MDocumentNumber.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// A wider padding could never be a stored document number, and an absurd
// width typed into the pattern must not exhaust the memory.
constexpr int maxNumberWidth = 256;

} // namespace

QString formatInvoiceNumber(QString pattern, int index, int month, int year)
{
    const QString number = QString::number(index);
    pattern.replace(QLatin1String("[nr]"), number);

    // Only the first width token is read; all copies of exactly that token get its padding.
    const QLatin1String widthToken("[nr|");
    const int open = pattern.indexOf(widthToken);
    if (open >= 0) {
        const int widthStart = open + widthToken.size();
        const int close = pattern.indexOf(QLatin1Char(']'), widthStart);
        if (close >= 0) {
            const int width = qBound(0, pattern.mid(widthStart, close - widthStart).toInt(), maxNumberWidth);
            pattern.replace(pattern.mid(open, close - open + 1), number.rightJustified(width, QLatin1Char('0')));
        }
    }

    const QString monthText = QString::number(month);
    const QString yearText = QString::number(year);
    pattern.replace(QLatin1String("[m]"), monthText);
    pattern.replace(QLatin1String("[mm]"), monthText.rightJustified(2, QLatin1Char('0')));
    pattern.replace(QLatin1String("[r]"), yearText.right(1));
    pattern.replace(QLatin1String("[rr]"), yearText.right(2));
    pattern.replace(QLatin1String("[rrr]"), yearText.right(3));
    pattern.replace(QLatin1String("[rrrr]"), yearText.right(4));
    return pattern;
}

QString invoiceNumber(int index, int idSeller, int month, int year, bool saved)
{
    if (index < 1 || idSeller < 1)
        return QString();

    QSqlQuery query;
    query.prepare(saved ? QStringLiteral("SELECT invoice_index_format_text FROM invoice_seller WHERE id = :id")
                        : QStringLiteral("SELECT invoice_index_format_text FROM __invoice_seller WHERE __id = :id"));
    query.bindValue(QStringLiteral(":id"), idSeller);
    if (!query.exec() || !query.next())
        return QString();
    return formatInvoiceNumber(query.value(0).toString(), index, month, year);
}

QString invoiceNumberById(int idInvoice)
{
    if (idInvoice < 1)
        return QString();

    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT invoice_index, id_seller, strftime('%m', date_put), strftime('%Y', date_put) "
                                 "FROM invoice WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), idInvoice);
    if (!query.exec() || !query.next())
        return QString();
    return invoiceNumber(query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt(),
                         query.value(3).toInt(), true);
}
