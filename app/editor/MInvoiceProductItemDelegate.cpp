#include "MInvoiceProductItemDelegate.h"

#include "MInvoiceItemRow.h"
#include "data/MNumberText.h"

#include <QHelpEvent>
#include <QPainter>

namespace {

// Columns of a line's row, in the order of the constants below.
const QList<int> lineColumns = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
enum {
    Name,
    Symbol,
    Code,
    Unit,
    PriceBase,
    UnitNetto,
    UnitBrutto,
    Netto,
    Brutto,
    VatText,
    Quantity,
    Reduct,
    Currency,
    ProfitBrutto,
    ReductKind
};

} // namespace

MInvoiceProductItemDelegate::MInvoiceProductItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

MInvoiceProductItemDelegate::~MInvoiceProductItemDelegate() = default;

void MInvoiceProductItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStringList v = MInvoiceItemRow::texts(index, lineColumns);
    painter->save();
    MInvoiceItemRow::drawCell(painter, opt);

    const int x = opt.rect.x();
    const int y = opt.rect.y();
    const int w = opt.rect.width();
    const int h = opt.rect.height();
    const int hh = h / 2;
    const int m = y + hh;
    const int p = int(w * 1.4 / 7);
    const int u = w / 7;
    const int q = int(w * 0.8 / 7);
    const int r = int(w * 0.5 / 7);
    const int x1 = x + p;
    const int x2 = x1 + u;
    const int x3 = x2 + q;
    const int x4 = x3 + r;
    const int x5 = x4 + r;
    const int x6 = x5 + p;
    painter->drawLine(x, m, x + w, m);
    for (int sx : {x1, x2, x3, x4, x5, x6})
        painter->drawLine(sx, m, sx, y + h);

    MInvoiceItemRow::setTextPen(painter, opt);
    MInvoiceItemRow::drawText(painter, opt, QRect(x, y, w, hh), v.at(Name).trimmed(), false);
    MInvoiceItemRow::drawText(painter, opt, QRect(x, m, p, hh),
                              amountText(MInvoiceItemRow::number(v.at(Quantity)), 4), true);
    MInvoiceItemRow::drawText(painter, opt, QRect(x1, m, u, hh), v.at(Unit).trimmed(), false);
    MInvoiceItemRow::drawText(painter, opt, QRect(x2, m, q, hh), tr("z") + QLatin1Char(' ') + v.at(PriceBase),
                              false);
    MInvoiceItemRow::drawText(painter, opt, QRect(x3, m, r, hh), v.at(Currency), false);
    MInvoiceItemRow::drawText(painter, opt, QRect(x4, m, r, hh), v.at(VatText), true);
    MInvoiceItemRow::drawText(painter, opt, QRect(x5, m, p, hh), v.at(Netto), true);
    MInvoiceItemRow::drawText(painter, opt, QRect(x6, m, p, hh), v.at(Brutto), true);
    painter->restore();
}

QSize MInvoiceProductItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(42);
    return size;
}

bool MInvoiceProductItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                            const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!event || !view)
        return false;
    if (event->type() != QEvent::ToolTip)
        return QAbstractItemDelegate::helpEvent(event, view, option, index);

    using MInvoiceItemRow::toolTipRow;
    const QStringList v = MInvoiceItemRow::texts(index, lineColumns);
    QString rows = toolTipRow(tr("Nazwa"), v.at(Name));
    if (!v.at(Symbol).isEmpty())
        rows += toolTipRow(tr("Symbol"), v.at(Symbol));
    if (!v.at(Code).isEmpty())
        rows += toolTipRow(tr("PKWiU/PKOB"), v.at(Code));
    rows += toolTipRow(tr("Waluta"), v.at(Currency));
    rows += toolTipRow(tr("Ilość"),
                       amountText(MInvoiceItemRow::number(v.at(Quantity)), 4) + QLatin1Char(' ') + v.at(Unit));
    rows += toolTipRow(tr("Podstawa cenowa"), v.at(PriceBase));
    rows += toolTipRow(tr("Stawka VAT"), v.at(VatText));
    rows += toolTipRow(tr("Jednostkowe netto | brutto"), v.at(UnitNetto) + QStringLiteral(" | ") + v.at(UnitBrutto));
    const double reduct = MInvoiceItemRow::number(v.at(Reduct));
    if (reduct != 0.0)
        rows += toolTipRow(tr("Rabat"), v.at(ReductKind) + QLatin1Char(' ') + numberText(reduct, 2));
    const double profit = MInvoiceItemRow::number(v.at(ProfitBrutto));
    if (profit != 0.0)
        rows += toolTipRow(tr("Marża brutto"), numberText(profit, 2));
    rows += toolTipRow(tr("Wartość netto | brutto"), v.at(Netto) + QStringLiteral(" | ") + v.at(Brutto));
    MInvoiceItemRow::showToolTip(event, view, rows);
    return true;
}
