#include "MTestDataEnvironment.h"
#include "MTestDatabase.h"
#include "MTestFailedWrite.h"
#include "data/MInvoiceWorkingCopies.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

// Snapshot and base rows copied into the editor's working tables.
class TestInvoiceWorkingCopies : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void workingTablesMatchTheirSources_data();
    void workingTablesMatchTheirSources();
    void missingRowGivesNoKey_data();
    void missingRowGivesNoKey();
    void sellerColumnsLandInPlace();
    void buyerAddressFollows_data();
    void buyerAddressFollows();
    void linesPointToProductCopies_data();
    void linesPointToProductCopies();
    void joinsAreCopied();
    void failedCopyLeavesNothing_data();
    void failedCopyLeavesNothing();

private:
    QTemporaryDir m_dir;
};

namespace {

// "name type" of every column, in table order.
QStringList columns(const QString& table)
{
    return MTestDatabase::rows(QStringLiteral("SELECT name || ' ' || upper(type) FROM pragma_table_info('") + table
                               + QStringLiteral("') ORDER BY cid"));
}

int product(const QString& brutto, int vat)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_product"),
                                     {{"name", "Usługa"}, {"netto_price", "1.00"}, {"brutto_price", brutto},
                                      {"vat", vat}, {"vat_text", QString(QString::number(vat) + QLatin1Char('%'))},
                                      {"count_from_netto", 1}}));
}

int line(int invoice, int product, const QString& amount)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice_product_misc"),
                                     {{"id_invoice", invoice}, {"id_product", product}, {"amount", amount}}));
}

} // namespace

void TestInvoiceWorkingCopies::init()
{
    static int serial = 0;
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("%1.db3").arg(++serial))));
}

void TestInvoiceWorkingCopies::cleanup()
{
    MTestDatabase::close();
}

void TestInvoiceWorkingCopies::workingTablesMatchTheirSources_data()
{
    QTest::addColumn<QString>("working");
    QTest::addColumn<QString>("snapshot");
    for (const char* table : {"invoice_seller", "invoice_buyer", "invoice_buyer_address", "invoice_currency_rating",
                              "invoice_product", "invoice_product_misc", "invoice_join", "seller_bank",
                              "invoice_correct_misc"})
        QTest::newRow(table) << QStringLiteral("__") + table << QString::fromLatin1(table);
}

void TestInvoiceWorkingCopies::workingTablesMatchTheirSources()
{
    QFETCH(QString, working);
    QFETCH(QString, snapshot);
    QStringList copy = columns(working);
    QVERIFY(!copy.isEmpty());
    QCOMPARE(copy.takeFirst(), QStringLiteral("__id INTEGER"));
    QCOMPARE(copy, columns(snapshot));
}

void TestInvoiceWorkingCopies::missingRowGivesNoKey_data()
{
    QTest::addColumn<QString>("working");
    QTest::addColumn<QString>("source");
    QTest::newRow("seller snapshot") << "__invoice_seller" << "invoice_seller";
    QTest::newRow("rating snapshot") << "__invoice_currency_rating" << "invoice_currency_rating";
    QTest::newRow("product snapshot") << "__invoice_product" << "invoice_product";
    QTest::newRow("join") << "__invoice_join" << "invoice_join";
}

void TestInvoiceWorkingCopies::missingRowGivesNoKey()
{
    QFETCH(QString, working);
    QFETCH(QString, source);
    // An earlier insert leaves a last insert id that must not be taken for the copy's.
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO __invoice_join (id) VALUES (1)")));
    QCOMPARE(MInvoiceWorkingCopies::copy(working, source, 999), 0);
    QCOMPARE(MInvoiceWorkingCopies::copy(working, source, 0), 0);
    QCOMPARE(MTestDatabase::count(working), working == QLatin1String("__invoice_join") ? 1 : 0);
}

