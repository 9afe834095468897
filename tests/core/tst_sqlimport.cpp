#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestReadLock.h"
#include "core/MSqlImport.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

// Importing SQL files into a database made by the schema script: decoding,
// lines that fail, files imported twice, a run that cannot be committed,
// and what the user is told each time.
class TestSqlImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void decoding_data();
    void decoding();
    void badByteInUtf8File_data();
    void badByteInUtf8File();
    void lineEnds_data();
    void lineEnds();
    void fileLargerThanTheMemoryLimit();
    void badLineImportsTheRest();
    void fileCannotEndTheTransaction_data();
    void fileCannotEndTheTransaction();
    void reportCountsWhatWasStored();
    void conflictRollbackLeavesNothing();
    void secondImportAddsNoDuplicates();
    void failedCommitChangesNothing();
    void missingFileIsReported();
    void dataIsRepairedAfterImport();

private:
    QString writeFile(const QByteArray& bytes);
    MSqlImport::Report import(const QString& path) { return MSqlImport::importFile(path, m_dir.path() + "/"); }

    QTemporaryDir m_dir;
    int m_files = 0;
};

namespace {

const QString buyerLine = QStringLiteral(
    "INSERT INTO buyer (id, firm, city, time_create, time_modify) VALUES (%1, '%2', '%3', '2010-05-01', '2010-05-01');");

QByteArray lines(const QStringList& statements)
{
    return statements.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

// The process's address space in bytes, from /proc/self/statm.
qint64 addressSpaceInUse()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/statm");
    return statm.readAll().split(' ').first().toLongLong() * sysconf(_SC_PAGESIZE);
}

MMessageBox::Shown onlyBox()
{
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    if (shown.size() != 1)
        qFatal("expected one message box, got %d", int(shown.size()));
    return shown.first();
}

} // namespace

void TestSqlImport::init()
{
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1-%2.db3")
                                                    .arg(QTest::currentTestFunction())
                                                    .arg(QString::fromLatin1(QTest::currentDataTag())))));
    MMessageBox::takeShown();
}

void TestSqlImport::cleanup()
{
    MTestDatabase::close();
}

QString TestSqlImport::writeFile(const QByteArray& bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("mirvole%1.sql").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestSqlImport::decoding_data()
{
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<QString>("firm");
    QTest::addColumn<QString>("city");
    QTest::addColumn<bool>("guessed");

    const QString firm = QStringLiteral("Zakład Źródło Żółć");
    const QString city = QStringLiteral("Łódź");
    QTest::newRow("Windows-1250, as the converter writes") << QByteArray("Windows-1250") << firm << city << false;
    QTest::newRow("UTF-8") << QByteArray("UTF-8") << firm << city << false;
    // In Windows-1250 "ÓŁ" is D3 A3, which is also valid UTF-8 ("ӣ").
    QTest::newRow("Windows-1250 capitals that read as UTF-8")
        << QByteArray("Windows-1250") << QStringLiteral("CZÓŁNO") << QStringLiteral("DÓŁ") << true;
    QTest::newRow("UTF-8 capitals") << QByteArray("UTF-8") << QStringLiteral("CZÓŁNO") << QStringLiteral("DÓŁ")
                                    << false;
    QTest::newRow("Windows-1250 capitals beside other text")
        << QByteArray("Windows-1250") << QStringLiteral("CZÓŁNO") << city << false;
}

void TestSqlImport::decoding()
{
    QFETCH(QByteArray, codec);
    QFETCH(QString, firm);
    QFETCH(QString, city);
    QFETCH(bool, guessed);

    const QString text = buyerLine.arg(1).arg(firm, city);
    const QString path = writeFile(QTextCodec::codecForName(codec)->fromUnicode(text + QStringLiteral("\r\n")));

    const MSqlImport::Report report = import(path);
    QVERIFY2(report.ok(), qPrintable(report.message()));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT firm, city FROM buyer")), QStringList{firm + '|' + city});
    // A reading the import could only guess is told, with the encoding it used.
    QCOMPARE(report.message().contains(QStringLiteral("odczytano go jako Windows-1250")), guessed);
}

void TestSqlImport::badByteInUtf8File_data()
{
    QTest::addColumn<int>("badLine");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("error");

    const QStringList all{"1|Zakład|Łódź", "2|Źródło|Kraków", "3|Żółć|Gdańsk"};
    QTest::newRow("in a comment") << 1 << all << QString();
    QTest::newRow("in a statement") << 3 << QStringList{all.at(0), all.at(2)}
                                    << QStringLiteral("wiersz 3: nie można odczytać tekstu wiersza w kodowaniu UTF-8");
}

void TestSqlImport::badByteInUtf8File()
{
    QFETCH(int, badLine);
    QFETCH(QStringList, stored);
    QFETCH(QString, error);

    QList<QByteArray> fileLines{"-- eksport z programu",
                                buyerLine.arg(1).arg("Zakład", "Łódź").toUtf8(),
                                buyerLine.arg(2).arg("Źródło", "Kraków").toUtf8(),
                                buyerLine.arg(3).arg("Żółć", "Gdańsk").toUtf8()};
    // One byte that is never UTF-8, in the comment or inside the firm "Źródło".
    if (badLine == 1)
        fileLines[0].append(" \xFF");
    else
        fileLines[badLine - 1].replace("o', '", "o\xFF" "', '");
    const MSqlImport::Report report = import(writeFile(fileLines.toVector().toList().join("\n") + "\n"));

    QVERIFY(report.run.committed);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id, firm, city FROM buyer ORDER BY id")), stored);
    if (error.isEmpty())
        QVERIFY2(report.ok(), qPrintable(report.message()));
    else
        QVERIFY2(report.run.firstError.startsWith(error), qPrintable(report.run.firstError));
}

void TestSqlImport::lineEnds_data()
{
    QTest::addColumn<QByteArray>("end");

    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR only") << QByteArray("\r");
}

void TestSqlImport::lineEnds()
{
    QFETCH(QByteArray, end);

    QByteArray bytes;
    for (int id = 1; id <= 3; ++id)
        bytes += buyerLine.arg(id).arg("Firma", "Łódź").toUtf8() + end;
    bytes += "INSERT INTO nie_ma (a) VALUES (1);" + end;
    const MSqlImport::Report report = import(writeFile(bytes));

    QCOMPARE(report.run.executed, 3);
    QCOMPARE(report.run.errors, 1);
    QVERIFY2(report.run.firstError.startsWith(QStringLiteral("wiersz 4: ")), qPrintable(report.run.firstError));
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 3);
}

