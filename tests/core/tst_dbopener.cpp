#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MDbOpener.h"
#include "resources/MResources.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <unistd.h>

// Opening the database at start-up: refusing, upgrading and cleaning up.
class TestDbOpener : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newDatabaseReachesProgramVersion();
    void olderDatabaseIsBackedUpAndUpgraded();
    void missingCheckVersionUpgradesAgain();
    void newerDatabaseIsRefusedUntouched();
    void failedScriptKeepsOldVersion();
    void currentDatabaseIsOnlyCleanedUp();
    void fileIsCompactedWhenMuchIsFree();
    void sellerLogoFiles_data();
    void sellerLogoFiles();
    void unusableFileIsToldUntouched_data();
    void unusableFileIsToldUntouched();
    void unopenableFileIsReported();
    void closedConnectionIsNotReopened();

private:
    struct Calls
    {
        QStringList backups;
        QList<int> repairs;
        int cleanDisks = 0;
    };

    MDbOpener::Steps recordingSteps();
    MDbOpener::Outcome start();
    QString dbPath() const { return m_dir->filePath(QStringLiteral("Invoice.db3")); }
    QString pathTemp() const { return m_dir->path() + QLatin1Char('/'); }
    QByteArray fileHash() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    Calls m_calls;
};

void TestDbOpener::initTestCase()
{
    initInvoiceResources();
}

void TestDbOpener::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("template/logo")));
    m_calls = Calls();
    MMessageBox::takeShown();
}

void TestDbOpener::cleanup()
{
    MTestDatabase::close();
}

// The window's steps, recorded in m_calls instead of done.
MDbOpener::Steps TestDbOpener::recordingSteps()
{
    MDbOpener::Steps steps;
    steps.backupDb = [this](const QString& suffix) { m_calls.backups.append(suffix); };
    steps.repairDb = [this](int numLastDb) { m_calls.repairs.append(numLastDb); };
    steps.cleanDisk = [this] { ++m_calls.cleanDisks; };
    return steps;
}

// One start of the program: connection, then the opening, with the window's
// steps recorded.
MDbOpener::Outcome TestDbOpener::start()
{
    MTestDatabase::close();
    if (!MTestDatabase::open(dbPath()))
        return MDbOpener::Outcome::NoConnection;
    return MDbOpener(nullptr, pathTemp(), recordingSteps()).open();
}

