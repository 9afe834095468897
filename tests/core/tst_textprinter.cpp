#include "MTestEnvironment.h"
#include "MTestPdf.h"
#include "core/MHtmlPages.h"
#include "core/MTextPrinter.h"

#include <QApplication>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <QProcess>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

// A printer that keeps the text of each page it is given and can be told to
// make copies itself or to be cancelled after some pages, as a real
// printer's queue can.
class RecordingPrinter : public QPrinter
{
public:
    RecordingPrinter()
        : QPrinter(QPrinter::HighResolution)
    {
        setEngines(&m_engine, &m_engine);
    }

    QStringList pages() const { return m_engine.pages; }
    void setSupportsMultipleCopies(bool supports) { m_engine.supportsMultipleCopies = supports; }
    void abortAfterPages(int pages) { m_engine.abortAfterPages = pages; }

private:
    class Engine : public QPaintEngine, public QPrintEngine
    {
    public:
        Engine()
            : QPaintEngine(QPaintEngine::AllFeatures)
        {
        }

        bool begin(QPaintDevice*) override
        {
            pages = QStringList{QString()};
            state = QPrinter::Active;
            return true;
        }
        bool end() override
        {
            state = QPrinter::Idle;
            return true;
        }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF&, const QTextItem& textItem) override
        {
            QString& page = pages.last();
            page += (page.isEmpty() ? QString() : QStringLiteral(" ")) + textItem.text();
        }
        Type type() const override { return QPaintEngine::User; }

        void setProperty(PrintEnginePropertyKey key, const QVariant& value) override { properties[key] = value; }
        QVariant property(PrintEnginePropertyKey key) const override
        {
            switch (key) {
            case PPK_SupportsMultipleCopies:
                return supportsMultipleCopies;
            case PPK_Resolution:
                return properties.value(key, 1200);
            case QPrintEngine::PPK_QPageLayout:
                return QVariant::fromValue(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
            default:
                return properties.value(key);
            }
        }
        bool newPage() override
        {
            if (pages.size() == abortAfterPages)
                state = QPrinter::Aborted;
            pages.append(QString());
            return true;
        }
        bool abort() override
        {
            state = QPrinter::Aborted;
            return true;
        }
        int metric(QPaintDevice::PaintDeviceMetric metricKind) const override
        {
            const int dpi = property(PPK_Resolution).toInt();
            const QRect paintRect = property(QPrintEngine::PPK_QPageLayout).value<QPageLayout>().paintRectPixels(dpi);
            switch (metricKind) {
            case QPaintDevice::PdmWidth:
                return paintRect.width();
            case QPaintDevice::PdmHeight:
                return paintRect.height();
            case QPaintDevice::PdmWidthMM:
                return 190;
            case QPaintDevice::PdmHeightMM:
                return 277;
            case QPaintDevice::PdmNumColors:
                return INT_MAX;
            case QPaintDevice::PdmDepth:
                return 32;
            case QPaintDevice::PdmDevicePixelRatio:
                return 1;
            case QPaintDevice::PdmDevicePixelRatioScaled:
                return 1 * QPaintDevice::devicePixelRatioFScale();
            default:
                return dpi;
            }
        }
        QPrinter::PrinterState printerState() const override { return state; }

        QMap<PrintEnginePropertyKey, QVariant> properties;
        QStringList pages;
        QPrinter::PrinterState state = QPrinter::Idle;
        bool supportsMultipleCopies = false;
        int abortAfterPages = -1;
    };

    Engine m_engine;
};

// Prints to PDF and reads the result back page by page with poppler's tools,
// so that what is checked is what a printer would have received.
class TestTextPrinter : public QObject
{
    Q_OBJECT

private slots:
    void pagesOfThreePageDocument_data();
    void pagesOfThreePageDocument();
    void longTextFlowsOverPrinterPages();
    void documentWithItsOwnPagesIsScaledToPrinterPages();
    void printerMakingCopiesGetsDocumentOnce_data();
    void printerMakingCopiesGetsDocumentOnce();
    void cancelledPrinterGetsNoFurtherPage_data();
    void cancelledPrinterGetsNoFurtherPage();
    void htmlSplitIntoPages_data();
    void htmlSplitIntoPages();
    void pagesPrintedOneByOne_data();
    void pagesPrintedOneByOne();

private:
    QTemporaryDir m_dir;
};

