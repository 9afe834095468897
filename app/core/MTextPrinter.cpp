#include "MTextPrinter.h"

#include "MPageImporter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <climits>
#include <memory>
#include <numeric>

namespace {

void setDocName(QPrinter* printer, const QString& title)
{
    if (!title.isEmpty())
        printer->setDocName(title);
}

bool preparePainter(QPainter& painter)
{
    if (!painter.isActive())
        return false;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    return true;
}

// Scales the painter so that a page of pageSize, in pixels of the device the
// document was laid out on, fills the printer's page rectangle.
void scaleToPage(QPainter& painter, QPrinter* printer, const QSizeF& pageSize, const QPaintDevice* source)
{
    const QRect pageRect = printer->pageLayout().paintRectPixels(printer->resolution());
    const qreal scaleX = printer->logicalDpiX() / qreal(source->logicalDpiX());
    const qreal scaleY = printer->logicalDpiY() / qreal(source->logicalDpiY());
    painter.scale(scaleX, scaleY);
    const QSizeF scaledPageSize(pageSize.width() * scaleX, pageSize.height() * scaleY);
    painter.scale(pageRect.width() / scaledPageSize.width(), pageRect.height() / scaledPageSize.height());
}

// A printer that makes the copies itself gets the document once.
int madeCopies(QPrinter* printer)
{
    return printer->supportsMultipleCopies() ? 1 : qMax(printer->copyCount(), 1);
}

bool stopped(QPrinter* printer)
{
    return printer->printerState() == QPrinter::Aborted || printer->printerState() == QPrinter::Error;
}

// A printer that was stopped by its user has not failed.
bool failed(QPrinter* printer)
{
    return printer->printerState() == QPrinter::Error;
}

// Draws documents laid out in pages of one size on a printer, page after page.
class MPagePainter
{
public:
    MPagePainter(QPrinter* printer, const QSizeF& pageSize)
        : m_printer(printer)
        , m_body(QPointF(0, 0), pageSize)
    {
    }

    // Starts the printer under title; false when it cannot be painted on.
    bool begin(const QString& title, bool preview, const QPaintDevice* device)
    {
        setDocName(m_printer, title);
        if (!preview)
            m_printer->setResolution(600);
        if (!m_painter.begin(m_printer) || !preparePainter(m_painter))
            return false;
        scaleToPage(m_painter, m_printer, m_body.size(), device);
        return true;
    }

    // Draws page `page` of document on the next printer page; false once the
    // printer has stopped: nothing more goes to it.
    bool draw(QTextDocument* document, int page)
    {
        if (!m_first)
            m_printer->newPage();
        m_first = false;
        if (stopped(m_printer))
            return false;
        MTextPrinter::printPage(page, &m_painter, document, m_body);
        return true;
    }

