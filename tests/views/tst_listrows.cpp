#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "views/MSqlQueryModel.h"
#include "views/MSqlSelectParts.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QtTest>

// A list reads its rows its own way (ordered ids first, wide rows by id, compact
// pages); what it shows must be exactly what Qt's plain query model shows for the
// same statement: rows, order, values with their types, and the fetching steps.
class TestListRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void statementsAreSplitIntoTheirClauses_data();
    void statementsAreSplitIntoTheirClauses();
    void joinsThatCannotChangeTheIdsAreLeftOut_data();
    void joinsThatCannotChangeTheIdsAreLeftOut();
    void listShowsWhatThePlainModelShows_data();
    void listShowsWhatThePlainModelShows();

private:
    MTestDatabase m_db;
};

namespace {

const QString wideColumns = QStringLiteral(
    "SELECT b.id AS idx, b.firm, p.name, b.reduct, b.nip || ' ' || b.city, "
    "datetime(b.time_create, 'localtime') AS _time_create_ FROM buyer b LEFT JOIN province p ON p.id = b.id_province");

} // namespace

void TestListRows::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    // 700 buyers: nine firm names with equal, differently cased and Polish-lettered
    // spellings (many ties), some empty; every fourth without a province (NULL name).
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 700) "
        "INSERT INTO buyer (id, firm, nip, city, id_province, reduct, time_create, time_modify) "
        "SELECT i, CASE WHEN i % 50 = 0 THEN '' ELSE "
        "  CASE i % 9 WHEN 0 THEN 'Łąka' WHEN 1 THEN 'Lato' WHEN 2 THEN 'łąka' WHEN 3 THEN 'Ćma' WHEN 4 THEN 'Cma' "
        "  WHEN 5 THEN 'Żuk' WHEN 6 THEN 'Zebra' WHEN 7 THEN 'Ąbc' ELSE 'abc' END END, "
        "'525-' || (i % 13), CASE i % 3 WHEN 0 THEN 'Łódź' WHEN 1 THEN 'Zamość' ELSE 'Ełk' END, i % 4, i / 8.0, "
        "datetime('2020-01-01', '+' || (i % 17) || ' days'), current_timestamp FROM n")));
    // Buyers in two catalogs come twice through the catalog join.
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "INSERT INTO buyer_catalog_join (id_buyer, id_catalog) SELECT id, 1 + id % 3 FROM buyer WHERE id % 2 = 0 "
        "UNION ALL SELECT id, 2 FROM buyer WHERE id % 6 = 0")));
}

