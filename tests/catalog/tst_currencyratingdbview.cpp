#include "MTestContextMenu.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestRecordList.h"
#include "catalog/MCurrencyRatingDbView.h"
#include "data/MOptions.h"
#include "views/MFilterDbView.h"
#include "views/MItemRoles.h"
#include "views/MMessageBox.h"
#include "views/MTableView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

#include <memory>

// The currency-rating list: its columns, its SQL from the stored state and from the filter
// tree (bank names of any text), sorting, searching and deleting.
class TestCurrencyRatingDbView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void columnsShowTheRating();
    void listFollowsStoredState_data();
    void listFollowsStoredState();
    void treeOfTheListUnchecksExactlyItsRatings_data();
    void treeOfTheListUnchecksExactlyItsRatings();
    void manyUncheckedBanksAreAllHidden();
    void noticeSelectsASavedRatingUnderItsTree();
    void deleteAsks_data();
    void deleteAsks();
    void contextMenuFollowsTheSelection_data();
    void contextMenuFollowsTheSelection();

private:
    MCurrencyRatingDbView* openView();
    QTreeView* filterTree() const;
    static QModelIndex findItem(const QAbstractItemModel* model, const QString& label,
                                const QModelIndex& parent = QModelIndex());

    std::unique_ptr<MTestDatabase> m_db;
    MCurrencyRatingDbView* m_view = nullptr;
};

namespace {

// Banks chosen so that Polish order differs from code-point order, one with a quote and
// one with a comma in its name; two ratings of one bank for the tie-break. Currencies:
// 1 EUR, 2 USD, 4 CHF, 5 JPY.
const char* const fixture =
    "INSERT INTO currency_rating (id, bank_name, id_currency_from, id_currency_to, rating_date, input_kind, "
    "currency_amount_from, currency_value, table_name, time_create, time_modify) VALUES "
    "(1, 'NBP', 1, 0, '2026-01-15', 0, 1, 4.3, '010/A', 0, 0), "
    "(2, 'Bank ''Pekao''', 2, 0, '2026-02-03', 0, 1, 4.01, 'T1', 0, 0), "
    "(3, 'Łódzki Bank', 5, 0, '2026-01-20', 0, 100, 2.6543, 'T%2', 0, 0), "
    "(4, 'Alior', 1, 0, '2025-12-31', 0, 1, 4.25, 'T_2', 0, 0), "
    "(5, 'NBP', 4, 0, '2026-02-10', 0, 1, 4.6, 'C:\\tab', 0, 0), "
    "(6, 'Zet, S.A.', 1, 0, '2026-02-11', 0, 10, 43.1, 'O''Brien', 0, 0), "
    "(7, 'Alior', 1, 0, '2026-02-01', 0, 1, 4.24, 'T22', 0, 0)";

const char* const viewOptions[] = {
    "SEARCH_SWITCH_CURRENCY_RATING_DB_VIEW",      "FILTER_SEARCH_COLUMN_CURRENCY_RATING_DB_VIEW",
    "FILTER_SEARCH_TEXT_CURRENCY_RATING_DB_VIEW", "FILTER_TREE_SWITCH_CURRENCY_RATING_DB_VIEW",
    "FILTER_TREE_UNCHECKED_CURRENCY_RATING_DB_VIEW", "FILTER_TREE_EXPANDED_CURRENCY_RATING_DB_VIEW",
    "COLUMN_SORT_CURRENCY_RATING_DB_VIEW",
};

const QList<int> all = {1, 2, 3, 4, 5, 6, 7};

} // namespace

void TestCurrencyRatingDbView::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
}

void TestCurrencyRatingDbView::init()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse_delete")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM currency_rating")));
    QVERIFY(MTestDatabase::exec(QString::fromUtf8(fixture)));
    for (const char* key : viewOptions)
        MOptions::setOption(QLatin1String(key), QString());
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("FILTER_SHOW_CURRENCY_RATING_DB_VIEW"), QStringLiteral("1"));
    MMessageBox::takeShown();
}

void TestCurrencyRatingDbView::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

MCurrencyRatingDbView* TestCurrencyRatingDbView::openView()
{
    delete m_view;
    m_view = new MCurrencyRatingDbView(nullptr, nullptr);
    openRecordList(m_view);
    return m_view;
}

QTreeView* TestCurrencyRatingDbView::filterTree() const
{
    return m_view->findChild<QTreeView*>(QStringLiteral("filterTree"));
}

