#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestRecordList.h"
#include "core/MAppWnd.h"
#include "core/MListTab.h"
#include "parties/MRecordDbView.h"
#include "resources/MResources.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QAction>
#include <QtTest>

#include <memory>

// The real list of every tab in the real main window: the names by which the window,
// the stored tabs and the drop targets know the view and its table, and the drag
// toggle reaching that table.
class TestListTabs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void listAnswersToItsNames_data();
    void listAnswersToItsNames();

private:
    QAction* dragDropAction() const;

    std::unique_ptr<MAppWnd> m_window;
};

void TestListTabs::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
}

void TestListTabs::cleanup()
{
    while (m_window->tabMain()->count() > 0)
        delete m_window->tabMain()->widget(0);
}

QAction* TestListTabs::dragDropAction() const
{
    for (QAction* action : m_window->findChildren<QAction*>())
        if (action->text() == QStringLiteral("Przeciągnij i upuść"))
            return action;
    return nullptr;
}

void TestListTabs::listAnswersToItsNames_data()
{
    QTest::addColumn<int>("kind");

    QTest::newRow("sellers") << 2;
    QTest::newRow("buyers") << 3;
    QTest::newRow("products") << 4;
    QTest::newRow("closing texts") << 5;
    QTest::newRow("sales documents") << 7;
    QTest::newRow("purchase documents") << 8;
    QTest::newRow("currency ratings") << 10;
}

void TestListTabs::listAnswersToItsNames()
{
    QFETCH(int, kind);

    const MListTab* tab = MListTab::byKind(kind);
    QVERIFY(tab);
    MAppWnd::setOption(QStringLiteral("DRAG_AND_DROP"), QStringLiteral("0"));
    MRecordDbView* view = openListTab(m_window.get(), kind);
    QVERIFY(view);
    QCOMPARE(view->accessibleName(), tab->viewName);
    MTableView* table = view->tableView();
    QCOMPARE(table->accessibleName(), tab->tableName());
    QCOMPARE(m_window->indexOfTab(tab->viewName), m_window->tabMain()->currentIndex());
    // Stored as it is called, the tab comes back as the same list.
    QCOMPARE(MListTab::storedKinds(MAppWnd::option(QStringLiteral("TAB_MAIN_OPENED"))), QList<int>{kind});

    QAction* dragDrop = dragDropAction();
    QVERIFY(dragDrop);
    QVERIFY(!table->dragEnabled());
    dragDrop->trigger();
    QVERIFY(table->dragEnabled());
    dragDrop->trigger();
    QVERIFY(!table->dragEnabled());
}

INVOICE_TEST_MAIN(TestListTabs)
#include "tst_listtabs.moc"
