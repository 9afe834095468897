#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MDefaultOptions.h"
#include "data/MOptions.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The defaults of the options store, as stored at the first start and kept
// (or restored) at later starts.
class TestDefaultOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void firstStartStoresEveryDefault_data();
    void firstStartStoresEveryDefault();
    void firstStartStoresNothingElse();
    void laterStartsKeepValues_data();
    void laterStartsKeepValues();
    void optionsSurviveRestart();
    void resetStoresOnlyDefaults();
    void printerMargins_data();
    void printerMargins();

private:
    void restart();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_documents;
};

void TestDefaultOptions::initTestCase()
{
    initInvoiceResources();
    m_dir = std::make_unique<QTemporaryDir>();
    m_documents = m_dir->path() + QStringLiteral("/Dokumenty/");
    for (const QString& folder : { QStringLiteral("pdf"), QStringLiteral("export"), QStringLiteral("backup") })
        QVERIFY(QDir().mkpath(m_documents + folder));
    QVERIFY(MTestDatabase::openNew(m_dir->filePath(QStringLiteral("Invoice.db3"))));
    MOptions::loadOptions();
    MDefaultOptions::store(m_documents);
}

void TestDefaultOptions::cleanupTestCase()
{
    MTestDatabase::close();
}

// Closes the database and opens it again with a freshly loaded cache, as the
// next start of the program does.
void TestDefaultOptions::restart()
{
    MTestDatabase::close();
    QVERIFY(MTestDatabase::open(m_dir->filePath(QStringLiteral("Invoice.db3"))));
    MOptions::loadOptions();
    MDefaultOptions::store(m_documents);
}

