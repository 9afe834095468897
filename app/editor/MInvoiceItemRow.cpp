#include "MInvoiceItemRow.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolTip>

namespace MInvoiceItemRow {

QStringList texts(const QModelIndex& index, const QList<int>& columns)
{
    QStringList values;
    const QAbstractItemModel* model = index.model();
    for (int column : columns)
        values << (model ? model->index(index.row(), column).data(Qt::DisplayRole).toString() : QString());
    return values;
}

double number(const QString& text)
{
    QString plain = text;
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    // Amounts of four digits and more are shown grouped by blanks.
    plain.remove(QLatin1Char(' '));
    plain.remove(QChar(0x00A0));
    plain.remove(QChar(0x202F));
    return plain.toDouble();
}

void drawCell(QPainter* painter, const QStyleOptionViewItem& option)
{
    QStyleOptionViewItem opt = option;
    opt.text.clear();
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    painter->setPen(QColor(224, 224, 224, 255));
}

void setTextPen(QPainter* painter, const QStyleOptionViewItem& option)
{
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Active : QPalette::Disabled;
    const bool highlighted = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    painter->setPen(option.palette.color(group, highlighted ? QPalette::HighlightedText : QPalette::Text));
}

void drawText(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect, const QString& text,
              bool alignRight)
{
    const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, rect.width() - 6);
    const QRect inner(QPoint(rect.left() + 3, rect.top()), QPoint(rect.left() + rect.width() - 4, rect.bottom()));
    int flags = int(option.displayAlignment);
    if (alignRight)
        flags = (flags & ~int(Qt::AlignHorizontal_Mask)) | Qt::AlignRight;
    painter->drawText(inner, flags, shown);
}

QString toolTipRow(const QString& label, const QString& value)
{
    return QStringLiteral("<tr><td>") + label + QStringLiteral("</td><td>") + value + QStringLiteral("</td></tr>");
}

void showToolTip(QHelpEvent* event, QAbstractItemView* view, const QString& rows)
{
    QToolTip::showText(event->globalPos(),
                       QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">") +
                           rows + QStringLiteral("</table>"),
                       view);
}

} // namespace MInvoiceItemRow