void TestSqlImport::fileLargerThanTheMemoryLimit()
{
    // A sparse file past 2 GiB: a statement, a line of zero bytes as long as
    // the file, and a statement at its end. The import runs with its
    // address space limited to 512 MiB above what the test already uses.
    const QString path = m_dir.filePath(QStringLiteral("huge.sql"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(buyerLine.arg(1).arg("Pierwsza", "Łódź").toUtf8() + "\n");
        QVERIFY(file.seek((qint64(2) << 30) + (qint64(64) << 20)));
        file.write("\n" + buyerLine.arg(2).arg("Ostatnia", "Łódź").toUtf8() + "\n");
    }

    struct rlimit before;
    QVERIFY(getrlimit(RLIMIT_AS, &before) == 0);
    struct rlimit limited = before;
    limited.rlim_cur = rlim_t(addressSpaceInUse() + (qint64(512) << 20));
    QVERIFY(setrlimit(RLIMIT_AS, &limited) == 0);
    const MSqlImport::Report report = import(path);
    QVERIFY(setrlimit(RLIMIT_AS, &before) == 0);

    QVERIFY(report.run.committed);
    QCOMPARE(report.run.executed, 2);
    QCOMPARE(report.run.errors, 1);
    QVERIFY2(report.run.firstError.startsWith(QStringLiteral("wiersz 2: wiersz jest za długi")),
             qPrintable(report.run.firstError));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT firm FROM buyer ORDER BY id")),
             (QStringList{"Pierwsza", "Ostatnia"}));
}

void TestSqlImport::badLineImportsTheRest()
{
    const QString path = writeFile(lines({buyerLine.arg(1).arg("Pierwsza", "Kraków"),
                                          QStringLiteral("INSERT INTO buyer (id, nie_ma_takiej) VALUES (2, 1);"),
                                          buyerLine.arg(3).arg("Trzecia", "Gdańsk")}));

    const MSqlImport::Report report = import(path);
    QVERIFY(!report.ok());
    QVERIFY(report.run.committed);
    QCOMPARE(report.run.executed, 2);
    QCOMPARE(report.run.errors, 1);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id, firm FROM buyer ORDER BY id")),
             (QStringList{"1|Pierwsza", "3|Trzecia"}));

    MSqlImport::showReport(nullptr, report);
    const MMessageBox::Shown box = onlyBox();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.title, QStringLiteral("Importuj do bazy"));
    QVERIFY2(box.text.contains(QStringLiteral("z błędami")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("Wykonane polecenia: 2.")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("Polecenia zakończone błędem: 1 (pierwszy: wiersz 2: polecenie nie "
                                              "zostało wykonane: table buyer has no column named nie_ma_takiej)")),
             qPrintable(box.text));
}

