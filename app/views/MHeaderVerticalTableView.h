#pragma once

#include <QHeaderView>

// The row-number header of the lists; it offers no context menu.
class MHeaderVerticalTableView : public QHeaderView
{
    Q_OBJECT

public:
    MHeaderVerticalTableView(Qt::Orientation orientation, QWidget* parent = nullptr);
    ~MHeaderVerticalTableView() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};
