#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "data/MProgramVersion.h"
#include "printing/MDocTemplate.h"

#include <QApplication>
#include <QLocale>
#include <QScriptEngine>
#include <QtTest>

// What a template reads through `doc`: document look-ups on a database made by
// the schema script, kind names and number texts, called as a template calls them.
class TestDocTemplateData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void lookUps_data();
    void lookUps();
    void invoiceTypesOfEveryKind_data();
    void invoiceTypesOfEveryKind();
    void kindNames_data();
    void kindNames();
    void texts_data();
    void texts();
    void sqlQueryIsFlatRowMajor();
    void sqlQueryWithoutRowsIsEmpty_data();
    void sqlQueryWithoutRowsIsEmpty();

private:
    // The script value of `expression`, evaluated with a fresh `doc`, as text.
    QString evaluate(const QString& expression);

    MTestDatabase m_db;
    QScriptEngine m_engine;
};

namespace {

// Documents firstKindId + kind hold one document of every kind.
const int firstKindId = 200;

void insertInvoice(int id, const QVariantMap& values)
{
    QVariantMap row = values;
    row.insert(QStringLiteral("id"), id);
    MTestDatabase::insert(QStringLiteral("invoice"), row);
}

} // namespace

void TestDocTemplateData::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    MOptions::setOption(QStringLiteral("SHOW_MONTH_STYLE"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("TRANSLATE_HEADER_INVOICE_20130101"), QStringLiteral("Faktura"));
    MOptions::setOption(QStringLiteral("TRANSLATE_HEADER_INVOICE_CORRECT_20130101"), QStringLiteral("Korekta"));
    MOptions::setOption(QStringLiteral("TRANSLATE_HEADER_INVOICE_PROFORM_20130101"), QStringLiteral("Proforma"));

    // 101 an invoice, 102 its correction, 103 its duplicate, 104 a final invoice
    // with two joined advance invoices 105 and 106, 107 a document without any payment.
    insertInvoice(101, {{"invoice_kind", 0}, {"global_brutto", 100.0}, {"brutto_part", 25.5}, {"payed", 1},
                        {"id_seller_base", 7}, {"contract_text", "Umowa 7/2014"}, {"date_put", "2014-03-01"},
                        {"date_payed_part", "2014-03-05"}, {"date_payed_all", "2014-12-31"}});
    insertInvoice(102, {{"invoice_kind", 2}, {"global_brutto", 80.0}, {"id_parent_invoice", 101},
                        {"id_seller_base", 8}});
    insertInvoice(103, {{"invoice_kind", 5}, {"global_brutto", 100.0}, {"id_parent_invoice", 101},
                        {"id_seller_base", 9}});
    insertInvoice(104, {{"invoice_kind", 23}, {"global_brutto", 300.0}, {"brutto_part", 10.0}});
    insertInvoice(105, {{"invoice_kind", 19}, {"brutto_part", 30.0}});
    insertInvoice(106, {{"invoice_kind", 19}, {"brutto_part", 40.25}});
    insertInvoice(107, {{"invoice_kind", 0}, {"global_brutto", 50.0}, {"payed", 0}});
    MTestDatabase::insert(QStringLiteral("invoice_join"), {{"id_invoice", 104}, {"id_invoice_join", 105}});
    MTestDatabase::insert(QStringLiteral("invoice_join"), {{"id_invoice", 104}, {"id_invoice_join", 106}});

    for (int kind = 0; kind <= 30; ++kind)
        insertInvoice(firstKindId + kind, {{"invoice_kind", kind}});

    insertInvoice(301, {{"invoice_kind", 11}, {"date_put", "2012-12-31"}});
    insertInvoice(302, {{"invoice_kind", 11}, {"date_put", "2013-01-01"}});
    insertInvoice(303, {{"invoice_kind", 5}, {"date_put", "2014-06-10"}});
    insertInvoice(304, {{"invoice_kind", 15}, {"date_put", "2014-06-10"}});
    insertInvoice(305, {{"invoice_kind", 2}, {"date_put", "2013-01-01"}});
    insertInvoice(306, {{"invoice_kind", 1}, {"date_put", "2014-06-10"}});
    insertInvoice(307, {{"invoice_kind", 10}, {"date_put", "2014-06-10"}});
    insertInvoice(308, {{"invoice_kind", 27}, {"date_put", "2012-05-05"}});
    insertInvoice(309, {{"invoice_kind", 4}, {"date_put", "2015-02-02"}});
}

