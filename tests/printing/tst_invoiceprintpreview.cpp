#include "MFreshHome.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestFullDisk.h"
#include "MTestPdf.h"
#include "core/MAppWnd.h"
#include "data/MBatchPdfNames.h"
#include "export/MMailSendDlg.h"
#include "printing/MInvoicePrintPreview.h"
#include "resources/MResources.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MPrintDialog.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QSqlDatabase>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

// The preview tab of one document: PDF files per marking, the e-mail road and
// what it does when a file or a run fails.
class TestInvoicePrintPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writesPdfFiles_data();
    void writesPdfFiles();
    void duplicateIsNamedByItsParent();
    void cancelledDialogsWriteNothing();
    void unwritableFileIsReported();
    void failedRunLeavesNoDocument_data();
    void failedRunLeavesNoDocument();
    void mailsDocumentAsPdf();
    void ownsItsPrinterAndTextEdit();
    void printToFileKeepsTheDialogsChoice_data();
    void printToFileKeepsTheDialogsChoice();
    void printerThatCannotStartIsReported();
    void fullDiskIsReportedAndLeavesNoPart_data();
    void fullDiskIsReportedAndLeavesNoPart();

private:
    MInvoicePrintPreview* createPreview(int docView, const QString& resource = QStringLiteral(":/test_template/document.js"));
    // Closes the e-mail dialog should one open on the next turn of the event loop, and notes it.
    static void closeMailDialogWhenOpened(bool* opened);

    QScopedPointer<MFreshHome> m_home;
    QScopedPointer<MAppWnd> m_wnd;
    int m_idInvoice = 0;
};

void TestInvoicePrintPreview::initTestCase()
{
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

void TestInvoicePrintPreview::init()
{
    m_home.reset(new MFreshHome);
    QVERIFY(m_home->isValid());
    m_wnd.reset(new MAppWnd);
    QVERIFY(!m_wnd->hasEnded());
    const qint64 idSeller =
        MTestDatabase::insert(QStringLiteral("invoice_seller"), {{"invoice_index_format_text", "FV [nr]/[rrrr]"}});
    const qint64 idBuyer =
        MTestDatabase::insert(QStringLiteral("invoice_buyer"), {{"firm", "Beta"}, {"email", "biuro@beta.pl"}});
    m_idInvoice = int(MTestDatabase::insert(
        QStringLiteral("invoice"), {{"id", 12}, {"invoice_kind", 0}, {"invoice_index", 3}, {"id_seller", idSeller},
                                    {"id_buyer", idBuyer}, {"global_brutto", 1234.5}, {"date_put", "2014-03-01"}}));
    QCOMPARE(m_idInvoice, 12);
    MMessageBox::takeShown();
    MPrintDialog::takeShown();
}

void TestInvoicePrintPreview::cleanup()
{
    m_wnd.reset();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    m_home.reset();
}

MInvoicePrintPreview* TestInvoicePrintPreview::createPreview(int docView, const QString& resource)
{
    auto* preview = new MInvoicePrintPreview(m_wnd.data(), new QPrinter, new QTextEdit, nullptr);
    preview->setIdRecord(m_idInvoice);
    preview->setDocView(docView);
    preview->setTemplate(resource);
    return preview;
}

void TestInvoicePrintPreview::closeMailDialogWhenOpened(bool* opened)
{
    QTimer::singleShot(0, [opened] {
        if (auto* dlg = qobject_cast<MMailSendDlg*>(QApplication::activeModalWidget())) {
            *opened = true;
            dlg->close();
        }
    });
}

void TestInvoicePrintPreview::writesPdfFiles_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("docView");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("markings");

    QTest::newRow("original and copy as two files")
        << QStringLiteral("faktury/FV.pdf") << 3
        << QStringList{QStringLiteral("faktury/FV-12-FV_3_2014-oryginal.pdf"),
                       QStringLiteral("faktury/FV-12-FV_3_2014-kopia.pdf")}
        << QStringList{QStringLiteral("ORYGINAŁ"), QStringLiteral("KOPIA")};
    QTest::newRow("no suffix gets .pdf") << QStringLiteral("faktura") << 1 << QStringList{QStringLiteral("faktura.pdf")}
                                         << QStringList{QStringLiteral("ORYGINAŁ")};
    QTest::newRow("other suffix kept") << QStringLiteral("faktura.2014") << 2
                                       << QStringList{QStringLiteral("faktura.2014")}
                                       << QStringList{QStringLiteral("KOPIA")};
    QTest::newRow("the stored marking") << QStringLiteral("faktura.pdf") << -1
                                        << QStringList{QStringLiteral("faktura.pdf")}
                                        << QStringList{QStringLiteral("ORYGINAŁ | KOPIA")};
}

