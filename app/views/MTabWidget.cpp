#include "MTabWidget.h"

MTabWidget::MTabWidget(QWidget* parent)
    : QTabWidget(parent)
{
}

void MTabWidget::setSelectionBehaviorOnRemove(QTabBar::SelectionBehavior behavior)
{
    tabBar()->setSelectionBehaviorOnRemove(behavior);
}