QModelIndex TestCurrencyRatingDbView::findItem(const QAbstractItemModel* model, const QString& label,
                                               const QModelIndex& parent)
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString() == label)
            return index;
        const QModelIndex found = findItem(model, label, index);
        if (found.isValid())
            return found;
    }
    return QModelIndex();
}

void TestCurrencyRatingDbView::columnsShowTheRating()
{
    openView();
    QAbstractItemModel* model = m_view->tableView()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList titles;
    for (int column = 0; column < 9; ++column)
        titles << model->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"Id", "Data notowania", "Bank", "Waluta", "Kurs", "Tabela", "Utworzone",
                                  "Czas utworzenia", "Czas modyfikacji"}));
    QVERIFY(m_view->tableView()->horizontalHeader()->isSectionHidden(9));
    for (int column = 0; column < 9; ++column)
        QVERIFY(!m_view->tableView()->horizontalHeader()->isSectionHidden(column));

    const int row = listIds(m_view->tableView()).indexOf(3);
    QStringList shown;
    for (int column = 1; column < 7; ++column)
        shown << model->index(row, column).data().toString();
    QCOMPARE(shown, (QStringList{"2026-01-20", "Łódzki Bank", "100 JPY", "2,6543 PLN", "T%2", "ręcznie"}));
    QVERIFY(model->index(row, 3).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QCOMPARE(model->index(row, 9).data().toString(), QStringLiteral("2026,01"));
}

void TestCurrencyRatingDbView::listFollowsStoredState_data()
{
    QTest::addColumn<QStringList>("options"); // key=value
    QTest::addColumn<QList<int>>("ids");

    const QString treeOn = QStringLiteral("FILTER_TREE_SWITCH_CURRENCY_RATING_DB_VIEW=1");
    const QString unchecked = QStringLiteral("FILTER_TREE_UNCHECKED_CURRENCY_RATING_DB_VIEW=");
    const QStringList searchOn = {QStringLiteral("SEARCH_SWITCH_CURRENCY_RATING_DB_VIEW=1"),
                                  QStringLiteral("FILTER_SEARCH_COLUMN_CURRENCY_RATING_DB_VIEW=5")};
    const QString search = QStringLiteral("FILTER_SEARCH_TEXT_CURRENCY_RATING_DB_VIEW=");

    QTest::newRow("no state: by id") << QStringList{} << all;
    QTest::newRow("by bank in Polish order, ties by id")
        << QStringList{"COLUMN_SORT_CURRENCY_RATING_DB_VIEW=2;0"} << QList<int>{4, 7, 2, 3, 1, 5, 6};
    QTest::newRow("by bank descending, ties by id descending")
        << QStringList{"COLUMN_SORT_CURRENCY_RATING_DB_VIEW=2;1"} << QList<int>{6, 5, 1, 3, 2, 7, 4};
    QTest::newRow("by date descending")
        << QStringList{"COLUMN_SORT_CURRENCY_RATING_DB_VIEW=1;1"} << QList<int>{6, 5, 2, 7, 3, 1, 4};
    QTest::newRow("by id descending") << QStringList{"COLUMN_SORT_CURRENCY_RATING_DB_VIEW=0;1"}
                                      << QList<int>{7, 6, 5, 4, 3, 2, 1};
    QTest::newRow("month unchecked") << QStringList{treeOn, unchecked + "3,2026,01"} << QList<int>{2, 4, 5, 6, 7};
    QTest::newRow("two months unchecked")
        << QStringList{treeOn, unchecked + "3,2026,01;3,2025,12"} << QList<int>{2, 5, 6, 7};
    QTest::newRow("bank unchecked") << QStringList{treeOn, unchecked + "1,NBP"} << QList<int>{2, 3, 4, 6, 7};
    QTest::newRow("bank with quotes unchecked")
        << QStringList{treeOn, unchecked + "1,Bank 'Pekao'"} << QList<int>{1, 3, 4, 5, 6, 7};
    QTest::newRow("bank with a comma unchecked")
        << QStringList{treeOn, unchecked + "1,Zet, S.A."} << QList<int>{1, 2, 3, 4, 5, 7};
    QTest::newRow("currency unchecked") << QStringList{treeOn, unchecked + "2,1"} << QList<int>{2, 3, 5};
    QTest::newRow("every level at once")
        << QStringList{treeOn, unchecked + "1,Alior;2,5;3,2026,02"} << QList<int>{1};
    QTest::newRow("tree switched off") << QStringList{unchecked + "1,NBP"} << all;
    QTest::newRow("empty unchecked list") << QStringList{treeOn, unchecked} << all;
    QTest::newRow("percent searched literally") << (searchOn + QStringList{search + "%"}) << QList<int>{3};
    QTest::newRow("underscore searched literally") << (searchOn + QStringList{search + "_"}) << QList<int>{4};
    QTest::newRow("apostrophe searched literally") << (searchOn + QStringList{search + "o'b"}) << QList<int>{6};
    QTest::newRow("backslash searched literally") << (searchOn + QStringList{search + "\\"}) << QList<int>{5};
    QTest::newRow("bank searched in any letter case")
        << QStringList{"SEARCH_SWITCH_CURRENCY_RATING_DB_VIEW=1", "FILTER_SEARCH_COLUMN_CURRENCY_RATING_DB_VIEW=2",
                       search + "ŁÓDZ"}
        << QList<int>{3};
    QTest::newRow("amount with its currency searched")
        << QStringList{"SEARCH_SWITCH_CURRENCY_RATING_DB_VIEW=1", "FILTER_SEARCH_COLUMN_CURRENCY_RATING_DB_VIEW=3",
                       search + "100 jpy"}
        << QList<int>{3};
    QTest::newRow("stored search column outside the list adds no condition")
        << QStringList{"SEARCH_SWITCH_CURRENCY_RATING_DB_VIEW=1", "FILTER_SEARCH_COLUMN_CURRENCY_RATING_DB_VIEW=9",
                       search + "2026"}
        << all;
    QTest::newRow("search, tree and sort together")
        << QStringList{"SEARCH_SWITCH_CURRENCY_RATING_DB_VIEW=1", "FILTER_SEARCH_COLUMN_CURRENCY_RATING_DB_VIEW=5",
                       search + "t", treeOn, unchecked + "3,2025,12", "COLUMN_SORT_CURRENCY_RATING_DB_VIEW=2;0"}
        << QList<int>{7, 2, 3, 5};
}

