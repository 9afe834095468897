#include "MTestDataEnvironment.h"
#include "MTestDatabase.h"
#include "data/MInvoiceListSql.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <memory>

// The product-name search of the sales list on documents of every family with zero to
// several lines, some of one product twice: the searched list must be the unsearched
// list, row for row and column for column, less the rows whose documents have no
// matching product (a correction also its corrected document's, a duplicate its
// parent's), whatever the other conditions and the order. The ids-only and count forms
// must give the list's ids and number of rows.
class TestInvoiceListSql : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void productSearchKeepsTheListRows_data();
    void productSearchKeepsTheListRows();
    void idsAndCountFollowTheList_data();
    void idsAndCountFollowTheList();
    void mergedArmsKeepTheOrder_data();
    void mergedArmsKeepTheOrder();
    void indexedSortsReadTheArmsInOrder_data();
    void indexedSortsReadTheArmsInOrder();

private:
    std::unique_ptr<MTestDatabase> m_db;
    QHash<int, QStringList> m_productsOf; // document id -> names of its lines' products
    QHash<int, int> m_parentOf;
    QHash<int, int> m_kindOf;
};

namespace {

const QStringList productNames = {
    QStringLiteral("Śruba M6"),        QStringLiteral("ŚRUBOKRĘT"),      QStringLiteral("Zasuwa"),
    QStringLiteral("Łożysko kulkowe"), QStringLiteral("Usługa 50% taniej"), QStringLiteral("klej_szybki"),
    QStringLiteral("Wkręt \"drewno\""), QStringLiteral("Taśma O'Brien"),  QStringLiteral("Klej 5 0 %"),
};

// Kinds of the sales list by family: documents, corrections, duplicates, duplicates of corrections.
const QList<QList<int>> salesKinds = {
    {0, 1, 3, 9, 15, 19, 23, 27}, {2, 4, 16, 20, 24, 28}, {5, 7, 10, 17, 21, 25, 29}, {6, 8, 18, 22, 26, 30}};

int familyOf(int kind)
{
    for (int family = 0; family < salesKinds.size(); ++family) {
        if (salesKinds.at(family).contains(kind))
            return family;
    }
    return -1;
}

// The LIKE term of a search text as the list's search writes it.
QString likeTerm(const QString& text)
{
    QString like = text.toLower();
    like.replace(QLatin1Char('\''), QStringLiteral("''"))
        .replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QStringLiteral("p.name LIKE '%") + like + QStringLiteral("%' ESCAPE '\\' COLLATE POLISH ");
}

QList<QStringList> rows(const QString& sql)
{
    QList<QStringList> rows;
    QSqlQuery query;
    if (!query.exec(sql))
        return rows;
    while (query.next()) {
        QStringList row;
        for (int column = 0; column < query.record().count(); ++column)
            row << (query.isNull(column) ? QStringLiteral("<NULL>") : query.value(column).toString());
        rows << row;
    }
    return rows;
}

// Dates, numbers, amounts, places and buyers that repeat, so that every sort meets ties;
// issue times that differ within a day, sale dates shown as a month, one date that is no date.
bool insertDocument(int id, int kind, int parent)
{
    QSqlQuery query;
    query.prepare(QStringLiteral(
        "INSERT INTO invoice (id, invoice_kind, id_parent_invoice, invoice_index_string, invoice_index, date_put, "
        "date_sell, date_sell_in_months, date_pay, is_payed, date_payed, is_cancelled, global_netto, "
        "global_brutto, id_buyer, place_put, time_create, time_modify) VALUES (:id, :kind, :parent, :number, "
        ":index, :put, :sell, :months, :pay, :payed, :payedOn, :cancelled, :netto, :brutto, :buyer, :place, "
        ":created, :modified)"));
    query.bindValue(QStringLiteral(":id"), id);
    query.bindValue(QStringLiteral(":kind"), kind);
    query.bindValue(QStringLiteral(":parent"), parent);
    query.bindValue(QStringLiteral(":number"), QStringLiteral("F %1/%2").arg(id % 7).arg(2023 + id % 2));
    query.bindValue(QStringLiteral(":index"), id % 7);
    const QString day = QStringLiteral("%1-0%2-1%3").arg(2023 + id % 2).arg(1 + id % 9).arg(id % 3);
    const QString time = QStringLiteral(" %1:00:00").arg(id * 7 % 24, 2, 10, QLatin1Char('0'));
    query.bindValue(QStringLiteral(":put"), id == 29 ? QStringLiteral("nie wiadomo kiedy") : day + time);
    query.bindValue(QStringLiteral(":sell"), QStringLiteral("%1-0%2-%3 00:00:00").arg(2023 + id % 2).arg(1 + id % 4).arg(10 + id % 19));
    query.bindValue(QStringLiteral(":months"), id % 4 == 1 ? 1 : 0);
    query.bindValue(QStringLiteral(":pay"), QStringLiteral("2024-0%1-1%2 00:00:00").arg(1 + id % 5).arg(id % 4));
    query.bindValue(QStringLiteral(":payed"), id % 3 == 0 ? 1 : 0);
    query.bindValue(QStringLiteral(":payedOn"), id % 6 == 0 ? QVariant(QStringLiteral("2024-02-0%1").arg(id % 4)) : QVariant());
    query.bindValue(QStringLiteral(":cancelled"), id % 5 == 0 ? 1 : 0);
    query.bindValue(QStringLiteral(":netto"), 100 * (id % 6));
    query.bindValue(QStringLiteral(":brutto"), 123 * (id % 6));
    query.bindValue(QStringLiteral(":buyer"), id % 5);
    query.bindValue(QStringLiteral(":place"), id % 4 == 0 ? QStringLiteral("Kraków") : QStringLiteral("Łódź"));
    const QString created = QStringLiteral("2024-01-0%1 1%2:00:00").arg(1 + id % 3).arg(id % 2);
    query.bindValue(QStringLiteral(":created"), created);
    query.bindValue(QStringLiteral(":modified"), id % 2 ? created : QStringLiteral("2024-03-01 08:00:00"));
    return query.exec();
}

QStringList ids(const QList<QStringList>& rows)
{
    QStringList ids;
    for (const QStringList& row : rows)
        ids << row.first();
    return ids;
}

} // namespace

