#include "MTestDataEnvironment.h"
#include "MTestDatabase.h"
#include "data/MInvoiceSummary.h"

#include <QTemporaryDir>
#include <QtTest>

// The editor's totals over working lines written by SQL, to the cent.
class TestInvoiceSummary : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rates_data();
    void rates();
    void advanceSum_data();
    void advanceSum();
    void readAmount_data();
    void readAmount();

private:
    QTemporaryDir m_dir;
};

namespace {

// A working line with its product copy: "rate name|rate|net base (1/0)|line net|line gross|line VAT".
int addLine(const QString& line)
{
    const QStringList v = line.split(QLatin1Char('|'));
    const qint64 product = MTestDatabase::insert(
        QStringLiteral("__invoice_product"),
        {{"id", 1}, {"name", "Towar"}, {"vat_text", v.at(0)}, {"vat", v.at(1)}, {"count_from_netto", v.at(2)}});
    return int(MTestDatabase::insert(QStringLiteral("__invoice_product_misc"), {{"id", 1},
                                                                                {"id_product", product},
                                                                                {"amount", 1},
                                                                                {"netto_price", v.at(3)},
                                                                                {"brutto_price", v.at(4)},
                                                                                {"vat_price", v.at(5)}}));
}

QString cents(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

void TestInvoiceSummary::init()
{
    static int serial = 0;
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1.db3").arg(++serial))));
}

void TestInvoiceSummary::cleanup()
{
    MTestDatabase::close();
}

void TestInvoiceSummary::rates_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("grossBase");
    QTest::addColumn<int>("method");
    QTest::addColumn<QStringList>("expected"); // "vat id: net / gross / VAT" per rate
    QTest::addColumn<QString>("gross");

    const int rows = MInvoiceSummary::SumRows;
    const int end = MInvoiceSummary::AtTheEnd;
    const QString net100 = QStringLiteral("23%|23|1|100.00|123.00|23.00");
    const QStringList threeNet100 {net100, net100, net100};
    const QString gross10 = QStringLiteral("8%|8|0|9.26|10.00|0.74");
    const QString net010 = QStringLiteral("23%|23|1|0.10|0.12|0.02");
    const QString gross1 = QStringLiteral("23%|23|0|0.81|1.00|0.19");

    QTest::newRow("3 x 100.00 net at 23%, rows") << threeNet100 << false << rows << QStringList {"24: 300.00 / 369.00 / 69.00"}
                                                 << "369.00";
    QTest::newRow("3 x 100.00 net at 23%, at the end")
        << threeNet100 << false << end << QStringList {"24: 300.00 / 369.00 / 69.00"} << "369.00";
    QTest::newRow("2 x 10.00 gross at 8%, at the end")
        << QStringList {gross10, gross10} << true << end << QStringList {"9: 18.52 / 20.00 / 1.48"} << "20.00";
    QTest::newRow("3 x 0.10 net, rows keep the rows' cents")
        << QStringList {net010, net010, net010} << false << rows << QStringList {"24: 0.30 / 0.36 / 0.06"} << "0.36";
    QTest::newRow("3 x 0.10 net, at the end rounds once")
        << QStringList {net010, net010, net010} << false << end << QStringList {"24: 0.30 / 0.37 / 0.07"} << "0.37";
    QTest::newRow("3 x 1.00 gross, rows") << QStringList {gross1, gross1, gross1} << true << rows
                                          << QStringList {"24: 2.43 / 3.00 / 0.57"} << "3.00";
    QTest::newRow("3 x 1.00 gross, at the end") << QStringList {gross1, gross1, gross1} << true << end
                                                << QStringList {"24: 2.44 / 3.00 / 0.56"} << "3.00";
    QTest::newRow("two rates") << QStringList {net100, gross10, net100} << false << rows
                               << QStringList {"9: 9.26 / 10.00 / 0.74", "24: 200.00 / 246.00 / 46.00"} << "256.00";
    QTest::newRow("rate without a row counts apart")
        << QStringList {net100, QStringLiteral("7,5%|7.5|1|10.00|10.75|0.75")} << false << end
        << QStringList {"0: 10.00 / 10.75 / 0.75", "24: 100.00 / 123.00 / 23.00"} << "133.75";
    QTest::newRow("no lines") << QStringList() << false << end << QStringList() << "0.00";
}

void TestInvoiceSummary::rates()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, grossBase);
    QFETCH(int, method);
    QFETCH(QStringList, expected);
    QFETCH(QString, gross);

    // A line outside the document must not count.
    QVERIFY(addLine(QStringLiteral("23%|23|1|1000.00|1230.00|230.00")) > 0);
    QList<int> keys;
    for (const QString& line : lines) {
        keys << addLine(line);
        QVERIFY(keys.last() > 0);
    }
    const QVector<MInvoiceSummary::Rate> rates = MInvoiceSummary::rates(keys, grossBase, method);
    QStringList found;
    for (const MInvoiceSummary::Rate& rate : rates)
        found << QStringLiteral("%1: %2 / %3 / %4")
                     .arg(rate.vatId)
                     .arg(cents(rate.netto), cents(rate.brutto), cents(rate.vat));
    QCOMPARE(found, expected);
    QCOMPARE(cents(MInvoiceSummary::brutto(rates)), gross);
}

void TestInvoiceSummary::advanceSum_data()
{
    QTest::addColumn<QStringList>("parts"); // brutto_part of each joined document, "-" for a missing document
    QTest::addColumn<double>("expected");

    QTest::newRow("nothing joined") << QStringList() << 0.0;
    QTest::newRow("one advance") << QStringList {"100.50"} << 100.5;
    QTest::newRow("two advances") << QStringList {"100.50", "200"} << 300.5;
    QTest::newRow("missing document counts nothing") << QStringList {"-", "50"} << 50.0;
    QTest::newRow("only missing documents") << QStringList {"-"} << 0.0;
}

void TestInvoiceSummary::advanceSum()
{
    QFETCH(QStringList, parts);
    QFETCH(double, expected);

    // A join row of another editor must not count.
    const qint64 foreign = MTestDatabase::insert(QStringLiteral("invoice"), {{"brutto_part", 1000}});
    QVERIFY(MTestDatabase::insert(QStringLiteral("__invoice_join"), {{"id_invoice_join", foreign}}) > 0);
    QList<int> keys;
    for (const QString& part : parts) {
        const qint64 invoice =
            part == QLatin1String("-") ? 999 : MTestDatabase::insert(QStringLiteral("invoice"), {{"brutto_part", part}});
        keys << int(MTestDatabase::insert(QStringLiteral("__invoice_join"), {{"id_invoice_join", invoice}}));
        QVERIFY(keys.last() > 0);
    }
    QCOMPARE(MInvoiceSummary::advanceSum(keys), expected);
}

void TestInvoiceSummary::readAmount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("decimal comma") << "100,5" << 100.5;
    QTest::newRow("decimal point") << "100.50" << 100.5;
    QTest::newRow("whole") << "369" << 369.0;
    QTest::newRow("negative") << "-2,25" << -2.25;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("not a number") << "sto" << 0.0;
    QTest::newRow("two separators") << "1.000,00" << 0.0;
}

void TestInvoiceSummary::readAmount()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(MInvoiceSummary::readAmount(text), expected);
}

INVOICE_TEST_MAIN(TestInvoiceSummary)
#include "tst_invoicesummary.moc"
