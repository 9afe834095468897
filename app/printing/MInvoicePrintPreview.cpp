#include "MInvoicePrintPreview.h"

#include "data/MBatchPdfNames.h"
#include "data/MDocViewRuns.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "export/MMailSendDlg.h"
#include "printing/MDocTemplate.h"
#include "printing/MPrinterMargins.h"
#include "printing/MTemplateEngine.h"
#include "printing/MTemplateRun.h"
#include "views/MAppServices.h"
#include "views/MFileDialog.h"
#include "views/MPrintDialog.h"
#include "views/MPrinterChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QTextEdit>

MInvoicePrintPreview::MInvoicePrintPreview(MAppServices* appWnd, QPrinter* printer, QTextEdit* textEdit,
                                           QWidget* parent)
    : QPrintPreviewWidget(printer, parent)
    , m_appWnd(appWnd)
    , m_printer(printer)
    , m_textEdit(textEdit)
    , m_template(QStringLiteral(":/template/invoice.js"))
{
    setAccessibleName(QStringLiteral("MInvoicePrintPreview"));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAttribute(Qt::WA_DeleteOnClose);
}

MInvoicePrintPreview::~MInvoicePrintPreview()
{
    delete m_printer;
    m_textEdit->deleteLater();
}

void MInvoicePrintPreview::setDocView(int iDocView)
{
    m_docView = iDocView;
}

void MInvoicePrintPreview::setIdRecord(int id)
{
    m_idRecord = id;
}

void MInvoicePrintPreview::setTemplate(const QString& resource)
{
    m_template = resource;
}

void MInvoicePrintPreview::print(QPrinter* printer)
{
    m_appWnd->print(m_textEdit, printer, true);
}

void MInvoicePrintPreview::contextMenuEvent(QContextMenuEvent*)
{
}

void MInvoicePrintPreview::doClose()
{
    m_appWnd->doCloseActiveTab();
}

void MInvoicePrintPreview::doPrint()
{
    startDocPrint(-1);
}

void MInvoicePrintPreview::doPrintPdf()
{
    startDocPrintPdf(-1);
}

void MInvoicePrintPreview::doSendMailPdf()
{
    m_sendMailMode = true;
    m_attachmentPath.clear();
    startDocPrintPdf(-1);
}

MDocTemplate* MInvoicePrintPreview::createRun(bool pdf, int docView)
{
    auto* docTemplate = new MDocTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate->setTextEdit(nullptr, true);
    docTemplate->getPrinter()->setOutputFormat(pdf ? QPrinter::PdfFormat : QPrinter::NativeFormat);
    if (MOptions::option(QStringLiteral("PRINT_ORIENTATION_DOCUMENT")).toInt() == 1)
        docTemplate->setPageOrientation(QPrinter::Landscape);
    MPrinterMargins::applyTo(docTemplate);
    docTemplate->isPaging(true);
    docTemplate->isPdf(pdf);
    docTemplate->setDocView(docView);
    docTemplate->setIdRecord(m_idRecord);
    return docTemplate;
}

// Every run is laid out before anything is printed, so that a template error
// in the second run of a pair leaves no half document behind.
bool MInvoicePrintPreview::layOut(const QList<MDocTemplate*>& runs)
{
    for (MDocTemplate* run : runs) {
        if (!MTemplateRun::run(MTemplateEngine::engine(), run, m_template, this) || run->isDocAborted())
            return false;
    }
    return true;
}

bool MInvoicePrintPreview::printRuns(const QList<MDocTemplate*>& runs)
{
    for (MDocTemplate* run : runs) {
        if (!MTemplateRun::output(run, run->getPrinter(), this))
            return false;
    }
    return true;
}

void MInvoicePrintPreview::release(const QList<MDocTemplate*>& runs)
{
    for (MDocTemplate* run : runs)
        run->deleteLater();
}

void MInvoicePrintPreview::startDocPrint(int iDocView)
{
    const int docView = iDocView < 0 ? m_docView : iDocView;
    MDocTemplate* setup = createRun(false, docView);
    const bool accepted = MPrintDialog::exec(this, setup->getPrinter(), tr("Ustawienia drukarki"));
    const MPrinterChoice choice(*setup->getPrinter());
    setup->deleteLater();
    if (!accepted)
        return;
    // A file takes one document a marking, as the PDF output names them.
    const QList<int> runDocViews = MDocViewRuns::runs(docView, choice.printsToFile());
    const QString documentNumber = MBatchPdfNames::documentNumber(m_idRecord);
    QList<MDocTemplate*> runs;
    for (int runDocView : runDocViews) {
        runs.append(createRun(false, runDocView));
        choice.applyTo(runs.last()->getPrinter(),
                       MDocViewRuns::pdfFileName(choice.outputFileName(), runDocViews.size() > 1, m_idRecord,
                                                 documentNumber, runDocView));
        MPrintDialog::preparePrinter(runs.last()->getPrinter());
    }
    if (layOut(runs))
        printRuns(runs);
    release(runs);
}

void MInvoicePrintPreview::startDocPrintPdf(int iDocView)
{
    const int docView = iDocView < 0 ? m_docView : iDocView;
    const QString documentNumber = MBatchPdfNames::documentNumber(m_idRecord);
    QString chosen;
    QList<int> runDocViews{docView};
    if (m_sendMailMode) {
        m_attachmentPath = MBatchPdfNames::emailPath(MProgramPaths::pathTemp, documentNumber);
        m_attachmentName = MBatchPdfNames::emailName(documentNumber);
        QDir().mkpath(QFileInfo(m_attachmentPath).absolutePath());
    } else {
        QString folder = MOptions::option(QStringLiteral("PRINT_PDF_PATH"));
        if (folder.isEmpty() || !QDir(folder).exists())
            folder = QDir(QStringLiteral("pdf")).exists() ? QStringLiteral("pdf") : QString();
        chosen = MFileDialog::getSaveFileName(this, tr("Eksport PDF"), folder, QStringLiteral("*.pdf"));
        if (chosen.isEmpty())
            return;
        MOptions::setOption(QStringLiteral("PRINT_PDF_PATH"), QFileInfo(chosen).absolutePath());
        runDocViews = MDocViewRuns::runs(docView, true);
    }

    QList<MDocTemplate*> runs;
    for (int runDocView : runDocViews) {
        runs.append(createRun(true, runDocView));
        runs.last()->getPrinter()->setOutputFileName(
            m_sendMailMode ? m_attachmentPath
                           : MDocViewRuns::pdfFileName(chosen, runDocViews.size() > 1, m_idRecord, documentNumber,
                                                       runDocView));
    }
    const bool written = layOut(runs) && printRuns(runs);
    release(runs);

    if (m_sendMailMode) {
        if (written && !m_attachmentPath.isEmpty()) {
            auto* dlg = new MMailSendDlg(this);
            dlg->setDocumentPdf(m_idRecord, m_attachmentPath, m_attachmentName);
            dlg->setAttribute(Qt::WA_DeleteOnClose);
            dlg->setModal(true);
            dlg->exec();
        }
        m_sendMailMode = false;
        m_attachmentPath.clear();
    }
}
