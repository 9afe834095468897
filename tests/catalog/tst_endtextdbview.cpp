#include "MTestContextMenu.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestRecordList.h"
#include "catalog/MEndTextDbView.h"
#include "data/MOptions.h"
#include "views/MMessageBox.h"
#include "views/MTableView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QtTest>

#include <memory>

// The closing-text list: its SQL from the stored state, the default text painted and
// switched (also across a restart and while the list is filtered and sorted), deleting.
class TestEndTextDbView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listFollowsStoredState_data();
    void listFollowsStoredState();
    void searchTakesEveryCharacterLiterally_data();
    void searchTakesEveryCharacterLiterally();
    void defaultSwitchesAndMoves();
    void paintedDefaultFollowsFilterSortAndRestart();
    void defaultWithoutLoadedRowPaintsNothing_data();
    void defaultWithoutLoadedRowPaintsNothing();
    void noticesOfOtherKindsLeaveTheList();
    void deleteAsksAndKeepsTheDefaultOption_data();
    void deleteAsksAndKeepsTheDefaultOption();
    void contextMenuFollowsTheSelection_data();
    void contextMenuFollowsTheSelection();

private:
    MEndTextDbView* openView();

    std::unique_ptr<MTestDatabase> m_db;
    MEndTextDbView* m_view = nullptr;
};

namespace {

// Texts chosen so that Polish order differs from code-point order, with two equal texts
// for the tie-break and creation times that tie as well.
const char* const fixture =
    "INSERT INTO end_text (id, content, time_create, time_modify) VALUES "
    "(1, 'Łąka', '2024-01-01 10:00:00', 0), (2, 'Zefir', '2024-03-01 10:00:00', 0), "
    "(3, 'Lipa', '2024-02-01 10:00:00', 0), (4, 'Ćwik', '2024-03-01 10:00:00', 0), "
    "(5, 'Lipa', '2024-01-01 10:00:00', 0)";

const char* const viewOptions[] = {
    "SEARCH_SWITCH_ENDTEXT_DB_VIEW", "FILTER_SEARCH_COLUMN_ENDTEXT_DB_VIEW", "FILTER_SEARCH_TEXT_ENDTEXT_DB_VIEW",
    "COLUMN_SORT_ENDTEXT_DB_VIEW",
};

const QString defaultOption = QStringLiteral("ID_RECORD_DEFAULT_ENDTEXT");

} // namespace

void TestEndTextDbView::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
}

void TestEndTextDbView::init()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse_delete")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM end_text")));
    QVERIFY(MTestDatabase::exec(QString::fromUtf8(fixture)));
    for (const char* key : viewOptions)
        MOptions::setOption(QLatin1String(key), QString());
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
    MOptions::setOption(defaultOption, QStringLiteral("0"));
    MMessageBox::takeShown();
}

void TestEndTextDbView::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

MEndTextDbView* TestEndTextDbView::openView()
{
    delete m_view;
    m_view = new MEndTextDbView(nullptr, nullptr);
    openRecordList(m_view);
    return m_view;
}

void TestEndTextDbView::listFollowsStoredState_data()
{
    QTest::addColumn<QStringList>("options"); // key=value
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("no state: by id") << QStringList{} << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("by text in Polish order, ties by id")
        << QStringList{"COLUMN_SORT_ENDTEXT_DB_VIEW=1;0"} << QList<int>{4, 3, 5, 1, 2};
    QTest::newRow("by text descending, ties by id descending")
        << QStringList{"COLUMN_SORT_ENDTEXT_DB_VIEW=1;1"} << QList<int>{2, 1, 5, 3, 4};
    QTest::newRow("newest first, ties by id descending")
        << QStringList{"COLUMN_SORT_ENDTEXT_DB_VIEW=2;1"} << QList<int>{4, 2, 3, 5, 1};
    QTest::newRow("by id descending") << QStringList{"COLUMN_SORT_ENDTEXT_DB_VIEW=0;1"} << QList<int>{5, 4, 3, 2, 1};
    QTest::newRow("sort that is not two numbers: by id")
        << QStringList{"COLUMN_SORT_ENDTEXT_DB_VIEW=1"} << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("search ignores letter case")
        << QStringList{"SEARCH_SWITCH_ENDTEXT_DB_VIEW=1", "FILTER_SEARCH_COLUMN_ENDTEXT_DB_VIEW=1",
                       "FILTER_SEARCH_TEXT_ENDTEXT_DB_VIEW=ŁĄK"}
        << QList<int>{1};
    QTest::newRow("switched-off search changes nothing")
        << QStringList{"SEARCH_SWITCH_ENDTEXT_DB_VIEW=0", "FILTER_SEARCH_COLUMN_ENDTEXT_DB_VIEW=1",
                       "FILTER_SEARCH_TEXT_ENDTEXT_DB_VIEW=lipa"}
        << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("stored search column outside the list adds no condition")
        << QStringList{"SEARCH_SWITCH_ENDTEXT_DB_VIEW=1", "FILTER_SEARCH_COLUMN_ENDTEXT_DB_VIEW=4",
                       "FILTER_SEARCH_TEXT_ENDTEXT_DB_VIEW=lipa"}
        << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("search and sort together")
        << QStringList{"SEARCH_SWITCH_ENDTEXT_DB_VIEW=1", "FILTER_SEARCH_COLUMN_ENDTEXT_DB_VIEW=1",
                       "FILTER_SEARCH_TEXT_ENDTEXT_DB_VIEW=i", "COLUMN_SORT_ENDTEXT_DB_VIEW=1;1"}
        << QList<int>{2, 5, 3, 4};
}

