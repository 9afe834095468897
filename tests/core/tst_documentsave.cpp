#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "MTestFullScans.h"
#include "data/MDocumentSave.h"
#include "data/MInvoiceCopies.h"
#include "data/MRecompute.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>


// Documents composed in the working tables as the editor leaves them, saved,
// and read back from the stored tables. Money is written as text ("10.00"),
// so whole amounts are stored as integers, as in real databases.
class TestDocumentSave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void amounts_data();
    void amounts();
    void snapshots_data();
    void snapshots();
    void sharedSnapshotStaysAsFingerprinted();
    void saveReachesOnlyItsDocumentsRows();
    void buyerKinds_data();
    void buyerKinds();
    void payment_data();
    void payment();
    void documentRow();
    void failureLeavesEverything_data();
    void failureLeavesEverything();
    void correctionReason();

private:
    static int seller(const QString& street = "Polna 1", const QString& pattern = "FV/[nr]/[rrrr]");
    static int buyer(const QString& phone = "123", const QString& city = "Kraków");
    static int product(bool fromNetto, const QString& price, int vat, const QString& profit = "0");
    static int line(int product, const QString& amount, const QString& reduct = "0", bool percent = true);
    static int rating(int units, const QString& value);
    static MDocumentSaveState document(int kind = 0);
    static int save(const MDocumentSaveState& state);
    static QString everything();
    static QString money(const QString& columns, int id);

    QTemporaryDir m_dir;
};

namespace {

const QString totalColumns = QStringLiteral(
    "global_netto, global_brutto, global_vat, global_netto_rating, global_brutto_rating, global_vat_rating");
const QString partColumns = QStringLiteral(
    "global_netto_part, global_brutto_part, global_vat_part, global_netto_part_rating, global_brutto_part_rating, "
    "global_vat_part_rating");
const QStringList snapshotTables {"invoice_seller", "invoice_buyer", "invoice_buyer_address",
                                  "invoice_currency_rating", "invoice_end_text", "invoice_product"};

int insert(const QString& sql)
{
    QSqlQuery query;
    if (!query.exec(sql))
        qWarning("%s", qPrintable(sql));
    return query.lastInsertId().toInt();
}

QString snapshotCounts()
{
    QStringList counts;
    for (const QString& table : snapshotTables)
        counts << QString::number(MTestDatabase::count(table));
    return counts.join(QLatin1Char(' '));
}

} // namespace

void TestDocumentSave::init()
{
    static int serial = 0;
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1.db3").arg(++serial))));
}

void TestDocumentSave::cleanup()
{
    MTestDatabase::close();
}

int TestDocumentSave::seller(const QString& street, const QString& pattern)
{
    return insert(QStringLiteral("INSERT INTO __invoice_seller (id, firm, nip, city, id_invoice_index_format, "
                                 "invoice_index_format_text, street, time_create, time_modify) VALUES (1, 'Firma', "
                                 "'5260250274', 'Warszawa', 2, '%2', '%1', '', '')")
                      .arg(street, pattern));
}

int TestDocumentSave::buyer(const QString& phone, const QString& city)
{
    const int address = insert(QStringLiteral("INSERT INTO __invoice_buyer_address (id, address, city, name) "
                                              "VALUES (4, 'Długa 2', '%1', 'biuro')")
                                   .arg(city));
    return insert(QStringLiteral("INSERT INTO __invoice_buyer (id, firm, phone, id_address_contact, time_create, "
                                 "time_modify) VALUES (3, 'Klient', '%1', %2, '', '')")
                      .arg(phone)
                      .arg(address));
}

