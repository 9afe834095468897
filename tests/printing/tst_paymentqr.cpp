#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MPaymentQr.h"

#include <QApplication>
#include <QtTest>

// The payment text of a document's QR code and the reasons why a document gets none,
// on documents stored in a database made by the schema script.
class TestPaymentQr : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void checks_data();
    void checks();
    void relatedDocuments_data();
    void relatedDocuments();

private:
    MTestDatabase m_db;
};

namespace {

const QString validNip = QStringLiteral("526-025-02-74");
const QString validAccount = QStringLiteral("61 1090 1014 0000 0712 1981 2874");
const QString paymentOf123456 =
    QStringLiteral("5260250274|PL|61109010140000071219812874|000123456|Firma Testowa|FV 7/2024|||");

// A stored document with its seller snapshot: a bank-transfer invoice in PLN of 1 234,56
// numbered "FV 7/2024", whose seller would get a code; `seller` and `invoice` change columns.
int storeDocument(const QVariantMap& seller = {}, const QVariantMap& invoice = {})
{
    QVariantMap sellerRow{
        {QStringLiteral("firm"), QStringLiteral("Firma Testowa Spółka z o.o.")},
        {QStringLiteral("firm_short"), QStringLiteral("Firma Testowa")},
        {QStringLiteral("nip"), validNip},
        {QStringLiteral("bank_account"), validAccount},
        {QStringLiteral("invoice_index_format_text"), QStringLiteral("FV [nr]/[rrrr]")},
    };
    for (auto it = seller.begin(); it != seller.end(); ++it)
        sellerRow.insert(it.key(), it.value());

    QVariantMap invoiceRow{
        {QStringLiteral("id_seller"), MTestDatabase::insert(QStringLiteral("invoice_seller"), sellerRow)},
        {QStringLiteral("invoice_kind"), 0},
        {QStringLiteral("invoice_index"), 7},
        {QStringLiteral("global_brutto"), 1234.56},
        {QStringLiteral("id_pay_form"), 2},
        {QStringLiteral("id_currency"), 0},
        {QStringLiteral("payed"), 0},
        {QStringLiteral("date_put"), QStringLiteral("2024-01-15")},
    };
    for (auto it = invoice.begin(); it != invoice.end(); ++it)
        invoiceRow.insert(it.key(), it.value());
    return int(MTestDatabase::insert(QStringLiteral("invoice"), invoiceRow));
}

void join(int idInvoice, int idJoined)
{
    MTestDatabase::insert(QStringLiteral("invoice_join"),
                          {{QStringLiteral("id_invoice"), idInvoice}, {QStringLiteral("id_invoice_join"), idJoined}});
}

QString reasonOf(int idInvoice)
{
    QString reason;
    MPaymentQr::text(idInvoice, &reason);
    return reason;
}

}

void TestPaymentQr::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
}

