#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "MTestReadLock.h"
#include "data/MSqlScriptRunner.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

// The line rules, the block gate, the error report and the decoding of the
// script runner, on small scripts against a real database file.
class TestSqlScriptRunner : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void headerVersion_data();
    void headerVersion();
    void blockGate_data();
    void blockGate();
    void gateReadsTheVersionRow_data();
    void gateReadsTheVersionRow();
    void commentLinesNeverRun();
    void repeatFailuresAreToldFromErrors();
    void wholeRunIsOneTransaction();
    void missingFileDoesNothing();
    void decoding_data();
    void decoding();

private:
    QString writeScript(const QByteArray& bytes);
    QString writeScript(const QStringList& lines) { return writeScript(lines.join(QLatin1Char('\n')).toUtf8()); }
    QStringList names();

    QTemporaryDir m_dir;
    int m_scripts = 0;
};

using Versions = MSqlScriptRunner::Versions;

void TestSqlScriptRunner::init()
{
    // A locked file must fail at once, not after the driver's default wait.
    QVERIFY(MTestDatabase::connect(m_dir.filePath(QStringLiteral("%1.db3").arg(QTest::currentTestFunction()) +
                                                  QTest::currentDataTag()),
                                   QStringLiteral("QSQLITE_BUSY_TIMEOUT=0")));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE t (name TEXT)")));
}

void TestSqlScriptRunner::cleanup()
{
    MTestDatabase::close();
}

QString TestSqlScriptRunner::writeScript(const QByteArray& bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("script%1.sql").arg(++m_scripts));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The names in table t, in insertion order.
QStringList TestSqlScriptRunner::names()
{
    QStringList result;
    QSqlQuery query(QStringLiteral("SELECT name FROM t ORDER BY rowid"));
    while (query.next())
        result << query.value(0).toString();
    return result;
}

void TestSqlScriptRunner::headerVersion_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("version");

    QTest::newRow("two digit minor") << "-- VERSION 2.51" << 2051;
    QTest::newRow("one digit minor") << "-- VERSION 2.5" << 2005;
    QTest::newRow("no blank after dashes") << "--VERSION 2.13" << 2013;
    QTest::newRow("blanks around version") << "--   VERSION   2.0  " << 2000;
    QTest::newRow("no minor") << "-- VERSION 3" << 3000;
    QTest::newRow("major not a number") << "-- VERSION x.7" << 7;
    QTest::newRow("lower case is a comment") << "-- version 2.5" << -1;
    QTest::newRow("other comment") << "-- DELETE FROM t" << -1;
    QTest::newRow("statement") << "SELECT 1" << -1;
}

void TestSqlScriptRunner::headerVersion()
{
    QFETCH(QString, line);
    QFETCH(int, version);
    QCOMPARE(MSqlScriptRunner::headerVersion(line.trimmed()), version);
}

void TestSqlScriptRunner::blockGate_data()
{
    QTest::addColumn<int>("database");
    QTest::addColumn<int>("check");
    QTest::addColumn<QStringList>("expected");

    // Blocks in file order: none, 2.0, 2.5, 2.13, 2.60, 2.51.
    const QStringList all{"before", "2.0", "2.5", "2.13", "2.51"};
    QTest::newRow("no version row") << 0 << 0 << all;
    QTest::newRow("database at program version") << 2053 << 2053 << all;
    QTest::newRow("database 2.10 runs 2.5, skips 2.13") << 2010 << 0 << QStringList{"before", "2.0", "2.5"};
    QTest::newRow("check version 2.10 limits too") << 0 << 2010 << QStringList{"before", "2.0", "2.5"};
    QTest::newRow("lower of the two limits") << 2051 << 2013 << QStringList{"before", "2.0", "2.5", "2.13"};
    QTest::newRow("database 2.4 runs only 2.0") << 2004 << 2053 << QStringList{"before", "2.0"};
}