void TestInvoiceWorkingCopies::sellerColumnsLandInPlace()
{
    // Every text column of the seller gets a value of its own, so a shifted column shows.
    QSqlQuery info;
    QVERIFY(info.exec(QStringLiteral("SELECT name, upper(type) FROM pragma_table_info('seller')")));
    QVariantMap values;
    while (info.next()) {
        const QString name = info.value(0).toString();
        const QString type = info.value(1).toString();
        if (name == QLatin1String("id"))
            continue;
        if (type.startsWith(QLatin1String("VARCHAR")) || type == QLatin1String("TEXT"))
            values.insert(name, name.left(9));
    }
    values.insert(QStringLiteral("id_province"), 5);
    values.insert(QStringLiteral("id_invoice_index_format"), 2);
    values.insert(QStringLiteral("reduct"), "7.5");
    values.insert(QStringLiteral("person_document_date"), "2024-05-06");
    const int id = int(MTestDatabase::insert(QStringLiteral("seller"), values));
    QVERIFY(id > 0);

    const int key = MInvoiceWorkingCopies::copy(QStringLiteral("__invoice_seller"), QStringLiteral("seller s"), id,
                                                MInvoiceWorkingCopies::sellerColumns());
    QVERIFY(key > 0);
    QSqlQuery copy;
    QVERIFY(copy.exec(QStringLiteral("SELECT * FROM __invoice_seller WHERE __id = %1").arg(key)));
    QVERIFY(copy.next());
    QSqlQuery base;
    QVERIFY(base.exec(QStringLiteral("SELECT * FROM seller WHERE id = %1").arg(id)));
    QVERIFY(base.next());
    const QSqlRecord record = copy.record();
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i);
        if (name == QLatin1String("__id") || name == QLatin1String("id_md5"))
            continue;
        QVERIFY2(base.record().indexOf(name) >= 0, qPrintable(name));
        QCOMPARE(copy.value(i).toString(), base.value(name).toString());
    }
    QCOMPARE(copy.value(QStringLiteral("id_md5")).toString(), QString());
}

void TestInvoiceWorkingCopies::buyerAddressFollows_data()
{
    QTest::addColumn<bool>("withAddress");
    QTest::addColumn<bool>("addressSaved");
    QTest::newRow("with an address") << true << true;
    QTest::newRow("without an address") << false << false;
    QTest::newRow("address snapshot gone") << true << false;
}

void TestInvoiceWorkingCopies::buyerAddressFollows()
{
    QFETCH(bool, withAddress);
    QFETCH(bool, addressSaved);
    int address = 0;
    if (withAddress) {
        address = int(MTestDatabase::insert(QStringLiteral("invoice_buyer_address"),
                                            {{"address", "Długa 2"}, {"city", "Kraków"}}));
        if (!addressSaved)
            QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM invoice_buyer_address")));
    }
    // Unrelated address rows already in the working table must not be pointed at.
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO __invoice_buyer_address (id, city) VALUES (0, 'Obce')")));
    const int buyer = int(MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                                                {{"firm", "Klient"}, {"id_address_contact", address}}));
    const int key = MInvoiceWorkingCopies::copyBuyer(QStringLiteral("invoice_buyer"),
                                                     QStringLiteral("invoice_buyer_address"), buyer);
    QVERIFY(key > 0);
    const QString linked = MTestDatabase::value(
        QStringLiteral("SELECT IFNULL(a.city, '-') FROM __invoice_buyer b LEFT JOIN __invoice_buyer_address a ON "
                       "a.__id = b.id_address_contact WHERE b.__id = %1")
            .arg(key))
                               .toString();
    QCOMPARE(linked, addressSaved ? QStringLiteral("Kraków") : QStringLiteral("-"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id FROM __invoice_buyer WHERE __id = %1").arg(key)).toInt(),
             buyer);
}

void TestInvoiceWorkingCopies::linesPointToProductCopies_data()
{
    QTest::addColumn<bool>("bill");
    QTest::addColumn<QString>("products"); // per line: name|netto|brutto|vat|vat text|vat kind|from netto
    QTest::newRow("invoice") << false << "Usługa|1|123|23|23%|0|1;Usługa|1|108|8|8%|0|1";
    QTest::newRow("bill") << true << "Usługa|123|123|0|zw.|1|0;Usługa|108|108|0|zw.|1|0";
}

void TestInvoiceWorkingCopies::linesPointToProductCopies()
{
    QFETCH(bool, bill);
    QFETCH(QString, products);
    const int invoice = int(MTestDatabase::insert(QStringLiteral("invoice"), {{"invoice_kind", bill ? 9 : 0}}));
    const int other = int(MTestDatabase::insert(QStringLiteral("invoice"), {{"invoice_kind", 0}}));
    line(invoice, product("123", 23), "2");
    line(other, product("50", 23), "9");
    line(invoice, product("108", 8), "3");

    const QList<int> keys = MInvoiceWorkingCopies::copyLines(invoice, bill);
    QCOMPARE(keys.size(), 2);
    QStringList copied;
    QStringList amounts;
    for (int key : keys) {
        copied << MTestDatabase::value(
                      QStringLiteral("SELECT p.name || '|' || p.netto_price || '|' || p.brutto_price || '|' || p.vat "
                                     "|| '|' || p.vat_text || '|' || p.vat_kind || '|' || p.count_from_netto FROM "
                                     "__invoice_product_misc pm JOIN __invoice_product p ON p.__id = pm.id_product "
                                     "WHERE pm.__id = %1")
                          .arg(key))
                      .toString();
        amounts << MTestDatabase::value(
                       QStringLiteral("SELECT amount FROM __invoice_product_misc WHERE __id = %1").arg(key))
                       .toString();
    }
    QCOMPARE(copied.join(';'), products);
    QCOMPARE(amounts, QStringList({"2", "3"}));
    // The saved products stay as they were.
    QCOMPARE(MTestDatabase::value("SELECT group_concat(vat_text) FROM invoice_product").toString(),
             QStringLiteral("23%,23%,8%"));
}

