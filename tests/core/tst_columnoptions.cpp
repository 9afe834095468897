#include "MTestDatabase.h"

#include "data/MColumnOptions.h"
#include "data/MOptions.h"
#include "MTestEnvironment.h"

#include <QApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// Shifting the four stored column-layout options of a view when a column is
// removed from or inserted into its query.
class TestColumnOptions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void shift_data();
    void shift();
    void otherViewsAreUntouched();

private:
    QTemporaryDir m_dir;
};

namespace {

const QString view = QStringLiteral("BUYER_DB_VIEW");
const QStringList prefixes{"COLUMN_SORT_", "COLUMN_SIZE_", "COLUMN_VISIBLE_", "COLUMN_POSITION_"};

} // namespace

void TestColumnOptions::initTestCase()
{
    QVERIFY(MTestDatabase::build(m_dir.filePath(QStringLiteral("options.db3"))));
}

void TestColumnOptions::cleanupTestCase()
{
    MTestDatabase::close();
}

void TestColumnOptions::init()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("DELETE FROM _options")));
    MOptions::loadOptions();
}

void TestColumnOptions::shift_data()
{
    // Each list: sort, sizes, visibility, positions ("" = not stored).
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("remove column 1") << QStringList{"3;1", "0;120;80;95", "0;1;1;1", "0;2;1;3"} << 1 << true
                                     << QStringList{"2;1", "0;80;95", "0;1;1", "0;1;2"};
    QTest::newRow("insert column 1") << QStringList{"3;1", "0;120;80;95", "0;1;1;1", "0;2;1;3"} << 1 << false
                                     << QStringList{"4;1", "0;100;120;80;95", "0;1;1;1;1", "0;1;3;2;4"};
    QTest::newRow("remove the last column") << QStringList{"2;0", "10;20;30", "1;0;1", "2;0;1"} << 2 << true
                                            << QStringList{"2;0", "10;20", "1;0", "1;0"};
    QTest::newRow("insert column 0") << QStringList{"1;0", "10;20", "1;0", "1;0"} << 0 << false
                                     << QStringList{"2;0", "100;10;20", "1;1;0", "0;2;1"};
    QTest::newRow("default sort never moves") << QStringList{"0;0", "", "", ""} << 0 << false
                                              << QStringList{"0;0", "", "", ""};
    QTest::newRow("no sort never moves") << QStringList{"-1;1", "", "", ""} << 0 << false
                                         << QStringList{"-1;1", "", "", ""};
    QTest::newRow("sorted column removed: its successor keeps the sort")
        << QStringList{"1;1", "", "", ""} << 1 << true << QStringList{"1;1", "", "", ""};
    QTest::newRow("sort before the removed column stays") << QStringList{"2;0", "", "", ""} << 3 << true
                                                          << QStringList{"2;0", "", "", ""};
    QTest::newRow("sort at the inserted column moves") << QStringList{"3;0", "", "", ""} << 3 << false
                                                       << QStringList{"4;0", "", "", ""};
    QTest::newRow("sort before the inserted column stays") << QStringList{"2;0", "", "", ""} << 3 << false
                                                           << QStringList{"2;0", "", "", ""};
    QTest::newRow("sort of three parts is left alone") << QStringList{"3;0;1", "", "", ""} << 1 << true
                                                       << QStringList{"3;0;1", "", "", ""};
    QTest::newRow("insert at the end adds nothing") << QStringList{"", "10;20", "1;0", "1;0"} << 2 << false
                                                    << QStringList{"", "10;20", "1;0", "1;0"};
    QTest::newRow("insert beyond the end adds nothing") << QStringList{"", "10;20", "1;0", "1;0"} << 7 << false
                                                        << QStringList{"", "10;20", "1;0", "1;0"};
    QTest::newRow("remove beyond the end changes nothing") << QStringList{"", "10;20", "1;0", "1;0"} << 7 << true
                                                           << QStringList{"", "10;20", "1;0", "1;0"};
    QTest::newRow("the only entry removed: old value kept") << QStringList{"", "50", "1", "0"} << 0 << true
                                                            << QStringList{"", "50", "1", "0"};
    QTest::newRow("parts that are not numbers count as 0") << QStringList{"x;1", "a;20;30", "1;;1", "0;b;1"} << 1
                                                           << true << QStringList{"x;1", "0;30", "1;1", "0;0"};
    QTest::newRow("empty keys stay empty") << QStringList{"", "", "", ""} << 1 << false
                                           << QStringList{"", "", "", ""};
}

void TestColumnOptions::shift()
{
    QFETCH(QStringList, before);
    QFETCH(int, column);
    QFETCH(bool, removed);
    QFETCH(QStringList, after);

    for (int i = 0; i < prefixes.size(); ++i)
        if (!before.at(i).isEmpty())
            MOptions::setOption(prefixes.at(i) + view, before.at(i));

    MColumnOptions::shiftColumnOptions(view, column, removed);

    QStringList cached;
    for (const QString& prefix : prefixes)
        cached << MOptions::option(prefix + view);
    QCOMPARE(cached, after);

    // The store holds the same, and an absent key was not created.
    MOptions::loadOptions();
    QStringList stored;
    for (const QString& prefix : prefixes)
        stored << MOptions::option(prefix + view);
    QCOMPARE(stored, after);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT count(*) FROM _options")).toInt(),
             int(before.size() - before.count(QString())));
}

void TestColumnOptions::otherViewsAreUntouched()
{
    MOptions::setOption(QStringLiteral("COLUMN_SIZE_SELLER_DB_VIEW"), QStringLiteral("1;2;3"));
    MOptions::setOption(QStringLiteral("COLUMN_SIZE_BUYER_DB_VIEW"), QStringLiteral("1;2;3"));
    MColumnOptions::shiftColumnOptions(view, 0, true);
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_SIZE_SELLER_DB_VIEW")), QStringLiteral("1;2;3"));
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_SIZE_BUYER_DB_VIEW")), QStringLiteral("2;3"));
}

INVOICE_TEST_MAIN(TestColumnOptions)
#include "tst_columnoptions.moc"
