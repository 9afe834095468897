#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "data/MRecompute.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The amounts of documents recomputed from their stored inputs, to the cent,
// on documents written into a database made by the schema script. Money is
// given as text ("10.00") the way imported files carry it, so that whole
// amounts are stored as integers, as they are in real databases.
class TestRecompute : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lineValues_data();
    void lineValues();
    void linesOutsideTheRulesAreLeftAlone();
    void summaryMethods_data();
    void summaryMethods();
    void summaryRowPerRate();
    void rateNamedTwiceCountsOnce();
    void documentWithoutLinesKeepsItsTotals();
    void advanceParts_data();
    void advanceParts();
    void productPricesFollowTheirBasis();
    void oneDocumentLeavesTheOthers();

private:
    static qint64 document(int kind, int summaryCount = 0, qint64 rating = 0, const QString& bruttoPart = "0");
    static qint64 product(bool fromNetto, const QString& netto, const QString& brutto, int vat,
                          const QString& profit = "0");
    static qint64 line(qint64 document, qint64 product, const QString& amount, const QString& reduct = "0",
                       bool percent = true);
    static qint64 rating(int amountFrom, const QString& value);

    QTemporaryDir m_dir;
};

namespace {

QString money(const QString& columns, const QString& from)
{
    QStringList parts;
    for (const QString& column : columns.split(QLatin1Char(',')))
        parts << QStringLiteral("printf('%.2f', ") + column.trimmed() + QLatin1Char(')');
    return QStringLiteral("SELECT ") + parts.join(QStringLiteral(" || '|' || ")) + QStringLiteral(" FROM ") + from;
}

const QString lineColumns = QStringLiteral(
    "netto_price, brutto_price, vat_price, netto_rating_price, brutto_rating_price, vat_rating_price");
const QString totalColumns = QStringLiteral(
    "global_netto, global_brutto, global_vat, global_netto_rating, global_brutto_rating, global_vat_rating");
const QString partColumns = QStringLiteral(
    "netto_part_price, brutto_part_price, vat_part_price, netto_part_rating_price, brutto_part_rating_price, "
    "vat_part_rating_price");
const QString partTotalColumns = QStringLiteral(
    "global_netto_part, global_brutto_part, global_vat_part, global_netto_part_rating, global_brutto_part_rating, "
    "global_vat_part_rating");

QString recomputeAll()
{
    QSqlQuery("begin");
    const MRecompute::Result result = MRecompute::recomputeAll();
    QSqlQuery("commit");
    return result.ok() ? QString() : result.firstError;
}

} // namespace

void TestRecompute::init()
{
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1-%2.db3")
                                                 .arg(QTest::currentTestFunction())
                                                 .arg(QString::fromLatin1(QTest::currentDataTag())))));
}

void TestRecompute::cleanup()
{
    MTestDatabase::close();
}

qint64 TestRecompute::document(int kind, int summaryCount, qint64 rating, const QString& bruttoPart)
{
    return MTestDatabase::insert(QStringLiteral("invoice"), {{"invoice_kind", kind},
                                                          {"summary_count", summaryCount},
                                                          {"id_currency_rating", rating},
                                                          {"brutto_part", bruttoPart},
                                                          {"global_netto", "999"},
                                                          {"global_brutto", "999"}});
}

qint64 TestRecompute::product(bool fromNetto, const QString& netto, const QString& brutto, int vat,
                              const QString& profit)
{
    return MTestDatabase::insert(QStringLiteral("invoice_product"),
                              {{"name", "towar"},
                               {"count_from_netto", fromNetto ? 1 : 0},
                               {"netto_price", netto},
                               {"brutto_price", brutto},
                               {"vat", vat},
                               {"vat_text", QString(QString::number(vat) + QLatin1Char('%'))},
                               {"profit_brutto", profit}});
}

qint64 TestRecompute::line(qint64 document, qint64 product, const QString& amount, const QString& reduct,
                           bool percent)
{
    return MTestDatabase::insert(QStringLiteral("invoice_product_misc"), {{"id_invoice", document},
                                                                       {"id_product", product},
                                                                       {"amount", amount},
                                                                       {"reduct", reduct},
                                                                       {"reduct_percent", percent ? 1 : 0}});
}

