#include "printing/MInvoiceSetSelectedPrintPreview.h"

#include "data/MOptions.h"
#include "data/MVatSummary.h"
#include "printing/MDocTemplate.h"
#include "printing/MGenerateDlg.h"
#include "printing/MPrinterMargins.h"
#include "printing/MTemplateEngine.h"
#include "printing/MTemplateRun.h"
#include "views/MAppServices.h"
#include "views/MFileDialog.h"
#include "views/MPrintDialog.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTextEdit>
#include <QTimer>

namespace {

const char* const templateResource = ":/template/invoice_set_selected.js";

const char* const printText = QT_TRANSLATE_NOOP(
    "MInvoiceSetSelectedPrintPreview", "Generowanie wydruku może potrwać kilka chwil.<br>Numer generowanej strony:");
const char* const pdfText = QT_TRANSLATE_NOOP(
    "MInvoiceSetSelectedPrintPreview", "Generowanie PDF może potrwać kilka chwil.<br>Numer generowanej strony:");

} // namespace

MInvoiceSetSelectedPrintPreview::MInvoiceSetSelectedPrintPreview(MAppServices* appWnd, QPrinter* printer,
                                                                 QTextEdit* textEdit, MDocTemplate* docTemplate,
                                                                 QWidget* parent)
    : QPrintPreviewWidget(printer, parent)
    , m_appWnd(appWnd)
    , m_printer(printer)
    , m_textEdit(textEdit)
    , m_docTemplatePreview(docTemplate)
    , m_docTemplatePrint(new MDocTemplate(QPrinter::ScreenResolution, nullptr))
    , m_timer(new QTimer(this))
{
    setAccessibleName(QStringLiteral("MInvoiceSetSelectedPrintPreview"));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAttribute(Qt::WA_DeleteOnClose);
}

MInvoiceSetSelectedPrintPreview::~MInvoiceSetSelectedPrintPreview()
{
    delete m_printer;
    if (m_textEdit)
        m_textEdit->deleteLater();
    if (m_docTemplatePreview) {
        // The statement's figures are read by nothing else.
        MVatSummary::drop(m_docTemplatePreview->getIdRecord());
        m_docTemplatePreview->deleteLater();
    }
    m_docTemplatePrint->deleteLater();
}

MDocTemplate* MInvoiceSetSelectedPrintPreview::docTemplatePreview() const
{
    return m_docTemplatePreview;
}

MDocTemplate* MInvoiceSetSelectedPrintPreview::docTemplatePrint() const
{
    return m_docTemplatePrint;
}

void MInvoiceSetSelectedPrintPreview::createGenerateDlg()
{
    if (!m_generateDlg)
        m_generateDlg = new MGenerateDlg(this);
}

void MInvoiceSetSelectedPrintPreview::contextMenuEvent(QContextMenuEvent*)
{
}

void MInvoiceSetSelectedPrintPreview::print(QPrinter* printer)
{
    m_appWnd->print(m_textEdit, printer, true);
}

bool MInvoiceSetSelectedPrintPreview::startDocPreview()
{
    return MTemplateRun::run(MTemplateEngine::engine(), m_docTemplatePreview, QLatin1String(templateResource), this);
}

void MInvoiceSetSelectedPrintPreview::doClose()
{
    m_appWnd->doCloseActiveTab();
}

void MInvoiceSetSelectedPrintPreview::setUpPrintTemplate()
{
    MDocTemplate* job = m_docTemplatePrint;
    job->setPageOrientation(QPrinter::Landscape);
    MPrinterMargins::applyTo(job);
    job->setIdRecord(m_docTemplatePreview->getIdRecord());
}

void MInvoiceSetSelectedPrintPreview::resetPrintTemplate()
{
    MDocTemplate* job = m_docTemplatePrint;
    job->setDocOpenName(m_docTemplatePreview->getDocOpenName());
    job->setDocAborted(false);
    job->setDocGenerated(false);
    job->setPageGenerated(1);
    m_runFinished = 0;
}

void MInvoiceSetSelectedPrintPreview::startDocPrint()
{
    QPrinter* printer = m_docTemplatePrint->getPrinter();
    printer->setOutputFormat(QPrinter::NativeFormat);
    printer->setOutputFileName(QString());
    setUpPrintTemplate();
    if (!MPrintDialog::exec(this, printer, tr("Ustawienia drukarki")))
        return;
    resetPrintTemplate();
    MGenerateDlg::armTimer(m_timer, this, &MInvoiceSetSelectedPrintPreview::startDocPrintTimeOut, 500);
    QTimer::singleShot(100, this, &MInvoiceSetSelectedPrintPreview::startDocPrintMessageBox);
    QTimer::singleShot(300, this, &MInvoiceSetSelectedPrintPreview::startDocPrintRun);
}

