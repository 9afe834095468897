#include "MBenchDatabase.h"

#include "data/MDefaultOptions.h"
#include "data/MDocumentNumber.h"
#include "data/MInvoiceCopies.h"
#include "data/MInvoiceNumbering.h"
#include "data/MJpkKinds.h"
#include "data/MOptions.h"
#include "data/MProgramVersion.h"
#include "data/MRecompute.h"
#include "data/MRoundCents.h"
#include "data/MSqlScriptRunner.h"

#include <QBuffer>
#include <QDate>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <cstdio>

namespace {

// "CASE (expr) % n WHEN 0 THEN 'a' WHEN 1 THEN 'b' ... END": a value of a
// list picked by an integer expression.
QString pick(const QString& expr, const QStringList& values)
{
    QString sql = QStringLiteral("CASE (%1) % %2").arg(expr).arg(values.size());
    for (int i = 0; i < values.size(); ++i)
        sql += QStringLiteral(" WHEN %1 THEN '%2'").arg(i).arg(values.at(i));
    return sql + QStringLiteral(" END");
}

// The series 1..count as table seq(n), for the statement that follows.
QString series(int count)
{
    return QStringLiteral("WITH RECURSIVE seq(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < %1) ")
        .arg(count);
}

const QStringList cities { "Warszawa", "Kraków", "Łódź", "Wrocław", "Poznań", "Gdańsk", "Szczecin", "Bydgoszcz",
                           "Lublin", "Białystok", "Katowice", "Gdynia", "Częstochowa", "Radom", "Toruń", "Rzeszów" };
const QStringList streets { "Długa", "Kościuszki", "Mickiewicza", "Słowackiego", "Piłsudskiego", "Polna", "Leśna",
                            "Ogrodowa", "Lipowa", "Kwiatowa", "Szkolna", "Żeromskiego", "Grunwaldzka" };
const QStringList firmKinds { "Przedsiębiorstwo Handlowo-Usługowe", "Zakład Usług Remontowych", "Hurtownia",
                              "Biuro Rachunkowe", "Pracownia Projektowa", "Sklep Spożywczy", "Transport i Spedycja" };
const QStringList firmForms { " Sp. z o.o.", " S.A.", " s.c.", " Sp.j.", "" };
const QStringList firstNames { "Anna", "Piotr", "Katarzyna", "Tomasz", "Małgorzata", "Krzysztof", "Agnieszka" };
const QStringList lastNames { "Nowak", "Kowalski", "Wiśniewska", "Wójcik", "Kamińska", "Lewandowski", "Zieliński" };
const QStringList banks { "PKO Bank Polski", "Bank Pekao", "Santander Bank Polska", "mBank", "ING Bank Śląski" };
const QStringList productKinds { "Usługa montażu", "Kabel miedziany", "Farba akrylowa", "Konsultacja",
                                 "Śruba nierdzewna", "Papier ksero A4", "Naprawa urządzenia", "Transport" };
const QStringList units { "szt.", "kg", "godz.", "usł.", "m2", "mb", "opak." };
// Rates as rows of table vat: id, name, val, kind.
const QStringList vatIds { "24", "9", "6", "1", "102" };
const QStringList vatNames { "23%", "8%", "5%", "0%", "zw." };
const QStringList vatValues { "23", "8", "5", "0", "0" };
const QStringList vatKinds { "0", "0", "0", "0", "1" };

// Replaces each {name} of `sql` by its value; the statements hold SQLite
// printf formats, which QString::arg would take for its own markers.
QString sqlWith(QString sql, const QList<QPair<QString, QString>>& values)
{
    for (const auto& value : values)
        sql.replace(QLatin1Char('{') + value.first + QLatin1Char('}'), value.second);
    return sql;
}

QStringList statements(const MBenchDatabase::Size& size)
{
    const int buyerCopies = size.buyers + size.buyers / 5;
    const int productCopies = size.products + size.products / 5;
    const int addresses = size.buyers / 5;
    const int ratings = qMax(1, size.documents / 60);
    const QList<QPair<QString, QString>> numbers {
        { "documents", QString::number(size.documents) }, { "buyers", QString::number(size.buyers) },
        { "products", QString::number(size.products) },   { "buyerCopies", QString::number(buyerCopies) },
        { "productCopies", QString::number(productCopies) }, { "ratings", QString::number(ratings) },
    };

    QStringList sql;
    sql << series(3)
               + sqlWith(
                   "INSERT INTO seller (firm, nip, regon, address, city, zipcode, id_province, id_country, bank, "
                   "bank_account, phone, fax, email, www, permit_person_firstname, permit_person_secondname, "
                   "permit_person_pesel, reduct, id_kind, id_invoice_index_format, invoice_index_format_text, "
                   "time_create, time_modify, additional, firm_short, financial_office_code, street, "
                   "address_number1, city_post) "
                   "SELECT 'Morva Usługi Informatyczne ' || n || ' Sp. z o.o.', printf('525-%03d-%02d-%02d', n * 111, "
                   "n * 7, n * 3), printf('0123456%02d', n), 'ul. ' || {street} || ' ' || n, {city}, "
                   "printf('%02d-%03d', n, n), 7, 150, {bank}, printf('%02d 1140 0000 %04d %04d %04d', n, n * 17, "
                   "n * 31, n * 7), '22 555 01 0' || n, '', 'faktury' || n || '@morva.pl', 'www.morva.pl', {first}, "
                   "{last}, '', 0, 0, 1 + n % 2, CASE n % 2 WHEN 0 THEN '[nr]/[mm]/[rrrr]' ELSE '[nr]/[rrrr]' END, "
                   "current_timestamp, current_timestamp, '', 'Morva ' || n, '1438', {street}, n, {city} FROM seq",
                   { { "street", pick("n", streets) }, { "city", pick("n", cities) }, { "bank", pick("n", banks) },
                     { "first", pick("n", firstNames) }, { "last", pick("n", lastNames) } });
    sql << QStringLiteral("INSERT INTO seller_bank (id_seller, bank, bank_account, is_default) "
                          "SELECT id, bank, bank_account, 1 FROM seller");

    sql << series(addresses)
               + sqlWith("INSERT INTO buyer_address (address, city, zipcode, id_province, id_country, name) "
                         "SELECT 'ul. ' || {street} || ' ' || (n % 90 + 1), {city}, printf('%02d-%03d', n % 99, "
                         "n % 997), n % 16 + 1, 150, CASE n % 3 WHEN 0 THEN 'Dział zakupów' ELSE '' END FROM seq",
                         { { "street", pick("n * 3", streets) }, { "city", pick("n * 5", cities) } });

    sql << series(size.buyers)
               + sqlWith(
                   "INSERT INTO buyer (firm, nip, regon, address, city, zipcode, id_province, id_country, bank, "
                   "bank_account, phone, fax, email, www, permit_person_firstname, permit_person_secondname, "
                   "permit_person_pesel, reduct, time_create, time_modify, additional, person_document_id_kind, "
                   "person_document_number, person_document_by, person_document_date, id_address_contact, "
                   "firm_short) "
                   "SELECT {kind} || ' ' || {name} || ' nr ' || n || {form}, printf('%03d-%03d-%02d-%02d', "
                   "100 + n % 900, (n * 7) % 1000, (n * 13) % 100, (n * 17) % 100), printf('%09d', "
                   "n * 7919 % 1000000000), 'ul. ' || {street} || ' ' || (n % 120 + 1), {city}, printf('%02d-%03d', "
                   "n % 99, n % 1000), n % 16 + 1, 150, {bank}, printf('%02d %04d %04d %04d %04d %04d %04d', "
                   "n % 100, n % 10000, (n * 3) % 10000, (n * 7) % 10000, (n * 11) % 10000, (n * 13) % 10000, "
                   "(n * 17) % 10000), printf('+48 %03d %03d %03d', 500 + n % 300, n % 1000, (n * 7) % 1000), '', "
                   "'biuro' || n || '@nabywca.pl', CASE n % 4 WHEN 0 THEN 'www.nabywca' || n || '.pl' ELSE '' END, "
                   "{first}, {last}, '', CASE n % 10 WHEN 0 THEN 5 ELSE 0 END, current_timestamp, "
                   "current_timestamp, '', 0, '', '', NULL, CASE n % 5 WHEN 0 THEN n / 5 ELSE 0 END, "
                   "substr({name} || ' ' || n, 1, 20) FROM seq",
                   { { "kind", pick("n", firmKinds) }, { "name", pick("n * 7", lastNames) },
                     { "form", pick("n", firmForms) }, { "street", pick("n * 11", streets) },
                     { "city", pick("n * 3", cities) }, { "bank", pick("n", banks) },
                     { "first", pick("n * 5", firstNames) }, { "last", pick("n * 3", lastNames) } });

    sql << series(size.products)
               + sqlWith("INSERT INTO product (name, symbol, code, unit, netto_price, brutto_price, vat, reduct, "
                         "id_currency, vat_text, vat_kind, count_from_netto, time_create, time_modify, additional, "
                         "profit_brutto) "
                         "SELECT {kind} || ' typ ' || n, printf('P-%05d', n), printf('%02d.%02d.%02d.0', n % 90 + 10, "
                         "n % 99, n % 50), {unit}, price, round(price * (1 + {rate} / 100.0) + 0.0000000001, 2), "
                         "{rate}, 0, 0, {rateName}, {rateKind}, 1, current_timestamp, current_timestamp, '', 0 "
                         "FROM (SELECT n, round(((n * 7919) % 250000) / 100.0 + 1, 2) AS price FROM seq)",
                         { { "kind", pick("n", productKinds) }, { "unit", pick("n * 3", units) },
                           { "rate", pick("n", vatValues) }, { "rateName", pick("n", vatNames) },
                           { "rateKind", pick("n", vatKinds) } });

    sql << series(5)
               + QStringLiteral("INSERT INTO end_text (content, time_create, time_modify) SELECT "
                                "'Dziękujemy za skorzystanie z naszych usług. Zapłata w terminie ' || (n * 7) || "
                                "' dni na rachunek wskazany na fakturze.', current_timestamp, current_timestamp FROM seq");

    sql << series(ratings)
               + sqlWith("INSERT INTO currency_rating (bank_name, id_currency_from, id_currency_to, rating_date, "
                         "input_kind, currency_amount_from, currency_value, table_name, time_create, time_modify) "
                         "SELECT 'NBP', 1 + n % 3, 0, date('2015-01-02', '+' || (n * 3650 / {ratings}) || ' days'), "
                         "0, 1, round(4 + (n % 700) / 1000.0, 4), printf('%03d/A/NBP', n), current_timestamp, "
                         "current_timestamp FROM seq",
                         numbers);

    // The copies the documents refer to: each master row once, and later
    // versions of some (a seller whose phone changed, buyers that moved,
    // products whose price went up).
    const QString sellerColumns = QStringLiteral(
        "firm, nip, regon, address, city, zipcode, id_province, id_country, bank, bank_account, {phone}, fax, "
        "email, www, permit_person_firstname, permit_person_secondname, permit_person_pesel, reduct, id_kind, "
        "id_invoice_index_format, invoice_index_format_text, time_create, time_modify, additional, "
        "person_document_id_kind, person_document_number, person_document_by, person_document_date, firm_short, "
        "financial_office_code, street, address_number1, address_number2, city_post, province2, province3");
    sql << series(4)
               + sqlWith("INSERT INTO invoice_seller ({target}) SELECT {source} FROM seller, seq "
                         "ORDER BY seller.id, seq.n",
                         { { "target", sqlWith(sellerColumns, { { "phone", "phone" } }) },
                           { "source", sqlWith(sellerColumns,
                                               { { "phone", "CASE n WHEN 1 THEN phone ELSE phone || ' w.' || n END" } }) } });
    sql << QStringLiteral("INSERT INTO invoice_buyer_address (address, city, zipcode, id_province, id_country, name) "
                          "SELECT address, city, zipcode, id_province, id_country, name FROM buyer_address "
                          "ORDER BY id");
    const QString buyerColumns = QStringLiteral(
        "firm, nip, regon, {address}, city, zipcode, id_province, id_country, bank, bank_account, phone, fax, email, "
        "www, permit_person_firstname, permit_person_secondname, permit_person_pesel, reduct, time_create, "
        "time_modify, additional, person_document_id_kind, person_document_number, person_document_by, "
        "person_document_date, {contact}, firm_short");
    const QString buyerTarget = sqlWith(buyerColumns, { { "address", "address" }, { "contact", "id_address_contact" } });
    sql << sqlWith("INSERT INTO invoice_buyer ({target}) SELECT {target} FROM buyer ORDER BY id",
                   { { "target", buyerTarget } });
    sql << sqlWith("INSERT INTO invoice_buyer ({target}) SELECT {source} FROM buyer WHERE id <= {count} ORDER BY id",
                   { { "target", buyerTarget },
                     { "source", sqlWith(buyerColumns, { { "address", "address || ' lok. 2'" }, { "contact", "0" } }) },
                     { "count", QString::number(buyerCopies - size.buyers) } });
    const QString productColumns = QStringLiteral(
        "name, symbol, code, unit, {netto}, {brutto}, vat, reduct, id_currency, vat_text, vat_kind, "
        "count_from_netto, time_create, time_modify, additional, profit_brutto");
    const QString productTarget = sqlWith(productColumns, { { "netto", "netto_price" }, { "brutto", "brutto_price" } });
    sql << sqlWith("INSERT INTO invoice_product ({target}) SELECT {target} FROM product ORDER BY id",
                   { { "target", productTarget } });
    sql << sqlWith("INSERT INTO invoice_product ({target}) SELECT {source} FROM product WHERE id <= {count} "
                   "ORDER BY id",
                   { { "target", productTarget },
                     { "source", sqlWith(productColumns,
                                         { { "netto", "round(netto_price * 1.1 + 0.0000000001, 2)" },
                                           { "brutto", "round(netto_price * 1.1 * (1 + vat / 100.0) + 0.0000000001, 2)" } }) },
                     { "count", QString::number(productCopies - size.products) } });
    sql << QStringLiteral("INSERT INTO invoice_end_text (content, time_create, time_modify) "
                          "SELECT content, time_create, time_modify FROM end_text ORDER BY id");
    sql << QStringLiteral("INSERT INTO invoice_currency_rating (bank_name, id_currency_from, id_currency_to, "
                          "rating_date, input_kind, currency_amount_from, currency_value, table_name, time_create, "
                          "time_modify) SELECT bank_name, id_currency_from, id_currency_to, rating_date, input_kind, "
                          "currency_amount_from, currency_value, table_name, time_create, time_modify "
                          "FROM currency_rating ORDER BY id");

    // Documents over ten years, in order of issue; h, a scrambled number per
    // document, picks its kind, parties and flags.
    sql << series(size.documents)
               + sqlWith(
                   "INSERT INTO invoice (id_parent_invoice, id_seller, id_seller_base, id_buyer, id_end_text, "
                   "id_pay_form, id_currency, invoice_index, id_invoice_index_format, invoice_index_string, "
                   "invoice_kind, payed, date_put, date_sell, date_pay, place_put, pay_text, day_period, "
                   "count_from_netto, time_create, time_modify, additional, id_buyer2, buyer_kind, is_payed, "
                   "date_payed, id_end_text2, pay_form_text, id_currency_rating, reduct_percent, summary_count, "
                   "brutto_part, contract_text) "
                   "SELECT CASE WHEN kind IN (2, 5) AND n > 1 THEN n - 1 ELSE 0 END, "
                   "(base - 1) * 4 + 1 + (n * 4 - 1) / {documents}, base, 1 + (h / 7) % {buyerCopies}, "
                   "CASE h % 2 WHEN 0 THEN 1 + h % 5 ELSE 0 END, 1 + h % 4, "
                   "CASE WHEN h % 50 = 0 THEN 1 + h % 3 ELSE 0 END, n, '1', n || '/' || strftime('%m/%Y', day), "
                   "kind, h % 10 < 8, day || ' 00:00:00', day || ' 00:00:00', date(day, '+14 days') || ' 00:00:00', "
                   "{place}, '14 dni', 14, h % 3 > 0, day || ' 10:00:00', day || ' 10:00:00', '', "
                   "CASE WHEN h % 20 = 0 THEN 1 + (h / 11) % {buyerCopies} ELSE 0 END, "
                   "CASE WHEN h % 20 = 0 THEN 2 ELSE 1 END, h % 10 < 8, "
                   "CASE WHEN h % 10 < 8 THEN date(day, '+10 days') END, "
                   "CASE WHEN h % 25 = 0 THEN 1 + (h / 3) % 5 ELSE 0 END, {payForm}, "
                   "CASE WHEN h % 50 = 0 THEN 1 + n % {ratings} ELSE 0 END, 1, 0, "
                   "CASE WHEN kind IN (19, 23) THEN 100 ELSE 0 END, '' "
                   "FROM (SELECT n, h, 1 + h % 3 AS base, "
                   "date('2015-01-01', '+' || (n * 3650 / {documents}) || ' days') AS day, "
                   "CASE WHEN h % 100 < 70 THEN 0 WHEN h % 100 < 78 THEN 2 WHEN h % 100 < 83 THEN 5 "
                   "WHEN h % 100 < 88 THEN 9 WHEN h % 100 < 91 THEN 1 WHEN h % 100 < 94 THEN 19 "
                   "WHEN h % 100 < 96 THEN 23 WHEN h % 100 < 98 THEN 27 ELSE 15 END AS kind "
                   "FROM (SELECT n, (n * 2654435761) % 4294967291 AS h FROM seq))",
                   numbers
                       + QList<QPair<QString, QString>> {
                           { "place", pick("h", cities) },
                           { "payForm", pick("h", { "gotówką", "przelewem", "kartą", "przelewem" }) } });

    // 1 to 20 lines per document, 10.5 on average.
    sql << sqlWith(
        "WITH RECURSIVE k(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM k WHERE n < 20) "
        "INSERT INTO invoice_product_misc (id_invoice, id_product, amount, reduct, id_product_base, reduct_percent, "
        "netto_price, brutto_price, vat_price, netto_rating_price, brutto_rating_price, vat_rating_price) "
        "SELECT id_invoice, p.id, amount, 0, 1 + (p.id - 1) % {products}, 1, netto, brutto, brutto - netto, netto, "
        "brutto, brutto - netto "
        "FROM (SELECT l.id_invoice, p.id, l.amount, round(l.amount * p.netto_price + 0.0000000001, 2) AS netto, "
        "round(l.amount * p.brutto_price + 0.0000000001, 2) AS brutto "
        "FROM (SELECT i.id AS id_invoice, 1 + (i.id * 7919 + k.n * 104729) % {productCopies} AS id_product, "
        "1 + (i.id + k.n) % 10 AS amount FROM invoice i JOIN k ON k.n <= 1 + (i.id * 2654435761) % 20 "
        "ORDER BY i.id, k.n) l JOIN invoice_product p ON p.id = l.id_product) p",
        numbers);

    // A correction corrects an earlier VAT invoice of its seller, a
    // duplicate repeats one; a document with none before it is a VAT invoice.
    sql << QStringLiteral(
        "UPDATE invoice SET id_parent_invoice = IFNULL((SELECT p.id FROM invoice p WHERE p.id < invoice.id "
        "AND +p.invoice_kind = 0 AND +p.id_seller_base = invoice.id_seller_base ORDER BY p.id DESC LIMIT 1), 0) "
        "WHERE invoice_kind IN (2, 5)");
    sql << QStringLiteral("UPDATE invoice SET invoice_kind = 0 WHERE invoice_kind IN (2, 5) AND id_parent_invoice = 0");
    // A duplicate is its row alone, as the duplicate dialog writes it.
    sql << QStringLiteral("DELETE FROM invoice_product_misc WHERE id_invoice IN "
                          "(SELECT id FROM invoice WHERE invoice_kind = 5)");
    sql << QStringLiteral("CREATE TEMP TABLE duplicate AS SELECT id, id_parent_invoice, date_put, time_create "
                          "FROM invoice WHERE invoice_kind = 5");
    sql << QStringLiteral("DELETE FROM invoice WHERE invoice_kind = 5");
    sql << QStringLiteral("INSERT INTO invoice (id, id_parent_invoice, date_put, date_sell, date_pay, invoice_kind, "
                          "additional, time_create, time_modify) SELECT id, id_parent_invoice, date_put, "
                          "'0000-00-00 00:00:00', '0000-00-00 00:00:00', 5, '', time_create, time_create "
                          "FROM temp.duplicate ORDER BY id");
    sql << QStringLiteral("DROP TABLE temp.duplicate");
    sql << QStringLiteral("INSERT OR IGNORE INTO product_unit (name) SELECT DISTINCT unit FROM product");
    sql << QStringLiteral("UPDATE _version SET num_major = %1, num_minor = %2, check_num_major = %1, "
                          "check_num_minor = %2 WHERE id = 1")
               .arg(MProgramVersion::versionMajor)
               .arg(MProgramVersion::versionMinor);
    return sql;
}

// The numbers the invoice editor gives: one series per issuing seller,
// numbering period of its copy and group of kinds, in order of issue, each
// written by the copy's pattern. Duplicates (no seller copy) have none.
bool numberDocuments()
{
    QSqlQuery documents;
    documents.setForwardOnly(true);
    if (!documents.exec(QStringLiteral(
            "SELECT i.id, i.id_seller_base, i.invoice_kind, substr(i.date_put, 1, 10), s.id_invoice_index_format, "
            "s.invoice_index_format_text FROM invoice i JOIN invoice_seller s ON s.id = i.id_seller "
            "ORDER BY i.date_put, i.id"))) {
        std::fprintf(stderr, "numbering: %s\n", qPrintable(documents.lastError().text()));
        return false;
    }
    QSqlQuery update;
    update.prepare(QStringLiteral("UPDATE invoice SET invoice_index = :index, id_invoice_index_format = :period, "
                                  "invoice_index_string = :text WHERE id = :id"));
    QHash<QString, int> lastNumbers;
    while (documents.next()) {
        const QDate issued = QDate::fromString(documents.value(3).toString(), Qt::ISODate);
        const int period = documents.value(4).toInt();
        QString from;
        QString to;
        if (!MInvoiceNumbering::periodBounds(period, issued, &from, &to))
            continue;
        const QString series = documents.value(1).toString() + QLatin1Char('|') + from + QLatin1Char('|')
                               + MInvoiceNumbering::groupKinds(documents.value(2).toInt());
        const int number = ++lastNumbers[series];
        update.bindValue(QStringLiteral(":index"), number);
        update.bindValue(QStringLiteral(":period"), period);
        update.bindValue(QStringLiteral(":text"),
                         formatInvoiceNumber(documents.value(5).toString(), number, issued.month(), issued.year()));
        update.bindValue(QStringLiteral(":id"), documents.value(0));
        if (!update.exec()) {
            std::fprintf(stderr, "numbering: %s\n", qPrintable(update.lastError().text()));
            return false;
        }
    }
    return true;
}

QByteArray logoPng()
{
    QImage logo(300, 100, QImage::Format_ARGB32);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.fillRect(10, 10, 80, 80, QColor(0x2a, 0x82, 0xda));
    painter.drawText(QRect(100, 10, 190, 80), Qt::AlignCenter, QStringLiteral("morva"));
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    logo.save(&buffer, "PNG");
    return png;
}

bool fill(const MBenchDatabase::Size& size, const QString& pathDocuments)
{
    const MSqlScriptRunner::Result schema = MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false);
    if (!schema.ok()) {
        std::fprintf(stderr, "schema script: %s\n", qPrintable(schema.firstError));
        return false;
    }

