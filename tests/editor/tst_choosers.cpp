#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "editor/MInvoiceDlg.h"
#include "editor/MNewDlg.h"
#include "editor/MOpenDlg.h"
#include "resources/MResources.h"
#include "views/MTabWidget.h"

#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// Text, object kind and document kind of every item, in list order.
QStringList items(const QListView* list)
{
    QStringList result;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        result << QStringLiteral("%1|%2|%3")
                      .arg(index.data().toString())
                      .arg(index.data(ChooserRole::ObjectKind).toInt())
                      .arg(index.data(ChooserRole::DocKind).toInt());
    }
    return result;
}

QModelIndex itemNamed(const QListView* list, const QString& text)
{
    const QModelIndexList found =
        list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly);
    return found.value(0);
}

const QStringList invoiceKinds = {
    "Faktura|0|0", "Faktura metoda kasowa|0|3", "Faktura odwrotne obciążenie|0|15", "Faktura zaliczkowa|0|19",
    "Faktura końcowa|0|23", "Faktura marża|0|27"};

} // namespace

class TestChoosers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void newLists_data();
    void newLists();
    void invoiceGroupOpensKinds();
    void okFollowsSelection();
    void chosenKindOpensEditor_data();
    void chosenKindOpensEditor();
    void openListsAndOpensTab();

private:
    std::unique_ptr<MAppWnd> m_window;
};

void TestChoosers::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
}

void TestChoosers::cleanupTestCase()
{
    m_window.reset();
}

void TestChoosers::cleanup()
{
    delete m_window->findChild<MInvoiceDlg*>();
}

void TestChoosers::newLists_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sales list") << 7 << -1 << invoiceKinds + QStringList{"Faktura proforma|1|1", "Rachunek|7|9"};
    QTest::newRow("purchase list") << 8 << -1 << QStringList{"Faktura RR|0|11"};
    QTest::newRow("main window") << -1 << -1
                                 << QStringList{"Faktura|0|0",  "Faktura proforma|1|1", "Rachunek|7|9",
                                                "Sprzedawca|3|0", "Kontrahent|4|0",     "Produkt|5|0",
                                                "Tekst końcowy|6|0", "Notowanie walutowe|8|0"};
    QTest::newRow("invoice kinds") << -1 << 0 << invoiceKinds + QStringList{"Faktura RR|0|11"};
    QTest::newRow("other group") << -1 << 3 << QStringList();
}

void TestChoosers::newLists()
{
    QFETCH(int, viewKind);
    QFETCH(int, group);
    QFETCH(QStringList, expected);
    QPointer<MNewDlg> dialog = new MNewDlg(m_window.get());
    dialog->loadList(viewKind, group);
    QCOMPARE(items(dialog->listView()), expected);
    delete dialog;
}

void TestChoosers::invoiceGroupOpensKinds()
{
    QPointer<MNewDlg> dialog = new MNewDlg(m_window.get());
    dialog->loadList(-1, -1);
    dialog->show();
    const QModelIndex invoice = itemNamed(dialog->listView(), QStringLiteral("Faktura"));
    QCOMPARE(invoice.data(ChooserRole::Group).toInt(), 1);
    emit dialog->listView()->doubleClicked(invoice);
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(items(dialog->listView()), invoiceKinds + QStringList{"Faktura RR|0|11"});
    QVERIFY(!m_window->findChild<MInvoiceDlg*>());
    delete dialog;
}

void TestChoosers::okFollowsSelection()
{
    QPointer<MNewDlg> dialog = new MNewDlg(m_window.get());
    dialog->loadList(7, -1);
    dialog->show();
    QVERIFY(!dialog->okButton()->isEnabled());
    dialog->okButton()->setEnabled(true);
    dialog->okButton()->click();
    QVERIFY(dialog->isVisible());
    QVERIFY(!m_window->findChild<MInvoiceDlg*>());

    dialog->listView()->selectionModel()->select(itemNamed(dialog->listView(), QStringLiteral("Rachunek")),
                                                 QItemSelectionModel::Select);
    QVERIFY(dialog->okButton()->isEnabled());
    dialog->listView()->selectionModel()->clearSelection();
    QVERIFY(!dialog->okButton()->isEnabled());
    delete dialog;
}

void TestChoosers::chosenKindOpensEditor_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("title");
    QTest::newRow("cash method") << 7 << "Faktura metoda kasowa" << "Faktura VAT-MP";
    QTest::newRow("margin") << 7 << "Faktura marża" << "Faktura VAT marża";
    QTest::newRow("bill") << 7 << "Rachunek" << "Rachunek";
    QTest::newRow("pro forma") << 7 << "Faktura proforma" << "Faktura proforma";
    QTest::newRow("RR") << 8 << "Faktura RR" << "Faktura VAT RR";
}

void TestChoosers::chosenKindOpensEditor()
{
    QFETCH(int, viewKind);
    QFETCH(QString, item);
    QFETCH(QString, title);
    QPointer<MNewDlg> dialog = new MNewDlg(m_window.get());
    dialog->loadList(viewKind, -1);
    dialog->show();
    dialog->listView()->selectionModel()->select(itemNamed(dialog->listView(), item), QItemSelectionModel::Select);
    dialog->okButton()->click();
    QTRY_VERIFY(!dialog);

    auto* editor = m_window->findChild<MInvoiceDlg*>();
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), title);
    QVERIFY(editor->isVisible());
    QVERIFY(!editor->isModal());
    QVERIFY(editor->testAttribute(Qt::WA_DeleteOnClose));
}

void TestChoosers::openListsAndOpensTab()
{
    QPointer<MOpenDlg> dialog = new MOpenDlg(m_window.get());
    QCOMPARE(items(dialog->listView()),
             (QStringList{"Faktury sprzedaży|7|0", "Faktury zakupu|8|0", "Sprzedawcy|2|0", "Kontrahenci|3|0",
                          "Produkty|4|0", "Teksty końcowe|5|0", "Notowania walutowe|10|0", "Rejestr VAT|6|0"}));
    dialog->show();
    QVERIFY(!dialog->okButton()->isEnabled());
    emit dialog->listView()->doubleClicked(itemNamed(dialog->listView(), QStringLiteral("Produkty")));
    QTRY_VERIFY(!dialog);
    QCOMPARE(m_window->tabMain()->currentWidget()->accessibleName(), QStringLiteral("MProductDbView"));

    // OK without a selection only closes.
    dialog = new MOpenDlg(m_window.get());
    dialog->show();
    const int tabs = m_window->tabMain()->count();
    dialog->clickOk(false);
    QTRY_VERIFY(!dialog);
    QCOMPARE(m_window->tabMain()->count(), tabs);
}

INVOICE_TEST_MAIN(TestChoosers)
#include "tst_choosers.moc"
