#include "MDocTemplate.h"

#include "data/MDocTemplateData.h"
#include "data/MDocumentNumber.h"
#include "data/MNumberText.h"
#include "data/MOptions.h"
#include "data/MProgramVersion.h"
#include "data/MTextFunctions.h"
#include "printing/MHtmlPageList.h"

#include <QAbstractTextDocumentLayout>
#include <QMarginsF>
#include <QtMath>
#include <QPageLayout>
#include <QTextDocument>
#include <QTextEdit>

// The resolution at which a text document lays out pixel lengths of HTML (widths,
// margins, image sizes): 96 dpi under Qt::AA_Use96Dpi, otherwise the screen's
// logical resolution. Exported by Qt Gui for its text layout and used here so
// that the template's pixels are the ones the layout takes.
Q_GUI_EXPORT int qt_defaultDpiY();

namespace {

// The margin Qt gives a text document, in pixels.
const double qtDocumentMargin = 4.0;

// The envelope window of the default options; a stored value with fewer parts
// takes the missing ones from here.
const int defaultEnvelopeWindow[4] = {115, 55, 25, 45};

// Day, month name and year of a payment date ("05 marca 2014"); empty without a date.
QString payDateText(const QStringList& date)
{
    if (date.isEmpty())
        return QString();
    return date.at(0) + QLatin1Char(' ') + monthName(date.at(1), true) + QLatin1Char(' ') + date.at(2);
}

} // namespace

MDocTemplate::MDocTemplate(QPrinter::PrinterMode mode, QObject* parent)
    : QObject(parent)
    , m_printer(mode)
{
    m_printer.setFullPage(false);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
    m_printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    const QStringList parts = MOptions::option(QStringLiteral("ENVELOPE_WINDOW_MARGINS")).split(QLatin1Char(';'));
    int window[4];
    for (int i = 0; i < 4; ++i)
        window[i] = i < parts.size() ? parts.at(i).toInt() : defaultEnvelopeWindow[i];
    m_envelopeWindowLeft = window[0];
    m_envelopeWindowTop = window[1];
    m_envelopeWindowRight = window[2];
    m_envelopeWindowBottom = window[3];

    // Named, the list is a property of the object the template sees: `doc.pages`.
    m_pageList = new MHtmlPageList(this);
    m_pageList->setObjectName(QStringLiteral("pages"));
    connect(m_pageList, &MHtmlPageList::finished, this, [this]() {
        m_heldHtml.clear();
        m_htmlHeld = false;
        m_outputInPages = true;
        m_pagesHeld = true;
        if (!m_importDeferred)
            importHeldHtml();
    });
}

MDocTemplate::~MDocTemplate()
{
    if (m_textEdit && m_ownTextEdit)
        m_textEdit->deleteLater();
}

QString MDocTemplate::amountFormat(double d, int prec)
{
    return amountText(d, prec);
}

int MDocTemplate::countDaysFromStrings(QString date1, QString date2)
{
    return MDocTemplateData::countDaysFromStrings(date1, date2);
}

QString MDocTemplate::escapeHtml(QString text)
{
    // A word wider than its column breaks anywhere (setTextEdit), but to find where, the
    // layout passes over the rest of the word for every line it fills: a word of 100 000
    // characters would take seconds. A break chance every few characters keeps it as
    // cheap as ordinary text; the zero-width space prints as nothing.
    const int chunk = 20;
    QString broken;
    broken.reserve(text.size() + text.size() / chunk);
    int run = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        run = c.isSpace() ? 0 : run + 1;
        broken += c;
        if (run >= chunk && i + 1 < text.size() && !text.at(i + 1).isSpace() && !c.isHighSurrogate()) {
            broken += QChar(0x200b);
            run = 0;
        }
    }
    return broken.toHtmlEscaped();
}

double MDocTemplate::getMMHeight()
{
    return m_textEdit ? htmlDpi() / 25.4 : 0.0;
}

QDate MDocTemplate::getDateFrom()
{
    return m_dateFrom;
}

QString MDocTemplate::getDateFromStr(QString format)
{
    return m_dateFrom.toString(format);
}

QDate MDocTemplate::getDatePrint()
{
    return m_datePrint;
}

