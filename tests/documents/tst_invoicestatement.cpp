#include "MFreshHome.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestFullDisk.h"
#include "MTestPdf.h"
#include "core/MAppWnd.h"
#include "documents/MInvoiceDbView.h"
#include "printing/MDocTemplate.h"
#include "printing/MGenerateDlg.h"
#include "printing/MInvoiceSetSelectedPrintPreview.h"
#include "resources/MResources.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MPrintDialog.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <memory>

// The statement of the documents selected in a list, in the real event loop
// on the program's own database and template: the tab it opens, what the tab
// shows, stopping it, and printing it later.
class TestInvoiceStatement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void statementOpensItsTab_data();
    void statementOpensItsTab();
    void stopLeavesNoTab();
    void pdfLaterUsesTheStoredRun();
    void closedStatementDropsItsRun();
    void longStatementPages();
    void unwritablePdfIsReported();
    void printsOnTheChosenPrinter();
    void printToFileKeepsTheDialogsChoice();
    void fullDiskIsReportedAndLeavesNoPart_data();
    void fullDiskIsReportedAndLeavesNoPart();
    void stopDuringPdfWritesNothing();
    void nothingSelectedStartsNothing();

private:
    void openList(int viewKind);
    void select(const QList<int>& ids);
    bool waitForBox(QWidget* owner, int timeoutMs);
    MInvoiceSetSelectedPrintPreview* currentStatement() const;
    // Opens the statement of documents `ids` of list `viewKind` and waits for its tab.
    bool openStatement(int viewKind, const QList<int>& ids, MInvoiceSetSelectedPrintPreview** statement);

    std::unique_ptr<MFreshHome> m_home;
    std::unique_ptr<MAppWnd> m_wnd;
    MInvoiceDbView* m_view = nullptr;
};

namespace {

// The text with the spaces that must not wrap (drawn as transparent apostrophes) as plain spaces.
QString readable(QString text)
{
    return text.replace(QLatin1Char('\''), QLatin1Char(' ')).simplified();
}

} // namespace

void TestInvoiceStatement::initTestCase()
{
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

void TestInvoiceStatement::init()
{
    MMessageBox::takeShown();
    m_home = std::make_unique<MFreshHome>();
    QVERIFY(m_home->isValid());
    m_wnd = std::make_unique<MAppWnd>();
    QVERIFY(!m_wnd->hasEnded());
    MTestDatabase::insert(QStringLiteral("invoice_seller"),
                          {{"id", 1}, {"firm", QStringLiteral("Morva")}, {"nip", QStringLiteral("111-222-33-44")},
                           {"invoice_index_format_text", QStringLiteral("FV [nr]/[mm]/[rrrr]")}});
    MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                          {{"id", 1}, {"firm", QStringLiteral("Alfa")}, {"nip", QStringLiteral("555-666-77-88")}});
    // 1 sale, 2 its correction, 3 an RR purchase.
    const QList<QVariantList> documents = {{1, 0, 0, 1, 80.0}, {2, 2, 1, 2, 100.0}, {3, 11, 0, 3, 300.0}};
    for (const QVariantList& d : documents) {
        const int id = d.at(0).toInt();
        MTestDatabase::insert(QStringLiteral("invoice"),
                              {{"id", id}, {"invoice_kind", d.at(1)}, {"id_parent_invoice", d.at(2)},
                               {"invoice_index", d.at(3)}, {"id_seller", 1}, {"id_seller_base", 1}, {"id_buyer", 1},
                               {"date_put", QStringLiteral("2014-05-1%1 00:00:00").arg(id)},
                               {"date_sell", QStringLiteral("2014-05-1%1 00:00:00").arg(id)}});
        const double netto = d.at(4).toDouble();
        MTestDatabase::insert(QStringLiteral("invoice_summary_vat"),
                              {{"id_invoice", id}, {"id_vat", 24}, {"netto_price", netto},
                               {"vat_price", netto * 0.23}, {"brutto_price", netto * 1.23}});
    }
    MFileDialog::setAutomatic(true);
}

void TestInvoiceStatement::cleanup()
{
    delete m_view;
    m_view = nullptr;
    m_wnd.reset();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    m_home.reset();
}

void TestInvoiceStatement::openList(int viewKind)
{
    delete m_view;
    m_view = new MInvoiceDbView(m_wnd.get(), nullptr, viewKind);
    m_view->initWidget();
    m_view->show();
    m_view->afterInitWidget();
}

