#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestRecordList.h"
#include "core/MAppWnd.h"
#include "editor/MInvoiceDlg.h"
#include "parties/MRecordDbView.h"
#include "resources/MResources.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

QStringList tabTexts(const QTabWidget* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

QStringList comboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

} // namespace

class TestInvoiceDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void formFollowsKind_data();
    void formFollowsKind();
    void marginLocksAreReleased();
    void joinedPageFollowsChosenKind();
    void buyerKindSetsBuyerTabs_data();
    void buyerKindSetsBuyerTabs();
    void actionRights_data();
    void actionRights();
    void actionsFollowMainWindowTab();
    void foldingLeavesStrip();
    void secondEditorIsRefused();
    void windowDestroyedWithEditorOpen();

private:
    MInvoiceDlg* openEditor(int kind);
    // Opens the real list of view kind `kind` as the window does, its first row current or none.
    MRecordDbView* openList(int kind, bool current);
    static bool enabled(MInvoiceDlg* editor, const char* key) { return editor->m_actions.value(key)->isEnabled(); }

    std::unique_ptr<MAppWnd> m_window;
};

void TestInvoiceDlg::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    // One record in each list whose tab the editor looks at.
    MTestDatabase::insert(QStringLiteral("seller"), {{"firm", "Morva"}});
    MTestDatabase::insert(QStringLiteral("buyer"), {{"firm", "Klient"}});
    MTestDatabase::insert(QStringLiteral("product"), {{"name", "Zasuwa"}});
    MTestDatabase::insert(QStringLiteral("end_text"), {{"content", "Dziękujemy"}});
    MTestDatabase::insert(QStringLiteral("currency_rating"),
                          {{"bank_name", "NBP"}, {"id_currency_from", 1}, {"rating_date", "2026-01-15"},
                           {"currency_amount_from", 1}, {"currency_value", 4.3}});
    for (int kind : {0, 11})
        MTestDatabase::insert(QStringLiteral("invoice"), {{"invoice_kind", kind},
                                                          {"date_put", "2024-01-05 00:00:00"},
                                                          {"date_sell", "2024-01-05 00:00:00"},
                                                          {"date_pay", "2024-01-05 00:00:00"}});
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
    MAppWnd::setOption(QStringLiteral("DEFAULT_SUMMARY_COUNT"), QStringLiteral("1"));
}

MRecordDbView* TestInvoiceDlg::openList(int kind, bool current)
{
    MRecordDbView* view = openListTab(m_window.get(), kind);
    if (!view)
        return nullptr;
    MTableView* table = view->tableView();
    table->selectionModel()->clear();
    if (current)
        table->selectRow(0);
    return view;
}

void TestInvoiceDlg::cleanup()
{
    if (!m_window)
        return;
    if (auto* editor = m_window->findChild<MInvoiceDlg*>())
        delete editor;
    while (m_window->tabMain()->count() > 0)
        delete m_window->tabMain()->widget(0);
}

MInvoiceDlg* TestInvoiceDlg::openEditor(int kind)
{
    m_window->newRecord(kind == 9 ? 7 : kind == 1 ? 1 : 0, kind);
    return m_window->findChild<MInvoiceDlg*>();
}

