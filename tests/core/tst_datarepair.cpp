#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestReadLock.h"
#include "data/MDataRepair.h"
#include "data/MOptions.h"
#include "data/MSqlScriptRunner.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The data repair on databases made by the schema script: the steps that
// run on every repair on a current database, and the version-bound steps on
// databases left at the version before each of them and then upgraded.
class TestDataRepair : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void versionBoundSteps_data();
    void versionBoundSteps();
    void sellersOfKindOne();
    void patternTextsAndDocumentNumbers();
    void productVatNamesAndMissingPrices();
    void unitsAreCollectedOnce();
    void everySellerGetsOneDefaultBank();
    void amountsAreRecomputed();
    void secondRepairChangesNothing();
    void failedCommitKeepsNothing();

private:
    QString tempPath() const { return m_dir.path() + QStringLiteral("/"); }
    QString databasePath() const;
    static qint64 seller(const QVariantMap& values = {});
    static qint64 snapshot(int idKind, const QString& pattern, int idFormat = 0);
    static qint64 document(qint64 idSeller, int kind, int index = 1, const QString& number = QString(),
                           const QString& date = QStringLiteral("2024-03-05"));
    static MDataRepair::Result repair(int lastVersion, const QString& tempPath);

    QTemporaryDir m_dir;
};

namespace {

const QString buyerSizes = QStringLiteral("COLUMN_SIZE_BUYER_DB_VIEW");
const QString thirteenColumns = QStringLiteral("10;11;12;13;14;15;16;17;18;19;20;21;22");

} // namespace

QString TestDataRepair::databasePath() const
{
    return m_dir.filePath(QStringLiteral("%1-%2.db3")
                              .arg(QTest::currentTestFunction())
                              .arg(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'))));
}

void TestDataRepair::init()
{
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("template/logo"))));
    if (QTest::currentDataTag() == nullptr)
        QVERIFY(MTestDatabase::build(databasePath()));
}

void TestDataRepair::cleanup()
{
    MTestDatabase::close();
}

qint64 TestDataRepair::seller(const QVariantMap& values)
{
    QVariantMap row{{"firm", "Firma"}, {"bank", "Bank Polski"}, {"bank_account", "12 3456"}};
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        row.insert(it.key(), it.value());
    return MTestDatabase::insert(QStringLiteral("seller"), row);
}

qint64 TestDataRepair::snapshot(int idKind, const QString& pattern, int idFormat)
{
    return MTestDatabase::insert(QStringLiteral("invoice_seller"), {{"firm", "Firma"},
                                                                 {"id_kind", idKind},
                                                                 {"invoice_index_format_text", pattern.isNull() ? QStringLiteral("") : pattern},
                                                                 {"id_invoice_index_format", idFormat}});
}

qint64 TestDataRepair::document(qint64 idSeller, int kind, int index, const QString& number, const QString& date)
{
    return MTestDatabase::insert(QStringLiteral("invoice"), {{"id_seller", idSeller},
                                                          {"invoice_kind", kind},
                                                          {"invoice_index", index},
                                                          {"invoice_index_string", number.isNull() ? QStringLiteral("") : number},
                                                          {"date_put", date}});
}

MDataRepair::Result TestDataRepair::repair(int lastVersion, const QString& tempPath)
{
    const MDataRepair::Result result = MDataRepair::run(lastVersion, tempPath);
    if (!result.ok())
        qWarning("repair: %d failed, first: %s", result.failed, qPrintable(result.firstError));
    return result;
}

void TestDataRepair::versionBoundSteps_data()
{
    QTest::addColumn<int>("from");        // 0: a new database, repaired with 0
    QTest::addColumn<bool>("logoStored"); // seller logo file moved into the database
    QTest::addColumn<bool>("md5Cleared"); // snapshot fingerprints cleared with the bank move
    QTest::addColumn<QString>("sizes");   // of the buyer list
    QTest::addColumn<QString>("storedFontSizeDiff"); // "": absent
    QTest::addColumn<QString>("fontSizeDiff");

    const QString both = QStringLiteral("10;12;13;14;15;16;17;18;19;20;21;100;22");
    const QString inserted = QStringLiteral("10;11;12;13;14;15;16;17;18;19;20;100;21;22");
    QTest::newRow("new database") << 0 << false << false << thirteenColumns << "0" << "0";
    QTest::newRow("2.07") << 2007 << true << true << both << "0" << "2";
    QTest::newRow("2.10") << 2010 << false << true << both << "0" << "2";
    QTest::newRow("2.11") << 2011 << false << true << both << "0" << "2";
    QTest::newRow("2.12") << 2012 << false << false << both << "0" << "2";
    QTest::newRow("2.14") << 2014 << false << false << both << "0" << "2";
    QTest::newRow("2.15") << 2015 << false << false << inserted << "0" << "2";
    QTest::newRow("2.47") << 2047 << false << false << inserted << "0" << "2";
    QTest::newRow("2.48") << 2048 << false << false << inserted << "0" << "0";
    QTest::newRow("2.50") << 2050 << false << false << inserted << "0" << "0";
    QTest::newRow("2.51") << 2051 << false << false << thirteenColumns << "0" << "0";
    QTest::newRow("2.47 without a stored font size") << 2047 << false << false << inserted << "" << "";
}