QByteArray TestDbOpener::fileHash() const
{
    QFile file(dbPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

void TestDbOpener::newDatabaseReachesProgramVersion()
{
    QCOMPARE(start(), MDbOpener::Outcome::Opened);
    QCOMPARE(m_calls.backups, QStringList { QStringLiteral("v00") });
    QCOMPARE(m_calls.repairs, QList<int> { 0 });
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.53/2.53"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("financial_office_static")), 380);

    QCOMPARE(start(), MDbOpener::Outcome::Opened);
    QCOMPARE(m_calls.backups.size(), 1);
    QCOMPARE(m_calls.repairs.size(), 1);
    QCOMPARE(m_calls.cleanDisks, 2);
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.53/2.53"));
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestDbOpener::olderDatabaseIsBackedUpAndUpgraded()
{
    QVERIFY(MTestDatabase::create(dbPath(), 2050));
    QCOMPARE(start(), MDbOpener::Outcome::Opened);
    QCOMPARE(m_calls.backups, QStringList { QStringLiteral("v250") });
    QCOMPARE(m_calls.repairs, QList<int> { 2050 });
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.53/2.53"));
    // Block 2.51 ran although the database said 2.50 when the script started.
    QVERIFY(MTestDatabase::value(QStringLiteral("SELECT count(street) FROM invoice_seller")).isValid());
    QCOMPARE(MTestDatabase::count(QStringLiteral("financial_office_static")), 380);
}

void TestDbOpener::missingCheckVersionUpgradesAgain()
{
    QVERIFY(MTestDatabase::create(dbPath(), 2053));
    QVERIFY(MTestDatabase::open(dbPath()));
    QSqlQuery(QStringLiteral("UPDATE _version SET check_num_major = 0, check_num_minor = 0"));
    QCOMPARE(start(), MDbOpener::Outcome::Opened);
    QCOMPARE(m_calls.backups, QStringList { QStringLiteral("v253") });
    QCOMPARE(m_calls.repairs, QList<int> { 2053 });
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.53/2.53"));
}

void TestDbOpener::newerDatabaseIsRefusedUntouched()
{
    QVERIFY(MTestDatabase::create(dbPath(), 2060));
    QVERIFY(MTestDatabase::open(dbPath()));
    QSqlQuery(QStringLiteral("INSERT INTO __invoice_seller (id, firm, time_create, time_modify) "
                             "VALUES (0, 'Robocza', '', '')"));
    MTestDatabase::close();
    const QByteArray before = fileHash();

    QCOMPARE(start(), MDbOpener::Outcome::Newer);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QCOMPARE(shown.first().title, QStringLiteral("Błąd otwarcia bazy danych"));
    QCOMPARE(shown.first().text,
             QStringLiteral("Nie można otwierać bazy stworzonej przez program w późniejszej wersji.<br>"
                            "Baza danych została stworzona przez program w wersji 2.60.<br>"
                            "Program jest w wersji 2.53."));
    QVERIFY(m_calls.backups.isEmpty());
    QVERIFY(m_calls.repairs.isEmpty());
    QCOMPARE(m_calls.cleanDisks, 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_seller")), 1);
    MTestDatabase::close();
    QCOMPARE(fileHash(), before);
}

void TestDbOpener::failedScriptKeepsOldVersion()
{
    QVERIFY(MTestDatabase::create(dbPath(), 2050));
    // Block 2.51 fills the tax offices; a database on which that fails for
    // a reason other than a row already present.
    QVERIFY(MTestDatabase::open(dbPath()));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE financial_office_static (code VARCHAR(10), id_province "
                                      "INTEGER, name TEXT, zipcode TEXT, city TEXT, address TEXT)")));
    QVERIFY(query.exec(QStringLiteral("CREATE TRIGGER no_offices BEFORE INSERT ON financial_office_static "
                                      "BEGIN SELECT RAISE(ABORT, 'dysk tylko do odczytu'); END")));
    query.finish();

    QCOMPARE(start(), MDbOpener::Outcome::UpgradeFailed);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QCOMPARE(shown.first().title, QStringLiteral("Błąd aktualizacji bazy danych"));
    QVERIFY2(shown.first().text.contains(QStringLiteral("dysk tylko do odczytu")), qPrintable(shown.first().text));
    QVERIFY(shown.first().text.contains(QStringLiteral("Invoice_v250.db3")));
    QCOMPARE(m_calls.backups, QStringList { QStringLiteral("v250") });
    QVERIFY(m_calls.repairs.isEmpty());
    QCOMPARE(m_calls.cleanDisks, 0);
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.50/2.50"));

    // Once the cause is gone, the next start upgrades.
    QVERIFY(QSqlQuery().exec(QStringLiteral("DROP TRIGGER no_offices")));
    QCOMPARE(start(), MDbOpener::Outcome::Opened);
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.53/2.53"));
    QCOMPARE(m_calls.repairs, QList<int> { 2050 });
}

void TestDbOpener::currentDatabaseIsOnlyCleanedUp()
{
    QVERIFY(MTestDatabase::create(dbPath(), 2053));
    QVERIFY(MTestDatabase::open(dbPath()));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("INSERT INTO __invoice_seller (id, firm, time_create, time_modify) "
                                      "VALUES (0, 'Robocza', '', '')")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO __invoice_product_misc (id, amount) VALUES (0, 2)")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO __count_price (netto, vat) VALUES (10, 23)")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO __invoice_error (id, error_content) VALUES (1, 'x')")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO invoice_end_text (content, time_create, time_modify) "
                                      "VALUES ('Dziękujemy za zakupy', '', '')")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO invoice (id_end_text, date_put, date_sell, date_pay, "
                                      "time_create, time_modify) VALUES (last_insert_rowid(), '', '', '', '', '')")));
    query.finish();

    QCOMPARE(start(), MDbOpener::Outcome::Opened);
    QVERIFY(m_calls.backups.isEmpty());
    QVERIFY(m_calls.repairs.isEmpty());
    QCOMPARE(m_calls.cleanDisks, 1);
    for (const QString& table : { QStringLiteral("__invoice_seller"), QStringLiteral("__invoice_product_misc"),
                                  QStringLiteral("__count_price"), QStringLiteral("__invoice_error") })
        QCOMPARE(MTestDatabase::count(table), 0);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id_md5 FROM invoice_end_text")).toString(),
             QStringLiteral("6e5ec436d19e8680ff51ab395df945d4"));
}

