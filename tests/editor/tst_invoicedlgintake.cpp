#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestRecordList.h"
#include "core/MAppWnd.h"
#include "editor/MInvoiceDlg.h"
#include "parties/MRecordDbView.h"
#include "resources/MResources.h"
#include "views/MMessageBox.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QSpinBox>
#include <QItemSelectionModel>
#include <QtTest>

#include <memory>

// Records taken into an open editor from the main window's tabs, on the
// window's own schema-script database.
class TestInvoiceDlgIntake : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void productsInDropOrder();
    void lineDiscount_data();
    void lineDiscount();
    void dropsFromOtherSourcesIgnored_data();
    void dropsFromOtherSourcesIgnored();
    void replaceKeepsPlace();
    void removeSelectedLines_data();
    void removeSelectedLines();
    void addTakesFromOpenTabOnly();
    void joins();
    void purchaseRowsRefusedAloud();
    void advancesFromTheSalesList_data();
    void advancesFromTheSalesList();
    void sellerFillsEmptyPlace_data();
    void sellerFillsEmptyPlace();
    void buyerDefaultsOnlyForNewDocument_data();
    void buyerDefaultsOnlyForNewDocument();

private:
    MInvoiceDlg* openEditor(int kind = 0);
    static QStringList lineTexts(MInvoiceDlg* editor, int column);
    // The table of the real list of view kind `kind`, opened as the window opens it.
    MTableView* listTable(int kind);

    std::unique_ptr<MAppWnd> m_window;
};

namespace {

int product(const QString& name, const QString& netto)
{
    return int(MTestDatabase::insert(QStringLiteral("product"), {{"name", name},
                                                                 {"netto_price", netto},
                                                                 {"brutto_price", netto.toDouble() * 1.23},
                                                                 {"vat", 23},
                                                                 {"vat_text", "23%"},
                                                                 {"count_from_netto", 1}}));
}

int document(int kind)
{
    return int(MTestDatabase::insert(QStringLiteral("invoice"), {{"invoice_kind", kind},
                                                                 {"invoice_index_string", QStringLiteral("D%1").arg(kind)},
                                                                 {"date_put", "2024-01-05 00:00:00"},
                                                                 {"date_sell", "2024-01-05 00:00:00"},
                                                                 {"date_pay", "2024-01-05 00:00:00"}}));
}

} // namespace

void TestInvoiceDlgIntake::initTestCase()
{
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
    MMessageBox::setAutomatic(true);
}