void TestInvoiceDlg::formFollowsKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<bool>("correction");
    QTest::addColumn<bool>("buyerKinds");
    QTest::addColumn<bool>("options");
    QTest::addColumn<int>("summary");
    QTest::addColumn<bool>("marginLocked");

    const QStringList sales = {"Faktura VAT", "Faktura VAT końcowa", "Faktura VAT marża", "Faktura VAT odwrotne obciążenie",
                               "Faktura VAT zaliczkowa", "Faktura VAT-MP", "Faktura proforma"};
    const QStringList corrections = {"Faktura korygująca VAT", "Faktura korygująca VAT marża",
                                     "Faktura korygująca VAT odwrotne obciążenie", "Faktura korygująca VAT-MP"};
    const QStringList pages = {"Sprzedawca", "Kontrahent", "Produkty", "Terminy", "Teksty"};
    const QStringList joined = pages + QStringList{"Faktury"};
    const QStringList purchase = {"Kontrahent", "Sprzedawca", "Produkty", "Terminy", "Teksty"};

    QTest::newRow("0") << 0 << "Faktura VAT" << sales << pages << false << true << true << 1 << false;
    QTest::newRow("1") << 1 << "Faktura proforma" << sales << pages << false << true << true << 1 << false;
    QTest::newRow("2") << 2 << "Faktura korygująca VAT" << corrections << pages << true << true << true << 1 << false;
    QTest::newRow("3") << 3 << "Faktura VAT-MP" << sales << pages << false << true << true << 1 << false;
    QTest::newRow("9") << 9 << "Rachunek" << QStringList{"Rachunek"} << pages << false << true << false << 0 << false;
    QTest::newRow("11") << 11 << "Faktura VAT RR" << QStringList{"Faktura VAT RR"} << purchase << false << false << true
                        << 1 << false;
    QTest::newRow("12") << 12 << "Faktura korygująca VAT RR" << QStringList{"Faktura korygująca VAT RR"} << purchase
                        << true << false << true << 1 << false;
    QTest::newRow("15") << 15 << "Faktura VAT odwrotne obciążenie" << sales << pages << false << true << true << 1
                        << false;
    QTest::newRow("19") << 19 << "Faktura VAT zaliczkowa" << sales << joined << false << true << true << 1 << false;
    QTest::newRow("20 only itself") << 20 << "Faktura korygująca VAT zaliczkowa"
                                    << QStringList{"Faktura korygująca VAT zaliczkowa"} << joined << true << true
                                    << true << 1 << false;
    QTest::newRow("23") << 23 << "Faktura VAT końcowa" << sales << joined << false << true << true << 1 << false;
    QTest::newRow("24 only itself") << 24 << "Faktura korygująca VAT końcowa"
                                    << QStringList{"Faktura korygująca VAT końcowa"} << joined << true << true << true
                                    << 1 << false;
    QTest::newRow("27") << 27 << "Faktura VAT marża" << sales << pages << false << true << true << 0 << true;
    QTest::newRow("28") << 28 << "Faktura korygująca VAT marża" << corrections << pages << true << true << true << 0
                        << true;
}

void TestInvoiceDlg::formFollowsKind()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QStringList, offered);
    QFETCH(QStringList, tabs);
    QFETCH(bool, correction);
    QFETCH(bool, buyerKinds);
    QFETCH(bool, options);
    QFETCH(int, summary);
    QFETCH(bool, marginLocked);

    // Kinds 20 and 24 are only edited, never created from the chooser.
    MInvoiceDlg* editor = nullptr;
    if (kind == 20 || kind == 24) {
        editor = new MInvoiceDlg(m_window.get(), Qt::WindowFlags(), kind);
        editor->setDocKind(kind);
    } else {
        editor = openEditor(kind);
    }
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), title);
    QCOMPARE(comboTexts(editor->m_docKindCombo), offered);
    QCOMPARE(editor->m_docKindCombo->currentText(), title);
    QCOMPARE(tabTexts(editor->m_tabMain), tabs);
    QCOMPARE(editor->isCorrection(), correction);
    QCOMPARE(editor->m_datePutLabel->text().contains(QStringLiteral("Data wystawienia korekty")), correction);
    QCOMPARE(editor->m_correctReasonSection->isHidden() == false, correction);
    QCOMPARE(editor->m_buyerKind != nullptr, buyerKinds);
    QCOMPARE(editor->m_actions.contains(QStringLiteral("BUYER2_ADD")), buyerKinds);
    QCOMPARE(tabTexts(editor->m_productTabs).contains(QStringLiteral("Opcje")), options);
    QCOMPARE(editor->m_summaryCount->currentIndex(), summary);
    QCOMPARE(editor->m_hideVat->isEnabled(), !marginLocked);
    // A bill is always priced gross.
    QCOMPARE(editor->m_priceNetto->isEnabled(), !marginLocked && kind != 9);
    QCOMPARE(editor->m_summaryCount->isEnabled(), !marginLocked);
    if (marginLocked)
        QVERIFY(editor->m_hideVat->isChecked() && editor->m_priceBrutto->isChecked());
    QCOMPARE(editor->m_profitProcedure->isHidden() == false, marginLocked);
    QCOMPARE(editor->m_actions.size(), buyerKinds ? 31 : 27);
}

void TestInvoiceDlg::marginLocksAreReleased()
{
    MInvoiceDlg* editor = openEditor(0);
    editor->m_docKindCombo->setCurrentText(QStringLiteral("Faktura VAT marża"));
    QVERIFY(!editor->m_hideVat->isEnabled());
    QVERIFY(editor->m_hideVat->isChecked());
    QVERIFY(editor->m_priceBrutto->isChecked());
    QCOMPARE(editor->m_summaryCount->currentIndex(), 0);

    editor->m_docKindCombo->setCurrentText(QStringLiteral("Faktura VAT"));
    QVERIFY(editor->m_hideVat->isEnabled());
    QVERIFY(editor->m_priceNetto->isEnabled());
    QVERIFY(editor->m_summaryCount->isEnabled());
    // Released, but the values stay.
    QVERIFY(editor->m_hideVat->isChecked());
    QVERIFY(editor->m_priceBrutto->isChecked());
    QCOMPARE(editor->windowTitle(), QStringLiteral("Faktura VAT"));
}