void TestSqlImport::fileCannotEndTheTransaction_data()
{
    QTest::addColumn<QString>("statement");

    QTest::newRow("commit") << "COMMIT;";
    QTest::newRow("end transaction") << "END TRANSACTION;";
    QTest::newRow("rollback in lower case") << "rollback;";
    QTest::newRow("begin, as a database dump starts") << "BEGIN TRANSACTION;";
    QTest::newRow("rollback behind a comment") << "/* */ ROLLBACK;";
    QTest::newRow("commit behind an empty comment") << "/**/COMMIT;";
    QTest::newRow("savepoint") << "SAVEPOINT s;";
    QTest::newRow("release") << "RELEASE s;";
    QTest::newRow("drop table") << "DROP TABLE invoice;";
    QTest::newRow("drop of the version table") << "DROP TABLE _version;";
    QTest::newRow("version row changed") << "UPDATE _version SET num_major = 1;";
    QTest::newRow("version row deleted") << "DELETE FROM _version;";
    QTest::newRow("create table") << "CREATE TABLE extra (a);";
    QTest::newRow("create trigger") << "CREATE TRIGGER t AFTER INSERT ON buyer BEGIN DELETE FROM buyer; END;";
    QTest::newRow("alter table") << "ALTER TABLE buyer ADD COLUMN extra;";
    QTest::newRow("attach") << "ATTACH DATABASE ':memory:' AS other;";
    QTest::newRow("pragma") << "PRAGMA foreign_keys = ON;";
    QTest::newRow("vacuum") << "VACUUM;";
}

void TestSqlImport::fileCannotEndTheTransaction()
{
    QFETCH(QString, statement);

    // The import is one transaction of rows: a file's own transaction
    // statements would commit or drop part of it behind the report's back,
    // and a schema change would outlast any report.
    const QString path = writeFile(lines({buyerLine.arg(1).arg("Pierwsza", "Kraków"), statement,
                                          buyerLine.arg(3).arg("Trzecia", "Gdańsk")}));
    const QString version = MTestDatabase::versionRow();
    const QStringList schema = MTestDatabase::rows(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name"));

    const MSqlImport::Report report = import(path);
    QVERIFY(report.run.committed);
    QVERIFY(report.repaired);
    QCOMPARE(report.run.executed, 2);
    QCOMPARE(report.run.errors, 1);
    QVERIFY2(report.run.firstError.startsWith(QStringLiteral("wiersz 2: ")), qPrintable(report.run.firstError));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id, firm FROM buyer ORDER BY id")),
             (QStringList{"1|Pierwsza", "3|Trzecia"}));
    QCOMPARE(MTestDatabase::versionRow(), version);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name")), schema);
    QVERIFY(!MTestDatabase::rows(QStringLiteral("SELECT name FROM pragma_database_list")).contains("other"));
    QVERIFY(QSqlQuery().exec(QStringLiteral("begin")));
    QVERIFY(QSqlQuery().exec(QStringLiteral("rollback")));
    // The program's own statements keep their rights after the import.
    QVERIFY(QSqlQuery().exec(QStringLiteral("CREATE TEMP TABLE after_import (a)")));
}

void TestSqlImport::reportCountsWhatWasStored()
{
    // Every line fails, as on a database that cannot be written: the report
    // must not say that the rest of the data was saved.
    const QString path = writeFile(lines({QStringLiteral("INSERT INTO nie_ma (a) VALUES (1);"),
                                          QStringLiteral("INSERT INTO buyer (id, nie_ma) VALUES (2, 1);")}));
    const MSqlImport::Report report = import(path);
    QCOMPARE(report.run.executed, 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 0);
    MSqlImport::showReport(nullptr, report);
    const MMessageBox::Shown box = onlyBox();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY2(box.text.startsWith(QStringLiteral("Z pliku ")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("Żadne dane nie zostały zapisane.")), qPrintable(box.text));
    QVERIFY2(!box.text.contains(QStringLiteral("pozostałe dane")), qPrintable(box.text));
}

