#include "ItemDelegateCatalogListView.h"

ItemDelegateCatalogListView::ItemDelegateCatalogListView(QObject* parent)
    : QItemDelegate(parent)
{
}

QSize ItemDelegateCatalogListView::sizeHint(const QStyleOptionViewItem& /*option*/,
                                            const QModelIndex& /*index*/) const
{
    return QSize(22, 22);
}
