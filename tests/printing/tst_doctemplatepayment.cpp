#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "parties/MSellerLogo.h"
#include "printing/MDocTemplate.h"
#include "data/MQrCode.h"

#include <QApplication>
#include <QDir>
#include <QMetaMethod>
#include <QTextEdit>
#include <QtTest>

// What a template reaches through `doc` of the amount in words, the payment QR code and
// the seller's logo, with the options that switch them, and the order of all its slots.
class TestDocTemplatePayment : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void qrCodeOption_data();
    void qrCodeOption();
    void qrImageFileAndSize_data();
    void qrImageFileAndSize();
    void logo_data();
    void logo();
    void priceToWords();
    void slotsInTheirOrder();

private:
    int storePayableDocument(bool cash);

    MTestDatabase m_db;
};

void TestDocTemplatePayment::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    MProgramPaths::pathTemp = m_db.path(QStringLiteral("work/"));
    QVERIFY(QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("temp")));
    QVERIFY(QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("template/logo")));
}

void TestDocTemplatePayment::init()
{
    for (const char* table : {"invoice", "invoice_seller", "seller_logo"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    for (const QString& folder : {QStringLiteral("temp"), QStringLiteral("template/logo")}) {
        QDir dir(MProgramPaths::pathTemp + folder);
        for (const QString& name : dir.entryList(QDir::Files))
            QVERIFY(dir.remove(name));
    }
    MOptions::setOption(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("SHOW_LOGO"), QStringLiteral("1"));
}

// A bank-transfer invoice of 1 234,56 PLN whose seller gets a code; paid in cash it gets none.
int TestDocTemplatePayment::storePayableDocument(bool cash)
{
    const qint64 idSeller = MTestDatabase::insert(
        QStringLiteral("invoice_seller"),
        {{QStringLiteral("firm_short"), QStringLiteral("Firma Testowa")},
         {QStringLiteral("nip"), QStringLiteral("5260250274")},
         {QStringLiteral("bank_account"), QStringLiteral("61109010140000071219812874")},
         {QStringLiteral("invoice_index_format_text"), QStringLiteral("FV [nr]/[rrrr]")}});
    return int(MTestDatabase::insert(QStringLiteral("invoice"),
                                     {{QStringLiteral("id_seller"), idSeller},
                                      {QStringLiteral("invoice_index"), 7},
                                      {QStringLiteral("global_brutto"), 1234.56},
                                      {QStringLiteral("id_pay_form"), cash ? 1 : 2},
                                      {QStringLiteral("date_put"), QStringLiteral("2024-01-15")}}));
}

void TestDocTemplatePayment::qrCodeOption_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("shown");

    QTest::newRow("on") << QStringLiteral("1") << true;
    QTest::newRow("off") << QStringLiteral("0") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("not a flag") << QStringLiteral("tak") << false;
}

void TestDocTemplatePayment::qrCodeOption()
{
    QFETCH(QString, option);
    QFETCH(bool, shown);

    const int payable = storePayableDocument(false);
    const int cash = storePayableDocument(true);
    MOptions::setOption(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), option);

    MDocTemplate doc(QPrinter::ScreenResolution, nullptr);
    doc.setTextEdit();
    const QString payment =
        QStringLiteral("5260250274|PL|61109010140000071219812874|000123456|Firma Testowa|FV 7/2024|||");
    const QString refusal = QStringLiteral("Wybrana forma płatności nie jest pusta lub nie jest przelewem.");

    QCOMPARE(doc.getQrcodeStringPayment(payable), shown ? payment : QString());
    QCOMPARE(doc.getQrcodeStringErrorPayment(payable), shown ? payment : QString());
    QCOMPARE(doc.getQrcodeStringErrorPayment(payable, false), shown ? payment : QString());
    QCOMPARE(doc.getQrcodeStringErrorPayment(payable, true), QString());
    QCOMPARE(doc.getQrcodeStringPayment(cash), QString());
    QCOMPARE(doc.getQrcodeStringErrorPayment(cash, true), shown ? refusal : QString());
    QCOMPARE(doc.getQrcodeHtmlImage(payment, 20, 20, 8).isEmpty(), !shown);
    QCOMPARE(QDir(MProgramPaths::pathTemp + QStringLiteral("temp")).entryList(QDir::Files).size(), shown ? 1 : 0);
}

