#include "MTestDataEnvironment.h"
#include "data/MIdentifierCheck.h"

#include <QCoreApplication>
#include <QtTest>

class TestIdentifierCheck : public QObject
{
    Q_OBJECT

private slots:
    void bankAccount_data();
    void bankAccount();
    void nip_data();
    void nip();
};

void TestIdentifierCheck::bankAccount_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<bool>("valid");

    QTest::newRow("26 digits") << "61109010140000071219812874" << true;
    QTest::newRow("another valid number") << "27114020040000300201355387" << true;
    QTest::newRow("groups of four with blanks") << "61 1090 1014 0000 0712 1981 2874" << true;
    QTest::newRow("country letters in front") << "PL61 1090 1014 0000 0712 1981 2874" << true;
    QTest::newRow("small country letters and dashes") << "pl61-1090-1014-0000-0712-1981-2874" << true;
    QTest::newRow("one digit changed") << "61109010140000071219812875" << false;
    QTest::newRow("check digits swapped") << "16109010140000071219812874" << false;
    QTest::newRow("two neighbours swapped") << "61109010140000071219821874" << false;
    QTest::newRow("25 digits") << "6110901014000007121981287" << false;
    QTest::newRow("27 digits") << "611090101400000712198128740" << false;
    QTest::newRow("German IBAN") << "DE89 3704 0044 0532 0130 00" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters only") << "PL" << false;
}

void TestIdentifierCheck::bankAccount()
{
    QFETCH(QString, account);
    QFETCH(bool, valid);
    QCOMPARE(isBankAccountValid(account), valid);
}

void TestIdentifierCheck::nip_data()
{
    QTest::addColumn<QString>("nip");
    QTest::addColumn<bool>("valid");

    QTest::newRow("10 digits") << "1234563218" << true;
    QTest::newRow("another valid number") << "5260250274" << true;
    QTest::newRow("three-three-two-two with dashes") << "526-025-02-74" << true;
    QTest::newRow("three-two-two-three with dashes") << "774-00-01-454" << true;
    QTest::newRow("blanks and country letters") << "PL 526 025 02 74" << true;
    QTest::newRow("wrong check digit") << "1234563217" << false;
    QTest::newRow("remainder ten is never valid") << "1234563260" << false;
    QTest::newRow("ten zeros") << "000-000-00-00" << false;
    QTest::newRow("9 digits") << "526025027" << false;
    QTest::newRow("11 digits") << "52602502740" << false;
    QTest::newRow("empty") << "" << false;
}

void TestIdentifierCheck::nip()
{
    QFETCH(QString, nip);
    QFETCH(bool, valid);
    QCOMPARE(isNipValid(nip), valid);
}

INVOICE_TEST_MAIN(TestIdentifierCheck)
#include "tst_identifiercheck.moc"