    QSqlQuery query;
    query.exec(QStringLiteral("begin"));
    for (const QString& statement : statements(size)) {
        if (!query.exec(statement)) {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(query.lastError().text()), qPrintable(statement));
            return false;
        }
    }
    query.prepare(QStringLiteral("INSERT INTO seller_logo (id_seller, zoom, width, height, data) "
                                 "VALUES (1, 2, 300, 100, :data)"));
    query.bindValue(QStringLiteral(":data"), logoPng());
    if (!query.exec()) {
        std::fprintf(stderr, "seller_logo: %s\n", qPrintable(query.lastError().text()));
        return false;
    }
    // The amounts as the program computes them, from the lines up.
    if (!numberDocuments())
        return false;
    const MRecompute::Result amounts = MRecompute::recomputeAll();
    if (!amounts.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(amounts.firstError));
        return false;
    }
    MOptions::loadOptions();
    MDefaultOptions::store(pathDocuments);
    if (!query.exec(QStringLiteral("commit")))
        return false;

    MInvoiceCopies::updateMd5();
    return query.exec(QStringLiteral("vacuum"));
}

} // namespace

bool MBenchDatabase::generate(const QString& path, const QString& pathDocuments, const Size& size)
{
    bool filled = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(path);
        filled = db.open() && MRoundCents::install(db) && fill(size, pathDocuments);
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    return filled;
}

