#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MSqlitePolish.h"
#include "views/MFilterConditions.h"
#include "views/MSqlQueryModel.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// The conditions that the record views build from the filter panel: the search text is
// data and is searched for literally, whatever it holds.
class TestFilterConditions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void likeText_data();
    void likeText();
    void searchConditionText_data();
    void searchConditionText();
    void searchFindsTheTypedText_data();
    void searchFindsTheTypedText();
    void catalogConditionsText_data();
    void catalogConditionsText();
    void catalogConditionsSelectRecords_data();
    void catalogConditionsSelectRecords();
    void treeIds_data();
    void treeIds();

private:
    static QStringList firms(const QString& conditions, bool catalogJoin = false);
};

namespace {

// Columns of the searched table: firm (text) and nip (tax identifier, searched as stored
// without dashes and blanks, as the buyer list does).
const QStringList expressions{QStringLiteral("firm"), QStringLiteral("replace(replace(nip, '-', ''), ' ', '')"),
                              QStringLiteral("firm\tnote")};
const QList<int> kinds{ColumnKind::Text, ColumnKind::TaxIdentifier, ColumnKind::Text};

} // namespace

void TestFilterConditions::initTestCase()
{
    QVERIFY(MTestDatabase::connect(QStringLiteral(":memory:")));
    QString error;
    QVERIFY2(MSqlitePolish::install(QSqlDatabase::database(), &error), qPrintable(error));

    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE buyer (id INTEGER PRIMARY KEY, firm TEXT, nip TEXT, note TEXT)")));
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE buyer_catalog_join (id INTEGER PRIMARY KEY, id_buyer INTEGER, "
                                      "id_catalog INTEGER)")));
    const QStringList rows{
        QStringLiteral("1, 'ŻÓŁTA ŁÓDŹ', '', ''"),
        QStringLiteral("2, 'żółta łódź', '', ''"),
        QStringLiteral("3, 'O''Neil', '', ''"),
        QStringLiteral("4, '50% rabatu', '', ''"),
        QStringLiteral("5, '5000 sztuk', '', ''"),
        QStringLiteral("6, 'a_b', '', ''"),
        QStringLiteral("7, 'axb', '', ''"),
        QStringLiteral("8, 'C:\\dane', '', ''"),
        QStringLiteral("9, 'C:xdane', '', ''"),
        QStringLiteral("10, 'Firma NIP', '123-456-78-90', 'uwaga'"),
        QStringLiteral("11, 'Firma NIP 2', '123 456 78 90', ''"),
        QStringLiteral("12, 'Inna', '9876543210', 'żółta'"),
    };
    for (const QString& row : rows)
        QVERIFY2(query.exec(QStringLiteral("INSERT INTO buyer VALUES (") + row + QLatin1Char(')')),
                 qPrintable(query.lastError().text()));
    // Buyer 1 in catalogs 4 and 9, buyer 2 only in 4, buyer 3 in 7; the others in none.
    QVERIFY(query.exec(QStringLiteral("INSERT INTO buyer_catalog_join (id_buyer, id_catalog) VALUES "
                                      "(1, 4), (1, 9), (2, 4), (3, 7)")));
}

void TestFilterConditions::cleanupTestCase()
{
    MTestDatabase::close();
}

QStringList TestFilterConditions::firms(const QString& conditions, bool catalogJoin)
{
    QString sql = QStringLiteral("SELECT b.firm FROM buyer b");
    if (catalogJoin)
        sql += QStringLiteral(" LEFT JOIN buyer_catalog_join bcj ON bcj.id_buyer = b.id");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions;
    sql += QStringLiteral(" GROUP BY b.id ORDER BY b.id");
    QSqlQuery query;
    if (!query.exec(sql)) {
        qWarning() << sql << query.lastError().text();
        return {QStringLiteral("<SQL error>")};
    }
    QStringList result;
    while (query.next())
        result << query.value(0).toString();
    return result;
}

void TestFilterConditions::likeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taxIdentifier");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Polish capitals are lower-cased") << QStringLiteral("ŻÓŁTA ŁÓDŹ") << false
                                                     << QStringLiteral("żółta łódź");
    QTest::newRow("apostrophe is doubled") << QStringLiteral("O'Neil") << false << QStringLiteral("o''neil");
    QTest::newRow("per cent gets a backslash") << QStringLiteral("50%") << false << QStringLiteral("50\\%");
    QTest::newRow("underscore gets a backslash") << QStringLiteral("a_b") << false << QStringLiteral("a\\_b");
    QTest::newRow("backslash is doubled") << QStringLiteral("C:\\dane") << false << QStringLiteral("c:\\\\dane");
    QTest::newRow("added backslashes are not doubled")
        << QStringLiteral("50%_a'b\\") << false << QStringLiteral("50\\%\\_a''b\\\\");
    QTest::newRow("tax identifier loses dashes and blanks")
        << QStringLiteral("123-456 78-90") << true << QStringLiteral("1234567890");
    QTest::newRow("other column keeps dashes and blanks")
        << QStringLiteral("123-456 78") << false << QStringLiteral("123-456 78");
}

void TestFilterConditions::likeText()
{
    QFETCH(QString, text);
    QFETCH(bool, taxIdentifier);
    QFETCH(QString, expected);
    QCOMPARE(searchLikeText(text, taxIdentifier), expected);
}

