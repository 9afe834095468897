#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "core/MListTab.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "printing/MPrinterMargins.h"
#include "resources/MResources.h"
#include "views/MTabWidget.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QtTest>

#include <memory>

namespace {

// Stands for any view of a tab: it answers the main window's state queries
// and records every call the window makes on it. Real views are recognised
// by the same accessible names and offer the same slots.
class FakeView : public QWidget
{
    Q_OBJECT

public:
    explicit FakeView(const QString& viewName) { setAccessibleName(viewName); }

    Q_INVOKABLE bool hasCurrentIndex() const { return current; }
    Q_INVOKABLE int selectedRowCount() const { return rows; }
    Q_INVOKABLE bool isCurrentDefault() const { return isDefault; }

    QStringList calls;
    bool current = false;
    int rows = 0;
    bool isDefault = false;

public slots:
    void afterInitWidget() { calls << QStringLiteral("afterInitWidget"); }
    void reloadView(int i, int id) { calls << QStringLiteral("reloadView(%1,%2)").arg(i).arg(id); }
    void updatePreview() { calls << QStringLiteral("updatePreview"); }
    void doShowFilter(bool show) { calls << QStringLiteral("doShowFilter(%1)").arg(show); }
    void doNew() { calls << QStringLiteral("doNew"); }
    void doEdit() { calls << QStringLiteral("doEdit"); }
    void doDelete() { calls << QStringLiteral("doDelete"); }
    void doExportCsv() { calls << QStringLiteral("doExportCsv"); }
    void doDefault() { calls << QStringLiteral("doDefault"); }
    void doDocAdd() { calls << QStringLiteral("doDocAdd"); }
    void doDocEdit() { calls << QStringLiteral("doDocEdit"); }
    void doDocDelete() { calls << QStringLiteral("doDocDelete"); }
    void doDocCopy() { calls << QStringLiteral("doDocCopy"); }
    void doDocCorrect() { calls << QStringLiteral("doDocCorrect"); }
    void doDocDuplicate() { calls << QStringLiteral("doDocDuplicate"); }
    void doDocPreview() { calls << QStringLiteral("doDocPreview"); }
    void doDocPrint() { calls << QStringLiteral("doDocPrint"); }
    void doDocPrintPdf() { calls << QStringLiteral("doDocPrintPdf"); }
    void doDocSendMailPdf() { calls << QStringLiteral("doDocSendMailPdf"); }
    void startDocSetSelected() { calls << QStringLiteral("startDocSetSelected"); }
    void doIsPayed() { calls << QStringLiteral("doIsPayed"); }
    void doExportJpkFa() { calls << QStringLiteral("doExportJpkFa"); }
    void doExportJpkVat() { calls << QStringLiteral("doExportJpkVat"); }
    void startDocPrint() { calls << QStringLiteral("startDocPrint()"); }
    void startDocPrint(int docView) { calls << QStringLiteral("startDocPrint(%1)").arg(docView); }
    void startDocPrintPdf() { calls << QStringLiteral("startDocPrintPdf()"); }
    void startDocPrintPdf(int docView) { calls << QStringLiteral("startDocPrintPdf(%1)").arg(docView); }
    void doSendMailPdf() { calls << QStringLiteral("doSendMailPdf"); }
};

// Stands for the invoice editor, which the window recognises by its class
// name; kept in this file so that it never meets the real one at link time.
class MInvoiceDlg : public QDialog
{
    Q_OBJECT

public:
    using QDialog::QDialog;
    Q_INVOKABLE void setEnabledActions() { ++enabledActionsCalls; }
    int enabledActionsCalls = 0;
};

// The main window with every list kind available as a fake view.
class TestAppWnd : public MAppWnd
{
protected:
    QWidget* createListView(int kind) override
    {
        const MListTab* tab = MListTab::byKind(kind);
        return new FakeView(tab->viewName);
    }
};

} // namespace

