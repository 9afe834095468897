#include "MBenchDatabase.h"
#include "MJpkTestFile.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestPdf.h"
#include "MTestRecordList.h"
#include "core/MAppWnd.h"
#include "documents/MInvoiceDbView.h"
#include "documents/MInvoiceDuplicateDlg.h"
#include "editor/MInvoiceDlg.h"
#include "export/MJpkVatDlg.h"
#include "resources/MResources.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MSqlQueryModel.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

// One road of a new user through the real main window, on a fresh data folder whose
// sales list holds more documents than a list reads at first: records taken into the
// editor from the real lists, documents saved while the lists stay open, an advance
// joined to a final invoice from the sales list, a correction and a duplicate from the
// list's actions, the invoice as PDF and the month's JPK_VAT. The steps run in order
// and each builds on the ones before.
class TestRoadTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void salesListIsOpenPastItsFirstRows();
    void vatInvoiceFromTheListsSavedWithTheListOpen();
    void finalInvoiceDeductsItsAdvance();
    void correctionAndDuplicateFromTheList();
    void invoiceAsPdf();
    void jpkVatForTheMonth();

private:
    MTableView* listTable(int kind);
    void selectInList(int kind, const QList<int>& ids);
    MInvoiceDlg* newEditor(int kind);
    void takeParties(MInvoiceDlg* editor);
    void takeProducts(MInvoiceDlg* editor);
    void trigger(MInvoiceDlg* editor, const char* key);
    int save(MInvoiceDlg* editor);
    MInvoiceDbView* salesList(int currentId);

    std::unique_ptr<MAppWnd> m_window;
    int m_seller = 0;
    int m_buyer = 0;
    QList<int> m_products;
    int m_invoice = 0;
    QString m_invoiceNumber;
    int m_advance = 0;
    int m_final = 0;
    QList<int> m_monthDocuments;
};

namespace {

const int generatedDocuments = 300;
// Read by the list at first; the rest waits until the user scrolls.
const int firstRows = 256;
const QString bankAccount = QStringLiteral("61 1090 1014 0000 0712 1981 2874");
const QString refusal = QStringLiteral("Do faktur zaliczkowych i końcowych można załączać tylko faktury zaliczkowe.");

QString documentRow(int id, const char* columns)
{
    return MTestDatabase::rows(QStringLiteral("SELECT %1 FROM invoice WHERE id = %2").arg(QLatin1String(columns)).arg(id))
        .value(0);
}

} // namespace

void TestRoadTest::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(QDir().mkpath(MAppWnd::pathData + QStringLiteral("data")));
    MBenchDatabase::Size size;
    size.documents = generatedDocuments;
    size.buyers = 20;
    size.products = 20;
    QVERIFY(MBenchDatabase::generate(MAppWnd::pathData + QStringLiteral("data/Invoice.db3"), MAppWnd::pathDocuments,
                                     size));
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
    m_window->show();

    // The user's own records, as the record dialogs store them.
    m_seller = int(MTestDatabase::insert(QStringLiteral("seller"),
                                         {{"firm", "Pracownia Drogowa Sp. z o.o."},
                                          {"nip", "526-025-02-74"},
                                          {"regon", "12345678512345"},
                                          {"id_province", 7},
                                          {"province2", "warszawski"},
                                          {"province3", "Warszawa"},
                                          {"street", "Prosta"},
                                          {"address_number1", "12"},
                                          {"city", "Warszawa"},
                                          {"zipcode", "00-850"},
                                          {"city_post", "Warszawa"},
                                          {"financial_office_code", "1403"},
                                          {"bank", "Bank Drogowy"},
                                          {"bank_account", bankAccount},
                                          {"id_invoice_index_format", 1},
                                          {"invoice_index_format_text", "[nr]/[mm]/[rrrr]"}}));
    MTestDatabase::insert(QStringLiteral("seller_bank"), {{"id_seller", m_seller},
                                                          {"bank", "Bank Zapasowy"},
                                                          {"bank_account", "22 1140 0000 0000 0000 0000 0000"},
                                                          {"is_default", 0}});
    MTestDatabase::insert(QStringLiteral("seller_bank"), {{"id_seller", m_seller},
                                                          {"bank", "Bank Drogowy"},
                                                          {"bank_account", bankAccount},
                                                          {"is_default", 1}});
    m_buyer = int(MTestDatabase::insert(QStringLiteral("buyer"),
                                        {{"firm", "Hurtownia Bałtyk"}, {"nip", "5260001246"}, {"city", "Kraków"}}));
    for (const auto& product : QList<QPair<const char*, double>>{{"Kostka brukowa", 100.0},
                                                                  {"Krawężnik", 250.0},
                                                                  {"Obrzeże", 19.99}})
        m_products << int(MTestDatabase::insert(QStringLiteral("product"), {{"name", product.first},
                                                                            {"netto_price", product.second},
                                                                            {"brutto_price", product.second * 1.23},
                                                                            {"vat", 23},
                                                                            {"vat_text", "23%"},
                                                                            {"count_from_netto", 1}}));
    MMessageBox::takeShown();
}