void TestInvoiceDlg::joinedPageFollowsChosenKind()
{
    MInvoiceDlg* editor = openEditor(0);
    editor->m_docKindCombo->setCurrentText(QStringLiteral("Faktura VAT zaliczkowa"));
    QCOMPARE(editor->docKind(), 19);
    QVERIFY(tabTexts(editor->m_tabMain).contains(QStringLiteral("Faktury")));
    QVERIFY(editor->m_contractText->isHidden() == false);
    editor->m_docKindCombo->setCurrentText(QStringLiteral("Faktura VAT"));
    QCOMPARE(editor->docKind(), 0);
    QVERIFY(!tabTexts(editor->m_tabMain).contains(QStringLiteral("Faktury")));
    QVERIFY(!editor->m_contractText->isHidden() == false);
}

void TestInvoiceDlg::buyerKindSetsBuyerTabs_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("two parties") << QStringList{"Nabywca + Odbiorca"} << QStringList{"Nabywca", "Odbiorca"};
    QTest::newRow("back to one") << QStringList{"Nabywca + Odbiorca", "Nabywca"} << QStringList{"Nabywca"};
    QTest::newRow("joined title") << QStringList{"Nabywca i Odbiorca + Płatnik"}
                                  << QStringList{"Nabywca i Odbiorca", "Płatnik"};
    QTest::newRow("two then other two") << QStringList{"Nabywca + Płatnik", "Nabywca 1 + Nabywca 2"}
                                        << QStringList{"Nabywca 1", "Nabywca 2"};
}

void TestInvoiceDlg::buyerKindSetsBuyerTabs()
{
    QFETCH(QStringList, choices);
    QFETCH(QStringList, tabs);
    MInvoiceDlg* editor = openEditor(0);
    for (const QString& choice : choices)
        editor->m_buyerKind->setCurrentText(choice);
    QCOMPARE(tabTexts(editor->m_buyerTabs), tabs);
}

void TestInvoiceDlg::actionRights_data()
{
    QTest::addColumn<int>("view"); // view kind of the current tab, 0 for none
    QTest::addColumn<bool>("current");
    QTest::addColumn<int>("copyKey");
    QTest::addColumn<QStringList>("on");
    QTest::addColumn<QStringList>("off");

    QTest::newRow("no tab") << 0 << false << 0
                            << QStringList{"SELLER_DB", "BUYER_DB", "BUYER2_DB", "PRODUCT_DB", "INVOICE_DB"}
                            << QStringList{"SELLER_ADD", "SELLER_EDIT", "BUYER_EDIT", "PRODUCT_EDIT", "ENDTEXT_DELETE"};
    QTest::newRow("buyers, row") << 3 << true << 0 << QStringList{"BUYER_ADD", "BUYER2_ADD", "SELLER_DB"}
                                 << QStringList{"BUYER_DB", "BUYER2_DB", "SELLER_ADD"};
    QTest::newRow("buyers, no row") << 3 << false << 0 << QStringList{"SELLER_DB"}
                                    << QStringList{"BUYER_DB", "BUYER_ADD", "BUYER2_ADD"};
    QTest::newRow("sellers, row") << 2 << true << 0 << QStringList{"SELLER_ADD", "BUYER_DB"}
                                  << QStringList{"SELLER_DB", "BUYER_ADD"};
    QTest::newRow("products, row") << 4 << true << 0 << QStringList{"PRODUCT_ADD"}
                                   << QStringList{"PRODUCT_DB", "PRODUCT_CHANGE", "PRODUCT_EDIT"};
    QTest::newRow("ratings, row") << 10 << true << 0 << QStringList{"CURRENCY_RATING_ADD"}
                                  << QStringList{"CURRENCY_RATING_DB", "CURRENCY_RATING_EDIT"};
    QTest::newRow("texts, row") << 5 << true << 0 << QStringList{"ENDTEXT_ADD", "ENDTEXT2_ADD"}
                                << QStringList{"ENDTEXT_DB", "ENDTEXT2_DB", "ENDTEXT_DELETE"};
    QTest::newRow("sales, row") << 7 << true << 0 << QStringList{"INVOICE_ADD"}
                                << QStringList{"INVOICE_DB", "INVOICE_CHANGE", "INVOICE_DELETE"};
    QTest::newRow("purchases change nothing")
        << 8 << true << 0 << QStringList{"INVOICE_DB", "SELLER_DB"} << QStringList{"INVOICE_ADD"};
    QTest::newRow("copies held") << 4 << false << 5
                                 << QStringList{"SELLER_EDIT", "SELLER_DELETE", "BUYER_EDIT", "BUYER_DELETE",
                                                "BUYER2_EDIT", "CURRENCY_RATING_EDIT", "CURRENCY_RATING_DELETE"}
                                 << QStringList{"PRODUCT_ADD", "PRODUCT_EDIT", "PRODUCT_DELETE"};
}