namespace {

// Three pages in the form the register writes them: each a top-level <div>, the
// ones after the first with a page break; the second holds a break of its own,
// so that it prints on two pages.
const QString sectionedHtml = QStringLiteral(
    "<html><head><title>Rejestr</title></head><body style=\"font-size:8pt;\">"
    "<div><p>Strona 1</p></div>"
    "<div style=\"page-break-before:always;\"><p>Strona 2</p>"
    "<p style=\"page-break-before:always\">Strona 3</p></div>"
    "<div style=\"page-break-before:always;\"><p>Strona 4</p></div>"
    "</body></html>");

// A text edit laid out in pages of 300 by 420 pixels, as a template's is. One that
// neither wraps nor shows scroll bars keeps the page size given to its document;
// the document itself still wraps its lines at the page width.
void setUpPages(QTextEdit* textEdit, const QString& html)
{
    textEdit->setLineWrapMode(QTextEdit::NoWrap);
    textEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QTextOption wrapping = textEdit->document()->defaultTextOption();
    wrapping.setWrapMode(QTextOption::WordWrap);
    textEdit->document()->setDefaultTextOption(wrapping);
    textEdit->document()->setPageSize(QSizeF(300, 420));
    textEdit->setHtml(html);
}

} // namespace

void TestTextPrinter::pagesOfThreePageDocument_data()
{
    QTest::addColumn<int>("fromPage");
    QTest::addColumn<int>("toPage");
    QTest::addColumn<bool>("lastPageFirst");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<QStringList>("expected");

    const QString one = QStringLiteral("Strona 1");
    const QString two = QStringLiteral("Strona 2");
    const QString three = QStringLiteral("Strona 3");

    QTest::newRow("whole document") << 0 << 0 << false << 1 << false << QStringList{one, two, three};
    QTest::newRow("pages 2 to 99 of three") << 2 << 99 << false << 1 << false << QStringList{two, three};
    QTest::newRow("last page first") << 0 << 0 << true << 1 << false << QStringList{three, two, one};
    QTest::newRow("pages 2 to 99, last page first") << 2 << 99 << true << 1 << false << QStringList{three, two};
    QTest::newRow("two copies collated") << 2 << 99 << false << 2 << true << QStringList{two, three, two, three};
    QTest::newRow("two copies not collated") << 2 << 99 << false << 2 << false << QStringList{two, two, three, three};
    QTest::newRow("two copies collated, last page first")
        << 0 << 0 << true << 2 << true << QStringList{three, two, one, three, two, one};
    QTest::newRow("two copies not collated, last page first")
        << 2 << 99 << true << 2 << false << QStringList{three, three, two, two};
    QTest::newRow("range past the last page") << 4 << 9 << false << 1 << false << QStringList();
}

void TestTextPrinter::pagesOfThreePageDocument()
{
    QFETCH(int, fromPage);
    QFETCH(int, toPage);
    QFETCH(bool, lastPageFirst);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(QStringList, expected);

    QTextEdit textEdit;
    textEdit.setHtml(QStringLiteral("<p>Strona 1</p>"
                                    "<p style=\"page-break-before: always\">Strona 2</p>"
                                    "<p style=\"page-break-before: always\">Strona 3</p>"));

    const QString fileName = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setFromTo(fromPage, toPage);
    printer.setPageOrder(lastPageFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);

    MTextPrinter::print(&textEdit, &printer, false);
    QCOMPARE(printer.resolution(), 600);

    const QStringList texts = MTestPdf::pageTexts(fileName);
    if (expected.isEmpty()) {
        // The PDF writer always closes one page; nothing may be drawn on it.
        QVERIFY(!texts.isEmpty());
        QCOMPARE(texts.join(QString()), QString());
    } else {
        QCOMPARE(texts, expected);
    }
}

