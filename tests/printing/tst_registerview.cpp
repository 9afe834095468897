#include "MFreshHome.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestFullDisk.h"
#include "MTestPdf.h"
#include "core/MAppWnd.h"
#include "printing/MDocTemplate.h"
#include "printing/MFilterRegisterView.h"
#include "printing/MGenerateDlg.h"
#include "printing/MHtmlPageList.h"
#include "printing/MInvoiceRegisterPrintPreview.h"
#include "printing/MInvoiceRegisterView.h"
#include "resources/MResources.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MPrintDialog.h"
#include "views/MTabWidget.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <memory>

// The register tab's timed jobs in the real event loop, on the program's own
// database in a fresh home: the progress box, its page number, stopping, and
// the timer left without connections after each job.
class TestRegisterView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pdfJobWritesTheRegister_data();
    void pdfJobWritesTheRegister();
    void stopAfterTheFirstPageLeavesNoFile();
    void previewJobClosesAtTheFirstTick();
    void previewShowsEveryPage();
    void unwritablePdfIsReported();
    void printToFileKeepsTheDialogsChoice();
    void fullDiskIsReportedAndLeavesNoPart_data();
    void fullDiskIsReportedAndLeavesNoPart();
    void cancelledFileDialogComputesNothing();
    void repeatedJobsKeepOneRunTillTheTabCloses();
    void windowCommandsReachTheRegisterTab();

private:
    // Watches the progress box while a job runs: its page numbers, and
    // "Zatrzymaj" pressed once the box shows page `stopAtPage` (0: never).
    void watchBox(int stopAtPage);
    // Waits until the job's box has been shown and closed again.
    bool waitForJob(int timeoutMs);
    static bool timerHasConnections(QTimer* timer);
    QAction* action(const QString& text) const;

    std::unique_ptr<MFreshHome> m_home;
    std::unique_ptr<MAppWnd> m_wnd;
    MInvoiceRegisterView* m_view = nullptr;
    // The tab whose job is watched: m_view, or the window's own register tab.
    QWidget* m_jobView = nullptr;
    QList<int> m_pagesShown;
    bool m_boxSeen = false;
    int m_stopAtPage = 0;
};

namespace {

int shownPage(const QString& text)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("strony: (\\d+)\\.")).match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

void TestRegisterView::initTestCase()
{
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

void TestRegisterView::init()
{
    MMessageBox::takeShown();
    m_home = std::make_unique<MFreshHome>();
    QVERIFY(m_home->isValid());
    m_wnd = std::make_unique<MAppWnd>();
    QVERIFY(!m_wnd->hasEnded());
    MTestDatabase::insert(QStringLiteral("seller"), {{"id", 1}, {"firm", QStringLiteral("Hurtownia Kwiatek")}});
    MTestDatabase::insert(QStringLiteral("invoice_seller"),
                          {{"id", 1}, {"invoice_index_format_text", QStringLiteral("FV-[nr]/[mm]/[rrrr]")}});
    for (int id = 1; id <= 60; ++id) {
        MTestDatabase::insert(QStringLiteral("invoice"),
                              {{"id", id}, {"invoice_kind", 0}, {"id_seller_base", 1}, {"id_seller", 1},
                               {"invoice_index", id}, {"date_put", QStringLiteral("2024-03-10 10:00:00")},
                               {"date_sell", QStringLiteral("2024-03-10 10:00:00")}});
        MTestDatabase::insert(QStringLiteral("invoice_summary_vat"),
                              {{"id_invoice", id}, {"id_vat", 24}, {"netto_price", 100}, {"vat_price", 23},
                               {"brutto_price", 123}});
    }
    MAppWnd::setOption(QStringLiteral("FILTER_INVOICE_REGISTER_DATE_FROM"), QStringLiteral("2024-03-01"));
    MAppWnd::setOption(QStringLiteral("FILTER_INVOICE_REGISTER_DATE_TO"), QStringLiteral("2024-03-31"));
    MAppWnd::setOption(QStringLiteral("FILTER_INVOICE_REGISTER_ID_SELLER_BASE"), QStringLiteral("1"));
    MAppWnd::setOption(QStringLiteral("FILTER_INVOICE_REGISTER_ID_SELLER_BASE_DOC"), QStringLiteral("1"));
    m_view = new MInvoiceRegisterView(m_wnd.get(), nullptr);
    m_view->initWidget();
    m_jobView = m_view;
    m_pagesShown.clear();
    m_boxSeen = false;
    MFileDialog::setAutomatic(true);
}

void TestRegisterView::cleanup()
{
    delete m_view;
    m_view = nullptr;
    m_wnd.reset();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    m_home.reset();
}

bool TestRegisterView::timerHasConnections(QTimer* timer)
{
    // Disconnecting everything reports whether anything was connected.
    return QObject::disconnect(timer, &QTimer::timeout, nullptr, nullptr);
}

void TestRegisterView::watchBox(int stopAtPage)
{
    m_stopAtPage = stopAtPage;
    auto* watch = new QTimer(m_jobView);
    connect(watch, &QTimer::timeout, this, [this, watch]() {
        auto* box = m_jobView->findChild<MGenerateDlg*>();
        if (!box || !box->isVisible())
            return;
        m_boxSeen = true;
        const int page = shownPage(box->findChild<QLabel*>()->text());
        if (m_pagesShown.isEmpty() || m_pagesShown.last() != page)
            m_pagesShown << page;
        if (m_stopAtPage > 0 && page >= m_stopAtPage) {
            m_stopAtPage = 0;
            box->findChild<QPushButton*>()->click();
            watch->stop();
        }
    });
    watch->start(20);
}

bool TestRegisterView::waitForJob(int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < timeoutMs) {
        QTest::qWait(50);
        auto* box = m_jobView->findChild<MGenerateDlg*>();
        if (m_boxSeen && box && !box->isVisible())
            return true;
    }
    return false;
}

