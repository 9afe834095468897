#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "parties/MSellerDbView.h"
#include "parties/MSellerDlg.h"
#include "resources/MResources.h"
#include "views/MSqlQueryModel.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QAction>
#include <QApplication>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

// The seller list and dialog as the main window opens them and passes its commands on.
class TestSellerTab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void sellerTabOpensOnceAndTakesTheDefaultCommand();
    void newSellerCommandOpensTheDialog();

private:
    QAction* action(const QString& text) const;

    std::unique_ptr<MAppWnd> m_window;
};

void TestSellerTab::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    {
        QSqlQuery query;
        QVERIFY(query.exec(QStringLiteral("INSERT INTO seller (id, firm, time_create, time_modify) "
                                          "VALUES (1, 'Alfa', 0, 0), (2, 'Beta', 0, 0)")));
    }
    MTestDatabase::close();

    m_window = std::make_unique<MAppWnd>();
    QVERIFY(!m_window->hasEnded());
}

void TestSellerTab::cleanupTestCase()
{
    m_window.reset();
}

QAction* TestSellerTab::action(const QString& text) const
{
    const QList<QAction*> actions = m_window->findChildren<QAction*>();
    for (QAction* candidate : actions) {
        if (candidate->text() == text && candidate->parent() == m_window.get())
            return candidate;
    }
    qFatal("no action %s", qPrintable(text));
    return nullptr;
}

void TestSellerTab::sellerTabOpensOnceAndTakesTheDefaultCommand()
{
    m_window->loadTab(2);
    m_window->loadTab(2);
    MTabWidget* tabs = m_window->tabMain();
    const int index = m_window->indexOfTab(QStringLiteral("MSellerDbView"));
    QVERIFY(index >= 0);
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(index), QStringLiteral("Sprzedawcy"));
    auto* view = qobject_cast<MSellerDbView*>(tabs->widget(index));
    QVERIFY(view);
    QCOMPARE(view->tableView()->model()->rowCount(), 2);

    // A saved seller's notice selects it; the window then follows the selection.
    m_window->doChangeDbObject(2, 2);
    QCOMPARE(view->currentId(), 2);
    QAction* makeDefault = action(QStringLiteral("Domyślny"));
    QTRY_VERIFY(makeDefault->isEnabled());
    QVERIFY(!makeDefault->isChecked());

    makeDefault->trigger();
    QCOMPARE(MAppWnd::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")), QStringLiteral("2"));
    QCOMPARE(qobject_cast<MSqlQueryModel*>(view->tableView()->model())->rowDefault(), 1);
    QTRY_VERIFY(makeDefault->isChecked());
}

void TestSellerTab::newSellerCommandOpensTheDialog()
{
    m_window->newRecord(3, 0);
    MSellerDlg* dialog = nullptr;
    for (MSellerDlg* candidate : m_window->findChildren<MSellerDlg*>()) {
        if (candidate->isVisible())
            dialog = candidate;
    }
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Sprzedawca"));
    dialog->close();
}

INVOICE_TEST_MAIN(TestSellerTab)
#include "tst_sellertab.moc"