void TestListRows::statementsAreSplitIntoTheirClauses_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("totalOrder");
    QTest::addColumn<QString>("firstColumnSql");
    QTest::addColumn<QString>("rowsOfIdsSql");

    QTest::newRow("sorted, condition with OR kept together")
        << "SELECT b.id AS idx, b.firm FROM buyer b WHERE b.city = 'A' OR b.city = 'B' ORDER BY b.firm COLLATE POLISH, b.id"
        << true << true << "SELECT b.id AS idx FROM buyer b WHERE b.city = 'A' OR b.city = 'B' ORDER BY b.firm COLLATE POLISH, b.id"
        << "SELECT b.id AS idx, b.firm FROM buyer b WHERE b.id IN (1,2) AND (b.city = 'A' OR b.city = 'B')";
    QTest::newRow("grouping kept, order dropped for rows")
        << "select b.id as idx, b.firm from buyer b left join j on j.id = b.id group by b.id having count(*) > 0 "
           "order by b.id desc"
        << true << true
        << "SELECT b.id as idx from buyer b left join j on j.id = b.id group by b.id having count(*) > 0 order by b.id desc"
        << "SELECT b.id as idx, b.firm from buyer b left join j on j.id = b.id WHERE b.id IN (1,2) group by b.id "
           "having count(*) > 0";
    QTest::newRow("keywords inside literals, names and subqueries")
        << "SELECT (SELECT max(id) FROM x ORDER BY 1) AS idx, 'a, FROM b' AS \"ORDER\", [WHERE] FROM t "
           "WHERE t.s = 'it''s ORDER BY' ORDER BY \"ORDER\""
        << true << false << "SELECT (SELECT max(id) FROM x ORDER BY 1) AS idx FROM t WHERE t.s = 'it''s ORDER BY' ORDER BY \"ORDER\""
        << "SELECT (SELECT max(id) FROM x ORDER BY 1) AS idx, 'a, FROM b' AS \"ORDER\", [WHERE] FROM t WHERE "
           "(SELECT max(id) FROM x ORDER BY 1) IN (1,2) AND (t.s = 'it''s ORDER BY')";
    QTest::newRow("first column without alias, no condition")
        << "SELECT id, name FROM number" << true << false << "SELECT id FROM number" << "SELECT id, name FROM number WHERE id IN (1,2)";
    QTest::newRow("ordered by the first column's alias") << "SELECT b.id AS idx FROM b ORDER BY b.name, idx" << true
                                                         << false << "SELECT b.id AS idx FROM b ORDER BY b.name, idx"
                                                         << "SELECT b.id AS idx FROM b WHERE b.id IN (1,2)";
    QTest::newRow("first column not last in the order") << "SELECT b.id AS idx FROM b ORDER BY b.id, b.name" << true
                                                        << false << "SELECT b.id AS idx FROM b ORDER BY b.id, b.name"
                                                        << "SELECT b.id AS idx FROM b WHERE b.id IN (1,2)";
    QTest::newRow("compound") << "SELECT 1 AS idx FROM a UNION SELECT 2 FROM b ORDER BY 1" << false << false << "" << "";
    QTest::newRow("limit") << "SELECT id FROM a ORDER BY id LIMIT 5" << false << false << "" << "";
    QTest::newRow("distinct") << "SELECT DISTINCT id FROM a ORDER BY id" << false << false << "" << "";
    QTest::newRow("comment") << "SELECT id FROM a -- ORDER BY id" << false << false << "" << "";
    QTest::newRow("open literal") << "SELECT id FROM a WHERE x = 'b ORDER BY id" << false << false << "" << "";
    QTest::newRow("unbalanced parenthesis") << "SELECT (id FROM a ORDER BY id" << false << false << "" << "";
    QTest::newRow("no FROM") << "SELECT 1, 2" << false << false << "" << "";
    QTest::newRow("two statements") << "SELECT id FROM a; DELETE FROM a" << false << false << "" << "";
}

void TestListRows::statementsAreSplitIntoTheirClauses()
{
    QFETCH(QString, sql);
    QFETCH(bool, valid);
    QFETCH(bool, totalOrder);
    QFETCH(QString, firstColumnSql);
    QFETCH(QString, rowsOfIdsSql);

    const MSqlSelectParts parts(sql);
    QCOMPARE(parts.isValid(), valid);
    QCOMPARE(parts.isOrderTotal(), totalOrder);
    if (!valid)
        return;
    QCOMPARE(parts.firstColumnSql(), firstColumnSql);
    QCOMPARE(parts.rowsOfIdsSql(QStringLiteral("1,2")), rowsOfIdsSql);
}

