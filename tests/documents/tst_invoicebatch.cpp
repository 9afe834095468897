#include "MFreshHome.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestFullDisk.h"
#include "MTestPdf.h"
#include "core/MAppWnd.h"
#include "data/MBatchPdfNames.h"
#include "documents/MInvoiceDbView.h"
#include "export/MMailSendDlg.h"
#include "printing/MDocPrintDlg.h"
#include "printing/MDocTemplate.h"
#include "printing/MGenerateDlg.h"
#include "printing/MInvoicePrintPreview.h"
#include "resources/MResources.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MPrintDialog.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTimer>
#include <QtTest>

#include <memory>

// The sales list's batch jobs in the real event loop, on the program's own
// database in a fresh home, with the program's document template: the files
// each job writes, read back, the order of the documents, stopping, and the
// e-mail road.
class TestInvoiceBatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pdfJobWritesNamedFiles_data();
    void pdfJobWritesNamedFiles();
    void previewTabsFollowTheRows();
    void closingTheBoxStopsTheJob();
    void mailModeWritesTempFilesAndOpensOneDialog();
    void pdfRequestForgetsAnEarlierMailRequest();
    void printJobMakesThePassesOfTheMarking_data();
    void printJobMakesThePassesOfTheMarking();
    void cancelledPrinterDialogStartsNothing();
    void nothingSelectedStartsNothing();
    void printToFileNamesAFileADocument();
    void failedDocumentEndsTheJob_data();
    void failedDocumentEndsTheJob();
    void fullDiskIsReportedAndLeavesNoPart_data();
    void fullDiskIsReportedAndLeavesNoPart();

private:
    // Selects the rows of documents `ids`, in the order given.
    void select(const QList<int>& ids);
    // Waits until the job's box has been shown and closed again.
    bool waitForJob(int timeoutMs);
    // Presses "Zatrzymaj" once the box says `remaining` documents are left.
    void stopWhenRemaining(int remaining);
    static bool timerHasConnections(QTimer* timer);
    // The ids of documents `ids` in the order of their rows.
    QList<int> inRowOrder(const QList<int>& ids) const;
    // Closes every e-mail dialog that opens and notes its recipient.
    QTimer* watchMailDialogs(QStringList* recipients);

    std::unique_ptr<MFreshHome> m_home;
    std::unique_ptr<MAppWnd> m_wnd;
    MInvoiceDbView* m_view = nullptr;
    bool m_boxSeen = false;
};

namespace {

// Documents of the fixture: id and number; 5 is a duplicate of 1.
const QMap<int, QString> numbers = {{1, QStringLiteral("FV 1/05/2014")}, {2, QStringLiteral("FV 2/05/2014")},
                                    {3, QStringLiteral("FV 3/05/2014")}, {4, QStringLiteral("FV 4/05/2014")},
                                    {5, QStringLiteral("FV 1/05/2014")}, {6, QStringLiteral("FV 6/05/2014")}};

QString md5Of(const QString& number)
{
    return QString::fromLatin1(QCryptographicHash::hash(number.toLatin1(), QCryptographicHash::Md5).toHex());
}

} // namespace

void TestInvoiceBatch::initTestCase()
{
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

void TestInvoiceBatch::init()
{
    MMessageBox::takeShown();
    m_home = std::make_unique<MFreshHome>();
    QVERIFY(m_home->isValid());
    m_wnd = std::make_unique<MAppWnd>();
    QVERIFY(!m_wnd->hasEnded());
    MTestDatabase::insert(QStringLiteral("invoice_seller"),
                          {{"id", 1}, {"firm", QStringLiteral("Morva")},
                           {"invoice_index_format_text", QStringLiteral("FV [nr]/[mm]/[rrrr]")}});
    for (int id = 1; id <= 6; ++id) {
        MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                              {{"id", id}, {"firm", QStringLiteral("Nabywca %1").arg(id)},
                               {"email", QStringLiteral("biuro%1@nabywca.pl").arg(id)}});
        const bool duplicate = id == 5;
        MTestDatabase::insert(QStringLiteral("invoice"),
                              {{"id", id}, {"invoice_kind", duplicate ? 5 : 0}, {"id_parent_invoice", duplicate ? 1 : 0},
                               {"invoice_index", duplicate ? 0 : id}, {"id_seller", 1}, {"id_seller_base", 1},
                               {"id_buyer", id}, {"global_brutto", 123 * id},
                               {"date_put", QStringLiteral("2014-05-%1 00:00:00").arg(10 + id)},
                               {"date_sell", QStringLiteral("2014-05-%1 00:00:00").arg(10 + id)}});
    }
    m_view = new MInvoiceDbView(m_wnd.get(), nullptr, 7);
    m_view->initWidget();
    m_view->show();
    m_view->afterInitWidget();
    m_boxSeen = false;
    MFileDialog::setAutomatic(true);
}