void TestInvoiceListSql::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));

    for (int product = 0; product < productNames.size(); ++product) {
        QVERIFY(MTestDatabase::insert(QStringLiteral("invoice_product"),
                                      {{"id", product + 1}, {"name", productNames.at(product)}, {"unit", "szt."},
                                       {"vat_text", "23%"}, {"time_create", 0}, {"time_modify", 0}}) > 0);
    }

    // Buyers whose names tie in Polish order or differ only in case.
    const QStringList buyers = {QStringLiteral("Łukasz"), QStringLiteral("łukasz"), QStringLiteral("Lukasz"),
                                QStringLiteral("Ćma")};
    for (int buyer = 0; buyer < buyers.size(); ++buyer)
        QVERIFY(MTestDatabase::insert(QStringLiteral("invoice_buyer"), {{"id", buyer + 1}, {"firm", buyers.at(buyer)}}) > 0);

    // Purchases: 71-74 RR invoices, 75-76 their corrections, 77-78 duplicates, 79 a duplicate of a correction.
    const int purchases[][3] = {{71, 11, 0}, {72, 11, 0}, {73, 11, 0}, {74, 11, 0}, {75, 12, 71},
                                {76, 12, 72}, {77, 13, 73}, {78, 13, 71}, {79, 14, 76}};
    for (const auto& purchase : purchases)
        QVERIFY(insertDocument(purchase[0], purchase[1], purchase[2]));

    // 1-30 documents, 31-48 corrections (of documents, one of a document that is gone),
    // 49-60 duplicates, 61-70 duplicates of corrections (the last of each of a document
    // that is gone).
    int line = 0;
    for (int id = 1; id <= 70; ++id) {
        int family = id <= 30 ? 0 : id <= 48 ? 1 : id <= 60 ? 2 : 3;
        int parent = 0;
        if (family == 1)
            parent = id == 48 ? 999 : id - 30;
        else if (family == 2)
            parent = id == 60 ? 998 : id - 46;
        else if (family == 3)
            parent = id == 70 ? 997 : id - 30;
        const QList<int>& kinds = salesKinds.at(family);
        const int kind = kinds.at(id % kinds.size());
        QVERIFY(insertDocument(id, kind, parent));
        m_kindOf.insert(id, kind);
        m_parentOf.insert(id, parent);
        if (family >= 2)
            continue; // duplicates hold no lines
        // Zero to four lines; with four, the first product again.
        const int count = id % 5;
        for (int n = 0; n < count; ++n) {
            const int product = (n == 3 ? id * 2 : id * 2 + n * 5) % productNames.size();
            QVERIFY(MTestDatabase::insert(QStringLiteral("invoice_product_misc"),
                                          {{"id", ++line}, {"id_invoice", id}, {"id_product", product + 1}}) > 0);
            m_productsOf[id] << productNames.at(product);
        }
    }
}

void TestInvoiceListSql::cleanupTestCase()
{
    m_db.reset();
}