void TestInvoicePrintPreview::writesPdfFiles()
{
    QFETCH(QString, chosen);
    QFETCH(int, docView);
    QFETCH(QStringList, files);
    QFETCH(QStringList, markings);

    const QDir folder(m_home->path());
    QVERIFY(folder.mkpath(QStringLiteral("faktury")));
    QScopedPointer<MInvoicePrintPreview> preview(createPreview(4));
    MFileDialog::setNextFileName(folder.filePath(chosen));
    preview->startDocPrintPdf(docView);

    QVERIFY(MMessageBox::takeShown().isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        const QStringList pages = MTestPdf::pageTexts(folder.filePath(files.at(i)));
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages.at(0).contains(QStringLiteral("FV 3/2014")), qPrintable(pages.at(0)));
        QVERIFY2(pages.at(0).contains(QStringLiteral("Razem 1 234,50 ") + markings.at(i), Qt::CaseInsensitive),
                 qPrintable(pages.at(0)));
    }
    const QStringList written = QDir(QFileInfo(folder.filePath(files.at(0))).absolutePath()).entryList(QDir::Files);
    QCOMPARE(written.size(), files.size());
    QCOMPARE(MAppWnd::option(QStringLiteral("PRINT_PDF_PATH")), QFileInfo(folder.filePath(chosen)).absolutePath());
}

void TestInvoicePrintPreview::duplicateIsNamedByItsParent()
{
    MTestDatabase::insert(QStringLiteral("invoice"), {{"id", 13}, {"invoice_kind", 5}, {"id_parent_invoice", 12},
                                                      {"date_put", "2014-03-02"}});
    const QDir folder(m_home->path());
    QScopedPointer<MInvoicePrintPreview> preview(createPreview(1));
    preview->setIdRecord(13);
    MFileDialog::setNextFileName(folder.filePath(QStringLiteral("D.pdf")));
    preview->startDocPrintPdf(3);
    QVERIFY(MMessageBox::takeShown().isEmpty());
    QStringList written = folder.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    written.sort();
    QCOMPARE(written, (QStringList{QStringLiteral("D-13-FV_3_2014-kopia.pdf"),
                                   QStringLiteral("D-13-FV_3_2014-oryginal.pdf")}));
}

void TestInvoicePrintPreview::cancelledDialogsWriteNothing()
{
    MAppWnd::setOption(QStringLiteral("PRINT_PDF_PATH"), QStringLiteral("/nie/ma/takiego"));
    QScopedPointer<MInvoicePrintPreview> preview(createPreview(1));
    preview->startDocPrintPdf(-1);
    QCOMPARE(MAppWnd::option(QStringLiteral("PRINT_PDF_PATH")), QStringLiteral("/nie/ma/takiego"));
    preview->startDocPrint(3);
    QCOMPARE(MPrintDialog::takeShown(), QStringList{QStringLiteral("Ustawienia drukarki")});
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestInvoicePrintPreview::unwritableFileIsReported()
{
    const QDir folder(m_home->path());
    QVERIFY(folder.mkpath(QStringLiteral("faktura.pdf")));
    QScopedPointer<MInvoicePrintPreview> preview(createPreview(1));
    MFileDialog::setNextFileName(folder.filePath(QStringLiteral("faktura.pdf")));
    preview->startDocPrintPdf(-1);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QVERIFY2(shown.at(0).text.contains(folder.filePath(QStringLiteral("faktura.pdf"))), qPrintable(shown.at(0).text));
}

void TestInvoicePrintPreview::failedRunLeavesNoDocument_data()
{
    QTest::addColumn<bool>("mail");
    QTest::newRow("pdf") << false;
    QTest::newRow("e-mail") << true;
}

void TestInvoicePrintPreview::failedRunLeavesNoDocument()
{
    QFETCH(bool, mail);

    QScopedPointer<MInvoicePrintPreview> preview(createPreview(3, QStringLiteral(":/test_template/throws.js")));
    bool mailDialogOpened = false;
    closeMailDialogWhenOpened(&mailDialogOpened);
    if (mail) {
        preview->doSendMailPdf();
    } else {
        MFileDialog::setNextFileName(QDir(m_home->path()).filePath(QStringLiteral("FV.pdf")));
        preview->startDocPrintPdf(-1);
    }
    QCoreApplication::processEvents();
    QVERIFY(!mailDialogOpened);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).title, QStringLiteral("Błąd szablonu wydruku"));
    QVERIFY(QDir(m_home->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty());
    QVERIFY(QDir(MAppWnd::pathTemp + QStringLiteral("temp")).entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty());
}

