#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "parties/MSellerBankRows.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

// The seller's bank accounts as working rows: copied in with their default, changed
// only in __seller_bank, and written back to seller_bank as a whole or not at all.
class TestSellerBankRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void copyInKeepsTheMarkedDefault_data();
    void copyInKeepsTheMarkedDefault();
    void setDefaultMarksOnlyTheChosenRow();
    void deletingTheDefaultMovesItToARemainingAccount_data();
    void deletingTheDefaultMovesItToARemainingAccount();
    void writeBackReplacesAccountsAndIgnoresForeignRows();
    void failedWriteBackRollsBackToTheStoredAccounts();
    void failedCopyInNeverReplacesTheStoredAccounts();

private:
    static void addAccount(int idSeller, const QString& bank, const QString& account, bool isDefault);
    static QStringList storedAccounts(int idSeller);
    static int workingId(const QString& bank);

    MTestDatabase m_db;
};

void TestSellerBankRows::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
}

void TestSellerBankRows::init()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("DELETE FROM seller_bank")));
    QVERIFY(query.exec(QStringLiteral("DELETE FROM __seller_bank")));
    QVERIFY(query.exec(QStringLiteral("DROP TRIGGER IF EXISTS temp.refuse")));
}

void TestSellerBankRows::addAccount(int idSeller, const QString& bank, const QString& account, bool isDefault)
{
    MTestDatabase::insert(QStringLiteral("seller_bank"), {{QStringLiteral("id_seller"), idSeller},
                                                          {QStringLiteral("bank"), bank},
                                                          {QStringLiteral("bank_account"), account},
                                                          {QStringLiteral("is_default"), isDefault ? 1 : 0}});
}

// "bank|account|is_default" of each stored account, in bank order.
QStringList TestSellerBankRows::storedAccounts(int idSeller)
{
    return MTestDatabase::rows(QStringLiteral("SELECT bank, bank_account, is_default FROM seller_bank "
                                              "WHERE id_seller = %1 ORDER BY bank")
                                   .arg(idSeller));
}

int TestSellerBankRows::workingId(const QString& bank)
{
    return MTestDatabase::value(QStringLiteral("SELECT MAX(__id) FROM __seller_bank WHERE bank = '%1'").arg(bank)).toInt();
}

void TestSellerBankRows::copyInKeepsTheMarkedDefault_data()
{
    QTest::addColumn<int>("marked");
    QTest::addColumn<QString>("defaultBank");

    QTest::newRow("second account marked") << 1 << QStringLiteral("Bank B");
    QTest::newRow("none marked: the lowest") << -1 << QStringLiteral("Bank A");
}

void TestSellerBankRows::copyInKeepsTheMarkedDefault()
{
    QFETCH(int, marked);
    QFETCH(QString, defaultBank);
    const QStringList banks = {QStringLiteral("Bank A"), QStringLiteral("Bank B"), QStringLiteral("Bank C")};
    for (int i = 0; i < banks.size(); ++i)
        addAccount(2, banks.at(i), QStringLiteral("konto ") + QString::number(i), i == marked);
    addAccount(3, QStringLiteral("Obcy"), QStringLiteral("99"), true);

    MSellerBankRows rows;
    QString error;
    QVERIFY2(rows.copyIn(2, &error), qPrintable(error));

    QCOMPARE(rows.ids().size(), 3);
    QCOMPARE(rows.idText(), QStringLiteral("0,%1,%2,%3").arg(rows.ids().at(0)).arg(rows.ids().at(1)).arg(rows.ids().at(2)));
    QCOMPARE(rows.defaultId(), workingId(defaultBank));
    QString bank;
    QString account;
    rows.defaultAccount(&bank, &account);
    QCOMPARE(bank, defaultBank);
    QCOMPARE(account, QStringLiteral("konto ") + QString::number(banks.indexOf(defaultBank)));
}

void TestSellerBankRows::setDefaultMarksOnlyTheChosenRow()
{
    addAccount(2, QStringLiteral("Bank A"), QStringLiteral("1"), true);
    addAccount(2, QStringLiteral("Bank B"), QStringLiteral("2"), false);
    MSellerBankRows rows;
    QVERIFY(rows.copyIn(2, nullptr));

    QVERIFY(rows.setDefault(workingId(QStringLiteral("Bank B")), nullptr));
    QCOMPARE(rows.defaultId(), workingId(QStringLiteral("Bank B")));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT group_concat(bank || is_default, ';') FROM "
                                                 "(SELECT bank, is_default FROM __seller_bank ORDER BY __id)"))
                 .toString(),
             QStringLiteral("Bank A0;Bank B1"));
    // Working rows only: the stored accounts wait for the seller's save.
    QCOMPARE(storedAccounts(2), QStringList({QStringLiteral("Bank A|1|1"), QStringLiteral("Bank B|2|0")}));
}

