#include "MTextPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

void setDocName(QPrinter* printer, const QTextDocument* document)
{
    const QString title = document->metaInformation(QTextDocument::DocumentTitle);
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

// The documents of a paginated document's page sections, set up like the text
// edit's document and laid out on its device. One is held at a time.
class MPageDocuments
{
public:
    MPageDocuments(const QStringList& pages, QTextEdit* textEdit)
        : m_pages(pages)
        , m_model(textEdit->document())
        , m_device(m_model->documentLayout()->paintDevice())
    {
        if (!m_device)
            m_device = textEdit;
    }

    QPaintDevice* device() const { return m_device; }

    QTextDocument* page(int index)
    {
        if (index != m_index) {
            m_document.reset();
            m_document.reset(newDocument(m_pages.at(index)));
            m_index = index;
        }
        return m_document.get();
    }

private:
    QTextDocument* newDocument(const QString& html) const
    {
        auto* document = new QTextDocument();
        document->setUndoRedoEnabled(false);
        document->setDefaultFont(m_model->defaultFont());
        document->setDefaultTextOption(m_model->defaultTextOption());
        document->setDefaultStyleSheet(m_model->defaultStyleSheet());
        document->setDocumentMargin(m_model->documentMargin());
        document->setIndentWidth(m_model->indentWidth());
        document->setUseDesignMetrics(m_model->useDesignMetrics());
        // The device comes before the content: the layout starts with the content.
        document->documentLayout()->setPaintDevice(m_device);
        document->setPageSize(m_model->pageSize());
        document->setHtml(html);
        return document;
    }

    const QStringList& m_pages;
    const QTextDocument* m_model;
    QPaintDevice* m_device;
    std::unique_ptr<QTextDocument> m_document;
    int m_index = -1;
};

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

void MTextPrinter::print(QTextEdit* textEdit, QPrinter* printer, bool preview)
{
    if (!textEdit || !printer || !printer->isValid())
        return;

    QTextDocument* document = textEdit->document();
    setDocName(printer, document);

    const QSizeF pageSize = document->pageSize();
    const bool paginated = pageSize.isValid() && !pageSize.isNull() && pageSize.height() != INT_MAX;

    if (!preview)
        printer->setResolution(600);

    QPainter painter(printer);
    if (!preparePainter(painter))
        return;

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
}

void MTextPrinter::printPages(const QStringList& pages, QTextEdit* textEdit, QPrinter* printer, bool preview)
{
    if (!textEdit || pages.isEmpty() || !printer || !printer->isValid())
        return;

    MPageDocuments documents(pages, textEdit);
    setDocName(printer, documents.page(0));

    if (!preview)
        printer->setResolution(600);

    QPainter painter(printer);
    if (!preparePainter(painter))
        return;

    const QTextDocument* model = textEdit->document();
    const QRectF body(QPointF(0, 0), model->pageSize());
    scaleToPage(painter, printer, body.size(), documents.device());

    bool first = true;
    // False once the printer has stopped: nothing more goes to it.
    auto draw = [&](QTextDocument* document, int page) {
        if (!first)
            printer->newPage();
        first = false;
        if (stopped(printer))
            return false;
        printPage(page, &painter, document, body);
        return true;
    };

    const int copies = madeCopies(printer);
    const bool collate = printer->collateCopies();
    if (printer->pageOrder() == QPrinter::LastPageFirst) {
        // Backwards the range is known only from the page count of every section.
        QVector<int> firstPages;
        int pageCount = 0;
        for (int i = 0; i < pages.size(); ++i) {
            firstPages.append(pageCount + 1);
            pageCount += documents.page(i)->pageCount();
        }
        const QVector<int> sequence =
            pageSequence(pageCount, printer->fromPage(), printer->toPage(), copies, collate, true);
        for (int number : sequence) {
            const int i = int(std::upper_bound(firstPages.cbegin(), firstPages.cend(), number) - firstPages.cbegin()) - 1;
            if (!draw(documents.page(i), number - firstPages.at(i) + 1))
                return;
        }
        return;
    }

    // Forwards each section is laid out, drawn and dropped in turn.
    const int fromPage = qMax(printer->fromPage(), 1);
    const int toPage = printer->toPage() > 0 ? printer->toPage() : INT_MAX;
    for (int copy = 0; copy < (collate ? copies : 1); ++copy) {
        int number = 0;
        for (int i = 0; i < pages.size() && number < toPage; ++i) {
            QTextDocument* document = documents.page(i);
            const int count = document->pageCount();
            for (int page = 1; page <= count && ++number <= toPage; ++page) {
                if (number < fromPage)
                    continue;
                for (int made = 0; made < (collate ? 1 : copies); ++made) {
                    if (!draw(document, page))
                        return;
                }
            }
        }
    }
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
