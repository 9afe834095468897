#include "data/MDocumentSave.h"

#include "data/MDocumentNumber.h"
#include "data/MInvoiceCopyStore.h"
#include "data/MRecompute.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <QVector>

#include <algorithm>

namespace {

const QString dateTimeFormat = QStringLiteral("yyyy-MM-dd 00:00:00");

// Texts are bound never as NULL: the text columns are NOT NULL.
QString text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

// The columns of the document row that every save writes, in their order.
const QStringList documentColumns {
    "invoice_index", "id_invoice_index_format", "invoice_index_string", "id_seller", "id_seller_base", "id_buyer",
    "id_buyer2", "id_end_text", "id_end_text2", "place_put", "date_put", "date_sell", "date_pay", "id_currency",
    "count_from_netto", "payed", "pay_text", "pay_form_text", "id_pay_form", "day_period", "date_sell_in_months",
    "global_netto", "global_brutto", "global_vat", "global_netto_rating", "global_brutto_rating",
    "global_vat_rating", "global_netto_part", "global_brutto_part", "global_vat_part", "global_netto_part_rating",
    "global_brutto_part_rating", "global_vat_part_rating", "invoice_kind", "additional", "buyer_kind", "is_payed",
    "date_payed", "is_cancelled", "reduct_percent", "summary_count", "hide_vat", "id_pay_form_part", "brutto_part",
    "date_payed_part", "date_payed_all", "id_currency_rating", "contract_text"};

// One save: the first failing step ends it with the database's message.
class Saving
{
public:
    explicit Saving(const MDocumentSaveState& state) : m_state(state) {}

    MDocumentSave::Result run();

private:
    bool fail(const QString& what, const QSqlQuery& query);
    bool fail(const QString& what, const QString& detail);
    bool exec(QSqlQuery& query, const QString& what);
    int storeWorkingCopy(const QString& table, int key, const QString& what);
    bool storeBuyer(int buyerKey, int* idBuyer);
    int storeText(const QString& content);
    int lookUp(const QString& sql, const QString& value, int missing);
    bool write();
    bool writeDocument();
    bool writeLines();
    bool writeReason();

    MDocumentSaveState m_state;
    MInvoiceCopyStore m_copies;
    QString m_error;
    int m_id = 0;
    int m_numberingPeriod = 0;
    int m_idSeller = 0;
    int m_idBuyer = 0;
    int m_idBuyer2 = 0;
    int m_buyerKind = 0;
    int m_idRating = 0;
    int m_idEndText = 0;
    int m_idEndText2 = 0;
};

bool Saving::fail(const QString& what, const QSqlQuery& query)
{
    return fail(what, query.lastError().text());
}

bool Saving::fail(const QString& what, const QString& detail)
{
    if (m_error.isEmpty())
        m_error = what + (detail.trimmed().isEmpty() ? QString() : QStringLiteral("\n\n") + detail.trimmed());
    return false;
}

bool Saving::exec(QSqlQuery& query, const QString& what)
{
    return query.exec() || fail(what, query);
}

int Saving::storeWorkingCopy(const QString& table, int key, const QString& what)
{
    const int id = m_copies.storeWorkingCopy(table, key);
    if (id < 1)
        fail(what, QString());
    return id;
}

// The contact address first: its snapshot's id takes the place of the working
// address key in the buyer's copy, as it takes part in the buyer's
// fingerprint. The working rows stay as they are, so a failed save can be
// repeated.
bool Saving::storeBuyer(int buyerKey, int* idBuyer)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT * FROM __invoice_buyer WHERE __id = :id"));
    query.bindValue(QStringLiteral(":id"), buyerKey);
    if (!exec(query, QObject::tr("Nie można odczytać danych nabywcy.")))
        return false;
    if (!query.next())
        return fail(QObject::tr("Brak danych nabywcy dokumentu."), QString());
    QSqlRecord buyer = query.record();
    const int addressKey = buyer.value(QStringLiteral("id_address_contact")).toInt();
    int idAddress = 0;
    if (addressKey > 0) {
        idAddress = storeWorkingCopy(QStringLiteral("invoice_buyer_address"), addressKey,
                                     QObject::tr("Nie można zapisać adresu kontaktowego nabywcy."));
        if (idAddress < 1)
            return false;
    }
    buyer.setValue(QStringLiteral("id_address_contact"), idAddress);
    *idBuyer = m_copies.storeCopy(QStringLiteral("invoice_buyer"), buyer);
    return *idBuyer > 0
           || fail(QObject::tr("Nie można zapisać danych nabywcy."), QString());
}