void TestEndTextDbView::listFollowsStoredState()
{
    QFETCH(QStringList, options);
    QFETCH(QList<int>, ids);
    setOptions(options);
    openView();
    QAbstractItemModelTester tester(m_view->tableView()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(listIds(m_view->tableView()), ids);

    // Re-selection after a save finds each text where the list shows it.
    for (int row = 0; row < ids.size(); ++row) {
        m_view->reloadView(5, ids.at(row));
        QCOMPARE(m_view->currentId(), ids.at(row));
        QCOMPARE(m_view->tableView()->currentIndex().row(), row);
    }
}

void TestEndTextDbView::searchTakesEveryCharacterLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ids");

    // Each decoy would match the search read as a pattern.
    QTest::newRow("percent") << "50%" << QList<int>{11};
    QTest::newRow("underscore") << "a_b" << QList<int>{13};
    QTest::newRow("apostrophe") << "o'n" << QList<int>{15};
    QTest::newRow("backslash") << "c:\\d" << QList<int>{16};
}

void TestEndTextDbView::searchTakesEveryCharacterLiterally()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ids);
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "INSERT INTO end_text (id, content, time_create, time_modify) VALUES "
        "(11, 'Rabat 50% od ceny', 0, 0), (12, 'Rabat 500 zł', 0, 0), (13, 'a_b', 0, 0), (14, 'axb', 0, 0), "
        "(15, 'O''Neil', 0, 0), (16, 'C:\\dane', 0, 0), (17, 'C:dane', 0, 0)")));
    setOptions({QStringLiteral("SEARCH_SWITCH_ENDTEXT_DB_VIEW=1"), QStringLiteral("FILTER_SEARCH_COLUMN_ENDTEXT_DB_VIEW=1"),
                QStringLiteral("FILTER_SEARCH_TEXT_ENDTEXT_DB_VIEW=") + text});
    openView();
    QCOMPARE(listIds(m_view->tableView()), ids);
}

void TestEndTextDbView::defaultSwitchesAndMoves()
{
    openView();
    QCOMPARE(listRowDefault(m_view->tableView()), -1);
    QVERIFY(!m_view->isCurrentDefault());

    selectListRows(m_view->tableView(), {1});
    m_view->doDefault();
    QCOMPARE(MTestDatabase::storedOption(defaultOption), QStringLiteral("2"));
    QCOMPARE(listRowDefault(m_view->tableView()), 1);
    QVERIFY(m_view->isCurrentDefault());

    // Another text takes the mark over.
    selectListRows(m_view->tableView(), {3});
    QVERIFY(!m_view->isCurrentDefault());
    m_view->doDefault();
    QCOMPARE(MTestDatabase::storedOption(defaultOption), QStringLiteral("4"));
    QCOMPARE(listRowDefault(m_view->tableView()), 3);
    QVERIFY(m_view->isCurrentDefault());

    // Marking the default again removes the mark.
    m_view->doDefault();
    QCOMPARE(MTestDatabase::storedOption(defaultOption), QStringLiteral("0"));
    QCOMPARE(listRowDefault(m_view->tableView()), -1);
    QVERIFY(!m_view->isCurrentDefault());

    // Without a current row nothing changes.
    m_view->tableView()->setCurrentIndex(QModelIndex());
    m_view->doDefault();
    QCOMPARE(MTestDatabase::storedOption(defaultOption), QStringLiteral("0"));
}