void TestDataRepair::versionBoundSteps()
{
    QFETCH(int, from);
    QFETCH(bool, logoStored);
    QFETCH(bool, md5Cleared);
    QFETCH(QString, sizes);
    QFETCH(QString, storedFontSizeDiff);
    QFETCH(QString, fontSizeDiff);

    // The state an older program left behind: its tables, its data, its options.
    QVERIFY(MTestDatabase::build(databasePath(), from));
    const qint64 idSeller = seller();
    MTestDatabase::insert(QStringLiteral("invoice_seller"), {{"firm", "Firma"}, {"id_md5", "0123abcd"}});
    MTestDatabase::insert(QStringLiteral("_options"), {{"id", buyerSizes}, {"content", thirteenColumns}});
    if (!storedFontSizeDiff.isEmpty())
        MTestDatabase::insert(QStringLiteral("_options"), {{"id", "FONT_SIZE_DIFF"}, {"content", storedFontSizeDiff}});
    QImage logo(30, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    const QString logoPath = m_dir.filePath(QStringLiteral("template/logo/seller_%1.png").arg(idSeller));
    QVERIFY(logo.save(logoPath));
    if (from > 0) {
        const MSqlScriptRunner::Result upgraded = MTestDatabase::upgrade();
        QVERIFY2(upgraded.ok(), qPrintable(upgraded.firstError));
    }

    const MDataRepair::Result result = repair(from, tempPath());
    QVERIFY2(result.ok(), qPrintable(result.firstError));

    QFile logoFile(logoPath);
    QVERIFY(logoFile.open(QIODevice::ReadOnly));
    const QStringList logos = MTestDatabase::rows(QStringLiteral("SELECT id_seller, zoom, width, height FROM seller_logo"));
    QCOMPARE(logos, logoStored ? QStringList{QStringLiteral("%1|1|30|20").arg(idSeller)} : QStringList());
    if (logoStored)
        QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT data FROM seller_logo")).toByteArray(), logoFile.readAll());

    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id_md5 FROM invoice_seller")).toString(),
             md5Cleared ? QString() : QStringLiteral("0123abcd"));
    // Moved from the seller row by the bank step, or made by the default bank step: one either way.
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_seller, bank, bank_account, is_default FROM seller_bank")),
             QStringList{QStringLiteral("%1|Bank Polski|12 3456|1").arg(idSeller)});

    QCOMPARE(MOptions::option(buyerSizes), sizes);
    QCOMPARE(MOptions::option(QStringLiteral("FONT_SIZE_DIFF")), fontSizeDiff);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT count(*) FROM _options WHERE id = 'FONT_SIZE_DIFF'")).toInt(),
             fontSizeDiff.isEmpty() ? 0 : 1);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT content FROM _options WHERE id = '%1'").arg(buyerSizes))
                 .toString(),
             sizes);
}

void TestDataRepair::sellersOfKindOne()
{
    const qint64 kindOne = snapshot(1, QString());
    const qint64 kindZero = snapshot(0, QString());
    const qint64 invoice = document(kindOne, 0);
    const qint64 correction = document(kindOne, 2);
    const qint64 bill = document(kindOne, 9);
    const qint64 otherSeller = document(kindZero, 0);

    QVERIFY(repair(0, tempPath()).ok());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id, invoice_kind FROM invoice ORDER BY id")),
             (QStringList{QStringLiteral("%1|3").arg(invoice), QStringLiteral("%1|4").arg(correction),
                          QStringLiteral("%1|9").arg(bill), QStringLiteral("%1|0").arg(otherSeller)}));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT count(*) FROM invoice_seller WHERE id_kind <> 0")).toInt(), 0);
}

