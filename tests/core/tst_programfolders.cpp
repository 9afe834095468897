#include "MFreshHome.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "data/MProgramPaths.h"

#include <QApplication>
#include <QDate>
#include <QSettings>
#include <QtTest>

class TestProgramFolders : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartMakesTheFoldersAndRemembersTheDataFolder();
    void chosenDataFolderIsUsedAsItIs();
    void missingChosenDataFolderIsNotMade();
    void previousInstallation_data();
    void previousInstallation();
    void noDatabaseNoBackup_data();
    void noDatabaseNoBackup();
    void emptyBackupIsNoBackup();
    void oneBackupADayNeverOverwritten();
    void upgradeBackupIsKeptOnce();
    void copiesOfKilledBackupsAreRemoved();
    void cleaningEmptiesTheTemporaryFoldersOnly();

private:
    QString home() const;
    static void writeFile(const QString& fileName, const QByteArray& content);
    static QByteArray readFile(const QString& fileName);
    void setChosenDataFolder(const QString& path);

    QScopedPointer<MFreshHome> m_home;
    QScopedPointer<QTemporaryDir> m_installation;
};

void TestProgramFolders::init()
{
    m_home.reset(new MFreshHome);
    m_installation.reset(new QTemporaryDir);
    QVERIFY(m_home->isValid() && m_installation->isValid());
}

QString TestProgramFolders::home() const
{
    return m_home->path();
}

void TestProgramFolders::writeFile(const QString& fileName, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(fileName).path());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray TestProgramFolders::readFile(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestProgramFolders::setChosenDataFolder(const QString& path)
{
    QSettings settings(home() + QStringLiteral("/.local/share/morva/varneli2/config/Invoice.ini"),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("database/path"), path);
}

void TestProgramFolders::firstStartMakesTheFoldersAndRemembersTheDataFolder()
{
    MAppWnd::initPaths(m_installation->path());

    const QString base = home() + QStringLiteral("/.local/share/morva/varneli2/");
    const QString documents = home() + QStringLiteral("/Documents/morva/varneli2/");
    QCOMPARE(MAppWnd::pathConfig, base);
    QCOMPARE(MAppWnd::pathTemp, base);
    QCOMPARE(MAppWnd::pathData, base);
    QCOMPARE(MAppWnd::pathDocuments, documents);
    for (const QString& folder : {QStringLiteral("config"), QStringLiteral("temp"), QStringLiteral("template"),
                                  QStringLiteral("template/logo"), QStringLiteral("data"),
                                  QStringLiteral("data/backup")})
        QVERIFY2(QDir(base + folder).exists(), qPrintable(folder));
    for (const QString& folder : {QStringLiteral("pdf"), QStringLiteral("export"), QStringLiteral("backup")})
        QVERIFY2(QDir(documents + folder).exists(), qPrintable(folder));

    QSettings settings(base + QStringLiteral("config/Invoice.ini"), QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("database/path")).toString(), base);
}

void TestProgramFolders::chosenDataFolderIsUsedAsItIs()
{
    const QString chosen = home() + QStringLiteral("/firma/");
    QVERIFY(QDir().mkpath(chosen));
    setChosenDataFolder(chosen);

    MAppWnd::initPaths(m_installation->path());

    QCOMPARE(MAppWnd::pathData, chosen);
    QVERIFY(QDir(chosen + QStringLiteral("data/backup")).exists());
    QVERIFY(!QDir(chosen + QStringLiteral("morva")).exists());
    QSettings settings(MAppWnd::pathConfig + QStringLiteral("config/Invoice.ini"), QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("database/path")).toString(), chosen);
}

void TestProgramFolders::missingChosenDataFolderIsNotMade()
{
    const QString chosen = home() + QStringLiteral("/pendrive/");
    setChosenDataFolder(chosen);

    MAppWnd::initPaths(m_installation->path());

    QCOMPARE(MAppWnd::pathData, chosen);
    QVERIFY(!QDir(chosen).exists());
}