void TestListRows::joinsThatCannotChangeTheIdsAreLeftOut_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("firstColumnSql");

    const QString from = QStringLiteral(
        "SELECT b.id AS idx, p.name FROM buyer b LEFT JOIN province p ON p.id = b.id_province "
        "LEFT OUTER JOIN buyer_address AS ba ON b.id_address_contact = ba.id LEFT JOIN country c2 ON c2.id = ba.id_country");
    QTest::newRow("joins by key named nowhere else") << from + " ORDER BY b.firm"
                                                     << "SELECT b.id AS idx FROM buyer b ORDER BY b.firm";
    QTest::newRow("a join the order names, and the join it needs")
        << from + " ORDER BY c2.name, b.id"
        << "SELECT b.id AS idx FROM buyer b LEFT OUTER JOIN buyer_address AS ba ON b.id_address_contact = ba.id "
           "LEFT JOIN country c2 ON c2.id = ba.id_country ORDER BY c2.name, b.id";
    QTest::newRow("a join the condition names") << from + " WHERE p.name = 'x' ORDER BY b.id"
                                                << "SELECT b.id AS idx FROM buyer b LEFT JOIN province p ON p.id = "
                                                   "b.id_province WHERE p.name = 'x' ORDER BY b.id";
    QTest::newRow("joins that may repeat rows stay")
        << "SELECT b.id AS idx FROM buyer b LEFT JOIN buyer_catalog_join bcj ON bcj.id_buyer = b.id "
           "LEFT JOIN numbers n ON n.id = b.id_province LEFT JOIN province q ON q.id = b.id_province AND q.name <> '' "
           "INNER JOIN country c ON c.id = b.id_country ORDER BY b.id"
        << "SELECT b.id AS idx FROM buyer b LEFT JOIN buyer_catalog_join bcj ON bcj.id_buyer = b.id "
           "LEFT JOIN numbers n ON n.id = b.id_province LEFT JOIN province q ON q.id = b.id_province AND q.name <> '' "
           "INNER JOIN country c ON c.id = b.id_country ORDER BY b.id";
    QTest::newRow("comma join kept whole") << "SELECT b.id AS idx FROM buyer b, province p LEFT JOIN country c ON "
                                              "c.id = p.id ORDER BY b.id"
                                           << "SELECT b.id AS idx FROM buyer b, province p LEFT JOIN country c ON "
                                              "c.id = p.id ORDER BY b.id";
}

void TestListRows::joinsThatCannotChangeTheIdsAreLeftOut()
{
    QFETCH(QString, sql);
    QFETCH(QString, firstColumnSql);
    // Every table's id is its key here but that of "numbers".
    const auto idIsKey = [](const QString& table) { return table != QLatin1String("numbers"); };
    QCOMPARE(MSqlSelectParts(sql).firstColumnSql(idIsKey), firstColumnSql);
}

void TestListRows::listShowsWhatThePlainModelShows_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantMap>("values");

    const QString byFirm = QStringLiteral(" ORDER BY b.firm COLLATE POLISH, b.id");
    QTest::newRow("by name, Polish order, ties by id") << wideColumns + byFirm << QVariantMap();
    QTest::newRow("by name descending")
        << wideColumns + QStringLiteral(" ORDER BY b.firm COLLATE POLISH DESC, b.id DESC")
        << QVariantMap();
    QTest::newRow("by a column with NULLs") << wideColumns + QStringLiteral(" ORDER BY p.name COLLATE POLISH, b.id")
        << QVariantMap();
    QTest::newRow("by an expression of two columns")
        << wideColumns + QStringLiteral(" ORDER BY b.nip || ' ' || b.city COLLATE POLISH DESC, b.id DESC")
        << QVariantMap();
    QTest::newRow("by id") << wideColumns + QStringLiteral(" ORDER BY b.id") << QVariantMap();
    QTest::newRow("searched, condition with OR")
        << wideColumns
            + QStringLiteral(" WHERE lower(b.firm) LIKE '%ą%' ESCAPE '\\' COLLATE POLISH OR b.city = 'Ełk'") + byFirm
        << QVariantMap();
    QTest::newRow("filtered by catalogs, grouped")
        << wideColumns
            + QStringLiteral(" LEFT JOIN buyer_catalog_join bcj ON bcj.id_buyer = b.id "
                             "WHERE (bcj.id_catalog NOT IN (3) OR bcj.id_catalog IS NULL) AND b.id_province NOT IN (2) "
                             "GROUP BY b.id")
            + byFirm << QVariantMap();
    QTest::newRow("exactly one step of rows") << wideColumns + QStringLiteral(" WHERE b.id <= 256") + byFirm
        << QVariantMap();
    QTest::newRow("exactly two steps of rows") << wideColumns + QStringLiteral(" WHERE b.id <= 511") + byFirm
        << QVariantMap();
    QTest::newRow("nothing found") << wideColumns + QStringLiteral(" WHERE b.firm = 'brak'") + byFirm << QVariantMap();
    QTest::newRow("unsorted") << wideColumns << QVariantMap();
    QTest::newRow("by a column's alias, one step of rows")
        << wideColumns + QStringLiteral(" WHERE b.id <= 256 ORDER BY _time_create_ DESC, b.id") << QVariantMap();
    QTest::newRow("sorted with ties left open") << wideColumns + QStringLiteral(" ORDER BY b.city COLLATE POLISH")
        << QVariantMap();
    QTest::newRow("a statement read as it is")
        << QStringLiteral("SELECT b.id AS idx, b.firm FROM buyer b WHERE b.id < 300 UNION ALL "
                          "SELECT b.id, b.city FROM buyer b WHERE b.id > 500 ORDER BY 2 COLLATE POLISH, 1")
        << QVariantMap();
    // Values bound by name reach every statement the list runs, and only those naming them.
    QTest::newRow("bound values, sorted")
        << wideColumns + QStringLiteral(" WHERE b.city <> :city AND b.id > :first") + byFirm
        << QVariantMap{{":city", "Ełk"}, {":first", 20}, {":firstId", 1}};
    QTest::newRow("bound values, read as it is")
        << QStringLiteral("SELECT b.id AS idx, b.firm FROM buyer b WHERE b.city = :city UNION ALL "
                          "SELECT b.id, b.city FROM buyer b WHERE b.id > :first ORDER BY 2 COLLATE POLISH, 1")
        << QVariantMap{{":city", "Łódź"}, {":first", 300}};
}