void TestDefaultOptions::firstStartStoresEveryDefault_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const char* const views[] = { "BUYER_DB_VIEW",       "CURRENCY_RATING_DB_VIEW", "ENDTEXT_DB_VIEW",
                                  "INVOICE_SELL_DB_VIEW", "INVOICE_BUY_DB_VIEW",    "PRODUCT_DB_VIEW",
                                  "SELLER_DB_VIEW" };
    for (const char* view : views) {
        const QString suffix = QLatin1String(view);
        for (const QString& prefix : { QStringLiteral("FILTER_SHOW_"), QStringLiteral("FILTER_SEARCH_COLUMN_"),
                                       QStringLiteral("SEARCH_SWITCH_") })
            QTest::addRow("%s", qPrintable(prefix + suffix)) << prefix + suffix << "1";
        QTest::addRow("COLUMN_SORT_%s", view) << QStringLiteral("COLUMN_SORT_") + suffix << "0;0";
        if (suffix != QLatin1String("ENDTEXT_DB_VIEW"))
            QTest::addRow("FILTER_TREE_SWITCH_%s", view) << QStringLiteral("FILTER_TREE_SWITCH_") + suffix << "1";
    }

    const QList<QPair<QString, QString>> singles {
        { "FILTER_SHOW_INVOICE_REGISTER_VIEW", "1" },
        { "CATALOG_SWITCH_BUYER_DB_VIEW", "1" },
        { "CATALOG_SWITCH_PRODUCT_DB_VIEW", "1" },
        { "PRINTER_MARGINS", "5;5;5;5" },
        { "ENVELOPE_WINDOW_MARGINS", "115;55;25;45" },
        { "FIT_TO_ENVELOPE_WINDOW_RIGHT", "0" },
        { "FIT_TO_ENVELOPE_WINDOW_RIGHT_PREVIEW", "1" },
        { "FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF", "1" },
        { "FIT_TO_ENVELOPE_WINDOW_RIGHT_PRINT", "0" },
        { "SHOW_REDUCT_COLUMNS", "2" },
        { "SHOW_REDUCT_COLUMN_NETTO_BRUTTO", "0" },
        { "SHOW_VAT_RATING_COLUMN", "0" },
        { "SHOW_PRODUCT_CODE_COLUMN", "0" },
        { "SHOW_PRODUCT_SYMBOL_COLUMN", "0" },
        { "FIT_COLUMN_PKWIU_TO_TEXT", "0" },
        { "SHOW_TEXT_FROM_BRUTTO", "1" },
        { "SHOW_PRINT_FOOTER", "1" },
        { "SHOW_MONTH_STYLE", "1" },
        { "FONT_SIZE_DIFF", "2" },
        { "SHOW_VIEW_ORIGINAL_COPY", "1" },
        { "SHOW_LOGO", "1" },
        { "PRINT_ORIENTATION_DOCUMENT", "0" },
        { "SHOW_QR_CODE__PAY_MOBILE", "0" },
        { "SELLER_SHOW_PERSON_ON_DOCUMENT", "1" },
        { "SELLER_SHOW_PERSON_ON_DOCUMENT_PRINT", "1" },
        { "SELLER_SHOW_PERSON_DOCUMENT_DATE", "1" },
        { "BUYER_SHOW_PERSON_DOCUMENT_DATE", "1" },
        { "SELLER_SHOW_FIELD_NIP", "1" },
        { "SELLER_SHOW_FIELD_REGON", "1" },
        { "SELLER_SHOW_FIELD_BANK", "1" },
        { "SELLER_SHOW_FIELD_BANK_ACCOUNT", "1" },
        { "SELLER_SHOW_FIELD_PROVINCE", "0" },
        { "SELLER_SHOW_FIELD_COUNTRY", "0" },
        { "SELLER_SHOW_FIELD_PHONE", "1" },
        { "SELLER_SHOW_FIELD_FAX", "1" },
        { "SELLER_SHOW_FIELD_EMAIL", "1" },
        { "SELLER_SHOW_FIELD_WWW", "1" },
        { "BUYER_SHOW_FIELD_NIP", "1" },
        { "BUYER_SHOW_FIELD_REGON", "0" },
        { "BUYER_SHOW_FIELD_BANK", "0" },
        { "BUYER_SHOW_FIELD_BANK_ACCOUNT", "0" },
        { "BUYER_SHOW_FIELD_PROVINCE", "0" },
        { "BUYER_SHOW_FIELD_COUNTRY", "0" },
        { "BUYER_SHOW_FIELD_PHONE", "0" },
        { "BUYER_SHOW_FIELD_FAX", "0" },
        { "BUYER_SHOW_FIELD_EMAIL", "0" },
        { "BUYER_SHOW_FIELD_WWW", "0" },
        { "TRANSLATE_DATE_SELL_20130101", "dostawy / wykonania usługi" },
        { "TRANSLATE_HEADER_INVOICE_20130101", "FAKTURA VAT" },
        { "TRANSLATE_HEADER_INVOICE_CORRECT_20130101", "FAKTURA KORYGUJĄCA VAT" },
        { "TRANSLATE_HEADER_INVOICE_PROFORM_20130101", "FAKTURA PROFORMA" },
        { "TRANSLATE_PERMIT_PERSON_IN", "Osoba upoważniona do wystawienia [TYPU_DOKUMENTU]" },
        { "TRANSLATE_PERMIT_PERSON_OUT", "Osoba upoważniona do odebrania [TYPU_DOKUMENTU]" },
        { "ID_RECORD_DEFAULT_SELLER", "0" },
        { "ID_RECORD_DEFAULT_ENDTEXT", "0" },
        { "ID_DEFAULT_VAT", "0" },
        { "DEFAULT_PRICE_BASE", "0" },
        { "DEFAULT_PRICE_REDUCT", "0" },
        { "DEFAULT_SUMMARY_COUNT", "0" },
        { "PRINT_PDF_PATH", m_documents + "pdf" },
        { "EXPORT_CSV_PATH", m_documents + "export" },
        { "EXPORT_JPK_PATH", m_documents + "export" },
        { "BACKUP_SELF_PATH", m_documents + "backup" },
        { "ACTIVE_TABLE_CACHE", "1" },
        { "DRAG_AND_DROP", "0" },
        { "EMAIL_PRINT_FOOTER", "1" },
        { "SHOW_DO_YOU_KNOW", "1" },
        { "DO_YOU_KNOW_LAST_ID", "0" },
        { "DO_YOU_KNOW_SPEED", "60" },
        { "JPK_FA_SHOW", "1" },
        { "JPK_VAT_SHOW", "1" },
    };
    for (const auto& single : singles)
        QTest::addRow("%s", qPrintable(single.first)) << single.first << single.second;
}

void TestDefaultOptions::firstStartStoresEveryDefault()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(MTestDatabase::storedOption(key), value);
    QCOMPARE(MOptions::option(key), value);
}