void TestRegisterView::pdfJobWritesTheRegister_data()
{
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("writtenName");

    QTest::newRow("without suffix") << "rejestr" << "rejestr.pdf";
    QTest::newRow("with a suffix") << "rejestr.marzec" << "rejestr.marzec";
}

void TestRegisterView::pdfJobWritesTheRegister()
{
    QFETCH(QString, typedName);
    QFETCH(QString, writtenName);
    MFileDialog::setNextFileName(m_home->path() + QLatin1Char('/') + typedName);
    watchBox(0);
    // Printing works without "Pokaż" first: the job computes its own run.
    m_view->startDocPrintPdf();
    QVERIFY(waitForJob(120000));

    const QString fileName = m_home->path() + QLatin1Char('/') + writtenName;
    const QStringList pages = MTestPdf::pageTexts(fileName);
    QVERIFY(pages.size() > 1);
    QVERIFY(pages.first().contains(QStringLiteral("REJESTR VAT")));
    QVERIFY(pages.last().contains(QStringLiteral("Strona %1").arg(pages.size())));
    QCOMPARE(MAppWnd::option(QStringLiteral("PRINT_PDF_PATH")), m_home->path());

    QVERIFY(!m_pagesShown.isEmpty());
    for (int i = 1; i < m_pagesShown.size(); ++i)
        QVERIFY2(m_pagesShown.at(i) > m_pagesShown.at(i - 1), qPrintable(QStringLiteral("page fell")));
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly)));
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestRegisterView::stopAfterTheFirstPageLeavesNoFile()
{
    const QString fileName = m_home->path() + QStringLiteral("/przerwany.pdf");
    MFileDialog::setNextFileName(fileName);
    watchBox(1);
    m_view->startDocPrintPdf();
    QVERIFY(waitForJob(120000));
    // The job ends at the next tick of its timer.
    QTest::qWait(1200);
    auto* preview = m_view->findChild<MInvoiceRegisterPrintPreview*>();
    QVERIFY(preview->docTemplatePrint()->isDocAborted());
    QVERIFY(preview->docTemplatePrint()->isDocGenerated());
    QVERIFY(!QFile::exists(fileName));
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly)));
}