void TestRoadTest::cleanupTestCase()
{
    m_window.reset();
}

// A step that failed leaves no editor behind for the next one.
void TestRoadTest::cleanup()
{
    delete m_window->findChild<MInvoiceDlg*>();
    MMessageBox::takeShown();
}

MTableView* TestRoadTest::listTable(int kind)
{
    MRecordDbView* view = openListTab(m_window.get(), kind);
    return view ? view->tableView() : nullptr;
}

void TestRoadTest::selectInList(int kind, const QList<int>& ids)
{
    MTableView* table = listTable(kind);
    QVERIFY(table);
    QMap<int, int> selected;
    for (int id : ids)
        selected.insert(id, 1);
    table->clearSelection();
    table->selectIds(selected, ids.last());
    QCOMPARE(MInvoiceDlg::selectedIds(table).size(), ids.size());
}

MInvoiceDbView* TestRoadTest::salesList(int currentId)
{
    auto* view = qobject_cast<MInvoiceDbView*>(openListTab(m_window.get(), 7));
    if (view && currentId > 0)
        view->reloadView(7, currentId);
    return view;
}

MInvoiceDlg* TestRoadTest::newEditor(int kind)
{
    m_window->newRecord(0, kind);
    return m_window->findChild<MInvoiceDlg*>();
}

void TestRoadTest::trigger(MInvoiceDlg* editor, const char* key)
{
    QAction* action = editor->m_actions.value(QLatin1String(key));
    QVERIFY2(action, key);
    // The editor follows the main window's tab a moment later.
    QTRY_VERIFY2(action->isEnabled(), key);
    action->trigger();
}

// The seller and the buyer as a user takes them: "Pokaż bazę" brings the list forward,
// a row is selected there and "Dodaj" takes it.
void TestRoadTest::takeParties(MInvoiceDlg* editor)
{
    trigger(editor, "SELLER_DB");
    QCOMPARE(m_window->tabMain()->currentWidget()->accessibleName(), QStringLiteral("MSellerDbView"));
    selectInList(2, {m_seller});
    trigger(editor, "SELLER_ADD");
    trigger(editor, "BUYER_DB");
    selectInList(3, {m_buyer});
    trigger(editor, "BUYER_ADD");
    QVERIFY(editor->m_idSeller > 0);
    QCOMPARE(editor->m_idSellerBase, m_seller);
    QVERIFY(editor->m_idBuyer > 0);
}

// The three products dragged from the product list onto the lines.
void TestRoadTest::takeProducts(MInvoiceDlg* editor)
{
    selectInList(4, m_products);
    MTableView* products = listTable(4);
    emit editor->m_productList->dropIndexes(products, MInvoiceDlg::selectedIds(products));
    QCOMPARE(editor->m_productIds.size(), 3);
    // 100.00 + 250.00 + 19.99 net at 23 %.
    QCOMPARE(editor->m_bruttoGlobal, 455.09);
}

// Presses OK; the id of the new document, 0 when nothing was saved.
int TestRoadTest::save(MInvoiceDlg* editor)
{
    const int before = MTestDatabase::value(QStringLiteral("SELECT MAX(id) FROM invoice")).toInt();
    MMessageBox::takeShown();
    editor->clickOk(true);
    const QString shown = takeShownTexts();
    if (!shown.isEmpty()) {
        qWarning("%s", qPrintable(shown));
        return 0;
    }
    if (!QTest::qWaitFor([this] { return !m_window->findChild<MInvoiceDlg*>(); }, 5000))
        return 0;
    const int id = MTestDatabase::value(QStringLiteral("SELECT MAX(id) FROM invoice")).toInt();
    return id > before ? id : 0;
}

void TestRoadTest::salesListIsOpenPastItsFirstRows()
{
    MTableView* sales = listTable(7);
    QVERIFY(sales);
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), generatedDocuments);
    QCOMPARE(sales->model()->rowCount(), firstRows);
    QVERIFY(sales->model()->canFetchMore(QModelIndex()));

    // Switched on from the menu, dragging reaches the sales list's own table.
    QVERIFY(!sales->dragEnabled());
    QAction* dragDrop = nullptr;
    for (QAction* action : m_window->findChildren<QAction*>())
        if (action->text() == QStringLiteral("Przeciągnij i upuść"))
            dragDrop = action;
    QVERIFY(dragDrop);
    dragDrop->trigger();
    QVERIFY(sales->dragEnabled());
}