int Saving::storeText(const QString& content)
{
    QSqlRecord copy = QSqlDatabase::database().record(QStringLiteral("invoice_end_text"));
    copy.setValue(QStringLiteral("content"), text(content));
    const int id = m_copies.storeCopy(QStringLiteral("invoice_end_text"), copy);
    if (id < 1)
        fail(QObject::tr("Nie można zapisać tekstu końcowego."), QString());
    return id;
}

// The id of the row `sql` finds for `value` (bound as :value), `missing`
// when the value is empty or nothing is found, -1 when the query fails.
int Saving::lookUp(const QString& sql, const QString& value, int missing)
{
    if (value.isEmpty())
        return missing;
    QSqlQuery query;
    query.prepare(sql);
    query.bindValue(QStringLiteral(":value"), value);
    if (!exec(query, QObject::tr("Nie można odczytać słownika dokumentu.")))
        return -1;
    return query.next() ? query.value(0).toInt() : missing;
}

bool Saving::writeDocument()
{
    const int idPayForm = lookUp(QStringLiteral("SELECT id FROM pay_form WHERE basic_form = :value"),
                                 m_state.payForm, 0);
    const int idPayFormPart = lookUp(QStringLiteral("SELECT id FROM pay_form WHERE second_form = :value"),
                                     m_state.payFormPart, 0);
    if (idPayForm < 0 || idPayFormPart < 0)
        return false;
    static const QList<int> formsWithTerm {0, 1, 2, 5, 6, 7};
    const bool dayPeriod = m_state.termInDays && formsWithTerm.contains(idPayForm);
    const QDate datePay = dayPeriod ? m_state.datePut.addDays(m_state.termDays) : m_state.datePay;
    const auto optionalDate = [](bool set, const QDate& date) {
        return set && date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant(QVariant::String);
    };

    QSqlQuery query;
    if (m_state.idInvoice > 0) {
        QStringList assignments;
        for (const QString& column : documentColumns)
            assignments << column + QStringLiteral(" = :") + column;
        query.prepare(QStringLiteral("UPDATE invoice SET ") + assignments.join(QStringLiteral(", "))
                      + QStringLiteral(", time_modify = current_timestamp WHERE id = :id"));
        query.bindValue(QStringLiteral(":id"), m_state.idInvoice);
    } else {
        query.prepare(QStringLiteral("INSERT INTO invoice (id_parent_invoice, ") + documentColumns.join(", ")
                      + QStringLiteral(", time_create, time_modify) VALUES (:id_parent_invoice, :")
                      + documentColumns.join(", :") + QStringLiteral(", current_timestamp, current_timestamp)"));
        query.bindValue(QStringLiteral(":id_parent_invoice"), m_state.idParent);
    }
    const QVariantList values {
        m_state.number, m_numberingPeriod, text(m_state.numberText), m_idSeller, m_state.idSellerBase, m_idBuyer,
        m_idBuyer2, m_idEndText, m_idEndText2, text(m_state.place), m_state.datePut.toString(dateTimeFormat),
        m_state.dateSell.toString(dateTimeFormat), datePay.toString(dateTimeFormat), m_state.idCurrency,
        m_state.grossBase ? 0 : 1, m_state.payedText ? 1 : 0, text(m_state.payText), text(m_state.payFormText),
        idPayForm,
        dayPeriod ? 1 : 0, m_state.dateSellInMonths ? 1 : 0,
        // The totals are computed from the lines once they are stored.
        0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
        m_state.kind, text(m_state.remarks), m_buyerKind, m_state.isPayed ? 1 : 0,
        optionalDate(m_state.isPayed && m_state.choosePayedDate, m_state.datePayed), m_state.cancelled ? 1 : 0,
        m_state.amountDiscount ? 0 : 1, m_state.summaryCount, m_state.hideVat ? 1 : 0, idPayFormPart,
        MDocumentSave::amountOf(m_state.bruttoPart), optionalDate(m_state.payedPartDate, m_state.datePayedPart),
        optionalDate(m_state.payedAllDate, m_state.datePayedAll), m_idRating, text(m_state.contractText)};
    for (int i = 0; i < documentColumns.size(); ++i)
        query.bindValue(QLatin1Char(':') + documentColumns.at(i), values.at(i));
    if (!exec(query, QObject::tr("Nie można zapisać dokumentu.")))
        return false;
    if (m_state.idInvoice > 0) {
        if (query.numRowsAffected() != 1)
            return fail(QObject::tr("Dokument nie istnieje już w bazie danych."), QString());
        m_id = m_state.idInvoice;
    } else {
        m_id = query.lastInsertId().toInt();
    }
    return m_id > 0 || fail(QObject::tr("Nie można zapisać dokumentu."), QString());
}

