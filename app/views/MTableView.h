#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QTableView>

class MSqlQueryModel;

// The table of every list, always over an MSqlQueryModel: fixed-height rows, cell tool
// tips, the stored column layout, re-selection after a re-query, CSV export, and the drop
// side of dragging rows between lists (the dropped records' ids arrive as dropIndexes).
class MTableView : public QTableView
{
    Q_OBJECT

public:
    explicit MTableView(QWidget* parent = nullptr);
    ~MTableView() override;

    // A DbObjectKind naming the stored column layout; set before initHeaders.
    void setViewKind(int viewKind);
    int viewKind() const;
    // Installs the column and row headers and restores the stored layout; called once,
    // after the model is set and its column titles are given.
    void initHeaders();

    // True from a mouse press until a context menu is asked for.
    bool isMousePressed() const;

    void saveHorizontalScroll();
    void restoreHorizontalScroll();

    // Loads rows as far as needed (all with ACTIVE_TABLE_CACHE "0") and selects `row`.
    void selectRowAt(int row);
    // Selects the rows whose id (column 0) maps to 1 and makes the row of currentId current.
    void selectIds(QMap<int, int> ids, int currentId);
    // Asks for a file and writes the visible columns of `sql`'s rows as CSV.
    void exportCsv(QString sql);

signals:
    void dropIndexes(QWidget* source, QList<int> indexes);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    MSqlQueryModel* queryModel() const;
    bool loadsAllRows() const;
    QList<int> exportedColumns() const;

    int m_horizontalScroll = 0;
    int m_viewKind = 0;
    bool m_mousePressed = false;
};