void TestRoadTest::vatInvoiceFromTheListsSavedWithTheListOpen()
{
    MInvoiceDlg* editor = newEditor(0);
    QVERIFY(editor);
    takeParties(editor);
    if (QTest::currentTestFailed())
        return;
    takeProducts(editor);
    if (QTest::currentTestFailed())
        return;
    // The sales list stays open, still short of its last row.
    QVERIFY(listTable(7)->model()->canFetchMore(QModelIndex()));

    m_invoice = save(editor);
    QVERIFY(m_invoice > 0);
    // The seller's first invoice of the month.
    m_invoiceNumber = QStringLiteral("1/%1").arg(QDate::currentDate().toString(QStringLiteral("MM/yyyy")));
    QCOMPARE(documentRow(m_invoice, "invoice_kind, invoice_index_string, id_seller_base, printf('%.2f', global_brutto)"),
             QStringLiteral("0|%1|%2|455.09").arg(m_invoiceNumber).arg(m_seller));
    // The seller's default account goes onto the invoice.
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT s.bank_account FROM invoice i JOIN invoice_seller s "
                                                 "ON s.id = i.id_seller WHERE i.id = %1")
                                      .arg(m_invoice))
                 .toString(),
             bankAccount);
    // The sales list shows the new invoice as its current row.
    QCOMPARE(salesList(0)->currentId(), m_invoice);
    m_monthDocuments << m_invoice;
}

void TestRoadTest::finalInvoiceDeductsItsAdvance()
{
    QVERIFY2(m_invoice > 0, "the road stopped before the first invoice was saved");
    MInvoiceDlg* advance = newEditor(19);
    QVERIFY(advance);
    takeParties(advance);
    if (QTest::currentTestFailed())
        return;
    takeProducts(advance);
    if (QTest::currentTestFailed())
        return;
    advance->m_bruttoPart->setText(QStringLiteral("200,00"));
    m_advance = save(advance);
    QVERIFY(m_advance > 0);
    QCOMPARE(documentRow(m_advance, "invoice_kind, printf('%.2f', brutto_part)"), QStringLiteral("19|200.00"));
    m_monthDocuments << m_advance;

    MInvoiceDlg* final = newEditor(23);
    QVERIFY(final);
    takeParties(final);
    if (QTest::currentTestFailed())
        return;
    takeProducts(final);
    if (QTest::currentTestFailed())
        return;

    // "Dodaj" takes the advance selected in the sales list.
    QCOMPARE(salesList(m_advance)->currentId(), m_advance);
    trigger(final, "INVOICE_ADD");
    QCOMPARE(final->m_invoiceJoinIds.size(), 1);
    QCOMPARE(final->m_bruttoRest->text(), QStringLiteral("255.09"));

    // A VAT invoice dropped from the same list is refused aloud.
    MTableView* sales = listTable(7);
    emit final->m_invoiceList->dropIndexes(sales, {m_invoice});
    QCOMPARE(final->m_invoiceJoinIds.size(), 1);
    QCOMPARE(takeShownTexts(), QStringLiteral("Niezgodność wprowadzonych danych: ") + refusal);

    // "Zamień" puts the list's current advance in place of the joined one: still one
    // advance deducted.
    final->m_invoiceList->selectRow(0);
    salesList(m_advance);
    trigger(final, "INVOICE_CHANGE");
    QCOMPARE(final->m_invoiceJoinIds.size(), 1);
    QCOMPARE(final->m_bruttoRest->text(), QStringLiteral("255.09"));

    m_final = save(final);
    QVERIFY(m_final > 0);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_invoice_join FROM invoice_join WHERE id_invoice = %1")
                                     .arg(m_final)),
             QStringList{QString::number(m_advance)});
    QCOMPARE(documentRow(m_final, "invoice_kind, printf('%.2f', global_brutto)"), QStringLiteral("23|455.09"));
    m_monthDocuments << m_final;
}