bool Saving::writeLines()
{
    const QString id = QString::number(m_id);
    for (const char* table : {"invoice_product_misc", "invoice_join", "invoice_summary_vat"}) {
        QSqlQuery remove;
        if (!remove.exec(QStringLiteral("DELETE FROM ") + QLatin1String(table) + QStringLiteral(" WHERE id_invoice = ")
                         + id))
            return fail(QObject::tr("Nie można usunąć poprzednich pozycji dokumentu."), remove);
    }

    QList<int> lines = m_state.lines;
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    // Every line with its product copy, read in one statement and finished
    // before anything is written: an unfinished SELECT would keep the
    // recomputation from dropping its tables.
    QVector<QPair<int, QSqlRecord>> products;
    if (!lines.isEmpty()) {
        QStringList keys;
        for (int line : qAsConst(lines))
            keys << QString::number(line);
        QSqlQuery read;
        read.setForwardOnly(true);
        if (!read.exec(QStringLiteral("SELECT pm.__id AS line_key, p.* FROM __invoice_product_misc pm "
                                      "LEFT JOIN __invoice_product p ON p.__id = pm.id_product WHERE pm.__id IN (")
                       + keys.join(QLatin1Char(',')) + QStringLiteral(") ORDER BY pm.__id")))
            return fail(QObject::tr("Nie można odczytać pozycji dokumentu."), read);
        while (read.next()) {
            if (read.value(QStringLiteral("__id")).isNull())
                return fail(QObject::tr("Nie można zapisać towaru/usługi pozycji dokumentu."), QString());
            products.append({read.value(0).toInt(), read.record()});
        }
    }
    if (products.size() != lines.size())
        return fail(QObject::tr("Nie można odczytać pozycji dokumentu."), QString());

    QSqlQuery insert;
    insert.prepare(QStringLiteral(
        "INSERT INTO invoice_product_misc (id_invoice, id_product, amount, reduct, id_product_base, "
        "reduct_percent, netto_price, brutto_price, vat_price, status, netto_rating_price, brutto_rating_price, "
        "vat_rating_price, position_hide) SELECT :id_invoice, :id_product, amount, reduct, id_product_base, "
        "reduct_percent, netto_price, brutto_price, vat_price, status, netto_rating_price, brutto_rating_price, "
        "vat_rating_price, position_hide FROM __invoice_product_misc WHERE __id = :id"));
    for (const auto& line : qAsConst(products)) {
        const int idProduct = m_copies.storeCopy(QStringLiteral("invoice_product"), line.second);
        if (idProduct < 1)
            return fail(QObject::tr("Nie można zapisać towaru/usługi pozycji dokumentu."), QString());
        insert.bindValue(QStringLiteral(":id_invoice"), m_id);
        insert.bindValue(QStringLiteral(":id_product"), idProduct);
        insert.bindValue(QStringLiteral(":id"), line.first);
        if (!exec(insert, QObject::tr("Nie można zapisać pozycji dokumentu.")))
            return false;
        if (insert.numRowsAffected() != 1)
            return fail(QObject::tr("Nie można zapisać pozycji dokumentu."), QString());
    }

    if (!m_state.joins.isEmpty()) {
        QStringList keys {QStringLiteral("0")};
        for (int join : m_state.joins)
            keys << QString::number(join);
        QSqlQuery joins;
        if (!joins.exec(QStringLiteral("INSERT INTO invoice_join (id_invoice, id_invoice_join) SELECT ") + id
                        + QStringLiteral(", id_invoice_join FROM __invoice_join WHERE __id IN (")
                        + keys.join(QLatin1Char(',')) + QStringLiteral(") ORDER BY __id")))
            return fail(QObject::tr("Nie można zapisać dokumentów powiązanych."), joins);
    }

    const MRecompute::Result amounts = MRecompute::recomputeDocument(m_id);
    return amounts.ok() || fail(QObject::tr("Nie można obliczyć kwot dokumentu."), amounts.firstError);
}

