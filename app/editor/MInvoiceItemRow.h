#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class QAbstractItemView;
class QHelpEvent;
class QModelIndex;
class QPainter;
class QStyleOptionViewItem;

// What the editor's line and joined-documents delegates share: the row's
// texts as the list shows them, the cell drawn without its text, the light
// separators and the texts clipped to their columns, and the tooltip table.
namespace MInvoiceItemRow {

// Display texts of the given columns of the index's row, in that order.
QStringList texts(const QModelIndex& index, const QList<int>& columns);

// A shown amount ("1 234,50" or "12,5") read back as a number; 0 when it is none.
double number(const QString& text);

// Paints background, selection and focus of the cell (the option as the
// delegate filled it for its index) without its text, then sets the separator pen.
void drawCell(QPainter* painter, const QStyleOptionViewItem& option);

// The pen for the texts: highlighted while selected or focused, disabled colours
// for a disabled item.
void setTextPen(QPainter* painter, const QStyleOptionViewItem& option);

// `text` elided to `rect` less 6 pixels and drawn 3 pixels inside it on each side.
void drawText(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect, const QString& text,
              bool alignRight);

// One row of a tooltip table.
QString toolTipRow(const QString& label, const QString& value);

// Shows the rows as a tooltip table at the event's place.
void showToolTip(QHelpEvent* event, QAbstractItemView* view, const QString& rows);

} // namespace MInvoiceItemRow
