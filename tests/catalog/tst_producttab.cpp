#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "catalog/MProductCatalogDlg.h"
#include "catalog/MProductCatalogJoinDlg.h"
#include "catalog/MProductDbView.h"
#include "catalog/MProductDlg.h"
#include "core/MAppWnd.h"
#include "resources/MResources.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

// The product list and dialogs as the main window opens them: a product created at a net
// price, listed with its gross price, filed into catalogs.
class TestProductTab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void newProductIsListedAndSelected();
    void commandsReachTheProductList();
    void selectedProductIsFiledIntoCatalogs();

private:
    QAction* action(const QString& text) const;
    template <class Dialog>
    Dialog* visibleDialog() const;
    static void clickOk(QDialog* dialog);
    MProductDbView* productView() const;

    std::unique_ptr<MAppWnd> m_window;
};

void TestProductTab::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::close();

    m_window = std::make_unique<MAppWnd>();
    QVERIFY(!m_window->hasEnded());
}

void TestProductTab::cleanupTestCase()
{
    m_window.reset();
}

QAction* TestProductTab::action(const QString& text) const
{
    const QList<QAction*> actions = m_window->findChildren<QAction*>();
    for (QAction* candidate : actions) {
        if (candidate->text() == text && candidate->parent() == m_window.get())
            return candidate;
    }
    qFatal("no action %s", qPrintable(text));
    return nullptr;
}

template <class Dialog>
Dialog* TestProductTab::visibleDialog() const
{
    for (Dialog* candidate : m_window->findChildren<Dialog*>()) {
        if (candidate->isVisible())
            return candidate;
    }
    return nullptr;
}

void TestProductTab::clickOk(QDialog* dialog)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String("OK")) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL("no OK button");
}

MProductDbView* TestProductTab::productView() const
{
    const int index = m_window->indexOfTab(QStringLiteral("MProductDbView"));
    return index < 0 ? nullptr : qobject_cast<MProductDbView*>(m_window->tabMain()->widget(index));
}

void TestProductTab::newProductIsListedAndSelected()
{
    m_window->newRecord(5, 0);
    auto* dialog = visibleDialog<MProductDlg>();
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Produkt"));
    QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("vat"))->currentText(), QStringLiteral("23%"));
    dialog->findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("Śruba ocynkowana"));
    dialog->findChild<QLineEdit*>(QStringLiteral("netto_price"))->setText(QStringLiteral("100"));
    clickOk(dialog);
    QVERIFY(!dialog->isVisible());

    MProductDbView* view = productView();
    QVERIFY(view);
    QCOMPARE(m_window->tabMain()->currentWidget(), view);
    QCOMPARE(m_window->tabMain()->tabText(m_window->tabMain()->currentIndex()), QStringLiteral("Produkty"));
    const int id = MTestDatabase::value(QStringLiteral("SELECT id FROM product")).toInt();
    QCOMPARE(view->currentId(), id);
    const QAbstractItemModel* model = view->tableView()->model();
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("Śruba ocynkowana"));
    QCOMPARE(model->index(0, 7).data().toString(), QStringLiteral("123,00 PLN"));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT netto_price, brutto_price, vat, vat_text FROM product")),
             QStringList{QStringLiteral("100|123|23|23%")});
}

void TestProductTab::commandsReachTheProductList()
{
    MProductDbView* view = productView();
    QVERIFY(view);
    view->tableView()->selectRow(0);
    QTRY_VERIFY(action(QStringLiteral("Edytuj"))->isEnabled());
    QVERIFY(action(QStringLiteral("Usuń"))->isEnabled());
    QVERIFY(action(QStringLiteral("Eksportuj do CSV"))->isEnabled());

    action(QStringLiteral("Edytuj"))->trigger();
    auto* dialog = visibleDialog<MProductDlg>();
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("brutto_price"))->text(), QStringLiteral("123,00"));
    dialog->close();

    view->tableView()->clearSelection();
    view->tableView()->setCurrentIndex(QModelIndex());
    QTRY_VERIFY(!action(QStringLiteral("Edytuj"))->isEnabled());
    QVERIFY(action(QStringLiteral("Dodaj"))->isEnabled());
    action(QStringLiteral("Dodaj"))->trigger();
    dialog = visibleDialog<MProductDlg>();
    QVERIFY(dialog);
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("name"))->text(), QString());
    dialog->close();
}

void TestProductTab::selectedProductIsFiledIntoCatalogs()
{
    for (const QString& name : {QStringLiteral("Złącza"), QStringLiteral("Akcesoria")}) {
        auto* catalog = new MProductCatalogDlg(m_window.get());
        catalog->show();
        catalog->findChild<QLineEdit*>(QStringLiteral("name"))->setText(name);
        clickOk(catalog);
    }
    MProductDbView* view = productView();
    view->tableView()->selectRow(0);
    view->doCatalogJoin();
    auto* join = visibleDialog<MProductCatalogJoinDlg>();
    QVERIFY(join);
    auto* edit = join->findChild<QTreeView*>(QStringLiteral("catalogs_edit"));
    QCOMPARE(edit->model()->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        const QRect cell = edit->visualRect(edit->model()->index(row, 0));
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
    clickOk(join);

    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT pc.name FROM product_catalog_join pcj JOIN product_catalog pc "
                                                "ON pc.id = pcj.id_catalog ORDER BY pc.name")),
             (QStringList{QStringLiteral("Akcesoria"), QStringLiteral("Złącza")}));
    // The list keeps the product selected after the notice of changed catalogs.
    QCOMPARE(view->currentId(), MTestDatabase::value(QStringLiteral("SELECT id FROM product")).toInt());
}

INVOICE_TEST_MAIN(TestProductTab)
#include "tst_producttab.moc"
