#include "MBenchDatabase.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MDocumentNumber.h"
#include "data/MRecompute.h"
#include "resources/MResources.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

// The generated database of the benchmarks holds what the program itself
// would store: the amounts its recomputation gives and the numbers its
// numbering gives, so that the benchmarks measure what the program meets.
class TestBenchDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void amountsAreTheRecomputedOnes();
    void numbersFollowTheSellersPatterns();
    void duplicatesAreTheirRowAlone();

private:
    QTemporaryDir m_dir;
};

namespace {

// Every stored amount, row by row; quote() keeps the storage class.
QStringList amounts()
{
    static const QStringList selects {
        QStringLiteral("SELECT quote(id), quote(netto_price), quote(brutto_price) FROM product ORDER BY id"),
        QStringLiteral("SELECT quote(id), quote(netto_price), quote(brutto_price) FROM invoice_product ORDER BY id"),
        QStringLiteral("SELECT quote(id), quote(netto_price), quote(brutto_price), quote(vat_price), "
                       "quote(netto_rating_price), quote(brutto_rating_price), quote(vat_rating_price) "
                       "FROM invoice_product_misc ORDER BY id"),
        QStringLiteral("SELECT quote(id_invoice), quote(id_vat), quote(netto_price), quote(brutto_price), "
                       "quote(vat_price), quote(netto_rating_price), quote(brutto_rating_price), "
                       "quote(vat_rating_price), quote(netto_part_price), quote(brutto_part_price), "
                       "quote(vat_part_price), quote(netto_part_rating_price), quote(brutto_part_rating_price), "
                       "quote(vat_part_rating_price) FROM invoice_summary_vat ORDER BY id_invoice, id_vat"),
        QStringLiteral("SELECT quote(id), quote(global_netto), quote(global_brutto), quote(global_vat), "
                       "quote(global_netto_rating), quote(global_brutto_rating), quote(global_vat_rating), "
                       "quote(global_netto_part), quote(global_brutto_part), quote(global_vat_part), "
                       "quote(global_netto_part_rating), quote(global_brutto_part_rating), "
                       "quote(global_vat_part_rating) FROM invoice ORDER BY id"),
    };
    QStringList rows;
    for (const QString& select : selects)
        rows << MTestDatabase::rows(select);
    return rows;
}

} // namespace

void TestBenchDatabase::initTestCase()
{
    initInvoiceResources();
    MBenchDatabase::Size size;
    size.documents = 1500;
    size.buyers = 200;
    size.products = 150;
    const QString path = m_dir.filePath(QStringLiteral("Invoice.db3"));
    QVERIFY(MBenchDatabase::generate(path, m_dir.path() + QLatin1Char('/'), size));
    QVERIFY(MTestDatabase::prepare(path));
}

void TestBenchDatabase::cleanupTestCase()
{
    MTestDatabase::close();
}

void TestBenchDatabase::amountsAreTheRecomputedOnes()
{
    const QStringList stored = amounts();
    QVERIFY(MTestDatabase::exec(QStringLiteral("begin")));
    QVERIFY(MRecompute::recomputeAll().ok());
    QVERIFY(MTestDatabase::exec(QStringLiteral("commit")));
    const QStringList recomputed = amounts();
    QCOMPARE(recomputed.size(), stored.size());
    for (int i = 0; i < stored.size(); ++i)
        QCOMPARE(stored.at(i), recomputed.at(i));

    QVERIFY(MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM invoice_summary_vat")).toInt() > 1000);
    // Advance and final invoices have their part of the payment.
    QVERIFY(MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM invoice WHERE invoice_kind IN (19, 23) "
                                                "AND global_brutto > 0 AND global_brutto_part > 0"))
                .toInt()
            > 10);
}

void TestBenchDatabase::numbersFollowTheSellersPatterns()
{
    QSqlQuery documents(QStringLiteral("SELECT id, invoice_index_string FROM invoice WHERE invoice_kind <> 5 ORDER BY id"));
    int checked = 0;
    while (documents.next()) {
        QCOMPARE(documents.value(1).toString(), invoiceNumberById(documents.value(0).toInt()));
        ++checked;
    }
    QVERIFY(checked > 1000);
    // Each series (seller, period, group of kinds) counts 1, 2, 3, ... in order of issue.
    QCOMPARE(MTestDatabase::rows(QStringLiteral(
                 "SELECT i.id FROM invoice i JOIN invoice_seller s ON s.id = i.id_seller WHERE i.invoice_index <> "
                 "(SELECT COUNT(*) FROM invoice o JOIN invoice_seller os ON os.id = o.id_seller "
                 "WHERE o.id_seller_base = i.id_seller_base AND o.id <= i.id "
                 "AND (CASE WHEN o.invoice_kind IN (2, 4, 16, 20, 24, 28) THEN 2 ELSE o.invoice_kind IN (1, 9) * o.invoice_kind END) "
                 "= (CASE WHEN i.invoice_kind IN (2, 4, 16, 20, 24, 28) THEN 2 ELSE i.invoice_kind IN (1, 9) * i.invoice_kind END) "
                 "AND substr(o.date_put, 1, IIF(s.id_invoice_index_format = 1, 7, 4)) = "
                 "substr(i.date_put, 1, IIF(s.id_invoice_index_format = 1, 7, 4))) LIMIT 5")),
             QStringList());
}

void TestBenchDatabase::duplicatesAreTheirRowAlone()
{
    QVERIFY(MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM invoice WHERE invoice_kind = 5")).toInt() > 10);
    QCOMPARE(MTestDatabase::rows(QStringLiteral(
                 "SELECT d.id FROM invoice d LEFT JOIN invoice p ON p.id = d.id_parent_invoice "
                 "WHERE d.invoice_kind IN (2, 5) AND (p.invoice_kind IS NOT 0 OR p.id_seller_base <> d.id_seller_base "
                 "AND d.invoice_kind = 2 OR p.id >= d.id) "
                 "UNION ALL SELECT id_invoice FROM invoice_product_misc pm JOIN invoice d ON d.id = pm.id_invoice "
                 "WHERE d.invoice_kind = 5 LIMIT 5")),
             QStringList());
}

INVOICE_TEST_MAIN(TestBenchDatabase)
#include "tst_benchdatabase.moc"