class TestAppWndTabs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void restoreLeavesStoredTabsUntilTheyChange();
    void restoreReopensStoredListsAndCurrentTab();
    void tabsAreStoredWhenTheyChange();
    void loadTabCreatesOneTabPerKind();
    void changeNoticeOpensListAndReachesListViews();
    void commandGoesToCurrentView_data();
    void commandGoesToCurrentView();
    void operationsFollowViewAndEditor();
    void filterToggleFollowsStoredOption();
    void printerMargins_data();
    void printerMargins();

private:
    FakeView* currentView() const;
    FakeView* openFake(const QString& viewName);
    QAction* action(const QString& text) const;
    void closeAllTabs();

    std::unique_ptr<TestAppWnd> m_window;
    const QString m_storedOpened = QStringLiteral(
        "MBuyerDbView,0;;MInvoicePrintPreview,0;MSellerDbView;Nieznany,0;MInvoiceDbView_Sell,0;MProductDbView,0,0");
};

void TestAppWndTabs::initTestCase()
{
    initInvoiceResources();

    // A database of the current version that remembers tabs of an earlier session.
    MProgramPaths::initPaths();
    QVERIFY(MTestDatabase::build(MProgramPaths::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::insert(QStringLiteral("_options"), {{"id", "TAB_MAIN_OPENED"}, {"content", m_storedOpened}});
    MTestDatabase::insert(QStringLiteral("_options"),
                          {{"id", "TAB_MAIN_CURRENT"}, {"content", "MInvoiceDbView_Sell,0"}});
    MTestDatabase::close();

    m_window.reset(new TestAppWnd);
    QVERIFY(!m_window->hasEnded());
}

void TestAppWndTabs::cleanupTestCase()
{
    m_window.reset();
}

FakeView* TestAppWndTabs::currentView() const
{
    return qobject_cast<FakeView*>(m_window->tabMain()->currentWidget());
}

FakeView* TestAppWndTabs::openFake(const QString& viewName)
{
    auto* view = new FakeView(viewName);
    m_window->tabMain()->setCurrentIndex(m_window->tabMain()->addTab(view, viewName));
    return view;
}

QAction* TestAppWndTabs::action(const QString& text) const
{
    const QList<QAction*> actions = m_window->findChildren<QAction*>();
    for (QAction* candidate : actions) {
        if (candidate->text() == text)
            return candidate;
    }
    qFatal("no action %s", qPrintable(text));
    return nullptr;
}

void TestAppWndTabs::closeAllTabs()
{
    while (m_window->tabMain()->count() > 0)
        m_window->doCloseActiveTab();
}

void TestAppWndTabs::restoreLeavesStoredTabsUntilTheyChange()
{
    // The window's own restore at start (its constructor calls its own view
    // factory) opens the real buyer and sales lists, the stored kinds whose views
    // exist, makes the stored one current and leaves the stored tabs as they were.
    MTabWidget* tabs = m_window->tabMain();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->widget(0)->accessibleName(), QStringLiteral("MBuyerDbView"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("Kontrahenci"));
    QCOMPARE(tabs->widget(1)->accessibleName(), QStringLiteral("MInvoiceDbView_Sell"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Faktury sprzedaży"));
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(MOptions::option(QStringLiteral("TAB_MAIN_OPENED")), m_storedOpened);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")), m_storedOpened);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_CURRENT")), QStringLiteral("MInvoiceDbView_Sell,0"));

    // Closing them is a change and is stored.
    m_window->doCloseActiveTab();
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")), QStringLiteral("MBuyerDbView,0"));
    m_window->doCloseActiveTab();
    QCOMPARE(tabs->count(), 0);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")), QString());

    // The next restore starts from the earlier session's tabs again.
    MOptions::setOption(QStringLiteral("TAB_MAIN_OPENED"), m_storedOpened);
    MOptions::setOption(QStringLiteral("TAB_MAIN_CURRENT"), QStringLiteral("MInvoiceDbView_Sell,0"));
}

void TestAppWndTabs::restoreReopensStoredListsAndCurrentTab()
{
    m_window->restoreTabs();

    MTabWidget* tabs = m_window->tabMain();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->widget(0)->accessibleName(), QStringLiteral("MBuyerDbView"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("Kontrahenci"));
    QCOMPARE(tabs->widget(1)->accessibleName(), QStringLiteral("MInvoiceDbView_Sell"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Faktury sprzedaży"));
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(static_cast<FakeView*>(tabs->widget(0))->calls, QStringList{QStringLiteral("afterInitWidget")});

    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")),
             QStringLiteral("MBuyerDbView,0;MInvoiceDbView_Sell,0"));
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_CURRENT")), QStringLiteral("MInvoiceDbView_Sell,0"));

    // A stored current tab that is not open, or malformed, leaves the current tab alone.
    for (const QString& current : {QStringLiteral("MSellerDbView,0"), QStringLiteral("MBuyerDbView")}) {
        MOptions::setOption(QStringLiteral("TAB_MAIN_CURRENT"), current);
        m_window->restoreTabs();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->currentIndex(), 1);
    }
    closeAllTabs();
}

void TestAppWndTabs::tabsAreStoredWhenTheyChange()
{
    m_window->loadTab(4);
    m_window->loadTab(7);
    FakeView* preview = openFake(QStringLiteral("MInvoicePrintPreview"));
    QCOMPARE(preview->calls, QStringList{QStringLiteral("updatePreview")});
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")),
             QStringLiteral("MProductDbView,0;MInvoiceDbView_Sell,0"));
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_CURRENT")), QString());

    m_window->tabMain()->setCurrentIndex(0);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_CURRENT")), QStringLiteral("MProductDbView,0"));

    m_window->doCloseRequestedTabMain(0);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")), QStringLiteral("MInvoiceDbView_Sell,0"));
    QCOMPARE(MOptions::option(QStringLiteral("TAB_MAIN_OPENED")), QStringLiteral("MInvoiceDbView_Sell,0"));

    closeAllTabs();
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")), QString());
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_CURRENT")), QString());
}