void TestTextPrinter::longTextFlowsOverPrinterPages()
{
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines.append(QStringLiteral("Pozycja %1").arg(i));

    QTextEdit textEdit;
    textEdit.setHtml(QStringLiteral("<html><head><title>Zestawienie 1/2026</title></head><body><p>")
                     + lines.join(QStringLiteral("</p><p>")) + QStringLiteral("</p></body></html>"));
    const QSizeF pageSize = textEdit.document()->pageSize();
    QVERIFY(!pageSize.isValid() || pageSize.isNull() || pageSize.height() == INT_MAX);

    const QString fileName = m_dir.filePath(QStringLiteral("unpaginated.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    MTextPrinter::print(&textEdit, &printer, false);

    QCOMPARE(MTestPdf::info(fileName, QStringLiteral("Title")), QStringLiteral("Zestawienie 1/2026"));
    const QStringList texts = MTestPdf::pageTexts(fileName);
    QVERIFY2(texts.size() > 1, qPrintable(QString::number(texts.size())));
    // Every line once, in order, none cut off between two pages.
    QCOMPARE(texts.join(QLatin1Char(' ')), lines.join(QLatin1Char(' ')));
    QVERIFY(texts.first().startsWith(QStringLiteral("Pozycja 1 Pozycja 2 ")));
}

void TestTextPrinter::documentWithItsOwnPagesIsScaledToPrinterPages()
{
    QTextEdit textEdit;
    setUpPages(&textEdit, QStringLiteral("<p>Strona 1 ") + QStringLiteral("wiersz ").repeated(40)
                              + QStringLiteral("</p><p style=\"page-break-before: always\">Strona 2</p>"));
    QCOMPARE(textEdit.document()->pageSize(), QSizeF(300, 420));
    QCOMPARE(textEdit.document()->pageCount(), 2);

    const QString fileName = m_dir.filePath(QStringLiteral("own-pages.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setPageOrder(QPrinter::LastPageFirst);
    MTextPrinter::print(&textEdit, &printer, false);
    const QStringList texts = MTestPdf::pageTexts(fileName);
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts.at(0), QStringLiteral("Strona 2"));
    QVERIFY(texts.at(1).startsWith(QStringLiteral("Strona 1 wiersz wiersz")));

    // The lines wrapped at 300 pixels end near the right edge of the printed
    // area, not where 300 screen pixels would end on paper.
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("2"),
                                                QStringLiteral("-l"), QStringLiteral("2"), fileName,
                                                QStringLiteral("-")});
    QVERIFY(process.waitForFinished());
    const QString boxes = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpressionMatch page =
        QRegularExpression(QStringLiteral("<page width=\"([0-9.]+)\"")).match(boxes);
    QVERIFY2(page.hasMatch(), qPrintable(boxes));
    double rightmost = 0;
    QRegularExpressionMatchIterator words = QRegularExpression(QStringLiteral("xMax=\"([0-9.]+)\"")).globalMatch(boxes);
    while (words.hasNext())
        rightmost = qMax(rightmost, words.next().captured(1).toDouble());
    const double pageWidth = page.captured(1).toDouble();
    QVERIFY2(rightmost > 0.8 * pageWidth && rightmost < pageWidth, qPrintable(boxes));
}

void TestTextPrinter::printerMakingCopiesGetsDocumentOnce_data()
{
    QTest::addColumn<bool>("supportsMultipleCopies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<QStringList>("expected");

    const QString one = QStringLiteral("Strona 1");
    const QString two = QStringLiteral("Strona 2");
    QTest::newRow("copies made by the printer, collated") << true << true << QStringList{one, two};
    QTest::newRow("copies made by the printer, not collated") << true << false << QStringList{one, two};
    QTest::newRow("copies made here, collated") << false << true << QStringList{one, two, one, two, one, two};
    QTest::newRow("copies made here, not collated") << false << false << QStringList{one, one, one, two, two, two};
}

void TestTextPrinter::printerMakingCopiesGetsDocumentOnce()
{
    QFETCH(bool, supportsMultipleCopies);
    QFETCH(bool, collate);
    QFETCH(QStringList, expected);

    QTextEdit textEdit;
    textEdit.setHtml(QStringLiteral("<p>Strona 1</p><p style=\"page-break-before: always\">Strona 2</p>"));
    RecordingPrinter printer;
    printer.setSupportsMultipleCopies(supportsMultipleCopies);
    printer.setCopyCount(3);
    printer.setCollateCopies(collate);
    QVERIFY(printer.isValid());

    MTextPrinter::print(&textEdit, &printer, false);
    QCOMPARE(printer.pages(), expected);
}

void TestTextPrinter::cancelledPrinterGetsNoFurtherPage_data()
{
    QTest::addColumn<bool>("byPages");
    QTest::newRow("whole document") << false;
    QTest::newRow("page by page") << true;
}

void TestTextPrinter::cancelledPrinterGetsNoFurtherPage()
{
    QFETCH(bool, byPages);
    QTextEdit textEdit;
    setUpPages(&textEdit, sectionedHtml);
    RecordingPrinter printer;
    printer.abortAfterPages(2);
    if (byPages)
        MTextPrinter::printPages(MHtmlPages::split(sectionedHtml), &textEdit, &printer, false);
    else
        MTextPrinter::print(&textEdit, &printer, false);
    // The queue was cancelled while the second page went out: the new page
    // already started stays empty and the third is never drawn.
    QCOMPARE(printer.pages(), (QStringList{QStringLiteral("Strona 1"), QStringLiteral("Strona 2"), QString()}));
}

void TestTextPrinter::htmlSplitIntoPages_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("expected");

    const QString head = QStringLiteral("<html><head><title>R</title></head><body style=\"font-size:8pt;\">");
    const QString end = QStringLiteral("</body></html>");
    const QString pageBreak = QStringLiteral("<div style=\"page-break-before:always;\">");

    QTest::newRow("three pages")
        << head + QStringLiteral("<div>A</div>") + pageBreak + QStringLiteral("<table><tr><td>B</td></tr></table></div>")
               + pageBreak + QStringLiteral("C</div>") + end
        << QStringList{head + QStringLiteral("<div>A</div>") + end,
                       head + QStringLiteral("<div><table><tr><td>B</td></tr></table></div>") + end,
                       head + QStringLiteral("<div>C</div>") + end};
    QTest::newRow("one page") << head + QStringLiteral("<div>A</div>") + end << QStringList();
    QTest::newRow("break inside a page")
        << head + QStringLiteral("<div>A<div>") + pageBreak + QStringLiteral("B</div></div></div>") + end
        << QStringList();
    QTest::newRow("break of another form")
        << head + QStringLiteral("<p>A</p><p style=\"page-break-before: always\">B</p>") + end << QStringList();
    QTest::newRow("no body") << QStringLiteral("<div>A</div>") + pageBreak + QStringLiteral("B</div>")
                             << QStringList();
}

void TestTextPrinter::htmlSplitIntoPages()
{
    QFETCH(QString, html);
    QFETCH(QStringList, expected);
    QCOMPARE(MHtmlPages::split(html), expected);
}

void TestTextPrinter::pagesPrintedOneByOne_data()
{
    pagesOfThreePageDocument_data();
}

// Printed page by page, a document goes to the printer as it does printed whole,
// for every range, order and way of making copies; the second of its three
// sections takes two pages.
void TestTextPrinter::pagesPrintedOneByOne()
{
    QFETCH(int, fromPage);
    QFETCH(int, toPage);
    QFETCH(bool, lastPageFirst);
    QFETCH(int, copies);
    QFETCH(bool, collate);

    QTextEdit textEdit;
    setUpPages(&textEdit, sectionedHtml);
    QCOMPARE(textEdit.document()->pageCount(), 4);
    const QStringList sections = MHtmlPages::split(sectionedHtml);
    QCOMPARE(sections.size(), 3);

    QStringList printed[2];
    for (int byPages = 0; byPages < 2; ++byPages) {
        RecordingPrinter printer;
        printer.setFromTo(fromPage, toPage);
        printer.setPageOrder(lastPageFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
        if (byPages)
            MTextPrinter::printPages(sections, &textEdit, &printer, false);
        else
            MTextPrinter::print(&textEdit, &printer, false);
        printed[byPages] = printer.pages();
    }
    QCOMPARE(printed[1], printed[0]);
    QVERIFY(printed[0].size() >= copies);
}

INVOICE_TEST_MAIN(TestTextPrinter)
#include "tst_textprinter.moc"
