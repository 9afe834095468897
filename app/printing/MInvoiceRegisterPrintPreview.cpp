#include "printing/MInvoiceRegisterPrintPreview.h"

#include "printing/MDocTemplate.h"
#include "printing/MPrinterMargins.h"
#include "printing/MTemplateEngine.h"
#include "printing/MTemplateRun.h"
#include "views/MAppServices.h"
#include "views/MPrintDialog.h"

#include <QFileInfo>
#include <QPrinter>

MInvoiceRegisterPrintPreview::MInvoiceRegisterPrintPreview(MAppServices* appWnd, QPrinter* printer,
                                                           MDocTemplate* docTemplate, QWidget* parent)
    : QPrintPreviewWidget(printer, parent)
    , m_appWnd(appWnd)
    , m_docTemplatePreview(docTemplate)
    , m_docTemplatePrint(new MDocTemplate(QPrinter::ScreenResolution, nullptr))
    , m_printer(printer)
{
    setAccessibleName(QStringLiteral("MInvoiceRegisterPrintPreview"));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAttribute(Qt::WA_DeleteOnClose);
}

MInvoiceRegisterPrintPreview::~MInvoiceRegisterPrintPreview()
{
    m_docTemplatePrint->deleteLater();
    delete m_printer;
}

MDocTemplate* MInvoiceRegisterPrintPreview::docTemplatePreview() const
{
    return m_docTemplatePreview;
}

MDocTemplate* MInvoiceRegisterPrintPreview::docTemplatePrint() const
{
    return m_docTemplatePrint;
}

void MInvoiceRegisterPrintPreview::contextMenuEvent(QContextMenuEvent*)
{
}

bool MInvoiceRegisterPrintPreview::runTemplate(MDocTemplate* docTemplate, QWidget* parent)
{
    return MTemplateRun::run(MTemplateEngine::engine(), docTemplate, QStringLiteral(":/template/invoice_register.js"),
                             parent);
}

void MInvoiceRegisterPrintPreview::print(QPrinter* printer)
{
    MTemplateRun::printDocument(m_docTemplatePreview, printer, true);
}

void MInvoiceRegisterPrintPreview::startDocPreview()
{
    runTemplate(m_docTemplatePreview, this);
}

void MInvoiceRegisterPrintPreview::preparePrintTemplate()
{
    MDocTemplate* t = m_docTemplatePrint;
    t->setPageOrientation(QPrinter::Landscape);
    MPrinterMargins::applyTo(t);
    t->setTextEdit(nullptr, true);
    t->setImportDeferred(true);
    t->isPaging(true);
    t->setIdRecord(m_docTemplatePreview->getIdRecord());
    t->setIdSellerBase(m_docTemplatePreview->getIdSellerBase());
    t->setDateFrom(m_docTemplatePreview->getDateFrom());
    t->setDateTo(m_docTemplatePreview->getDateTo());
    t->setDatePrint(m_docTemplatePreview->getDatePrint());
}

// The printer keeps what was chosen in the printer dialog, a file included.
void MInvoiceRegisterPrintPreview::startDocPrint()
{
    preparePrintTemplate();
    MPrintDialog::preparePrinter(m_docTemplatePrint->getPrinter());
    if (runTemplate(m_docTemplatePrint, this) && !m_docTemplatePrint->isDocAborted())
        MTemplateRun::output(m_docTemplatePrint, m_docTemplatePrint->getPrinter(), this);
}

void MInvoiceRegisterPrintPreview::startDocPrintPdf(QString fileName)
{
    QPrinter* printer = m_docTemplatePrint->getPrinter();
    printer->setOutputFormat(QPrinter::PdfFormat);
    preparePrintTemplate();
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    printer->setOutputFileName(fileName);
    if (runTemplate(m_docTemplatePrint, this) && !m_docTemplatePrint->isDocAborted())
        MTemplateRun::output(m_docTemplatePrint, printer, this);
}

void MInvoiceRegisterPrintPreview::doClose()
{
    m_appWnd->doCloseActiveTab();
}