void TestInvoiceWorkingCopies::joinsAreCopied()
{
    const int invoice = int(MTestDatabase::insert(QStringLiteral("invoice"), {{"invoice_kind", 23}}));
    MTestDatabase::insert(QStringLiteral("invoice_join"), {{"id_invoice", invoice}, {"id_invoice_join", 41}});
    MTestDatabase::insert(QStringLiteral("invoice_join"), {{"id_invoice", invoice + 1}, {"id_invoice_join", 42}});
    MTestDatabase::insert(QStringLiteral("invoice_join"), {{"id_invoice", invoice}, {"id_invoice_join", 43}});
    const QList<int> keys = MInvoiceWorkingCopies::copyJoins(invoice);
    QStringList joined;
    for (int key : keys)
        joined << MTestDatabase::value(QStringLiteral("SELECT id_invoice_join FROM __invoice_join WHERE __id = %1")
                                           .arg(key))
                      .toString();
    QCOMPARE(joined, QStringList({"41", "43"}));
    QVERIFY(MInvoiceWorkingCopies::copyJoins(invoice + 5).isEmpty());
}

void TestInvoiceWorkingCopies::failedCopyLeavesNothing_data()
{
    MTestFailedWrite::addRows({
        {"buyer whose address is not copied", "buyer", "INSERT", "__invoice_buyer_address", 0},
        {"buyer whose address is not pointed at", "buyer", "UPDATE", "__invoice_buyer", 0},
        {"second product of the lines", "lines", "INSERT", "__invoice_product", 1},
        {"second line", "lines", "INSERT", "__invoice_product_misc", 1},
        {"first line pointed at its product", "lines", "UPDATE", "__invoice_product_misc", 0},
        {"second product of a bill made exempt", "bill", "UPDATE", "__invoice_product", 1},
        {"second join", "joins", "INSERT", "__invoice_join", 1},
    });
}

void TestInvoiceWorkingCopies::failedCopyLeavesNothing()
{
    QFETCH(QString, call);
    const int address = int(MTestDatabase::insert(QStringLiteral("invoice_buyer_address"), {{"city", "Kraków"}}));
    const int buyer = int(MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                                                {{"firm", "Klient"}, {"id_address_contact", address}}));
    const int invoice = int(MTestDatabase::insert(QStringLiteral("invoice"), {{"invoice_kind", 0}}));
    line(invoice, product("123", 23), "2");
    line(invoice, product("108", 8), "3");
    MTestDatabase::insert(QStringLiteral("invoice_join"), {{"id_invoice", invoice}, {"id_invoice_join", 41}});
    MTestDatabase::insert(QStringLiteral("invoice_join"), {{"id_invoice", invoice}, {"id_invoice_join", 42}});

    MTestFailedWrite failing;
    QVERIFY(failing.start({"__invoice_buyer", "__invoice_buyer_address", "__invoice_product",
                           "__invoice_product_misc", "__invoice_join"}));
    if (call == QLatin1String("buyer"))
        QCOMPARE(MInvoiceWorkingCopies::copyBuyer(QStringLiteral("invoice_buyer"),
                                                  QStringLiteral("invoice_buyer_address"), buyer),
                 0);
    else if (call == QLatin1String("joins"))
        QCOMPARE(MInvoiceWorkingCopies::copyJoins(invoice), QList<int>());
    else
        QCOMPARE(MInvoiceWorkingCopies::copyLines(invoice, call == QLatin1String("bill")), QList<int>());
    QCOMPARE(failing.now(), failing.before());
    QVERIFY(failing.holderKept());
}

INVOICE_TEST_MAIN(TestInvoiceWorkingCopies)
#include "tst_invoiceworkingcopies.moc"