void TestInvoiceBatch::cleanup()
{
    delete m_view;
    m_view = nullptr;
    m_wnd.reset();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    m_home.reset();
}

void TestInvoiceBatch::select(const QList<int>& ids)
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

bool TestInvoiceBatch::waitForJob(int timeoutMs)
{
    // The box runs its own event loop inside the wait, so a timer watches it.
    QTimer watch;
    connect(&watch, &QTimer::timeout, m_view, [this]() {
        auto* box = m_view->findChild<MGenerateDlg*>();
        if (box && box->isVisible())
            m_boxSeen = true;
    });
    watch.start(5);
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < timeoutMs) {
        QTest::qWait(20);
        auto* box = m_view->findChild<MGenerateDlg*>();
        if (m_boxSeen && box && !box->isVisible())
            return true;
    }
    return false;
}

void TestInvoiceBatch::stopWhenRemaining(int remaining)
{
    auto* watch = new QTimer(m_view);
    const QString text = QStringLiteral("wygenerowania: %1.").arg(remaining);
    connect(watch, &QTimer::timeout, this, [this, watch, text]() {
        auto* box = m_view->findChild<MGenerateDlg*>();
        if (!box || !box->isVisible() || !box->findChild<QLabel*>()->text().endsWith(text))
            return;
        box->findChild<QPushButton*>()->click();
        watch->stop();
    });
    watch->start(10);
}

bool TestInvoiceBatch::timerHasConnections(QTimer* timer)
{
    return QObject::disconnect(timer, &QTimer::timeout, nullptr, nullptr);
}

QList<int> TestInvoiceBatch::inRowOrder(const QList<int>& ids) const
{
    QList<int> inRows;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const int id = model->index(row, 0).data().toInt();
        if (ids.contains(id))
            inRows << id;
    }
    return inRows;
}

QTimer* TestInvoiceBatch::watchMailDialogs(QStringList* recipients)
{
    auto* watch = new QTimer(m_view);
    connect(watch, &QTimer::timeout, this, [recipients]() {
        auto* dlg = qobject_cast<MMailSendDlg*>(QApplication::activeModalWidget());
        if (dlg && dlg->isVisible()) {
            *recipients << dlg->findChild<QLineEdit*>(QStringLiteral("recipient"))->text();
            dlg->close();
        }
    });
    watch->start(10);
    return watch;
}

void TestInvoiceBatch::pdfJobWritesNamedFiles_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<int>("docView");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<int>>("fileIds");
    QTest::addColumn<QStringList>("markings");

    QTest::newRow("one document keeps the name") << QList<int>{2} << 1 << "a.pdf" << QStringList{"a.pdf"}
                                                 << QList<int>{2} << QStringList{"ORYGINAŁ"};
    QTest::newRow("two documents") << QList<int>{3, 2} << 1 << "faktury.pdf"
                                   << QStringList{"faktury-2-FV_2_05_2014-oryginal.pdf",
                                                  "faktury-3-FV_3_05_2014-oryginal.pdf"}
                                   << QList<int>{2, 3} << QStringList{"ORYGINAŁ", "ORYGINAŁ"};
    QTest::newRow("original and copy of one document")
        << QList<int>{4} << 3 << "a.pdf"
        << QStringList{"a-4-FV_4_05_2014-oryginal.pdf", "a-4-FV_4_05_2014-kopia.pdf"} << QList<int>{4, 4}
        << QStringList{"ORYGINAŁ", "KOPIA"};
    QTest::newRow("no suffix") << QList<int>{6, 2} << 2 << "raport"
                               << QStringList{"raport-2-FV_2_05_2014-kopia.pdf", "raport-6-FV_6_05_2014-kopia.pdf"}
                               << QList<int>{2, 6} << QStringList{"KOPIA", "KOPIA"};
    QTest::newRow("upper-case suffix") << QList<int>{1, 2} << 1 << "raport.PDF"
                                       << QStringList{"raport-1-FV_1_05_2014-oryginal.PDF",
                                                      "raport-2-FV_2_05_2014-oryginal.PDF"}
                                       << QList<int>{1, 2} << QStringList{"ORYGINAŁ", "ORYGINAŁ"};
    QTest::newRow("duplicate by its parent's number") << QList<int>{5, 2} << 1 << "d.pdf"
                                                      << QStringList{"d-2-FV_2_05_2014-oryginal.pdf",
                                                                     "d-5-FV_1_05_2014-oryginal.pdf"}
                                                      << QList<int>{2, 5} << QStringList{"ORYGINAŁ", "ORYGINAŁ"};
}