void TestDocTemplatePayment::qrImageFileAndSize_data()
{
    QTest::addColumn<bool>("textEdit");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<QString>("file");

    const QString payment = QStringLiteral("5260250274|PL|61109010140000071219812874|000123456|Firma Testowa|FV 7/2024|||");
    QTest::newRow("paper") << true << false << m_db.path(QStringLiteral("work/temp/")) + MQrCode::fileName(payment, false);
    QTest::newRow("preview") << true << true << m_db.path(QStringLiteral("work/temp/")) + MQrCode::fileName(payment, true);
    QTest::newRow("no text edit") << false << false << QString();
}

void TestDocTemplatePayment::qrImageFileAndSize()
{
    QFETCH(bool, textEdit);
    QFETCH(bool, preview);
    QFETCH(QString, file);

    const QString payment = QStringLiteral("5260250274|PL|61109010140000071219812874|000123456|Firma Testowa|FV 7/2024|||");
    MDocTemplate doc(QPrinter::ScreenResolution, nullptr);
    // 20 mm at scale 8 in pixels of HTML, which the test program lays out at 96 dpi
    // whatever the text edit's resolution.
    QString element;
    if (textEdit) {
        doc.setTextEdit();
        element = QStringLiteral("<img src=\"%1\" width=\"75\" height=\"75\" border=\"0\">").arg(file);
    }
    doc.isPreview(preview);

    QCOMPARE(doc.getQrcodeHtmlImage(payment, 20, 20, 8), element);
    QCOMPARE(doc.getQrcodeHtmlImage(QString(), 20, 20, 8), QString());
    const QImage image(MProgramPaths::pathTemp + QStringLiteral("temp/") + MQrCode::fileName(payment, preview));
    QCOMPARE(image.isNull(), !textEdit);
    if (textEdit) {
        QCOMPARE(image.size(), QSize(296, 296));
        QCOMPARE(image.format(), preview ? QImage::Format_ARGB32 : QImage::Format_Mono);
    }
}

void TestDocTemplatePayment::logo_data()
{
    QTest::addColumn<QString>("showLogo");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<bool>("fileWritten");
    QTest::addColumn<int>("idSeller");
    QTest::addColumn<QString>("expected");

    const QString element = QStringLiteral("<img src=\"%1\" border=\"0\" width=\"%2\" height=\"%3\">");
    const QString saved = m_db.path(QStringLiteral("work/template/logo/seller_3.png"));
    const QString previewFile = m_db.path(QStringLiteral("work/template/logo/seller_preview_3.png"));

    QTest::newRow("zoom 2") << "1" << 2 << false << true << 3 << element.arg(saved).arg(150).arg(60);
    QTest::newRow("zoom 1") << "1" << 1 << false << true << 3 << element.arg(saved).arg(300).arg(120);
    QTest::newRow("zoom 4 drops remainders") << "1" << 4 << false << true << 3 << element.arg(saved).arg(75).arg(30);
    QTest::newRow("zoom 0 counts as 1") << "1" << 0 << false << true << 3 << element.arg(saved).arg(300).arg(120);
    QTest::newRow("preview run") << "1" << 2 << true << true << 3 << element.arg(previewFile).arg(150).arg(60);
    QTest::newRow("option off") << "0" << 2 << false << true << 3 << QString();
    QTest::newRow("option empty") << "" << 2 << false << true << 3 << QString();
    QTest::newRow("no file") << "1" << 2 << false << false << 3 << QString();
    QTest::newRow("no logo row") << "1" << 2 << false << true << 4 << QString();
    QTest::newRow("no seller") << "1" << 2 << false << true << 0 << QString();
}

