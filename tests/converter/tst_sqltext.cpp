#include "CArchiveReader.h"
#include "CRecord.h"
#include "CRecordClass.h"
#include "CSqlText.h"
#include "MTestEnvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextCodec>
#include <QtTest>

#include <ctime>

class TestSqlText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void quotesTexts_data();
    void quotesTexts();
    void quotedTextsGiveTheRealCharactersBack_data();
    void quotedTextsGiveTheRealCharactersBack();
    void formatsNumbers();
    void formatsTimes_data();
    void formatsTimes();
    void columnsFollowTheArchiveOrder_data();
    void columnsFollowTheArchiveOrder();
    void statementOfARecord();
};

namespace {

void setTimeZone(const QByteArray& zone)
{
    qputenv("TZ", zone);
    tzset();
}

} // namespace

void TestSqlText::initTestCase()
{
    setTimeZone("UTC");
}

void TestSqlText::quotesTexts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("quoted");

    QTest::newRow("empty text") << QByteArray() << QByteArray("''");
    QTest::newRow("plain text") << QByteArray("abc") << QByteArray("'abc'");
    QTest::newRow("one apostrophe") << QByteArray("'") << QByteArray("''''");
    QTest::newRow("name with an apostrophe") << QByteArray("O'Neil") << QByteArray("'O''Neil'");
    QTest::newRow("line break in the middle") << QByteArray("a\r\nb") << QByteArray("'a' || char(13,10) || 'b'");
    QTest::newRow("tab and lone line feeds") << QByteArray("a\tb\nc") << QByteArray("'a' || char(9) || 'b' || char(10) || 'c'");
    QTest::newRow("line breaks at both ends") << QByteArray("\nx\r") << QByteArray("char(10) || 'x' || char(13)");
    QTest::newRow("only a line break") << QByteArray("\r\n") << QByteArray("char(13,10)");
    QTest::newRow("backslash sequences stay as they are") << QByteArray("a\\nb\\") << QByteArray("'a\\nb\\'");
    QTest::newRow("Windows-1250 bytes unchanged") << QByteArray("\xa3\xf3\x64\x9f") << QByteArray("'\xa3\xf3\x64\x9f'");
}

void TestSqlText::quotesTexts()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, quoted);
    QCOMPARE(QuoteSQL(text), quoted);
}

void TestSqlText::quotedTextsGiveTheRealCharactersBack_data()
{
    QTest::addColumn<QByteArray>("text");

    QByteArray manyLines;
    for (int i = 0; i < 5000; ++i)
        manyLines += "wiersz\r\n";
    QTest::newRow("line break in the middle") << QByteArray("a\r\nb");
    QTest::newRow("tabs, feeds and apostrophes") << QByteArray("\t'a'\n\nb'\t");
    QTest::newRow("backslash sequences") << QByteArray("a\\nb\\t");
    QTest::newRow("250 line feeds in a row") << QByteArray(250, '\n');
    QTest::newRow("5000 lines") << manyLines;
    QTest::newRow("Polish letters") << QByteArray("\xa3\xf3\x64\x9f\r\n\xaf\xf3\xb3\xe6");
}

// The quoted form is run through SQLite itself: the text must come back whole,
// however many line breaks it holds, and the statement must stay on one line.
void TestSqlText::quotedTextsGiveTheRealCharactersBack()
{
    QFETCH(QByteArray, text);
    const QByteArray quoted = QuoteSQL(text);
    QVERIFY(!quoted.contains('\n'));
    QVERIFY(!quoted.contains('\r'));
    QVERIFY(!quoted.contains('\t'));

    QTextCodec* codec = QTextCodec::codecForName("Windows-1250");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("quoted"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(db.open());
    {
        QSqlQuery query(db);
        QVERIFY2(query.exec(QStringLiteral("SELECT ") + codec->toUnicode(quoted)), qPrintable(query.lastError().text()));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), codec->toUnicode(text));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("quoted"));
}

void TestSqlText::formatsNumbers()
{
    QCOMPARE(SqlInt(-3), QByteArray("-3"));
    QCOMPARE(SqlInt(2147483647), QByteArray("2147483647"));
    QCOMPARE(SqlDouble(1.5), QByteArray("1.500000"));
    QCOMPARE(SqlDouble(0.0), QByteArray("0.000000"));
    QCOMPARE(SqlDouble(-1234567.125), QByteArray("-1234567.125000"));
    QCOMPARE(SqlDouble(1e9), QByteArray("1000000000.000000"));
    QCOMPARE(SqlDouble(-0.0), QByteArray("-0.000000"));
    QCOMPARE(SqlDouble(-0.0000001), QByteArray("-0.000000"));
    QCOMPARE(SqlDouble(0.0000004), QByteArray("0.000000"));
}

