#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "views/MItemRoles.h"
#include "views/MListFont.h"
#include "views/MSelectListModel.h"
#include "views/MSqlQueryTreeModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

// One node of an expected tree: text, value, state and children.
struct Node
{
    QString text;
    QString value;
    int state;
    QList<Node> children;
};
Q_DECLARE_METATYPE(Node)

class TestTreeModels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void treeIsBuiltFromPaths_data();
    void treeIsBuiltFromPaths();
    void unexecutedQueryBuildsNothing();
    void clickTogglesAnItemAndItsChildren();
    void clickOnGroupRowChangesNothing();
    void collapseAndExpandAreRecorded();
    void treeDataAndFlags();
    void checkListTogglesInColumnZeroOnly();
    void checkListAnswersOnlyItsRoles();

private:
    static QSqlQuery pathsQuery(const QStringList& paths);
    static void compareTree(const QStandardItemModel& model, const QModelIndex& parent, const QList<Node>& expected);
    static MSqlQueryTreeModel* buildYearTree(QObject* parent);
};

void TestTreeModels::initTestCase()
{
    QVERIFY(MTestDatabase::connect(QStringLiteral(":memory:")));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE path (n INTEGER PRIMARY KEY, text TEXT)")));
}

void TestTreeModels::cleanupTestCase()
{
    MTestDatabase::close();
}

QSqlQuery TestTreeModels::pathsQuery(const QStringList& paths)
{
    QSqlQuery query;
    query.exec(QStringLiteral("DELETE FROM path"));
    for (const QString& path : paths) {
        query.prepare(QStringLiteral("INSERT INTO path (text) VALUES (:text)"));
        query.bindValue(QStringLiteral(":text"), path);
        query.exec();
    }
    QSqlQuery select;
    select.exec(QStringLiteral("SELECT text, 'ignored' FROM path ORDER BY n"));
    return select;
}

void TestTreeModels::compareTree(const QStandardItemModel& model, const QModelIndex& parent,
                                 const QList<Node>& expected)
{
    QCOMPARE(model.rowCount(parent), expected.size());
    for (int row = 0; row < expected.size(); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const Node& node = expected.at(row);
        QCOMPARE(index.data(Qt::DisplayRole).toString(), node.text);
        QCOMPARE(index.data(Qt::ToolTipRole).toString(), node.text);
        QCOMPARE(index.data(ItemRole::Value).toString(), node.value);
        QCOMPARE(index.data(ItemRole::State).toInt(), node.state);
        compareTree(model, index, node.children);
    }
}

void TestTreeModels::treeIsBuiltFromPaths_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QList<Node>>("tree");

    QTest::newRow("one group, two values")
        << QStringList{ "A\t1\nx\t10", "A\t1\ny\t11" }
        << QList<Node>{ { "A", "1", 0, { { "x", "10", 3, {} }, { "y", "11", 3, {} } } } };
    QTest::newRow("label without tab is its own value")
        << QStringList{ "Województwo\t1\nłódzkie" }
        << QList<Node>{ { "Województwo", "1", 0, { { "łódzkie", "łódzkie", 3, {} } } } };
    QTest::newRow("months share their year")
        << QStringList{ "Data\t5\n2023\t2023\nstyczeń\t01", "Data\t5\n2023\t2023\nluty\t02",
                        "Data\t5\n2024\t2024\nmarzec\t03" }
        << QList<Node>{ { "Data", "5", 0,
                          { { "2023", "2023", 3, { { "styczeń", "01", 3, {} }, { "luty", "02", 3, {} } } },
                            { "2024", "2024", 3, { { "marzec", "03", 3, {} } } } } } };
    QTest::newRow("two groups")
        << QStringList{ "A\t1\nx\t10", "B\t2\nz\t20" }
        << QList<Node>{ { "A", "1", 0, { { "x", "10", 3, {} } } }, { "B", "2", 0, { { "z", "20", 3, {} } } } };
    // Remembered deeper levels are not reset when a higher level changes.
    QTest::newRow("equal year under a new group joins the earlier year")
        << QStringList{ "A\t1\n2023\t2023\nstyczeń\t01", "B\t2\n2023\t2023\nluty\t02" }
        << QList<Node>{ { "A", "1", 0, { { "2023", "2023", 3, { { "styczeń", "01", 3, {} }, { "luty", "02", 3, {} } } } } },
                        { "B", "2", 0, {} } };
    QTest::newRow("equal leaves are each kept")
        << QStringList{ "A\t1\nx\t10", "A\t1\nx\t10" }
        << QList<Node>{ { "A", "1", 0, { { "x", "10", 3, {} }, { "x", "10", 3, {} } } } };
    QTest::newRow("single level rows are top-level leaves")
        << QStringList{ "solo\t7", "solo\t7" }
        << QList<Node>{ { "solo", "7", 0, {} }, { "solo", "7", 0, {} } };
    QTest::newRow("empty result") << QStringList{} << QList<Node>{};
}

