#include "ItemDelegateFilterTreeView.h"

ItemDelegateFilterTreeView::ItemDelegateFilterTreeView(QObject* parent)
    : QItemDelegate(parent)
{
}

QSize ItemDelegateFilterTreeView::sizeHint(const QStyleOptionViewItem& /*option*/, const QModelIndex& /*index*/) const
{
    return QSize(25, 25);
}
