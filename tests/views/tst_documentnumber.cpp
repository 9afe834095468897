#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "views/MDocumentNumber.h"

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

// Columns of the seller snapshot after its key; its working copy has the same
// columns after `__id` and `id`.
const char* const sellerColumns =
    "firm TEXT NOT NULL DEFAULT '', nip VARCHAR(20) NOT NULL DEFAULT '', regon VARCHAR(20) NOT NULL DEFAULT '', "
    "address TEXT NOT NULL DEFAULT '', city VARCHAR(256) NOT NULL DEFAULT '', zipcode VARCHAR(10) NOT NULL DEFAULT '', "
    "id_province INTEGER NOT NULL DEFAULT 0, id_country INTEGER NOT NULL DEFAULT 0, "
    "bank VARCHAR(256) NOT NULL DEFAULT '', bank_account VARCHAR(256) NOT NULL DEFAULT '', "
    "phone VARCHAR(256) NOT NULL DEFAULT '', fax VARCHAR(256) NOT NULL DEFAULT '', "
    "email VARCHAR(256) NOT NULL DEFAULT '', www TEXT NOT NULL DEFAULT '', "
    "permit_person_firstname VARCHAR(256) NOT NULL DEFAULT '', permit_person_secondname VARCHAR(256) NOT NULL DEFAULT '', "
    "permit_person_pesel VARCHAR(256) NOT NULL DEFAULT '', reduct NUMBER(12, 4) NOT NULL DEFAULT 0, "
    "id_kind INTEGER NOT NULL DEFAULT 0, id_invoice_index_format INTEGER NOT NULL DEFAULT 0, "
    "invoice_index_format_text VARCHAR(256) NOT NULL DEFAULT '', time_create DATETIME NOT NULL, "
    "time_modify DATETIME NOT NULL, additional TEXT NOT NULL DEFAULT '', id_md5 VARCHAR(32) NOT NULL DEFAULT '', "
    "person_document_id_kind INTEGER NOT NULL DEFAULT 0, person_document_number VARCHAR(256) NOT NULL DEFAULT '', "
    "person_document_by TEXT NOT NULL DEFAULT '', person_document_date DATE, "
    "firm_short VARCHAR(20) NOT NULL DEFAULT '', financial_office_code VARCHAR(10) NOT NULL DEFAULT '', "
    "street VARCHAR(256) NOT NULL DEFAULT '', address_number1 VARCHAR(20) NOT NULL DEFAULT '', "
    "address_number2 VARCHAR(20) NOT NULL DEFAULT '', city_post VARCHAR(256) NOT NULL DEFAULT '', "
    "province2 VARCHAR(100) NOT NULL DEFAULT '', province3 VARCHAR(100) NOT NULL DEFAULT ''";

const char* const invoiceTable =
    "CREATE TABLE invoice (id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "id_parent_invoice INTEGER NOT NULL DEFAULT 0, id_seller INTEGER NOT NULL DEFAULT 0, "
    "id_seller_base INTEGER NOT NULL DEFAULT 0, id_buyer INTEGER NOT NULL DEFAULT 0, "
    "id_end_text INTEGER NOT NULL DEFAULT 0, id_pay_form INTEGER NOT NULL DEFAULT 0, "
    "id_currency INTEGER NOT NULL DEFAULT 0, invoice_index INTEGER NOT NULL DEFAULT 0, "
    "id_invoice_index_format VARCHAR(256) NOT NULL DEFAULT '', invoice_index_string VARCHAR(256) NOT NULL DEFAULT '', "
    "invoice_kind INTEGER NOT NULL DEFAULT 0, payed BOOLEAN NOT NULL DEFAULT 0, "
    "global_netto NUMBER(12, 4) NOT NULL DEFAULT 0, global_brutto NUMBER(12, 4) NOT NULL DEFAULT 0, "
    "vat NUMBER(10, 2) NOT NULL DEFAULT 0, date_put DATETIME NOT NULL, date_sell DATETIME NOT NULL, "
    "date_pay DATETIME NOT NULL, place_put VARCHAR(255) NOT NULL DEFAULT '', pay_text VARCHAR(255) NOT NULL DEFAULT '', "
    "day_period INTEGER NOT NULL DEFAULT 0, count_from_netto BOOLEAN NOT NULL DEFAULT 0, "
    "time_create DATETIME NOT NULL, time_modify DATETIME NOT NULL, additional TEXT NOT NULL DEFAULT '', "
    "global_vat NUMBER(12, 4) NOT NULL DEFAULT 0, date_sell_in_months BOOLEAN NOT NULL DEFAULT 0, "
    "id_buyer_base INTEGER NOT NULL DEFAULT 0, id_buyer2_base INTEGER NOT NULL DEFAULT 0, "
    "id_buyer2 INTEGER NOT NULL DEFAULT 0, buyer_kind INTEGER NOT NULL DEFAULT 0, "
    "is_payed BOOLEAN NOT NULL DEFAULT 0, date_payed DATE NULL, reduct_percent BOOLEAN NOT NULL DEFAULT 1, "
    "summary_count BOOLEAN NOT NULL DEFAULT 0, hide_vat BOOLEAN NOT NULL DEFAULT 0)";

} // namespace

