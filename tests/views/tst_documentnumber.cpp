#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "data/MDocumentNumber.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

class TestDocumentNumber : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pattern_data();
    void pattern();
    void hugeWidthIsBounded();
    void numberFromSnapshotOrWorkingCopy_data();
    void numberFromSnapshotOrWorkingCopy();
    void numberOfSavedDocument_data();
    void numberOfSavedDocument();

private:
    void exec(const QString& sql);
    MTestDatabase m_db;
};

void TestDocumentNumber::exec(const QString& sql)
{
    QSqlQuery query;
    QVERIFY2(query.exec(sql), qPrintable(query.lastError().text() + QLatin1String(": ") + sql));
}

// Two sellers whose snapshot and working copy keys differ, so that reading the
// wrong table or key shows.
void TestDocumentNumber::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));

    const QString snapshot = QStringLiteral(
        "INSERT INTO invoice_seller (id, firm, invoice_index_format_text, time_create, time_modify) "
        "VALUES (%1, 'Firma', '%2', current_timestamp, current_timestamp)");
    exec(snapshot.arg(3).arg(QStringLiteral("FV/[nr]/[mm]/[rrrr]")));
    exec(snapshot.arg(4).arg(QStringLiteral("[nr|4]/[rr]")));
    exec(snapshot.arg(5).arg(QString()));
    exec(QStringLiteral("INSERT INTO __invoice_seller (__id, id, firm, invoice_index_format_text, time_create, "
                        "time_modify) VALUES (3, 4, 'Firma', 'K/[nr|3]/[m]', current_timestamp, current_timestamp)"));

    const QString document = QStringLiteral(
        "INSERT INTO invoice (id, id_seller, invoice_index, date_put, date_sell, date_pay, time_create, time_modify) "
        "VALUES (%1, %2, %3, '%4', '%4', '%4', current_timestamp, current_timestamp)");
    exec(document.arg(10).arg(3).arg(7).arg(QStringLiteral("2015-03-31 00:00:00")));
    exec(document.arg(11).arg(4).arg(7).arg(QStringLiteral("2019-11-01 00:00:00")));
    exec(document.arg(12).arg(4).arg(0).arg(QStringLiteral("2019-11-01 00:00:00")));
    exec(document.arg(13).arg(99).arg(1).arg(QStringLiteral("2019-11-01 00:00:00")));
}

void TestDocumentNumber::pattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("expected");

    QTest::newRow("number, month, full year") << "FV/[nr]/[mm]/[rrrr]" << 7 << 3 << 2015 << "FV/7/03/2015";
    QTest::newRow("padded number, two-digit year") << "[nr|4]/[rr]" << 7 << 3 << 2015 << "0007/15";
    QTest::newRow("longer number is not cut") << "[nr|2]" << 123 << 3 << 2015 << "123";
    QTest::newRow("month without zero, last year digit") << "[m].[r]" << 11 << 11 << 2019 << "11.9";
    QTest::newRow("month below ten") << "[m]|[mm]" << 1 << 9 << 2019 << "9|09";
    QTest::newRow("three year digits") << "[rrr]" << 1 << 1 << 2015 << "015";
    QTest::newRow("no token") << "Faktura" << 7 << 3 << 2015 << "Faktura";
    QTest::newRow("tokens repeated") << "[nr]-[nr]/[mm]/[mm]/[rr][rr]" << 5 << 10 << 2024 << "5-5/10/10/2424";
    QTest::newRow("plain and padded number") << "[nr]/[nr|3]" << 7 << 3 << 2015 << "7/007";
    QTest::newRow("same width token twice") << "[nr|3]/[nr|3]" << 7 << 3 << 2015 << "007/007";
    QTest::newRow("only the first width token is read") << "[nr|3]/[nr|5]" << 7 << 3 << 2015 << "007/[nr|5]";
    QTest::newRow("unreadable width pads nothing") << "A[nr|x]" << 7 << 3 << 2015 << "A7";
    QTest::newRow("negative width pads nothing") << "[nr|-3]" << 7 << 3 << 2015 << "7";
    QTest::newRow("width token without bracket") << "[nr|4" << 7 << 3 << 2015 << "[nr|4";
    QTest::newRow("capitals are no tokens") << "[NR]/[MM]/[RRRR]" << 7 << 3 << 2015 << "[NR]/[MM]/[RRRR]";
    QTest::newRow("Polish text kept") << "Rachunek nr [nr] z [rrrr] r." << 12 << 6 << 2020 << "Rachunek nr 12 z 2020 r.";
}

void TestDocumentNumber::pattern()
{
    QFETCH(QString, pattern);
    QFETCH(int, index);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(QString, expected);
    QCOMPARE(formatInvoiceNumber(pattern, index, month, year), expected);
}

void TestDocumentNumber::hugeWidthIsBounded()
{
    const QString number = formatInvoiceNumber(QStringLiteral("[nr|2000000000]"), 7, 1, 2020);
    QCOMPARE(number.size(), 256);
    QVERIFY(number.endsWith(QLatin1String("07")));
    QVERIFY(number.startsWith(QLatin1String("000")));
}

void TestDocumentNumber::numberFromSnapshotOrWorkingCopy_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("idSeller");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("expected");

    QTest::newRow("snapshot by its id") << 7 << 3 << true << "FV/7/03/2015";
    QTest::newRow("working copy by its __id") << 7 << 3 << false << "K/007/3";
    QTest::newRow("working copy not found") << 7 << 4 << false << "";
    QTest::newRow("snapshot not found") << 7 << 99 << true << "";
    QTest::newRow("empty pattern") << 7 << 5 << true << "";
    QTest::newRow("index zero") << 0 << 3 << true << "";
    QTest::newRow("seller zero") << 7 << 0 << true << "";
}

void TestDocumentNumber::numberFromSnapshotOrWorkingCopy()
{
    QFETCH(int, index);
    QFETCH(int, idSeller);
    QFETCH(bool, saved);
    QFETCH(QString, expected);
    QCOMPARE(invoiceNumber(index, idSeller, 3, 2015, saved), expected);
}

void TestDocumentNumber::numberOfSavedDocument_data()
{
    QTest::addColumn<int>("idInvoice");
    QTest::addColumn<QString>("expected");

    QTest::newRow("month and year of the issue date") << 10 << "FV/7/03/2015";
    QTest::newRow("padded, another year") << 11 << "0007/19";
    QTest::newRow("document without sequence number") << 12 << "";
    QTest::newRow("seller snapshot missing") << 13 << "";
    QTest::newRow("document missing") << 14 << "";
    QTest::newRow("id zero") << 0 << "";
}

void TestDocumentNumber::numberOfSavedDocument()
{
    QFETCH(int, idInvoice);
    QFETCH(QString, expected);
    QCOMPARE(invoiceNumberById(idInvoice), expected);
}

INVOICE_TEST_MAIN(TestDocumentNumber)
#include "tst_documentnumber.moc"
