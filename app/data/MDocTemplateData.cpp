#include "data/MDocTemplateData.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

// The first row of `sql` with the id appended; false when the id is below 1 or there is no row.
bool firstRow(QSqlQuery& query, const QString& sql, int idInvoice)
{
    query.setForwardOnly(true);
    return idInvoice >= 1 && query.exec(sql + QString::number(idInvoice)) && query.next();
}

QVariant firstValue(const QString& sql, int idInvoice)
{
    QSqlQuery query;
    return firstRow(query, sql, idInvoice) ? query.value(0) : QVariant();
}

// The document's kind, -1 without a document.
int invoiceKind(int idInvoice)
{
    const QVariant kind = firstValue(QStringLiteral("SELECT i.invoice_kind FROM invoice i WHERE i.id = "), idInvoice);
    return kind.isNull() ? -1 : kind.toInt();
}

QString tr(const char* text)
{
    return QCoreApplication::translate("MDocTemplateData", text);
}

} // namespace

int MDocTemplateData::idRecordParent(int idInvoice)
{
    return firstValue(QStringLiteral("SELECT i.id_parent_invoice FROM invoice i WHERE i.id = "), idInvoice).toInt();
}

QString MDocTemplateData::invoiceContractText(int idInvoice)
{
    return firstValue(QStringLiteral("SELECT contract_text FROM invoice i WHERE i.id = "), idInvoice).toString();
}

double MDocTemplateData::invoiceCorrectTotalPrice(int idInvoice)
{
    return firstValue(QStringLiteral("SELECT i.global_brutto - i2.global_brutto FROM invoice i "
                                     "LEFT JOIN invoice i2 ON i2.id = i.id_parent_invoice WHERE i.id = "),
                      idInvoice)
        .toDouble();
}

QStringList MDocTemplateData::invoiceKindName(int idInvoice, const OptionReader& option)
{
    QString header;
    QString suffix;
    QSqlQuery query;
    if (firstRow(query,
                 QStringLiteral("SELECT ik.basic_form, strftime('%Y%m%d', date_put), i.invoice_kind FROM invoice i "
                                "LEFT JOIN invoice_kind ik ON ik.id = i.invoice_kind WHERE i.id = "),
                 idInvoice)) {
        header = query.value(0).toString().toUpper();
        const QString issued = query.value(1).toString();
        const int kind = query.value(2).toInt();
        // Headers of documents issued from 2013 on follow the law of that year, as the options word them.
        if (!query.value(1).isNull() && issued >= QLatin1String("20130101")) {
            switch (kind) {
            case 0: case 3: case 11: case 15: case 19: case 23: case 27:
                header = option(QStringLiteral("TRANSLATE_HEADER_INVOICE_20130101"));
                break;
            case 2: case 4: case 12: case 16: case 20: case 24: case 28:
                header = option(QStringLiteral("TRANSLATE_HEADER_INVOICE_CORRECT_20130101"));
                break;
            case 1:
                header = option(QStringLiteral("TRANSLATE_HEADER_INVOICE_PROFORM_20130101"));
                break;
            default:
                break;
            }
            header = header.toUpper();
            switch (kind) {
            case 3: case 4:
                suffix = tr(QT_TRANSLATE_NOOP("MDocTemplateData", "metoda kasowa"));
                break;
            case 15: case 16:
                suffix = tr(QT_TRANSLATE_NOOP("MDocTemplateData", "odwrotne obciążenie"));
                break;
            case 19: case 20:
                suffix = tr(QT_TRANSLATE_NOOP("MDocTemplateData", "zaliczkowa"));
                break;
            case 23: case 24:
                suffix = tr(QT_TRANSLATE_NOOP("MDocTemplateData", "końcowa"));
                break;
            case 27: case 28:
                suffix = tr(QT_TRANSLATE_NOOP("MDocTemplateData", "marża"));
                break;
            case 11: case 12:
                header += tr(QT_TRANSLATE_NOOP("MDocTemplateData", " RR"));
                break;
            default:
                break;
            }
        }
    }
    return {header, suffix};
}

QStringList MDocTemplateData::invoicePayDate(int idInvoice, PayDate which)
{
    const QString column =
        which == PayDatePart ? QStringLiteral("date_payed_part") : QStringLiteral("date_payed_all");
    QSqlQuery query;
    if (!firstRow(query,
                  QStringLiteral("SELECT IFNULL(strftime('%d', ") + column + QStringLiteral("), ''), IFNULL(strftime('%m', ")
                      + column + QStringLiteral("), ''), IFNULL(strftime('%Y', ") + column
                      + QStringLiteral("), '') FROM invoice i WHERE i.id = "),
                  idInvoice)
        || query.value(0).toString().isEmpty())
        return {};
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString()};
}