void TestAppWndTabs::loadTabCreatesOneTabPerKind()
{
    MTabWidget* tabs = m_window->tabMain();
    m_window->loadTab(3);
    m_window->loadTab(10);
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(tabs->tabText(1), QStringLiteral("Notowania walutowe"));
    m_window->loadTab(3);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 0);

    for (int kind : {0, 1, 9, 11, -1}) {
        m_window->loadTab(kind);
        QCOMPARE(tabs->count(), 2);
    }
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("TAB_MAIN_OPENED")),
             QStringLiteral("MBuyerDbView,0;MCurrencyRatingDbView,0"));

    // Every list but the VAT register runs its afterInitWidget once shown.
    m_window->loadTab(5);
    m_window->loadTab(6);
    QCOMPARE(static_cast<FakeView*>(tabs->widget(2))->calls, QStringList());
    QCOMPARE(static_cast<FakeView*>(tabs->widget(3))->calls, QStringList{QStringLiteral("updatePreview")});
    QCOMPARE(tabs->tabText(2), QStringLiteral("Teksty końcowe"));
    QCOMPARE(tabs->tabText(3), QStringLiteral("Rejestr VAT sprzedaży"));
    closeAllTabs();
}

void TestAppWndTabs::changeNoticeOpensListAndReachesListViews()
{
    m_window->loadTab(3);
    m_window->loadTab(6);
    auto* buyers = static_cast<FakeView*>(m_window->tabMain()->widget(0));
    auto* vatRegister = static_cast<FakeView*>(m_window->tabMain()->widget(1));
    buyers->calls.clear();
    vatRegister->calls.clear();

    // A saved product opens the product list, which reloads and selects it.
    QSignalSpy notices(m_window.get(), &MAppWnd::changeDbObject);
    m_window->doChangeDbObject(4, 12);
    QCOMPARE(m_window->tabMain()->count(), 3);
    FakeView* productList = currentView();
    QCOMPARE(productList->accessibleName(), QStringLiteral("MProductDbView"));
    QCOMPARE(productList->calls, (QStringList{QStringLiteral("afterInitWidget"), QStringLiteral("reloadView(4,12)")}));
    QCOMPARE(buyers->calls, QStringList{QStringLiteral("reloadView(4,12)")});
    QCOMPARE(vatRegister->calls, QStringList());
    QCOMPARE(notices.count(), 1);

    // A reload of a list already open makes it current and tells every list.
    m_window->loadTab(3, true);
    QCOMPARE(currentView(), buyers);
    QCOMPARE(notices.count(), 2);
    QCOMPARE(notices.at(1), (QList<QVariant>{3, 0}));
    QCOMPARE(productList->calls.last(), QStringLiteral("reloadView(3,0)"));

    // A kind without a list is passed on all the same.
    m_window->doChangeDbObject(9, 2);
    QCOMPARE(m_window->tabMain()->count(), 3);
    QCOMPARE(notices.count(), 3);
    closeAllTabs();
}