int TestDocumentSave::product(bool fromNetto, const QString& price, int vat, const QString& profit)
{
    // The second price follows from the basis, as the product arithmetic gives it.
    const int key = insert(QStringLiteral("INSERT INTO __invoice_product (id, name, netto_price, brutto_price, vat, "
                                          "vat_text, count_from_netto, profit_brutto, time_create, time_modify) "
                                          "VALUES (7, 'Towar', '%1', '%2', %3, '%3%', %4, '%5', '', '')")
                      .arg(fromNetto ? price : QStringLiteral("1"), fromNetto ? QStringLiteral("1") : price)
                      .arg(vat)
                      .arg(fromNetto ? 1 : 0)
                      .arg(profit));
    MTestDatabase::exec(QStringLiteral("UPDATE __invoice_product SET brutto_price = round_cents(netto_price * (1.0 + "
                                       "vat / 100.0)) WHERE count_from_netto = 1 AND __id = %1")
                            .arg(key));
    MTestDatabase::exec(QStringLiteral("UPDATE __invoice_product SET netto_price = round_cents(brutto_price / (1.0 + "
                                       "vat / 100.0)) WHERE count_from_netto = 0 AND __id = %1")
                            .arg(key));
    return key;
}

int TestDocumentSave::line(int product, const QString& amount, const QString& reduct, bool percent)
{
    return insert(QStringLiteral("INSERT INTO __invoice_product_misc (id, id_product, amount, reduct, "
                                 "reduct_percent, netto_price) VALUES (0, %1, '%2', '%3', %4, 999)")
                      .arg(product)
                      .arg(amount, reduct)
                      .arg(percent ? 1 : 0));
}

int TestDocumentSave::rating(int units, const QString& value)
{
    return insert(QStringLiteral("INSERT INTO __invoice_currency_rating (id, bank_name, id_currency_from, "
                                 "rating_date, currency_amount_from, currency_value, time_create, time_modify) "
                                 "VALUES (5, 'NBP', 2, '2024-01-29', %1, '%2', '', '')")
                      .arg(units)
                      .arg(value));
}

MDocumentSaveState TestDocumentSave::document(int kind)
{
    MDocumentSaveState state;
    state.kind = kind;
    state.number = 5;
    state.datePut = QDate(2024, 1, 30);
    state.dateSell = QDate(2024, 1, 29);
    state.datePay = QDate(2024, 3, 1);
    state.payForm = QStringLiteral("przelew");
    state.buyerKind = QStringLiteral("Nabywca");
    return state;
}

int TestDocumentSave::save(const MDocumentSaveState& state)
{
    const MDocumentSave::Result result = MDocumentSave::save(state);
    if (!result.ok())
        qWarning("%s", qPrintable(result.errorText));
    return result.id;
}

// Every row of every table, working tables included.
QString TestDocumentSave::everything()
{
    QStringList all;
    for (const QString& table :
         MTestDatabase::rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' "
                             "ORDER BY name"))
        all << table + QLatin1Char(':') + MTestDatabase::rows(QStringLiteral("SELECT * FROM ") + table).join('\n');
    return all.join(QLatin1Char('\n'));
}

QString TestDocumentSave::money(const QString& columns, int id)
{
    QStringList parts;
    for (const QString& column : columns.split(QLatin1Char(',')))
        parts << QStringLiteral("printf('%.2f', ") + column.trimmed() + QLatin1Char(')');
    return MTestDatabase::value(QStringLiteral("SELECT ") + parts.join(QStringLiteral(" || '|' || "))
                                + QStringLiteral(" FROM invoice WHERE id = ") + QString::number(id))
        .toString();
}

