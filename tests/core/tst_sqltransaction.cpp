#include "MTestDataEnvironment.h"
#include "MTestDatabase.h"
#include "data/MSqlTransaction.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// Work run as a whole or not at all, alone and inside a transaction already
// open, on a schema-script database.
class TestSqlTransaction : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void workInsideOrAlone_data();
    void workInsideOrAlone();

private:
    QTemporaryDir m_dir;
};

namespace {

// Writes join rows 2 and 3; a failing work gives row 3 a key already taken.
QString work(bool fails)
{
    QSqlQuery query;
    const QString error = MSqlTransaction::exec(query, QStringLiteral("INSERT INTO __invoice_join (id) VALUES (2)"));
    if (!error.isEmpty())
        return error;
    return MSqlTransaction::exec(query, fails ? QStringLiteral("INSERT INTO __invoice_join (__id, id) SELECT "
                                                               "min(__id), 3 FROM __invoice_join")
                                              : QStringLiteral("INSERT INTO __invoice_join (id) VALUES (3)"));
}

QString joinIds()
{
    return MTestDatabase::rows(QStringLiteral("SELECT id FROM __invoice_join ORDER BY id")).join(QLatin1Char(','));
}

} // namespace

void TestSqlTransaction::init()
{
    static int serial = 0;
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1.db3").arg(++serial))));
}

void TestSqlTransaction::cleanup()
{
    MTestDatabase::close();
}

void TestSqlTransaction::workInsideOrAlone_data()
{
    // "outer" is what holds the work: nothing, a transaction begun by hand or
    // another run; the outer one first writes row 1, then keeps or drops all.
    QTest::addColumn<QString>("outer");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("outerKeeps");
    QTest::addColumn<QString>("kept");

    QTest::newRow("alone") << "none" << false << true << "2,3";
    QTest::newRow("alone, failing") << "none" << true << true << "";
    QTest::newRow("in a transaction committed") << "transaction" << false << true << "1,2,3";
    QTest::newRow("failing in a transaction committed") << "transaction" << true << true << "1";
    QTest::newRow("in a transaction rolled back") << "transaction" << false << false << "";
    QTest::newRow("failing in a transaction rolled back") << "transaction" << true << false << "";
    QTest::newRow("in a run that succeeds") << "run" << false << true << "1,2,3";
    QTest::newRow("failing in a run that succeeds") << "run" << true << true << "1";
    QTest::newRow("in a run that fails later") << "run" << false << false << "";
    QTest::newRow("failing in a run that fails later") << "run" << true << false << "";
}

void TestSqlTransaction::workInsideOrAlone()
{
    QFETCH(QString, outer);
    QFETCH(bool, fails);
    QFETCH(bool, outerKeeps);
    QFETCH(QString, kept);

    bool ran = false;
    QString error;
    auto runWork = [&] { ran = MSqlTransaction::run([&] { return work(fails); }, &error); };
    auto outerWork = [&] {
        QSqlQuery query;
        const QString outerError =
            MSqlTransaction::exec(query, QStringLiteral("INSERT INTO __invoice_join (id) VALUES (1)"));
        if (!outerError.isEmpty())
            return outerError;
        runWork();
        return outerKeeps ? QString() : QStringLiteral("the outer work stops");
    };

    QSqlDatabase db = QSqlDatabase::database();
    if (outer == QLatin1String("none")) {
        runWork();
    } else if (outer == QLatin1String("transaction")) {
        QVERIFY(db.transaction());
        outerWork();
        QVERIFY(outerKeeps ? db.commit() : db.rollback());
    } else {
        QCOMPARE(MSqlTransaction::run(outerWork), outerKeeps);
    }

    QCOMPARE(ran, !fails);
    QCOMPARE(error.isEmpty(), !fails);
    QCOMPARE(joinIds(), kept);
    // Nothing is left open: a new transaction can begin.
    QVERIFY(db.transaction());
    QVERIFY(db.rollback());
}

INVOICE_TEST_MAIN(TestSqlTransaction)
#include "tst_sqltransaction.moc"
