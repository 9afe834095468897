#include "MTestDatabase.h"
#include "MTestDataEnvironment.h"
#include "MTestFailedWrite.h"
#include "data/MInvoiceIntake.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// Products and documents taken into the working tables as lines and joins,
// on a schema-script database.
class TestInvoiceIntake : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buyerWithAddress_data();
    void buyerWithAddress();
    void lineFromProduct_data();
    void lineFromProduct();
    void linesInDropOrder();
    void replaceKeepsTheLine();
    void missingProductMakesNoLine();
    void joins_data();
    void joins();
    void replacedJoin();
    void failedIntakeLeavesNothing_data();
    void failedIntakeLeavesNothing();

private:
    QTemporaryDir m_dir;
};

namespace {

int product(const QString& name, bool fromNetto, const QString& netto, const QString& brutto, int vat,
            int currency = 0)
{
    return int(MTestDatabase::insert(QStringLiteral("product"),
                                     {{"name", name},
                                      {"netto_price", netto},
                                      {"brutto_price", brutto},
                                      {"vat", vat},
                                      {"vat_text", QStringLiteral("%1%").arg(vat)},
                                      {"count_from_netto", fromNetto ? 1 : 0},
                                      {"id_currency", currency},
                                      {"time_create", "2024-01-01"},
                                      {"time_modify", "2024-01-01"}}));
}

int document(int kind)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice"), {{"invoice_kind", kind},
                                                                 {"date_put", "2024-01-05 00:00:00"},
                                                                 {"date_sell", "2024-01-05 00:00:00"},
                                                                 {"date_pay", "2024-01-05 00:00:00"},
                                                                 {"time_create", "2024-01-05"},
                                                                 {"time_modify", "2024-01-05"}}));
}

// A line as "amount|reduct|reduct_percent|netto|brutto|vat" with its product copy's
// "name|price base|net|gross|vat|vat text".
QString lineRow(int key)
{
    return MTestDatabase::rows(QStringLiteral("SELECT printf('%g|%g|%d|%.2f|%.2f|%.2f', pm.amount, pm.reduct, "
                                              "pm.reduct_percent, pm.netto_price, pm.brutto_price, pm.vat_price), "
                                              "printf('%s|%d|%.2f|%.2f|%g|%s', p.name, p.count_from_netto, "
                                              "p.netto_price, p.brutto_price, p.vat, p.vat_text) FROM "
                                              "__invoice_product_misc pm JOIN __invoice_product p ON p.__id = "
                                              "pm.id_product WHERE pm.__id = %1")
                                   .arg(key))
        .value(0);
}

QList<int> joinedIds(const QList<int>& keys)
{
    QList<int> ids;
    for (int key : keys)
        ids << MTestDatabase::value(QStringLiteral("SELECT id_invoice_join FROM __invoice_join WHERE __id = %1")
                                        .arg(key))
                   .toInt();
    return ids;
}

} // namespace

void TestInvoiceIntake::init()
{
    static int serial = 0;
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1.db3").arg(++serial))));
}

void TestInvoiceIntake::cleanup()
{
    MTestDatabase::close();
}

void TestInvoiceIntake::buyerWithAddress_data()
{
    QTest::addColumn<bool>("withAddress");

    QTest::newRow("contact address") << true;
    QTest::newRow("no contact address") << false;
}

void TestInvoiceIntake::buyerWithAddress()
{
    QFETCH(bool, withAddress);

    const int address =
        withAddress ? int(MTestDatabase::insert("buyer_address", {{"address", "Długa 2"}, {"city", "Kraków"}, {"name", "biuro"}}))
                    : 0;
    const int id = int(MTestDatabase::insert("buyer", {{"firm", "Klient"}, {"nip", "123"}, {"reduct", 5},
                                                       {"id_address_contact", address}, {"firm_short", "K"}}));
    const int key = MInvoiceIntake::takeBuyer(id);
    QVERIFY(key > 0);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id, firm, nip, reduct, id_md5, firm_short FROM __invoice_buyer "
                                                "WHERE __id = %1").arg(key)),
             QStringList{QStringLiteral("%1|Klient|123|5||K").arg(id)});
    const QStringList copied = MTestDatabase::rows(
        QStringLiteral("SELECT a.id, a.address, a.city, a.name FROM __invoice_buyer b JOIN __invoice_buyer_address a ON "
                       "a.__id = b.id_address_contact WHERE b.__id = %1").arg(key));
    QCOMPARE(copied, withAddress ? QStringList{QStringLiteral("%1|Długa 2|Kraków|biuro").arg(address)} : QStringList());
    if (!withAddress)
        QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id_address_contact FROM __invoice_buyer WHERE __id = %1")
                                          .arg(key)).toInt(), 0);
    QCOMPARE(MInvoiceIntake::takeBuyer(id + 100), 0);
}