void TestAppWndTabs::commandGoesToCurrentView_data()
{
    QTest::addColumn<QString>("viewName");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expectedCall");

    const QString buyers = QStringLiteral("MBuyerDbView");
    const QString ratings = QStringLiteral("MCurrencyRatingDbView");
    const QString sales = QStringLiteral("MInvoiceDbView_Sell");
    const QString purchases = QStringLiteral("MInvoiceDbView_Buy");
    const QString preview = QStringLiteral("MInvoicePrintPreview");
    const QString statement = QStringLiteral("MInvoiceSetSelectedPrintPreview");
    const QString vatRegister = QStringLiteral("MInvoiceRegisterView");

    QTest::newRow("Dodaj on buyers") << buyers << "doAdd" << "doNew";
    QTest::newRow("Dodaj on sales") << sales << "doAdd" << "doDocAdd";
    QTest::newRow("Edytuj on closing texts") << QStringLiteral("MEndTextDbView") << "doEdit" << "doEdit";
    QTest::newRow("Edytuj on purchases") << purchases << "doEdit" << "doDocEdit";
    QTest::newRow("Usuń on products") << QStringLiteral("MProductDbView") << "doDelete" << "doDelete";
    QTest::newRow("Usuń on ratings") << ratings << "doDelete" << "doDelete";
    QTest::newRow("Usuń on sales") << sales << "doDelete" << "doDocDelete";
    QTest::newRow("Eksportuj do CSV on sellers") << QStringLiteral("MSellerDbView") << "doExportCsv" << "doExportCsv";
    QTest::newRow("Eksportuj do CSV on purchases") << purchases << "doExportCsv" << "doExportCsv";
    QTest::newRow("Eksportuj do CSV on ratings: none") << ratings << "doExportCsv" << QString();
    QTest::newRow("Domyślny on sellers") << QStringLiteral("MSellerDbView") << "doDefault" << "doDefault";
    QTest::newRow("Domyślny on buyers: none") << buyers << "doDefault" << QString();
    QTest::newRow("Kopiuj on sales") << sales << "doCopy" << "doDocCopy";
    QTest::newRow("Kopiuj on buyers: none") << buyers << "doCopy" << QString();
    QTest::newRow("Koryguj on purchases") << purchases << "doCorrect" << "doDocCorrect";
    QTest::newRow("Duplikat on sales") << sales << "doDuplicate" << "doDocDuplicate";
    QTest::newRow("Podgląd on sales") << sales << "doPreview" << "doDocPreview";
    QTest::newRow("Podgląd on document preview: none") << preview << "doPreview" << QString();
    QTest::newRow("Drukuj on sales") << sales << "doPrint" << "doDocPrint";
    QTest::newRow("Drukuj on document preview") << preview << "doPrint" << "startDocPrint(-1)";
    QTest::newRow("Drukuj on VAT register") << vatRegister << "doPrint" << "startDocPrint()";
    QTest::newRow("Drukuj on statement preview") << statement << "doPrint" << "startDocPrint()";
    QTest::newRow("Drukuj on buyers: none") << buyers << "doPrint" << QString();
    QTest::newRow("Generuj PDF on purchases") << purchases << "doPrintPdf" << "doDocPrintPdf";
    QTest::newRow("Generuj PDF on document preview") << preview << "doPrintPdf" << "startDocPrintPdf(-1)";
    QTest::newRow("Generuj PDF on VAT register") << vatRegister << "doPrintPdf" << "startDocPrintPdf()";
    QTest::newRow("Generuj PDF on statement preview") << statement << "doPrintPdf" << "startDocPrintPdf()";
    QTest::newRow("Wyślij PDF on sales") << sales << "doSendMailPdf" << "doDocSendMailPdf";
    QTest::newRow("Wyślij PDF on document preview") << preview << "doSendMailPdf" << "doSendMailPdf";
    QTest::newRow("Wyślij PDF on statement preview: none") << statement << "doSendMailPdf" << QString();
    QTest::newRow("Zestawienie on purchases") << purchases << "doSetSelected" << "startDocSetSelected";
    QTest::newRow("Kontrola płatności on sales") << sales << "doIsPayed" << "doIsPayed";
    QTest::newRow("JPK_FA on sales") << sales << "doExportJpkFa" << "doExportJpkFa";
    QTest::newRow("JPK_VAT on sales") << sales << "doExportJpkVat" << "doExportJpkVat";
    QTest::newRow("JPK_FA on purchases: none") << purchases << "doExportJpkFa" << QString();
    QTest::newRow("JPK_VAT on purchases: none") << purchases << "doExportJpkVat" << QString();
}