void TestCurrencyRatingDbView::listFollowsStoredState()
{
    QFETCH(QStringList, options);
    QFETCH(QList<int>, ids);
    setOptions(options);
    openView();
    QAbstractItemModelTester tester(m_view->tableView()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(listIds(m_view->tableView()), ids);

    // The panel, restored from the same options, gives the same list, and re-selection after
    // a save finds each rating where the list shows it.
    m_view->refreshFilter();
    QCOMPARE(listIds(m_view->tableView()), ids);
    for (int row = 0; row < ids.size(); ++row) {
        m_view->reloadView(10, ids.at(row));
        QCOMPARE(m_view->currentId(), ids.at(row));
        QCOMPARE(m_view->tableView()->currentIndex().row(), row);
    }
}

void TestCurrencyRatingDbView::treeOfTheListUnchecksExactlyItsRatings_data()
{
    QTest::addColumn<QStringList>("path"); // labels from the group down
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("month") << QStringList{"Data notowania", "2026", "styczeń"} << QList<int>{2, 4, 5, 6, 7};
    QTest::newRow("year") << QStringList{"Data notowania", "2026"} << QList<int>{4};
    QTest::newRow("bank") << QStringList{"Bank", "Alior"} << QList<int>{1, 2, 3, 5, 6};
    QTest::newRow("bank with quotes") << QStringList{"Bank", "Bank 'Pekao'"} << QList<int>{1, 3, 4, 5, 6, 7};
    QTest::newRow("bank with a comma") << QStringList{"Bank", "Zet, S.A."} << QList<int>{1, 2, 3, 4, 5, 7};
    QTest::newRow("currency") << QStringList{"Waluta", "JPY"} << QList<int>{1, 2, 4, 5, 6, 7};
}

void TestCurrencyRatingDbView::treeOfTheListUnchecksExactlyItsRatings()
{
    QFETCH(QStringList, path);
    QFETCH(QList<int>, ids);
    MOptions::setOption(QStringLiteral("FILTER_TREE_SWITCH_CURRENCY_RATING_DB_VIEW"), QStringLiteral("1"));
    openView();
    QTreeView* tree = filterTree();
    QVERIFY(tree && tree->isEnabled());
    QModelIndex index;
    for (const QString& label : path) {
        index = findItem(tree->model(), label, index);
        QVERIFY2(index.isValid(), qPrintable(label));
        tree->expand(index);
    }
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualRect(index).center());
    QTest::mouseClick(m_view->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);

    QCOMPARE(listIds(m_view->tableView()), ids);
    // As the next start finds it.
    openView();
    QCOMPARE(listIds(m_view->tableView()), ids);
}