void TestInvoiceStatement::select(const QList<int>& ids)
{
    MTableView* table = m_view->tableView();
    table->selectionModel()->clearSelection();
    for (int id : ids) {
        const int row = m_view->loadedRowOfId(id);
        QVERIFY2(row >= 0, qPrintable(QStringLiteral("document %1 not listed").arg(id)));
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

bool TestInvoiceStatement::waitForBox(QWidget* owner, int timeoutMs)
{
    // The box runs its own event loop inside the wait, so a timer watches it.
    bool seen = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, owner, [owner, &seen]() {
        auto* box = owner->findChild<MGenerateDlg*>();
        if (box && box->isVisible())
            seen = true;
    });
    watch.start(5);
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < timeoutMs) {
        QTest::qWait(20);
        auto* box = owner->findChild<MGenerateDlg*>();
        if (seen && box && !box->isVisible())
            return true;
    }
    return false;
}

bool TestInvoiceStatement::openStatement(int viewKind, const QList<int>& ids,
                                         MInvoiceSetSelectedPrintPreview** statement)
{
    openList(viewKind);
    select(ids);
    m_view->startDocSetSelected();
    if (!waitForBox(m_view, 30000) || !QTest::qWaitFor([this]() { return currentStatement() != nullptr; }))
        return false;
    *statement = currentStatement();
    return true;
}

MInvoiceSetSelectedPrintPreview* TestInvoiceStatement::currentStatement() const
{
    return qobject_cast<MInvoiceSetSelectedPrintPreview*>(m_wnd->tabMain()->currentWidget());
}

void TestInvoiceStatement::statementOpensItsTab_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QString>("openName");
    QTest::addColumn<QStringList>("inOrder");
    QTest::addColumn<QStringList>("absent");

    // The correction counts as 100 - 80 = 20 net, 4,60 VAT.
    QTest::newRow("sales with a correction")
        << 7 << QList<int>{1, 2} << "INVOICE_SELL"
        << QStringList{"ZESTAWIENIE WYBRANYCH DOKUMENTÓW", "Sprzedawca", "Nabywca", "FV 1/05/2014", "Morva",
                       "NIP: 111-222-33-44", "Alfa", "NIP: 555-666-77-88", "80,00", "FV 2/05/2014", "20,00",
                       "4,60", "Podsumowanie"}
        << QStringList{"FV 3/05/2014"};
    QTest::newRow("purchases") << 8 << QList<int>{3} << "INVOICE_BUY"
                               << QStringList{"ZESTAWIENIE WYBRANYCH DOKUMENTÓW", "Nabywca", "Sprzedawca",
                                              "FV 3/05/2014", "Morva", "Alfa", "300,00", "69,00", "Podsumowanie"}
                               << QStringList{"FV 1/05/2014"};
}

void TestInvoiceStatement::statementOpensItsTab()
{
    QFETCH(int, viewKind);
    QFETCH(QList<int>, ids);
    QFETCH(QString, openName);
    QFETCH(QStringList, inOrder);
    QFETCH(QStringList, absent);

    openList(viewKind);
    select(ids);
    const int tabsBefore = m_wnd->tabMain()->count();
    m_view->startDocSetSelected();
    QVERIFY(waitForBox(m_view, 30000));
    QTRY_COMPARE(m_wnd->tabMain()->count(), tabsBefore + 1);

    MInvoiceSetSelectedPrintPreview* statement = currentStatement();
    QVERIFY(statement);
    QCOMPARE(m_wnd->tabMain()->tabText(m_wnd->tabMain()->currentIndex()),
             QStringLiteral("Zestawienie wybranych dokumentów"));
    QCOMPARE(statement->docTemplatePreview()->getDocOpenName(), openName);
    const QString text = readable(statement->docTemplatePreview()->getTextEdit()->toPlainText());
    int at = 0;
    for (const QString& piece : inOrder) {
        const int found = text.indexOf(piece, at);
        QVERIFY2(found >= 0, qPrintable(piece + QStringLiteral(" missing after ") + QString::number(at) + ": " + text));
        at = found + piece.size();
    }
    for (const QString& piece : absent)
        QVERIFY2(!text.contains(piece), qPrintable(piece));
    QVERIFY(MMessageBox::takeShown().isEmpty());
    // Disconnecting everything reports whether anything was still connected.
    QVERIFY(!QObject::disconnect(m_view->findChild<QTimer*>(QStringLiteral("jobTimer")), &QTimer::timeout, nullptr,
                                 nullptr));
}