    // Ends the printer's job; false when the printer reports an error.
    bool end()
    {
        m_painter.end();
        return !failed(m_printer);
    }

private:
    QPrinter* m_printer;
    const QRectF m_body;
    QPainter m_painter;
    bool m_first = true;
};

QVector<int> everySection(int count)
{
    QVector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

} // namespace

QVector<int> MTextPrinter::pageSequence(int pageCount, int fromPage, int toPage, int copies, bool collate,
                                        bool lastPageFirst)
{
    if (fromPage == 0 && toPage == 0) {
        fromPage = 1;
        toPage = pageCount;
    }
    fromPage = qMax(fromPage, 1);
    toPage = qMin(toPage, pageCount);
    if (toPage < fromPage)
        return {};

    QVector<int> pages;
    for (int page = fromPage; page <= toPage; ++page)
        pages.append(page);
    if (lastPageFirst)
        std::reverse(pages.begin(), pages.end());

    copies = qMax(copies, 1);
    QVector<int> sequence;
    sequence.reserve(pages.size() * copies);
    if (collate) {
        // Collated copies are whole documents one after another: 1, 2, 1, 2.
        for (int copy = 0; copy < copies; ++copy)
            sequence += pages;
    } else {
        for (int page : qAsConst(pages)) {
            for (int copy = 0; copy < copies; ++copy)
                sequence.append(page);
        }
    }
    return sequence;
}

bool MTextPrinter::print(QTextEdit* textEdit, QPrinter* printer, bool preview)
{
    if (!textEdit || !printer || !printer->isValid())
        return false;

    QTextDocument* document = textEdit->document();
    setDocName(printer, document->metaInformation(QTextDocument::DocumentTitle));

    const QSizeF pageSize = document->pageSize();
    const bool paginated = pageSize.isValid() && !pageSize.isNull() && pageSize.height() != INT_MAX;

    if (!preview)
        printer->setResolution(600);

    QPainter painter(printer);
    if (!preparePainter(painter))
        return false;

    std::unique_ptr<QTextDocument> clone;
    QRectF body;

    if (paginated) {
        body = QRectF(QPointF(0, 0), pageSize);
        const QPaintDevice* source = document->documentLayout()->paintDevice();
        scaleToPage(painter, printer, pageSize, source ? source : textEdit);
    } else {
        // Laid out afresh on the printer itself, so that the text fills its pages.
        const QRect pageRect = printer->pageLayout().paintRectPixels(printer->resolution());
        clone.reset(document->clone());
        document = clone.get();
        document->documentLayout()->setPaintDevice(painter.device());
        body = QRectF(0, 0, pageRect.width(), pageRect.height());
        document->setPageSize(body.size());
    }

    const QVector<int> sequence =
        pageSequence(document->pageCount(), printer->fromPage(), printer->toPage(), madeCopies(printer),
                     printer->collateCopies(), printer->pageOrder() == QPrinter::LastPageFirst);

    for (int i = 0; i < sequence.size(); ++i) {
        if (stopped(printer))
            break;
        printPage(sequence.at(i), &painter, document, body);
        if (i + 1 < sequence.size())
            printer->newPage();
    }
    painter.end();
    return !failed(printer);
}

bool MTextPrinter::printPages(const QStringList& pages, QTextEdit* textEdit, QPrinter* printer, bool preview)
{
    return printPages(pages.size(), [pages](int i) { return pages.at(i); }, textEdit, printer, preview);
}

bool MTextPrinter::printPages(int sections, const std::function<QString(int)>& section, QTextEdit* textEdit,
                              QPrinter* printer, bool preview)
{
    if (!textEdit || sections <= 0 || !printer || !printer->isValid())
        return false;

    const int copies = madeCopies(printer);
    const bool collate = printer->collateCopies();
    MPagePainter painter(printer, textEdit->document()->pageSize());

    if (printer->pageOrder() == QPrinter::LastPageFirst) {
        // Backwards the range is known only from the page count of every section.
        QVector<int> firstPages;
        int pageCount = 0;
        QString title;
        {
            MPageImporter counting(section, everySection(sections), textEdit);
            for (int i = 0; i < sections; ++i) {
                const std::unique_ptr<QTextDocument> document = counting.next();
                if (i == 0)
                    title = document->metaInformation(QTextDocument::DocumentTitle);
                firstPages.append(pageCount + 1);
                pageCount += document->pageCount();
            }
        }
        const QVector<int> sequence =
            pageSequence(pageCount, printer->fromPage(), printer->toPage(), copies, collate, true);
        auto sectionOf = [&](int number) {
            return int(std::upper_bound(firstPages.cbegin(), firstPages.cend(), number) - firstPages.cbegin()) - 1;
        };
        QVector<int> order;
        for (int number : sequence) {
            const int i = sectionOf(number);
            if (order.isEmpty() || order.last() != i)
                order.append(i);
        }
        MPageImporter importer(section, order, textEdit);
        if (!painter.begin(title, preview, importer.device()))
            return false;
        std::unique_ptr<QTextDocument> document;
        int current = -1;
        for (int number : sequence) {
            const int i = sectionOf(number);
            if (i != current) {
                document = importer.next();
                current = i;
            }
            if (!painter.draw(document.get(), number - firstPages.at(i) + 1))
                break;
        }
        return painter.end();
    }

    // Forwards each section is laid out, drawn and dropped in turn.
    const int fromPage = qMax(printer->fromPage(), 1);
    const int toPage = printer->toPage() > 0 ? printer->toPage() : INT_MAX;
    for (int copy = 0; copy < (collate ? copies : 1); ++copy) {
        MPageImporter importer(section, everySection(sections), textEdit);
        int number = 0;
        for (int i = 0; i < sections && number < toPage; ++i) {
            const std::unique_ptr<QTextDocument> document = importer.next();
            if (copy == 0 && i == 0
                && !painter.begin(document->metaInformation(QTextDocument::DocumentTitle), preview, importer.device()))
                return false;
            const int count = document->pageCount();
            for (int page = 1; page <= count && ++number <= toPage; ++page) {
                if (number < fromPage)
                    continue;
                for (int made = 0; made < (collate ? 1 : copies); ++made) {
                    if (!painter.draw(document.get(), page))
                        return painter.end();
                }
            }
        }
    }
    return painter.end();
}

void MTextPrinter::printPage(int page, QPainter* painter, QTextDocument* document, const QRectF& body)
{
    painter->save();
    painter->translate(body.left(), body.top() - (page - 1) * body.height());
    const QRectF view(0, (page - 1) * body.height(), body.width(), body.height());
    painter->setClipRect(view);

    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    context.palette.setColor(QPalette::Text, Qt::black);
    document->documentLayout()->draw(painter, context);

    painter->restore();
}