QString MDocTemplate::getDatePrintStr(QString format)
{
    return m_datePrint.toString(format);
}

QDate MDocTemplate::getDateTo()
{
    return m_dateTo;
}

QString MDocTemplate::getDateToStr(QString format)
{
    return m_dateTo.toString(format);
}

bool MDocTemplate::getDocAborted()
{
    return m_docAborted;
}

int MDocTemplate::getDocHeight()
{
    importHeldHtml();
    return m_textEdit ? qCeil(cssPixels(m_textEdit->document()->size().height())) : 0;
}

QString MDocTemplate::getDocOpenName()
{
    return m_docOpenName;
}

int MDocTemplate::getDocWidth()
{
    importHeldHtml();
    return m_textEdit ? qCeil(cssPixels(m_textEdit->document()->size().width())) : 0;
}

QString MDocTemplate::getDocViewName()
{
    return docViewName(m_docView, false).toUpper();
}

int MDocTemplate::getEnvelopeWindowBottom()
{
    return m_envelopeWindowBottom;
}

int MDocTemplate::getEnvelopeWindowLeft()
{
    return m_envelopeWindowLeft;
}

int MDocTemplate::getEnvelopeWindowRight()
{
    return m_envelopeWindowRight;
}

int MDocTemplate::getEnvelopeWindowTop()
{
    return m_envelopeWindowTop;
}

int MDocTemplate::getIdRecord()
{
    return m_idRecord;
}

int MDocTemplate::getIdRecordParent(int idInvoice)
{
    return MDocTemplateData::idRecordParent(idInvoice);
}

int MDocTemplate::getIdSellerBase()
{
    return m_idSellerBase;
}

QString MDocTemplate::getInvoiceContractText(int idInvoice)
{
    return MDocTemplateData::invoiceContractText(idInvoice);
}

double MDocTemplate::getInvoiceCorrectTotalPrice(int idInvoice)
{
    return MDocTemplateData::invoiceCorrectTotalPrice(idInvoice);
}

QStringList MDocTemplate::getInvoiceKindName(int idInvoice)
{
    return MDocTemplateData::invoiceKindName(idInvoice, &MOptions::option);
}

QString MDocTemplate::getInvoiceNumStr(int idInvoice)
{
    return invoiceNumberById(idInvoice);
}

QString MDocTemplate::getInvoicePartDate(int idInvoice)
{
    return payDateText(MDocTemplateData::invoicePayDate(idInvoice, MDocTemplateData::PayDatePart));
}

double MDocTemplate::getInvoicePartPrice(int idInvoice)
{
    return MDocTemplateData::invoicePartPrice(idInvoice);
}

double MDocTemplate::getInvoicePartTotalPrice(int idInvoice)
{
    return MDocTemplateData::invoicePartTotalPrice(idInvoice);
}

QString MDocTemplate::getInvoicePayedAllDate(int idInvoice)
{
    return payDateText(MDocTemplateData::invoicePayDate(idInvoice, MDocTemplateData::PayDateAll));
}

int MDocTemplate::getInvoiceSellerBase(int idInvoice)
{
    return MDocTemplateData::invoiceSellerBase(idInvoice);
}

double MDocTemplate::getInvoiceTotalPrice(int idInvoice)
{
    return MDocTemplateData::invoiceTotalPrice(idInvoice);
}

QString MDocTemplate::getInvoiceType(int idInvoice)
{
    return MDocTemplateData::invoiceType(idInvoice);
}

QString MDocTemplate::getInvoiceType2(int idInvoice)
{
    return MDocTemplateData::invoiceType2(idInvoice);
}

QString MDocTemplate::getInvoiceType3(int idInvoice)
{
    return MDocTemplateData::invoiceType3(idInvoice);
}

int MDocTemplate::getListSize(QVariantList list)
{
    return list.size();
}

int MDocTemplate::getMarginBottom()
{
    return pixelsOfMillimetres(m_marginBottom);
}

int MDocTemplate::getMarginLeft()
{
    return pixelsOfMillimetres(m_marginLeft);
}

int MDocTemplate::getMarginRight()
{
    return pixelsOfMillimetres(m_marginRight);
}