void TestInvoiceBatch::pdfJobWritesNamedFiles()
{
    QFETCH(QList<int>, ids);
    QFETCH(int, docView);
    QFETCH(QString, chosen);
    QFETCH(QStringList, files);
    QFETCH(QList<int>, fileIds);
    QFETCH(QStringList, markings);

    const QDir folder(m_home->path() + QStringLiteral("/pdf-out"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    select(ids);
    MFileDialog::setNextFileName(folder.filePath(chosen));
    m_view->startDocPrintPdf(docView);
    QVERIFY(waitForJob(60000));

    QStringList written = folder.entryList(QDir::Files);
    written.sort();
    QStringList expected = files;
    expected.sort();
    QCOMPARE(written, expected);
    for (int i = 0; i < files.size(); ++i) {
        QFile file(folder.filePath(files.at(i)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(4), QByteArray("%PDF"));
        const QString text = MTestPdf::pageTexts(file.fileName()).join(QLatin1Char(' '));
        QVERIFY2(text.contains(numbers.value(fileIds.at(i))), qPrintable(text));
        QVERIFY2(text.contains(markings.at(i), Qt::CaseInsensitive), qPrintable(text));
    }
    QCOMPARE(MAppWnd::option(QStringLiteral("PRINT_PDF_PATH")), folder.path());
    QVERIFY(MMessageBox::takeShown().isEmpty());
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QStringLiteral("jobTimer"))));
}

void TestInvoiceBatch::previewTabsFollowTheRows()
{
    const int tabsBefore = m_wnd->tabMain()->count();
    // 5 is a duplicate: titled by the number of the document it duplicates.
    select({6, 2, 5});
    QList<int> inRows;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const int id = model->index(row, 0).data().toInt();
        if (id == 6 || id == 2 || id == 5)
            inRows << id;
    }
    m_view->startDocPreview(1);
    QVERIFY(waitForJob(30000));

    MTabWidget* tabs = m_wnd->tabMain();
    QCOMPARE(tabs->count(), tabsBefore + 3);
    for (int i = 0; i < 3; ++i) {
        const int index = tabsBefore + i;
        QCOMPARE(tabs->tabText(index), QStringLiteral("Podgląd dokumentu ") + numbers.value(inRows.at(i)));
        QVERIFY(qobject_cast<MInvoicePrintPreview*>(tabs->widget(index)));
    }
    QCOMPARE(tabs->currentIndex(), tabsBefore + 2);
}

void TestInvoiceBatch::closingTheBoxStopsTheJob()
{
    const QDir folder(m_home->path() + QStringLiteral("/stop"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    select({1, 2, 3, 4, 6});
    QList<int> inRows;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const int id = model->index(row, 0).data().toInt();
        if (id != 5)
            inRows << id;
    }
    MFileDialog::setNextFileName(folder.filePath(QStringLiteral("f.pdf")));
    stopWhenRemaining(4);
    m_view->startDocPrintPdf(1);
    QVERIFY(waitForJob(60000));
    QTest::qWait(1500);

    const auto made = [&folder](int id) {
        return QFile::exists(folder.filePath(QStringLiteral("f-%1-%2-oryginal.pdf")
                                                 .arg(id)
                                                 .arg(QString(numbers.value(id)).replace(QRegularExpression("[^a-zA-Z0-9]"), "_"))));
    };
    QVERIFY(made(inRows.at(0)));
    for (int i = 2; i < 5; ++i)
        QVERIFY2(!made(inRows.at(i)), qPrintable(QStringLiteral("document %1 was made").arg(inRows.at(i))));
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QStringLiteral("jobTimer"))));
}

