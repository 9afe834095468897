#pragma once

#include <QFont>
#include <QMutex>
#include <QSizeF>
#include <QStringList>
#include <QTextOption>
#include <QThread>
#include <QVector>
#include <QWaitCondition>

#include <deque>
#include <functional>
#include <memory>

class QPaintDevice;
class QTextDocument;
class QTextEdit;

// Imports the HTML of a paginated document's page sections (see MHtmlPages) into
// documents set up like a text edit's, on a thread of its own, a few documents
// ahead of the caller, who takes them in the order asked for. Only the import
// runs there: each document is laid out in the caller's thread, which draws it,
// because the fonts a layout holds must not be shared between threads.
class MPageImporter : public QThread
{
public:
    // order: the indexes of the pages to import, in the order next() gives them;
    // page gives a page's HTML by its index, called on the importing thread.
    MPageImporter(const std::function<QString(int)>& page, const QVector<int>& order, QTextEdit* textEdit);
    // Stops the import; documents not taken are dropped.
    ~MPageImporter() override;

    // The next document of the order, laid out in pages of the text edit's page
    // size on its device; waits for its import.
    std::unique_ptr<QTextDocument> next();

    // The device the documents are laid out on.
    QPaintDevice* device() const { return m_device; }

protected:
    void run() override;

private:
    std::unique_ptr<QTextDocument> import(const QString& html) const;

    const std::function<QString(int)> m_page;
    const QVector<int> m_order;
    // The text edit's document settings, copied in the caller's thread.
    const QFont m_font;
    const QTextOption m_textOption;
    const QString m_styleSheet;
    const qreal m_documentMargin;
    const qreal m_indentWidth;
    const bool m_designMetrics;
    const QSizeF m_pageSize;
    QPaintDevice* m_device;
    QThread* const m_target;

    QMutex m_mutex;
    QWaitCondition m_changed;
    std::deque<std::unique_ptr<QTextDocument>> m_ready;
    bool m_stopped = false;
};