void TestInvoiceDlgIntake::init()
{
    for (const char* table : {"product", "invoice", "seller", "buyer", "buyer_defaults", "__invoice_product",
                              "__invoice_product_misc", "__invoice_join"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    MAppWnd::setOption(QStringLiteral("DEFAULT_PRICE_REDUCT"), QStringLiteral("0"));
    MMessageBox::takeShown();
}

void TestInvoiceDlgIntake::cleanup()
{
    MTestDatabase::stopFailingWrites();
    if (auto* editor = m_window->findChild<MInvoiceDlg*>())
        delete editor;
    while (m_window->tabMain()->count() > 0)
        delete m_window->tabMain()->widget(0);
}

MInvoiceDlg* TestInvoiceDlgIntake::openEditor(int kind)
{
    m_window->newRecord(0, kind);
    return m_window->findChild<MInvoiceDlg*>();
}

MTableView* TestInvoiceDlgIntake::listTable(int kind)
{
    MRecordDbView* view = openListTab(m_window.get(), kind);
    return view ? view->tableView() : nullptr;
}

QStringList TestInvoiceDlgIntake::lineTexts(MInvoiceDlg* editor, int column)
{
    QStringList texts;
    const QAbstractItemModel* model = editor->m_productList->model();
    for (int row = 0; model && row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

void TestInvoiceDlgIntake::productsInDropOrder()
{
    const int a = product("A", "1.00");
    const int b = product("B", "2.00");
    const int c = product("C", "3.00");
    MInvoiceDlg* editor = openEditor();
    QVERIFY(editor);
    editor->doDropIndexesProduct(listTable(4), {c, a, b});

    QCOMPARE(lineTexts(editor, 2), (QStringList{"C", "A", "B"}));
    QCOMPARE(lineTexts(editor, 12), (QStringList{"1,0000", "1,0000", "1,0000"}));
    QCOMPARE(editor->m_productList->currentIndex().row(), 2);
    QCOMPARE(editor->m_productIds.size(), 3);
    // The totals follow the lines: 6.00 net at 23 %.
    QCOMPARE(editor->m_bruttoGlobal, 7.38);
}

void TestInvoiceDlgIntake::lineDiscount_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<double>("buyerReduct");
    QTest::addColumn<QStringList>("line"); // discount, kind, net value

    // round(1 × 19.99 × 95 × 0.01 + 0.0000000001, 2) = 18.99
    QTest::newRow("buyer discount 5") << "0" << 5.0 << QStringList{"5,00", "procentowy", "18,99"};
    QTest::newRow("option unset") << "" << 5.0 << QStringList{"5,00", "procentowy", "18,99"};
    QTest::newRow("amount discounts") << "1" << 5.0 << QStringList{"0,00", "kwotowy", "19,99"};
    QTest::newRow("no buyer") << "0" << 0.0 << QStringList{"0,00", "procentowy", "19,99"};
}

void TestInvoiceDlgIntake::lineDiscount()
{
    QFETCH(QString, option);
    QFETCH(double, buyerReduct);
    QFETCH(QStringList, line);

    MAppWnd::setOption(QStringLiteral("DEFAULT_PRICE_REDUCT"), option);
    MInvoiceDlg* editor = openEditor();
    editor->m_buyerReduct = buyerReduct;
    editor->doDropIndexesProduct(listTable(4), {product("A", "19.99")});
    QCOMPARE((QStringList{lineTexts(editor, 13).value(0), lineTexts(editor, 16).value(0), lineTexts(editor, 9).value(0)}),
             line);
}

void TestInvoiceDlgIntake::dropsFromOtherSourcesIgnored_data()
{
    QTest::addColumn<int>("sourceKind"); // view kind of the list; 0 for the editor's own line list
    QTest::addColumn<bool>("firstIdZero");

    QTest::newRow("buyer rows") << 3 << false;
    QTest::newRow("the editor's own lines") << 0 << false;
    QTest::newRow("first id 0") << 4 << true;
}

void TestInvoiceDlgIntake::dropsFromOtherSourcesIgnored()
{
    QFETCH(int, sourceKind);
    QFETCH(bool, firstIdZero);

    const int id = product("A", "1.00");
    MInvoiceDlg* editor = openEditor();
    QWidget* source = sourceKind > 0 ? listTable(sourceKind) : editor->m_productList;
    QVERIFY(source);
    editor->doDropIndexesProduct(source, firstIdZero ? QList<int>{0, id} : QList<int>{id});
    editor->doDropIndexesProduct(source, {});
    QVERIFY(editor->m_productIds.isEmpty());
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_product_misc")), 0);
}

void TestInvoiceDlgIntake::replaceKeepsPlace()
{
    const int a = product("A", "1.00");
    const int b = product("B", "2.00");
    const int c = product("C", "3.00");
    MInvoiceDlg* editor = openEditor();
    editor->doDropIndexesProduct(listTable(4), {a, b});
    const int first = editor->m_productIds.firstKey();
    MTestDatabase::exec(QStringLiteral("UPDATE __invoice_product_misc SET amount = 5 WHERE __id = %1").arg(first));
    editor->m_productList->selectRow(0);

    editor->doDropIndexesProduct(listTable(4), {c}, first);
    QCOMPARE(lineTexts(editor, 2), (QStringList{"C", "B"}));
    QCOMPARE(lineTexts(editor, 12).value(0), QStringLiteral("1,0000"));
    QCOMPARE(editor->m_productIds.keys(), (QList<int>{first, first + 1}));
    QCOMPARE(editor->m_productList->currentIndex().row(), 0);
}

void TestInvoiceDlgIntake::removeSelectedLines_data()
{
    // With `deletesPassing` at 0 or more, the deletes after that many fail.
    QTest::addColumn<int>("deletesPassing");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<double>("brutto");

    QTest::newRow("first and last removed") << -1 << QStringList{"B"} << 2.46;
    QTest::newRow("second delete fails, none removed") << 1 << QStringList{"A", "B", "C"} << 7.38;
}

void TestInvoiceDlgIntake::removeSelectedLines()
{
    QFETCH(int, deletesPassing);
    QFETCH(QStringList, lines);
    QFETCH(double, brutto);

    MInvoiceDlg* editor = openEditor();
    editor->doDropIndexesProduct(listTable(4), {product("A", "1.00"), product("B", "2.00"), product("C", "3.00")});
    editor->m_productList->clearSelection();
    for (int row : {0, 2})
        editor->m_productList->selectionModel()->select(editor->m_productList->model()->index(row, 0),
                                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (deletesPassing >= 0)
        QVERIFY(MTestDatabase::failWritesAfter(QStringLiteral("DELETE"), QStringLiteral("__invoice_product_misc"),
                                               deletesPassing));
    editor->doActionProductDelete();
    QCOMPARE(lineTexts(editor, 2), lines);
    QCOMPARE(editor->m_productIds.size(), lines.size());
    QCOMPARE(editor->m_bruttoGlobal, brutto);
    // The product copies stay behind, unreferenced.
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_product")), 3);
}

void TestInvoiceDlgIntake::addTakesFromOpenTabOnly()
{
    product("A", "1.00");
    MInvoiceDlg* editor = openEditor();
    editor->doActionProductAdd();
    QWidget* view = m_window->tabMain()->currentWidget();
    QVERIFY(view);
    QCOMPARE(view->accessibleName(), QStringLiteral("MProductDbView"));
    QVERIFY(editor->m_productIds.isEmpty());

    QTableView* table = nullptr;
    for (QTableView* candidate : view->findChildren<QTableView*>())
        if (candidate->accessibleName() == QLatin1String("MProductDbView_MTableView"))
            table = candidate;
    QVERIFY(table);
    table->selectRow(0);
    editor->doActionProductAdd();
    QCOMPARE(lineTexts(editor, 2), QStringList{"A"});
}

void TestInvoiceDlgIntake::joins()
{
    const QString refusal = QStringLiteral("Do faktur zaliczkowych i końcowych można załączać tylko faktury zaliczkowe.");
    const int advance = document(19);
    const int plain = document(0);
    // An advance invoice being edited, which could pass for one of its own advances.
    const int self = document(19);
    MInvoiceDlg* editor = openEditor(19);
    editor->m_idInvoice = self;

    editor->doDropIndexesInvoice(listTable(7), {advance, plain});
    QCOMPARE(editor->m_invoiceJoinIds.size(), 1);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().title, QStringLiteral("Niezgodność wprowadzonych danych"));
    QCOMPARE(shown.first().text, refusal);

    // Joined already, given twice, or the edited document itself: left out without a word.
    editor->doDropIndexesInvoice(listTable(7), {advance, advance, self});
    QCOMPARE(editor->m_invoiceJoinIds.size(), 1);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_invoice_join FROM __invoice_join")),
             QStringList{QString::number(advance)});
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestInvoiceDlgIntake::purchaseRowsRefusedAloud()
{
    const int purchase = document(11);
    MInvoiceDlg* editor = openEditor(23);
    MTableView* purchases = listTable(8);
    QVERIFY(purchases);
    editor->doDropIndexesInvoice(purchases, {purchase});
    QVERIFY(editor->m_invoiceJoinIds.isEmpty());
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text,
             QStringLiteral("Do faktur zaliczkowych i końcowych można załączać tylko faktury zaliczkowe."));
}

void TestInvoiceDlgIntake::advancesFromTheSalesList_data()
{
    QTest::addColumn<int>("kind");

    QTest::newRow("advance invoice") << 19;
    QTest::newRow("advance invoice correction") << 20;
    QTest::newRow("final invoice") << 23;
    QTest::newRow("final invoice correction") << 24;
}

// "Dodaj" and "Zamień" of the "Faktury" page take their rows from the sales list.
void TestInvoiceDlgIntake::advancesFromTheSalesList()
{
    QFETCH(int, kind);

    const int first = document(19);
    const int second = document(19);
    MInvoiceDlg* editor = openEditor(kind);
    QVERIFY(editor->m_actions.contains(QStringLiteral("INVOICE_ADD")));
    MRecordDbView* sales = openListTab(m_window.get(), 7);
    QVERIFY(sales);

    sales->reloadView(7, first);
    editor->m_actions.value(QStringLiteral("INVOICE_ADD"))->trigger();
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_invoice_join FROM __invoice_join")),
             QStringList{QString::number(first)});

    sales->reloadView(7, second);
    editor->m_invoiceList->selectRow(0);
    editor->m_actions.value(QStringLiteral("INVOICE_CHANGE"))->trigger();
    QCOMPARE(editor->m_invoiceJoinIds.size(), 1);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_invoice_join FROM __invoice_join")),
             QStringList{QString::number(second)});
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestInvoiceDlgIntake::sellerFillsEmptyPlace_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("place");

    QTest::newRow("empty place") << "" << "Gdańsk";
    QTest::newRow("typed place stays") << "Sopot" << "Sopot";
}

