#include "MFreshHome.h"
#include "MTestEnvironment.h"
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
    MProgramPaths::initPaths(m_installation->path());

    const QString base = home() + QStringLiteral("/.local/share/morva/varneli2/");
    const QString documents = home() + QStringLiteral("/Documents/morva/varneli2/");
    QCOMPARE(MProgramPaths::pathConfig, base);
    QCOMPARE(MProgramPaths::pathTemp, base);
    QCOMPARE(MProgramPaths::pathData, base);
    QCOMPARE(MProgramPaths::pathDocuments, documents);
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

    MProgramPaths::initPaths(m_installation->path());

    QCOMPARE(MProgramPaths::pathData, chosen);
    QVERIFY(QDir(chosen + QStringLiteral("data/backup")).exists());
    QVERIFY(!QDir(chosen + QStringLiteral("morva")).exists());
    QSettings settings(MProgramPaths::pathConfig + QStringLiteral("config/Invoice.ini"), QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("database/path")).toString(), chosen);
}

void TestProgramFolders::missingChosenDataFolderIsNotMade()
{
    const QString chosen = home() + QStringLiteral("/pendrive/");
    setChosenDataFolder(chosen);

    MProgramPaths::initPaths(m_installation->path());

    QCOMPARE(MProgramPaths::pathData, chosen);
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

    MProgramPaths::initPaths(m_installation->path());

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

    MProgramPaths::initPaths(m_installation->path());
    MProgramPaths::pathDbFile = MProgramPaths::pathData + QStringLiteral("data/Invoice.db3");
    if (emptyFile)
        writeFile(MProgramPaths::pathDbFile, QByteArray());

    MProgramPaths::backupDb(QString());
    MProgramPaths::backupDb(QStringLiteral("v00"));

    QVERIFY(QDir(MProgramPaths::pathData + QStringLiteral("data/backup")).isEmpty());
}

void TestProgramFolders::oneBackupADayNeverOverwritten()
{
    MProgramPaths::initPaths(m_installation->path());
    MProgramPaths::pathDbFile = MProgramPaths::pathData + QStringLiteral("data/Invoice.db3");
    const QString backup = MProgramPaths::pathData + QStringLiteral("data/backup/Invoice_")
                           + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".db3");

    writeFile(MProgramPaths::pathDbFile, "morning");
    MProgramPaths::backupDb(QString());
    writeFile(MProgramPaths::pathDbFile, "evening");
    MProgramPaths::backupDb(QString());

    QCOMPARE(readFile(backup), QByteArray("morning"));
    QCOMPARE(QDir(MProgramPaths::pathData + QStringLiteral("data/backup")).count(), 3u); // ".", ".." and the copy
}

void TestProgramFolders::emptyBackupIsNoBackup()
{
    // An empty dated file, left by a start that copied a database not made
    // yet, must not stand for the day's copy.
    MProgramPaths::initPaths(m_installation->path());
    MProgramPaths::pathDbFile = MProgramPaths::pathData + QStringLiteral("data/Invoice.db3");
    const QString backup = MProgramPaths::pathData + QStringLiteral("data/backup/Invoice_")
                           + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".db3");
    writeFile(backup, QByteArray());
    QVERIFY(MProgramPaths::dailyBackupDue());

    writeFile(MProgramPaths::pathDbFile, "data");
    MProgramPaths::backupDb(QString());

    QCOMPARE(readFile(backup), QByteArray("data"));
    QVERIFY(!MProgramPaths::dailyBackupDue());
}

// What a backup killed while copying leaves: the copy under its temporary
// name, beside its journal. The next backup removes it, nothing else.
void TestProgramFolders::copiesOfKilledBackupsAreRemoved()
{
    MProgramPaths::initPaths(m_installation->path());
    MProgramPaths::pathDbFile = MProgramPaths::pathData + QStringLiteral("data/Invoice.db3");
    const QString folder = MProgramPaths::pathData + QStringLiteral("data/backup/");
    const QByteArray database = QByteArray("SQLite format 3", 16) + QByteArray(4080, 'x');
    const QString killed = QStringLiteral("Invoice_v250.db3.k8Qz0a.tmp");
    writeFile(folder + killed, database.left(2048));
    writeFile(folder + killed + QStringLiteral("-journal"), QByteArray(512, '\xd9'));
    writeFile(folder + QStringLiteral("Invoice_20200101.db3.Pq2Lm9.tmp"), QByteArray());
    // Not the program's: a text under a like name, and a plain old backup.
    writeFile(folder + QStringLiteral("notatki.Ab12Cd.tmp"), "moje notatki");
    writeFile(folder + QStringLiteral("Invoice_20200102.db3"), database);

    writeFile(MProgramPaths::pathDbFile, database);
    MProgramPaths::backupDb(QStringLiteral("v250"));

    const QString today = QStringLiteral("Invoice_") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))
                          + QStringLiteral(".db3");
    QStringList expected {QStringLiteral("Invoice_20200102.db3"), QStringLiteral("Invoice_v250.db3"),
                          QStringLiteral("notatki.Ab12Cd.tmp"), today};
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(readFile(folder + today), database);
    QCOMPARE(readFile(folder + QStringLiteral("Invoice_v250.db3")), database);
    QCOMPARE(QFile(folder + today).permissions(), QFile(MProgramPaths::pathDbFile).permissions());
}

void TestProgramFolders::upgradeBackupIsKeptOnce()
{
    MProgramPaths::initPaths(m_installation->path());
    MProgramPaths::pathDbFile = MProgramPaths::pathData + QStringLiteral("data/Invoice.db3");
    const QString backupFolder = MProgramPaths::pathData + QStringLiteral("data/backup/");

    writeFile(MProgramPaths::pathDbFile, "2.50");
    MProgramPaths::backupDb(QStringLiteral("v250"));
    writeFile(MProgramPaths::pathDbFile, "2.50 again");
    MProgramPaths::backupDb(QStringLiteral("v250"));

    QCOMPARE(readFile(backupFolder + QStringLiteral("Invoice_v250.db3")), QByteArray("2.50"));
    QCOMPARE(readFile(backupFolder + QStringLiteral("Invoice_")
                      + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".db3")),
             QByteArray("2.50"));
}

void TestProgramFolders::cleaningEmptiesTheTemporaryFoldersOnly()
{
    MProgramPaths::initPaths(m_installation->path());
    const QString temp = MProgramPaths::pathTemp;
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
    writeFile(MProgramPaths::pathData + QStringLiteral("data/Invoice.db3"), "x");

    MProgramPaths::cleanDisk();

    for (const QString& file : files)
        QVERIFY2(!QFile::exists(temp + file), qPrintable(file));
    QVERIFY(QDir(temp + QStringLiteral("temp/import_1xx/data")).exists());
    QVERIFY(QDir(temp + QStringLiteral("template/logo")).exists());
    QVERIFY(QFile::exists(temp + QStringLiteral("temp/.hidden")));
    QVERIFY(QFile::exists(temp + QStringLiteral("template/invoice.js")));
    QVERIFY(QFile::exists(MProgramPaths::pathData + QStringLiteral("data/Invoice.db3")));
}

INVOICE_TEST_MAIN(TestProgramFolders)
#include "tst_programfolders.moc"