void TestListRows::listShowsWhatThePlainModelShows()
{
    QFETCH(QString, sql);
    QFETCH(QVariantMap, values);

    QSqlQuery query;
    QVERIFY(query.prepare(sql));
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        if (sql.contains(value.key() + QLatin1Char(' ')))
            query.bindValue(value.key(), value.value());
    }
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    QSqlQueryModel plain;
    plain.setQuery(query);
    QVERIFY2(!plain.lastError().isValid(), qPrintable(plain.lastError().text()));
    MSqlQueryModel model;
    model.setQuery(sql, values);
    // Between two calls the list keeps no statement of its own unfinished: only the
    // plain model's may be.
    const auto listStatements = [&sql] {
        QStringList open = MTestDatabase::unfinishedStatements();
        open.removeAll(sql);
        return open;
    };
    QCOMPARE(listStatements(), QStringList());

    QCOMPARE(model.columnCount(), plain.columnCount());
    for (int column = 0; column < plain.columnCount(); ++column)
        QCOMPARE(model.record().fieldName(column), plain.record().fieldName(column));

    // The same rows become known at the same steps.
    forever {
        QCOMPARE(model.rowCount(), plain.rowCount());
        QCOMPARE(model.canFetchMore(), plain.canFetchMore());
        if (!plain.canFetchMore())
            break;
        model.fetchMore();
        plain.fetchMore();
        QCOMPARE(listStatements(), QStringList());
    }

    // Every value, read from the last row back so that pages are read out of order.
    for (int row = plain.rowCount() - 1; row >= 0; --row) {
        for (int column = 0; column < plain.columnCount(); ++column) {
            const QVariant expected = plain.index(row, column).data(Qt::EditRole);
            const QVariant shown = model.index(row, column).data(Qt::EditRole);
            const QByteArray where = QStringLiteral("row %1, column %2").arg(row).arg(column).toUtf8();
            QVERIFY2(shown.userType() == expected.userType(), where.constData());
            QVERIFY2(shown.isNull() == expected.isNull(), where.constData());
            QVERIFY2(shown == expected, where.constData());
        }
        QCOMPARE(model.record(row).value(0), plain.record(row).value(0));
    }
    QCOMPARE(listStatements(), QStringList());

    // The model tester fetches every row on its own as it checks the model.
    MSqlQueryModel tested;
    QAbstractItemModelTester tester(&tested, QAbstractItemModelTester::FailureReportingMode::QtTest);
    tested.setQuery(sql, values);
    QCOMPARE(tested.rowCount(), plain.rowCount());
    QVERIFY(!tested.canFetchMore());
}

INVOICE_TEST_MAIN(TestListRows)
#include "tst_listrows.moc"
