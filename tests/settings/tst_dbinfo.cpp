#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestSqliteShell.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "resources/MResources.h"
#include "settings/MDbInfoDlg.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

// "Informacje o bazie danych" on a database made by the schema script and
// lying where the program keeps it, data/Invoice.db3 under the data folder.
class TestDbInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void sizeIsShownInWholeKilobytes_data();
    void sizeIsShownInWholeKilobytes();
    void figuresCountRowsAndTheirLastChange();
    void backupIsACompleteDatabase_data();
    void backupIsACompleteDatabase();
    void copiesOfKilledBackupsAreRemoved();
    void failedBackupLeavesTheTargetAsItWas_data();
    void failedBackupLeavesTheTargetAsItWas();
    void databaseFileItselfIsNotCopied_data();
    void databaseFileItselfIsNotCopied();
    void cancelledChoiceDoesNothing();
    void saveDialogStartsInTheLastBackupFolder_data();
    void saveDialogStartsInTheLastBackupFolder();

private:
    QString dbFile() const;
    QString backupFolder() const;
    static QStringList entries(const QString& folder);
    static QByteArray md5(const QString& file);
    static void clickBackup(MDbInfoDlg& dialog, const QString& chosen);

    QTemporaryDir m_template;
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestDbInfo::initTestCase()
{
    initInvoiceResources();
    QVERIFY(MTestDatabase::prepare(m_template.filePath(QStringLiteral("Invoice.db3"))));
    MTestDatabase::close();
}

void TestDbInfo::init()
{
    m_dir.reset(new QTemporaryDir);
    MProgramPaths::pathData = m_dir->path() + QLatin1Char('/');
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("data"))));
    QVERIFY(QDir().mkpath(backupFolder()));
    QVERIFY(QFile::copy(m_template.filePath(QStringLiteral("Invoice.db3")), dbFile()));
    QVERIFY(MTestDatabase::connect(dbFile()));
    MOptions::loadOptions();
    MMessageBox::takeShown();
}

void TestDbInfo::cleanup()
{
    MTestDatabase::close();
}

QString TestDbInfo::dbFile() const
{
    return m_dir->filePath(QStringLiteral("data/Invoice.db3"));
}

QString TestDbInfo::backupFolder() const
{
    return m_dir->filePath(QStringLiteral("kopie"));
}

QStringList TestDbInfo::entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray TestDbInfo::md5(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(in.readAll(), QCryptographicHash::Md5).toHex();
}

void TestDbInfo::clickBackup(MDbInfoDlg& dialog, const QString& chosen)
{
    MFileDialog::setNextFileName(chosen);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String("Wykonaj"))
            QTest::mouseClick(button, Qt::LeftButton);
    }
}

void TestDbInfo::sizeIsShownInWholeKilobytes_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("size");

    QTest::newRow("no file") << -1 << "0 KB";
    QTest::newRow("511 B") << 511 << "0 KB";
    QTest::newRow("512 B") << 512 << "1 KB";
    QTest::newRow("1535 B") << 1535 << "1 KB";
    QTest::newRow("1536 B") << 1536 << "2 KB";
    QTest::newRow("1 MB") << 1024 * 1024 << "1024 KB";
}

void TestDbInfo::sizeIsShownInWholeKilobytes()
{
    QFETCH(int, bytes);
    QFETCH(QString, size);

    // The figures still come from the open connection; only the file measured changes.
    QTemporaryDir other;
    MProgramPaths::pathData = other.path() + QLatin1Char('/');
    if (bytes >= 0) {
        QVERIFY(QDir().mkpath(other.filePath(QStringLiteral("data"))));
        QFile file(other.filePath(QStringLiteral("data/Invoice.db3")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(QByteArray(bytes, 'x')), qint64(bytes));
    }

    MDbInfoDlg dialog;
    QStringList sizes;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text().endsWith(QLatin1String(" KB")))
            sizes.append(label->text());
    }
    QCOMPARE(sizes, QStringList{size});
}

