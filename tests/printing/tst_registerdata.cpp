#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "data/MRegisterData.h"

#include <QCoreApplication>
#include <QtTest>

// The register data of a period computed on one fixture of documents in a
// database made by the schema script, checked row by row against a query
// written here, and for the cases that matter, against the amounts by hand.
class TestRegisterData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void runEqualsOracle();
    void documentRows_data();
    void documentRows();
    void documentsLeftOut_data();
    void documentsLeftOut();
    void sellersOfTheRun_data();
    void sellersOfTheRun();
    void runsNeverMix();
    void failedRowLeavesNoRun();

private:
    // Rows of run `runId` as "document|rate|kind|value|netto|vat|brutto", sorted.
    static QStringList runRows(int runId);
    // The same rows computed by the test's own query over the fixture.
    static QStringList oracleRows(const QString& sellers, const QString& from, const QString& to);

    MTestDatabase m_db;
    int m_runId = 0;
};

namespace {

const QDate periodFrom(2024, 3, 1);
const QDate periodTo(2024, 3, 31);

// VAT rates of the schema script.
const int vat23 = 24;
const int vat8 = 9;
const int vat5 = 6;
const int vat0 = 1;
const int vatZw = 102;
const int vatNd = 103;
const int vatNp = 104;
const int vatOo = 105;
const int vat7 = 8;

struct Doc
{
    int id;
    int kind;
    int parent = 0;
    int seller = 1;
    QString date = QStringLiteral("2024-03-15 10:00:00");
    int currency = 0;
    int hideVat = 0;
    int cancelled = 0;
};

void addDocument(const Doc& doc)
{
    MTestDatabase::insert(QStringLiteral("invoice"),
                          {{"id", doc.id},
                           {"invoice_kind", doc.kind},
                           {"id_parent_invoice", doc.parent},
                           {"id_seller_base", doc.seller},
                           {"date_put", doc.date},
                           {"id_currency", doc.currency},
                           {"hide_vat", doc.hideVat},
                           {"is_cancelled", doc.cancelled},
                           {"invoice_index_string", QStringLiteral("FV/%1").arg(doc.id)}});
}

// One summary row; the part amounts are a fifth of the whole ones, so that
// reading the wrong columns shows.
void addRate(int idInvoice, int idVat, double netto, double vat)
{
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"),
                          {{"id_invoice", idInvoice},
                           {"id_vat", idVat},
                           {"netto_price", netto},
                           {"vat_price", vat},
                           {"brutto_price", netto + vat},
                           {"netto_part_price", netto / 5},
                           {"vat_part_price", vat / 5},
                           {"brutto_part_price", (netto + vat) / 5}});
}

} // namespace

void TestRegisterData::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    for (int id = 1; id <= 3; ++id)
        MTestDatabase::insert(QStringLiteral("seller"), {{"id", id}, {"firm", QStringLiteral("Firma %1").arg(id)}});

    // 1: VAT invoice on the first day, with every kind of rate.
    addDocument({1, 0, 0, 1, QStringLiteral("2024-03-01 00:00:00")});
    addRate(1, vat23, 100, 23);
    addRate(1, vat8, 50, 4);
    addRate(1, vatZw, 10, 0);
    addRate(1, vatNp, 5, 0);
    addRate(1, vatNd, 6, 0);
    addRate(1, vatOo, 7, 0);
    // 2: its correction on the last day: 23% raised, 8% dropped, zw. unchanged.
    addDocument({2, 2, 1, 1, QStringLiteral("2024-03-31 23:59:59")});
    addRate(2, vat23, 120, 27.6);
    addRate(2, vatZw, 10, 0);
    // 3, 4: an advance invoice and its correction, by the part amounts.
    addDocument({3, 19});
    addRate(3, vat23, 1000, 230);
    addDocument({4, 20, 3});
    addRate(4, vat23, 500, 115);
    // 5 cancelled, 6 its correction, which counts whole.
    addDocument({5, 0, 0, 1, QStringLiteral("2024-03-10 08:00:00"), 0, 0, 1});
    addRate(5, vat23, 300, 69);
    addDocument({6, 2, 5});
    addRate(6, vat23, 200, 46);
    // 7 in EUR.
    addDocument({7, 0, 0, 1, QStringLiteral("2024-03-12 08:00:00"), 1});
    addRate(7, vat23, 40, 9.2);
    // 8 margin invoice hiding its VAT, 9 its correction hiding it too.
    addDocument({8, 27, 0, 2, QStringLiteral("2024-03-05 12:00:00"), 0, 1});
    addRate(8, vat23, 81.3, 18.7);
    addDocument({9, 28, 8, 2, QStringLiteral("2024-03-06 12:00:00"), 0, 1});
    addRate(9, vat23, 162.6, 37.4);
    // 10 VAT invoice hiding its VAT: not a margin invoice, so out.
    addDocument({10, 0, 0, 1, QStringLiteral("2024-03-07 12:00:00"), 0, 1});
    addRate(10, vat23, 10, 2.3);
    // 11, 12 just outside the period.
    addDocument({11, 0, 0, 1, QStringLiteral("2024-02-29 23:59:59")});
    addRate(11, vat23, 11, 2.53);
    addDocument({12, 0, 0, 1, QStringLiteral("2024-04-01 00:00:00")});
    addRate(12, vat23, 12, 2.76);
    // 13 of a seller not checked.
    addDocument({13, 0, 0, 3});
    addRate(13, vat23, 13, 2.99);
    // 14..18 kinds that are no part of the register.
    const int outKinds[] = {1, 5, 9, 11, 15};
    int id = 14;
    for (int kind : outKinds) {
        addDocument({id, kind});
        addRate(id, vat23, 14, 3.22);
        ++id;
    }
    // 19 five rates; 20 final invoice by its part amounts; 21 VAT-MP and 22 its correction.
    addDocument({19, 0});
    addRate(19, vat23, 100, 23);
    addRate(19, vat8, 100, 8);
    addRate(19, vat5, 100, 5);
    addRate(19, vat0, 100, 0);
    addRate(19, vat7, 100, 7);
    addDocument({20, 23});
    addRate(20, vat8, 400, 32);
    addDocument({21, 3});
    addRate(21, vat23, 70, 16.1);
    addDocument({22, 4, 21});
    addRate(22, vat23, 60, 13.8);

    m_runId = MRegisterData::build(periodFrom, periodTo, {QStringLiteral("1"), QStringLiteral("2")});
    QVERIFY(m_runId > 0);
}