void TestDocumentSave::amounts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("fromNetto");
    QTest::addColumn<int>("summaryCount");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("profit");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("reduct");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<int>("ratingUnits"); // 0: in PLN
    QTest::addColumn<QString>("ratingValue");
    QTest::addColumn<QString>("paid");
    QTest::addColumn<QString>("totals"); // net|gross|VAT|net rating|gross rating|VAT rating
    QTest::addColumn<QString>("parts");

    const QString none = QStringLiteral("0.00|0.00|0.00|0.00|0.00|0.00");
    QTest::newRow("gross, 10 % discount") << 0 << false << 0 << "12.30" << "0" << 1 << "3" << "10" << true << 0 << ""
                                          << "0" << "27.00|33.21|6.21|27.00|33.21|6.21" << none;
    QTest::newRow("gross, amount discount 1.00") << 0 << false << 0 << "12.30" << "0" << 1 << "3" << "1.00" << false
                                                 << 0 << "" << "0" << "27.56|33.90|6.34|27.56|33.90|6.34" << none;
    QTest::newRow("net 2 x 10.005") << 0 << true << 0 << "10.005" << "0" << 1 << "2" << "0" << true << 0 << "" << "0"
                                    << "20.01|24.61|4.60|20.01|24.61|4.60" << none;
    QTest::newRow("three lines of 0.07, summing the rows") << 0 << true << 0 << "0.07" << "0" << 3 << "1" << "0"
                                                           << true << 0 << "" << "0"
                                                           << "0.21|0.27|0.06|0.21|0.27|0.06" << none;
    QTest::newRow("three lines of 0.07, computed at the end") << 0 << true << 1 << "0.07" << "0" << 3 << "1" << "0"
                                                              << true << 0 << "" << "0"
                                                              << "0.21|0.26|0.05|0.21|0.26|0.05" << none;
    QTest::newRow("EUR at 4.2500 per 1") << 0 << false << 0 << "10.00" << "0" << 1 << "2" << "0" << true << 1
                                         << "4.2500" << "0" << "16.26|20.00|3.74|69.11|85.00|15.89" << none;
    QTest::newRow("margin") << 27 << false << 0 << "200.00" << "23.00" << 1 << "1" << "0" << true << 0 << "" << "0"
                            << "162.60|200.00|4.30|162.60|200.00|4.30" << none;
    QTest::newRow("advance paid in half") << 19 << false << 0 << "246.00" << "0" << 1 << "1" << "0" << true << 0 << ""
                                          << "123,00" << "200.00|246.00|46.00|200.00|246.00|46.00"
                                          << "100.00|123.00|23.00|100.00|123.00|23.00";
    QTest::newRow("advance of gross 0") << 19 << false << 0 << "0" << "0" << 1 << "1" << "0" << true << 0 << ""
                                        << "50" << none << none;
    QTest::newRow("VAT invoice with a partial payment") << 0 << false << 0 << "246.00" << "0" << 1 << "1" << "0"
                                                        << true << 0 << "" << "123"
                                                        << "200.00|246.00|46.00|200.00|246.00|46.00" << none;
    QTest::newRow("no lines") << 0 << false << 0 << "10.00" << "0" << 0 << "1" << "0" << true << 0 << "" << "0"
                              << none << none;
    QTest::newRow("100 JPY = 4 PLN") << 0 << true << 0 << "10.00" << "0" << 1 << "1" << "0" << true << 100 << "4"
                                     << "0" << "10.00|12.30|2.30|0.40|0.49|0.09" << none;
}

void TestDocumentSave::amounts()
{
    QFETCH(int, kind);
    QFETCH(bool, fromNetto);
    QFETCH(int, summaryCount);
    QFETCH(QString, price);
    QFETCH(QString, profit);
    QFETCH(int, lines);
    QFETCH(QString, amount);
    QFETCH(QString, reduct);
    QFETCH(bool, percent);
    QFETCH(int, ratingUnits);
    QFETCH(QString, ratingValue);
    QFETCH(QString, paid);
    QFETCH(QString, totals);
    QFETCH(QString, parts);

    MDocumentSaveState state = document(kind);
    state.grossBase = !fromNetto;
    state.summaryCount = summaryCount;
    state.amountDiscount = !percent;
    state.bruttoPart = paid;
    if (ratingUnits > 0) {
        state.idCurrency = 2;
        state.ratingKey = rating(ratingUnits, ratingValue);
    }
    for (int i = 0; i < lines; ++i)
        state.lines << line(product(fromNetto, price, 23, profit), amount, reduct, percent);

    const int id = save(state);
    QVERIFY(id > 0);
    QCOMPARE(money(totalColumns, id), totals);
    QCOMPARE(money(partColumns, id), parts);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_product_misc")), lines);

    // The data repair computes the very same figures from the stored rows.
    const QString lineRows = MTestDatabase::rows("SELECT * FROM invoice_product_misc ORDER BY id").join('\n');
    const QString summaryRows =
        MTestDatabase::rows("SELECT id_vat, netto_price, brutto_price, vat_price, netto_rating_price, "
                            "brutto_rating_price, vat_rating_price, netto_part_price, brutto_part_price, "
                            "vat_part_price FROM invoice_summary_vat ORDER BY id_vat")
            .join('\n');
    QSqlQuery(QStringLiteral("begin"));
    QVERIFY(MRecompute::recomputeAll().ok());
    QSqlQuery(QStringLiteral("commit"));
    QCOMPARE(money(totalColumns, id), totals);
    QCOMPARE(money(partColumns, id), parts);
    QCOMPARE(MTestDatabase::rows("SELECT * FROM invoice_product_misc ORDER BY id").join('\n'), lineRows);
    QCOMPARE(MTestDatabase::rows("SELECT id_vat, netto_price, brutto_price, vat_price, netto_rating_price, "
                                 "brutto_rating_price, vat_rating_price, netto_part_price, brutto_part_price, "
                                 "vat_part_price FROM invoice_summary_vat ORDER BY id_vat")
                 .join('\n'),
             summaryRows);
}

