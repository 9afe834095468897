#include "MInvoiceWorkingCopies.h"

#include "data/MSqlTransaction.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// The key of the row an INSERT has just made; 0 when it made none.
int insertedKey(QSqlQuery& query)
{
    if (query.numRowsAffected() <= 0)
        return 0;
    return query.lastInsertId().toInt();
}

QList<QPair<int, int>> idPairs(const QString& sql)
{
    QList<QPair<int, int>> pairs;
    QSqlQuery query;
    if (!query.exec(sql))
        return pairs;
    while (query.next())
        pairs << qMakePair(query.value(0).toInt(), query.value(1).toInt());
    return pairs;
}

// The base tables lack the snapshot tables' id_md5: their rows are copied by name.
const QString baseBuyerColumns = QStringLiteral(
    "id, firm, nip, regon, address, city, zipcode, id_province, id_country, bank, bank_account, phone, fax, email, "
    "www, permit_person_firstname, permit_person_secondname, permit_person_pesel, reduct, time_create, time_modify, "
    "additional, '', person_document_id_kind, person_document_number, person_document_by, person_document_date, "
    "id_address_contact, firm_short");
const QString baseAddressColumns = QStringLiteral("id, address, city, zipcode, id_province, id_country, '', name");

QString columnsOf(const QString& source, const QString& baseTable, const QString& baseColumns)
{
    return source == baseTable ? baseColumns : QStringLiteral("*");
}

} // namespace

int MInvoiceWorkingCopies::copy(const QString& working, const QString& source, int id, const QString& columns,
                                QString* errorText)
{
    if (id <= 0)
        return 0;
    QSqlQuery query;
    const QString error = MSqlTransaction::exec(query, QStringLiteral("INSERT INTO ") + working
                                                           + QStringLiteral(" SELECT NULL, ") + columns
                                                           + QStringLiteral(" FROM ") + source
                                                           + QStringLiteral(" WHERE id = ") + QString::number(id));
    if (errorText)
        *errorText = error;
    return error.isEmpty() ? insertedKey(query) : 0;
}

int MInvoiceWorkingCopies::copyBuyer(const QString& buyerSource, const QString& addressSource, int id)
{
    int key = 0;
    const bool copied = MSqlTransaction::run([&] {
        QString error;
        key = copy(QStringLiteral("__invoice_buyer"), buyerSource, id,
                   columnsOf(buyerSource, QStringLiteral("buyer"), baseBuyerColumns), &error);
        if (key <= 0)
            return error;
        QSqlQuery query;
        error = MSqlTransaction::exec(query, QStringLiteral("SELECT id_address_contact FROM __invoice_buyer WHERE __id = ")
                                                 + QString::number(key));
        int address = 0;
        if (error.isEmpty() && query.next())
            address = copy(QStringLiteral("__invoice_buyer_address"), addressSource, query.value(0).toInt(),
                           columnsOf(addressSource, QStringLiteral("buyer_address"), baseAddressColumns), &error);
        if (!error.isEmpty())
            return error;
        return MSqlTransaction::exec(query, QStringLiteral("UPDATE __invoice_buyer SET id_address_contact = ")
                                                + QString::number(address) + QStringLiteral(" WHERE __id = ")
                                                + QString::number(key));
    });
    return copied ? key : 0;
}

QString MInvoiceWorkingCopies::sellerColumns()
{
    return QStringLiteral(
        "id, firm, nip, regon, address, city, zipcode, id_province, id_country, bank, bank_account, phone, fax, "
        "email, www, permit_person_firstname, permit_person_secondname, permit_person_pesel, reduct, id_kind, "
        "id_invoice_index_format, invoice_index_format_text, time_create, time_modify, additional, '', "
        "person_document_id_kind, person_document_number, person_document_by, person_document_date, firm_short, "
        "financial_office_code, street, address_number1, address_number2, city_post, province2, province3");
}

QList<int> MInvoiceWorkingCopies::copyLines(int idInvoice, bool bill)
{
    QList<int> lines;
    if (idInvoice <= 0)
        return lines;
    const QList<QPair<int, int>> rows = idPairs(
        QStringLiteral("SELECT pm.id, p.id FROM invoice_product_misc pm LEFT JOIN invoice_product p ON p.id = "
                       "pm.id_product WHERE pm.id_invoice = ")
        + QString::number(idInvoice) + QStringLiteral(" ORDER BY pm.id"));

    const bool copied = MSqlTransaction::run([&] {
        for (const auto& row : rows) {
            QString error;
            const int product = copy(QStringLiteral("__invoice_product"), QStringLiteral("invoice_product"),
                                     row.second, QStringLiteral("*"), &error);
            if (!error.isEmpty())
                return error;
            if (bill && product > 0) {
                error = makeExempt(product);
                if (!error.isEmpty())
                    return error;
            }
            const int line = copy(QStringLiteral("__invoice_product_misc"), QStringLiteral("invoice_product_misc"),
                                  row.first, QStringLiteral("*"), &error);
            if (!error.isEmpty())
                return error;
            if (line <= 0)
                continue;
            QSqlQuery link;
            error = MSqlTransaction::exec(link, QStringLiteral("UPDATE __invoice_product_misc SET id_product = ")
                                                    + QString::number(product) + QStringLiteral(" WHERE __id = ")
                                                    + QString::number(line));
            if (!error.isEmpty())
                return error;
            lines << line;
        }
        return QString();
    });
    return copied ? lines : QList<int>();
}

QString MInvoiceWorkingCopies::makeExempt(int productKey)
{
    // A missing VAT row leaves the rate's text empty and its value and kind 0.
    QSqlQuery update;
    update.prepare(QStringLiteral(
        "UPDATE __invoice_product SET count_from_netto = 0, netto_price = brutto_price, "
        "vat_text = (SELECT name FROM vat WHERE id = 102), "
        "vat = COALESCE((SELECT val FROM vat WHERE id = 102), 0), "
        "vat_kind = COALESCE((SELECT kind FROM vat WHERE id = 102), 0) WHERE __id = :__id"));
    update.bindValue(QStringLiteral(":__id"), productKey);
    return MSqlTransaction::exec(update);
}

QList<int> MInvoiceWorkingCopies::copyJoins(int idInvoice)
{
    QList<int> joins;
    if (idInvoice <= 0)
        return joins;
    const QList<QPair<int, int>> rows =
        idPairs(QStringLiteral("SELECT ij.id, ij.id_invoice_join FROM invoice_join ij WHERE ij.id_invoice = ")
                + QString::number(idInvoice) + QStringLiteral(" ORDER BY ij.id"));
    const bool copied = MSqlTransaction::run([&] {
        for (const auto& row : rows) {
            QString error;
            const int join = copy(QStringLiteral("__invoice_join"), QStringLiteral("invoice_join"), row.first,
                                  QStringLiteral("*"), &error);
            if (!error.isEmpty())
                return error;
            if (join > 0)
                joins << join;
        }
        return QString();
    });
    return copied ? joins : QList<int>();
}