void TestInvoiceDlgIntake::sellerFillsEmptyPlace()
{
    QFETCH(QString, typed);
    QFETCH(QString, place);

    const int id = int(MTestDatabase::insert(QStringLiteral("seller"), {{"firm", "Firma"}, {"city", "Gdańsk"}}));
    MInvoiceDlg* editor = openEditor();
    MTableView* source = listTable(2);
    editor->m_placePut->setText(typed);
    editor->doDropIndexesSeller(source, {id});
    QVERIFY(editor->m_idSeller > 0);
    QCOMPARE(editor->m_idSellerBase, id);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT firm FROM __invoice_seller WHERE __id = %1")
                                      .arg(editor->m_idSeller))
                 .toString(),
             QStringLiteral("Firma"));
    QCOMPARE(editor->m_placePut->text(), place);
}

void TestInvoiceDlgIntake::buyerDefaultsOnlyForNewDocument_data()
{
    QTest::addColumn<int>("idInvoice");
    QTest::addColumn<QString>("payText");

    QTest::newRow("new document") << 0 << "w terminie";
    QTest::newRow("saved document") << 8 << "";
}

void TestInvoiceDlgIntake::buyerDefaultsOnlyForNewDocument()
{
    QFETCH(int, idInvoice);
    QFETCH(QString, payText);

    const int id = int(MTestDatabase::insert(QStringLiteral("buyer"), {{"firm", "Klient"}, {"reduct", 5}}));
    MTestDatabase::insert(QStringLiteral("buyer_defaults"), {{"id_buyer", id}, {"pay_text", "w terminie"}});
    MInvoiceDlg* editor = openEditor();
    MTableView* source = listTable(3);
    editor->m_idInvoice = idInvoice;
    editor->m_payText->clear();
    editor->doDropIndexesBuyer(source, {id});
    QVERIFY(editor->m_idBuyer > 0);
    QCOMPARE(editor->m_buyerReduct, 5.0);
    QCOMPARE(editor->m_payText->text(), payText);

    // The second buyer neither applies defaults nor sets the discount.
    editor->m_buyerReduct = 0.0;
    editor->m_payText->clear();
    editor->doDropIndexesBuyer2(source, {id});
    QVERIFY(editor->m_idBuyer2 > 0);
    QCOMPARE(editor->m_buyerReduct, 0.0);
    QVERIFY(editor->m_payText->text().isEmpty());
}

INVOICE_TEST_MAIN(TestInvoiceDlgIntake)
#include "tst_invoicedlgintake.moc"