QStringList TestRegisterData::runRows(int runId)
{
    QStringList rows = MTestDatabase::rows(QStringLiteral(
        "SELECT id_invoice, vat_text, vat_kind, vat_val, printf('%.2f', round(netto, 2) + 0.0), "
        "printf('%.2f', round(vat, 2) + 0.0), printf('%.2f', round(brutto, 2) + 0.0) "
        "FROM __invoice_vat_summary WHERE id = %1").arg(runId));
    rows.sort();
    return rows;
}

QStringList TestRegisterData::oracleRows(const QString& sellers, const QString& from, const QString& to)
{
    // Every document in the period, with its own amounts (sign 1) and, for a
    // correction, its parent's (sign -1); each source must be a PLN document,
    // not cancelled, and show its VAT unless it is a margin document.
    QStringList rows = MTestDatabase::rows(QStringLiteral(
        "WITH docs AS (SELECT id, id_parent_invoice AS parent, invoice_kind AS kind FROM invoice "
        "  WHERE id_seller_base IN (%1) AND date(date_put) BETWEEN '%2' AND '%3' AND is_cancelled = 0 "
        "  AND invoice_kind IN (0, 2, 3, 4, 19, 20, 23, 24, 27, 28)), "
        "sources AS (SELECT id AS doc, id AS src, 1 AS sign FROM docs "
        "  UNION ALL SELECT id, parent, -1 FROM docs WHERE kind IN (2, 4, 20, 24, 28)), "
        "amounts AS (SELECT d.id AS doc, v.name AS name, v.kind AS vkind, v.val AS val, "
        "  s.sign * (CASE WHEN d.kind IN (19, 20, 23, 24) THEN r.netto_part_price ELSE r.netto_price END) AS n, "
        "  s.sign * (CASE WHEN d.kind IN (19, 20, 23, 24) THEN r.vat_part_price ELSE r.vat_price END) AS t, "
        "  s.sign * (CASE WHEN d.kind IN (19, 20, 23, 24) THEN r.brutto_part_price ELSE r.brutto_price END) AS b "
        "  FROM docs d JOIN sources s ON s.doc = d.id JOIN invoice src ON src.id = s.src "
        "  JOIN invoice_summary_vat r ON r.id_invoice = src.id JOIN vat v ON v.id = r.id_vat "
        "  WHERE src.is_cancelled = 0 AND src.id_currency = 0 AND v.kind IN (0, 1) "
        "  AND (src.hide_vat = 0 OR (s.sign = 1 AND src.invoice_kind IN (27, 28)) "
        "       OR (s.sign = -1 AND src.invoice_kind = 27))) "
        "SELECT doc, name, vkind, val, printf('%.2f', round(SUM(n), 2) + 0.0), "
        "printf('%.2f', round(SUM(t), 2) + 0.0), printf('%.2f', round(SUM(b), 2) + 0.0) "
        "FROM amounts GROUP BY doc, name").arg(sellers, from, to));
    rows.sort();
    return rows;
}

void TestRegisterData::runEqualsOracle()
{
    const QStringList rows = runRows(m_runId);
    QVERIFY(!rows.isEmpty());
    QCOMPARE(rows, oracleRows(QStringLiteral("1, 2"), QStringLiteral("2024-03-01"), QStringLiteral("2024-03-31")));
}