void TestInvoiceIntake::lineFromProduct_data()
{
    QTest::addColumn<bool>("fromNetto");
    QTest::addColumn<QString>("netto");
    QTest::addColumn<QString>("brutto");
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("buyerReduct");
    QTest::addColumn<bool>("amountDiscount");
    QTest::addColumn<QString>("row");

    QTest::newRow("net, no buyer") << true << "10.00" << "12.30" << 0 << 0.0 << false
                                   << "1|0|1|10.00|12.30|2.30|Towar|1|10.00|12.30|23|23%";
    // round(1 × 19.99 × 95 × 0.01) = 18.99, gross 18.99 × 1.23 = 23.3577
    QTest::newRow("net, buyer discount 5") << true << "19.99" << "24.59" << 0 << 5.0 << false
                                           << "1|5|1|18.99|23.36|4.37|Towar|1|19.99|24.59|23|23%";
    QTest::newRow("amount discounts ignore the buyer") << true << "19.99" << "24.59" << 0 << 5.0 << true
                                                       << "1|0|0|19.99|24.59|4.60|Towar|1|19.99|24.59|23|23%";
    // gross 123.00 × 95 % = 116.85, net 116.85 / 1.23 = 95.00
    QTest::newRow("gross, buyer discount 5") << false << "100.00" << "123.00" << 0 << 5.0 << false
                                             << "1|5|1|95.00|116.85|21.85|Towar|0|100.00|123.00|23|23%";
    QTest::newRow("gross, amount discount") << false << "100.00" << "123.00" << 0 << 0.0 << true
                                            << "1|0|0|100.00|123.00|23.00|Towar|0|100.00|123.00|23|23%";
    QTest::newRow("bill makes an exempt gross line") << true << "100.00" << "123.00" << 9 << 0.0 << false
                                                     << "1|0|1|123.00|123.00|0.00|Towar|0|123.00|123.00|0|zw.";
}

void TestInvoiceIntake::lineFromProduct()
{
    QFETCH(bool, fromNetto);
    QFETCH(QString, netto);
    QFETCH(QString, brutto);
    QFETCH(int, kind);
    QFETCH(double, buyerReduct);
    QFETCH(bool, amountDiscount);
    QFETCH(QString, row);

    const int id = product(QStringLiteral("Towar"), fromNetto, netto, brutto, 23);
    MInvoiceIntake::LineDefaults defaults;
    defaults.docKind = kind;
    defaults.buyerReduct = buyerReduct;
    defaults.amountDiscount = amountDiscount;
    const QList<int> keys = MInvoiceIntake::takeProducts({id}, defaults);
    QCOMPARE(keys.size(), 1);
    QCOMPARE(lineRow(keys.first()), row);
    // The product record itself is never touched.
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT vat_text FROM product WHERE id = %1").arg(id)).toString(),
             QStringLiteral("23%"));
}

void TestInvoiceIntake::linesInDropOrder()
{
    const QList<int> ids{product("A", true, "1.00", "1.23", 23), product("B", true, "2.00", "2.46", 23),
                         product("C", true, "3.00", "3.69", 23)};
    MInvoiceIntake::LineDefaults defaults;
    defaults.idInvoice = 42;
    const QList<int> keys = MInvoiceIntake::takeProducts({ids.at(2), ids.at(0), ids.at(1)}, defaults);
    QCOMPARE(keys.size(), 3);
    QStringList names;
    for (int key : keys)
        names << lineRow(key).section('|', 6, 6);
    QCOMPARE(names, (QStringList{"C", "A", "B"}));
    QCOMPARE(MTestDatabase::rows("SELECT DISTINCT id, id_invoice, amount FROM __invoice_product_misc"),
             QStringList{"0|42|1"});
}