double MDocTemplateData::invoicePartPrice(int idInvoice)
{
    return firstValue(QStringLiteral("SELECT i.brutto_part FROM invoice i WHERE i.id = "), idInvoice).toDouble();
}

double MDocTemplateData::invoicePartTotalPrice(int idInvoice)
{
    const double joined =
        firstValue(QStringLiteral("SELECT SUM(i2.brutto_part) FROM invoice i "
                                  "LEFT JOIN invoice_join ij ON ij.id_invoice = i.id "
                                  "LEFT JOIN invoice i2 ON i2.id = ij.id_invoice_join WHERE i.id = "),
                   idInvoice)
            .toDouble();
    return invoicePartPrice(idInvoice) + joined;
}

int MDocTemplateData::invoiceSellerBase(int idInvoice)
{
    const QString type = invoiceType(idInvoice);
    if (type == QLatin1String("DUPLICATE") || type == QLatin1String("CORRECT_DUPLICATE"))
        idInvoice = idRecordParent(idInvoice);
    return firstValue(QStringLiteral("SELECT i.id_seller_base FROM invoice i WHERE i.id = "), idInvoice).toInt();
}

double MDocTemplateData::invoiceTotalPrice(int idInvoice)
{
    return firstValue(QStringLiteral("SELECT i.global_brutto FROM invoice i WHERE i.id = "), idInvoice).toDouble();
}

QString MDocTemplateData::invoiceType(int idInvoice)
{
    switch (invoiceKind(idInvoice)) {
    case 2: case 4: case 12: case 16: case 20: case 24: case 28:
        return QStringLiteral("CORRECT");
    case 5: case 7: case 10: case 13: case 17: case 21: case 25: case 29:
        return QStringLiteral("DUPLICATE");
    case 6: case 8: case 14: case 18: case 22: case 26: case 30:
        return QStringLiteral("CORRECT_DUPLICATE");
    default:
        return QString();
    }
}

QString MDocTemplateData::invoiceType2(int idInvoice)
{
    switch (invoiceKind(idInvoice)) {
    case -1:
        return QString();
    case 9: case 10:
        return QStringLiteral("BILL");
    default:
        return QStringLiteral("INVOICE");
    }
}

QString MDocTemplateData::invoiceType3(int idInvoice)
{
    const int kind = invoiceKind(idInvoice);
    if (kind >= 11 && kind <= 14)
        return QStringLiteral("INVOICE_RR");
    if (kind >= 15 && kind <= 18)
        return QStringLiteral("INVOICE_OO");
    if (kind >= 19 && kind <= 22)
        return QStringLiteral("INVOICE_PRE");
    if (kind >= 23 && kind <= 26)
        return QStringLiteral("INVOICE_FINAL");
    if (kind >= 27 && kind <= 30)
        return QStringLiteral("INVOICE_PROFIT");
    return QString();
}

bool MDocTemplateData::isTextPayed(int idInvoice)
{
    return firstValue(QStringLiteral("SELECT i.payed FROM invoice i WHERE i.id = "), idInvoice).toInt() == 1;
}

QVariantList MDocTemplateData::sqlQuery(const QString& sql)
{
    QVariantList values;
    QSqlQuery query;
    query.setForwardOnly(true);
    if (!query.exec(sql))
        return values;
    const int columns = query.record().count();
    while (query.next()) {
        for (int column = 0; column < columns; ++column)
            values.append(query.value(column));
    }
    return values;
}

QString MDocTemplateData::moneyFormat(double d, int prec)
{
    QString text = QStringLiteral("%L1").arg(d, 0, 'f', prec);
    // Printed pages and e-mails stay plain Latin-1 text: the locale's no-break
    // group separator becomes an ordinary blank.
    text.replace(QLocale().groupSeparator(), QLatin1String(" "));
    return text;
}

QString MDocTemplateData::numberFormat(double d)
{
    return moneyFormat(d, 6);
}

int MDocTemplateData::countDaysFromStrings(const QString& date1, const QString& date2)
{
    const QDate from = QDate::fromString(date1, QStringLiteral("yyyy-MM-dd"));
    const QDate to = QDate::fromString(date2, QStringLiteral("yyyy-MM-dd"));
    if (!from.isValid() || !to.isValid())
        return 0;
    return int(from.daysTo(to));
}