class TestDocumentNumber : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pattern_data();
    void pattern();
    void hugeWidthIsBounded();
    void numberFromSnapshotOrWorkingCopy_data();
    void numberFromSnapshotOrWorkingCopy();
    void numberOfSavedDocument_data();
    void numberOfSavedDocument();

private:
    void exec(const QString& sql);
    QTemporaryDir m_dir;
};

void TestDocumentNumber::exec(const QString& sql)
{
    QSqlQuery query;
    QVERIFY2(query.exec(sql), qPrintable(query.lastError().text() + QLatin1String(": ") + sql));
}

// Tables as the schema declares them, with two sellers whose snapshot and
// working copy keys differ, so that reading the wrong table or key shows.
void TestDocumentNumber::initTestCase()
{
    QVERIFY(MTestDatabase::connect(m_dir.filePath(QStringLiteral("Invoice.db3"))));
    const QString columns = QString::fromLatin1(sellerColumns);
    exec(QStringLiteral("CREATE TABLE invoice_seller (id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, ") + columns + ")");
    exec(QStringLiteral("CREATE TABLE __invoice_seller (__id INTEGER PRIMARY KEY AUTOINCREMENT, id INTEGER NOT NULL, ")
         + columns + ")");
    exec(QString::fromLatin1(invoiceTable));

    const QString snapshot = QStringLiteral(
        "INSERT INTO invoice_seller (id, firm, invoice_index_format_text, time_create, time_modify) "
        "VALUES (%1, 'Firma', '%2', current_timestamp, current_timestamp)");
    exec(snapshot.arg(3).arg(QStringLiteral("FV/[nr]/[mm]/[rrrr]")));
    exec(snapshot.arg(4).arg(QStringLiteral("[nr|4]/[rr]")));
    exec(snapshot.arg(5).arg(QString()));
    exec(QStringLiteral("INSERT INTO __invoice_seller (__id, id, firm, invoice_index_format_text, time_create, "
                        "time_modify) VALUES (3, 4, 'Firma', 'K/[nr|3]/[m]', current_timestamp, current_timestamp)"));

    const QString document = QStringLiteral(
        "INSERT INTO invoice (id, id_seller, invoice_index, date_put, date_sell, date_pay, time_create, time_modify) "
        "VALUES (%1, %2, %3, '%4', '%4', '%4', current_timestamp, current_timestamp)");
    exec(document.arg(10).arg(3).arg(7).arg(QStringLiteral("2015-03-31 00:00:00")));
    exec(document.arg(11).arg(4).arg(7).arg(QStringLiteral("2019-11-01 00:00:00")));
    exec(document.arg(12).arg(4).arg(0).arg(QStringLiteral("2019-11-01 00:00:00")));
    exec(document.arg(13).arg(99).arg(1).arg(QStringLiteral("2019-11-01 00:00:00")));
}

void TestDocumentNumber::cleanupTestCase()
{
    MTestDatabase::close();
}

