#include "MTextPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <climits>
#include <memory>

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
    const QString title = document->metaInformation(QTextDocument::DocumentTitle);
    if (!title.isEmpty())
        printer->setDocName(title);

    const QSizeF pageSize = document->pageSize();
    const bool paginated = pageSize.isValid() && !pageSize.isNull() && pageSize.height() != INT_MAX;

    if (!preview)
        printer->setResolution(600);

    QPainter painter(printer);
    if (!painter.isActive())
        return;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);

    const QRect pageRect = printer->pageLayout().paintRectPixels(printer->resolution());
    std::unique_ptr<QTextDocument> clone;
    QRectF body;

    if (paginated) {
        body = QRectF(QPointF(0, 0), pageSize);
        const QPaintDevice* source = document->documentLayout()->paintDevice();
        const qreal sourceDpiX = source ? source->logicalDpiX() : textEdit->logicalDpiX();
        const qreal sourceDpiY = source ? source->logicalDpiY() : textEdit->logicalDpiY();
        const qreal scaleX = printer->logicalDpiX() / sourceDpiX;
        const qreal scaleY = printer->logicalDpiY() / sourceDpiY;
        painter.scale(scaleX, scaleY);
        const QSizeF scaledPageSize(pageSize.width() * scaleX, pageSize.height() * scaleY);
        painter.scale(pageRect.width() / scaledPageSize.width(), pageRect.height() / scaledPageSize.height());
    } else {
        // Laid out afresh on the printer itself, so that the text fills its pages.
        clone.reset(document->clone());
        document = clone.get();
        document->documentLayout()->setPaintDevice(painter.device());
        body = QRectF(0, 0, pageRect.width(), pageRect.height());
        document->setPageSize(body.size());
    }

    // A printer that makes the copies itself gets the document once.
    const int copies = printer->supportsMultipleCopies() ? 1 : printer->copyCount();
    const QVector<int> sequence =
        pageSequence(document->pageCount(), printer->fromPage(), printer->toPage(), copies,
                     printer->collateCopies(), printer->pageOrder() == QPrinter::LastPageFirst);

    for (int i = 0; i < sequence.size(); ++i) {
        if (printer->printerState() == QPrinter::Aborted || printer->printerState() == QPrinter::Error)
            break;
        printPage(sequence.at(i), &painter, document, body);
        if (i + 1 < sequence.size())
            printer->newPage();
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