qint64 TestRecompute::rating(int amountFrom, const QString& value)
{
    return MTestDatabase::insert(QStringLiteral("invoice_currency_rating"),
                              {{"currency_amount_from", amountFrom}, {"currency_value", value}});
}

void TestRecompute::lineValues_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("fromNetto");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("profit");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("reduct");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<int>("ratingUnits"); // 0: no rating snapshot
    QTest::addColumn<QString>("ratingValue");
    QTest::addColumn<QString>("expected"); // net|gross|VAT|net rating|gross rating|VAT rating

    QTest::newRow("net, per-cent discount") << 0 << true << "10.00" << "0" << "3" << "5" << true << 0 << ""
                                            << "28.50|35.06|6.56|28.50|35.06|6.56";
    QTest::newRow("net, amount discount") << 0 << true << "10.00" << "0" << "3" << "0.50" << false << 0 << ""
                                          << "28.50|35.06|6.56|28.50|35.06|6.56";
    QTest::newRow("gross, no discount") << 0 << false << "123.00" << "0" << "1" << "0" << true << 0 << ""
                                        << "100.00|123.00|23.00|100.00|123.00|23.00";
    QTest::newRow("gross, per-cent discount") << 0 << false << "123.00" << "0" << "2" << "10" << true << 0 << ""
                                              << "180.00|221.40|41.40|180.00|221.40|41.40";
    QTest::newRow("gross, amount discount") << 0 << false << "123.00" << "0" << "2" << "3" << false << 0 << ""
                                            << "195.12|240.00|44.88|195.12|240.00|44.88";
    QTest::newRow("margin: VAT from the undiscounted margin")
        << 27 << false << "123.00" << "23.00" << "2" << "10" << true << 0 << ""
        << "180.00|221.40|8.60|180.00|221.40|8.60";
    QTest::newRow("margin correction") << 28 << false << "123.00" << "23.00" << "2" << "0" << true << 0 << ""
                                       << "200.00|246.00|8.60|200.00|246.00|8.60";
    QTest::newRow("net line of a margin document has ordinary VAT")
        << 27 << true << "100.00" << "23.00" << "1" << "0" << true << 0 << ""
        << "100.00|123.00|23.00|100.00|123.00|23.00";
    QTest::newRow("100 JPY = 4 PLN on a whole 10.00 line") << 0 << true << "10.00" << "0" << "1" << "0" << true
                                                           << 100 << "4" << "10.00|12.30|2.30|0.40|0.49|0.09";
    QTest::newRow("whole rating, amount discount, gross line") << 0 << false << "123.00" << "0" << "1" << "3" << false
                                                               << 100 << "4" << "97.56|120.00|22.44|3.90|4.80|0.90";
    QTest::newRow("non-whole rating 4.3123") << 0 << true << "10.00" << "0" << "3" << "0" << true << 1 << "4.3123"
                                             << "30.00|36.90|6.90|129.37|159.13|29.76";
    QTest::newRow("margin in foreign currency") << 27 << false << "123.00" << "23.00" << "1" << "0" << true << 1
                                                << "4.5" << "100.00|123.00|4.30|450.00|553.50|19.35";
    QTest::newRow("rating of 0 units gives no rating values") << 0 << true << "10.00" << "0" << "1" << "0" << true
                                                              << -1 << "4" << "10.00|12.30|2.30|0.00|0.00|0.00";
}

void TestRecompute::lineValues()
{
    QFETCH(int, kind);
    QFETCH(bool, fromNetto);
    QFETCH(QString, price);
    QFETCH(QString, profit);
    QFETCH(QString, amount);
    QFETCH(QString, reduct);
    QFETCH(bool, percent);
    QFETCH(int, ratingUnits);
    QFETCH(QString, ratingValue);
    QFETCH(QString, expected);

    const qint64 idRating = ratingUnits == 0 ? 0 : rating(qMax(ratingUnits, 0), ratingValue);
    const qint64 idDocument = document(kind, 0, idRating);
    // The other price is stale on purpose: the basis price decides.
    const qint64 idProduct = fromNetto ? product(true, price, "1", 23, profit) : product(false, "1", price, 23, profit);
    const qint64 idLine = line(idDocument, idProduct, amount, reduct, percent);

    QCOMPARE(recomputeAll(), QString());
    QCOMPARE(MTestDatabase::rows(money(lineColumns, QStringLiteral("invoice_product_misc WHERE id = %1").arg(idLine))),
             QStringList{expected});
    // One line, one rate: the summary row and the totals repeat the line.
    QCOMPARE(MTestDatabase::rows(money(lineColumns, QStringLiteral("invoice_summary_vat WHERE id_invoice = %1")
                                                     .arg(idDocument))),
             QStringList{expected});
    QCOMPARE(MTestDatabase::rows(money(totalColumns, QStringLiteral("invoice WHERE id = %1").arg(idDocument))),
             QStringList{expected});
}