void TestPaymentQr::init()
{
    for (const char* table : {"invoice", "invoice_seller", "invoice_join"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
}

void TestPaymentQr::checks_data()
{
    QTest::addColumn<QVariantMap>("seller");
    QTest::addColumn<QVariantMap>("invoice");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("text");

    const QString firm = QStringLiteral("firm");
    const QString firmShort = QStringLiteral("firm_short");
    const QString nip = QStringLiteral("nip");
    const QString account = QStringLiteral("bank_account");
    const QString pattern = QStringLiteral("invoice_index_format_text");
    const QString gross = QStringLiteral("global_brutto");
    const QString kind = QStringLiteral("invoice_kind");
    const QString payForm = QStringLiteral("id_pay_form");

    auto refused = [](const char* name, const QVariantMap& seller, const QVariantMap& invoice, const char* reason) {
        QTest::newRow(name) << seller << invoice << QString::fromUtf8(reason) << QString();
    };
    auto accepted = [](const char* name, const QVariantMap& seller, const QVariantMap& invoice, const QString& text) {
        QTest::newRow(name) << seller << invoice << QString() << text;
    };

    accepted("bank transfer in PLN", {}, {}, paymentOf123456);

    // One document per check, in the order they are made.
    refused("RR invoice", {}, {{kind, 11}}, "Jest to faktura RR.");
    refused("RR correction", {}, {{kind, 12}}, "Jest to faktura RR.");
    refused("1: name of 21 characters", {{firmShort, QStringLiteral("")}, {firm, QStringLiteral("Przedsiębiorstwo ABCD")}}, {},
            "Nazwa sprzedawcy ma więcej niż 20 znaków.");
    refused("2: tax number of 9 digits", {{nip, QStringLiteral("526-025-02-7")}}, {}, "NIP sprzedawcy nie ma 10 znaków");
    refused("3: account of 25 digits", {{account, QStringLiteral("6110901014000007121981287")}}, {},
            "Numer konta bankowego sprzedawcy (bez kodu kraju) nie ma 26 znaków.");
    refused("4: amount of 10 characters", {}, {{gross, 10000000.00}}, "Kwota brutto ma więcej niż 9 znaków.");
    refused("5: number of 35 characters", {{pattern, QStringLiteral("FAKTURA-VAT-SPRZEDAZ-ODDZIAL-[nr]/[rrrr]")}}, {},
            "Numer dokumentu ma więcej niż 32 znaki.");
    refused("6: amount zero", {}, {{gross, 0.0}}, "Kwota brutto nie jest dodatnia.");
    refused("6: amount negative", {}, {{gross, -12.5}}, "Kwota brutto nie jest dodatnia.");
    refused("7: currency other than PLN", {}, {{QStringLiteral("id_currency"), 1}}, "Dokument nie jest w walucie PLN.");
    refused("8: cash", {}, {{payForm, 1}}, "Wybrana forma płatności nie jest pusta lub nie jest przelewem.");
    refused("8: pay form 3", {}, {{payForm, 3}}, "Wybrana forma płatności nie jest pusta lub nie jest przelewem.");
    refused("9: paid", {}, {{QStringLiteral("payed"), 1}}, "Dokument ma tekst \"zapłacono\".");
    refused("10: account checksum", {{account, QStringLiteral("61 1090 1014 0000 0712 1981 2875")}}, {},
            "Numer konta bankowego sprzedawcy jest nieprawidłowy lub nie jest kontem polskim.");
    refused("11: tax number check digit", {{nip, QStringLiteral("5260250275")}}, {}, "NIP sprzedawcy jest nieprawidłowy.");
    refused("first failing check decides", {{nip, QStringLiteral("123")}}, {{gross, 0.0}, {payForm, 1}},
            "NIP sprzedawcy nie ma 10 znaków");

    accepted("account with blanks and PL", {{account, QStringLiteral("PL61 1090 1014 0000 0712 1981 2874")}}, {},
             paymentOf123456);
    accepted("no pay form", {}, {{payForm, 0}}, paymentOf123456);
    accepted("full name of 20 characters when the short one is empty",
             {{firmShort, QStringLiteral("")}, {firm, QStringLiteral("  Przedsiębiorstwo AB  ")}}, {},
             QStringLiteral("5260250274|PL|61109010140000071219812874|000123456|Przedsiębiorstwo AB|FV 7/2024|||"));
    accepted("number of 32 characters", {{pattern, QStringLiteral("FAKTURA-VAT-SPRZEDAZ-ODDZ-[nr]/[rrrr]")}}, {},
             QStringLiteral("5260250274|PL|61109010140000071219812874|000123456|Firma Testowa|"
                            "FAKTURA-VAT-SPRZEDAZ-ODDZ-7/2024|||"));
    accepted("largest amount of 9 characters", {}, {{gross, 9999999.99}},
             QStringLiteral("5260250274|PL|61109010140000071219812874|999999999|Firma Testowa|FV 7/2024|||"));
    accepted("half a grosz rounds up", {}, {{gross, 0.005}},
             QStringLiteral("5260250274|PL|61109010140000071219812874|000000001|Firma Testowa|FV 7/2024|||"));
}

void TestPaymentQr::checks()
{
    QFETCH(QVariantMap, seller);
    QFETCH(QVariantMap, invoice);
    QFETCH(QString, reason);
    QFETCH(QString, text);

    const int id = storeDocument(seller, invoice);
    QString given = QStringLiteral("<not set>");
    QCOMPARE(MPaymentQr::text(id, &given), text);
    QCOMPARE(given, reason);
}

void TestPaymentQr::relatedDocuments_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("text");

    QTest::newRow("duplicate: amount, number and seller of its invoice")
        << QStringLiteral("duplicate") << QString() << paymentOf123456;
    QTest::newRow("correction raising the total: the difference")
        << QStringLiteral("raising correction") << QString()
        << QStringLiteral("5260250274|PL|61109010140000071219812874|000023456|Firma Testowa|FV 8/2024|||");
    QTest::newRow("duplicate of a raising correction")
        << QStringLiteral("duplicate of correction") << QString()
        << QStringLiteral("5260250274|PL|61109010140000071219812874|000023456|Firma Testowa|FV 8/2024|||");
    QTest::newRow("correction lowering the total")
        << QStringLiteral("lowering correction") << QStringLiteral("Kwota brutto nie jest dodatnia.") << QString();
    QTest::newRow("final invoice: advance parts subtracted")
        << QStringLiteral("advances") << QString()
        << QStringLiteral("5260250274|PL|61109010140000071219812874|000090000|Firma Testowa|FV 7/2024|||");
    QTest::newRow("final invoice paid in full by advances")
        << QStringLiteral("paid by advances") << QStringLiteral("Kwota brutto nie jest dodatnia.") << QString();
    QTest::newRow("no such document: its empty seller fails the checks")
        << QStringLiteral("missing") << QStringLiteral("NIP sprzedawcy nie ma 10 znaków") << QString();
    QTest::newRow("duplicate without its invoice") << QStringLiteral("orphan duplicate") << QString() << QString();
}

void TestPaymentQr::relatedDocuments()
{
    QFETCH(QString, scenario);
    QFETCH(QString, reason);
    QFETCH(QString, text);

    const QString parent = QStringLiteral("id_parent_invoice");
    const QString gross = QStringLiteral("global_brutto");
    const QString part = QStringLiteral("brutto_part");
    const QString kind = QStringLiteral("invoice_kind");
    const QString index = QStringLiteral("invoice_index");
    const QVariantMap otherSeller{{QStringLiteral("firm_short"), QStringLiteral("Inna Firma")},
                                  {QStringLiteral("nip"), QStringLiteral("1234563218")},
                                  {QStringLiteral("invoice_index_format_text"), QStringLiteral("DUP/[nr]")}};

    int id = 0;
    if (scenario == QLatin1String("duplicate")) {
        const int invoice = storeDocument();
        id = storeDocument(otherSeller, {{kind, 5}, {parent, invoice}, {index, 9}, {gross, 1.0}});
    } else if (scenario == QLatin1String("raising correction") || scenario == QLatin1String("duplicate of correction")) {
        const int invoice = storeDocument({}, {{gross, 1000.0}});
        id = storeDocument({}, {{kind, 2}, {parent, invoice}, {index, 8}});
        if (scenario == QLatin1String("duplicate of correction"))
            id = storeDocument(otherSeller, {{kind, 6}, {parent, id}, {index, 9}, {gross, 5.0}});
    } else if (scenario == QLatin1String("lowering correction")) {
        const int invoice = storeDocument();
        id = storeDocument({}, {{kind, 2}, {parent, invoice}, {index, 8}, {gross, 1000.0}});
    } else if (scenario == QLatin1String("advances") || scenario == QLatin1String("paid by advances")) {
        const int first = storeDocument({}, {{kind, 19}, {index, 1}, {gross, 200.0}, {part, 200.0}});
        const int second = storeDocument({}, {{kind, 19}, {index, 2}, {gross, 34.56}, {part, 34.56}});
        const double own = scenario == QLatin1String("advances") ? 100.0 : 1000.0;
        id = storeDocument({}, {{kind, 23}, {part, own}});
        join(id, first);
        join(id, second);
    } else if (scenario == QLatin1String("orphan duplicate")) {
        id = storeDocument({}, {{kind, 5}});
    } else {
        id = 4711;
    }

    QCOMPARE(MPaymentQr::text(id), text);
    QCOMPARE(reasonOf(id), reason);
}

INVOICE_TEST_MAIN(TestPaymentQr)
#include "tst_paymentqr.moc"