void TestCurrencyRatingDbView::manyUncheckedBanksAreAllHidden()
{
    QStringList keys;
    for (int bank = 0; bank < 12; ++bank) {
        const QString name = QStringLiteral("Bank %1").arg(bank);
        QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO currency_rating (id, bank_name, rating_date, "
                                                   "time_create, time_modify) VALUES (%1, '%2', '2026-01-01', 0, 0)")
                                        .arg(100 + bank)
                                        .arg(name)));
        keys << QStringLiteral("1,") + name;
    }
    setOptions({QStringLiteral("FILTER_TREE_SWITCH_CURRENCY_RATING_DB_VIEW=1"),
                QStringLiteral("FILTER_TREE_UNCHECKED_CURRENCY_RATING_DB_VIEW=") + keys.join(QLatin1Char(';'))});
    openView();
    QCOMPARE(listIds(m_view->tableView()), all);
}

void TestCurrencyRatingDbView::noticeSelectsASavedRatingUnderItsTree()
{
    MOptions::setOption(QStringLiteral("FILTER_TREE_SWITCH_CURRENCY_RATING_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("COLUMN_SORT_CURRENCY_RATING_DB_VIEW"), QStringLiteral("2;1"));
    openView();
    QVERIFY(!findItem(filterTree()->model(), QStringLiteral("Bank Śląski")).isValid());
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO currency_rating (id, bank_name, id_currency_from, "
                                               "rating_date, currency_amount_from, currency_value, time_create, "
                                               "time_modify) VALUES (9, 'Bank Śląski', 9, '2024-06-30', 100, 17.5, "
                                               "0, 0)")));
    m_view->reloadView(4, 9);
    QCOMPARE(listIds(m_view->tableView()).size(), 7);

    m_view->reloadView(10, 9);
    QCOMPARE(listIds(m_view->tableView()), (QList<int>{6, 5, 1, 3, 9, 2, 7, 4}));
    QCOMPARE(m_view->currentId(), 9);
    const QAbstractItemModel* tree = filterTree()->model();
    QVERIFY(findItem(tree, QStringLiteral("Bank Śląski"), findItem(tree, QStringLiteral("Bank"))).isValid());
    QVERIFY(findItem(tree, QStringLiteral("CZK"), findItem(tree, QStringLiteral("Waluta"))).isValid());
    const QModelIndex year = findItem(tree, QStringLiteral("2024"), findItem(tree, QStringLiteral("Data notowania")));
    QVERIFY(findItem(tree, QStringLiteral("czerwiec"), year).isValid());
}

void TestCurrencyRatingDbView::deleteAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("yes deletes") << int(QMessageBox::Yes) << false << QList<int>{1, 2, 4, 5, 6, 7};
    QTest::newRow("no keeps") << int(QMessageBox::No) << false << all;
    QTest::newRow("a delete the database refuses keeps the rating and says so")
        << int(QMessageBox::Yes) << true << all;
}

void TestCurrencyRatingDbView::deleteAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, refused);
    QFETCH(QList<int>, ids);
    if (refused) {
        QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse_delete BEFORE DELETE ON currency_rating "
                                                   "BEGIN SELECT RAISE(ABORT, 'odmowa'); END")));
    }
    openView();
    selectListRows(m_view->tableView(), {2});
    MMessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    m_view->doDelete();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), refused ? 2 : 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Potwierdzenie usunięcia notowania walutowego"));
    QCOMPARE(shown.first().text, QStringLiteral("Na pewno usunąć notowanie walutowe o identyfikatorze 3?"));
    if (refused)
        QCOMPARE(shown.last().icon, QMessageBox::Critical);
    QCOMPARE(listIds(m_view->tableView()), ids);
    QCOMPARE(MTestDatabase::count(QStringLiteral("currency_rating")), ids.size());

    // Nothing happens without a current row.
    m_view->tableView()->setCurrentIndex(QModelIndex());
    m_view->doDelete();
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestCurrencyRatingDbView::contextMenuFollowsTheSelection_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("enabled");

    QTest::newRow("one rating") << QList<int>{1} << "Nowy|Edytuj|Usuń";
    QTest::newRow("two ratings") << QList<int>{0, 1} << "Nowy";
    QTest::newRow("none") << QList<int>{} << "Nowy";
}

void TestCurrencyRatingDbView::contextMenuFollowsTheSelection()
{
    QFETCH(QList<int>, rows);
    QFETCH(QString, enabled);
    openView();
    selectListRows(m_view->tableView(), rows);

    QCOMPARE(enabledContextMenuEntries(m_view).join(QLatin1Char('|')), enabled);
}

INVOICE_TEST_MAIN(TestCurrencyRatingDbView)
#include "tst_currencyratingdbview.moc"