bool Saving::writeReason()
{
    QSqlQuery find;
    find.prepare(QStringLiteral("SELECT id FROM invoice_correct_misc WHERE id_invoice = :id"));
    find.bindValue(QStringLiteral(":id"), m_id);
    if (!exec(find, QObject::tr("Nie można zapisać przyczyny korekty.")))
        return false;
    const int idReason = find.next() ? find.value(0).toInt() : 0;
    QSqlQuery write;
    if (idReason > 0) {
        write.prepare(
            QStringLiteral("UPDATE invoice_correct_misc SET correct_reason = :correct_reason WHERE id = :id"));
        write.bindValue(QStringLiteral(":id"), idReason);
    } else {
        write.prepare(QStringLiteral(
            "INSERT INTO invoice_correct_misc (id_invoice, correct_reason) VALUES (:id_invoice, :correct_reason)"));
        write.bindValue(QStringLiteral(":id_invoice"), m_id);
    }
    write.bindValue(QStringLiteral(":correct_reason"), text(m_state.correctReason));
    return exec(write, QObject::tr("Nie można zapisać przyczyny korekty."));
}

// Everything of the save, inside the transaction; false at the first failure.
bool Saving::write()
{
    if (m_state.sellerKey > 0) {
        QSqlQuery seller;
        seller.prepare(QStringLiteral("SELECT id_invoice_index_format FROM __invoice_seller WHERE __id = :id"));
        seller.bindValue(QStringLiteral(":id"), m_state.sellerKey);
        if (!exec(seller, QObject::tr("Nie można odczytać danych sprzedawcy.")))
            return false;
        if (seller.next())
            m_numberingPeriod = seller.value(0).toInt();
        seller.finish();
        m_idSeller = storeWorkingCopy(QStringLiteral("invoice_seller"), m_state.sellerKey,
                                      QObject::tr("Nie można zapisać danych sprzedawcy."));
        if (m_idSeller < 1)
            return false;
    }
    if (m_state.buyerKey > 0 && !storeBuyer(m_state.buyerKey, &m_idBuyer))
        return false;
    if (m_state.kind != 11 && m_state.kind != 12) {
        m_buyerKind = 1;
        int parties = 1;
        if (!m_state.buyerKind.isEmpty()) {
            QSqlQuery kind;
            kind.prepare(QStringLiteral("SELECT id, num FROM invoice_buyer_kind WHERE name = :name"));
            kind.bindValue(QStringLiteral(":name"), m_state.buyerKind);
            if (!exec(kind, QObject::tr("Nie można odczytać rodzaju nabywcy.")))
                return false;
            if (kind.next()) {
                m_buyerKind = kind.value(0).toInt();
                parties = kind.value(1).toInt();
            }
        }
        if (parties < 2)
            m_state.buyer2Key = 0;
    }
    if (m_state.buyer2Key > 0 && !storeBuyer(m_state.buyer2Key, &m_idBuyer2))
        return false;
    if (m_state.idCurrency > 0 && m_state.ratingKey > 0) {
        m_idRating = storeWorkingCopy(QStringLiteral("invoice_currency_rating"), m_state.ratingKey,
                                      QObject::tr("Nie można zapisać kursu waluty."));
        if (m_idRating < 1)
            return false;
    }
    m_idEndText = storeText(m_state.endText);
    m_idEndText2 = m_idEndText > 0 ? storeText(m_state.endText2) : 0;
    if (m_idEndText2 < 1)
        return false;
    if (m_state.sellerKey > 0)
        m_state.numberText = invoiceNumber(m_state.number, m_state.sellerKey, m_state.datePut.month(),
                                           m_state.datePut.year(), false);
    if (!writeDocument() || !writeLines())
        return false;
    if (m_state.correction && !writeReason())
        return false;
    QSqlQuery commit;
    return commit.exec(QStringLiteral("commit")) || fail(QObject::tr("Nie można zapisać dokumentu."), commit);
}

MDocumentSave::Result Saving::run()
{
    static const QList<int> joinedKinds {19, 20, 23, 24};
    if (!joinedKinds.contains(m_state.kind)) {
        m_state.contractText.clear();
        m_state.joins.clear();
    }

    bool done = false;
    QSqlQuery transaction;
    if (!transaction.exec(QStringLiteral("begin"))) {
        fail(QObject::tr("Nie można rozpocząć zapisu dokumentu."), transaction);
    } else {
        done = write();
        if (!done)
            QSqlQuery(QStringLiteral("rollback"));
    }

    MDocumentSave::Result result;
    if (!done) {
        result.errorText =
            QObject::tr("Dokument nie został zapisany; baza danych pozostała bez zmian.") + QLatin1Char('\n') + m_error;
        return result;
    }
    result.id = m_id;
    result.notice = m_state.kind == 11 || m_state.kind == 12 ? 8 : 7;
    result.numberText = m_state.numberText;
    return result;
}

} // namespace

MDocumentSave::Result MDocumentSave::save(const MDocumentSaveState& state)
{
    return Saving(state).run();
}

double MDocumentSave::amountOf(const QString& text)
{
    bool ok = false;
    const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
    return ok ? value : 0.0;
}