void TestDocumentNumber::pattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("expected");

    QTest::newRow("number, month, full year") << "FV/[nr]/[mm]/[rrrr]" << 7 << 3 << 2015 << "FV/7/03/2015";
    QTest::newRow("padded number, two-digit year") << "[nr|4]/[rr]" << 7 << 3 << 2015 << "0007/15";
    QTest::newRow("longer number is not cut") << "[nr|2]" << 123 << 3 << 2015 << "123";
    QTest::newRow("month without zero, last year digit") << "[m].[r]" << 11 << 11 << 2019 << "11.9";
    QTest::newRow("month below ten") << "[m]|[mm]" << 1 << 9 << 2019 << "9|09";
    QTest::newRow("three year digits") << "[rrr]" << 1 << 1 << 2015 << "015";
    QTest::newRow("no token") << "Faktura" << 7 << 3 << 2015 << "Faktura";
    QTest::newRow("tokens repeated") << "[nr]-[nr]/[mm]/[mm]/[rr][rr]" << 5 << 10 << 2024 << "5-5/10/10/2424";
    QTest::newRow("plain and padded number") << "[nr]/[nr|3]" << 7 << 3 << 2015 << "7/007";
    QTest::newRow("same width token twice") << "[nr|3]/[nr|3]" << 7 << 3 << 2015 << "007/007";
    QTest::newRow("only the first width token is read") << "[nr|3]/[nr|5]" << 7 << 3 << 2015 << "007/[nr|5]";
    QTest::newRow("unreadable width pads nothing") << "A[nr|x]" << 7 << 3 << 2015 << "A7";
    QTest::newRow("negative width pads nothing") << "[nr|-3]" << 7 << 3 << 2015 << "7";
    QTest::newRow("width token without bracket") << "[nr|4" << 7 << 3 << 2015 << "[nr|4";
    QTest::newRow("capitals are no tokens") << "[NR]/[MM]/[RRRR]" << 7 << 3 << 2015 << "[NR]/[MM]/[RRRR]";
    QTest::newRow("Polish text kept") << "Rachunek nr [nr] z [rrrr] r." << 12 << 6 << 2020 << "Rachunek nr 12 z 2020 r.";
}

void TestDocumentNumber::pattern()
{
    QFETCH(QString, pattern);
    QFETCH(int, index);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(QString, expected);
    QCOMPARE(formatInvoiceNumber(pattern, index, month, year), expected);
}

void TestDocumentNumber::hugeWidthIsBounded()
{
    const QString number = formatInvoiceNumber(QStringLiteral("[nr|2000000000]"), 7, 1, 2020);
    QCOMPARE(number.size(), 256);
    QVERIFY(number.endsWith(QLatin1String("07")));
    QVERIFY(number.startsWith(QLatin1String("000")));
}

void TestDocumentNumber::numberFromSnapshotOrWorkingCopy_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("idSeller");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("expected");

    QTest::newRow("snapshot by its id") << 7 << 3 << true << "FV/7/03/2015";
    QTest::newRow("working copy by its __id") << 7 << 3 << false << "K/007/3";
    QTest::newRow("working copy not found") << 7 << 4 << false << "";
    QTest::newRow("snapshot not found") << 7 << 99 << true << "";
    QTest::newRow("empty pattern") << 7 << 5 << true << "";
    QTest::newRow("index zero") << 0 << 3 << true << "";
    QTest::newRow("seller zero") << 7 << 0 << true << "";
}

void TestDocumentNumber::numberFromSnapshotOrWorkingCopy()
{
    QFETCH(int, index);
    QFETCH(int, idSeller);
    QFETCH(bool, saved);
    QFETCH(QString, expected);
    QCOMPARE(invoiceNumber(index, idSeller, 3, 2015, saved), expected);
}

void TestDocumentNumber::numberOfSavedDocument_data()
{
    QTest::addColumn<int>("idInvoice");
    QTest::addColumn<QString>("expected");

    QTest::newRow("month and year of the issue date") << 10 << "FV/7/03/2015";
    QTest::newRow("padded, another year") << 11 << "0007/19";
    QTest::newRow("document without sequence number") << 12 << "";
    QTest::newRow("seller snapshot missing") << 13 << "";
    QTest::newRow("document missing") << 14 << "";
    QTest::newRow("id zero") << 0 << "";
}

void TestDocumentNumber::numberOfSavedDocument()
{
    QFETCH(int, idInvoice);
    QFETCH(QString, expected);
    QCOMPARE(invoiceNumberById(idInvoice), expected);
}

INVOICE_TEST_MAIN(TestDocumentNumber)
#include "tst_documentnumber.moc"
