#include "MAppWnd.h"

#include "core/MTextPrinter.h"

void MAppWnd::print(QTextEdit* textEdit, QPrinter* printer, bool bPreview)
{
    MTextPrinter::print(textEdit, printer, bPreview);
}

void MAppWnd::printPage(int page, QPainter* painter, QTextDocument* document, const QRectF& body)
{
    MTextPrinter::printPage(page, painter, document, body);
}