void TestDataRepair::patternTextsAndDocumentNumbers()
{
    // Format 1 of the reference rows is "[nr]/[mm]/[rrrr]".
    seller({{"id_invoice_index_format", 1}, {"invoice_index_format_text", ""}});
    seller({{"id_invoice_index_format", 77}, {"invoice_index_format_text", ""}});
    seller({{"id_invoice_index_format", 1}, {"invoice_index_format_text", "F/[nr]"}});
    const qint64 monthly = snapshot(0, QString(), 1);
    const qint64 yearly = snapshot(0, QStringLiteral("[nr]/[rrrr]"));
    const qint64 quoted = snapshot(0, QStringLiteral("O'[nr]/[mm]"), 2);
    document(monthly, 0, 7, QStringLiteral("stary"));
    document(yearly, 0, 5, QString());
    document(yearly, 0, 6, QStringLiteral("zostaje"));
    document(quoted, 0, 3, QString(), QStringLiteral("2023-11-30"));
    document(9999, 0, 8, QString());

    QVERIFY(repair(0, tempPath()).ok());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT invoice_index_format_text FROM seller ORDER BY id")),
             (QStringList{"[nr]/[mm]/[rrrr]", "", "F/[nr]"}));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT invoice_index_format_text FROM invoice_seller ORDER BY id")),
             (QStringList{"[nr]/[mm]/[rrrr]", "[nr]/[rrrr]", "O'[nr]/[mm]"}));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT invoice_index_string FROM invoice ORDER BY id")),
             (QStringList{"7/03/2024", "5/2024", "zostaje", "O'3/11", ""}));
}

void TestDataRepair::productVatNamesAndMissingPrices()
{
    for (const QString& table : {QStringLiteral("product"), QStringLiteral("invoice_product")}) {
        MTestDatabase::insert(table, {{"netto_price", "100"}, {"brutto_price", "0"}, {"vat", 23}, {"count_from_netto", 1}});
        MTestDatabase::insert(table, {{"netto_price", "0"}, {"brutto_price", "10"}, {"vat", 8}, {"count_from_netto", 0}});
        MTestDatabase::insert(table, {{"netto_price", "5"}, {"brutto_price", "5"}, {"vat", 7}, {"vat_kind", 1},
                                   {"count_from_netto", 1}});
        MTestDatabase::insert(table, {{"netto_price", "5"}, {"brutto_price", "6.15"}, {"vat", 23},
                                   {"vat_text", "23% własna"}, {"count_from_netto", 1}});
    }

    QVERIFY(repair(0, tempPath()).ok());
    // No VAT row has rate 7 of kind 1: the name stays empty.
    const QStringList expected{"23%|100.00|123.00", "8%|9.26|10.00", "|5.00|5.35", "23% własna|5.00|6.15"};
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT vat_text, printf('%.2f', netto_price), "
                                             "printf('%.2f', brutto_price) FROM product ORDER BY id")),
             expected);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT vat_text, printf('%.2f', netto_price), "
                                             "printf('%.2f', brutto_price) FROM invoice_product ORDER BY id")),
             expected);
}

void TestDataRepair::unitsAreCollectedOnce()
{
    MTestDatabase::insert(QStringLiteral("product_unit"), {{"name", "kg"}});
    for (const QString& unit : QStringList{"szt.", "kg", "", "szt."})
        MTestDatabase::insert(QStringLiteral("product"), {{"unit", unit}, {"vat_text", "23%"}});
    for (const QString& unit : QStringList{"szt.", "m²"})
        MTestDatabase::insert(QStringLiteral("invoice_product"), {{"unit", unit}, {"vat_text", "23%"}});

    QVERIFY(repair(0, tempPath()).ok());
    QVERIFY(repair(0, tempPath()).ok());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT name FROM product_unit ORDER BY id")),
             (QStringList{"kg", "m²", "szt."}));
}

void TestDataRepair::everySellerGetsOneDefaultBank()
{
    const qint64 without = seller({{"bank", "Bank Śląski"}, {"bank_account", "PL 11"}});
    const qint64 with = seller();
    MTestDatabase::insert(QStringLiteral("seller_bank"), {{"id_seller", with}, {"bank", "inny"}, {"is_default", 0}});

    QVERIFY(repair(0, tempPath()).ok());
    QVERIFY(repair(0, tempPath()).ok());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_seller, bank, bank_account, is_default FROM seller_bank "
                                             "ORDER BY id")),
             (QStringList{QStringLiteral("%1|inny||0").arg(with), QStringLiteral("%1|Bank Śląski|PL 11|1").arg(without)}));
}

