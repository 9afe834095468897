#include "MPageImporter.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// Documents imported and not yet taken; enough to keep the caller from waiting.
const std::size_t readyAhead = 4;

QPaintDevice* layoutDevice(QTextEdit* textEdit)
{
    QPaintDevice* device = textEdit->document()->documentLayout()->paintDevice();
    return device ? device : textEdit;
}

} // namespace

MPageImporter::MPageImporter(const std::function<QString(int)>& page, const QVector<int>& order,
                             QTextEdit* textEdit)
    : m_page(page)
    , m_order(order)
    , m_font(textEdit->document()->defaultFont())
    , m_textOption(textEdit->document()->defaultTextOption())
    , m_styleSheet(textEdit->document()->defaultStyleSheet())
    , m_documentMargin(textEdit->document()->documentMargin())
    , m_indentWidth(textEdit->document()->indentWidth())
    , m_designMetrics(textEdit->document()->useDesignMetrics())
    , m_pageSize(textEdit->document()->pageSize())
    , m_device(layoutDevice(textEdit))
    , m_target(QThread::currentThread())
{
    start();
}

MPageImporter::~MPageImporter()
{
    {
        QMutexLocker locker(&m_mutex);
        m_stopped = true;
        m_changed.wakeAll();
    }
    wait();
}

std::unique_ptr<QTextDocument> MPageImporter::next()
{
    std::unique_ptr<QTextDocument> document;
    {
        QMutexLocker locker(&m_mutex);
        while (m_ready.empty())
            m_changed.wait(&m_mutex);
        document = std::move(m_ready.front());
        m_ready.pop_front();
        m_changed.wakeAll();
    }
    // The device comes before the page size: the size starts the layout.
    document->documentLayout()->setPaintDevice(m_device);
    document->setPageSize(m_pageSize);
    document->pageCount();
    return document;
}

void MPageImporter::run()
{
    for (int index : m_order) {
        std::unique_ptr<QTextDocument> document = import(m_page(index));
        QMutexLocker locker(&m_mutex);
        while (m_ready.size() >= readyAhead && !m_stopped)
            m_changed.wait(&m_mutex);
        if (m_stopped)
            return;
        document->moveToThread(m_target);
        m_ready.push_back(std::move(document));
        m_changed.wakeAll();
    }
}

std::unique_ptr<QTextDocument> MPageImporter::import(const QString& html) const
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(m_font);
    document->setDefaultTextOption(m_textOption);
    document->setDefaultStyleSheet(m_styleSheet);
    document->setDocumentMargin(m_documentMargin);
    document->setIndentWidth(m_indentWidth);
    document->setUseDesignMetrics(m_designMetrics);
    // An empty page size keeps the document unlaid-out when its layout is made
    // on the caller's thread, until next() gives it its device.
    document->setPageSize(QSizeF(0, 0));
    document->setHtml(html);
    return document;
}