void TestInvoiceBatch::mailModeWritesTempFilesAndOpensOneDialog()
{
    select({2, 3});
    int lastRowId = 0;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const int id = model->index(row, 0).data().toInt();
        if (id == 2 || id == 3)
            lastRowId = id;
    }
    QStringList recipients;
    auto* watch = new QTimer(m_view);
    connect(watch, &QTimer::timeout, this, [&recipients]() {
        auto* dlg = qobject_cast<MMailSendDlg*>(QApplication::activeModalWidget());
        if (dlg && dlg->isVisible()) {
            recipients << dlg->findChild<QLineEdit*>(QStringLiteral("recipient"))->text();
            dlg->close();
        }
    });
    watch->start(10);

    m_view->setSendMailMode(true);
    m_view->startDocPrintPdf(1);
    QVERIFY(waitForJob(60000));
    QTest::qWait(300);
    watch->stop();

    QCOMPARE(recipients, QStringList{QStringLiteral("biuro%1@nabywca.pl").arg(lastRowId)});
    for (int id : {2, 3}) {
        const QString path = MAppWnd::pathTemp + QStringLiteral("temp/email_") + md5Of(numbers.value(id))
                             + QStringLiteral(".pdf");
        const QString text = MTestPdf::pageTexts(path).join(QLatin1Char(' '));
        QVERIFY2(text.contains(numbers.value(id)), qPrintable(path));
    }

    // E-mail mode belonged to that request: the next PDF job asks for a file.
    MFileDialog::setNextFileName(QString());
    MAppWnd::setOption(QStringLiteral("PRINT_PDF_PATH"), m_home->path());
    m_view->startDocPrintPdf(1);
    QCOMPARE(MFileDialog::lastFolder(), m_home->path());
}

void TestInvoiceBatch::pdfRequestForgetsAnEarlierMailRequest()
{
    select({2});
    MTableView* table = m_view->tableView();
    table->selectionModel()->setCurrentIndex(table->model()->index(m_view->loadedRowOfId(2), 0),
                                             QItemSelectionModel::NoUpdate);
    const auto chooserMarkings = [this]() {
        auto* chooser = m_view->findChild<MDocPrintDlg*>();
        if (!chooser || !chooser->isVisible())
            return -1;
        const int markings = chooser->findChild<QListView*>()->model()->rowCount();
        chooser->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return markings;
    };

    // The e-mail request offers fewer markings than the PDF request; its chooser is cancelled.
    m_view->doDocSendMailPdf();
    const int mailMarkings = chooserMarkings();
    m_view->doDocPrintPdf();
    const int pdfMarkings = chooserMarkings();
    QVERIFY(mailMarkings > 0);
    QVERIFY(mailMarkings < pdfMarkings);

    // The PDF request turned e-mail mode off: its job asks for a file.
    MFileDialog::setNextFileName(QString());
    MAppWnd::setOption(QStringLiteral("PRINT_PDF_PATH"), m_home->path());
    m_view->startDocPrintPdf(1);
    QCOMPARE(MFileDialog::lastFolder(), m_home->path());
}

void TestInvoiceBatch::printJobMakesThePassesOfTheMarking_data()
{
    QTest::addColumn<int>("docView");
    QTest::addColumn<QStringList>("markings");

    // Per document of the two, in row order: the marking of each printed pass ("" for none).
    QTest::newRow("original and copy") << 3 << QStringList{"ORYGINAŁ", "KOPIA"};
    QTest::newRow("unmarked twice") << 5 << QStringList{"", ""};
    QTest::newRow("copy") << 2 << QStringList{"KOPIA"};
}