void TestAppWndTabs::commandGoesToCurrentView()
{
    QFETCH(QString, viewName);
    QFETCH(QString, command);
    QFETCH(QString, expectedCall);

    // Without a tab a command does nothing.
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), qPrintable(command)));

    FakeView* other = openFake(QStringLiteral("MBuyerDbView") == viewName ? QStringLiteral("MSellerDbView")
                                                                          : QStringLiteral("MBuyerDbView"));
    FakeView* view = openFake(viewName);
    other->calls.clear();
    view->calls.clear();
    QVERIFY(QMetaObject::invokeMethod(m_window.get(), qPrintable(command)));
    QCOMPARE(view->calls, expectedCall.isEmpty() ? QStringList() : QStringList{expectedCall});
    QCOMPARE(other->calls, QStringList());
    closeAllTabs();
}

void TestAppWndTabs::operationsFollowViewAndEditor()
{
    MOptions::setOption(QStringLiteral("JPK_FA_SHOW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("JPK_VAT_SHOW"), QStringLiteral("0"));
    FakeView* sales = openFake(QStringLiteral("MInvoiceDbView_Sell"));
    sales->current = true;
    sales->rows = 1;
    m_window->setEnabledMenuActions();
    for (const char* text : {"Dodaj", "Edytuj", "Kopiuj", "Podgląd", "Wyślij PDF e-mailem", "Eksportuj do JPK_FA"})
        QVERIFY2(action(QString::fromUtf8(text))->isEnabled(), text);
    QVERIFY(!action(QStringLiteral("Eksportuj do JPK_VAT"))->isEnabled());
    QVERIFY(!action(QStringLiteral("Domyślny"))->isEnabled());

    auto* editor = new MInvoiceDlg(m_window.get());
    connect(editor, &QDialog::finished, m_window.get(), &MAppWnd::doFinishedInvoiceDlg);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->show();
    m_window->setEnabledMenuActions();
    QCOMPARE(editor->enabledActionsCalls, 1);
    for (const char* text : {"Dodaj", "Edytuj", "Usuń", "Kopiuj", "Koryguj", "Duplikat"})
        QVERIFY2(!action(QString::fromUtf8(text))->isEnabled(), text);
    for (const char* text : {"Podgląd", "Drukuj", "Generuj PDF", "Wyślij PDF e-mailem", "Zestawienie",
                             "Kontrola płatności"})
        QVERIFY2(action(QString::fromUtf8(text))->isEnabled(), text);

    // Once the editor is gone the operations come back by themselves.
    QPointer<MInvoiceDlg> closing = editor;
    editor->close();
    QTRY_VERIFY(!closing);
    QTRY_VERIFY(action(QStringLiteral("Edytuj"))->isEnabled());
    QVERIFY(action(QStringLiteral("Dodaj"))->isEnabled());

    // The default seller as the only selected row checks "Domyślny".
    FakeView* sellers = openFake(QStringLiteral("MSellerDbView"));
    sellers->current = true;
    sellers->rows = 1;
    sellers->isDefault = true;
    m_window->setEnabledMenuActions();
    QVERIFY(action(QStringLiteral("Domyślny"))->isEnabled());
    QVERIFY(action(QStringLiteral("Domyślny"))->isChecked());

    // A preview disables all but its own operations and unchecks "Domyślny".
    openFake(QStringLiteral("MInvoicePrintPreview"));
    QVERIFY(!action(QStringLiteral("Domyślny"))->isChecked());
    QVERIFY(!action(QStringLiteral("Edytuj"))->isEnabled());
    QVERIFY(action(QStringLiteral("Wyślij PDF e-mailem"))->isEnabled());
    closeAllTabs();
    QVERIFY(!action(QStringLiteral("Drukuj"))->isEnabled());
}

void TestAppWndTabs::filterToggleFollowsStoredOption()
{
    QAction* filter = action(QStringLiteral("Filtracja"));
    MOptions::setOption(QStringLiteral("FILTER_SHOW_SELLER_DB_VIEW"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("FILTER_SHOW_INVOICE_REGISTER_VIEW"), QStringLiteral("1"));

    FakeView* sellers = openFake(QStringLiteral("MSellerDbView"));
    QVERIFY(filter->isEnabled());
    QVERIFY(!filter->isChecked());
    filter->trigger();
    QCOMPARE(sellers->calls, QStringList{QStringLiteral("doShowFilter(1)")});

    FakeView* vatRegister = openFake(QStringLiteral("MInvoiceRegisterView"));
    QVERIFY(filter->isChecked());
    vatRegister->calls.clear();
    filter->trigger();
    QCOMPARE(vatRegister->calls, QStringList{QStringLiteral("doShowFilter(0)")});

    openFake(QStringLiteral("MInvoicePrintPreview"));
    QVERIFY(!filter->isEnabled());
    QVERIFY(!filter->isChecked());
    closeAllTabs();
}

void TestAppWndTabs::printerMargins_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<double>>("expected");

    QTest::newRow("four margins") << "10;15;10;20" << QList<double>{10, 15, 10, 20};
    QTest::newRow("fractions") << "7.5;5;12.25;0" << QList<double>{7.5, 5, 12.25, 0};
    QTest::newRow("a part that is not a number") << "abc;5;5;8" << QList<double>{0, 5, 5, 8};
    QTest::newRow("fewer than four parts") << "10;15" << QList<double>{5, 5, 5, 5};
    QTest::newRow("empty") << "" << QList<double>{5, 5, 5, 5};
}

void TestAppWndTabs::printerMargins()
{
    QFETCH(QString, stored);
    QFETCH(QList<double>, expected);

    MOptions::setOption(QStringLiteral("PRINTER_MARGINS"), stored);
    MPrinterMargins::load();
    const QVector<double> actual = MPrinterMargins::values();
    QCOMPARE(QList<double>(actual.begin(), actual.end()), expected);
}

INVOICE_TEST_MAIN(TestAppWndTabs)
#include "tst_appwndtabs.moc"