void TestSqlImport::conflictRollbackLeavesNothing()
{
    // ON CONFLICT ROLLBACK is no transaction statement, but a conflict ends
    // the whole transaction: nothing may stay, and the report must say so.
    const QString path = writeFile(lines({buyerLine.arg(1).arg("Pierwsza", "Kraków"),
                                          QStringLiteral("INSERT OR ROLLBACK INTO buyer (id, firm, time_create, "
                                                         "time_modify) VALUES (1, 'x', '2010-05-01', '2010-05-01');"),
                                          buyerLine.arg(3).arg("Trzecia", "Gdańsk")}));

    const MSqlImport::Report report = import(path);
    QVERIFY(!report.run.committed);
    QVERIFY(!report.repaired);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 0);
    MSqlImport::showReport(nullptr, report);
    const MMessageBox::Shown box = onlyBox();
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY2(box.text.contains(QStringLiteral("Baza danych nie została zmieniona.")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("wiersz 2: ")), qPrintable(box.text));
    QVERIFY(QSqlQuery().exec(QStringLiteral("begin")));
    QVERIFY(QSqlQuery().exec(QStringLiteral("rollback")));
}

void TestSqlImport::secondImportAddsNoDuplicates()
{
    const QString path = writeFile(lines({buyerLine.arg(7).arg("Siódma", "Opole"),
                                          buyerLine.arg(8).arg("Ósma", "Radom")}));

    const MSqlImport::Report first = import(path);
    QVERIFY2(first.ok(), qPrintable(first.message()));
    QCOMPARE(first.run.executed, 2);
    const MSqlImport::Report second = import(path);
    QVERIFY2(second.ok(), qPrintable(second.message()));
    QCOMPARE(second.run.executed, 0);
    QCOMPARE(second.run.repeatFailures, 2);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT count(*) FROM buyer")).toInt(), 2);

    MSqlImport::showReport(nullptr, second);
    const MMessageBox::Shown box = onlyBox();
    QCOMPARE(box.icon, QMessageBox::Information);
    QVERIFY2(box.text.contains(QStringLiteral("Wykonane polecenia: 0.")), qPrintable(box.text));
    QVERIFY2(box.text.contains(QStringLiteral("Pominięte polecenia, których dane już są w bazie: 2.")),
             qPrintable(box.text));
}

void TestSqlImport::failedCommitChangesNothing()
{
    // A lock held by another connection makes the final commit fail at once.
    const QString dbPath = QSqlDatabase::database().databaseName();
    QVERIFY(MTestDatabase::connect(dbPath, QStringLiteral("QSQLITE_BUSY_TIMEOUT=0")));
    {
        MTestReadLock lock(QStringLiteral("buyer"));
        QVERIFY(lock.isHeld());

        const MSqlImport::Report report = import(writeFile(lines({buyerLine.arg(1).arg("Firma", "Płock")})));
        QVERIFY(!report.ok());
        QVERIFY(!report.run.committed);
        QVERIFY(!report.repaired);
        MSqlImport::showReport(nullptr, report);
        const MMessageBox::Shown box = onlyBox();
        QCOMPARE(box.icon, QMessageBox::Critical);
        QVERIFY2(box.text.contains(QStringLiteral("Baza danych nie została zmieniona.")), qPrintable(box.text));
        QVERIFY(lock.release());
    }
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT count(*) FROM buyer")).toInt(), 0);
}

void TestSqlImport::missingFileIsReported()
{
    const MSqlImport::Report report = import(m_dir.filePath(QStringLiteral("nie-ma.sql")));
    QVERIFY(!report.run.opened);
    MSqlImport::showReport(nullptr, report);
    const MMessageBox::Shown box = onlyBox();
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY2(box.text.startsWith(QStringLiteral("Nie można otworzyć pliku ")), qPrintable(box.text));
}

void TestSqlImport::dataIsRepairedAfterImport()
{
    const QString path = writeFile(lines({
        QStringLiteral("INSERT INTO product (id, name, unit, netto_price, brutto_price, vat, count_from_netto, "
                       "time_create, time_modify) VALUES (1, 'Usługa', 'godz.', 100.00, 0, 23, 1, '2010-05-01', "
                       "'2010-05-01');"),
    }));

    const MSqlImport::Report report = import(path);
    QVERIFY2(report.ok(), qPrintable(report.message()));
    QVERIFY(report.repaired);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT vat_text, printf('%.2f', brutto_price) FROM product")),
             QStringList{"23%|123.00"});
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT name FROM product_unit")), QStringList{"godz."});
}

INVOICE_TEST_MAIN(TestSqlImport)
#include "tst_sqlimport.moc"