void TestDocumentSave::snapshots_data()
{
    QTest::addColumn<QString>("change"); // what differs at the second save
    QTest::addColumn<bool>("resave");    // the second save rewrites the first document
    QTest::addColumn<QString>("added");  // new rows per snapshot table

    QTest::newRow("unchanged re-save") << "" << true << "0 0 0 0 0 0";
    QTest::newRow("second document, same data") << "" << false << "0 0 0 0 0 0";
    QTest::newRow("changed phone") << "UPDATE __invoice_buyer SET phone = '999'" << false << "0 1 0 0 0 0";
    QTest::newRow("changed address city") << "UPDATE __invoice_buyer_address SET city = 'Gdańsk'" << false
                                          << "0 1 1 0 0 0";
    QTest::newRow("changed street") << "UPDATE __invoice_seller SET street = 'Leśna 9'" << false << "1 0 0 0 0 0";
    QTest::newRow("changed office code") << "UPDATE __invoice_seller SET financial_office_code = '1471'" << true
                                         << "1 0 0 0 0 0";
    QTest::newRow("changed product price") << "UPDATE __invoice_product SET netto_price = '11.00'" << true
                                           << "0 0 0 0 0 1";
    QTest::newRow("changed rating") << "UPDATE __invoice_currency_rating SET currency_value = '4.30'" << true
                                    << "0 0 0 1 0 0";
}

void TestDocumentSave::snapshots()
{
    QFETCH(QString, change);
    QFETCH(bool, resave);
    QFETCH(QString, added);

    MDocumentSaveState state = document();
    state.sellerKey = seller();
    state.buyerKey = buyer();
    state.idCurrency = 2;
    state.ratingKey = rating(1, "4.25");
    state.lines << line(product(true, "10.00", 23), "2");
    const int first = save(state);
    QVERIFY(first > 0);
    // Both closing texts are empty: they share one row.
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id_end_text = id_end_text2 AND id_end_text > 0 FROM invoice"))
                 .toInt(),
             1);
    const QString before = snapshotCounts();

    if (!change.isEmpty())
        QVERIFY(MTestDatabase::exec(change));
    if (resave)
        state.idInvoice = first;
    const int second = save(state);
    QVERIFY(second > 0);
    QCOMPARE(second == first, resave);

    QStringList grown;
    const QStringList was = before.split(QLatin1Char(' '));
    const QStringList now = snapshotCounts().split(QLatin1Char(' '));
    for (int i = 0; i < was.size(); ++i)
        grown << QString::number(now.at(i).toInt() - was.at(i).toInt());
    QCOMPARE(grown.join(QLatin1Char(' ')), added);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), resave ? 1 : 2);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_product_misc")), resave ? 1 : 2);

    // The document refers to snapshots carrying the values of its copies.
    QCOMPARE(MTestDatabase::rows(QStringLiteral(
                 "SELECT s.street || '/' || s.financial_office_code || '/' || b.phone || '/' || a.city || '/' || "
                 "printf('%.2f', r.currency_value) || '/' || printf('%.2f', p.netto_price) FROM invoice i "
                 "JOIN invoice_seller s ON s.id = i.id_seller JOIN invoice_buyer b ON b.id = i.id_buyer "
                 "JOIN invoice_buyer_address a ON a.id = b.id_address_contact "
                 "JOIN invoice_currency_rating r ON r.id = i.id_currency_rating "
                 "JOIN invoice_product_misc pm ON pm.id_invoice = i.id JOIN invoice_product p ON p.id = pm.id_product "
                 "WHERE i.id = %1")
                                     .arg(second)),
             MTestDatabase::rows(QStringLiteral(
                 "SELECT s.street || '/' || s.financial_office_code || '/' || b.phone || '/' || a.city || '/' || "
                 "printf('%.2f', r.currency_value) || '/' || printf('%.2f', p.netto_price) FROM __invoice_seller s, "
                 "__invoice_buyer b, __invoice_buyer_address a, __invoice_currency_rating r, __invoice_product p")));
}

