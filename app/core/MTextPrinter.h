#pragma once

#include <QStringList>
#include <QVector>

#include <functional>

class QPainter;
class QPrinter;
class QRectF;
class QTextDocument;
class QTextEdit;

// Lays the rich-text document of a text edit out on a printer, page by page,
// honouring the printer's copies, collation, page range and page order.
class MTextPrinter
{
public:
    // The document pages to draw, in the order they go to the printer, one entry
    // per printed page. A range of 0 to 0 stands for the whole document.
    static QVector<int> pageSequence(int pageCount, int fromPage, int toPage, int copies, bool collate,
                                     bool lastPageFirst);

    // A preview's printer keeps its resolution; any other printer is set to 600 dpi.
    // False when the printer could not be started or ended in an error.
    static bool print(QTextEdit* textEdit, QPrinter* printer, bool preview);

    // Prints a paginated document given as the HTML of its page sections (see
    // MHtmlPages), as print() would print it whole from textEdit. Each section is
    // imported ahead on a thread of its own (MPageImporter), then laid out, drawn
    // and dropped in turn, so that the whole document is never laid out; pages
    // printed backwards have every section laid out twice. False as print().
    static bool printPages(const QStringList& pages, QTextEdit* textEdit, QPrinter* printer, bool preview);
    // The same for `sections` sections whose HTML `section` gives by index, asked
    // for on the importing thread only when that section is imported.
    static bool printPages(int sections, const std::function<QString(int)>& section, QTextEdit* textEdit,
                           QPrinter* printer, bool preview);

    // Draws page number page (from 1) of a document laid out in pages of body's size.
    static void printPage(int page, QPainter* painter, QTextDocument* document, const QRectF& body);
};