void TestDefaultOptions::firstStartStoresNothingElse()
{
    // 103 defaulted keys and the two forced JPK flags; keys without a default stay absent.
    QCOMPARE(MTestDatabase::count(QStringLiteral("_options")), 105);
    for (const QString& key : { QStringLiteral("FILTER_TREE_SWITCH_ENDTEXT_DB_VIEW"),
                                QStringLiteral("MAIN_WINDOW_GEOMETRY"), QStringLiteral("EMAIL_SMTP_SERVER"),
                                QStringLiteral("COLUMN_SIZE_BUYER_DB_VIEW") })
        QCOMPARE(MTestDatabase::storedOption(key), QStringLiteral("<absent>"));
}

void TestDefaultOptions::laterStartsKeepValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");    // stored before the start
    QTest::addColumn<QString>("expected"); // after it
    const QString existing = m_dir->path();
    const QString missing = m_dir->path() + QStringLiteral("/usunięty");
    QTest::newRow("empty value gets its default") << "SHOW_DO_YOU_KNOW" << "" << "1";
    QTest::newRow("zero is kept") << "SHOW_DO_YOU_KNOW" << "0" << "0";
    QTest::newRow("any text is kept") << "DO_YOU_KNOW_SPEED" << "abc" << "abc";
    QTest::newRow("folder that exists is kept") << "PRINT_PDF_PATH" << existing << existing;
    QTest::newRow("deleted folder is reset") << "PRINT_PDF_PATH" << missing << m_documents + "pdf";
    QTest::newRow("JPK_FA switched off comes back") << "JPK_FA_SHOW" << "0" << "1";
    QTest::newRow("JPK_VAT empty comes back") << "JPK_VAT_SHOW" << "" << "1";
}

void TestDefaultOptions::laterStartsKeepValues()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    MOptions::setOption(key, value);
    restart();
    QCOMPARE(MTestDatabase::storedOption(key), expected);
    QCOMPARE(MOptions::option(key), expected);
}

void TestDefaultOptions::optionsSurviveRestart()
{
    MOptions::setOption(QStringLiteral("EMAIL_SENDER_NAME"), QStringLiteral("Zażółć Gęśla"));
    MOptions::setOption(QStringLiteral("PRINTER_MARGINS"), QStringLiteral("10;15;10;20"));
    const int rows = MTestDatabase::count(QStringLiteral("_options"));
    restart();
    QCOMPARE(MOptions::option(QStringLiteral("EMAIL_SENDER_NAME")), QStringLiteral("Zażółć Gęśla"));
    QCOMPARE(MOptions::option(QStringLiteral("PRINTER_MARGINS")), QStringLiteral("10;15;10;20"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("_options")), rows);
}

void TestDefaultOptions::resetStoresOnlyDefaults()
{
    MOptions::setOption(QStringLiteral("TAB_MAIN_OPENED"), QStringLiteral("MBuyerDbView"));
    MOptions::setOption(QStringLiteral("DRAG_AND_DROP"), QStringLiteral("1"));
    MDefaultOptions::reset(m_documents);
    QCOMPARE(MTestDatabase::count(QStringLiteral("_options")), 105);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")), QStringLiteral("<absent>"));
    QVERIFY(MOptions::option(QStringLiteral("TAB_MAIN_OPENED")).isEmpty());
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("DRAG_AND_DROP")), QStringLiteral("0"));
    QCOMPARE(MOptions::option(QStringLiteral("DRAG_AND_DROP")), QStringLiteral("0"));
}

void TestDefaultOptions::printerMargins_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<double>>("margins"); // left, top, right, bottom
    QTest::newRow("four numbers") << "10;15;10;20" << QVector<double> { 10, 15, 10, 20 };
    QTest::newRow("fractions") << "7.5;5;5;12.25" << QVector<double> { 7.5, 5, 5, 12.25 };
    QTest::newRow("not a number gives zero") << "10;abc;;20" << QVector<double> { 10, 0, 0, 20 };
    QTest::newRow("too few parts fall back to the default") << "10;15" << QVector<double> { 5, 5, 5, 5 };
    QTest::newRow("nothing stored") << "" << QVector<double> { 5, 5, 5, 5 };
}

void TestDefaultOptions::printerMargins()
{
    QFETCH(QString, text);
    QFETCH(QVector<double>, margins);
    QCOMPARE(MDefaultOptions::printerMargins(text), margins);
}

INVOICE_TEST_MAIN(TestDefaultOptions)
#include "tst_defaultoptions.moc"
