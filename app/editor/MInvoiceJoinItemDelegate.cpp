#include "MInvoiceJoinItemDelegate.h"

#include "MInvoiceItemRow.h"
#include "data/MNumberText.h"

#include <QHelpEvent>
#include <QPainter>

namespace {

// Columns of a joined document's row: number, issue date, advance paid, gross total, currency.
const QList<int> joinColumns = {2, 3, 4, 5, 6};

} // namespace

MInvoiceJoinItemDelegate::MInvoiceJoinItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

MInvoiceJoinItemDelegate::~MInvoiceJoinItemDelegate() = default;

void MInvoiceJoinItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStringList v = MInvoiceItemRow::texts(index, joinColumns);
    painter->save();
    MInvoiceItemRow::drawCell(painter, opt);

    const int x = opt.rect.x();
    const int y = opt.rect.y();
    const int w = opt.rect.width();
    const int h = opt.rect.height();
    const int a = int(w * 1.5 / 5);
    const int b = w / 5;
    const int c = int(w * 0.5 / 5);
    for (int sx : {x + a, x + a + b, x + a + 2 * b, x + a + 3 * b})
        painter->drawLine(sx, y, sx, y + h);

    MInvoiceItemRow::setTextPen(painter, opt);
    MInvoiceItemRow::drawText(painter, opt, QRect(x, y, a, h), v.at(0), false);
    MInvoiceItemRow::drawText(painter, opt, QRect(x + a, y, b, h), v.at(1), false);
    MInvoiceItemRow::drawText(painter, opt, QRect(x + a + b, y, b, h), numberText(MInvoiceItemRow::number(v.at(2)), 2),
                              true);
    MInvoiceItemRow::drawText(painter, opt, QRect(x + a + 2 * b, y, b, h),
                              numberText(MInvoiceItemRow::number(v.at(3)), 2), true);
    MInvoiceItemRow::drawText(painter, opt, QRect(x + a + 3 * b, y, c, h), v.at(4), false);
    painter->restore();
}

QSize MInvoiceJoinItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(22);
    return size;
}

bool MInvoiceJoinItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                         const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!event || !view)
        return false;
    if (event->type() != QEvent::ToolTip)
        return QAbstractItemDelegate::helpEvent(event, view, option, index);

    const QStringList v = MInvoiceItemRow::texts(index, joinColumns);
    const QString currency = QLatin1Char(' ') + v.at(4);
    MInvoiceItemRow::showToolTip(
        event, view,
        MInvoiceItemRow::toolTipRow(tr("Numer"), v.at(0)) +
            MInvoiceItemRow::toolTipRow(tr("Data wystawienia"), v.at(1)) +
            MInvoiceItemRow::toolTipRow(tr("Zaliczka brutto"),
                                        numberText(MInvoiceItemRow::number(v.at(2)), 2) + currency) +
            MInvoiceItemRow::toolTipRow(tr("Wartość brutto"),
                                        numberText(MInvoiceItemRow::number(v.at(3)), 2) + currency));
    return true;
}