void MInvoiceSetSelectedPrintPreview::startDocPrintPdf()
{
    m_docTemplatePrint->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    setUpPrintTemplate();
    QString folder = MOptions::option(QStringLiteral("PRINT_PDF_PATH"));
    if (folder.isEmpty() || !QFileInfo::exists(folder))
        folder = QStringLiteral("pdf");
    m_pdfFileName = MFileDialog::getSaveFileName(this, tr("Eksport PDF"), folder, QStringLiteral("*.pdf"));
    if (m_pdfFileName.isEmpty())
        return;
    MOptions::setOption(QStringLiteral("PRINT_PDF_PATH"), QFileInfo(m_pdfFileName).path());
    resetPrintTemplate();
    MGenerateDlg::armTimer(m_timer, this, &MInvoiceSetSelectedPrintPreview::startDocPrintPdfTimeOut, 500);
    QTimer::singleShot(100, this, &MInvoiceSetSelectedPrintPreview::startDocPrintPdfMessageBox);
    QTimer::singleShot(300, this, &MInvoiceSetSelectedPrintPreview::startDocPrintPdfRun);
}

bool MInvoiceSetSelectedPrintPreview::layOutPrintTemplate()
{
    MDocTemplate* job = m_docTemplatePrint;
    setUpPrintTemplate();
    job->setTextEdit(nullptr, true);
    job->setImportDeferred(true);
    job->isPaging(true);
    job->setIdSellerBase(m_docTemplatePreview->getIdSellerBase());
    job->setDateFrom(m_docTemplatePreview->getDateFrom());
    job->setDateTo(m_docTemplatePreview->getDateTo());
    job->setDatePrint(m_docTemplatePreview->getDatePrint());
    return MTemplateRun::run(MTemplateEngine::engine(), job, QLatin1String(templateResource), this)
        && !job->isDocAborted();
}

// The printer keeps what was chosen in the printer dialog, a file included.
void MInvoiceSetSelectedPrintPreview::startDocPrint2()
{
    QPrinter* printer = m_docTemplatePrint->getPrinter();
    if (layOutPrintTemplate()) {
        MPrintDialog::preparePrinter(printer);
        MTemplateRun::output(m_docTemplatePrint, printer, this);
    }
}

void MInvoiceSetSelectedPrintPreview::startDocPrintPdf2(QString fileName)
{
    QPrinter* printer = m_docTemplatePrint->getPrinter();
    printer->setOutputFormat(QPrinter::PdfFormat);
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    printer->setOutputFileName(fileName);
    if (layOutPrintTemplate())
        MTemplateRun::output(m_docTemplatePrint, printer, this);
}

void MInvoiceSetSelectedPrintPreview::execGenerateDlg(const QString& title, const QString& text)
{
    createGenerateDlg();
    m_generateDlg->setWindowTitle(title);
    m_generateDlg->setPageText(text, m_docTemplatePrint->getPageGenerated());
    m_generateDlg->setDocTemplate(m_docTemplatePrint);
    m_generateDlg->exec();
    m_runFinished = 1;
    m_docTemplatePrint->setDocGenerated(true);
}

void MInvoiceSetSelectedPrintPreview::timeOut(TimeOutSlot slot)
{
    m_generateDlg->tick(m_timer, this, slot, m_runFinished == 0 && !m_docTemplatePrint->isDocGenerated(),
                        m_docTemplatePrint->getPageGenerated());
}

void MInvoiceSetSelectedPrintPreview::startDocPrintMessageBox()
{
    execGenerateDlg(tr("Generowanie wydruku"), tr(printText));
}

void MInvoiceSetSelectedPrintPreview::startDocPrintRun()
{
    startDocPrint2();
    m_runFinished = 1;
}

void MInvoiceSetSelectedPrintPreview::startDocPrintTimeOut()
{
    timeOut(&MInvoiceSetSelectedPrintPreview::startDocPrintTimeOut);
}

void MInvoiceSetSelectedPrintPreview::startDocPrintPdfMessageBox()
{
    execGenerateDlg(tr("Generowanie PDF"), tr(pdfText));
}

void MInvoiceSetSelectedPrintPreview::startDocPrintPdfRun()
{
    startDocPrintPdf2(m_pdfFileName);
    m_runFinished = 1;
}

void MInvoiceSetSelectedPrintPreview::startDocPrintPdfTimeOut()
{
    timeOut(&MInvoiceSetSelectedPrintPreview::startDocPrintPdfTimeOut);
}
