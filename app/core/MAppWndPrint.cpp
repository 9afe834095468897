#include "MAppWnd.h"

#include "core/MTextPrinter.h"

#include <QStringList>

void MAppWnd::print(QTextEdit* textEdit, QPrinter* printer, bool bPreview)
{
    MTextPrinter::print(textEdit, printer, bPreview);
}

void MAppWnd::printPage(int page, QPainter* painter, QTextDocument* document, const QRectF& body)
{
    MTextPrinter::printPage(page, painter, document, body);
}

void MAppWnd::loadPrinterMargins()
{
    QStringList parts = option(QStringLiteral("PRINTER_MARGINS")).split(QLatin1Char(';'));
    // A damaged value falls back to the default margins rather than guessing
    // which side a lone number was meant for.
    if (parts.size() < 4)
        parts = QStringList{QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5")};
    m_marginLeft = parts.at(0).toDouble();
    m_marginTop = parts.at(1).toDouble();
    m_marginRight = parts.at(2).toDouble();
    m_marginBottom = parts.at(3).toDouble();
}
