#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "data/MDataRepair.h"
#include "data/MDbOpening.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// An upgrade whose program is killed during the data repair: the next start
// must still carry out the migrations, once.
class TestKilledUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void nextStartCompletesTheMigrations();
};

void TestKilledUpgrade::nextStartCompletesTheMigrations()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Invoice.db3"));
    const QString tempPath = dir.path() + QLatin1Char('/');
    // A 2.11 database: its sellers' bank accounts move into seller_bank in the repair.
    QVERIFY(MTestDatabase::create(path, 2011));
    QVERIFY(MTestDatabase::connect(path));
    for (int id = 1; id <= 2; ++id)
        MTestDatabase::insert(QStringLiteral("seller"), {{"id", id},
                                                         {"firm", QStringLiteral("Sprzedawca %1").arg(id)},
                                                         {"bank", QStringLiteral("Bank %1").arg(id)},
                                                         {"bank_account", QStringLiteral("1234 %1").arg(id)}});
    // Its unit is added by the repair, before the migrations; the helper dies there.
    MTestDatabase::insert(QStringLiteral("product"), {{"name", QStringLiteral("Usługa")}, {"unit", QStringLiteral("godz.")}});
    MTestDatabase::close();

    QProcess killed;
    killed.start(QStringLiteral(UPGRADE_KILLED), {path, tempPath});
    QVERIFY(killed.waitForFinished(60000));
    QVERIFY2(killed.exitStatus() == QProcess::CrashExit,
             qPrintable(QStringLiteral("exit %1: %2").arg(killed.exitCode()).arg(QString::fromLocal8Bit(killed.readAllStandardError()))));

    MDataMessage failure;
    QVERIFY(MDbOpening::createConnection(path, &failure));
    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.11/2.11"));
    MDbOpening::Steps steps;
    steps.repairDb = [&tempPath](int numLastDb) { QVERIFY(MDataRepair::run(numLastDb, tempPath).ok()); };
    QCOMPARE(int(MDbOpening(tempPath, steps).open()), int(MDbOpening::Outcome::Opened));

    QCOMPARE(MTestDatabase::versionRow(), QStringLiteral("2.53/2.53"));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_seller, bank, bank_account, is_default FROM seller_bank "
                                                "ORDER BY id_seller")),
             (QStringList{"1|Bank 1|1234 1|1", "2|Bank 2|1234 2|1"}));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT name FROM product_unit")), QStringList{"godz."});
}

INVOICE_TEST_MAIN(TestKilledUpgrade)
#include "tst_killedupgrade.moc"