void TestProgramFolders::previousInstallation_data()
{
    QTest::addColumn<QByteArray>("lastInstContent");
    QTest::addColumn<bool>("previousHasDatabase");
    QTest::addColumn<bool>("databasePresent");
    QTest::addColumn<QByteArray>("expectedDatabase");

    // "@" stands for the previous installation's folder written with backslashes.
    QTest::newRow("windows path with a line end is copied in") << QByteArray("@\r\nsecond line\r\n") << true
                                                               << false << QByteArray("previous");
    QTest::newRow("path with blanks around it is copied in") << QByteArray("   @   ") << true << false
                                                             << QByteArray("previous");
    QTest::newRow("present database is kept") << QByteArray("@\r\n") << true << true << QByteArray("current");
    QTest::newRow("installation without a database") << QByteArray("@\r\n") << false << false << QByteArray();
    QTest::newRow("empty file") << QByteArray() << true << false << QByteArray();
    QTest::newRow("no file") << QByteArray("none") << true << false << QByteArray();
}

void TestProgramFolders::previousInstallation()
{
    QFETCH(QByteArray, lastInstContent);
    QFETCH(bool, previousHasDatabase);
    QFETCH(bool, databasePresent);
    QFETCH(QByteArray, expectedDatabase);

    const QString previous = home() + QStringLiteral("/stara instalacja");
    QDir().mkpath(previous + QStringLiteral("/data"));
    if (previousHasDatabase)
        writeFile(previous + QStringLiteral("/data/Invoice.db3"), "previous");
    const QString dbFile = home() + QStringLiteral("/.local/share/morva/varneli2/data/Invoice.db3");
    if (databasePresent)
        writeFile(dbFile, "current");
    if (lastInstContent != "none") {
        QByteArray content = lastInstContent;
        content.replace('@', QFile::encodeName(previous).replace('/', '\\'));
        writeFile(m_installation->filePath(QStringLiteral("last_inst.conf")), content);
    }

    MAppWnd::initPaths(m_installation->path());

    QCOMPARE(readFile(dbFile), expectedDatabase);
    QCOMPARE(QFile::exists(dbFile), !expectedDatabase.isEmpty());
}

void TestProgramFolders::noDatabaseNoBackup_data()
{
    QTest::addColumn<bool>("emptyFile");

    QTest::newRow("no file") << false;
    QTest::newRow("empty file, as a new connection leaves it") << true;
}

void TestProgramFolders::noDatabaseNoBackup()
{
    QFETCH(bool, emptyFile);

    MAppWnd::initPaths(m_installation->path());
    MAppWnd::pathDbFile = MAppWnd::pathData + QStringLiteral("data/Invoice.db3");
    if (emptyFile)
        writeFile(MAppWnd::pathDbFile, QByteArray());

    MAppWnd::backupDb(QString());
    MAppWnd::backupDb(QStringLiteral("v00"));

    QVERIFY(QDir(MAppWnd::pathData + QStringLiteral("data/backup")).isEmpty());
}

void TestProgramFolders::oneBackupADayNeverOverwritten()
{
    MAppWnd::initPaths(m_installation->path());
    MAppWnd::pathDbFile = MAppWnd::pathData + QStringLiteral("data/Invoice.db3");
    const QString backup = MAppWnd::pathData + QStringLiteral("data/backup/Invoice_")
                           + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".db3");

    writeFile(MAppWnd::pathDbFile, "morning");
    MAppWnd::backupDb(QString());
    writeFile(MAppWnd::pathDbFile, "evening");
    MAppWnd::backupDb(QString());

    QCOMPARE(readFile(backup), QByteArray("morning"));
    QCOMPARE(QDir(MAppWnd::pathData + QStringLiteral("data/backup")).count(), 3u); // ".", ".." and the copy
}

void TestProgramFolders::emptyBackupIsNoBackup()
{
    // An empty dated file, left by a start that copied a database not made
    // yet, must not stand for the day's copy.
    MAppWnd::initPaths(m_installation->path());
    MAppWnd::pathDbFile = MAppWnd::pathData + QStringLiteral("data/Invoice.db3");
    const QString backup = MAppWnd::pathData + QStringLiteral("data/backup/Invoice_")
                           + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".db3");
    writeFile(backup, QByteArray());
    QVERIFY(MProgramPaths::dailyBackupDue());

    writeFile(MAppWnd::pathDbFile, "data");
    MAppWnd::backupDb(QString());

    QCOMPARE(readFile(backup), QByteArray("data"));
    QVERIFY(!MProgramPaths::dailyBackupDue());
}