void TestInvoiceBatch::printJobMakesThePassesOfTheMarking()
{
    QFETCH(int, docView);
    QFETCH(QStringList, markings);

    const QDir folder(m_home->path() + QStringLiteral("/printed"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    select({6, 2});
    QList<int> inRows;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const int id = model->index(row, 0).data().toInt();
        if (id == 6 || id == 2)
            inRows << id;
    }
    MPrintDialog::setAutomatic(true);
    MPrintDialog::takeShown();
    MPrintDialog::setPrintFolder(folder.path());
    MPrintDialog::setNextPrinterName(QStringLiteral("Biuro"));
    m_view->startDocPrint(docView);
    const bool ended = waitForJob(60000);
    MPrintDialog::setPrintFolder(QString());
    MPrintDialog::setAutomatic(false);
    QVERIFY(ended);
    QCOMPARE(MPrintDialog::takeShown(), QStringList{QStringLiteral("Ustawienia drukarki")});

    QCOMPARE(folder.entryList(QDir::Files).size(), inRows.size() * markings.size());
    int printed = 0;
    for (int id : inRows) {
        for (const QString& marking : markings) {
            const QString text =
                MTestPdf::pageTexts(folder.filePath(QStringLiteral("print-%1.pdf").arg(++printed))).join(' ');
            QVERIFY2(text.contains(numbers.value(id)), qPrintable(text));
            for (const QString& label : {QStringLiteral("ORYGINAŁ"), QStringLiteral("KOPIA")})
                QCOMPARE(text.contains(label), label == marking);
        }
    }
}

void TestInvoiceBatch::cancelledPrinterDialogStartsNothing()
{
    select({2});
    MPrintDialog::setAutomatic(true);
    MPrintDialog::takeShown();
    m_view->startDocPrint(1);
    MPrintDialog::setAutomatic(false);
    QCOMPARE(MPrintDialog::takeShown(), QStringList{QStringLiteral("Ustawienia drukarki")});
    QTest::qWait(500);
    QVERIFY(!m_view->findChild<MGenerateDlg*>()->isVisible());
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QStringLiteral("jobTimer"))));
}

void TestInvoiceBatch::nothingSelectedStartsNothing()
{
    m_view->tableView()->selectionModel()->clearSelection();
    const int tabsBefore = m_wnd->tabMain()->count();
    m_view->startDocPreview(1);
    QTest::qWait(500);
    QVERIFY(!m_view->findChild<MGenerateDlg*>()->isVisible());
    QCOMPARE(m_wnd->tabMain()->count(), tabsBefore);
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QStringLiteral("jobTimer"))));
}

