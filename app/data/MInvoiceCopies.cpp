#include "MInvoiceCopies.h"

#include "data/MInvoiceCopyStore.h"
#include "data/MSqliteHandle.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <sqlite3.h>

namespace {

const QHash<QString, QStringList>& md5ColumnsByTable()
{
    static const QHash<QString, QStringList> columns {
        { QStringLiteral("invoice_buyer"),
          { QStringLiteral("firm"), QStringLiteral("nip"), QStringLiteral("regon"), QStringLiteral("address"),
            QStringLiteral("city"), QStringLiteral("zipcode"), QStringLiteral("id_province"),
            QStringLiteral("id_country"), QStringLiteral("bank"), QStringLiteral("bank_account"),
            QStringLiteral("phone"), QStringLiteral("fax"), QStringLiteral("email"), QStringLiteral("www"),
            QStringLiteral("permit_person_firstname"), QStringLiteral("permit_person_secondname"),
            QStringLiteral("permit_person_pesel"), QStringLiteral("reduct"),
            QStringLiteral("person_document_id_kind"), QStringLiteral("person_document_number"),
            QStringLiteral("person_document_by"), QStringLiteral("person_document_date"),
            QStringLiteral("id_address_contact"), QStringLiteral("firm_short") } },
        { QStringLiteral("invoice_buyer_address"),
          { QStringLiteral("address"), QStringLiteral("city"), QStringLiteral("zipcode"),
            QStringLiteral("id_province"), QStringLiteral("id_country"), QStringLiteral("name") } },
        { QStringLiteral("invoice_currency_rating"),
          { QStringLiteral("bank_name"), QStringLiteral("id_currency_from"), QStringLiteral("id_currency_to"),
            QStringLiteral("rating_date"), QStringLiteral("input_kind"), QStringLiteral("currency_amount_from"),
            QStringLiteral("currency_value"), QStringLiteral("table_name") } },
        { QStringLiteral("invoice_end_text"), { QStringLiteral("content") } },
        { QStringLiteral("invoice_product"),
          { QStringLiteral("name"), QStringLiteral("symbol"), QStringLiteral("code"), QStringLiteral("unit"),
            QStringLiteral("netto_price"), QStringLiteral("brutto_price"), QStringLiteral("vat"),
            QStringLiteral("reduct"), QStringLiteral("id_currency"), QStringLiteral("vat_text"),
            QStringLiteral("vat_kind"), QStringLiteral("count_from_netto"), QStringLiteral("profit_brutto") } },
        { QStringLiteral("invoice_seller"),
          { QStringLiteral("firm"), QStringLiteral("nip"), QStringLiteral("regon"), QStringLiteral("address"),
            QStringLiteral("city"), QStringLiteral("zipcode"), QStringLiteral("id_province"),
            QStringLiteral("id_country"), QStringLiteral("bank"), QStringLiteral("bank_account"),
            QStringLiteral("phone"), QStringLiteral("fax"), QStringLiteral("email"), QStringLiteral("www"),
            QStringLiteral("permit_person_firstname"), QStringLiteral("permit_person_secondname"),
            QStringLiteral("permit_person_pesel"), QStringLiteral("reduct"), QStringLiteral("id_kind"),
            QStringLiteral("id_invoice_index_format"), QStringLiteral("invoice_index_format_text"),
            QStringLiteral("person_document_id_kind"), QStringLiteral("person_document_number"),
            QStringLiteral("person_document_by"), QStringLiteral("person_document_date"),
            QStringLiteral("firm_short") } },
    };
    return columns;
}

bool isCopyTable(const QString& table)
{
    return md5ColumnsByTable().contains(table);
}

// A value as the fingerprint spells it: NULL as empty text, a real in the
// general number form with at most 15 significant digits (so that a price
// computed as 0.1 + 0.2 reads 0.3, not its last binary digits), anything
// else as QVariant gives it.
QString fingerprintText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    if (value.type() == QVariant::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

bool isAscii(const unsigned char* text, int size)
{
    for (int i = 0; i < size; ++i) {
        if (text[i] >= 0x80)
            return false;
    }
    return true;
}

// invoice_copy_md5(value, ...): MInvoiceCopies::md5 of the values as Qt's SQLite
// driver reads them (by storage class; text through UTF-16), computed inside a
// statement so that the refresh reads no row into the program.
void copyMd5(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    for (int i = 0; i < argc; ++i) {
        sqlite3_value* value = argv[i];
        switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
            hash.addData(QByteArray::number(sqlite3_value_int64(value)));
            break;
        case SQLITE_FLOAT:
            hash.addData(fingerprintText(sqlite3_value_double(value)).toUtf8());
            break;
        case SQLITE_BLOB: {
            const QByteArray bytes(static_cast<const char*>(sqlite3_value_blob(value)), sqlite3_value_bytes(value));
            hash.addData(fingerprintText(bytes).toUtf8());
            break;
        }
        default: {
            const auto* text = sqlite3_value_text(value);
            const int size = sqlite3_value_bytes(value);
            if (isAscii(text, size)) {
                hash.addData(reinterpret_cast<const char*>(text), size);
            } else {
                // What the driver makes of it, invalid sequences included.
                const auto* utf16 = static_cast<const QChar*>(sqlite3_value_text16(value));
                hash.addData(QString(utf16, sqlite3_value_bytes16(value) / int(sizeof(QChar))).toUtf8());
            }
            break;
        }
        }
    }
    const QByteArray hex = hash.result().toHex();
    sqlite3_result_text(context, hex.constData(), hex.size(), SQLITE_TRANSIENT);
}

} // namespace

