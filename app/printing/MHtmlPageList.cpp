#include "MHtmlPageList.h"

namespace {

const QLatin1String pageCountMark("[[PAGES]]");
const QLatin1String plainPageStart("<div>");
const QLatin1String breakPageStart("<div style=\"page-break-before:always;\">");

} // namespace

MHtmlPageList::MHtmlPageList(QObject* parent)
    : QObject(parent)
{
}

bool MHtmlPageList::isFinished() const
{
    return m_finished;
}

int MHtmlPageList::count() const
{
    return m_pages.size();
}

QString MHtmlPageList::page(int i) const
{
    return m_head + withPageCount(m_pages.at(i)) + m_end;
}

QString MHtmlPageList::wholeHtml() const
{
    QString html = m_head;
    for (int i = 0; i < m_pages.size(); ++i) {
        const QString& page = m_pages.at(i);
        if (i > 0 && page.startsWith(plainPageStart))
            html += breakPageStart + withPageCount(page.mid(plainPageStart.size()));
        else
            html += withPageCount(page);
    }
    return html + m_end;
}

void MHtmlPageList::setFrame(QString head, QString end)
{
    m_head = head;
    m_end = end;
}

void MHtmlPageList::addPage(QString html)
{
    m_pages.append(html);
}

void MHtmlPageList::finish()
{
    m_finished = true;
    emit finished();
}

void MHtmlPageList::clear()
{
    m_head.clear();
    m_end.clear();
    m_pages.clear();
    m_finished = false;
}

QString MHtmlPageList::withPageCount(const QString& html) const
{
    if (!html.contains(pageCountMark))
        return html;
    return QString(html).replace(pageCountMark, QString::number(m_pages.size()));
}