void TestRecompute::linesOutsideTheRulesAreLeftAlone()
{
    const qint64 idDocument = document(0);
    const qint64 net = product(true, "10", "0", 23);
    const qint64 gross = product(false, "0", "10", 23);
    const qint64 unknownDiscount = line(idDocument, net, "1");
    line(idDocument, 9999, "1"); // no product snapshot
    line(9999, gross, "1");      // gross-based, without its document
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("UPDATE invoice_product_misc SET reduct_percent = 2 WHERE id = %1")
                           .arg(unknownDiscount)));
    QVERIFY(query.exec(QStringLiteral("UPDATE invoice_product_misc SET netto_price = 7.123, brutto_price = 8, "
                                      "vat_price = 1, netto_rating_price = 2, brutto_rating_price = 3, "
                                      "vat_rating_price = 4.005")));

    QCOMPARE(recomputeAll(), QString());
    // Kept, only rounded.
    const QString kept = QStringLiteral("7.12|8.00|1.00|2.00|3.00|4.01");
    QCOMPARE(MTestDatabase::rows(money(lineColumns, QStringLiteral("invoice_product_misc ORDER BY id"))),
             (QStringList{kept, kept, kept}));
}

void TestRecompute::summaryMethods_data()
{
    QTest::addColumn<bool>("fromNetto");
    QTest::addColumn<QString>("price");
    QTest::addColumn<int>("summaryCount");
    QTest::addColumn<QString>("expected"); // net|gross|VAT of the summary and of the document

    // Three net lines of 0.10 are 0.12 gross each; from the summed net 0.30 the gross is 0.37.
    QTest::newRow("net lines, sum of lines") << true << "0.10" << 0 << "0.30|0.36|0.06";
    QTest::newRow("net lines, from summed net") << true << "0.10" << 1 << "0.30|0.37|0.07";
    // Three gross lines of 1.00 are 0.81 net each; from the summed gross 3.00 the net is 2.44.
    QTest::newRow("gross lines, sum of lines") << false << "1.00" << 0 << "2.43|3.00|0.57";
    QTest::newRow("gross lines, from summed gross") << false << "1.00" << 1 << "2.44|3.00|0.56";
}

void TestRecompute::summaryMethods()
{
    QFETCH(bool, fromNetto);
    QFETCH(QString, price);
    QFETCH(int, summaryCount);
    QFETCH(QString, expected);

    const qint64 idDocument = document(0, summaryCount, rating(1, "2"));
    for (int i = 0; i < 3; ++i)
        line(idDocument, fromNetto ? product(true, price, "0", 23) : product(false, "0", price, 23), "1");

    QCOMPARE(recomputeAll(), QString());
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("netto_price, brutto_price, vat_price, id_vat"),
                                    QStringLiteral("invoice_summary_vat WHERE id_invoice = %1").arg(idDocument))),
             QStringList{expected + QStringLiteral("|24.00")});
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("global_netto, global_brutto, global_vat"),
                                    QStringLiteral("invoice WHERE id = %1").arg(idDocument))),
             QStringList{expected});
}