void TestInvoiceListSql::productSearchKeepsTheListRows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<bool>("descending");

    const QString noCancelled = QStringLiteral("(_is_payed_ NOT IN (4))");
    const QString not2023 = QStringLiteral("(_date_put_year_ NOT IN ('2023'))");
    QTest::newRow("Polish lower case, by id") << "śrub" << QString() << 0 << false;
    QTest::newRow("Polish capitals, by number descending") << "ŁOŻYSKO" << QString() << 1 << true;
    QTest::newRow("percent literally, by gross") << "50%" << QString() << 15 << false;
    QTest::newRow("underscore literally, by payment text") << "klej_" << QString() << 12 << false;
    QTest::newRow("a quote") << "o'brien" << QString() << 0 << true;
    QTest::newRow("double quotes, by place") << "\"drewno\"" << QString() << 7 << false;
    QTest::newRow("in many documents, not cancelled") << "a" << noCancelled << 1 << false;
    QTest::newRow("one product, not 2023") << "zasuwa" << not2023 << 0 << false;
    QTest::newRow("both conditions, by kind") << "k" << noCancelled + QStringLiteral(" AND ") + not2023 << 2 << true;
    QTest::newRow("no product of the name") << "młotek" << QString() << 0 << false;
}

void TestInvoiceListSql::productSearchKeepsTheListRows()
{
    QFETCH(QString, text);
    QFETCH(QString, condition);
    QFETCH(int, sortColumn);
    QFETCH(bool, descending);

    MInvoiceListSql sql;
    sql.mainCondition = condition;
    sql.sortColumn = sortColumn;
    sql.descending = descending;
    const QList<QStringList> all = rows(sql.statement(MInvoiceListSql::FullList));
    QVERIFY(!all.isEmpty());

    const QString wanted = text.toLower();
    const auto matches = [&](int id) {
        for (const QString& name : m_productsOf.value(id)) {
            if (name.toLower().contains(wanted))
                return true;
        }
        return false;
    };
    QList<QStringList> expected;
    for (const QStringList& row : all) {
        const int id = row.first().toInt();
        const int parent = m_parentOf.value(id);
        bool found = false;
        switch (familyOf(m_kindOf.value(id))) {
        case 0:
            found = matches(id);
            break;
        case 1:
            found = matches(id) || matches(parent);
            break;
        case 2:
            found = matches(parent);
            break;
        case 3:
            found = matches(parent) || matches(m_parentOf.value(parent));
            break;
        }
        if (found)
            expected << row;
    }

    sql.productTerm = likeTerm(text);
    const QList<QStringList> searched = rows(sql.statement(MInvoiceListSql::FullList));
    QCOMPARE(searched, expected);

    QStringList expectedIds;
    for (const QStringList& row : expected)
        expectedIds << row.first();
    QStringList ids;
    for (const QStringList& row : rows(sql.statement(MInvoiceListSql::IdsOnly)))
        ids << row.first();
    QCOMPARE(ids, expectedIds);
    QCOMPARE(rows(sql.statement(MInvoiceListSql::CountOnly)).value(0).value(0), QString::number(expected.size()));
}

void TestInvoiceListSql::idsAndCountFollowTheList_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<bool>("descending");

    const QString like = QStringLiteral(" LIKE '%%1%' ESCAPE '\\' COLLATE POLISH)");
    QTest::newRow("no condition, by id") << QString() << 0 << false;
    QTest::newRow("by number descending") << QString() << 1 << true;
    QTest::newRow("place, by payment text")
        << QStringLiteral("(_place_put_") + like.arg(QStringLiteral("łódź")) << 12 << false;
    QTest::newRow("month, by gross descending") << "(_date_put_month_ NOT IN ('2024,02'))" << 15 << true;
    QTest::newRow("kind, by net") << "(_id_doc_kind_ NOT IN (5,6))" << 14 << false;
    QTest::newRow("payment state, by issue date") << "(_is_payed_ NOT IN (3,4))" << 8 << false;
    QTest::newRow("year and gross text, by parent")
        << QStringLiteral("(_date_put_year_ NOT IN ('2024')) AND (_global_brutto_currency_")
            + like.arg(QStringLiteral("2"))
        << 16 << false;
    QTest::newRow("payment text, by creation descending")
        << QStringLiteral("(_date_payed_") + like.arg(QStringLiteral("nie")) << 17 << true;
    QTest::newRow("base seller, by kind") << "(_id_seller_base_ NOT IN (1))" << 2 << false;
}

void TestInvoiceListSql::idsAndCountFollowTheList()
{
    QFETCH(QString, condition);
    QFETCH(int, sortColumn);
    QFETCH(bool, descending);

    MInvoiceListSql sql;
    sql.mainCondition = condition;
    sql.sortColumn = sortColumn;
    sql.descending = descending;
    QStringList listIds;
    for (const QStringList& row : rows(sql.statement(MInvoiceListSql::FullList)))
        listIds << row.first();
    QVERIFY(!listIds.isEmpty());

    QStringList ids;
    for (const QStringList& row : rows(sql.statement(MInvoiceListSql::IdsOnly)))
        ids << row.first();
    QCOMPARE(ids, listIds);
    QCOMPARE(rows(sql.statement(MInvoiceListSql::CountOnly)).value(0).value(0), QString::number(listIds.size()));
}