// A product whose stored gross does not follow from its net, as imported
// data and older versions have them: its snapshot keeps the values it was
// fingerprinted with, so that a re-save finds it again, and a document
// sharing it leaves the older one as it was.
void TestDocumentSave::sharedSnapshotStaysAsFingerprinted()
{
    const QString snapshotColumns = MInvoiceCopies::md5Columns(QStringLiteral("invoice_product")).join(", ");
    const auto fingerprintOf = [&snapshotColumns](const QString& id) {
        QSqlQuery row(QStringLiteral("SELECT ") + snapshotColumns + QStringLiteral(" FROM invoice_product WHERE id = ")
                      + id);
        QVariantList values;
        if (row.next()) {
            for (int i = 0; i < row.record().count(); ++i)
                values << row.value(i);
        }
        return MInvoiceCopies::md5(values);
    };
    MDocumentSaveState state = document();
    state.sellerKey = seller();
    state.buyerKey = buyer();
    state.lines << insert(QStringLiteral("INSERT INTO __invoice_product_misc (id, id_product, amount, reduct, "
                                         "reduct_percent) VALUES (0, %1, '2', '0', 1)")
                              .arg(insert(QStringLiteral(
                                  "INSERT INTO __invoice_product (id, name, netto_price, brutto_price, vat, vat_text, "
                                  "count_from_netto, profit_brutto, time_create, time_modify) VALUES (7, 'Towar', "
                                  "'10.00', '99.99', 23, '23%', 1, '0', '', '')"))));
    const int first = save(state);
    QVERIFY(first > 0);
    const QString snapshot = MTestDatabase::value(QStringLiteral("SELECT id_product FROM invoice_product_misc")).toString();
    const QString stored = MTestDatabase::value(QStringLiteral("SELECT printf('%.2f|%.2f', netto_price, brutto_price) "
                                                               "FROM invoice_product")).toString();
    const QString firstAmounts = money(totalColumns, first);
    QCOMPARE(stored, QStringLiteral("10.00|99.99"));
    QCOMPARE(firstAmounts, QStringLiteral("20.00|24.60|4.60|20.00|24.60|4.60"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id_md5 FROM invoice_product")).toString(),
             fingerprintOf(snapshot));

    state.idInvoice = first;
    QCOMPARE(save(state), first);
    state.idInvoice = 0;
    const int second = save(state);
    QVERIFY(second > first);

    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_product")), 1);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT DISTINCT id_product FROM invoice_product_misc")),
             QStringList{snapshot});
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT printf('%.2f|%.2f', netto_price, brutto_price) "
                                                 "FROM invoice_product")).toString(),
             stored);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id_md5 FROM invoice_product")).toString(),
             fingerprintOf(snapshot));
    QCOMPARE(money(totalColumns, first), firstAmounts);
    QCOMPARE(money(totalColumns, second), firstAmounts);
}