void TestDbInfo::figuresCountRowsAndTheirLastChange()
{
    MTestDatabase::insert(QStringLiteral("buyer"),
                          {{"firm", "Alfa"}, {"time_modify", "2024-03-05 10:20:30"}});
    MTestDatabase::insert(QStringLiteral("buyer"),
                          {{"firm", "Beta"}, {"time_modify", "2023-11-30 23:59:59"}});
    MTestDatabase::insert(QStringLiteral("end_text"),
                          {{"content", "Dziękujemy"}, {"time_modify", "2022-07-01 06:00:00"}});
    const int sellers = MTestDatabase::count(QStringLiteral("seller"));

    // Stored in UTC, shown in local time.
    auto local = [](const char* utc) {
        QDateTime time = QDateTime::fromString(QLatin1String(utc), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        time.setTimeSpec(Qt::UTC);
        return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    };

    MDbInfoDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Informacje o bazie danych"));
    const QString html = dialog.findChild<QLabel*>(QStringLiteral("figures"))->text();
    QStringList rows;
    QRegularExpressionMatchIterator it =
        QRegularExpression(QStringLiteral("<tr[^>]*><td[^>]*>(.*?)</td><td[^>]*>(.*?)</td><td[^>]*>(.*?)</td></tr>"))
            .globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch row = it.next();
        rows.append(row.captured(1) + QLatin1Char('|') + row.captured(2) + QLatin1Char('|') + row.captured(3));
    }
    QCOMPARE(rows, (QStringList{
                       "&nbsp;|Ilość|Ostatnia modyfikacja",
                       "Dokumenty|0|brak danych",
                       QStringLiteral("Sprzedawcy|%1|brak danych").arg(sellers),
                       "Kontrahenci|2|" + local("2024-03-05 10:20:30"),
                       "Produkty|0|brak danych",
                       "Teksty końcowe|1|" + local("2022-07-01 06:00:00"),
                       "Notowania walutowe|0|brak danych",
                   }));
    QCOMPARE(sellers, 0);
}

void TestDbInfo::backupIsACompleteDatabase_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("oldBackup");

    QTest::newRow("name with .db3") << "kopia.db3" << "kopia.db3" << false;
    QTest::newRow("name without suffix") << "kopia" << "kopia.db3" << false;
    QTest::newRow("name with another suffix") << "kopia.bak" << "kopia.bak" << false;
    QTest::newRow("old backup replaced") << "kopia.db3" << "kopia.db3" << true;
}

void TestDbInfo::backupIsACompleteDatabase()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(bool, oldBackup);

    const QString target = backupFolder() + QLatin1Char('/') + written;
    if (oldBackup) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("poprzednia kopia");
    }
    MTestDatabase::insert(QStringLiteral("buyer"), {{"firm", "Alfa"}});
    MTestDatabase::insert(QStringLiteral("buyer"), {{"firm", "Żółw"}});
    MTestDatabase::insert(QStringLiteral("product"), {{"name", "Śruba"}});

    MDbInfoDlg dialog;
    clickBackup(dialog, backupFolder() + QLatin1Char('/') + chosen);

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Information);
    QCOMPARE(shown.first().title, QStringLiteral("Kopia zapasowa bazy danych"));
    QVERIFY2(shown.first().text.contains(QDir::toNativeSeparators(target)), qPrintable(shown.first().text));

    QCOMPARE(entries(backupFolder()), QStringList{written});
    const QString rows = QStringLiteral("SELECT group_concat(firm, ',') FROM (SELECT firm FROM buyer ORDER BY id);"
                                        "SELECT group_concat(name, ',') FROM product;"
                                        "SELECT count(*) FROM vat;");
    const QStringList original = MTestSqliteShell::lines(dbFile(), rows);
    QCOMPARE(original.mid(0, 2), (QStringList{"Alfa,Żółw", "Śruba"}));
    QCOMPARE(MTestSqliteShell::lines(target, QStringLiteral("PRAGMA integrity_check;") + rows),
             QStringList{QStringLiteral("ok")} + original);
    QCOMPARE(MTestSqliteShell::lastError(), QString());
    QCOMPARE(MOptions::option(QStringLiteral("BACKUP_SELF_PATH")), backupFolder());
}

// A backup killed while SQLite wrote the copy leaves it under its temporary
// name with its journal; the next backup into that folder removes them and
// nothing else.
void TestDbInfo::copiesOfKilledBackupsAreRemoved()
{
    const QString folder = backupFolder() + QLatin1Char('/');
    const auto write = [](const QString& fileName, const QByteArray& content) {
        QFile file(fileName);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    };
    QVERIFY(QFile::copy(dbFile(), folder + QStringLiteral("stara.db3.Xy12Zq.tmp")));
    QVERIFY(write(folder + QStringLiteral("stara.db3.Xy12Zq.tmp-journal"), QByteArray(512, '\xd9')));
    QVERIFY(write(folder + QStringLiteral("pusta.db3.aBcDeF.tmp"), QByteArray()));
    QVERIFY(write(folder + QStringLiteral("raport.Ab12Cd.tmp"), "tekst innego programu"));
    QVERIFY(QFile::copy(dbFile(), folder + QStringLiteral("notatki.tmp")));
    QVERIFY(QFile::copy(dbFile(), folder + QStringLiteral("stara.db3")));

    MDbInfoDlg dialog;
    clickBackup(dialog, folder + QStringLiteral("kopia.db3"));

    QCOMPARE(MMessageBox::takeShown().first().icon, QMessageBox::Information);
    QCOMPARE(entries(backupFolder()), (QStringList {"kopia.db3", "notatki.tmp", "raport.Ab12Cd.tmp", "stara.db3"}));
}

