#pragma once

#include <QItemDelegate>

// Gives every row of the filter panel's tree a height of 25 pixels.
class ItemDelegateFilterTreeView : public QItemDelegate
{
    Q_OBJECT

public:
    explicit ItemDelegateFilterTreeView(QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