void TestSellerBankRows::deletingTheDefaultMovesItToARemainingAccount_data()
{
    QTest::addColumn<bool>("marked");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("marked default deleted")
        << true << QStringList({QStringLiteral("Bank A|1|0"), QStringLiteral("Bank C|3|1")});
    QTest::newRow("lowest as default deleted")
        << false << QStringList({QStringLiteral("Bank A|1|0"), QStringLiteral("Bank C|3|0")});
}

void TestSellerBankRows::deletingTheDefaultMovesItToARemainingAccount()
{
    QFETCH(bool, marked);
    QFETCH(QStringList, stored);
    addAccount(2, QStringLiteral("Bank B"), QStringLiteral("2"), marked);
    addAccount(2, QStringLiteral("Bank C"), QStringLiteral("3"), false);
    addAccount(2, QStringLiteral("Bank A"), QStringLiteral("1"), false);
    MSellerBankRows rows;
    QVERIFY(rows.copyIn(2, nullptr));
    QCOMPARE(rows.defaultId(), workingId(QStringLiteral("Bank B")));

    QString error;
    QVERIFY2(rows.remove({workingId(QStringLiteral("Bank B"))}, &error), qPrintable(error));

    QCOMPARE(rows.defaultId(), workingId(QStringLiteral("Bank C")));
    QString bank;
    QString account;
    rows.defaultAccount(&bank, &account);
    QCOMPARE(bank, QStringLiteral("Bank C"));
    QCOMPARE(account, QStringLiteral("3"));

    QSqlDatabase db = QSqlDatabase::database();
    QVERIFY(db.transaction());
    QVERIFY(rows.writeBack(2, &error));
    QVERIFY(db.commit());
    QCOMPARE(storedAccounts(2), stored);

    QVERIFY(rows.remove(rows.ids(), &error));
    QVERIFY(rows.isEmpty());
    QCOMPARE(rows.defaultId(), 0);
    rows.defaultAccount(&bank, &account);
    QVERIFY(bank.isEmpty() && account.isEmpty());
}

void TestSellerBankRows::writeBackReplacesAccountsAndIgnoresForeignRows()
{
    addAccount(2, QStringLiteral("Bank A"), QStringLiteral("1"), true);
    MSellerBankRows rows;
    QVERIFY(rows.copyIn(2, nullptr));
    QSqlQuery query;
    // A row that another seller dialog left behind.
    QVERIFY(query.exec(QStringLiteral("INSERT INTO __seller_bank (bank, bank_account) VALUES ('Cudzy', '7')")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO __seller_bank (bank, bank_account) VALUES ('Bank D', '4')")));
    rows.add(query.lastInsertId().toInt());

    QSqlDatabase db = QSqlDatabase::database();
    QVERIFY(db.transaction());
    QString error;
    QVERIFY2(rows.writeBack(2, &error), qPrintable(error));
    QVERIFY(db.commit());
    QCOMPARE(storedAccounts(2), QStringList({QStringLiteral("Bank A|1|1"), QStringLiteral("Bank D|4|0")}));
}

void TestSellerBankRows::failedWriteBackRollsBackToTheStoredAccounts()
{
    addAccount(2, QStringLiteral("Bank A"), QStringLiteral("1"), true);
    addAccount(2, QStringLiteral("Bank B"), QStringLiteral("2"), false);
    MSellerBankRows rows;
    QVERIFY(rows.copyIn(2, nullptr));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE INSERT ON seller_bank "
                                      "WHEN NEW.bank = 'Bank B' BEGIN SELECT RAISE(ABORT, 'odmowa'); END")));

    QSqlDatabase db = QSqlDatabase::database();
    QVERIFY(db.transaction());
    QString error;
    QVERIFY(!rows.writeBack(2, &error));
    QVERIFY(error.contains(QStringLiteral("odmowa")));
    QVERIFY(db.rollback());
    QCOMPARE(storedAccounts(2), QStringList({QStringLiteral("Bank A|1|1"), QStringLiteral("Bank B|2|0")}));
}

void TestSellerBankRows::failedCopyInNeverReplacesTheStoredAccounts()
{
    addAccount(2, QStringLiteral("Bank A"), QStringLiteral("1"), true);
    addAccount(2, QStringLiteral("Bank B"), QStringLiteral("2"), false);
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE INSERT ON __seller_bank "
                                      "WHEN NEW.bank = 'Bank B' BEGIN SELECT RAISE(ABORT, 'odmowa'); END")));

    MSellerBankRows rows;
    QString error;
    QVERIFY(!rows.copyIn(2, &error));
    QVERIFY(rows.isEmpty());
    QCOMPARE(MTestDatabase::count(QStringLiteral("__seller_bank")), 0);

    QSqlDatabase db = QSqlDatabase::database();
    QVERIFY(db.transaction());
    QVERIFY(rows.writeBack(2, &error));
    QVERIFY(db.commit());
    QCOMPARE(storedAccounts(2), QStringList({QStringLiteral("Bank A|1|1"), QStringLiteral("Bank B|2|0")}));
}

INVOICE_TEST_MAIN(TestSellerBankRows)
#include "tst_sellerbankrows.moc"