void TestDbInfo::failedBackupLeavesTheTargetAsItWas_data()
{
    QTest::addColumn<QString>("obstacle");

    QTest::newRow("folder at the target's path") << "folder";
    QTest::newRow("database busy in a transaction") << "transaction";
    QTest::newRow("target's folder missing") << "missing folder";
}

void TestDbInfo::failedBackupLeavesTheTargetAsItWas()
{
    QFETCH(QString, obstacle);

    QString target = backupFolder() + QStringLiteral("/kopia.db3");
    QString watched = backupFolder();
    if (obstacle == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(target));
        QFile inside(target + QStringLiteral("/notatka.txt"));
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.write("zostaje");
    } else if (obstacle == QLatin1String("transaction")) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("poprzednia kopia");
        QVERIFY(MTestDatabase::exec(QStringLiteral("begin")));
        MTestDatabase::insert(QStringLiteral("buyer"), {{"firm", "Alfa"}});
    } else {
        target = backupFolder() + QStringLiteral("/brak/kopia.db3");
    }
    const QStringList before = entries(watched);
    const QByteArray oldContent = md5(target);

    MDbInfoDlg dialog;
    clickBackup(dialog, target);
    if (obstacle == QLatin1String("transaction"))
        QVERIFY(MTestDatabase::exec(QStringLiteral("rollback")));

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY2(shown.first().text.startsWith(QStringLiteral("Nie wykonano kopii zapasowej bazy danych do pliku ")
                                           + QDir::toNativeSeparators(target)),
             qPrintable(shown.first().text));
    QCOMPARE(entries(watched), before);
    QCOMPARE(md5(target), oldContent);
    if (obstacle == QLatin1String("folder"))
        QCOMPARE(entries(target), QStringList{QStringLiteral("notatka.txt")});
}

void TestDbInfo::databaseFileItselfIsNotCopied_data()
{
    QTest::addColumn<QString>("chosen");

    QTest::newRow("its own path") << "data/Invoice.db3";
    QTest::newRow("another way to it") << "kopie/../data/Invoice.db3";
    QTest::newRow("its name without suffix") << "data/Invoice";
}

void TestDbInfo::databaseFileItselfIsNotCopied()
{
    QFETCH(QString, chosen);

    MTestDatabase::insert(QStringLiteral("buyer"), {{"firm", "Alfa"}});
    // The folder is remembered as it is already, so that nothing at all is written.
    MOptions::setOption(QStringLiteral("BACKUP_SELF_PATH"), m_dir->filePath(QStringLiteral("data")));
    const QByteArray before = md5(dbFile());
    const QStringList files = entries(m_dir->filePath(QStringLiteral("data")));

    MDbInfoDlg dialog;
    clickBackup(dialog, m_dir->filePath(chosen));

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().text,
             QStringLiteral("Wybrany plik jest plikiem otwartej bazy danych. Kopia zapasowa nie została wykonana."));
    QCOMPARE(md5(dbFile()), before);
    QCOMPARE(entries(m_dir->filePath(QStringLiteral("data"))), files);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT firm FROM buyer")), QStringList{"Alfa"});
}

void TestDbInfo::cancelledChoiceDoesNothing()
{
    MOptions::setOption(QStringLiteral("BACKUP_SELF_PATH"), backupFolder());
    MDbInfoDlg dialog;
    clickBackup(dialog, QString());
    QCOMPARE(MMessageBox::takeShown().size(), 0);
    QCOMPARE(entries(backupFolder()), QStringList());
    QCOMPARE(MOptions::option(QStringLiteral("BACKUP_SELF_PATH")), backupFolder());
}

void TestDbInfo::saveDialogStartsInTheLastBackupFolder_data()
{
    QTest::addColumn<bool>("storedExists");
    QTest::addColumn<bool>("exportExists");
    QTest::addColumn<QString>("start");

    QTest::newRow("folder of the last backup") << true << true << "<stored>";
    QTest::newRow("export beside the working folder") << false << true << "export";
    QTest::newRow("no folder at all") << false << false << "";
}

void TestDbInfo::saveDialogStartsInTheLastBackupFolder()
{
    QFETCH(bool, storedExists);
    QFETCH(bool, exportExists);
    QFETCH(QString, start);

    QTemporaryDir working;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(working.path()));
    if (exportExists)
        QVERIFY(QDir().mkdir(QStringLiteral("export")));
    const QString stored = storedExists ? backupFolder() : m_dir->filePath(QStringLiteral("usunięty"));
    MOptions::setOption(QStringLiteral("BACKUP_SELF_PATH"), stored);

    MDbInfoDlg dialog;
    clickBackup(dialog, QString());
    QDir::setCurrent(previous);
    QCOMPARE(MFileDialog::lastFolder(), start == QLatin1String("<stored>") ? stored : start);
}

INVOICE_TEST_MAIN(TestDbInfo)
#include "tst_dbinfo.moc"