void TestEndTextDbView::paintedDefaultFollowsFilterSortAndRestart()
{
    MOptions::setOption(defaultOption, QStringLiteral("3"));
    openView();
    QCOMPARE(listIds(m_view->tableView()).at(listRowDefault(m_view->tableView())), 3);

    QHeaderView* header = m_view->tableView()->horizontalHeader();
    header->setSortIndicator(1, Qt::DescendingOrder);
    QCOMPARE(listIds(m_view->tableView()), (QList<int>{2, 1, 5, 3, 4}));
    QCOMPARE(listRowDefault(m_view->tableView()), 3);

    MOptions::setOption(QStringLiteral("SEARCH_SWITCH_ENDTEXT_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_COLUMN_ENDTEXT_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_TEXT_ENDTEXT_DB_VIEW"), QStringLiteral("ł"));
    MOptions::setOption(QStringLiteral("COLUMN_SORT_ENDTEXT_DB_VIEW"), QStringLiteral("1;1"));
    openView();
    QCOMPARE(listIds(m_view->tableView()), QList<int>{1});
    QCOMPARE(listRowDefault(m_view->tableView()), -1);

    MOptions::setOption(QStringLiteral("FILTER_SEARCH_TEXT_ENDTEXT_DB_VIEW"), QStringLiteral("lip"));
    delete m_view;
    m_view = nullptr;
    QVERIFY(m_db->reopen());
    MOptions::loadOptions();
    openView();
    QCOMPARE(listIds(m_view->tableView()), (QList<int>{5, 3}));
    QCOMPARE(listRowDefault(m_view->tableView()), 1);
}

void TestEndTextDbView::defaultWithoutLoadedRowPaintsNothing_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("kept");

    QTest::newRow("deleted text") << "77" << "77";
    QTest::newRow("text that is no number") << "trzy" << "0";
}

void TestEndTextDbView::defaultWithoutLoadedRowPaintsNothing()
{
    QFETCH(QString, stored);
    QFETCH(QString, kept);
    MOptions::setOption(defaultOption, stored);
    openView();
    QCOMPARE(listRowDefault(m_view->tableView()), -1);
    QCOMPARE(MTestDatabase::storedOption(defaultOption), kept);
}

void TestEndTextDbView::noticesOfOtherKindsLeaveTheList()
{
    MOptions::setOption(defaultOption, QStringLiteral("4"));
    openView();
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO end_text (id, content, time_create, time_modify) "
                                               "VALUES (9, 'Nowy', 0, 0)")));
    m_view->reloadView(10, 9);
    QCOMPARE(listIds(m_view->tableView()).size(), 5);

    m_view->reloadView(5, 9);
    QCOMPARE(listIds(m_view->tableView()).size(), 6);
    QCOMPARE(m_view->currentId(), 9);
    QCOMPARE(listIds(m_view->tableView()).at(listRowDefault(m_view->tableView())), 4);
}

void TestEndTextDbView::deleteAsksAndKeepsTheDefaultOption_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("left");

    QTest::newRow("yes deletes") << int(QMessageBox::Yes) << false << 4;
    QTest::newRow("no keeps") << int(QMessageBox::No) << false << 5;
    QTest::newRow("a delete the database refuses keeps the text and says so") << int(QMessageBox::Yes) << true << 5;
}

void TestEndTextDbView::deleteAsksAndKeepsTheDefaultOption()
{
    QFETCH(int, answer);
    QFETCH(bool, refused);
    QFETCH(int, left);
    if (refused) {
        QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse_delete BEFORE DELETE ON end_text "
                                                   "BEGIN SELECT RAISE(ABORT, 'odmowa'); END")));
    }
    MOptions::setOption(defaultOption, QStringLiteral("3"));
    openView();
    selectListRows(m_view->tableView(), {2});
    MMessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    m_view->doDelete();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), refused ? 2 : 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Potwierdzenie usunięcia tekstu końcowego"));
    QCOMPARE(shown.first().text, QStringLiteral("Na pewno usunąć tekst końcowy o identyfikatorze 3?"));
    if (refused) {
        QCOMPARE(shown.last().icon, QMessageBox::Critical);
        QVERIFY2(shown.last().text.contains(QStringLiteral("odmowa")), qPrintable(shown.last().text));
    }
    QCOMPARE(listIds(m_view->tableView()).size(), left);
    QCOMPARE(MTestDatabase::count(QStringLiteral("end_text")), left);
    QCOMPARE(MTestDatabase::storedOption(defaultOption), QStringLiteral("3"));
    QCOMPARE(listRowDefault(m_view->tableView()), left == 5 ? 2 : -1);
}

void TestEndTextDbView::contextMenuFollowsTheSelection_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("enabled");

    QTest::newRow("one text") << QList<int>{1} << "Nowy|Domyślny|Edytuj|Usuń";
    QTest::newRow("two texts") << QList<int>{0, 1} << "Nowy";
    QTest::newRow("none") << QList<int>{} << "Nowy";
}

void TestEndTextDbView::contextMenuFollowsTheSelection()
{
    QFETCH(QList<int>, rows);
    QFETCH(QString, enabled);
    openView();
    selectListRows(m_view->tableView(), rows);

    QCOMPARE(enabledContextMenuEntries(m_view).join(QLatin1Char('|')), enabled);
}

INVOICE_TEST_MAIN(TestEndTextDbView)
#include "tst_endtextdbview.moc"