int MDocTemplate::getMarginTop()
{
    return pixelsOfMillimetres(m_marginTop);
}

QString MDocTemplate::getMonthName(QString month, bool checkStyle)
{
    return monthName(month, checkStyle);
}

int MDocTemplate::getPageGenerated()
{
    return m_pageGenerated;
}

QString MDocTemplate::getOption(QString key)
{
    return MOptions::option(key);
}

int MDocTemplate::getPageHeight()
{
    return m_textEdit ? int(cssPixels(m_textEdit->document()->pageSize().height()) - extraMargins()) : 0;
}

int MDocTemplate::getPageWidth()
{
    return m_textEdit ? int(cssPixels(m_textEdit->document()->pageSize().width()) - extraMargins()) : 0;
}

QPrinter* MDocTemplate::getPrinter()
{
    return &m_printer;
}

QPrinter* MDocTemplate::getPrinterClone()
{
    auto* clone = new QPrinter(QPrinter::HighResolution);
    clone->setFullPage(m_printer.fullPage());
    clone->setPageSize(m_printer.pageLayout().pageSize());
    clone->setResolution(m_printer.resolution());
    clone->setPageOrientation(m_printer.pageLayout().orientation());
    clone->setPageMargins(QMarginsF(m_marginLeft, m_marginTop, m_marginRight, m_marginBottom),
                          QPageLayout::Millimeter);
    return clone;
}

int MDocTemplate::getPrinterPageHeight()
{
    if (!m_textEdit)
        return 0;
    const QRect page = m_printer.pageLayout().paintRectPixels(m_printer.resolution());
    return int((page.bottom() - page.top() + 1) * m_textEdit->logicalDpiY() / 25.4);
}

int MDocTemplate::getPrinterPageWidth()
{
    if (!m_textEdit)
        return 0;
    const QRect page = m_printer.pageLayout().paintRectPixels(m_printer.resolution());
    return int((page.right() - page.left() + 1) * m_textEdit->logicalDpiY() / 25.4);
}

QString MDocTemplate::getPrintFooter()
{
    return tr("Wydruk z programu morva FAKTURY ") + MProgramVersion::versionText() + QLatin1Char('.');
}

QVariantList MDocTemplate::getSqlQuery(QString sql)
{
    return MDocTemplateData::sqlQuery(sql);
}

QTextEdit* MDocTemplate::getTextEdit()
{
    importHeldHtml();
    return m_textEdit;
}

bool MDocTemplate::isDocAborted()
{
    return getDocAborted();
}

bool MDocTemplate::isDocGenerated()
{
    return m_docGenerated;
}

bool MDocTemplate::isPaging()
{
    return m_paging;
}

void MDocTemplate::isPaging(bool b)
{
    m_paging = b;
}

bool MDocTemplate::isPdf()
{
    return m_pdf;
}

void MDocTemplate::isPdf(bool b)
{
    m_pdf = b;
}

bool MDocTemplate::isPreview()
{
    return m_preview;
}

void MDocTemplate::isPreview(bool b)
{
    m_preview = b;
}

bool MDocTemplate::isTextPayed(int idInvoice)
{
    return MDocTemplateData::isTextPayed(idInvoice);
}

QString MDocTemplate::moneyFormat(double d, int prec)
{
    return MDocTemplateData::moneyFormat(d, prec);
}

QString MDocTemplate::noWrap(QString str)
{
    return noWrapText(str);
}

QString MDocTemplate::numberFormat(double d)
{
    return MDocTemplateData::numberFormat(d);
}

void MDocTemplate::setDateFrom(QDate date)
{
    m_dateFrom = date;
}

void MDocTemplate::setDatePrint(QDate date)
{
    m_datePrint = date;
}

void MDocTemplate::setDateTo(QDate date)
{
    m_dateTo = date;
}

void MDocTemplate::setDocAborted(bool b)
{
    m_docAborted = b;
}

void MDocTemplate::setDocGenerated(bool b)
{
    m_docGenerated = b;
}

void MDocTemplate::setDocOpenName(QString name)
{
    m_docOpenName = name;
}