QString TestDocTemplateData::evaluate(const QString& expression)
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    m_engine.globalObject().setProperty(QStringLiteral("doc"), m_engine.newQObject(&docTemplate));
    const QScriptValue value = m_engine.evaluate(expression);
    if (m_engine.hasUncaughtException()) {
        const QString error = value.toString();
        m_engine.clearExceptions();
        return QStringLiteral("exception: ") + error;
    }
    return value.toString();
}

void TestDocTemplateData::lookUps_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");

    QTest::newRow("suma brutto") << "doc.getInvoiceTotalPrice(101)" << "100";
    QTest::newRow("suma brutto, id 0") << "doc.getInvoiceTotalPrice(0)" << "0";
    QTest::newRow("suma brutto, brak dokumentu") << "doc.getInvoiceTotalPrice(999)" << "0";
    QTest::newRow("dokument nadrzędny korekty") << "doc.getIdRecordParent(102)" << "101";
    QTest::newRow("dokument nadrzędny, id ujemne") << "doc.getIdRecordParent(-102)" << "0";
    QTest::newRow("umowa") << "doc.getInvoiceContractText(101)" << "Umowa 7/2014";
    QTest::newRow("umowa, brak dokumentu") << "doc.getInvoiceContractText(999)" << "";
    QTest::newRow("różnica brutto korekty") << "doc.getInvoiceCorrectTotalPrice(102)" << "-20";
    QTest::newRow("różnica brutto, id 0") << "doc.getInvoiceCorrectTotalPrice(0)" << "0";
    QTest::newRow("część zapłacona") << "doc.getInvoicePartPrice(101)" << "25.5";
    QTest::newRow("część zapłacona z zaliczkami") << "doc.getInvoicePartTotalPrice(104)" << "80.25";
    QTest::newRow("część zapłacona bez zaliczek") << "doc.getInvoicePartTotalPrice(101)" << "25.5";
    QTest::newRow("część zapłacona, id 0") << "doc.getInvoicePartTotalPrice(0)" << "0";
    QTest::newRow("część zapłacona, brak dokumentu") << "doc.getInvoicePartTotalPrice(999)" << "0";
    QTest::newRow("zapłacono") << "doc.isTextPayed(101)" << "true";
    QTest::newRow("nie zapłacono") << "doc.isTextPayed(107)" << "false";
    QTest::newRow("zapłacono, brak dokumentu") << "doc.isTextPayed(999)" << "false";
    QTest::newRow("sprzedawca dokumentu") << "doc.getInvoiceSellerBase(102)" << "8";
    QTest::newRow("sprzedawca duplikatu z oryginału") << "doc.getInvoiceSellerBase(103)" << "7";
    QTest::newRow("sprzedawca, id 0") << "doc.getInvoiceSellerBase(0)" << "0";
    QTest::newRow("data części zapłaty") << "doc.getInvoicePartDate(101)" << "05 marca 2014";
    QTest::newRow("data części zapłaty, NULL") << "doc.getInvoicePartDate(107)" << "";
    QTest::newRow("data części zapłaty, id 0") << "doc.getInvoicePartDate(0)" << "";
    QTest::newRow("data całej zapłaty") << "doc.getInvoicePayedAllDate(101)" << "31 grudnia 2014";
    QTest::newRow("data całej zapłaty, NULL") << "doc.getInvoicePayedAllDate(102)" << "";
}

void TestDocTemplateData::lookUps()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    QCOMPARE(evaluate(expression), expected);
}

