// The document list's batch jobs: preview, print and PDF of the selected documents.
#include "documents/MInvoiceDbView.h"

#include "data/MBatchPdfNames.h"
#include "data/MDocViewRuns.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "export/MMailSendDlg.h"
#include "printing/MDocTemplate.h"
#include "printing/MGenerateDlg.h"
#include "printing/MInvoicePrintPreview.h"
#include "printing/MPrinterMargins.h"
#include "printing/MTemplateEngine.h"
#include "printing/MTemplateRun.h"
#include "views/MAppServices.h"
#include "views/MFileDialog.h"
#include "views/MPrintDialog.h"
#include "views/MPrinterChoice.h"
#include "views/MTabWidget.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTextEdit>
#include <QTimer>

namespace {

const char* const documentTemplate = ":/template/invoice.js";

const char* const previewMessage = QT_TRANSLATE_NOOP(
    "MInvoiceDbView", "Generowanie podglądu może potrwać kilka chwil.<br>Pozostało dokumentów do wygenerowania:");
const char* const printMessage = QT_TRANSLATE_NOOP(
    "MInvoiceDbView", "Generowanie wydruku może potrwać kilka chwil.<br>Pozostało dokumentów do wygenerowania:");
const char* const pdfMessage = QT_TRANSLATE_NOOP(
    "MInvoiceDbView", "Generowanie PDF może potrwać kilka chwil.<br>Pozostało dokumentów do wygenerowania:");

const int firstTickMsec = 300;
const int boxMsec = 100;
const int previewPauseMsec = 100;
const int printPauseMsec = 1000;

} // namespace

void MInvoiceDbView::setSendMailMode(bool on)
{
    m_sendMailMode = on;
    m_attachmentPath.clear();
}

void MInvoiceDbView::takeSelectionForJob()
{
    m_finished = false;
    m_position = 0;
    m_jobIds.clear();
    const QList<int> ids = collectSelectedIds();
    for (int i = 0; i < ids.size(); ++i)
        m_jobIds.insert(i, ids.at(i));
}

void MInvoiceDbView::startJob(int iDocView, TickSlot tick, TickSlot box)
{
    m_docView = iDocView;
    takeSelectionForJob();
    if (m_jobIds.isEmpty())
        return;
    MGenerateDlg::armTimer(m_jobTimer, this, tick, firstTickMsec);
    QTimer::singleShot(boxMsec, this, box);
}

void MInvoiceDbView::startDocPreview(int iDocView)
{
    startJob(iDocView, &MInvoiceDbView::startDocPreviewTimeOut, &MInvoiceDbView::startDocPreviewMessageBox);
}

void MInvoiceDbView::startDocPrint(int iDocView)
{
    MDocTemplate* setup = createPass(JobKind::Print, 0, iDocView);
    const bool accepted = MPrintDialog::exec(this, setup->getPrinter(), tr("Ustawienia drukarki"));
    m_printerChoice = MPrinterChoice(*setup->getPrinter());
    setup->getTextEdit()->deleteLater();
    setup->deleteLater();
    if (!accepted)
        return;
    startJob(iDocView, &MInvoiceDbView::startDocPrintTimeOut, &MInvoiceDbView::startDocPrintMessageBox);
}

void MInvoiceDbView::startDocPrintPdf(int iDocView)
{
    QString folder = MOptions::option(QStringLiteral("PRINT_PDF_PATH"));
    if (!QDir(folder).exists() || folder.isEmpty())
        folder = QDir(QStringLiteral("pdf")).exists() ? QStringLiteral("pdf") : QString();
    if (!m_sendMailMode) {
        m_chosenFile = MFileDialog::getSaveFileName(this, tr("Eksport PDF"), folder, QStringLiteral("*.pdf"));
        if (m_chosenFile.isEmpty())
            return;
        MOptions::setOption(QStringLiteral("PRINT_PDF_PATH"), QFileInfo(m_chosenFile).path());
    }
    startJob(iDocView, &MInvoiceDbView::startDocPrintPdfTimeOut, &MInvoiceDbView::startDocPrintPdfMessageBox);
}

