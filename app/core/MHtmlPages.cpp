#include "MHtmlPages.h"

namespace {

const QLatin1String pageBreak("<div style=\"page-break-before:always;\">");

// True when every <div> opened in text is closed in it too.
bool divsBalanced(const QStringRef& text)
{
    return text.count(QLatin1String("<div")) == text.count(QLatin1String("</div>"));
}

} // namespace

QStringList MHtmlPages::split(const QString& html)
{
    const int bodyTag = html.indexOf(QLatin1String("<body"));
    const int bodyStart = bodyTag < 0 ? -1 : html.indexOf(QLatin1Char('>'), bodyTag) + 1;
    const int bodyEnd = html.lastIndexOf(QLatin1String("</body>"));
    if (bodyStart <= 0 || bodyEnd < bodyStart)
        return {};

    QVector<int> starts{bodyStart};
    for (int at = html.indexOf(pageBreak, bodyStart); at >= 0 && at < bodyEnd; at = html.indexOf(pageBreak, at + 1))
        starts.append(at);
    if (starts.size() < 2)
        return {};
    starts.append(bodyEnd);

    const QStringRef head = html.leftRef(bodyStart);
    const QStringRef end = html.midRef(bodyEnd);
    QStringList pages;
    pages.reserve(starts.size() - 1);
    for (int i = 0; i + 1 < starts.size(); ++i) {
        const QStringRef page = html.midRef(starts.at(i), starts.at(i + 1) - starts.at(i));
        if (!divsBalanced(page))
            return {};
        if (i == 0)
            pages.append(QString(head + page + end));
        else
            pages.append(QString(head + QLatin1String("<div>") + page.mid(pageBreak.size()) + end));
    }
    return pages;
}