void TestRecompute::summaryRowPerRate()
{
    const qint64 idDocument = document(0);
    line(idDocument, product(true, "100", "0", 23), "1");
    line(idDocument, product(true, "50", "0", 23), "2");
    line(idDocument, product(true, "10", "0", 8), "1");
    const qint64 unknownRate = product(true, "10", "0", 5);
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("UPDATE invoice_product SET vat_text = 'no such rate' WHERE id = %1")
                           .arg(unknownRate)));
    line(idDocument, unknownRate, "1");
    // Summary rows of the previous computation are replaced, not added to.
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{"id_invoice", idDocument}, {"netto_price", 5}});

    QCOMPARE(recomputeAll(), QString());
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("id_vat, netto_price, brutto_price, vat_price"),
                                    QStringLiteral("invoice_summary_vat ORDER BY id_vat"))),
             (QStringList{"0.00|10.00|10.50|0.50", "9.00|10.00|10.80|0.80", "24.00|200.00|246.00|46.00"}));
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("global_netto, global_brutto, global_vat"),
                                    QStringLiteral("invoice"))),
             QStringList{"220.00|267.30|47.30"});
}

// A VAT rate whose name is stored twice: the first row takes the lines, and
// the lines are neither doubled nor refused.
void TestRecompute::rateNamedTwiceCountsOnce()
{
    const qint64 idDocument = document(0);
    line(idDocument, product(true, "100", "0", 23), "1");
    const QString first = MTestDatabase::value(QStringLiteral("SELECT min(id) FROM vat WHERE name = '23%'")).toString();
    QVERIFY(!first.isEmpty());
    MTestDatabase::insert(QStringLiteral("vat"), {{"name", "23%"}, {"val", 23}});

    QCOMPARE(recomputeAll(), QString());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_vat || '|' || printf('%.2f|%.2f', netto_price, brutto_price) "
                                                "FROM invoice_summary_vat")),
             QStringList{first + QStringLiteral("|100.00|123.00")});
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("netto_price, brutto_price"), QStringLiteral("invoice_product_misc"))),
             QStringList{"100.00|123.00"});
}

void TestRecompute::documentWithoutLinesKeepsItsTotals()
{
    const qint64 empty = document(0);
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("UPDATE invoice SET global_netto = 12.345 WHERE id = %1").arg(empty)));

    QCOMPARE(recomputeAll(), QString());
    // Kept, only rounded.
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("global_netto, global_brutto"),
                                    QStringLiteral("invoice WHERE id = %1").arg(empty))),
             QStringList{"12.35|999.00"});
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT count(*) FROM invoice_summary_vat")).toInt(), 0);
}

void TestRecompute::advanceParts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("bruttoPart");
    QTest::addColumn<QString>("amount"); // of both lines
    QTest::addColumn<QString>("prices"); // gross prices of the 23% and the 8% line
    QTest::addColumn<QString>("parts");  // of the 23% summary row
    QTest::addColumn<QString>("partTotals");

    // 200.00 gross in all, 50.00 paid: a quarter of every summary value, in PLN and in the
    // rating (1 EUR = 2 PLN). With 80.40 and 119.60 the 23% row is 65.37 / 80.40 / 15.03
    // (130.73 / 160.80 / 30.07) and the 8% row 110.74 / 119.60 / 8.86 (221.48 / 239.20 / 17.72).
    const QString quarter = QStringLiteral("16.34|20.10|3.76|32.68|40.20|7.52");
    const QString quarterTotals = QStringLiteral("44.03|50.00|5.98|88.05|100.00|11.95");
    const QString none = QStringLiteral("0.00|0.00|0.00|0.00|0.00|0.00");
    QTest::newRow("advance") << 19 << "50.00" << "1" << "80.40;119.60" << quarter << quarterTotals;
    QTest::newRow("advance correction") << 20 << "50" << "1" << "80.40;119.60" << quarter << quarterTotals;
    QTest::newRow("final") << 23 << "50" << "1" << "80.40;119.60" << quarter << quarterTotals;
    QTest::newRow("final correction") << 24 << "50" << "1" << "80.40;119.60" << quarter << quarterTotals;
    // Whole totals are stored as integers: 50 / 200 must not be an integer division.
    // The 23% row is 100.00 / 123.00 / 23.00, the 8% row 71.30 / 77.00 / 5.70 (142.59 / 154.00 / 11.41).
    QTest::newRow("advance with whole amounts") << 19 << "50" << "1" << "123;77"
                                                << "25.00|30.75|5.75|50.00|61.50|11.50"
                                                << "42.83|50.00|7.18|85.65|100.00|14.35";
    QTest::newRow("advance duplicate keeps 0") << 21 << "50" << "1" << "80.40;119.60" << none << none;
    QTest::newRow("ordinary invoice keeps 0") << 0 << "50" << "1" << "80.40;119.60" << none << none;
    QTest::newRow("advance without a positive total") << 19 << "50" << "-1" << "80.40;119.60" << none << none;
}