void TestInvoicePrintPreview::mailsDocumentAsPdf()
{
    QScopedPointer<MInvoicePrintPreview> preview(createPreview(1));
    QString recipient;
    QPointer<MMailSendDlg> opened;
    QTimer::singleShot(0, [&] {
        opened = qobject_cast<MMailSendDlg*>(QApplication::activeModalWidget());
        if (opened) {
            recipient = opened->findChild<QLineEdit*>(QStringLiteral("recipient"))->text();
            opened->close();
        }
    });
    preview->doSendMailPdf();
    QCOMPARE(recipient, QStringLiteral("biuro@beta.pl"));
    QTRY_VERIFY(opened.isNull());

    const QString md5 = QString::fromLatin1(
        QCryptographicHash::hash(QByteArrayLiteral("FV 3/2014"), QCryptographicHash::Md5).toHex());
    const QString attachment = MAppWnd::pathTemp + QStringLiteral("temp/email_") + md5 + QStringLiteral(".pdf");
    const QStringList pages = MTestPdf::pageTexts(attachment);
    QCOMPARE(pages.size(), 1);
    QVERIFY2(pages.at(0).contains(QStringLiteral("FV 3/2014")), qPrintable(pages.at(0)));

    // E-mail mode ends with the operation: the next PDF command asks for a file.
    MAppWnd::setOption(QStringLiteral("PRINT_PDF_PATH"), m_home->path());
    preview->startDocPrintPdf(-1);
    QCOMPARE(MFileDialog::lastFolder(), m_home->path());
}

void TestInvoicePrintPreview::ownsItsPrinterAndTextEdit()
{
    auto* edit = new QTextEdit;
    QPointer<QTextEdit> watched(edit);
    auto* preview = new MInvoicePrintPreview(m_wnd.data(), new QPrinter, edit, nullptr);
    QCOMPARE(preview->accessibleName(), QStringLiteral("MInvoicePrintPreview"));
    delete preview;
    QVERIFY(!watched.isNull());
    QTRY_VERIFY(watched.isNull());
}

void TestInvoicePrintPreview::printToFileKeepsTheDialogsChoice_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<int>("docView");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("fromPage");
    QTest::addColumn<int>("toPage");
    QTest::addColumn<QStringList>("files");
    // Per file, a text of each of its pages, joined by " | ".
    QTest::addColumn<QStringList>("pages");

    const QString document = QStringLiteral(":/test_template/document.js");
    const QString twoPages = QStringLiteral(":/test_template/two_pages.js");
    QTest::newRow("one copy") << document << 1 << 1 << 0 << 0 << QStringList{"wydruk.pdf"}
                              << QStringList{"FV 3/2014 Razem 1 234,50 ORYGINAŁ"};
    QTest::newRow("two copies") << document << 2 << 2 << 0 << 0 << QStringList{"wydruk.pdf"}
                                << QStringList{"FV 3/2014 Razem 1 234,50 KOPIA | "
                                               "FV 3/2014 Razem 1 234,50 KOPIA"};
    QTest::newRow("original and copy as two files")
        << document << 3 << 1 << 0 << 0
        << QStringList{"wydruk-12-FV_3_2014-oryginal.pdf", "wydruk-12-FV_3_2014-kopia.pdf"}
        << QStringList{"FV 3/2014 Razem 1 234,50 ORYGINAŁ", "FV 3/2014 Razem 1 234,50 KOPIA"};
    QTest::newRow("second page only") << twoPages << 1 << 1 << 2 << 2 << QStringList{"wydruk.pdf"}
                                      << QStringList{"Druga strona"};
    QTest::newRow("both pages twice") << twoPages << 1 << 2 << 1 << 2 << QStringList{"wydruk.pdf"}
                                      << QStringList{"Pierwsza strona | Druga strona | Pierwsza strona | Druga strona"};
}

