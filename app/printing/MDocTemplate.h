#pragma once

#include <QDate>
#include <QObject>
#include <QPrinter>
#include <QScriptable>
#include <QString>
#include <QStringList>
#include <QVariantList>

class MHtmlPageList;
class QTextEdit;

// The object a print template sees as `doc`: the run's state and page geometry,
// the text edit that measures and finally holds the template's HTML, and the
// look-ups and number texts the template prints. One object serves one run.
//
// The slots keep one fixed order, which the meta-object follows; a new slot goes
// in at its place, not at the end. Sizes are pixels of the text edit.
class MDocTemplate : public QObject, public QScriptable
{
    Q_OBJECT

public:
    MDocTemplate(QPrinter::PrinterMode mode, QObject* parent);
    ~MDocTemplate() override;

    // With the import deferred, setHtml() only holds the HTML; the text edit takes
    // it in when it is asked for: by getTextEdit(), getDocHeight() or getDocWidth().
    // The HTML a run ends with can then be printed a page at a time, without the
    // whole document ever being laid out (MTemplateRun::printDocument).
    void setImportDeferred(bool deferred);
    // The HTML held back from the text edit; empty when there is none.
    QString heldHtml() const;
    // The text edit as it stands, without taking in the held HTML: for its page
    // set-up and its device.
    QTextEdit* textEditAsSet() const;
    // The pages a paginated template hands over one by one (`doc.pages`); once the
    // template has finished them they are the run's output, taken into the text
    // edit only when it is asked for, as held HTML is.
    MHtmlPageList* pageList() const;
    // True while the finished page list is the run's output, not HTML set since.
    bool outputInPages() const;

public slots:
    QString amountFormat(double d, int prec);
    int countDaysFromStrings(QString date1, QString date2);
    // Database text as HTML text: every template passes each value it prints through
    // here, so that markup in a name prints as the characters it is. Long words get
    // invisible break chances, so that they wrap in their columns at little cost.
    QString escapeHtml(QString text);
    double getMMHeight();
    QDate getDateFrom();
    QString getDateFromStr(QString format);
    QDate getDatePrint();
    QString getDatePrintStr(QString format);
    QDate getDateTo();
    QString getDateToStr(QString format);
    bool getDocAborted();
    int getDocHeight();
    QString getDocOpenName();
    int getDocWidth();
    QString getDocViewName();
    int getEnvelopeWindowBottom();
    int getEnvelopeWindowLeft();
    int getEnvelopeWindowRight();
    int getEnvelopeWindowTop();
    // The seller's logo at its stored size, when option SHOW_LOGO is 1.
    QString getHtmlLogo(int idSellerBase);
    int getIdRecord();
    int getIdRecordParent(int idInvoice);
    int getIdSellerBase();
    QString getInvoiceContractText(int idInvoice);
    double getInvoiceCorrectTotalPrice(int idInvoice);
    QStringList getInvoiceKindName(int idInvoice);
    QString getInvoiceNumStr(int idInvoice);
    QString getInvoicePartDate(int idInvoice);
    double getInvoicePartPrice(int idInvoice);
    double getInvoicePartTotalPrice(int idInvoice);
    QString getInvoicePayedAllDate(int idInvoice);
    int getInvoiceSellerBase(int idInvoice);
    double getInvoiceTotalPrice(int idInvoice);
    QString getInvoiceType(int idInvoice);
    QString getInvoiceType2(int idInvoice);
    QString getInvoiceType3(int idInvoice);
    int getListSize(QVariantList list);
    int getMarginBottom();
    int getMarginLeft();
    int getMarginRight();
    int getMarginTop();
    QString getMonthName(QString month, bool checkStyle = false);
    int getPageGenerated();
    QString getOption(QString key);
    int getPageHeight();
    int getPageWidth();
    QPrinter* getPrinter();
    // A new printer with this one's page set-up and the stored margins; the caller owns it.
    QPrinter* getPrinterClone();
    int getPrinterPageHeight();
    int getPrinterPageWidth();
    QString getPrintFooter();
    // The payment slots answer empty text unless option SHOW_QR_CODE__PAY_MOBILE is "1".
    QString getQrcodeHtmlImage(QString str, int widthMM, int heightMM, int scale);
    QString getQrcodeStringPayment(int idInvoice);
    // The payment text, or with bReturnError why the document gets no QR code.
    QString getQrcodeStringErrorPayment(int idInvoice, bool bReturnError = false);
    QVariantList getSqlQuery(QString sql);
    QTextEdit* getTextEdit();
    bool isDocAborted();
    bool isDocGenerated();
    bool isPaging();
    void isPaging(bool b);
    bool isPdf();
    void isPdf(bool b);
    bool isPreview();
    void isPreview(bool b);
    bool isTextPayed(int idInvoice);
    QString moneyFormat(double d, int prec = 2);
    QString noWrap(QString str);
    QString numberFormat(double d);
    QString priceToWords(double price, bool bFullWords, bool bFullCents, QString strCurrency);
    void setDateFrom(QDate date);
    void setDatePrint(QDate date);
    void setDateTo(QDate date);
    void setDocAborted(bool b);
    void setDocGenerated(bool b);
    void setDocOpenName(QString name);
    void setDocView(int iDocView);
    void setHtml(QString s);
    void setIdRecord(int i);
    void setIdSellerBase(int i);
    void setOwnTextEdit(bool own);
    void setPageGenerated(int page);
    void setPageMargins(double left, double top, double right, double bottom);
    void setPageOrientation(QPrinter::Orientation orientation);
    // Without tE a new text edit without parent; the object releases it when own is true.
    void setTextEdit(QTextEdit* tE = nullptr, bool own = true);

private:
    void importHeldHtml();
    // Pixels per inch of lengths in HTML as the text layout takes them: 96 dpi
    // under Qt::AA_Use96Dpi, otherwise the screen's logical resolution. A page
    // measured in other pixels would print larger or smaller than the paper.
    static int htmlDpi();
    // The margin around the text edit's document in pixels of HTML: Qt's 4 pixels
    // at 96 dpi, so that the page starts at the same place on paper at any screen
    // resolution.
    static double documentMargin();
    // What the document's margins take beyond Qt's 4 pixels a side, which the
    // templates leave room for: the page they are given is smaller by it.
    static double extraMargins();
    // Millimetres in pixels of HTML.
    int pixelsOfMillimetres(double mm) const;
    // Pixels of the text edit as pixels of HTML.
    double cssPixels(double devicePixels) const;

    bool m_paging = false;
    bool m_pdf = false;
    bool m_preview = false;
    bool m_docAborted = false;
    bool m_docGenerated = false;
    QDate m_dateFrom;
    QDate m_datePrint;
    QDate m_dateTo;
    QString m_docOpenName;
    int m_envelopeWindowBottom = 0;
    int m_envelopeWindowLeft = 0;
    int m_envelopeWindowRight = 0;
    int m_envelopeWindowTop = 0;
    int m_docView = 0;
    int m_idRecord = 0;
    int m_idSellerBase = 0;
    int m_pageGenerated = 0;
    QPrinter m_printer;
    double m_marginBottom = 0;
    double m_marginLeft = 0;
    double m_marginRight = 0;
    double m_marginTop = 0;
    QTextEdit* m_textEdit = nullptr;
    bool m_ownTextEdit = true;
    bool m_importDeferred = false;
    bool m_htmlHeld = false;
    QString m_heldHtml;
    MHtmlPageList* m_pageList = nullptr;
    bool m_outputInPages = false;
    bool m_pagesHeld = false;
};
