#include "MTestDataEnvironment.h"
#include "MTestDatabase.h"
#include "data/MInvoiceNumbering.h"

#include <QTemporaryDir>
#include <QtTest>

// The number proposed for a new document, against documents stored by SQL.
class TestInvoiceNumbering : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nextNumber_data();
    void nextNumber();
    void sellerPeriod();

private:
    QTemporaryDir m_dir;
};

void TestInvoiceNumbering::init()
{
    static int serial = 0;
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1.db3").arg(++serial))));
}

void TestInvoiceNumbering::cleanup()
{
    MTestDatabase::close();
}

void TestInvoiceNumbering::nextNumber_data()
{
    QTest::addColumn<QStringList>("stored"); // "seller|kind|date_put|number"
    QTest::addColumn<int>("seller");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("period");
    QTest::addColumn<QDate>("issued");
    QTest::addColumn<int>("expected");

    const int month = MInvoiceNumbering::Monthly;
    const int year = MInvoiceNumbering::Yearly;
    const QStringList march {"1|0|2026-03-02 00:00:00|1", "1|0|2026-03-20 00:00:00|2"};
    const QStringList mixed {"1|0|2026-01-10 00:00:00|1", "1|3|2026-05-10 00:00:00|2", "1|0|2026-06-01 00:00:00|3"};
    const QStringList others {"1|0|2026-03-01 00:00:00|5", "1|2|2026-03-01 00:00:00|4", "1|1|2026-03-01 00:00:00|6",
                              "1|11|2026-03-01 00:00:00|3", "1|12|2026-03-01 00:00:00|2"};

    QTest::newRow("first of the month") << QStringList() << 1 << 0 << month << QDate(2026, 3, 15) << 1;
    QTest::newRow("second of the month") << QStringList {march.first()} << 1 << 0 << month << QDate(2026, 3, 15) << 2;
    QTest::newRow("next month starts again") << march << 1 << 0 << month << QDate(2026, 4, 1) << 1;
    QTest::newRow("same month after two") << march << 1 << 0 << month << QDate(2026, 3, 31) << 3;
    QTest::newRow("yearly VAT-MP shares with VAT") << mixed << 1 << 3 << year << QDate(2026, 7, 1) << 4;
    QTest::newRow("yearly final shares with VAT") << mixed << 1 << 23 << year << QDate(2026, 12, 31) << 4;
    QTest::newRow("correction starts at 1") << mixed << 1 << 2 << year << QDate(2026, 7, 1) << 1;
    QTest::newRow("corrections share")
        << QStringList {"1|2|2026-02-01 00:00:00|1", "1|16|2026-02-03 00:00:00|2"} << 1 << 24 << year
        << QDate(2026, 8, 1) << 3;
    QTest::newRow("pro-forma apart") << others << 1 << 1 << month << QDate(2026, 3, 9) << 7;
    QTest::newRow("bill apart") << others << 1 << 9 << month << QDate(2026, 3, 9) << 1;
    QTest::newRow("RR apart") << others << 1 << 11 << month << QDate(2026, 3, 9) << 4;
    QTest::newRow("RR correction apart") << others << 1 << 12 << month << QDate(2026, 3, 9) << 3;
    QTest::newRow("duplicate kind has no series") << others << 1 << 5 << month << QDate(2026, 3, 9) << 1;
    QTest::newRow("31 January") << QStringList {"1|0|2026-01-31 00:00:00|3"} << 1 << 0 << month
                                << QDate(2026, 1, 31) << 4;
    QTest::newRow("1 February") << QStringList {"1|0|2026-01-31 00:00:00|3"} << 1 << 0 << month
                                << QDate(2026, 2, 1) << 1;
    QTest::newRow("first of February counts for February")
        << QStringList {"1|0|2026-02-01 00:00:00|5"} << 1 << 0 << month << QDate(2026, 2, 20) << 6;
    QTest::newRow("first of February not for January")
        << QStringList {"1|0|2026-02-01 00:00:00|5"} << 1 << 0 << month << QDate(2026, 1, 20) << 1;
    QTest::newRow("December holds to the year's end")
        << QStringList {"1|0|2026-12-31 00:00:00|8"} << 1 << 0 << month << QDate(2026, 12, 1) << 9;
    QTest::newRow("new year starts again")
        << QStringList {"1|0|2026-12-31 00:00:00|8"} << 1 << 0 << year << QDate(2027, 1, 1) << 1;
    QTest::newRow("typed number raises the series")
        << QStringList {"1|0|2026-03-01 00:00:00|1", "1|0|2026-03-02 00:00:00|7"} << 1 << 0 << month
        << QDate(2026, 3, 3) << 8;
    QTest::newRow("other seller apart") << QStringList {"2|0|2026-03-01 00:00:00|9"} << 1 << 0 << month
                                        << QDate(2026, 3, 3) << 1;
    QTest::newRow("second seller's own series") << QStringList {"2|0|2026-03-01 00:00:00|9", "1|0|2026-03-01 00:00:00|2"}
                                                << 2 << 0 << month << QDate(2026, 3, 3) << 10;
    QTest::newRow("no period, no proposal") << march << 1 << 0 << 0 << QDate(2026, 3, 15) << 0;
    QTest::newRow("unknown period, no proposal") << march << 1 << 0 << 3 << QDate(2026, 3, 15) << 0;
}

void TestInvoiceNumbering::nextNumber()
{
    QFETCH(QStringList, stored);
    QFETCH(int, seller);
    QFETCH(int, kind);
    QFETCH(int, period);
    QFETCH(QDate, issued);
    QFETCH(int, expected);

    for (const QString& document : stored) {
        const QStringList values = document.split(QLatin1Char('|'));
        QVERIFY(MTestDatabase::insert(QStringLiteral("invoice"), {{"id_seller_base", values.at(0).toInt()},
                                                                  {"invoice_kind", values.at(1).toInt()},
                                                                  {"date_put", values.at(2)},
                                                                  {"invoice_index", values.at(3).toInt()}})
                > 0);
    }
    QCOMPARE(MInvoiceNumbering::nextNumber(seller, kind, period, issued), expected);
}

void TestInvoiceNumbering::sellerPeriod()
{
    const qint64 key = MTestDatabase::insert(QStringLiteral("__invoice_seller"),
                                             {{"id", 4}, {"id_invoice_index_format", 2}});
    QVERIFY(key > 0);
    QCOMPARE(MInvoiceNumbering::sellerPeriod(int(key), 1), 2);
    QCOMPARE(MInvoiceNumbering::sellerPeriod(int(key) + 1, 1), 1);
}

INVOICE_TEST_MAIN(TestInvoiceNumbering)
#include "tst_invoicenumbering.moc"