void TestRegisterView::previewJobClosesAtTheFirstTick()
{
    MAppWnd::setOption(QStringLiteral("FILTER_INVOICE_REGISTER_ID_SELLER_BASE_DOC"), QString());
    delete m_view;
    m_view = new MInvoiceRegisterView(m_wnd.get(), nullptr);
    m_view->initWidget();
    m_jobView = m_view;
    watchBox(0);
    m_view->reloadView();
    QVERIFY(waitForJob(20000));
    // An empty register is laid out long before the first tick, which closes the box.
    QCOMPARE(m_pagesShown, QList<int>{1});
    auto* preview = m_view->findChild<MInvoiceRegisterPrintPreview*>();
    QVERIFY(preview->docTemplatePreview()->isDocGenerated());
    QVERIFY(preview->docTemplatePreview()->getTextEdit()->toPlainText().contains(QStringLiteral("Podsumowanie")));
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly)));
}

void TestRegisterView::previewShowsEveryPage()
{
    watchBox(0);
    m_view->reloadView();
    QVERIFY(waitForJob(120000));
    auto* preview = m_view->findChild<MInvoiceRegisterPrintPreview*>();
    MDocTemplate* shown = preview->docTemplatePreview();
    // The preview is drawn a page at a time from the pages the run handed over.
    QVERIFY(shown->outputInPages());
    QVERIFY(shown->getPageGenerated() > 1);
    QCOMPARE(shown->pageList()->count(), shown->getPageGenerated());
    QCOMPARE(preview->pageCount(), shown->getPageGenerated());
}

void TestRegisterView::unwritablePdfIsReported()
{
    const QString fileName = m_home->path() + QStringLiteral("/nie/ma/folderu.pdf");
    MFileDialog::setNextFileName(fileName);
    watchBox(0);
    m_view->startDocPrintPdf();
    QVERIFY(waitForJob(20000));
    const auto shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.contains(fileName));
    QVERIFY(!QFile::exists(fileName));
}

// "Drukuj do pliku (PDF)" in the printer dialog: the register goes to the chosen
// file, only the pages chosen, as many times as chosen.
void TestRegisterView::printToFileKeepsTheDialogsChoice()
{
    const QString fileName = m_home->path() + QStringLiteral("/wydruk.pdf");
    MPrintDialog::setAutomatic(true);
    MPrintDialog::setNextPrintToFile(fileName, 2, 2, 2);
    watchBox(0);
    m_view->startDocPrint();
    const bool ended = waitForJob(120000);
    MPrintDialog::setAutomatic(false);
    QVERIFY(ended);

    QVERIFY(MMessageBox::takeShown().isEmpty());
    const QStringList pages = MTestPdf::pageTexts(fileName);
    QCOMPARE(pages.size(), 2);
    for (const QString& page : pages)
        QVERIFY2(page.contains(QStringLiteral("Strona 2 z")), qPrintable(page));
}

void TestRegisterView::fullDiskIsReportedAndLeavesNoPart_data()
{
    QTest::addColumn<bool>("printToFile");
    QTest::newRow("PDF") << false;
    QTest::newRow("print to file") << true;
}

// The register's file runs out of space: told with its name and the reason,
// nothing cut short is left and an older file of its name is kept.
void TestRegisterView::fullDiskIsReportedAndLeavesNoPart()
{
    QFETCH(bool, printToFile);

    const QString folder = m_home->path() + QStringLiteral("/pelny");
    MTestFullDisk disk(folder, 8);
    if (!disk.isMounted())
        QSKIP("A small file system cannot be mounted here.");
    const QString fileName = folder + QStringLiteral("/rejestr.pdf");
    QVERIFY(disk.holdOlderFile(QStringLiteral("rejestr.pdf")));

    watchBox(0);
    if (printToFile) {
        MPrintDialog::setAutomatic(true);
        MPrintDialog::setNextPrintToFile(fileName, 1, 0, 0);
        m_view->startDocPrint();
    } else {
        MFileDialog::setNextFileName(fileName);
        m_view->startDocPrintPdf();
    }
    const bool ended = waitForJob(120000);
    MPrintDialog::setAutomatic(false);
    QVERIFY(ended);

    const auto shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QCOMPARE(shown.first().text, MTestFullDisk::message(fileName));
    QCOMPARE(disk.files(), disk.before());
}