void TestInvoiceStatement::stopLeavesNoTab()
{
    openList(7);
    select({1, 2});
    const int tabsBefore = m_wnd->tabMain()->count();
    auto* watch = new QTimer(m_view);
    connect(watch, &QTimer::timeout, this, [this, watch]() {
        auto* box = m_view->findChild<MGenerateDlg*>();
        if (box && box->isVisible()) {
            box->findChild<QPushButton*>()->click();
            watch->stop();
        }
    });
    watch->start(5);
    const int runsBefore = MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id"));
    m_view->startDocSetSelected();
    QTRY_VERIFY(!watch->isActive());
    // The run and the watch's next tick come after the box has closed.
    QTest::qWait(1500);
    QCOMPARE(m_wnd->tabMain()->count(), tabsBefore);
    // The stopped statement's figures go with it.
    QTRY_COMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id")), runsBefore);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary")), 0);
    QVERIFY(!m_view->findChild<MGenerateDlg*>()->isVisible());
    for (QWidget* widget : QApplication::allWidgets())
        QVERIFY(!qobject_cast<MInvoiceSetSelectedPrintPreview*>(widget));
}

void TestInvoiceStatement::pdfLaterUsesTheStoredRun()
{
    MInvoiceSetSelectedPrintPreview* statement = nullptr;
    QVERIFY(openStatement(7, {2}, &statement));

    // The documents change after the statement: its print keeps the figures of then.
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE invoice_summary_vat SET netto_price = 999 WHERE id_invoice = 2")));
    select({1});
    m_view->startDocSetSelected();
    QVERIFY(waitForBox(m_view, 30000));
    QTRY_VERIFY(currentStatement() && currentStatement() != statement);

    const QString fileName = m_home->path() + QStringLiteral("/zestawienie");
    MFileDialog::setNextFileName(fileName);
    statement->startDocPrintPdf();
    QVERIFY(waitForBox(statement, 30000));
    const QString text = readable(MTestPdf::pageTexts(fileName + QStringLiteral(".pdf")).join(QLatin1Char(' ')));
    QVERIFY2(text.contains(QStringLiteral("FV 2/05/2014")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("20,00")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("FV 1/05/2014")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("919,00")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Sprzedawca")), qPrintable(text));
}

// Each statement's figures stay while its tab is open, for a print or PDF
// later, and go with the tab.
void TestInvoiceStatement::closedStatementDropsItsRun()
{
    openList(7);
    const auto runOf = [](MInvoiceSetSelectedPrintPreview* statement) {
        return QString::number(statement->docTemplatePreview()->getIdRecord());
    };
    const auto rowsOf = [](const QString& run) {
        return MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM __invoice_vat_summary WHERE id = ") + run)
            .toInt();
    };
    select({1, 2});
    m_view->startDocSetSelected();
    QVERIFY(waitForBox(m_view, 30000));
    QTRY_VERIFY(currentStatement());
    MInvoiceSetSelectedPrintPreview* first = currentStatement();
    const QString firstRun = runOf(first);
    select({2});
    m_view->startDocSetSelected();
    QVERIFY(waitForBox(m_view, 30000));
    QTRY_VERIFY(currentStatement() && currentStatement() != first);
    const QString secondRun = runOf(currentStatement());
    QVERIFY(rowsOf(firstRun) > 0);
    QVERIFY(rowsOf(secondRun) > 0);

    m_wnd->tabMain()->setCurrentWidget(first);
    QPointer<MInvoiceSetSelectedPrintPreview> closing(first);
    first->doClose();
    QTRY_VERIFY(!closing);
    QCOMPARE(rowsOf(firstRun), 0);
    QVERIFY(rowsOf(secondRun) > 0);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id FROM __invoice_vat_summary_id")), QStringList{secondRun});
}

// A statement over several pages: each page ends in its number of all, starts its
// documents under the heading and is full when more documents follow.
void TestInvoiceStatement::longStatementPages()
{
    QList<int> ids;
    for (int id = 10; id < 60; ++id) {
        MTestDatabase::insert(QStringLiteral("invoice"),
                              {{"id", id}, {"invoice_kind", 0}, {"invoice_index", id}, {"id_seller", 1},
                               {"id_seller_base", 1}, {"id_buyer", 1},
                               {"date_put", QStringLiteral("2014-06-%1 00:00:00").arg(1 + (id - 10) / 2, 2, 10, QLatin1Char('0'))},
                               {"date_sell", QStringLiteral("2014-06-01 00:00:00")}});
        MTestDatabase::insert(QStringLiteral("invoice_summary_vat"),
                              {{"id_invoice", id}, {"id_vat", 24}, {"netto_price", 10.0 * id},
                               {"vat_price", 2.3 * id}, {"brutto_price", 12.3 * id}});
        ids.append(id);
    }
    openList(7);
    select(ids);
    m_view->startDocSetSelected();
    QVERIFY(waitForBox(m_view, 60000));
    QTRY_VERIFY(currentStatement());
    const QString fileName = m_home->path() + QStringLiteral("/dlugie");
    MFileDialog::setNextFileName(fileName);
    currentStatement()->startDocPrintPdf();
    QVERIFY(waitForBox(currentStatement(), 60000));

    const QStringList pages = MTestPdf::pageTexts(fileName + QStringLiteral(".pdf"));
    QVERIFY2(pages.size() >= 2, qPrintable(pages.join(QStringLiteral(" | "))));
    const QRegularExpression number(QStringLiteral("FV (\\d+)/06/2014"));
    QList<int> printed;
    QList<int> perPage;
    for (int page = 0; page < pages.size(); ++page) {
        const QString text = readable(pages.at(page));
        QVERIFY2(text.endsWith(QStringLiteral("Strona %1 z %2").arg(page + 1).arg(pages.size())), qPrintable(text));
        perPage.append(0);
        for (auto match = number.globalMatch(text); match.hasNext(); ++perPage.last())
            printed.append(match.next().captured(1).toInt());
        if (perPage.last() > 0)
            QVERIFY2(text.indexOf(QStringLiteral("Rodzaj")) < text.indexOf(number), qPrintable(text));
    }
    QCOMPARE(printed, ids);
    for (int page = 0; page + 1 < perPage.size() && perPage.at(page + 1) > 0; ++page)
        QVERIFY2(perPage.at(page) >= 2, qPrintable(QStringLiteral("page %1: %2 documents").arg(page + 1).arg(perPage.at(page))));
}

void TestInvoiceStatement::unwritablePdfIsReported()
{
    MInvoiceSetSelectedPrintPreview* statement = nullptr;
    QVERIFY(openStatement(7, {1}, &statement));
    MMessageBox::takeShown();

    const QString fileName = m_home->path() + QStringLiteral("/nie/ma/folderu.pdf");
    MFileDialog::setNextFileName(fileName);
    statement->startDocPrintPdf();
    QVERIFY(waitForBox(statement, 30000));
    const auto shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().text.contains(fileName), qPrintable(shown.first().text));
    QVERIFY(!QFile::exists(fileName));
}

void TestInvoiceStatement::printsOnTheChosenPrinter()
{
    MInvoiceSetSelectedPrintPreview* statement = nullptr;
    QVERIFY(openStatement(8, {3}, &statement));

    const QDir folder(m_home->path() + QStringLiteral("/printed"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    MPrintDialog::setAutomatic(true);
    MPrintDialog::takeShown();
    MPrintDialog::setPrintFolder(folder.path());
    MPrintDialog::setNextPrinterName(QStringLiteral("Biuro"));
    statement->startDocPrint();
    const bool ended = waitForBox(statement, 30000);
    MPrintDialog::setPrintFolder(QString());
    MPrintDialog::setAutomatic(false);
    QVERIFY(ended);
    QCOMPARE(MPrintDialog::takeShown(), QStringList{QStringLiteral("Ustawienia drukarki")});
    QCOMPARE(folder.entryList(QDir::Files), QStringList{QStringLiteral("print-1.pdf")});
    const QString text = readable(MTestPdf::pageTexts(folder.filePath(QStringLiteral("print-1.pdf"))).join(' '));
    QVERIFY2(text.contains(QStringLiteral("FV 3/05/2014")), qPrintable(text));
    QVERIFY2(text.indexOf(QStringLiteral("Nabywca")) < text.indexOf(QStringLiteral("Sprzedawca")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("369,00")), qPrintable(text));
}

// "Drukuj do pliku (PDF)" in the printer dialog: the statement goes to the chosen
// file as many times as chosen.
void TestInvoiceStatement::printToFileKeepsTheDialogsChoice()
{
    MInvoiceSetSelectedPrintPreview* statement = nullptr;
    QVERIFY(openStatement(8, {3}, &statement));
    MMessageBox::takeShown();

    const QString fileName = m_home->path() + QStringLiteral("/zestawienie.pdf");
    MPrintDialog::setAutomatic(true);
    MPrintDialog::setNextPrintToFile(fileName, 2, 0, 0);
    statement->startDocPrint();
    const bool ended = waitForBox(statement, 30000);
    MPrintDialog::setAutomatic(false);
    QVERIFY(ended);

    QVERIFY(MMessageBox::takeShown().isEmpty());
    const QStringList pages = MTestPdf::pageTexts(fileName);
    QCOMPARE(pages.size(), 2);
    for (const QString& page : pages)
        QVERIFY2(readable(page).contains(QStringLiteral("FV 3/05/2014")), qPrintable(page));
}

void TestInvoiceStatement::fullDiskIsReportedAndLeavesNoPart_data()
{
    QTest::addColumn<bool>("printToFile");
    QTest::newRow("PDF") << false;
    QTest::newRow("print to file") << true;
}

// The statement's file runs out of space: told with its name and the reason,
// nothing cut short is left and an older file of its name is kept.
void TestInvoiceStatement::fullDiskIsReportedAndLeavesNoPart()
{
    QFETCH(bool, printToFile);

    const QString folder = m_home->path() + QStringLiteral("/pelny");
    MTestFullDisk disk(folder, 8);
    if (!disk.isMounted())
        QSKIP("A small file system cannot be mounted here.");
    const QString fileName = folder + QStringLiteral("/zestawienie.pdf");
    QVERIFY(disk.holdOlderFile(QStringLiteral("zestawienie.pdf")));

    MInvoiceSetSelectedPrintPreview* statement = nullptr;
    QVERIFY(openStatement(7, {1}, &statement));
    MMessageBox::takeShown();

    if (printToFile) {
        MPrintDialog::setAutomatic(true);
        MPrintDialog::setNextPrintToFile(fileName, 1, 0, 0);
        statement->startDocPrint();
    } else {
        MFileDialog::setNextFileName(fileName);
        statement->startDocPrintPdf();
    }
    const bool ended = waitForBox(statement, 30000);
    MPrintDialog::setAutomatic(false);
    QVERIFY(ended);

    const auto shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QCOMPARE(shown.first().text, MTestFullDisk::message(fileName));
    QCOMPARE(disk.files(), disk.before());
}

void TestInvoiceStatement::stopDuringPdfWritesNothing()
{
    MInvoiceSetSelectedPrintPreview* statement = nullptr;
    QVERIFY(openStatement(7, {1, 2}, &statement));

    auto* watch = new QTimer(statement);
    connect(watch, &QTimer::timeout, this, [statement, watch]() {
        auto* box = statement->findChild<MGenerateDlg*>();
        if (box && box->isVisible()) {
            box->findChild<QPushButton*>()->click();
            watch->stop();
        }
    });
    watch->start(5);
    const QString fileName = m_home->path() + QStringLiteral("/przerwane.pdf");
    MFileDialog::setNextFileName(fileName);
    statement->startDocPrintPdf();
    QTRY_VERIFY(!watch->isActive());
    // The run comes after the box has closed and lays out nothing.
    QTest::qWait(1500);
    QVERIFY(statement->docTemplatePrint()->isDocAborted());
    QVERIFY(statement->docTemplatePrint()->isDocGenerated());
    QVERIFY(!QFile::exists(fileName));
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestInvoiceStatement::nothingSelectedStartsNothing()
{
    openList(7);
    m_view->tableView()->selectionModel()->clearSelection();
    const int runs = MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id"));
    m_view->startDocSetSelected();
    QTest::qWait(400);
    QVERIFY(!m_view->findChild<MGenerateDlg*>()->isVisible());
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id")), runs);
}

INVOICE_TEST_MAIN(TestInvoiceStatement)
#include "tst_invoicestatement.moc"