QString MInvoiceDbView::remainingText(const QString& message) const
{
    return message + QLatin1Char(' ') + QString::number(m_jobIds.size() - m_position) + QLatin1Char('.');
}

void MInvoiceDbView::execJobBox(const QString& title, const QString& message)
{
    m_generateDlg->setWindowTitle(title);
    m_generateDlg->setText(remainingText(message));
    m_generateDlg->setDocTemplate(nullptr);
    m_generateDlg->exec();
    m_finished = true;
}

void MInvoiceDbView::startDocPreviewMessageBox()
{
    execJobBox(tr("Generowanie podglądu"), tr(previewMessage));
}

void MInvoiceDbView::startDocPrintMessageBox()
{
    execJobBox(tr("Generowanie wydruku"), tr(printMessage));
}

void MInvoiceDbView::startDocPrintPdfMessageBox()
{
    execJobBox(tr("Generowanie PDF"), tr(pdfMessage));
}

void MInvoiceDbView::startDocPreviewTimeOut()
{
    jobTick(JobKind::Preview, &MInvoiceDbView::startDocPreviewTimeOut);
}

void MInvoiceDbView::startDocPrintTimeOut()
{
    jobTick(JobKind::Print, &MInvoiceDbView::startDocPrintTimeOut);
}

void MInvoiceDbView::startDocPrintPdfTimeOut()
{
    jobTick(JobKind::Pdf, &MInvoiceDbView::startDocPrintPdfTimeOut);
}

void MInvoiceDbView::jobTick(JobKind kind, TickSlot tick)
{
    MGenerateDlg::disarmTimer(m_jobTimer, this, tick);
    if (m_finished || m_position >= m_jobIds.size() || !m_jobIds.contains(m_position)) {
        m_generateDlg->accept();
        if (kind == JobKind::Pdf)
            endPdfJob(false);
        return;
    }
    const int id = m_jobIds.value(m_position);
    bool made = false;
    switch (kind) {
    case JobKind::Preview:
        made = makePreview(id);
        break;
    case JobKind::Print:
        made = makePrint(id);
        break;
    case JobKind::Pdf:
        made = makePdf(id);
        break;
    }
    // The failure has been told; the documents after it are not made.
    if (!made) {
        m_generateDlg->accept();
        if (kind == JobKind::Pdf)
            endPdfJob(false);
        return;
    }
    ++m_position;
    if (m_position < m_jobIds.size()) {
        MGenerateDlg::armTimer(m_jobTimer, this, tick, kind == JobKind::Preview ? previewPauseMsec : printPauseMsec);
        const char* message = kind == JobKind::Preview ? previewMessage : kind == JobKind::Print ? printMessage
                                                                                                : pdfMessage;
        m_generateDlg->setText(remainingText(tr(message)));
    } else {
        m_generateDlg->accept();
        if (kind == JobKind::Pdf)
            endPdfJob(true);
    }
}

MDocTemplate* MInvoiceDbView::createPass(JobKind kind, int id, int docView) const
{
    auto* docTemplate =
        new MDocTemplate(kind == JobKind::Preview ? QPrinter::HighResolution : QPrinter::ScreenResolution, nullptr);
    if (kind == JobKind::Preview)
        docTemplate->isPreview(true);
    else if (kind == JobKind::Pdf)
        docTemplate->isPdf(true);
    docTemplate->getPrinter()->setOutputFormat(kind == JobKind::Pdf ? QPrinter::PdfFormat : QPrinter::NativeFormat);
    if (MOptions::option(QStringLiteral("PRINT_ORIENTATION_DOCUMENT")).toInt() == 1)
        docTemplate->setPageOrientation(QPrinter::Landscape);
    docTemplate->setTextEdit(nullptr, false);
    MPrinterMargins::applyTo(docTemplate);
    docTemplate->isPaging(true);
    docTemplate->setDocView(docView);
    docTemplate->setIdRecord(id);
    return docTemplate;
}

