#include "MHeaderVerticalTableView.h"

#include <QContextMenuEvent>

MHeaderVerticalTableView::MHeaderVerticalTableView(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
}

MHeaderVerticalTableView::~MHeaderVerticalTableView() = default;

void MHeaderVerticalTableView::contextMenuEvent(QContextMenuEvent* event)
{
    // Consumed here, so that neither the table nor the record view shows its menu.
    event->accept();
}