void TestInvoiceIntake::replaceKeepsTheLine()
{
    const int first = product("A", true, "1.00", "1.23", 23);
    const int second = product("B", true, "2.00", "2.46", 23);
    const int third = product("C", true, "3.00", "3.69", 23);
    const QList<int> keys = MInvoiceIntake::takeProducts({first, first}, MInvoiceIntake::LineDefaults());
    MTestDatabase::exec(QStringLiteral("UPDATE __invoice_product_misc SET amount = 7, reduct = 3 WHERE __id = %1")
                            .arg(keys.at(1)));

    // Only the first product replaces; the line keeps its key and gets amount 1 again.
    QCOMPARE(MInvoiceIntake::takeProducts({second, third}, MInvoiceIntake::LineDefaults(), keys.at(1)),
             QList<int>{keys.at(1)});
    QCOMPARE(lineRow(keys.at(1)), QStringLiteral("1|0|1|2.00|2.46|0.46|B|1|2.00|2.46|23|23%"));
    QCOMPARE(lineRow(keys.at(0)).section('|', 6, 6), QStringLiteral("A"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_product_misc")), 2);

    // A line that is gone is not replaced, and its product is not copied for nothing.
    const int products = MTestDatabase::count(QStringLiteral("__invoice_product"));
    QCOMPARE(MInvoiceIntake::takeProducts({third}, MInvoiceIntake::LineDefaults(), keys.at(1) + 100), QList<int>());
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_product")), products);
}

void TestInvoiceIntake::missingProductMakesNoLine()
{
    const int existing = product("A", true, "1.00", "1.23", 23);
    // A line made earlier must not be taken for the missing product's.
    MInvoiceIntake::takeProducts({existing}, MInvoiceIntake::LineDefaults());
    QCOMPARE(MInvoiceIntake::takeProducts({existing + 100}, MInvoiceIntake::LineDefaults()), QList<int>());
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_product_misc")), 1);
}

void TestInvoiceIntake::joins_data()
{
    // Documents by kind; "self" is the edited document (kind 23), "held" an
    // advance joined before; the ids dropped are named by their index.
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<QList<int>>("dropped");
    QTest::addColumn<QList<int>>("joined");
    QTest::addColumn<int>("refused");

    QTest::newRow("advance and VAT invoice") << QList<int>{19, 0} << QList<int>{0, 1} << QList<int>{0} << 1;
    QTest::newRow("advance correction") << QList<int>{20} << QList<int>{0} << QList<int>{0} << 0;
    QTest::newRow("final and RR refused") << QList<int>{23, 11, 12} << QList<int>{0, 1, 2} << QList<int>() << 3;
    QTest::newRow("the same advance twice") << QList<int>{19} << QList<int>{0, 0} << QList<int>{0} << 0;
    QTest::newRow("an advance already held") << QList<int>{19, 19} << QList<int>{-1, 1} << QList<int>{1} << 0;
    QTest::newRow("the edited document") << QList<int>{19} << QList<int>{-2, 0} << QList<int>{0} << 0;
}

void TestInvoiceIntake::joins()
{
    QFETCH(QList<int>, kinds);
    QFETCH(QList<int>, dropped);
    QFETCH(QList<int>, joined);
    QFETCH(int, refused);

    QList<int> ids;
    for (int kind : kinds)
        ids << document(kind);
    const int self = document(19);
    // "-1" drops the advance the editor already holds, "-2" the edited document.
    const QList<int> held =
        dropped.contains(-1) ? MInvoiceIntake::takeJoins({ids.first()}, self, {}).keys : QList<int>();
    QList<int> drop;
    for (int i : dropped)
        drop << (i == -1 ? ids.first() : i == -2 ? self : ids.at(i));

    const MInvoiceIntake::JoinResult result = MInvoiceIntake::takeJoins(drop, self, held);
    QList<int> expected;
    for (int i : joined)
        expected << ids.at(i);
    QCOMPARE(joinedIds(result.keys), expected);
    QCOMPARE(result.refused, refused);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_join")), held.size() + expected.size());
    if (!expected.isEmpty())
        QCOMPARE(MTestDatabase::rows("SELECT DISTINCT id, id_invoice FROM __invoice_join"),
                 QStringList{QStringLiteral("0|%1").arg(self)});
}

void TestInvoiceIntake::replacedJoin()
{
    const int first = document(19);
    const int second = document(19);
    const int third = document(20);
    const QList<int> keys = MInvoiceIntake::takeJoins({first, second}, 0, {}).keys;
    QCOMPARE(keys.size(), 2);

    // Replacing a join by its own document, or by one joined on another row, changes nothing.
    QCOMPARE(MInvoiceIntake::takeJoins({first}, 0, keys, keys.at(0)).keys, QList<int>{keys.at(0)});
    QCOMPARE(MInvoiceIntake::takeJoins({second}, 0, keys, keys.at(0)).keys, QList<int>());
    QCOMPARE(joinedIds(keys), (QList<int>{first, second}));

    const MInvoiceIntake::JoinResult result = MInvoiceIntake::takeJoins({third, first}, 0, keys, keys.at(1));
    QCOMPARE(result.keys, QList<int>{keys.at(1)});
    QCOMPARE(joinedIds(keys), (QList<int>{first, third}));
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_join")), 2);
}

void TestInvoiceIntake::failedIntakeLeavesNothing_data()
{
    MTestFailedWrite::addRows({
        {"second product copy", "products", "INSERT", "__invoice_product", 1},
        {"second line", "products", "INSERT", "__invoice_product_misc", 1},
        {"values of the first line", "products", "UPDATE", "__invoice_product_misc", 0},
        {"second product of a bill made exempt", "bill", "UPDATE", "__invoice_product", 1},
        {"second join", "joins", "INSERT", "__invoice_join", 1},
    });
}

void TestInvoiceIntake::failedIntakeLeavesNothing()
{
    QFETCH(QString, call);
    const QList<int> products{product("A", true, "1.00", "1.23", 23), product("B", true, "2.00", "2.46", 23)};
    const QList<int> advances{document(19), document(19)};

    MTestFailedWrite failing;
    QVERIFY(failing.start({"__invoice_product", "__invoice_product_misc", "__invoice_join"}));
    if (call == QLatin1String("joins")) {
        QCOMPARE(MInvoiceIntake::takeJoins(advances, 0, {}).keys, QList<int>());
    } else {
        MInvoiceIntake::LineDefaults defaults;
        defaults.docKind = call == QLatin1String("bill") ? 9 : 0;
        QCOMPARE(MInvoiceIntake::takeProducts(products, defaults), QList<int>());
    }
    QCOMPARE(failing.now(), failing.before());
    QVERIFY(failing.holderKept());
}

INVOICE_TEST_MAIN(TestInvoiceIntake)
#include "tst_invoiceintake.moc"
