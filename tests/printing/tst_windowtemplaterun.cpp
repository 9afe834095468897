#include "MFreshHome.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestPdf.h"
#include "core/MAppWnd.h"
#include "printing/MDocTemplate.h"
#include "printing/MPrinterMargins.h"
#include "printing/MTemplateEngine.h"
#include "printing/MTemplateRun.h"
#include "resources/MResources.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QSqlDatabase>
#include <QtTest>

// A template run as the program does it: after the main window's start, in the
// program's one engine with the print margins the window loaded, reading a saved
// document and the options through doc.
class TestWindowTemplateRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void documentComesOutAsPdf();
};

void TestWindowTemplateRun::initTestCase()
{
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

void TestWindowTemplateRun::cleanup()
{
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

void TestWindowTemplateRun::documentComesOutAsPdf()
{
    MFreshHome home;
    QVERIFY(home.isValid());
    MAppWnd wnd;
    QVERIFY(!wnd.hasEnded());

    const qint64 idSeller = MTestDatabase::insert(QStringLiteral("invoice_seller"),
                                                  {{"invoice_index_format_text", "FV [nr]/[mm]/[rrrr]"}});
    const qint64 idInvoice = MTestDatabase::insert(
        QStringLiteral("invoice"), {{"invoice_kind", 0}, {"invoice_index", 12}, {"id_seller", idSeller},
                                    {"global_brutto", 1234.5}, {"date_put", "2014-03-01"}});

    const QString fileName = home.path() + QStringLiteral("/faktura.pdf");
    MDocTemplate* docTemplate = new MDocTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate->isPdf(true);
    docTemplate->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    docTemplate->getPrinter()->setOutputFileName(fileName);
    docTemplate->setTextEdit(nullptr, true);
    MPrinterMargins::applyTo(docTemplate);
    docTemplate->isPaging(true);
    docTemplate->setDocView(1);
    docTemplate->setIdRecord(int(idInvoice));

    QVERIFY(MTemplateRun::print(MTemplateEngine::engine(), docTemplate, QStringLiteral(":/test_template/document.js"),
                                &wnd));
    docTemplate->deleteLater();

    QVERIFY(MMessageBox::takeShown().isEmpty());
    const QString expected = QStringLiteral("FAKTURA VAT FV 12/03/2014 Razem 1 234,50 ORYGINAŁ Koperta ")
        + MAppWnd::option(QStringLiteral("ENVELOPE_WINDOW_MARGINS"));
    QCOMPARE(MTestPdf::pageTexts(fileName), QStringList{expected});
}

INVOICE_TEST_MAIN(TestWindowTemplateRun)
#include "tst_windowtemplaterun.moc"