// A save in a large database costs what it costs in a small one: no
// statement of the save or of its recomputation steps through the rows of
// the other documents.
void TestDocumentSave::saveReachesOnlyItsDocumentsRows()
{
    const int others = 400;
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
        "INSERT INTO invoice (id, invoice_kind, invoice_index, id_currency_rating, brutto_part, date_put, date_sell, "
        "date_pay, time_create, time_modify) SELECT i, 19, i, i, 10, '2024-01-02', '2024-01-02', '2024-01-02', '', '' "
        "FROM n").arg(others)));
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "INSERT INTO invoice_currency_rating (id, currency_value, currency_amount_from, rating_date, time_create, "
        "time_modify) SELECT id, 4, 1, '2024-01-01', '', '' FROM invoice")));
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "INSERT INTO invoice_product (id, netto_price, vat, vat_text, count_from_netto, time_create, time_modify) "
        "SELECT id, id, 23, '23%', 1, '', '' FROM invoice")));
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "WITH RECURSIVE k(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM k WHERE j < 5) "
        "INSERT INTO invoice_product_misc (id_invoice, id_product, amount, reduct, reduct_percent) "
        "SELECT i.id, i.id, k.j, 0, 1 FROM invoice i, k")));
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "INSERT INTO invoice_summary_vat (id_invoice, id_vat, netto_price) SELECT id, 24, 1 FROM invoice")));

    MDocumentSaveState state = document(19);
    state.sellerKey = seller();
    state.buyerKey = buyer();
    state.idCurrency = 2;
    state.ratingKey = rating(1, "4.25");
    state.bruttoPart = QStringLiteral("10");
    for (int i = 0; i < 8; ++i)
        state.lines << line(product(i % 2 == 0, QStringLiteral("1%1.00").arg(i), 23), "2");
    // Every statement may read the document's own rows and the small
    // dictionaries (VAT rates, payment forms), nothing of the size of the others.
    const int limit = 150;
    int id = 0;
    {
        MTestFullScans scans(limit);
        id = save(state);
        QVERIFY2(scans.found().isEmpty(), qPrintable(scans.found().join(QLatin1Char('\n'))));
    }
    QVERIFY(id > others);
    state.idInvoice = id;
    MTestFullScans scans(limit);
    QCOMPARE(save(state), id);
    QVERIFY2(scans.found().isEmpty(), qPrintable(scans.found().join(QLatin1Char('\n'))));
}

void TestDocumentSave::buyerKinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("buyerKind");
    QTest::addColumn<int>("currency");
    QTest::addColumn<int>("storedKind");
    QTest::addColumn<bool>("secondBuyer");
    QTest::addColumn<bool>("storedRating");
    QTest::addColumn<int>("notice");

    QTest::newRow("one party") << 0 << "Nabywca i Odbiorca" << 0 << 5 << false << false << 7;
    QTest::newRow("two parties") << 0 << "Nabywca + Odbiorca" << 2 << 2 << true << true << 7;
    QTest::newRow("empty kind") << 0 << "" << 2 << 1 << false << true << 7;
    QTest::newRow("unknown kind quoted") << 0 << "x' OR num = '2" << 2 << 1 << false << true << 7;
    QTest::newRow("purchase RR") << 11 << "Nabywca" << 0 << 0 << true << false << 8;
    QTest::newRow("purchase RR correction") << 12 << "" << 0 << 0 << true << false << 8;
}

void TestDocumentSave::buyerKinds()
{
    QFETCH(int, kind);
    QFETCH(QString, buyerKind);
    QFETCH(int, currency);
    QFETCH(int, storedKind);
    QFETCH(bool, secondBuyer);
    QFETCH(bool, storedRating);
    QFETCH(int, notice);

    MDocumentSaveState state = document(kind);
    state.buyerKind = buyerKind;
    state.buyerKey = buyer("1");
    state.buyer2Key = buyer("2");
    state.idCurrency = currency;
    state.ratingKey = rating(1, "4.25");
    const MDocumentSave::Result result = MDocumentSave::save(state);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.notice, notice);
    QCOMPARE(MTestDatabase::value("SELECT buyer_kind FROM invoice").toInt(), storedKind);
    QCOMPARE(MTestDatabase::value("SELECT b.phone FROM invoice i JOIN invoice_buyer b ON b.id = i.id_buyer").toString(),
             QStringLiteral("1"));
    QCOMPARE(MTestDatabase::value("SELECT IFNULL(b.phone, '') FROM invoice i LEFT JOIN invoice_buyer b "
                                  "ON b.id = i.id_buyer2").toString(),
             secondBuyer ? QStringLiteral("2") : QString());
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_buyer")), secondBuyer ? 2 : 1);
    QCOMPARE(MTestDatabase::value("SELECT id_currency_rating > 0 FROM invoice").toBool(), storedRating);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_currency_rating")), storedRating ? 1 : 0);
}