void TestRecompute::advanceParts()
{
    QFETCH(int, kind);
    QFETCH(QString, bruttoPart);
    QFETCH(QString, amount);
    QFETCH(QString, prices);
    QFETCH(QString, parts);
    QFETCH(QString, partTotals);

    const qint64 idDocument = document(kind, 0, rating(1, "2"), bruttoPart);
    line(idDocument, product(false, "0", prices.section(QLatin1Char(';'), 0, 0), 23), amount);
    line(idDocument, product(false, "0", prices.section(QLatin1Char(';'), 1, 1), 8), amount);
    // Part totals of an earlier computation are replaced, by 0 where there are no parts.
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE invoice SET ") +
                                partTotalColumns.split(QStringLiteral(", ")).join(QStringLiteral(" = 9.99, ")) +
                                QStringLiteral(" = 9.99")));

    QCOMPARE(recomputeAll(), QString());
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT global_brutto FROM invoice")).toDouble(),
             amount.toDouble() * 200.0);
    QCOMPARE(MTestDatabase::rows(money(partColumns, QStringLiteral("invoice_summary_vat WHERE id_vat = 24"))),
             QStringList{parts});
    QCOMPARE(MTestDatabase::rows(money(partTotalColumns, QStringLiteral("invoice"))), QStringList{partTotals});
}

void TestRecompute::productPricesFollowTheirBasis()
{
    MTestDatabase::insert(QStringLiteral("product"),
                       {{"count_from_netto", 1}, {"netto_price", "100"}, {"brutto_price", "0"}, {"vat", 23}});
    MTestDatabase::insert(QStringLiteral("product"),
                       {{"count_from_netto", 0}, {"netto_price", "0"}, {"brutto_price", "10.00"}, {"vat", 8}});
    product(true, "0.99", "5", 23);
    product(false, "5", "1.99", 5);

    QCOMPARE(recomputeAll(), QString());
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("netto_price, brutto_price"), QStringLiteral("product"))),
             (QStringList{"100.00|123.00", "9.26|10.00"}));
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("netto_price, brutto_price"), QStringLiteral("invoice_product"))),
             (QStringList{"0.99|1.22", "1.90|1.99"}));
}

void TestRecompute::oneDocumentLeavesTheOthers()
{
    const qint64 first = document(0);
    const qint64 firstProduct = product(true, "10", "0", 23);
    line(first, firstProduct, "2");
    const qint64 second = document(0);
    const qint64 secondProduct = product(true, "20", "0", 23);
    line(second, secondProduct, "1");
    const qint64 catalog = MTestDatabase::insert(
        QStringLiteral("product"), {{"count_from_netto", 1}, {"netto_price", "100"}, {"brutto_price", "0"}, {"vat", 23}});
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{"id_invoice", second}, {"netto_price", 5}});

    QSqlQuery("begin");
    QVERIFY(MRecompute::recomputeDocument(first).ok());
    QSqlQuery("commit");

    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("global_netto, global_brutto"), QStringLiteral("invoice ORDER BY id"))),
             (QStringList{"20.00|24.60", "999.00|999.00"}));
    // Product snapshots are fingerprinted and shared: a document's recomputation leaves them as they are.
    QCOMPARE(MTestDatabase::rows(money(QStringLiteral("brutto_price"), QStringLiteral("invoice_product ORDER BY id"))),
             (QStringList{"0.00", "0.00"}));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT brutto_price FROM product WHERE id = %1").arg(catalog)).toInt(), 0);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT netto_price FROM invoice_summary_vat WHERE id_invoice = %1")
                                   .arg(second))
                 .toInt(),
             5);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT netto_price FROM invoice_product_misc WHERE id_product = %1")
                                   .arg(secondProduct))
                 .toInt(),
             0);
}

INVOICE_TEST_MAIN(TestRecompute)
#include "tst_recompute.moc"