void TestRoadTest::correctionAndDuplicateFromTheList()
{
    QVERIFY2(m_invoice > 0, "the road stopped before the first invoice was saved");
    MInvoiceDbView* sales = salesList(m_invoice);
    QVERIFY(sales);
    QCOMPARE(sales->currentId(), m_invoice);
    sales->doDocCorrect();
    MInvoiceDlg* correction = m_window->findChild<MInvoiceDlg*>();
    QVERIFY(correction);
    QCOMPARE(correction->docKind(), 2);
    // The third line, 19.99 net, is taken back.
    correction->m_productList->selectRow(2);
    trigger(correction, "PRODUCT_DELETE");
    const int corrected = save(correction);
    QVERIFY(corrected > 0);
    QCOMPARE(documentRow(corrected, "invoice_kind, id_parent_invoice, printf('%.2f', global_brutto)"),
             QStringLiteral("2|%1|430.50").arg(m_invoice));
    m_monthDocuments << corrected;

    sales = salesList(m_invoice);
    sales->doDocDuplicate();
    auto* duplicate = m_window->findChild<MInvoiceDuplicateDlg*>();
    QVERIFY(duplicate);
    QPushButton* ok = nullptr;
    for (QPushButton* button : duplicate->findChildren<QPushButton*>())
        if (button->text() == QLatin1String("OK"))
            ok = button;
    QVERIFY(ok);
    const int before = MTestDatabase::value(QStringLiteral("SELECT MAX(id) FROM invoice")).toInt();
    ok->click();
    QCOMPARE(takeShownTexts(), QString());
    const int copy = MTestDatabase::value(QStringLiteral("SELECT MAX(id) FROM invoice")).toInt();
    QVERIFY(copy > before);
    QCOMPARE(documentRow(copy, "invoice_kind, id_parent_invoice"), QStringLiteral("5|%1").arg(m_invoice));
}

void TestRoadTest::invoiceAsPdf()
{
    QVERIFY2(m_invoice > 0, "the road stopped before the first invoice was saved");
    MInvoiceDbView* sales = salesList(m_invoice);
    QVERIFY(sales);
    const QDir folder(MAppWnd::pathDocuments + QStringLiteral("road-pdf"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    MFileDialog::setNextFileName(folder.filePath(QStringLiteral("faktura.pdf")));
    sales->startDocPrintPdf(1);
    QTRY_COMPARE_WITH_TIMEOUT(folder.entryList({QStringLiteral("*.pdf")}, QDir::Files).size(), 1, 60000);

    const QString file = folder.filePath(folder.entryList({QStringLiteral("*.pdf")}, QDir::Files).first());
    QTRY_VERIFY_WITH_TIMEOUT(!MTestPdf::pageTexts(file).isEmpty(), 10000);
    const QString text = MTestPdf::pageTexts(file).join(QLatin1Char(' '));
    QVERIFY2(text.contains(m_invoiceNumber), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("455.09")), qPrintable(text));
}

void TestRoadTest::jpkVatForTheMonth()
{
    QVERIFY2(m_invoice > 0, "the road stopped before the first invoice was saved");
    MInvoiceDbView* sales = salesList(0);
    QVERIFY(sales);
    selectInList(7, m_monthDocuments);
    const QString file = MAppWnd::pathDocuments + QStringLiteral("jpk_vat.xml");
    sales->doExportJpkVat();
    auto* dialog = m_window->findChild<MJpkVatDlg*>();
    QVERIFY(dialog);
    auto* version = dialog->findChild<QComboBox*>(QStringLiteral("version"));
    QVERIFY(version);
    version->setCurrentIndex(1);
    MFileDialog::setNextFileName(file);
    QPushButton* ok = nullptr;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == QLatin1String("OK"))
            ok = button;
    QVERIFY(ok);
    ok->click();
    QCOMPARE(takeShownTexts(), QString());

    const QString errors = MJpkTestFile::schemaErrors(file, QStringLiteral("Schemat_JPK_VAT(3)_v1-1.xsd"));
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
    // The invoice, the advance and the final invoice's remainder, less the correction.
    QCOMPARE(MJpkTestFile::elements(file, QStringLiteral("SprzedazCtrl")).value(0).section(QLatin1Char(';'), 0, 0),
             QStringLiteral("LiczbaWierszySprzedazy=4"));
    // The invoice with its own amounts, the correction with its difference.
    QStringList amounts;
    for (const QString& row : MJpkTestFile::elements(file, QStringLiteral("SprzedazWiersz")))
        amounts << MJpkTestFile::part(row, QStringLiteral("DowodSprzedazy")) + QLatin1Char(' ')
                       + MJpkTestFile::part(row, QStringLiteral("K_19")) + QLatin1Char(' ')
                       + MJpkTestFile::part(row, QStringLiteral("K_20"));
    QCOMPARE(amounts.first(), m_invoiceNumber + QStringLiteral(" 369.99 85.10"));
    QCOMPARE(amounts.last(), m_invoiceNumber + QStringLiteral(" -19.99 -4.60"));
}

INVOICE_TEST_MAIN(TestRoadTest)
#include "tst_roadtest.moc"