void MDocTemplate::setDocView(int iDocView)
{
    m_docView = iDocView;
}

void MDocTemplate::setHtml(QString s)
{
    if (!m_textEdit)
        return;
    m_outputInPages = false;
    m_pagesHeld = false;
    if (m_importDeferred) {
        m_heldHtml = s;
        m_htmlHeld = true;
    } else {
        m_textEdit->setHtml(s);
    }
}

void MDocTemplate::setIdRecord(int i)
{
    m_idRecord = i;
}

void MDocTemplate::setIdSellerBase(int i)
{
    m_idSellerBase = i;
}

void MDocTemplate::setOwnTextEdit(bool own)
{
    m_ownTextEdit = own;
}

void MDocTemplate::setPageGenerated(int page)
{
    m_pageGenerated = page;
}

void MDocTemplate::setPageMargins(double left, double top, double right, double bottom)
{
    m_marginLeft = left;
    m_marginTop = top;
    m_marginRight = right;
    m_marginBottom = bottom;
    m_printer.setPageMargins(QMarginsF(left, top, right, bottom), QPageLayout::Millimeter);
}

void MDocTemplate::setPageOrientation(QPrinter::Orientation orientation)
{
    m_printer.setPageOrientation(orientation == QPrinter::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void MDocTemplate::setTextEdit(QTextEdit* tE, bool own)
{
    m_heldHtml.clear();
    m_htmlHeld = false;
    m_pageList->clear();
    m_outputInPages = false;
    m_pagesHeld = false;
    // A text edit this object owned and no one else knows of would be lost when replaced.
    if (m_textEdit && m_ownTextEdit && m_textEdit != tE)
        m_textEdit->deleteLater();

    m_textEdit = tE ? tE : new QTextEdit();
    // A word longer than its table column breaks anywhere rather than widening the
    // column, and with it the table, past the page.
    m_textEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_textEdit->setReadOnly(true);
    // The text edit is never shown. A scroll bar that came or went with new content
    // would make it lay the document out again at its own viewport's width without
    // pages: twice the work for every measure, and not at the page's width.
    m_textEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textEdit->document()->setUndoRedoEnabled(false);
    // Lengths in HTML are pixels of htmlDpi(), scaled to the device that lays
    // them out; printing does so, and the text edit must too, or what the
    // template measures would not be what is printed.
    m_textEdit->document()->documentLayout()->setPaintDevice(m_textEdit);
    m_textEdit->document()->setDocumentMargin(documentMargin());
    m_printer.setResolution(m_textEdit->logicalDpiY());
    m_ownTextEdit = own;
}

void MDocTemplate::setImportDeferred(bool deferred)
{
    if (!deferred)
        importHeldHtml();
    m_importDeferred = deferred;
}

QString MDocTemplate::heldHtml() const
{
    return m_heldHtml;
}

QTextEdit* MDocTemplate::textEditAsSet() const
{
    return m_textEdit;
}

MHtmlPageList* MDocTemplate::pageList() const
{
    return m_pageList;
}

bool MDocTemplate::outputInPages() const
{
    return m_outputInPages;
}

void MDocTemplate::importHeldHtml()
{
    if (m_pagesHeld && m_textEdit) {
        m_pagesHeld = false;
        m_textEdit->setHtml(m_pageList->wholeHtml());
        return;
    }
    if (!m_htmlHeld)
        return;
    m_htmlHeld = false;
    m_textEdit->setHtml(m_heldHtml);
    m_heldHtml.clear();
}

int MDocTemplate::htmlDpi()
{
    return qt_defaultDpiY();
}

double MDocTemplate::documentMargin()
{
    return qtDocumentMargin * htmlDpi() / 96.0;
}

double MDocTemplate::extraMargins()
{
    return 2 * (documentMargin() - qtDocumentMargin);
}

double MDocTemplate::cssPixels(double devicePixels) const
{
    const int dpi = m_textEdit->logicalDpiY();
    return dpi > 0 ? devicePixels * htmlDpi() / dpi : devicePixels;
}

int MDocTemplate::pixelsOfMillimetres(double mm) const
{
    return m_textEdit ? int(mm * htmlDpi() / 25.4) : 0;
}
