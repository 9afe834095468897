#include "MTestDataEnvironment.h"
#include "MTestDatabase.h"
#include "data/MVatSummary.h"

#include <QtTest>

// The VAT summary of chosen documents on one fixture in a database made by the
// schema script: which rows each choice writes under its run.
class TestVatSummary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void rowsOfChoice_data();
    void rowsOfChoice();
    void emptyChoiceWritesNothing();
    void runsKeepTheirOwnRows();

private:
    // Rows of run `runId` as "document|rate|kind|value|netto|vat|brutto", sorted.
    static QStringList runRows(int runId);

    MTestDatabase m_db;
};

namespace {

// VAT rates of the schema script.
const int vat23 = 24;
const int vat8 = 9;
const int vatZw = 102;

void addDocument(int id, int kind, int parent = 0, int currency = 0)
{
    MTestDatabase::insert(QStringLiteral("invoice"), {{"id", id},
                                                      {"invoice_kind", kind},
                                                      {"id_parent_invoice", parent},
                                                      {"id_currency", currency},
                                                      {"invoice_index_string", QStringLiteral("FV/%1").arg(id)}});
}

// One summary row; the part amounts are a fifth of the whole ones, so that
// reading the wrong columns shows.
void addRate(int idInvoice, int idVat, double netto, double vat)
{
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{"id_invoice", idInvoice},
                                                                  {"id_vat", idVat},
                                                                  {"netto_price", netto},
                                                                  {"vat_price", vat},
                                                                  {"brutto_price", netto + vat},
                                                                  {"netto_part_price", netto / 5},
                                                                  {"vat_part_price", vat / 5},
                                                                  {"brutto_part_price", (netto + vat) / 5}});
}

QList<int> idList(const QString& text)
{
    QList<int> ids;
    for (const QString& id : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids << id.toInt();
    return ids;
}

} // namespace

void TestVatSummary::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    // 1 and its correction 2: 23% raised from 80 to 100, 8% added.
    addDocument(1, 0);
    addRate(1, vat23, 80, 18.4);
    addDocument(2, 2, 1);
    addRate(2, vat23, 100, 23);
    addRate(2, vat8, 50, 4);
    // 3 and its correction 4 of a VAT-MP invoice, which drops the exempt rate.
    addDocument(3, 3);
    addRate(3, vat23, 10, 2.3);
    addRate(3, vatZw, 7, 0);
    addDocument(4, 4, 3);
    addRate(4, vat23, 10, 2.3);
    // 5 in EUR, 6 its correction in EUR.
    addDocument(5, 0, 0, 1);
    addRate(5, vat23, 40, 9.2);
    addDocument(6, 2, 5, 1);
    addRate(6, vat23, 50, 11.5);
    // 7 advance invoice, 8 its duplicate (the duplicate carries its own rows here,
    // so that the columns it is read by show), 9 an advance correction.
    addDocument(7, 19);
    addRate(7, vat23, 1000, 230);
    addDocument(8, 21, 7);
    addRate(8, vat23, 1000, 230);
    addDocument(9, 20, 7);
    addRate(9, vat23, 1500, 345);
    // 10 a line whose VAT text has no rate row; 11 its correction, which adds one.
    addDocument(10, 0);
    addRate(10, 0, 12.5, 0);
    addRate(10, vat8, 100, 8);
    addDocument(11, 2, 10);
    addRate(11, 0, 20, 0);
    addRate(11, vat8, 100, 8);
    // 12 a document without summary rows.
    addDocument(12, 0);
    // 13 an RR invoice, 14 its correction, summarised with its own amounts.
    addDocument(13, 11);
    addRate(13, vat8, 300, 24);
    addDocument(14, 12, 13);
    addRate(14, vat8, 200, 16);
}

QStringList TestVatSummary::runRows(int runId)
{
    QStringList rows = MTestDatabase::rows(QStringLiteral(
        "SELECT id_invoice, vat_text, vat_kind, vat_val, printf('%.2f', round(netto, 2) + 0.0), "
        "printf('%.2f', round(vat, 2) + 0.0), printf('%.2f', round(brutto, 2) + 0.0) "
        "FROM __invoice_vat_summary WHERE id = %1").arg(runId));
    rows.sort();
    return rows;
}

void TestVatSummary::rowsOfChoice_data()
{
    QTest::addColumn<QString>("ids");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("correction as difference") << "2"
        << QStringList{"2|23%|0|23|20.00|4.60|24.60", "2|8%|0|8|50.00|4.00|54.00"};
    QTest::newRow("parent selected keeps its own rows") << "1,2"
        << QStringList{"1|23%|0|23|80.00|18.40|98.40", "2|23%|0|23|20.00|4.60|24.60", "2|8%|0|8|50.00|4.00|54.00"};
    QTest::newRow("rate only in the parent is negated") << "4"
        << QStringList{"4|23%|0|23|0.00|0.00|0.00", "4|zw.|1|0|-7.00|0.00|-7.00"};
    QTest::newRow("EUR document") << "5" << QStringList{};
    QTest::newRow("EUR correction") << "6" << QStringList{};
    QTest::newRow("advance by part prices") << "7" << QStringList{"7|23%|0|23|200.00|46.00|246.00"};
    QTest::newRow("advance duplicate by full prices") << "8" << QStringList{"8|23%|0|23|1000.00|230.00|1230.00"};
    QTest::newRow("advance correction by part prices") << "9" << QStringList{"9|23%|0|23|100.00|23.00|123.00"};
    QTest::newRow("line without a rate row kept") << "10"
        << QStringList{"10||0|0|12.50|0.00|12.50", "10|8%|0|8|100.00|8.00|108.00"};
    QTest::newRow("correction of a line without a rate row") << "11"
        << QStringList{"11||0|0|7.50|0.00|7.50", "11|8%|0|8|0.00|0.00|0.00"};
    QTest::newRow("document without summary rows") << "12" << QStringList{};
    QTest::newRow("RR correction by its own amounts") << "14" << QStringList{"14|8%|0|8|200.00|16.00|216.00"};
    QTest::newRow("unknown id") << "999" << QStringList{};
}

void TestVatSummary::rowsOfChoice()
{
    QFETCH(QString, ids);
    QFETCH(QStringList, expected);

    const int runId = MVatSummary::build(idList(ids));
    QVERIFY(runId > 0);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM __invoice_vat_summary_id WHERE id = %1")
                                      .arg(runId)).toInt(), 1);
    expected.sort();
    QCOMPARE(runRows(runId), expected);
}

void TestVatSummary::emptyChoiceWritesNothing()
{
    const int runs = MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id"));
    const int rows = MTestDatabase::count(QStringLiteral("__invoice_vat_summary"));
    QCOMPARE(MVatSummary::build({}), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id")), runs);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary")), rows);
}

void TestVatSummary::runsKeepTheirOwnRows()
{
    const int first = MVatSummary::build({1});
    const int second = MVatSummary::build({7});
    QVERIFY(first > 0);
    QVERIFY(second != first);
    QCOMPARE(runRows(first), QStringList{"1|23%|0|23|80.00|18.40|98.40"});
    QCOMPARE(runRows(second), QStringList{"7|23%|0|23|200.00|46.00|246.00"});
}

INVOICE_TEST_MAIN(TestVatSummary)
#include "tst_vatsummary.moc"