void TestInvoiceDlg::actionRights()
{
    QFETCH(int, view);
    QFETCH(bool, current);
    QFETCH(int, copyKey);
    QFETCH(QStringList, on);
    QFETCH(QStringList, off);

    if (view > 0) {
        MRecordDbView* list = openList(view, current);
        QVERIFY(list);
        QCOMPARE(list->tableView()->currentIndex().isValid(), current);
    }
    MInvoiceDlg* editor = openEditor(0);
    editor->m_idSeller = copyKey;
    editor->m_idBuyer = copyKey;
    editor->m_idBuyer2 = copyKey;
    editor->m_idCurrencyRating = copyKey;
    editor->setEnabledActions();
    for (const QString& key : on)
        QVERIFY2(enabled(editor, qPrintable(key)), qPrintable(key));
    for (const QString& key : off)
        QVERIFY2(!enabled(editor, qPrintable(key)), qPrintable(key));
}

void TestInvoiceDlg::actionsFollowMainWindowTab()
{
    MTabWidget* tabs = m_window->tabMain();
    QVERIFY(openList(3, true));
    QVERIFY(openList(4, true));
    tabs->setCurrentIndex(0);
    MInvoiceDlg* editor = openEditor(0);
    QVERIFY(enabled(editor, "BUYER_ADD"));
    QVERIFY(!enabled(editor, "BUYER2_DB"));

    // The tab change alone, through the main window, updates the editor.
    tabs->setCurrentIndex(1);
    QVERIFY(!enabled(editor, "BUYER_ADD"));
    QVERIFY(!enabled(editor, "BUYER2_ADD"));
    QVERIFY(enabled(editor, "BUYER_DB"));
    QVERIFY(enabled(editor, "BUYER2_DB"));
    QVERIFY(!enabled(editor, "PRODUCT_DB"));
    QVERIFY(enabled(editor, "PRODUCT_ADD"));

    // "Pokaż bazę" brings the buyers forward again.
    editor->m_actions.value(QStringLiteral("BUYER_DB"))->trigger();
    QCOMPARE(tabs->currentWidget()->accessibleName(), QStringLiteral("MBuyerDbView"));
    QVERIFY(enabled(editor, "BUYER_ADD"));
}

void TestInvoiceDlg::foldingLeavesStrip()
{
    MInvoiceDlg* editor = openEditor(0);
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    const int width = editor->width();
    editor->m_buttonShrink->click();
    QCOMPARE(editor->height(), 40);
    QCOMPARE(editor->width(), width);
    QVERIFY(!editor->m_tabMain->isVisible());
    QVERIFY(!editor->m_buttonOk->isEnabled());
    QVERIFY(!editor->m_buttonCancel->isEnabled());

    editor->m_buttonShrink->click();
    QVERIFY(editor->m_tabMain->isVisible());
    QVERIFY(editor->height() > 40);
    QVERIFY(editor->m_buttonOk->isEnabled());
    QVERIFY(editor->m_buttonCancel->isEnabled());
}

void TestInvoiceDlg::secondEditorIsRefused()
{
    MInvoiceDlg* first = openEditor(0);
    m_window->newRecord(7, 9);
    QCOMPARE(m_window->findChildren<MInvoiceDlg*>().size(), 1);
    QCOMPARE(m_window->findChild<MInvoiceDlg*>(), first);
    QCOMPARE(first->windowTitle(), QStringLiteral("Faktura VAT"));
    QCOMPARE(first->docKind(), 0);

    // Once closed, a new one opens.
    first->clickCancel(false);
    QTRY_VERIFY(!m_window->findChild<MInvoiceDlg*>() || m_window->findChild<MInvoiceDlg*>()->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_window->newRecord(7, 9);
    QVERIFY(m_window->findChild<MInvoiceDlg*>());
    QCOMPARE(m_window->findChild<MInvoiceDlg*>()->windowTitle(), QStringLiteral("Rachunek"));
}

void TestInvoiceDlg::windowDestroyedWithEditorOpen()
{
    QPointer<MInvoiceDlg> editor = openEditor(23);
    QVERIFY(editor);
    m_window.reset();
    QVERIFY(editor.isNull());
}

INVOICE_TEST_MAIN(TestInvoiceDlg)
#include "tst_invoicedlg.moc"
