#pragma once

#include <QItemDelegate>

// Gives every row of a catalog list the same height of 22 pixels.
class ItemDelegateCatalogListView : public QItemDelegate
{
    Q_OBJECT

public:
    explicit ItemDelegateCatalogListView(QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
