#include "printing/MInvoiceRegisterView.h"

#include "data/MOptions.h"
#include "data/MVatSummary.h"
#include "printing/MDocTemplate.h"
#include "printing/MFilterRegisterView.h"
#include "printing/MGenerateDlg.h"
#include "printing/MInvoiceRegisterPrintPreview.h"
#include "printing/MPrinterMargins.h"
#include "printing/MTemplateRun.h"
#include "views/MAppServices.h"
#include "views/MFileDialog.h"
#include "views/MPrintDialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QPrinter>
#include <QTimer>

namespace {

const char* const previewText = QT_TRANSLATE_NOOP(
    "MInvoiceRegisterView", "Generowanie podglądu może potrwać kilka chwil.<br>Numer generowanej strony:");
const char* const printText = QT_TRANSLATE_NOOP(
    "MInvoiceRegisterView", "Generowanie wydruku może potrwać kilka chwil.<br>Numer generowanej strony:");
const char* const pdfText = QT_TRANSLATE_NOOP(
    "MInvoiceRegisterView", "Generowanie PDF może potrwać kilka chwil.<br>Numer generowanej strony:");

} // namespace

MInvoiceRegisterView::MInvoiceRegisterView(MAppServices* appWnd, QWidget* parent)
    : QWidget(parent)
    , m_docTemplate(new MDocTemplate(QPrinter::ScreenResolution, nullptr))
    , m_timer(new QTimer(this))
    , m_appWnd(appWnd)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

MInvoiceRegisterView::~MInvoiceRegisterView()
{
    MVatSummary::drop(m_docTemplate->getIdRecord());
    m_docTemplate->deleteLater();
}

void MInvoiceRegisterView::initWidget()
{
    setAccessibleName(QStringLiteral("MInvoiceRegisterView"));
    m_generateDlg = new MGenerateDlg(this);

    m_docTemplate->setPageOrientation(QPrinter::Landscape);
    m_docTemplate->setTextEdit(nullptr, true);
    m_docTemplate->setImportDeferred(true);
    MPrinterMargins::applyTo(m_docTemplate);
    m_docTemplate->isPaging(true);
    MTemplateRun::setPageSize(m_docTemplate);

    m_preview = new MInvoiceRegisterPrintPreview(m_appWnd, m_docTemplate->getPrinterClone(), m_docTemplate, this);
    m_preview->setZoomFactor(1.0);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, m_preview, &MInvoiceRegisterPrintPreview::print);

    m_filter = new MFilterRegisterView(this);
    m_filter->initWidget();
    m_filter->setVisible(MOptions::option(QStringLiteral("FILTER_SHOW_INVOICE_REGISTER_VIEW")) == QLatin1String("1"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_filter, 0, 0);
    layout->setColumnMinimumWidth(1, 3);
    layout->addWidget(m_preview, 0, 2);
}

void MInvoiceRegisterView::doShowFilter(bool show)
{
    m_filter->setVisible(show);
    MOptions::setOption(QStringLiteral("FILTER_SHOW_INVOICE_REGISTER_VIEW"), show ? QStringLiteral("1") : QStringLiteral("0"));
}

void MInvoiceRegisterView::updatePreview()
{
    m_preview->updatePreview();
}

void MInvoiceRegisterView::loadRunIntoPreviewTemplate()
{
    // Every job reads the run of the preview template, which the new run replaces.
    const int previousRun = m_docTemplate->getIdRecord();
    m_docTemplate->setIdRecord(m_filter->buildRegisterData());
    if (previousRun != m_docTemplate->getIdRecord())
        MVatSummary::drop(previousRun);
    m_docTemplate->setIdSellerBase(m_filter->idSellerBase());
    m_docTemplate->setDateFrom(m_filter->dateFrom());
    m_docTemplate->setDateTo(m_filter->dateTo());
    m_docTemplate->setDatePrint(m_filter->datePrint());
}

void MInvoiceRegisterView::reloadView()
{
    disconnect(m_preview, &QPrintPreviewWidget::paintRequested, m_preview, &MInvoiceRegisterPrintPreview::print);
    loadRunIntoPreviewTemplate();
    m_docTemplate->setDocAborted(false);
    m_docTemplate->setDocGenerated(false);
    m_docTemplate->setPageGenerated(1);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, m_preview, &MInvoiceRegisterPrintPreview::print);
    m_runFinished = 0;
    MGenerateDlg::armTimer(m_timer, this, &MInvoiceRegisterView::startDocPreviewTimeOut, 500);
    QTimer::singleShot(100, this, &MInvoiceRegisterView::startDocPreviewMessageBox);
    QTimer::singleShot(300, this, &MInvoiceRegisterView::startDocPreviewRun);
}