void TestTreeModels::treeIsBuiltFromPaths()
{
    QFETCH(QStringList, paths);
    QFETCH(QList<Node>, tree);
    MSqlQueryTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setQuery(pathsQuery(paths));
    QVERIFY(model.buildTree());
    compareTree(model, QModelIndex(), tree);
}

void TestTreeModels::unexecutedQueryBuildsNothing()
{
    MSqlQueryTreeModel model;
    QVERIFY(!model.buildTree());
    QCOMPARE(model.rowCount(), 0);

    QSqlQuery failed;
    QVERIFY(!failed.exec(QStringLiteral("SELECT nothing FROM nowhere")));
    model.setQuery(failed);
    QVERIFY(!model.buildTree());
    QCOMPARE(model.rowCount(), 0);
}

MSqlQueryTreeModel* TestTreeModels::buildYearTree(QObject* parent)
{
    auto* model = new MSqlQueryTreeModel(parent);
    model->setQuery(pathsQuery({ "Data\t5\n2023\t2023\nstyczeń\t01", "Data\t5\n2023\t2023\nluty\t02",
                                 "Data\t5\n2024\t2024\nmarzec\t03" }));
    model->buildTree();
    return model;
}

void TestTreeModels::clickTogglesAnItemAndItsChildren()
{
    QObject owner;
    MSqlQueryTreeModel* model = buildYearTree(&owner);
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QModelIndex group = model->index(0, 0);
    const QModelIndex year = model->index(0, 0, group);
    const QModelIndex january = model->index(0, 0, year);
    const QModelIndex otherYear = model->index(1, 0, group);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);

    model->treeViewItemClicked(year);
    QCOMPARE(year.data(ItemRole::State).toInt(), 4);
    QCOMPARE(january.data(ItemRole::State).toInt(), 4);
    QCOMPARE(model->index(1, 0, year).data(ItemRole::State).toInt(), 4);
    QCOMPARE(otherYear.data(ItemRole::State).toInt(), 3);
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.first().at(0).value<QModelIndex>(), year);

    // A month can be switched back on its own ...
    model->treeViewItemClicked(january);
    QCOMPARE(january.data(ItemRole::State).toInt(), 3);
    QCOMPARE(year.data(ItemRole::State).toInt(), 4);
    // ... and the next click on the year gives all its months the year's new state.
    model->treeViewItemClicked(year);
    QCOMPARE(year.data(ItemRole::State).toInt(), 3);
    QCOMPARE(january.data(ItemRole::State).toInt(), 3);
    QCOMPARE(model->index(1, 0, year).data(ItemRole::State).toInt(), 3);

    // Indexes of another model or invalid ones are ignored.
    QStandardItemModel other;
    other.appendRow(new QStandardItem(QStringLiteral("x")));
    model->treeViewItemClicked(other.index(0, 0));
    model->treeViewItemClicked(QModelIndex());
    QCOMPARE(year.data(ItemRole::State).toInt(), 3);
}

void TestTreeModels::clickOnGroupRowChangesNothing()
{
    QObject owner;
    MSqlQueryTreeModel* model = buildYearTree(&owner);
    const QModelIndex group = model->index(0, 0);
    model->treeViewItemClicked(group);
    QCOMPARE(group.data(ItemRole::State).toInt(), 0);
    QCOMPARE(model->index(0, 0, group).data(ItemRole::State).toInt(), 3);
    QCOMPARE(model->index(1, 0, group).data(ItemRole::State).toInt(), 3);
}

void TestTreeModels::collapseAndExpandAreRecorded()
{
    QObject owner;
    MSqlQueryTreeModel* model = buildYearTree(&owner);
    const QModelIndex year = model->index(0, 0, model->index(0, 0));
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    model->treeViewItemExpanded(year);
    QCOMPARE(year.data(ItemRole::State).toInt(), 2);
    model->treeViewItemCollapsed(year);
    QCOMPARE(year.data(ItemRole::State).toInt(), 1);
    QCOMPARE(changed.size(), 2);
    // A collapsed item is no longer a check item: a click leaves it alone.
    model->treeViewItemClicked(year);
    QCOMPARE(year.data(ItemRole::State).toInt(), 1);
}

