#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "data/MRoundCents.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <cmath>

// round_cents(x) against SQLite's own round(x + 0.0000000001, 2): the same
// value, storage class and sign for every kind of amount, on both the direct
// path and the values it hands to the built-in round.
class TestRoundCents : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sameAsBuiltInRoundOverRanges();
    void sameAsBuiltInRound_data();
    void sameAsBuiltInRound();
    void installNeedsOpenConnection();

private:
    QTemporaryDir m_dir;
};

void TestRoundCents::init()
{
    QVERIFY(MTestDatabase::connect(m_dir.filePath(QStringLiteral("Invoice.db3"))));
    QString error;
    QVERIFY2(MRoundCents::install(QSqlDatabase::database(), &error), qPrintable(error));
}

void TestRoundCents::cleanup()
{
    MTestDatabase::close();
}

// Whole and half cents, values that the epsilon lands on a half cent, prices
// with VAT added and taken off, currency conversions, negative amounts and
// amounts past a million.
void TestRoundCents::sameAsBuiltInRoundOverRanges()
{
    QSqlQuery query;
    QVERIFY2(query.exec(QStringLiteral(R"SQL(
        WITH RECURSIVE k(n) AS (SELECT -30000 UNION ALL SELECT n + 1 FROM k WHERE n < 30000),
        x(v) AS (
            SELECT n FROM k
            UNION ALL SELECT n / 100.0 FROM k
            UNION ALL SELECT n * 0.005 FROM k
            UNION ALL SELECT (n + 0.5) / 100.0 - 0.0000000001 FROM k
            UNION ALL SELECT n / 1000.0 FROM k
            UNION ALL SELECT n * 1.23 * 0.01 FROM k
            UNION ALL SELECT n * 0.01 * 100.0 / 108.0 FROM k
            UNION ALL SELECT n * 3.7 * 4.3156 / 100 FROM k
            UNION ALL SELECT n * 33.333 + 0.005 FROM k
            UNION ALL SELECT n * 1e7 + 0.005 FROM k WHERE n % 30 = 0
        ),
        r(v, ours, builtIn) AS (SELECT v, round_cents(v), round(v + 0.0000000001, 2) FROM x LIMIT -1)
        SELECT count(*), min(v) FROM r
        WHERE ours IS NOT builtIn OR typeof(ours) IS NOT typeof(builtIn)
        )SQL")),
             qPrintable(query.lastError().text()));
    QVERIFY(query.next());
    QVERIFY2(query.value(0).toInt() == 0, qPrintable(QStringLiteral("%1 values differ, the first %2")
                                                         .arg(query.value(0).toInt())
                                                         .arg(query.value(1).toString())));
}

void TestRoundCents::sameAsBuiltInRound_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("NULL") << "NULL";
    QTest::newRow("integer") << "10";
    QTest::newRow("text with a number") << "'12.345'";
    QTest::newRow("text without a number") << "'abc'";
    QTest::newRow("negative amount rounding to zero") << "-0.001";
    QTest::newRow("negative half cent") << "-0.005";
    QTest::newRow("exactly on a half cent") << "0.0049999999";
    QTest::newRow("beyond whole doubles") << "4503599627370497.0";
    QTest::newRow("huge") << "1e300";
    QTest::newRow("infinity") << "9e999";
    QTest::newRow("minus infinity") << "-9e999";
}

void TestRoundCents::sameAsBuiltInRound()
{
    QFETCH(QString, argument);
    QSqlQuery query;
    QVERIFY2(query.exec(QStringLiteral("SELECT round_cents(%1), round(%1 + 0.0000000001, 2)").arg(argument)),
             qPrintable(query.lastError().text()));
    QVERIFY(query.next());
    const QVariant ours = query.value(0);
    const QVariant builtIn = query.value(1);
    QCOMPARE(ours.isNull(), builtIn.isNull());
    QCOMPARE(ours.userType(), builtIn.userType());
    if (builtIn.isNull())
        return;
    const double expected = builtIn.toDouble();
    const double actual = ours.toDouble();
    QCOMPARE(std::signbit(actual), std::signbit(expected));
    QVERIFY(actual == expected || (std::isnan(actual) && std::isnan(expected)));
}

void TestRoundCents::installNeedsOpenConnection()
{
    QSqlDatabase closed = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("closed"));
    QString error;
    QVERIFY(!MRoundCents::install(closed, &error));
    QVERIFY(!error.isEmpty());
    closed = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("closed"));

    QSqlQuery query;
    QVERIFY(!query.exec(QStringLiteral("SELECT round_cents(1) FROM nowhere")));
}

INVOICE_TEST_MAIN(TestRoundCents)
#include "tst_roundcents.moc"