// Each list, sorted by every column both ways, with and without conditions: the arms
// read kind by kind and merged give the rows of the whole union sorted at once, in the
// same order, ties included; so do the ids-only forms.
void TestInvoiceListSql::mergedArmsKeepTheOrder_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("product");

    const QString like = QStringLiteral(" LIKE '%%1%' ESCAPE '\\' COLLATE POLISH)");
    QTest::newRow("sales") << 7 << QString() << QString();
    QTest::newRow("purchases") << 8 << QString() << QString();
    QTest::newRow("sales, not cancelled, not 2023")
        << 7 << "(_is_payed_ NOT IN (4)) AND (_date_put_year_ NOT IN ('2023'))" << QString();
    QTest::newRow("sales, place searched") << 7 << QStringLiteral("(_place_put_") + like.arg(QStringLiteral("łódź"))
                                          << QString();
    QTest::newRow("sales, product searched, kinds left out")
        << 7 << "(_id_doc_kind_ NOT IN (0,5))" << likeTerm(QStringLiteral("a"));
    QTest::newRow("purchases, payment text searched")
        << 8 << QStringLiteral("(_date_payed_") + like.arg(QStringLiteral("nie")) << QString();
}

void TestInvoiceListSql::mergedArmsKeepTheOrder()
{
    QFETCH(int, viewKind);
    QFETCH(QString, condition);
    QFETCH(QString, product);

    // The fixture's few duplicates are sorted whole by default; from 1 on, they are read from their parents.
    for (const int parentFirstFrom : {MInvoiceListSql().parentFirstFrom, 1}) {
        for (int column = 0; column <= 18; ++column) {
            for (const bool descending : {false, true}) {
                MInvoiceListSql sql;
                sql.parentFirstFrom = parentFirstFrom;
                sql.viewKind = viewKind;
                sql.mainCondition = condition;
                sql.productTerm = product;
                sql.sortColumn = column;
                sql.descending = descending;
                const QList<QStringList> merged = rows(sql.statement(MInvoiceListSql::FullList));
                const QStringList mergedIds = ids(rows(sql.statement(MInvoiceListSql::IdsOnly)));
                sql.sortWholeUnion = true;
                const QList<QStringList> whole = rows(sql.statement(MInvoiceListSql::FullList));
                const QByteArray where = QByteArray("sort column ") + QByteArray::number(column)
                    + (descending ? " descending" : " ascending") + ", parents first from "
                    + QByteArray::number(parentFirstFrom);
                QVERIFY2(whole.size() > 1, where.constData());
                QVERIFY2(merged == whole, where.constData());
                QVERIFY2(mergedIds == ids(whole), where.constData());
            }
        }
    }
}

// The plans of the sorts that indexes serve: no arm sorts its rows whole or reads a
// table out of an index's order. By sale or due date the duplicates, whose dates are
// their parents', are read from their parents in the order of the index on that date;
// only those whose parent is gone are sorted whole, one arm for each family.
void TestInvoiceListSql::indexedSortsReadTheArmsInOrder_data()
{
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<int>("wholeSorts");

    const int parentlessDuplicates = 2; // duplicates and duplicates of corrections
    QTest::newRow("id") << 0 << false << 0;
    QTest::newRow("id descending") << 0 << true << 0;
    QTest::newRow("number") << 1 << false << 0;
    QTest::newRow("number descending") << 1 << true << 0;
    QTest::newRow("issue date") << 8 << false << 0;
    QTest::newRow("sale date descending") << 9 << true << parentlessDuplicates;
    QTest::newRow("due date") << 11 << false << parentlessDuplicates;
}

void TestInvoiceListSql::indexedSortsReadTheArmsInOrder()
{
    QFETCH(int, sortColumn);
    QFETCH(bool, descending);
    QFETCH(int, wholeSorts);

    MInvoiceListSql sql;
    sql.sortColumn = sortColumn;
    sql.descending = descending;
    sql.parentFirstFrom = 1;
    QSqlQuery plan;
    QVERIFY(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql.statement(MInvoiceListSql::FullList)));
    int sorts = 0;
    int scans = 0;
    while (plan.next()) {
        const QString step = plan.value(3).toString();
        sorts += step.contains(QLatin1String("TEMP B-TREE FOR ORDER BY")) ? 1 : 0;
        const bool inDateOrder = step.startsWith(QLatin1String("SCAN i2 USING INDEX invoice__date_"));
        scans += step.startsWith(QLatin1String("SCAN i")) && !inDateOrder ? 1 : 0;
    }
    QCOMPARE(sorts, wholeSorts);
    QCOMPARE(scans, 0);
}

INVOICE_TEST_MAIN(TestInvoiceListSql)
#include "tst_invoicelistsql.moc"