void TestDataRepair::amountsAreRecomputed()
{
    const qint64 idDocument = document(snapshot(0, QStringLiteral("[nr]")), 0);
    const qint64 idProduct = MTestDatabase::insert(
        QStringLiteral("invoice_product"),
        {{"netto_price", "10"}, {"vat", 23}, {"vat_text", "23%"}, {"count_from_netto", 1}});
    MTestDatabase::insert(QStringLiteral("invoice_product_misc"),
                       {{"id_invoice", idDocument}, {"id_product", idProduct}, {"amount", 3}, {"reduct", 5}});

    QVERIFY(repair(0, tempPath()).ok());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT printf('%.2f|%.2f|%.2f', global_netto, global_brutto, "
                                             "global_vat) FROM invoice")),
             QStringList{"28.50|35.06|6.56"});
}

void TestDataRepair::secondRepairChangesNothing()
{
    seller({{"id_invoice_index_format", 1}});
    const qint64 idDocument = document(snapshot(1, QString(), 1), 2, 4);
    const qint64 idProduct = MTestDatabase::insert(
        QStringLiteral("invoice_product"), {{"netto_price", "0"}, {"brutto_price", "9.99"}, {"vat", 8}, {"unit", "h"}});
    MTestDatabase::insert(QStringLiteral("invoice_product_misc"),
                       {{"id_invoice", idDocument}, {"id_product", idProduct}, {"amount", "1.5"}});
    MTestDatabase::insert(QStringLiteral("_options"), {{"id", buyerSizes}, {"content", thirteenColumns}});

    QVERIFY(repair(0, tempPath()).ok());
    // Summary rows are made anew on every repair: compared without their ids.
    const QStringList queries{
        "SELECT * FROM invoice", "SELECT * FROM invoice_seller", "SELECT * FROM seller", "SELECT * FROM seller_bank",
        "SELECT * FROM product_unit", "SELECT * FROM invoice_product", "SELECT * FROM invoice_product_misc",
        "SELECT id_invoice, id_vat, netto_price, brutto_price, vat_price, netto_rating_price, brutto_rating_price, "
        "vat_rating_price, netto_part_price, brutto_part_price, vat_part_price, netto_part_rating_price, "
        "brutto_part_rating_price, vat_part_rating_price FROM invoice_summary_vat",
        "SELECT * FROM _options"};
    QStringList first;
    for (const QString& query : queries)
        first << MTestDatabase::rows(query);

    QVERIFY(repair(0, tempPath()).ok());
    QStringList second;
    for (const QString& query : queries)
        second << MTestDatabase::rows(query);
    QCOMPARE(second, first);
    QCOMPARE(MOptions::option(buyerSizes), thirteenColumns);
}

void TestDataRepair::failedCommitKeepsNothing()
{
    MTestDatabase::insert(QStringLiteral("product"),
                          {{"netto_price", "100"}, {"brutto_price", "0"}, {"vat", 23}, {"count_from_netto", 1}});
    MTestDatabase::insert(QStringLiteral("_options"), {{"id", buyerSizes}, {"content", thirteenColumns}});

    // A reader on another connection makes the final commit fail at once.
    const QString dbPath = QSqlDatabase::database().databaseName();
    QVERIFY(MTestDatabase::connect(dbPath, QStringLiteral("QSQLITE_BUSY_TIMEOUT=0")));
    {
        MTestReadLock lock(QStringLiteral("product"));
        QVERIFY(lock.isHeld());

        const MDataRepair::Result result = MDataRepair::run(2014, tempPath());
        QVERIFY(!result.ok());
        QVERIFY2(!result.firstError.isEmpty(), "the failure carries the database's message");
        QVERIFY(lock.release());
    }

    // Nothing of the repair stays, in the database or in the options cache.
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT vat_text, printf('%.2f', brutto_price) FROM product")),
             QStringList{"|0.00"});
    QCOMPARE(MOptions::option(buyerSizes), thirteenColumns);
    QVERIFY2(QSqlQuery().exec(QStringLiteral("begin")), "no transaction is left open");
    QVERIFY(QSqlQuery().exec(QStringLiteral("rollback")));
}

INVOICE_TEST_MAIN(TestDataRepair)
#include "tst_datarepair.moc"