void TestDocTemplatePayment::logo()
{
    QFETCH(QString, showLogo);
    QFETCH(int, zoom);
    QFETCH(bool, preview);
    QFETCH(bool, fileWritten);
    QFETCH(int, idSeller);
    QFETCH(QString, expected);

    MTestDatabase::insert(QStringLiteral("seller_logo"), {{QStringLiteral("id_seller"), 3},
                                                          {QStringLiteral("zoom"), zoom},
                                                          {QStringLiteral("width"), 300},
                                                          {QStringLiteral("height"), 120},
                                                          {QStringLiteral("data"), QByteArray("png")}});
    if (fileWritten) {
        QImage image(300, 120, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        QVERIFY(image.save(MSellerLogo::savedPath(3)));
        QVERIFY(image.scaled(300 / qMax(zoom, 1), 120 / qMax(zoom, 1)).save(MSellerLogo::savedPreviewPath(3)));
    }
    MOptions::setOption(QStringLiteral("SHOW_LOGO"), showLogo);

    MDocTemplate doc(QPrinter::ScreenResolution, nullptr);
    doc.isPreview(preview);
    QCOMPARE(doc.getHtmlLogo(idSeller), expected);
}

void TestDocTemplatePayment::priceToWords()
{
    MDocTemplate doc(QPrinter::ScreenResolution, nullptr);
    QCOMPARE(doc.priceToWords(1234567890.12, true, false, QStringLiteral("PLN")),
             QStringLiteral("jeden miliard dwieście trzydzieści cztery miliony pięćset sześćdziesiąt siedem tysięcy "
                            "osiemset dziewięćdziesiąt PLN 12/100"));
    QCOMPARE(doc.priceToWords(0.5, false, true, QStringLiteral("PLN")), QStringLiteral("zer*50/100"));
}

// Templates call the slots by name through the meta-object; its table keeps this order.
void TestDocTemplatePayment::slotsInTheirOrder()
{
    const QStringList expected = {
        "QString amountFormat(double,int)",
        "int countDaysFromStrings(QString,QString)",
        "QString escapeHtml(QString)",
        "double getMMHeight()",
        "QDate getDateFrom()",
        "QString getDateFromStr(QString)",
        "QDate getDatePrint()",
        "QString getDatePrintStr(QString)",
        "QDate getDateTo()",
        "QString getDateToStr(QString)",
        "bool getDocAborted()",
        "int getDocHeight()",
        "QString getDocOpenName()",
        "int getDocWidth()",
        "QString getDocViewName()",
        "int getEnvelopeWindowBottom()",
        "int getEnvelopeWindowLeft()",
        "int getEnvelopeWindowRight()",
        "int getEnvelopeWindowTop()",
        "QString getHtmlLogo(int)",
        "int getIdRecord()",
        "int getIdRecordParent(int)",
        "int getIdSellerBase()",
        "QString getInvoiceContractText(int)",
        "double getInvoiceCorrectTotalPrice(int)",
        "QStringList getInvoiceKindName(int)",
        "QString getInvoiceNumStr(int)",
        "QString getInvoicePartDate(int)",
        "double getInvoicePartPrice(int)",
        "double getInvoicePartTotalPrice(int)",
        "QString getInvoicePayedAllDate(int)",
        "int getInvoiceSellerBase(int)",
        "double getInvoiceTotalPrice(int)",
        "QString getInvoiceType(int)",
        "QString getInvoiceType2(int)",
        "QString getInvoiceType3(int)",
        "int getListSize(QVariantList)",
        "int getMarginBottom()",
        "int getMarginLeft()",
        "int getMarginRight()",
        "int getMarginTop()",
        "QString getMonthName(QString,bool)",
        "QString getMonthName(QString)",
        "int getPageGenerated()",
        "QString getOption(QString)",
        "int getPageHeight()",
        "int getPageWidth()",
        "QPrinter* getPrinter()",
        "QPrinter* getPrinterClone()",
        "int getPrinterPageHeight()",
        "int getPrinterPageWidth()",
        "QString getPrintFooter()",
        "QString getQrcodeHtmlImage(QString,int,int,int)",
        "QString getQrcodeStringPayment(int)",
        "QString getQrcodeStringErrorPayment(int,bool)",
        "QString getQrcodeStringErrorPayment(int)",
        "QVariantList getSqlQuery(QString)",
        "QTextEdit* getTextEdit()",
        "bool isDocAborted()",
        "bool isDocGenerated()",
        "bool isPaging()",
        "void isPaging(bool)",
        "bool isPdf()",
        "void isPdf(bool)",
        "bool isPreview()",
        "void isPreview(bool)",
        "bool isTextPayed(int)",
        "QString moneyFormat(double,int)",
        "QString moneyFormat(double)",
        "QString noWrap(QString)",
        "QString numberFormat(double)",
        "QString priceToWords(double,bool,bool,QString)",
        "void setDateFrom(QDate)",
        "void setDatePrint(QDate)",
        "void setDateTo(QDate)",
        "void setDocAborted(bool)",
        "void setDocGenerated(bool)",
        "void setDocOpenName(QString)",
        "void setDocView(int)",
        "void setHtml(QString)",
        "void setIdRecord(int)",
        "void setIdSellerBase(int)",
        "void setOwnTextEdit(bool)",
        "void setPageGenerated(int)",
        "void setPageMargins(double,double,double,double)",
        "void setPageOrientation(QPrinter::Orientation)",
        "void setTextEdit(QTextEdit*,bool)",
        "void setTextEdit(QTextEdit*)",
        "void setTextEdit()",
    };

    const QMetaObject& meta = MDocTemplate::staticMetaObject;
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Public);
        methods << QString::fromLatin1(method.typeName()) + QLatin1Char(' ') + QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(methods, expected);
}

INVOICE_TEST_MAIN(TestDocTemplatePayment)
#include "tst_doctemplatepayment.moc"