// "Drukuj do pliku (PDF)" in the printer dialog: every document goes to a file of
// its own, named as the PDF job names them, with the copies chosen.
void TestInvoiceBatch::printToFileNamesAFileADocument()
{
    const QDir folder(m_home->path() + QStringLiteral("/wydruki"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    select({6, 2});
    MPrintDialog::setAutomatic(true);
    MPrintDialog::setNextPrintToFile(folder.filePath(QStringLiteral("wydruk.pdf")), 2, 0, 0);
    m_view->startDocPrint(1);
    const bool ended = waitForJob(60000);
    MPrintDialog::setAutomatic(false);
    QVERIFY(ended);

    QVERIFY(MMessageBox::takeShown().isEmpty());
    QStringList written = folder.entryList(QDir::Files);
    written.sort();
    QCOMPARE(written, (QStringList{QStringLiteral("wydruk-2-FV_2_05_2014-oryginal.pdf"),
                                   QStringLiteral("wydruk-6-FV_6_05_2014-oryginal.pdf")}));
    for (int id : {2, 6}) {
        const QStringList pages = MTestPdf::pageTexts(
            folder.filePath(QStringLiteral("wydruk-%1-FV_%1_05_2014-oryginal.pdf").arg(id)));
        QCOMPARE(pages.size(), 2);
        for (const QString& page : pages)
            QVERIFY2(page.contains(numbers.value(id)), qPrintable(page));
    }
}

void TestInvoiceBatch::failedDocumentEndsTheJob_data()
{
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("PDF, the second of three") << false << QList<int>{2, 3, 4};
    QTest::newRow("e-mail, the last of two") << true << QList<int>{2, 3};
}

// The second document's file cannot be written (a folder has its name): that is
// told once, the documents after it are not made, and no e-mail goes out with
// another document's file.
void TestInvoiceBatch::failedDocumentEndsTheJob()
{
    QFETCH(bool, mail);
    QFETCH(QList<int>, ids);

    const QList<int> inRows = inRowOrder(ids);
    const QDir folder(m_home->path() + QStringLiteral("/pdf-out"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    const auto fileOf = [&](int id) {
        return mail ? MBatchPdfNames::emailPath(MAppWnd::pathTemp, numbers.value(id))
                    : MBatchPdfNames::fileName(folder.filePath(QStringLiteral("f.pdf")), ids.size(), 1, id,
                                               numbers.value(id), 1);
    };
    const QString blocked = fileOf(inRows.at(1));
    QVERIFY(QDir().mkpath(blocked));

    select(ids);
    QStringList recipients;
    QTimer* watch = watchMailDialogs(&recipients);
    m_view->setSendMailMode(mail);
    if (!mail)
        MFileDialog::setNextFileName(folder.filePath(QStringLiteral("f.pdf")));
    m_view->startDocPrintPdf(1);
    QVERIFY(waitForJob(60000));
    QTest::qWait(1500);
    watch->stop();

    QVERIFY2(recipients.isEmpty(), qPrintable(recipients.join(QLatin1Char(' '))));
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QCOMPARE(shown.at(0).text, QStringLiteral("Nie można zapisać pliku %1: pod tą nazwą istnieje katalog.").arg(blocked));
    QVERIFY(QFileInfo(fileOf(inRows.at(0))).isFile());
    for (int i = 2; i < inRows.size(); ++i)
        QVERIFY2(!QFile::exists(fileOf(inRows.at(i))), qPrintable(fileOf(inRows.at(i))));
    QVERIFY(!timerHasConnections(m_view->findChild<QTimer*>(QStringLiteral("jobTimer"))));
}

void TestInvoiceBatch::fullDiskIsReportedAndLeavesNoPart_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("PDF") << QStringLiteral("pdf");
    QTest::newRow("e-mail") << QStringLiteral("mail");
    QTest::newRow("print to file") << QStringLiteral("file");
}

// The first document's file runs out of space: told once with its name and the
// reason, the job ends, nothing cut short is left and an older file is kept.
void TestInvoiceBatch::fullDiskIsReportedAndLeavesNoPart()
{
    QFETCH(QString, way);

    const bool mail = way == QLatin1String("mail");
    const QString folder = mail ? MAppWnd::pathTemp + QStringLiteral("temp") : m_home->path() + QStringLiteral("/pelny");
    MTestFullDisk disk(folder, 8);
    if (!disk.isMounted())
        QSKIP("A small file system cannot be mounted here.");
    const QList<int> inRows = inRowOrder({2, 3});
    const QString chosen = folder + QStringLiteral("/f.pdf");
    const QString target = mail ? MBatchPdfNames::emailPath(MAppWnd::pathTemp, numbers.value(inRows.at(0)))
                                : MBatchPdfNames::fileName(chosen, 2, 1, inRows.at(0), numbers.value(inRows.at(0)), 1);
    QVERIFY(disk.holdOlderFile(QFileInfo(target).fileName()));

    select({2, 3});
    QStringList recipients;
    QTimer* watch = watchMailDialogs(&recipients);
    if (way == QLatin1String("file")) {
        MPrintDialog::setAutomatic(true);
        MPrintDialog::setNextPrintToFile(chosen, 1, 0, 0);
        m_view->startDocPrint(1);
    } else {
        m_view->setSendMailMode(mail);
        if (!mail)
            MFileDialog::setNextFileName(chosen);
        m_view->startDocPrintPdf(1);
    }
    const bool ended = waitForJob(60000);
    MPrintDialog::setAutomatic(false);
    QVERIFY(ended);
    QTest::qWait(1500);
    watch->stop();

    QVERIFY(recipients.isEmpty());
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QCOMPARE(shown.at(0).text, MTestFullDisk::message(target));
    QCOMPARE(disk.files(), disk.before());
}

INVOICE_TEST_MAIN(TestInvoiceBatch)
#include "tst_invoicebatch.moc"