void TestTreeModels::treeDataAndFlags()
{
    QObject owner;
    MSqlQueryTreeModel* model = buildYearTree(&owner);
    const QModelIndex group = model->index(0, 0);
    const QModelIndex year = model->index(0, 0, group);
    QVERIFY(!group.data(Qt::DecorationRole).isValid());
    QVERIFY(year.data(Qt::DecorationRole).canConvert<QIcon>());
    model->treeViewItemClicked(year);
    QVERIFY(year.data(Qt::DecorationRole).canConvert<QIcon>());
    model->treeViewItemExpanded(year);
    QVERIFY(!year.data(Qt::DecorationRole).isValid());

    const QFont font = year.data(Qt::FontRole).value<QFont>();
    QCOMPARE(font.family(), QStringLiteral("Arial"));
    QCOMPARE(font.pointSize(), listFontSize());
    QCOMPARE(model->flags(year), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QCOMPARE(model->flags(QModelIndex()), Qt::NoItemFlags);
    QVERIFY(!model->data(QModelIndex(), Qt::FontRole).isValid());
}

void TestTreeModels::checkListTogglesInColumnZeroOnly()
{
    MSelectListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QList<QPair<int, QString>> catalogs = { { 0, "[bez katalogu] (3)" }, { 7, "Hurtownie (2)" } };
    for (const auto& catalog : catalogs) {
        auto* mark = new QStandardItem;
        mark->setData(CheckItemState::Checked, ItemRole::State);
        mark->setData(catalog.first, ItemRole::Value);
        model.appendRow({ mark, new QStandardItem(catalog.second) });
    }
    // A row with a state that is neither checked nor unchecked.
    auto* odd = new QStandardItem;
    odd->setData(0, ItemRole::State);
    model.appendRow({ odd, new QStandardItem(QStringLiteral("inne")) });

    model.itemClicked(model.index(1, 1));
    QCOMPARE(model.index(1, 0).data(ItemRole::State).toInt(), 1);
    model.itemClicked(model.index(1, 0));
    QCOMPARE(model.index(1, 0).data(ItemRole::State).toInt(), 2);
    QCOMPARE(model.index(0, 0).data(ItemRole::State).toInt(), 1);
    model.itemClicked(model.index(1, 0));
    QCOMPARE(model.index(1, 0).data(ItemRole::State).toInt(), 1);
    model.itemClicked(model.index(2, 0));
    QCOMPARE(model.index(2, 0).data(ItemRole::State).toInt(), 0);
    model.itemClicked(QModelIndex());
    QCOMPARE(model.index(1, 0).data(ItemRole::Value).toInt(), 7);
}

void TestTreeModels::checkListAnswersOnlyItsRoles()
{
    MSelectListModel model;
    auto* mark = new QStandardItem(QStringLiteral("m"));
    mark->setData(CheckItemState::Unchecked, ItemRole::State);
    mark->setData(QStringLiteral("klucz"), Qt::UserRole);
    mark->setToolTip(QStringLiteral("dymek"));
    auto* name = new QStandardItem(QStringLiteral("Nazwa"));
    name->setData(CheckItemState::Checked, ItemRole::State);
    model.appendRow({ mark, name });

    QVERIFY(model.index(0, 0).data(Qt::DecorationRole).canConvert<QIcon>());
    QVERIFY(!model.index(0, 1).data(Qt::DecorationRole).isValid());
    QCOMPARE(model.index(0, 0).data(Qt::UserRole).toString(), QStringLiteral("klucz"));
    QCOMPARE(model.index(0, 1).data(Qt::DisplayRole).toString(), QStringLiteral("Nazwa"));
    QVERIFY(!model.index(0, 0).data(Qt::ToolTipRole).isValid());
    QVERIFY(!model.index(0, 1).data(Qt::EditRole).isValid());
    QCOMPARE(model.index(0, 1).data(Qt::FontRole).value<QFont>().family(), QStringLiteral("Arial"));

    QCOMPARE(model.flags(model.index(0, 0)), Qt::ItemIsEnabled);
    QCOMPARE(model.flags(model.index(0, 1)), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QCOMPARE(model.flags(QModelIndex()), Qt::NoItemFlags);
}

INVOICE_TEST_MAIN(TestTreeModels)
#include "tst_treemodels.moc"