void TestDocumentSave::payment_data()
{
    QTest::addColumn<QString>("payForm");
    QTest::addColumn<bool>("termInDays");
    QTest::addColumn<bool>("isPayed");
    QTest::addColumn<bool>("choosePayedDate");
    QTest::addColumn<QString>("paid");
    QTest::addColumn<QString>("expected"); // date_pay|day_period|id_pay_form|brutto_part|date_payed

    QTest::newRow("term of 14 days") << "przelew" << true << false << false << "0"
                                     << "2024-02-13 00:00:00|1|2|0|NULL";
    QTest::newRow("barter ignores the term") << "barter" << true << false << false << "0"
                                             << "2024-03-01 00:00:00|0|3|0|NULL";
    QTest::newRow("no term in days") << "gotówka" << false << false << false << "0"
                                     << "2024-03-01 00:00:00|0|1|0|NULL";
    QTest::newRow("unknown form keeps the term") << "" << true << false << false << "0"
                                                 << "2024-02-13 00:00:00|1|0|0|NULL";
    QTest::newRow("quote in the form is a name") << "x' OR basic_form = 'barter" << true << false << false << "0"
                                                 << "2024-02-13 00:00:00|1|0|0|NULL";
    QTest::newRow("decimal comma") << "przelew" << false << false << false << "100,50"
                                   << "2024-03-01 00:00:00|0|2|100.5|NULL";
    QTest::newRow("decimal point") << "przelew" << false << false << false << "100.50"
                                   << "2024-03-01 00:00:00|0|2|100.5|NULL";
    QTest::newRow("not a number") << "przelew" << false << false << false << "sto"
                                  << "2024-03-01 00:00:00|0|2|0|NULL";
    QTest::newRow("paid without a date") << "przelew" << false << true << false << "0"
                                         << "2024-03-01 00:00:00|0|2|0|NULL";
    QTest::newRow("paid with a date") << "przelew" << false << true << true << "0"
                                      << "2024-03-01 00:00:00|0|2|0|2024-02-02";
}

void TestDocumentSave::payment()
{
    QFETCH(QString, payForm);
    QFETCH(bool, termInDays);
    QFETCH(bool, isPayed);
    QFETCH(bool, choosePayedDate);
    QFETCH(QString, paid);
    QFETCH(QString, expected);

    MDocumentSaveState state = document();
    state.payForm = payForm;
    state.termInDays = termInDays;
    state.termDays = 14;
    state.isPayed = isPayed;
    state.choosePayedDate = choosePayedDate;
    state.datePayed = QDate(2024, 2, 2);
    state.bruttoPart = paid;
    const int id = save(state);
    QVERIFY(id > 0);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT date_pay || '|' || day_period || '|' || id_pay_form || '|' || "
                                                 "brutto_part || '|' || IFNULL(date_payed, 'NULL') || '|' || is_payed "
                                                 "FROM invoice WHERE id = %1")
                                      .arg(id))
                 .toString(),
             expected + QLatin1Char('|') + QString::number(isPayed ? 1 : 0));
}

void TestDocumentSave::documentRow()
{
    MDocumentSaveState state = document(0);
    state.sellerKey = seller();
    state.idSellerBase = 9;
    state.contractText = QStringLiteral("umowa 1");
    state.joins << insert("INSERT INTO __invoice_join (id_invoice_join) VALUES (41)");
    state.endText = QStringLiteral("Dziękujemy");
    state.payFormPart = QStringLiteral("kartą");
    state.payedAllDate = true;
    state.datePayedAll = QDate(2024, 2, 5);
    const MDocumentSave::Result vat = MDocumentSave::save(state);
    QVERIFY2(vat.ok(), qPrintable(vat.errorText));
    QCOMPARE(vat.numberText, QStringLiteral("FV/5/2024"));

    state.kind = 19;
    const int advance = save(state);
    QVERIFY(advance > 0);

    QCOMPARE(MTestDatabase::rows(QStringLiteral(
                 "SELECT i.invoice_index_string, i.invoice_index, i.id_invoice_index_format, i.id_seller_base, "
                 "i.contract_text, "
                 "IFNULL((SELECT group_concat(id_invoice_join) FROM invoice_join WHERE id_invoice = i.id), ''), "
                 "t.content, i.id_pay_form_part, i.date_payed_all, i.date_put, i.date_sell "
                 "FROM invoice i JOIN invoice_end_text t ON t.id = i.id_end_text ORDER BY i.id")),
             (QStringList{"FV/5/2024|5|2|9|||Dziękujemy|5|2024-02-05|2024-01-30 00:00:00|2024-01-29 00:00:00",
                          "FV/5/2024|5|2|9|umowa 1|41|Dziękujemy|5|2024-02-05|2024-01-30 00:00:00|"
                          "2024-01-29 00:00:00"}));
}