void TestDbOpener::fileIsCompactedWhenMuchIsFree()
{
    QVERIFY(MTestDatabase::create(dbPath(), 2053));
    QVERIFY(MTestDatabase::open(dbPath()));
    const auto fill = [](const QString& table, int rows) {
        QSqlQuery query;
        return query.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                         "INSERT INTO %2 (content, time_create, time_modify) "
                                         "SELECT printf('%.1000c', 'x') || i, '', '' FROM n")
                              .arg(rows)
                              .arg(table));
    };
    const auto freePages = [] { return MTestDatabase::value(QStringLiteral("PRAGMA freelist_count")).toInt(); };
    QVERIFY(fill(QStringLiteral("invoice_end_text"), 2000));
    QVERIFY(QSqlQuery().exec(QStringLiteral("INSERT INTO __invoice_error (id, error_content) "
                                            "SELECT 1, content FROM invoice_end_text LIMIT 50")));

    // A few kilobytes of working rows in a database of megabytes: not worth rewriting the file.
    MDbOpener::cleanDb();
    QVERIFY(freePages() > 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_error")), 0);

    QVERIFY(QSqlQuery().exec(QStringLiteral("INSERT INTO __invoice_error (id, error_content) "
                                            "SELECT 1, content FROM invoice_end_text")));
    const qint64 before = MTestDatabase::value(QStringLiteral("PRAGMA page_count")).toLongLong();
    MDbOpener::cleanDb();
    QCOMPARE(freePages(), 0);
    QVERIFY(MTestDatabase::value(QStringLiteral("PRAGMA page_count")).toLongLong() < before * 2 / 3);
}

void TestDbOpener::sellerLogoFiles_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QSize>("preview");
    QTest::newRow("reduced by two") << 2 << QSize(150, 50);
    QTest::newRow("full size") << 1 << QSize(300, 100);
    QTest::newRow("zoom zero taken as one") << 0 << QSize(300, 100);
    QTest::newRow("zoom above the range taken as four") << 9 << QSize(75, 25);
}

