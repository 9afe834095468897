#pragma once

#include <QStyledItemDelegate>

// Draws a line of the editor's line list as two rows: the product name, then
// quantity, unit, price base, currency, VAT rate, net and gross value; its
// tooltip lists the line's details.
class MInvoiceProductItemDelegate : public QStyledItemDelegate
{
public:
    explicit MInvoiceProductItemDelegate(QObject* parent = nullptr);
    ~MInvoiceProductItemDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
