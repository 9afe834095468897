#pragma once

#include <QList>
#include <QTextEdit>

// A rich-text box that takes closing texts dragged from their list: the drop arrives as
// dropIndexes with the dragged records' ids and never inserts the dragged data itself.
class MTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit MTextEdit(QWidget* parent = nullptr);
    ~MTextEdit() override;

signals:
    void dropIndexes(QWidget* source, QList<int> indexes);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