void TestDocTemplateData::invoiceTypesOfEveryKind_data()
{
    QTest::addColumn<int>("idInvoice");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("type2");
    QTest::addColumn<QString>("type3");

    const QString correct = QStringLiteral("CORRECT");
    const QString duplicate = QStringLiteral("DUPLICATE");
    const QString correctDuplicate = QStringLiteral("CORRECT_DUPLICATE");
    const QString invoice = QStringLiteral("INVOICE");
    const QString bill = QStringLiteral("BILL");
    const struct
    {
        int kind;
        QString type;
        QString type2;
        QString type3;
    } kinds[] = {
        {0, "", invoice, ""},
        {1, "", invoice, ""},
        {2, correct, invoice, ""},
        {3, "", invoice, ""},
        {4, correct, invoice, ""},
        {5, duplicate, invoice, ""},
        {6, correctDuplicate, invoice, ""},
        {7, duplicate, invoice, ""},
        {8, correctDuplicate, invoice, ""},
        {9, "", bill, ""},
        {10, duplicate, bill, ""},
        {11, "", invoice, "INVOICE_RR"},
        {12, correct, invoice, "INVOICE_RR"},
        {13, duplicate, invoice, "INVOICE_RR"},
        {14, correctDuplicate, invoice, "INVOICE_RR"},
        {15, "", invoice, "INVOICE_OO"},
        {16, correct, invoice, "INVOICE_OO"},
        {17, duplicate, invoice, "INVOICE_OO"},
        {18, correctDuplicate, invoice, "INVOICE_OO"},
        {19, "", invoice, "INVOICE_PRE"},
        {20, correct, invoice, "INVOICE_PRE"},
        {21, duplicate, invoice, "INVOICE_PRE"},
        {22, correctDuplicate, invoice, "INVOICE_PRE"},
        {23, "", invoice, "INVOICE_FINAL"},
        {24, correct, invoice, "INVOICE_FINAL"},
        {25, duplicate, invoice, "INVOICE_FINAL"},
        {26, correctDuplicate, invoice, "INVOICE_FINAL"},
        {27, "", invoice, "INVOICE_PROFIT"},
        {28, correct, invoice, "INVOICE_PROFIT"},
        {29, duplicate, invoice, "INVOICE_PROFIT"},
        {30, correctDuplicate, invoice, "INVOICE_PROFIT"},
    };
    for (const auto& kind : kinds)
        QTest::addRow("rodzaj %d", kind.kind) << firstKindId + kind.kind << kind.type << kind.type2 << kind.type3;
    QTest::newRow("brak dokumentu") << 999 << "" << "" << "";
    QTest::newRow("id 0") << 0 << "" << "" << "";
}

void TestDocTemplateData::invoiceTypesOfEveryKind()
{
    QFETCH(int, idInvoice);
    QFETCH(QString, type);
    QFETCH(QString, type2);
    QFETCH(QString, type3);

    const QString id = QString::number(idInvoice);
    QCOMPARE(evaluate("doc.getInvoiceType(" + id + ")"), type);
    QCOMPARE(evaluate("doc.getInvoiceType2(" + id + ")"), type2);
    QCOMPARE(evaluate("doc.getInvoiceType3(" + id + ")"), type3);
}

void TestDocTemplateData::kindNames_data()
{
    QTest::addColumn<int>("idInvoice");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("RR przed 2013") << 301 << "FAKTURA VAT RR" << "";
    QTest::newRow("RR od 2013") << 302 << "FAKTURA RR" << "";
    QTest::newRow("duplikat z 2014") << 303 << "FAKTURA VAT" << "";
    QTest::newRow("odwrotne obciążenie") << 304 << "FAKTURA" << "odwrotne obciążenie";
    QTest::newRow("korekta od 2013") << 305 << "KOREKTA" << "";
    QTest::newRow("proforma") << 306 << "PROFORMA" << "";
    QTest::newRow("duplikat rachunku") << 307 << "RACHUNEK" << "";
    QTest::newRow("marża przed 2013") << 308 << "FAKTURA VAT MARŻA" << "";
    QTest::newRow("korekta metodą kasową") << 309 << "KOREKTA" << "metoda kasowa";
    QTest::newRow("brak dokumentu") << 999 << "" << "";
    QTest::newRow("id 0") << 0 << "" << "";
}

void TestDocTemplateData::kindNames()
{
    QFETCH(int, idInvoice);
    QFETCH(QString, header);
    QFETCH(QString, suffix);

    const QString id = QString::number(idInvoice);
    QCOMPARE(evaluate("doc.getInvoiceKindName(" + id + ").length"), QStringLiteral("2"));
    QCOMPARE(evaluate("doc.getInvoiceKindName(" + id + ")[0]"), header);
    QCOMPARE(evaluate("doc.getInvoiceKindName(" + id + ")[1]"), suffix);
}

