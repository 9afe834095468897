// The document list's statement of the selected documents.
#include "documents/MInvoiceDbView.h"

#include "printing/MDocTemplate.h"
#include "printing/MGenerateDlg.h"
#include "printing/MInvoiceSetSelectedPrintPreview.h"
#include "printing/MPrinterMargins.h"
#include "printing/MTemplateRun.h"
#include "views/MAppServices.h"
#include "views/MTabWidget.h"

#include <QPrinter>
#include <QTimer>

namespace {

const char* const statementMessage = QT_TRANSLATE_NOOP(
    "MInvoiceDbView", "Generowanie zestawienia może potrwać kilka chwil.<br>Numer generowanej strony:");

} // namespace

void MInvoiceDbView::doSetSelected()
{
    if (currentId() > 0)
        startDocSetSelected();
}

void MInvoiceDbView::startDocSetSelected()
{
    if (selectedRowCount() < 1)
        return;
    takeSelectionForJob();
    const int runId = buildVatSummary(m_jobIds.values());

    auto* docTemplate = new MDocTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate->setPageOrientation(QPrinter::Landscape);
    docTemplate->setTextEdit(nullptr, false);
    MPrinterMargins::applyTo(docTemplate);
    docTemplate->isPaging(true);
    MTemplateRun::setPageSize(docTemplate);
    docTemplate->setIdRecord(runId);
    docTemplate->setDocOpenName(m_viewKind == 8 ? QStringLiteral("INVOICE_BUY") : QStringLiteral("INVOICE_SELL"));
    docTemplate->setDocAborted(false);
    docTemplate->setDocGenerated(false);
    docTemplate->setPageGenerated(1);

    m_setSelectedPreview = new MInvoiceSetSelectedPrintPreview(appWnd(), docTemplate->getPrinterClone(),
                                                               docTemplate->getTextEdit(), docTemplate, nullptr);
    m_setSelectedPreview->setZoomFactor(1.0);
    connect(m_setSelectedPreview, &QPrintPreviewWidget::paintRequested, m_setSelectedPreview,
            &MInvoiceSetSelectedPrintPreview::print);

    m_finished = false;
    QTimer::singleShot(100, this, &MInvoiceDbView::startDocSetSelectedMessageBox);
}

void MInvoiceDbView::startDocSetSelectedMessageBox()
{
    if (!m_setSelectedPreview)
        return;
    MDocTemplate* docTemplate = m_setSelectedPreview->docTemplatePreview();
    m_generateDlg->setWindowTitle(tr("Generowanie zestawienia"));
    m_generateDlg->setPageText(tr(statementMessage), docTemplate->getPageGenerated());
    m_generateDlg->setDocTemplate(docTemplate);
    QTimer::singleShot(100, this, &MInvoiceDbView::startDocSetSelectedRun);
    m_generateDlg->exec();
    m_generateDlg->setDocTemplate(nullptr);
    m_finished = true;
    if (m_setSelectedPreview)
        m_setSelectedPreview->docTemplatePreview()->setDocGenerated(true);
}

void MInvoiceDbView::startDocSetSelectedRun()
{
    if (!m_setSelectedPreview)
        return;
    MGenerateDlg::armTimer(m_jobTimer, this, &MInvoiceDbView::startDocSetSelectedTimeOut, 500);
    // A statement whose template failed is treated as stopped: it gets no tab.
    if (!m_setSelectedPreview->startDocPreview())
        m_setSelectedPreview->docTemplatePreview()->setDocAborted(true);
    m_setSelectedPreview->updatePreview();
    m_finished = true;
}

void MInvoiceDbView::startDocSetSelectedTimeOut()
{
    MDocTemplate* docTemplate = m_setSelectedPreview ? m_setSelectedPreview->docTemplatePreview() : nullptr;
    const bool running = docTemplate && !m_finished && !docTemplate->isDocGenerated();
    m_generateDlg->tick(m_jobTimer, this, &MInvoiceDbView::startDocSetSelectedTimeOut, running,
                        running ? docTemplate->getPageGenerated() : 0);
    if (running)
        return;
    MInvoiceSetSelectedPrintPreview* preview = m_setSelectedPreview;
    m_setSelectedPreview = nullptr;
    if (!preview)
        return;
    if (docTemplate->isDocAborted()) {
        preview->deleteLater();
        return;
    }
    preview->createGenerateDlg();
    MTabWidget* tabs = appWnd()->tabMain();
    tabs->setCurrentIndex(tabs->addTab(preview, tr("Zestawienie wybranych dokumentów")));
}