const QStringList& MInvoiceCopies::tables()
{
    static const QStringList names { QStringLiteral("invoice_buyer"), QStringLiteral("invoice_buyer_address"),
                                     QStringLiteral("invoice_currency_rating"), QStringLiteral("invoice_end_text"),
                                     QStringLiteral("invoice_product"), QStringLiteral("invoice_seller") };
    return names;
}

QStringList MInvoiceCopies::md5Columns(const QString& table)
{
    return md5ColumnsByTable().value(table);
}

QString MInvoiceCopies::md5(const QVariantList& values)
{
    QString text;
    for (const QVariant& value : values)
        text += fingerprintText(value);
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

void MInvoiceCopies::deleteUnused()
{
    // "id NOT IN (a UNION b)" written as "id NOT IN (a) AND id NOT IN (b)", which
    // deletes the same rows: each part is then looked up in its column's index
    // instead of both lists being gathered from every document.
    static const char* const statements[] = {
        "begin",
        "DELETE FROM invoice_buyer WHERE id NOT IN (SELECT id_buyer FROM invoice) "
        "AND id NOT IN (SELECT id_buyer2 FROM invoice)",
        // After the buyers, so that the addresses of the buyer copies just deleted go too.
        "DELETE FROM invoice_buyer_address WHERE id NOT IN (SELECT id_address_contact FROM invoice_buyer)",
        "DELETE FROM invoice_currency_rating WHERE id NOT IN (SELECT id_currency_rating FROM invoice)",
        // id_end_text2 has no index: its list is gathered only for texts that no
        // document has as its first closing text.
        "DELETE FROM invoice_end_text WHERE id NOT IN (SELECT id_end_text FROM invoice) "
        "AND id NOT IN (SELECT id_end_text2 FROM invoice)",
        "DELETE FROM invoice_product WHERE id NOT IN (SELECT id_product FROM invoice_product_misc)",
        "DELETE FROM invoice_seller WHERE id NOT IN (SELECT id_seller FROM invoice)",
        "commit",
    };
    QSqlQuery query;
    for (const char* statement : statements)
        query.exec(QString::fromLatin1(statement));
}

void MInvoiceCopies::updateMd5()
{
    deleteUnused();

    sqlite3* handle = MSqliteHandle::of(QSqlDatabase::database());
    if (handle)
        sqlite3_create_function_v2(handle, "invoice_copy_md5", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   copyMd5, nullptr, nullptr, nullptr);
    QSqlQuery query;
    query.exec(QStringLiteral("begin"));
    for (const QString& table : tables()) {
        // Only the rows whose stored fingerprint differs are written: at most
        // starts nothing has changed, and an UPDATE per row would dominate.
        const QString fingerprint =
            QStringLiteral("invoice_copy_md5(") + md5Columns(table).join(QStringLiteral(", ")) + QLatin1Char(')');
        query.exec(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET id_md5 = ") + fingerprint
                   + QStringLiteral(" WHERE id_md5 IS NOT ") + fingerprint);
    }
    query.exec(QStringLiteral("commit"));
}

QStringList MInvoiceCopies::contentColumns(const QString& table)
{
    static const QStringList excluded { QStringLiteral("id"), QStringLiteral("time_create"),
                                        QStringLiteral("time_modify"), QStringLiteral("additional"),
                                        QStringLiteral("id_md5") };
    QStringList columns;
    if (!isCopyTable(table))
        return columns;
    const QSqlRecord record = QSqlDatabase::database().record(table);
    for (int i = 0; i < record.count(); ++i) {
        if (!excluded.contains(record.fieldName(i)))
            columns.append(record.fieldName(i));
    }
    return columns;
}

int MInvoiceCopies::storeCopy(const QString& table, const QSqlRecord& copy)
{
    return MInvoiceCopyStore().storeCopy(table, copy);
}

int MInvoiceCopies::storeWorkingCopy(const QString& table, int workingId)
{
    return MInvoiceCopyStore().storeWorkingCopy(table, workingId);
}