void TestDocumentSave::failureLeavesEverything_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("mend");
    QTest::addColumn<bool>("existing");

    QTest::newRow("summary refused") << "CREATE TRIGGER refuse BEFORE INSERT ON invoice_summary_vat "
                                        "BEGIN SELECT RAISE(ABORT, 'odmowa'); END"
                                     << "DROP TRIGGER refuse" << false;
    QTest::newRow("summary refused at a re-save") << "CREATE TRIGGER refuse BEFORE INSERT ON invoice_summary_vat "
                                                     "BEGIN SELECT RAISE(ABORT, 'odmowa'); END"
                                                  << "DROP TRIGGER refuse" << true;
    QTest::newRow("reason refused") << "CREATE TRIGGER refuse BEFORE INSERT ON invoice_correct_misc "
                                       "BEGIN SELECT RAISE(ABORT, 'odmowa'); END"
                                    << "DROP TRIGGER refuse" << false;
    QTest::newRow("product copy gone") << "UPDATE __invoice_product SET __id = 900 WHERE __id = (SELECT MAX(__id) "
                                          "FROM __invoice_product)"
                                       << "UPDATE __invoice_product SET __id = (SELECT MAX(id_product) FROM "
                                          "__invoice_product_misc) WHERE __id = 900"
                                       << false;
    QTest::newRow("document deleted meanwhile") << "UPDATE invoice SET id = 77" << "UPDATE invoice SET id = 1"
                                                << true;
}

void TestDocumentSave::failureLeavesEverything()
{
    QFETCH(QString, fault);
    QFETCH(QString, mend);
    QFETCH(bool, existing);

    MDocumentSaveState state = document(2);
    state.correction = true;
    state.correctReason = QStringLiteral("zła cena");
    state.sellerKey = seller();
    state.buyerKey = buyer();
    state.lines << line(product(true, "10.00", 23), "2") << line(product(false, "5.00", 8), "1");
    if (existing) {
        state.idInvoice = save(state);
        QCOMPARE(state.idInvoice, 1);
        QVERIFY(MTestDatabase::exec("UPDATE __invoice_product_misc SET amount = 3"));
    }
    QVERIFY(MTestDatabase::exec(fault));
    const QString before = everything();

    const MDocumentSave::Result failed = MDocumentSave::save(state);
    QVERIFY(!failed.ok());
    QVERIFY(failed.errorText.startsWith(QStringLiteral("Dokument nie został zapisany")));
    QCOMPARE(everything(), before);

    QVERIFY(MTestDatabase::exec(mend));
    const int id = save(state);
    QCOMPARE(id, 1);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 1);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_correct_misc")), 1);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice_summary_vat")), 2);
    QCOMPARE(money(QStringLiteral("global_brutto"), id), existing ? QStringLiteral("51.90") : QStringLiteral("29.60"));
}

void TestDocumentSave::correctionReason()
{
    MDocumentSaveState state = document(2);
    state.correction = true;
    state.correctReason = QStringLiteral("zła ilość");
    state.idInvoice = save(state);
    QVERIFY(state.idInvoice > 0);
    state.correctReason = QStringLiteral("zła cena");
    QCOMPARE(save(state), state.idInvoice);

    MDocumentSaveState plain = document(0);
    QVERIFY(save(plain) > 0);
    QCOMPARE(MTestDatabase::rows("SELECT id_invoice || ':' || correct_reason FROM invoice_correct_misc"),
             QStringList{QString::number(state.idInvoice) + QStringLiteral(":zła cena")});
}

INVOICE_TEST_MAIN(TestDocumentSave)
#include "tst_documentsave.moc"