void TestRegisterData::documentRows_data()
{
    QTest::addColumn<int>("document");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("first day, zw. in, nd. np. o.o. out")
        << 1 << QStringList{"1|23%|0|23|100.00|23.00|123.00", "1|8%|0|8|50.00|4.00|54.00", "1|zw.|1|0|10.00|0.00|10.00"};
    QTest::newRow("correction on the last day, per-rate differences")
        << 2 << QStringList{"2|23%|0|23|20.00|4.60|24.60", "2|8%|0|8|-50.00|-4.00|-54.00", "2|zw.|1|0|0.00|0.00|0.00"};
    QTest::newRow("advance invoice by its part") << 3 << QStringList{"3|23%|0|23|200.00|46.00|246.00"};
    QTest::newRow("correction of an advance invoice by the parts")
        << 4 << QStringList{"4|23%|0|23|-100.00|-23.00|-123.00"};
    QTest::newRow("correction of a cancelled document counts whole") << 6 << QStringList{"6|23%|0|23|200.00|46.00|246.00"};
    QTest::newRow("margin invoice hiding its VAT") << 8 << QStringList{"8|23%|0|23|81.30|18.70|100.00"};
    QTest::newRow("margin correction against its margin invoice")
        << 9 << QStringList{"9|23%|0|23|81.30|18.70|100.00"};
    QTest::newRow("five rates")
        << 19
        << QStringList{"19|0%|0|0|100.00|0.00|100.00", "19|23%|0|23|100.00|23.00|123.00", "19|5%|0|5|100.00|5.00|105.00",
                       "19|7%|0|7|100.00|7.00|107.00", "19|8%|0|8|100.00|8.00|108.00"};
    QTest::newRow("final invoice by its part") << 20 << QStringList{"20|8%|0|8|80.00|6.40|86.40"};
    QTest::newRow("VAT-MP correction") << 22 << QStringList{"22|23%|0|23|-10.00|-2.30|-12.30"};
}

void TestRegisterData::documentRows()
{
    QFETCH(int, document);
    QFETCH(QStringList, rows);
    const QString prefix = QString::number(document) + QLatin1Char('|');
    QStringList found;
    for (const QString& row : runRows(m_runId)) {
        if (row.startsWith(prefix))
            found << row;
    }
    QCOMPARE(found, rows);
}

void TestRegisterData::documentsLeftOut_data()
{
    QTest::addColumn<int>("document");

    QTest::newRow("cancelled") << 5;
    QTest::newRow("EUR") << 7;
    QTest::newRow("VAT hidden outside margin") << 10;
    QTest::newRow("day before the period") << 11;
    QTest::newRow("day after the period") << 12;
    QTest::newRow("seller not checked") << 13;
    QTest::newRow("kind 1") << 14;
    QTest::newRow("kind 5") << 15;
    QTest::newRow("kind 9") << 16;
    QTest::newRow("kind 11") << 17;
    QTest::newRow("kind 15") << 18;
}

void TestRegisterData::documentsLeftOut()
{
    QFETCH(int, document);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM __invoice_vat_summary WHERE id = %1 AND id_invoice = %2")
                                      .arg(m_runId)
                                      .arg(document))
                 .toInt(),
             0);
}

void TestRegisterData::sellersOfTheRun_data()
{
    QTest::addColumn<QStringList>("sellerIds");
    QTest::addColumn<QString>("oracleSellers");

    QTest::newRow("none checked") << QStringList() << "0";
    QTest::newRow("one seller") << QStringList{"2"} << "2";
    QTest::newRow("all three") << QStringList{"1", "2", "3"} << "1, 2, 3";
    QTest::newRow("text that is no id is ignored") << QStringList{"2", "1) OR (1=1"} << "2";
}

void TestRegisterData::sellersOfTheRun()
{
    QFETCH(QStringList, sellerIds);
    QFETCH(QString, oracleSellers);
    const int before = MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id"));
    const int runId = MRegisterData::build(periodFrom, periodTo, sellerIds);
    QVERIFY(runId > m_runId);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id")), before + 1);
    QCOMPARE(runRows(runId), oracleRows(oracleSellers, QStringLiteral("2024-03-01"), QStringLiteral("2024-03-31")));
}

void TestRegisterData::runsNeverMix()
{
    const QStringList first = runRows(m_runId);
    const int shortRun = MRegisterData::build(QDate(2024, 3, 31), QDate(2024, 3, 31), {QStringLiteral("1")});
    const QStringList lastDay{"2|23%|0|23|20.00|4.60|24.60", "2|8%|0|8|-50.00|-4.00|-54.00",
                              "2|zw.|1|0|0.00|0.00|0.00"};
    QCOMPARE(runRows(shortRun), lastDay);
    QCOMPARE(runRows(m_runId), first);
}

void TestRegisterData::failedRowLeavesNoRun()
{
    const QStringList tables{QStringLiteral("__invoice_vat_summary_id"), QStringLiteral("__invoice_vat_summary")};
    const QStringList before = MTestDatabase::tableRows(tables);
    QVERIFY(MTestDatabase::failWritesAfter(QStringLiteral("INSERT"), QStringLiteral("__invoice_vat_summary"), 1));
    const int runId = MRegisterData::build(periodFrom, periodTo, {QStringLiteral("1")});
    MTestDatabase::stopFailingWrites();
    QCOMPARE(runId, 0);
    QCOMPARE(MTestDatabase::tableRows(tables), before);
}

INVOICE_TEST_MAIN(TestRegisterData)
#include "tst_registerdata.moc"