// Every job computes a fresh run, which replaces the one before: however
// often the register is made, the scratch tables hold one run, the file
// stops growing, and closing the tab takes the last run away.
void TestRegisterView::repeatedJobsKeepOneRunTillTheTabCloses()
{
    qlonglong pagesAfterSecond = 0;
    for (int job = 1; job <= 4; ++job) {
        m_boxSeen = false;
        MFileDialog::setNextFileName(m_home->path() + QStringLiteral("/rejestr%1.pdf").arg(job));
        watchBox(0);
        m_view->startDocPrintPdf();
        QVERIFY(waitForJob(120000));
        QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id")), 1);
        QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT COUNT(DISTINCT id) FROM __invoice_vat_summary")).toInt(),
                 1);
        QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary")), 60);
        const qlonglong pages = MTestDatabase::value(QStringLiteral("PRAGMA page_count")).toLongLong();
        if (job == 2)
            pagesAfterSecond = pages;
        if (job > 2)
            QCOMPARE(pages, pagesAfterSecond);
    }

    delete m_view;
    m_view = nullptr;
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id")), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary")), 0);
}

void TestRegisterView::cancelledFileDialogComputesNothing()
{
    const QVariant before = MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM __invoice_vat_summary_id"));
    m_view->startDocPrintPdf();
    QTest::qWait(700);
    QVERIFY(!m_view->findChild<MGenerateDlg*>()->isVisible());
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM __invoice_vat_summary_id")), before);
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly)));
}

QAction* TestRegisterView::action(const QString& text) const
{
    const QList<QAction*> actions = m_wnd->findChildren<QAction*>();
    for (QAction* candidate : actions) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

void TestRegisterView::windowCommandsReachTheRegisterTab()
{
    MAppWnd::setOption(QStringLiteral("FILTER_SHOW_INVOICE_REGISTER_VIEW"), QStringLiteral("1"));
    m_wnd->loadTab(6);
    MTabWidget* tabs = m_wnd->tabMain();
    auto* registerTab = qobject_cast<MInvoiceRegisterView*>(tabs->currentWidget());
    QVERIFY(registerTab);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Rejestr VAT sprzedaży"));
    m_jobView = registerTab;

    m_wnd->setEnabledMenuActions();
    for (const char* enabled : {"Drukuj", "Generuj PDF", "Filtracja"})
        QVERIFY2(action(QString::fromUtf8(enabled))->isEnabled(), enabled);
    for (const char* disabled : {"Dodaj", "Edytuj", "Eksportuj do CSV", "Wyślij PDF e-mailem", "Zestawienie"})
        QVERIFY2(!action(QString::fromUtf8(disabled))->isEnabled(), disabled);

    // "Filtracja" hides and shows the panel and remembers it.
    auto* filter = registerTab->findChild<MFilterRegisterView*>();
    QVERIFY(!filter->isHidden());
    action(QStringLiteral("Filtracja"))->trigger();
    QVERIFY(filter->isHidden());
    QCOMPARE(MAppWnd::option(QStringLiteral("FILTER_SHOW_INVOICE_REGISTER_VIEW")), QStringLiteral("0"));
    action(QStringLiteral("Filtracja"))->trigger();
    QVERIFY(!filter->isHidden());
    QCOMPARE(MAppWnd::option(QStringLiteral("FILTER_SHOW_INVOICE_REGISTER_VIEW")), QStringLiteral("1"));

    // Coming back to the tab draws the last register again.
    auto* preview = registerTab->findChild<MInvoiceRegisterPrintPreview*>();
    m_wnd->loadTab(3);
    QVERIFY(tabs->currentWidget() != registerTab);
    int repaints = 0;
    const QMetaObject::Connection counting =
        connect(preview, &QPrintPreviewWidget::paintRequested, this, [&repaints]() { ++repaints; });
    m_wnd->loadTab(6);
    disconnect(counting);
    QCOMPARE(tabs->currentWidget(), registerTab);
    QCOMPARE(repaints, 1);

    // "Generuj PDF" runs the tab's own PDF job.
    const QString fileName = m_home->path() + QStringLiteral("/z_okna.pdf");
    MFileDialog::setNextFileName(fileName);
    watchBox(0);
    action(QStringLiteral("Generuj PDF"))->trigger();
    QVERIFY(waitForJob(120000));
    QVERIFY(MTestPdf::pageTexts(fileName).value(0).contains(QStringLiteral("REJESTR VAT")));
}

INVOICE_TEST_MAIN(TestRegisterView)
#include "tst_registerview.moc"