void TestFilterConditions::searchConditionText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one expression") << QStringLiteral("Ab") << 0
                                    << QStringLiteral("(firm LIKE '%ab%' ESCAPE '\\' COLLATE POLISH)");
    QTest::newRow("tax identifier column")
        << QStringLiteral("12-3 4") << 1
        << QStringLiteral("(replace(replace(nip, '-', ''), ' ', '') LIKE '%1234%' ESCAPE '\\' COLLATE POLISH)");
    QTest::newRow("two expressions joined by OR")
        << QStringLiteral("x") << 2
        << QStringLiteral("(firm LIKE '%x%' ESCAPE '\\' COLLATE POLISH OR note LIKE '%x%' ESCAPE '\\' COLLATE POLISH)");
    QTest::newRow("empty text gives none") << QString() << 0 << QString();
    QTest::newRow("negative column gives none") << QStringLiteral("x") << -1 << QString();
    QTest::newRow("column beyond the list gives none") << QStringLiteral("x") << 3 << QString();
}

void TestFilterConditions::searchConditionText()
{
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(QString, expected);
    QCOMPARE(searchCondition(text, column, expressions, kinds), expected);
}

void TestFilterConditions::searchFindsTheTypedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("expected");

    const QStringList lodz{QStringLiteral("ŻÓŁTA ŁÓDŹ"), QStringLiteral("żółta łódź")};
    QTest::newRow("Polish capitals find either case") << QStringLiteral("ŻÓŁTA") << 0 << lodz;
    QTest::newRow("Polish small letters find either case") << QStringLiteral("łódź") << 0 << lodz;
    QTest::newRow("apostrophe") << QStringLiteral("O'Neil") << 0 << QStringList{QStringLiteral("O'Neil")};
    QTest::newRow("per cent is no wildcard") << QStringLiteral("50%") << 0 << QStringList{QStringLiteral("50% rabatu")};
    QTest::newRow("underscore is no wildcard") << QStringLiteral("a_b") << 0 << QStringList{QStringLiteral("a_b")};
    QTest::newRow("backslash") << QStringLiteral("C:\\dane") << 0 << QStringList{QStringLiteral("C:\\dane")};
    QTest::newRow("tax identifier with dashes and blanks")
        << QStringLiteral(" 123-456 7890") << 1 << QStringList{QStringLiteral("Firma NIP"), QStringLiteral("Firma NIP 2")};
    QTest::newRow("part of a tax identifier") << QStringLiteral("6-7") << 1
                                              << QStringList{QStringLiteral("Firma NIP"), QStringLiteral("Firma NIP 2")};
    QTest::newRow("second expression of an entry")
        << QStringLiteral("Żółta") << 2 << QStringList{QStringLiteral("ŻÓŁTA ŁÓDŹ"), QStringLiteral("żółta łódź"),
                                                        QStringLiteral("Inna")};
    QTest::newRow("statement in the text stays text") << QStringLiteral("x' OR 1=1 --") << 0 << QStringList();
    QTest::newRow("escape in the text stays text") << QStringLiteral("%' ESCAPE '!") << 0 << QStringList();
}

void TestFilterConditions::searchFindsTheTypedText()
{
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(QStringList, expected);
    QCOMPARE(firms(searchCondition(text, column, expressions, kinds)), expected);
}

void TestFilterConditions::catalogConditionsText_data()
{
    QTest::addColumn<QString>("unchecked");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing unchecked") << QString() << QStringList();
    QTest::newRow("no catalog and two catalogs")
        << QStringLiteral("0;4;7")
        << QStringList{QStringLiteral("(bcj.id_catalog > 0)"),
                       QStringLiteral("(bcj.id_catalog NOT IN (4,7) OR bcj.id_catalog IS NULL)")};
    QTest::newRow("parts that are no ids are ignored")
        << QStringLiteral("4;;x;7) OR 1=1 --") << QStringList{QStringLiteral("(bcj.id_catalog NOT IN (4) OR bcj.id_catalog IS NULL)")};
}

void TestFilterConditions::catalogConditionsText()
{
    QFETCH(QString, unchecked);
    QFETCH(QStringList, expected);
    QCOMPARE(catalogConditions(unchecked, QStringLiteral("bcj")), expected);
}

void TestFilterConditions::catalogConditionsSelectRecords_data()
{
    QTest::addColumn<QString>("unchecked");
    QTest::addColumn<QStringList>("expected");

    const QStringList all = firms(QString());
    const QStringList withoutCatalog = all.mid(3);

    QTest::newRow("catalogs 4 and 7 unchecked")
        << QStringLiteral("4;7") << QStringList{all.at(0)} + withoutCatalog;
    QTest::newRow("only no catalog unchecked") << QStringLiteral("0") << QStringList(all.mid(0, 3));
    QTest::newRow("everything unchecked") << QStringLiteral("0;4;7;9") << QStringList();
}

void TestFilterConditions::catalogConditionsSelectRecords()
{
    QFETCH(QString, unchecked);
    QFETCH(QStringList, expected);
    const QStringList conditions = catalogConditions(unchecked, QStringLiteral("bcj"));
    QCOMPARE(firms(conditions.join(QStringLiteral(" AND ")), true), expected);
}

void TestFilterConditions::treeIds_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("expected");

    QTest::newRow("provinces") << QStringLiteral("1,3;1,12;2,5") << QStringLiteral("1") << QStringLiteral("3,12");
    QTest::newRow("another group") << QStringLiteral("1,3;1,12;2,5") << QStringLiteral("2") << QStringLiteral("5");
    QTest::newRow("nothing unchecked") << QString() << QStringLiteral("1") << QString();
    QTest::newRow("keys without a value or an id are ignored")
        << QStringLiteral("1;1,;1,abc;1,4) OR (1;1,7") << QStringLiteral("1") << QStringLiteral("7");
}

void TestFilterConditions::treeIds()
{
    QFETCH(QString, keys);
    QFETCH(QString, group);
    QFETCH(QString, expected);
    QCOMPARE(uncheckedTreeIds(keys, group), expected);
}

INVOICE_TEST_MAIN(TestFilterConditions)
#include "tst_filterconditions.moc"