// What a backup killed while copying leaves: the copy under its temporary
// name, beside its journal. The next backup removes it, nothing else.
void TestProgramFolders::copiesOfKilledBackupsAreRemoved()
{
    MAppWnd::initPaths(m_installation->path());
    MAppWnd::pathDbFile = MAppWnd::pathData + QStringLiteral("data/Invoice.db3");
    const QString folder = MAppWnd::pathData + QStringLiteral("data/backup/");
    const QByteArray database = QByteArray("SQLite format 3", 16) + QByteArray(4080, 'x');
    const QString killed = QStringLiteral("Invoice_v250.db3.k8Qz0a.tmp");
    writeFile(folder + killed, database.left(2048));
    writeFile(folder + killed + QStringLiteral("-journal"), QByteArray(512, '\xd9'));
    writeFile(folder + QStringLiteral("Invoice_20200101.db3.Pq2Lm9.tmp"), QByteArray());
    // Not the program's: a text under a like name, and a plain old backup.
    writeFile(folder + QStringLiteral("notatki.Ab12Cd.tmp"), "moje notatki");
    writeFile(folder + QStringLiteral("Invoice_20200102.db3"), database);

    writeFile(MAppWnd::pathDbFile, database);
    MAppWnd::backupDb(QStringLiteral("v250"));

    const QString today = QStringLiteral("Invoice_") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))
                          + QStringLiteral(".db3");
    QStringList expected {QStringLiteral("Invoice_20200102.db3"), QStringLiteral("Invoice_v250.db3"),
                          QStringLiteral("notatki.Ab12Cd.tmp"), today};
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(readFile(folder + today), database);
    QCOMPARE(readFile(folder + QStringLiteral("Invoice_v250.db3")), database);
    QCOMPARE(QFile(folder + today).permissions(), QFile(MAppWnd::pathDbFile).permissions());
}

void TestProgramFolders::upgradeBackupIsKeptOnce()
{
    MAppWnd::initPaths(m_installation->path());
    MAppWnd::pathDbFile = MAppWnd::pathData + QStringLiteral("data/Invoice.db3");
    const QString backupFolder = MAppWnd::pathData + QStringLiteral("data/backup/");

    writeFile(MAppWnd::pathDbFile, "2.50");
    MAppWnd::backupDb(QStringLiteral("v250"));
    writeFile(MAppWnd::pathDbFile, "2.50 again");
    MAppWnd::backupDb(QStringLiteral("v250"));

    QCOMPARE(readFile(backupFolder + QStringLiteral("Invoice_v250.db3")), QByteArray("2.50"));
    QCOMPARE(readFile(backupFolder + QStringLiteral("Invoice_")
                      + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".db3")),
             QByteArray("2.50"));
}

void TestProgramFolders::cleaningEmptiesTheTemporaryFoldersOnly()
{
    MAppWnd::initPaths(m_installation->path());
    const QString temp = MAppWnd::pathTemp;
    const QStringList files = {
        QStringLiteral("temp/faktura.pdf"),
        QStringLiteral("temp/import_1xx/mirvole.exe"),
        QStringLiteral("temp/import_1xx/data/Buyer.dat"),
        QStringLiteral("template/logo/seller_1.png"),
    };
    for (const QString& file : files)
        writeFile(temp + file, "x");
    writeFile(temp + QStringLiteral("temp/.hidden"), "x");
    writeFile(temp + QStringLiteral("template/invoice.js"), "x");
    writeFile(MAppWnd::pathData + QStringLiteral("data/Invoice.db3"), "x");

    MAppWnd::doCleanDisk();

    for (const QString& file : files)
        QVERIFY2(!QFile::exists(temp + file), qPrintable(file));
    QVERIFY(QDir(temp + QStringLiteral("temp/import_1xx/data")).exists());
    QVERIFY(QDir(temp + QStringLiteral("template/logo")).exists());
    QVERIFY(QFile::exists(temp + QStringLiteral("temp/.hidden")));
    QVERIFY(QFile::exists(temp + QStringLiteral("template/invoice.js")));
    QVERIFY(QFile::exists(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
}

INVOICE_TEST_MAIN(TestProgramFolders)
#include "tst_programfolders.moc"
