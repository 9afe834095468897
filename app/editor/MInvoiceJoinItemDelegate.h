#pragma once

#include <QStyledItemDelegate>

// Draws a row of the editor's joined documents list on one line: number,
// date, advance, gross total and currency; its tooltip repeats them.
class MInvoiceJoinItemDelegate : public QStyledItemDelegate
{
public:
    explicit MInvoiceJoinItemDelegate(QObject* parent = nullptr);
    ~MInvoiceJoinItemDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