void TestSqlText::formatsTimes_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("epoch in UTC") << QByteArray("UTC") << qint64(0) << QByteArray("'1970-01-01 00:00:00'");
    QTest::newRow("epoch one hour east") << QByteArray("CET-1") << qint64(0) << QByteArray("'1970-01-01 01:00:00'");
    QTest::newRow("a day in 2010") << QByteArray("UTC") << qint64(1262347384) << QByteArray("'2010-01-01 12:03:04'");
    QTest::newRow("after 2038") << QByteArray("UTC") << qint64(4102444800) << QByteArray("'2100-01-01 00:00:00'");
    QTest::newRow("before the epoch") << QByteArray("UTC") << qint64(-1) << QByteArray("''");
    QTest::newRow("last second of 9999") << QByteArray("UTC") << qint64(253402300799) << QByteArray("'9999-12-31 23:59:59'");
    QTest::newRow("year 10000") << QByteArray("UTC") << qint64(253402300800) << QByteArray("''");
    QTest::newRow("largest count") << QByteArray("UTC") << std::numeric_limits<qint64>::max() << QByteArray("''");
}

void TestSqlText::formatsTimes()
{
    QFETCH(QByteArray, zone);
    QFETCH(qint64, seconds);
    QFETCH(QByteArray, text);
    setTimeZone(zone);
    const QByteArray formatted = SqlTime(CTime{seconds});
    setTimeZone("UTC");
    QCOMPARE(formatted, text);
}

void TestSqlText::columnsFollowTheArchiveOrder_data()
{
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<QByteArray>("columns");

    QTest::newRow("country") << QByteArray("CCountry") << QByteArray("(id, name) VALUES (");
    QTest::newRow("province") << QByteArray("CProvince") << QByteArray("(id, name) VALUES (");
    QTest::newRow("buyer") << QByteArray("CBuyer")
                           << QByteArray("(id, id_province, id_country, time_create, time_modify, firm, nip, regon, bank, "
                                         "bank_account, address, city, zipcode, phone, fax, email, www, "
                                         "permit_person_firstname, permit_person_secondname, permit_person_pesel, "
                                         "additional, reduct) VALUES (");
    QTest::newRow("closing text") << QByteArray("CEndText")
                                  << QByteArray("(id, time_create, time_modify, content) VALUES (");
    QTest::newRow("document") << QByteArray("CInvoice")
                              << QByteArray("(id, id_seller, id_seller_base, id_buyer, id_pay_form, id_end_text, "
                                            "invoice_index, id_invoice_index_format, time_create, time_modify, "
                                            "date_put, date_sell, date_pay, place_put, payed, global_netto, "
                                            "global_brutto, invoice_kind, id_parent_invoice, id_currency, day_period, "
                                            "pay_text, count_from_netto) VALUES (");
    QTest::newRow("correction reason") << QByteArray("CInvoiceCorrectMisc")
                                       << QByteArray("(id, id_invoice, correct_reason) VALUES (");
    QTest::newRow("numbering format") << QByteArray("CInvoiceIndexFormat") << QByteArray("(id, name, period) VALUES (");
    QTest::newRow("document line") << QByteArray("CInvoiceProductMisc")
                                   << QByteArray("(id, id_invoice, id_product, amount, reduct) VALUES (");
    QTest::newRow("payment form") << QByteArray("CPayForm") << QByteArray("(id, basic_form, second_form) VALUES (");
    QTest::newRow("product") << QByteArray("CProduct")
                             << QByteArray("(id, netto_price, vat, vat_text, time_create, time_modify, name, code, unit, "
                                           "additional, symbol, vat_kind, id_currency, count_from_netto, "
                                           "brutto_price) VALUES (");
    QTest::newRow("seller") << QByteArray("CSeller")
                            << QByteArray("(id, id_invoice_index_format, id_province, id_country, id_kind, time_create, "
                                          "time_modify, firm, nip, regon, bank, bank_account, address, city, zipcode, "
                                          "phone, fax, email, www, permit_person_firstname, permit_person_secondname, "
                                          "permit_person_pesel, additional, invoice_index_format_text) VALUES (");
}

void TestSqlText::columnsFollowTheArchiveOrder()
{
    QFETCH(QByteArray, className);
    QFETCH(QByteArray, columns);
    const CRecordClass* recordClass = CRecordClass::find(className);
    QVERIFY(recordClass);
    QCOMPARE(recordClass->columnsClause(), columns);
    QVERIFY(!CRecordClass::find(className.toLower()));
}

void TestSqlText::statementOfARecord()
{
    // id 7, the 8-bit text O'Neil.
    QByteArray bytes = QByteArray::fromHex("07000000") + char(6) + "O'Neil";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CArchiveReader ar(&buffer);
    CRecord country(*CRecordClass::find("CCountry"));
    country.Serialize(ar, 1);
    QCOMPARE(country.GetSQL("country"), QByteArray("INSERT INTO country(id, name) VALUES (7,'O''Neil');"));
    QCOMPARE(country.GetSQL("province"), QByteArray("INSERT INTO province(id, name) VALUES (7,'O''Neil');"));
}

INVOICE_TEST_MAIN(TestSqlText)
#include "tst_sqltext.moc"