bool MInvoiceDbView::makePreview(int id)
{
    MDocTemplate* pass = createPass(JobKind::Preview, id, m_docView);
    QTextEdit* textEdit = pass->getTextEdit();
    if (!MTemplateRun::run(MTemplateEngine::engine(), pass, QLatin1String(documentTemplate), this)) {
        pass->deleteLater();
        textEdit->deleteLater();
        return false;
    }
    auto* preview = new MInvoicePrintPreview(appWnd(), pass->getPrinterClone(), textEdit, nullptr);
    preview->setIdRecord(id);
    preview->setDocView(m_docView);
    preview->setZoomFactor(1.0);
    connect(preview, &QPrintPreviewWidget::paintRequested, preview, &MInvoicePrintPreview::print);
    MTabWidget* tabs = appWnd()->tabMain();
    tabs->setCurrentIndex(
        tabs->addTab(preview, tr("Podgląd dokumentu") + QLatin1Char(' ') + MBatchPdfNames::documentNumber(id)));
    pass->deleteLater();
    return true;
}

bool MInvoiceDbView::makePrint(int id)
{
    const QString number = MBatchPdfNames::documentNumber(id);
    // A file takes one document a marking, as the PDF job names them.
    const QList<int> passes = MDocViewRuns::runs(m_docView, m_printerChoice.printsToFile());
    for (int passDocView : passes) {
        MDocTemplate* pass = createPass(JobKind::Print, id, passDocView);
        m_printerChoice.applyTo(pass->getPrinter(), MBatchPdfNames::fileName(m_printerChoice.outputFileName(),
                                                                             m_jobIds.size(), passes.size(), id,
                                                                             number, passDocView));
        MPrintDialog::preparePrinter(pass->getPrinter());
        const bool printed = MTemplateRun::print(MTemplateEngine::engine(), pass, QLatin1String(documentTemplate), this);
        pass->getTextEdit()->deleteLater();
        pass->deleteLater();
        if (!printed)
            return false;
    }
    return true;
}

bool MInvoiceDbView::makePdf(int id)
{
    const QString number = MBatchPdfNames::documentNumber(id);
    const QList<int> passes = MDocViewRuns::runs(m_docView, true);
    // Only the file of the document being made may be attached.
    m_attachmentPath.clear();
    for (int passDocView : passes) {
        MDocTemplate* pass = createPass(JobKind::Pdf, id, passDocView);
        QString fileName;
        if (m_sendMailMode) {
            fileName = MBatchPdfNames::emailPath(MProgramPaths::pathTemp, number);
            QDir().mkpath(QFileInfo(fileName).absolutePath());
        } else {
            fileName = MBatchPdfNames::fileName(m_chosenFile, m_jobIds.size(), passes.size(), id, number, passDocView);
        }
        pass->getPrinter()->setOutputFileName(fileName);
        const bool written = MTemplateRun::print(MTemplateEngine::engine(), pass, QLatin1String(documentTemplate), this);
        pass->getTextEdit()->deleteLater();
        pass->deleteLater();
        if (!written)
            return false;
        if (m_sendMailMode) {
            m_attachmentPath = fileName;
            m_attachmentName = MBatchPdfNames::emailName(number);
        }
    }
    return true;
}

void MInvoiceDbView::endPdfJob(bool completed)
{
    if (completed && m_sendMailMode && !m_attachmentPath.isEmpty() && m_jobIds.contains(m_position - 1)) {
        auto* dlg = new MMailSendDlg(this);
        dlg->setDocumentPdf(m_jobIds.value(m_position - 1), m_attachmentPath, m_attachmentName);
        dlg->setAttribute(Qt::WA_DeleteOnClose);
        dlg->setModal(true);
        dlg->exec();
    }
    m_sendMailMode = false;
    m_attachmentPath.clear();
}