// "Drukuj do pliku (PDF)" in the printer dialog: the chosen file, copies and pages
// reach the printed file.
void TestInvoicePrintPreview::printToFileKeepsTheDialogsChoice()
{
    QFETCH(QString, resource);
    QFETCH(int, docView);
    QFETCH(int, copies);
    QFETCH(int, fromPage);
    QFETCH(int, toPage);
    QFETCH(QStringList, files);
    QFETCH(QStringList, pages);

    const QDir folder(m_home->path() + QStringLiteral("/wydruki"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    QScopedPointer<MInvoicePrintPreview> preview(createPreview(1, resource));
    MPrintDialog::setAutomatic(true);
    MPrintDialog::setNextPrintToFile(folder.filePath(QStringLiteral("wydruk.pdf")), copies, fromPage, toPage);
    preview->startDocPrint(docView);
    MPrintDialog::setAutomatic(false);

    QVERIFY(MMessageBox::takeShown().isEmpty());
    QStringList written = folder.entryList(QDir::Files);
    QStringList expected = files;
    written.sort();
    expected.sort();
    QCOMPARE(written, expected);
    for (int i = 0; i < files.size(); ++i) {
        const QStringList printed = MTestPdf::pageTexts(folder.filePath(files.at(i)));
        const QStringList wanted = pages.at(i).split(QStringLiteral(" | "));
        QCOMPARE(printed.size(), wanted.size());
        for (int page = 0; page < printed.size(); ++page)
            QVERIFY2(printed.at(page).contains(wanted.at(page)), qPrintable(printed.join(QStringLiteral(" | "))));
    }
}

// Without a printer to start (no printer of that name, no file), the user is told.
void TestInvoicePrintPreview::printerThatCannotStartIsReported()
{
    QScopedPointer<MInvoicePrintPreview> preview(createPreview(1));
    MPrintDialog::setAutomatic(true);
    MPrintDialog::setNextPrinterName(QStringLiteral("Nie ma takiej drukarki"));
    preview->startDocPrint(1);
    MPrintDialog::setAutomatic(false);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QCOMPARE(shown.at(0).title, QStringLiteral("Drukowanie"));
    QVERIFY2(shown.at(0).text.startsWith(QStringLiteral("Nie można rozpocząć drukowania")), qPrintable(shown.at(0).text));
}

void TestInvoicePrintPreview::fullDiskIsReportedAndLeavesNoPart_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("PDF") << QStringLiteral("pdf");
    QTest::newRow("e-mail") << QStringLiteral("mail");
    QTest::newRow("print to file") << QStringLiteral("file");
}

// A file that runs out of space is reported with its name and the reason; the
// cut-short file is removed, an older file of its name kept, nothing is mailed.
void TestInvoicePrintPreview::fullDiskIsReportedAndLeavesNoPart()
{
    QFETCH(QString, way);

    const bool mail = way == QLatin1String("mail");
    const QString folder = mail ? MAppWnd::pathTemp + QStringLiteral("temp") : m_home->path() + QStringLiteral("/pelny");
    MTestFullDisk disk(folder, 8);
    if (!disk.isMounted())
        QSKIP("A small file system cannot be mounted here.");
    const QString target =
        mail ? MBatchPdfNames::emailPath(MAppWnd::pathTemp, QStringLiteral("FV 3/2014")) : folder + QStringLiteral("/faktura.pdf");
    QVERIFY(disk.holdOlderFile(QFileInfo(target).fileName()));

    QScopedPointer<MInvoicePrintPreview> preview(createPreview(1));
    bool mailDialogOpened = false;
    closeMailDialogWhenOpened(&mailDialogOpened);
    if (mail) {
        preview->doSendMailPdf();
    } else if (way == QLatin1String("pdf")) {
        MFileDialog::setNextFileName(target);
        preview->startDocPrintPdf(-1);
    } else {
        MPrintDialog::setAutomatic(true);
        MPrintDialog::setNextPrintToFile(target, 1, 0, 0);
        preview->startDocPrint(1);
        MPrintDialog::setAutomatic(false);
    }
    QCoreApplication::processEvents();

    QVERIFY(!mailDialogOpened);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QCOMPARE(shown.at(0).text, MTestFullDisk::message(target));
    QCOMPARE(disk.files(), disk.before());
}

INVOICE_TEST_MAIN(TestInvoicePrintPreview)
#include "tst_invoiceprintpreview.moc"