void TestDocTemplateData::texts_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");

    QTest::newRow("kwota ujemna") << "doc.moneyFormat(-0.5)" << "-0,50";
    QTest::newRow("kwota z grupami") << "doc.moneyFormat(1234567.891, 2)" << "1 234 567,89";
    QTest::newRow("tysiąc ze zwykłą spacją") << "doc.moneyFormat(1000)" << "1 000,00";
    QTest::newRow("kwota, 3 miejsca") << "doc.moneyFormat(2.5, 3)" << "2,500";
    QTest::newRow("kwota bez zer") << "doc.amountFormat(12.50, 2)" << "12,5";
    QTest::newRow("kwota całkowita") << "doc.amountFormat(3, 4)" << "3";
    QTest::newRow("kwota z częścią") << "doc.amountFormat(2.25, 4)" << "2,25";
    QTest::newRow("liczba") << "doc.numberFormat(1.5)" << "1,500000";
    QTest::newRow("liczba z grupami") << "doc.numberFormat(12345)" << "12 345,000000";
    QTest::newRow("dni w styczniu") << "doc.countDaysFromStrings('2014-01-01', '2014-01-31')" << "30";
    QTest::newRow("dni wstecz") << "doc.countDaysFromStrings('2014-03-01', '2014-02-01')" << "-28";
    QTest::newRow("dni bez pierwszej daty") << "doc.countDaysFromStrings('', '2014-01-31')" << "0";
    QTest::newRow("dni z datą błędną") << "doc.countDaysFromStrings('2014-01-01', '2014-02-30')" << "0";
    QTest::newRow("rozmiar listy") << "doc.getListSize([1, 'a', null])" << "3";
    QTest::newRow("opis kopii") << "doc.setDocView(2), doc.getDocViewName()" << "KOPIA";
    QTest::newRow("opis widoku 3") << "doc.setDocView(3), doc.getDocViewName()" << "";
    QTest::newRow("miesiąc w dopełniaczu") << "doc.getMonthName('05', true)" << "maja";
    QTest::newRow("miesiąc w mianowniku") << "doc.getMonthName('5')" << "maj";
    QTest::newRow("opcja") << "doc.getOption('TRANSLATE_HEADER_INVOICE_20130101')" << "Faktura";
    QTest::newRow("opcja nieznana") << "doc.getOption('NIE_MA_TAKIEJ')" << "";
    QTest::newRow("stopka") << "doc.getPrintFooter()"
                            << "Wydruk z programu morva FAKTURY " + MProgramVersion::versionText() + ".";
}

void TestDocTemplateData::texts()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    QCOMPARE(evaluate(expression), expected);
}

void TestDocTemplateData::sqlQueryIsFlatRowMajor()
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    const QVariantList values = docTemplate.getSqlQuery(
        QStringLiteral("SELECT id, contract_text, date_payed_part FROM invoice WHERE id IN (101, 107) ORDER BY id"));

    QCOMPARE(values.size(), 6);
    QCOMPARE(values.at(0).toInt(), 101);
    QCOMPARE(values.at(1).toString(), QStringLiteral("Umowa 7/2014"));
    QCOMPARE(values.at(2).toString(), QStringLiteral("2014-03-05"));
    QCOMPARE(values.at(3).toInt(), 107);
    QCOMPARE(values.at(4).toString(), QString());
    QVERIFY(!values.at(4).isNull());
    QVERIFY(values.at(5).isNull());

    // A template reads the same cells by index.
    QCOMPARE(evaluate(QStringLiteral("var v = doc.getSqlQuery('SELECT id, invoice_kind FROM invoice "
                                     "WHERE id IN (101, 102) ORDER BY id'); v[0] + '/' + v[1] + '/' + v[2] + '/' + v[3]")),
             QStringLiteral("101/0/102/2"));
}

void TestDocTemplateData::sqlQueryWithoutRowsIsEmpty_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("brak wierszy") << "SELECT id FROM invoice WHERE id = 999";
    QTest::newRow("błędne zapytanie") << "SELECT nie_ma FROM nie_ma_tabeli";
    QTest::newRow("pusty tekst") << "";
}

void TestDocTemplateData::sqlQueryWithoutRowsIsEmpty()
{
    QFETCH(QString, sql);
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    QVERIFY(docTemplate.getSqlQuery(sql).isEmpty());
}

INVOICE_TEST_MAIN(TestDocTemplateData)
#include "tst_doctemplatedata.moc"
