#pragma once

#include <QString>
#include <QStringList>

// The pages of a paginated HTML document as documents of their own. A page
// starts a top-level <div> with a page break before it (the first page a plain
// <div>), as the register and statement templates write them. Laid out alone,
// such a page looks as it does in the whole document, so a long document can
// be printed one page at a time.
class MHtmlPages
{
public:
    // Each page with the document's head and end around it, its break taken
    // off. Empty when the document has fewer than two such pages or a break
    // inside a nested <div>: it is then printed whole.
    static QStringList split(const QString& html);
};