void MInvoiceRegisterView::prepareForPrint()
{
    loadRunIntoPreviewTemplate();
    MDocTemplate* job = m_preview->docTemplatePrint();
    job->setDocAborted(false);
    job->setDocGenerated(false);
    job->setPageGenerated(1);
    m_runFinished = 0;
}

void MInvoiceRegisterView::startDocPrint()
{
    MDocTemplate* job = m_preview->docTemplatePrint();
    job->getPrinter()->setOutputFormat(QPrinter::NativeFormat);
    job->getPrinter()->setOutputFileName(QString());
    job->setPageOrientation(QPrinter::Landscape);
    MPrinterMargins::applyTo(job);
    if (!MPrintDialog::exec(this, job->getPrinter(), tr("Ustawienia drukarki")))
        return;
    prepareForPrint();
    QTimer::singleShot(100, this, &MInvoiceRegisterView::startDocPrintMessageBox);
}

void MInvoiceRegisterView::startDocPrintPdf()
{
    MDocTemplate* job = m_preview->docTemplatePrint();
    job->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    job->setPageOrientation(QPrinter::Landscape);
    MPrinterMargins::applyTo(job);
    QString folder = MOptions::option(QStringLiteral("PRINT_PDF_PATH"));
    if (folder.isEmpty() || !QFileInfo::exists(folder))
        folder = QStringLiteral("pdf");
    m_pdfFileName = MFileDialog::getSaveFileName(this, tr("Eksport PDF"), folder, QStringLiteral("*.pdf"));
    if (m_pdfFileName.isEmpty())
        return;
    MOptions::setOption(QStringLiteral("PRINT_PDF_PATH"), QFileInfo(m_pdfFileName).path());
    prepareForPrint();
    MGenerateDlg::armTimer(m_timer, this, &MInvoiceRegisterView::startDocPrintPdfTimeOut, 500);
    QTimer::singleShot(100, this, &MInvoiceRegisterView::startDocPrintPdfMessageBox);
    QTimer::singleShot(300, this, &MInvoiceRegisterView::startDocPrintPdfRun);
}

void MInvoiceRegisterView::execGenerateDlg(const QString& title, const QString& text, MDocTemplate* job)
{
    m_generateDlg->setWindowTitle(title);
    m_generateDlg->setPageText(text, job->getPageGenerated());
    m_generateDlg->setDocTemplate(job);
    m_generateDlg->exec();
    m_runFinished = 1;
    job->setDocGenerated(true);
}

void MInvoiceRegisterView::timeOut(TimeOutSlot slot, MDocTemplate* job)
{
    m_generateDlg->tick(m_timer, this, slot, m_runFinished == 0 && !job->isDocGenerated(), job->getPageGenerated());
}

void MInvoiceRegisterView::startDocPreviewMessageBox()
{
    execGenerateDlg(tr("Generowanie podglądu"), tr(previewText), m_docTemplate);
}

void MInvoiceRegisterView::startDocPreviewRun()
{
    m_preview->startDocPreview();
    m_preview->updatePreview();
    m_runFinished = 1;
}

void MInvoiceRegisterView::startDocPreviewTimeOut()
{
    timeOut(&MInvoiceRegisterView::startDocPreviewTimeOut, m_docTemplate);
}

void MInvoiceRegisterView::startDocPrintMessageBox()
{
    QTimer::singleShot(100, this, &MInvoiceRegisterView::startDocPrintRun);
    execGenerateDlg(tr("Generowanie wydruku"), tr(printText), m_preview->docTemplatePrint());
}

void MInvoiceRegisterView::startDocPrintRun()
{
    MGenerateDlg::armTimer(m_timer, this, &MInvoiceRegisterView::startDocPrintTimeOut, 500);
    m_preview->startDocPrint();
    m_runFinished = 1;
}

void MInvoiceRegisterView::startDocPrintTimeOut()
{
    timeOut(&MInvoiceRegisterView::startDocPrintTimeOut, m_preview->docTemplatePrint());
}

void MInvoiceRegisterView::startDocPrintPdfMessageBox()
{
    execGenerateDlg(tr("Generowanie PDF"), tr(pdfText), m_preview->docTemplatePrint());
}

void MInvoiceRegisterView::startDocPrintPdfRun()
{
    m_preview->startDocPrintPdf(m_pdfFileName);
    m_runFinished = 1;
}

void MInvoiceRegisterView::startDocPrintPdfTimeOut()
{
    timeOut(&MInvoiceRegisterView::startDocPrintPdfTimeOut, m_preview->docTemplatePrint());
}
