#pragma once

#include <QTabBar>
#include <QTabWidget>

// The main window's tab widget; it lets the owner choose which tab becomes
// current when one is removed.
class MTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    explicit MTabWidget(QWidget* parent = nullptr);

    void setSelectionBehaviorOnRemove(QTabBar::SelectionBehavior behavior);
};