void TestDbOpener::sellerLogoFiles()
{
    QFETCH(int, zoom);
    QFETCH(QSize, preview);

    QImage logo(300, 100, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(logo.save(&buffer, "PNG"));
    }

    QVERIFY(MTestDatabase::create(dbPath(), 2053));
    QVERIFY(MTestDatabase::open(dbPath()));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("INSERT INTO seller (id, firm, time_create, time_modify) "
                                      "VALUES (7, 'Z logo', '', ''), (8, 'Bez logo', '', '')")));
    QVERIFY(query.prepare(QStringLiteral("INSERT INTO seller_logo (id_seller, zoom, width, height, data) "
                                         "VALUES (7, :zoom, 300, 100, :data)")));
    query.bindValue(QStringLiteral(":zoom"), zoom);
    query.bindValue(QStringLiteral(":data"), png);
    QVERIFY(query.exec());
    query.finish();
    // A file left from an earlier start for a seller without a logo.
    QFile stale(pathTemp() + QStringLiteral("template/logo/seller_8.png"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();

    MTestDatabase::close();
    QVERIFY(MTestDatabase::open(dbPath()));
    MDbOpener::Steps steps;
    steps.cleanDisk = [this] {
        QDir logos(pathTemp() + QStringLiteral("template/logo"));
        for (const QString& name : logos.entryList(QDir::Files))
            logos.remove(name);
    };
    QCOMPARE(MDbOpener(nullptr, pathTemp(), steps).open(), MDbOpener::Outcome::Opened);

    QFile full(pathTemp() + QStringLiteral("template/logo/seller_7.png"));
    QVERIFY(full.open(QIODevice::ReadOnly));
    QCOMPARE(full.readAll(), png);
    const QImage previewImage(pathTemp() + QStringLiteral("template/logo/seller_preview_7.png"));
    QCOMPARE(previewImage.size(), preview);
    QVERIFY(!QFile::exists(pathTemp() + QStringLiteral("template/logo/seller_8.png")));
}

namespace {

enum class Damage
{
    VersionTooLarge,
    VersionNotANumber,
    CorruptPage,
    Truncated,
    GarbageHeader,
    UnknownWriteVersion,
    ReadOnlyFile,
    LockedByAnotherProcess,
};

// Overwrites `length` bytes of `path` at `offset`, keeping its size.
bool overwrite(const QString& path, qint64 offset, qint64 length)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(offset)
        && file.write(QByteArray(int(length), '\xAB')) == length;
}

} // namespace

Q_DECLARE_METATYPE(Damage)
Q_DECLARE_METATYPE(MDbOpener::Outcome)

void TestDbOpener::unusableFileIsToldUntouched_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<MDbOpener::Outcome>("outcome");
    QTest::addColumn<QString>("told");

    const QString damaged = QStringLiteral("jest uszkodzony");
    QTest::newRow("version 4294968.0") << Damage::VersionTooLarge << MDbOpener::Outcome::Unusable
                                       << QStringLiteral("num_major = &quot;4294968&quot; nie jest numerem wersji");
    QTest::newRow("version abc") << Damage::VersionNotANumber << MDbOpener::Outcome::Unusable
                                 << QStringLiteral("num_major = &quot;abc&quot; nie jest numerem wersji");
    QTest::newRow("garbage in a table page") << Damage::CorruptPage << MDbOpener::Outcome::Unusable << damaged;
    QTest::newRow("file cut in half") << Damage::Truncated << MDbOpener::Outcome::NoConnection << damaged;
    QTest::newRow("garbage header") << Damage::GarbageHeader << MDbOpener::Outcome::NoConnection << damaged;
    // SQLite opens such a file read-only, which is not what is wrong with it.
    QTest::newRow("flipped write version") << Damage::UnknownWriteVersion << MDbOpener::Outcome::Unusable << damaged;
    QTest::newRow("read-only file") << Damage::ReadOnlyFile << MDbOpener::Outcome::Unusable
                                    << QStringLiteral("jest tylko do odczytu");
    QTest::newRow("exclusive lock of another process")
        << Damage::LockedByAnotherProcess << MDbOpener::Outcome::NoConnection
        << QStringLiteral("jest używany przez inny program");
}