void TestSqlScriptRunner::blockGate()
{
    QFETCH(int, database);
    QFETCH(int, check);
    QFETCH(QStringList, expected);

    const QString path = writeScript(QStringList{
        "INSERT INTO t VALUES ('before');",
        "-- VERSION 2.0",
        "INSERT INTO t VALUES ('2.0');",
        "-- VERSION 2.5",
        "",
        "   INSERT INTO t VALUES ('2.5');   ",
        "-- VERSION 2.13",
        "INSERT INTO t VALUES ('2.13');",
        "-- VERSION 2.60",
        "INSERT INTO t VALUES ('2.60');",
        "-- a comment does not change the gate",
        "INSERT INTO t VALUES ('2.60 again');",
        "-- VERSION 2.51",
        "INSERT INTO t VALUES ('2.51');",
    });
    Versions versions;
    versions.program = 2053;
    versions.database = database;
    versions.check = check;
    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(path, false, versions);
    QVERIFY(result.ok());
    QCOMPARE(result.executed, expected.size());
    QCOMPARE(names(), expected);
}

void TestSqlScriptRunner::gateReadsTheVersionRow_data()
{
    QTest::addColumn<QString>("versionRow");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no version table") << QString() << QStringList{"before", "2.5", "2.13"};
    QTest::newRow("database 2.10") << "(1, 2, 10, '', 2, 53)" << QStringList{"before", "2.5"};
    QTest::newRow("check 2.10") << "(1, 2, 53, '', 2, 10)" << QStringList{"before", "2.5"};
    QTest::newRow("zeros set no limit") << "(1, 0, 0, '', 0, 0)" << QStringList{"before", "2.5", "2.13"};
    QTest::newRow("null values set no limit") << "(1, NULL, NULL, '', NULL, NULL)"
                                              << QStringList{"before", "2.5", "2.13"};
}

void TestSqlScriptRunner::gateReadsTheVersionRow()
{
    QFETCH(QString, versionRow);
    QFETCH(QStringList, expected);

    QSqlQuery query;
    if (!versionRow.isEmpty()) {
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE _version (id INTEGER PRIMARY KEY, num_major INTEGER, "
                                          "num_minor INTEGER, num_special TEXT, check_num_major INTEGER, "
                                          "check_num_minor INTEGER)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO _version VALUES ") + versionRow));
    }
    const QString path = writeScript(QStringList{
        "INSERT INTO t VALUES ('before');",
        "-- VERSION 2.5",
        "INSERT INTO t VALUES ('2.5');",
        "-- VERSION 2.13",
        "INSERT INTO t VALUES ('2.13');",
        "-- VERSION 2.60",
        "INSERT INTO t VALUES ('2.60');",
    });
    QVERIFY(MSqlScriptRunner::run(path, false).ok());
    QCOMPARE(names(), expected);
}

void TestSqlScriptRunner::commentLinesNeverRun()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("INSERT INTO t VALUES ('kept')")));
    const QString path = writeScript(QStringList{
        "-- DELETE FROM t;",
        "   --DELETE FROM t;",
        "-- VERSION 2.0",
        "--DROP TABLE t;",
        "INSERT INTO t VALUES ('run');",
    });
    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(path, false);
    QVERIFY(result.ok());
    QCOMPARE(result.executed, 1);
    QCOMPARE(names(), (QStringList{"kept", "run"}));
}