QList<int> MBenchDatabase::jpkDocumentIds(int count)
{
    QList<int> ids;
    QSqlQuery query;
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT id, invoice_kind FROM invoice WHERE id_currency = 0 ORDER BY id"));
    while (ids.size() < count && query.next()) {
        if (MJpkKinds::isExported(query.value(1).toInt()))
            ids << query.value(0).toInt();
    }
    return ids;
}

int MBenchDatabase::invoiceWithLines(int lines)
{
    QSqlQuery query(QStringLiteral("SELECT i.id FROM invoice i WHERE i.invoice_kind = 0 AND i.id_currency = 0 AND "
                                   "(SELECT count(*) FROM invoice_product_misc m WHERE m.id_invoice = i.id) = %1 "
                                   "ORDER BY i.id LIMIT 1")
                        .arg(lines));
    return query.next() ? query.value(0).toInt() : 0;
}

bool MBenchDatabase::growInvoice(int idInvoice, int lines)
{
    QSqlQuery query;
    while (true) {
        if (!query.exec(QStringLiteral("SELECT count(*) FROM invoice_product_misc WHERE id_invoice = %1").arg(idInvoice))
            || !query.next())
            return false;
        const int have = query.value(0).toInt();
        // The recomputation drops its scratch tables, which SQLite refuses beside a statement not run to its end.
        query.finish();
        if (have >= lines)
            return MRecompute::recomputeDocument(idInvoice).ok();
        if (!query.exec(QStringLiteral("INSERT INTO invoice_product_misc (id_invoice, id_product, amount, reduct, "
                                       "netto_price, brutto_price, vat_price, position_hide) SELECT id_invoice, "
                                       "id_product, amount, reduct, netto_price, brutto_price, vat_price, 0 FROM "
                                       "invoice_product_misc WHERE id_invoice = %1 ORDER BY id LIMIT %2")
                            .arg(idInvoice)
                            .arg(lines - have)))
            return false;
    }
}