void TestDbOpener::unusableFileIsToldUntouched()
{
    QFETCH(Damage, damage);
    QFETCH(MDbOpener::Outcome, outcome);
    QFETCH(QString, told);

    // An old database with rows, so that an upgrade, a repair or a backup would show.
    QVERIFY(MTestDatabase::create(dbPath(), 2050));
    QVERIFY(MTestDatabase::open(dbPath()));
    for (int id = 1; id <= 200; ++id)
        MTestDatabase::insert(QStringLiteral("buyer"), {{"id", id}, {"firm", QStringLiteral("Firma %1").arg(id)}});
    if (damage == Damage::VersionTooLarge)
        QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE _version SET num_major = 4294968, num_minor = 0")));
    if (damage == Damage::VersionNotANumber)
        QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE _version SET num_major = 'abc'")));
    const qint64 pageSize = MTestDatabase::value(QStringLiteral("PRAGMA page_size")).toLongLong();
    const qint64 buyerPage = MTestDatabase::value(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'buyer'")).toLongLong();
    MTestDatabase::close();

    QFile file(dbPath());
    if (damage == Damage::CorruptPage)
        QVERIFY(overwrite(dbPath(), (buyerPage - 1) * pageSize, pageSize));
    if (damage == Damage::Truncated)
        QVERIFY(file.resize(file.size() / 2));
    if (damage == Damage::GarbageHeader)
        QVERIFY(overwrite(dbPath(), 0, 100));
    if (damage == Damage::UnknownWriteVersion)
        QVERIFY(overwrite(dbPath(), 18, 1));
    if (damage == Damage::ReadOnlyFile) {
        if (geteuid() == 0)
            QSKIP("root writes read-only files");
        QVERIFY(file.setPermissions(QFile::ReadOwner));
    }
    QProcess locker;
    if (damage == Damage::LockedByAnotherProcess) {
        locker.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import sqlite3, sys\n"
                                     "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                     "c.execute('PRAGMA locking_mode = EXCLUSIVE')\n"
                                     "c.execute('BEGIN EXCLUSIVE')\n"
                                     "print('held', flush=True)\n"
                                     "sys.stdin.read()\n"),
                      dbPath()});
        QVERIFY(locker.waitForReadyRead(10000));
        QCOMPARE(locker.readLine().trimmed(), QByteArray("held"));
    }
    const QByteArray before = fileHash();

    MDbOpener::Steps steps = recordingSteps();
    steps.dailyBackupDue = [] { return true; };
    MTestDatabase::close();
    const MDbOpener::Outcome opened = MTestDatabase::open(dbPath())
        ? MDbOpener(nullptr, pathTemp(), steps).open()
        : MDbOpener::Outcome::NoConnection;
    QCOMPARE(opened, outcome);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY2(shown.first().text.contains(told), qPrintable(shown.first().text));
    QVERIFY(m_calls.backups.isEmpty());
    QVERIFY(m_calls.repairs.isEmpty());
    QCOMPARE(m_calls.cleanDisks, 0);

    MTestDatabase::close();
    if (damage == Damage::LockedByAnotherProcess) {
        locker.closeWriteChannel();
        QVERIFY(locker.waitForFinished(10000));
    }
    QCOMPARE(fileHash(), before);
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

void TestDbOpener::unopenableFileIsReported()
{
    QVERIFY(!MTestDatabase::open(m_dir->filePath(QStringLiteral("no/such/folder/Invoice.db3"))));
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().title, QStringLiteral("Błąd połączenia z bazą danych"));
    QCOMPARE(shown.first().text, QStringLiteral("Nie można ustanowić połączenia z bazą danych."));
    QCOMPARE(MDbOpener(nullptr, pathTemp(), recordingSteps()).open(), MDbOpener::Outcome::NoConnection);
    QVERIFY(m_calls.backups.isEmpty());
}

void TestDbOpener::closedConnectionIsNotReopened()
{
    // The connection exists but was closed again, as when the Polish layer
    // could not be installed on it: the opening must not work on the file.
    QVERIFY(MTestDatabase::create(dbPath(), 2050));
    QVERIFY(MTestDatabase::open(dbPath()));
    QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).close();
    const QByteArray before = fileHash();

    QCOMPARE(MDbOpener(nullptr, pathTemp(), recordingSteps()).open(), MDbOpener::Outcome::NoConnection);
    QVERIFY(!QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).isOpen());
    QVERIFY(m_calls.backups.isEmpty());
    QCOMPARE(m_calls.cleanDisks, 0);
    QCOMPARE(fileHash(), before);
}

INVOICE_TEST_MAIN(TestDbOpener)
#include "tst_dbopener.moc"