void TestSqlScriptRunner::repeatFailuresAreToldFromErrors()
{
    const QString path = writeScript(QStringList{
        "CREATE TABLE IF NOT EXISTS k (id INTEGER PRIMARY KEY, name TEXT NOT NULL DEFAULT '');",
        "CREATE TABLE k2 (id INTEGER PRIMARY KEY);",
        "CREATE INDEX k__name ON k (name);",
        "ALTER TABLE k ADD COLUMN extra INTEGER NOT NULL DEFAULT 0;",
        "INSERT INTO k (id, name) VALUES (1, 'one');",
        "INSERT INTO t VALUES ('every run');",
    });

    MSqlScriptRunner::Result first = MSqlScriptRunner::run(path, false);
    QVERIFY(first.ok());
    QCOMPARE(first.executed, 6);
    QCOMPARE(first.repeatFailures, 0);
    QVERIFY(first.firstError.isEmpty());

    // Table, index, column and row all exist now: expected, not errors.
    MSqlScriptRunner::Result second = MSqlScriptRunner::run(path, false);
    QVERIFY(second.ok());
    QCOMPARE(second.executed, 2);
    QCOMPARE(second.repeatFailures, 4);

    const QString broken = writeScript(QStringList{
        "INSERT INTO t VALUES ('before the errors');",
        "INSERT INTO missing VALUES (1);",
        "INSERT INTO k (id, name) VALUES (1, 'one');",
        "SELEC 1;",
        "INSERT INTO k (id, name) VALUES (2, NULL);",
        "INSERT INTO t VALUES ('after the errors');",
    });
    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(broken, false);
    QVERIFY(result.opened);
    QVERIFY(!result.ok());
    QCOMPARE(result.errors, 3);
    QCOMPARE(result.repeatFailures, 1);
    QCOMPARE(result.executed, 2);
    QCOMPARE(result.firstError, QStringLiteral("wiersz 2: polecenie nie zostało wykonane: no such table: missing"));
    // Failing lines are skipped; the rest is committed.
    QCOMPARE(names(), (QStringList{"every run", "every run", "before the errors", "after the errors"}));
}

void TestSqlScriptRunner::wholeRunIsOneTransaction()
{
    // A second connection sees nothing of the run until its end: the run
    // commits once, and a reader that holds the file makes that commit fail,
    // which must come back as an error rather than as a success.
    MTestReadLock lock(QStringLiteral("t"));
    QVERIFY(lock.isHeld());

    const QString path = writeScript(QStringList{
        "INSERT INTO t VALUES ('a');",
        "INSERT INTO t VALUES ('b');",
    });
    const MSqlScriptRunner::Result blocked = MSqlScriptRunner::run(path, false);
    QCOMPARE(blocked.executed, 2);
    QCOMPARE(blocked.errors, 1);
    QVERIFY2(blocked.firstError.startsWith(QStringLiteral("nie można zatwierdzić zmian: ")), qPrintable(blocked.firstError));
    QVERIFY(!blocked.committed);
    QVERIFY(names().isEmpty());
    QVERIFY(lock.release());

    const MSqlScriptRunner::Result free = MSqlScriptRunner::run(path, false);
    QVERIFY(free.ok());
    QVERIFY(free.committed);
    QCOMPARE(lock.value(QStringLiteral("SELECT count(*) FROM t")).toInt(), 2);
}

void TestSqlScriptRunner::missingFileDoesNothing()
{
    for (const QString& path : {QString(), m_dir.filePath(QStringLiteral("absent.sql"))}) {
        const MSqlScriptRunner::Result result = MSqlScriptRunner::run(path, false);
        QVERIFY(!result.opened);
        QVERIFY(!result.ok());
        QCOMPARE(result.executed + result.errors + result.repeatFailures, 0);
    }
    // No transaction was left open.
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("begin")));
    QVERIFY(query.exec(QStringLiteral("commit")));
}

void TestSqlScriptRunner::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("localEncoding");

    const QString statement = QStringLiteral("INSERT INTO t VALUES ('Zażółć gęślą jaźń');");
    const QByteArray utf8 = statement.toUtf8();
    const QByteArray cp1250 = QTextCodec::codecForName("Windows-1250")->fromUnicode(statement);

    QTest::newRow("utf-8") << utf8 << false;
    QTest::newRow("utf-8 with byte order mark and CR LF")
        << QByteArray("\xEF\xBB\xBF" "-- VERSION 2.0\r\n") + utf8 + "\r\n" << false;
    QTest::newRow("local encoding, windows-1250 file") << cp1250 << true;
    QTest::newRow("local encoding, utf-8 file") << utf8 << true;
}

void TestSqlScriptRunner::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, localEncoding);

    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(writeScript(bytes), localEncoding);
    QVERIFY(result.ok());
    QCOMPARE(names(), QStringList{QStringLiteral("Zażółć gęślą jaźń")});
}

INVOICE_TEST_MAIN(TestSqlScriptRunner)
#include "tst_sqlscriptrunner.moc"
