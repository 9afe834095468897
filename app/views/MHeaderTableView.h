#pragma once

#include <QHeaderView>
#include <QString>
#include <QStringList>

class QMenu;

// The column header of every list. It keeps the list's column widths, order, visibility
// and sort in the options, per view kind, and offers a menu to show and hide columns.
// Columns titled with a leading "_" are technical: always hidden, never offered.
class MHeaderTableView : public QHeaderView
{
    Q_OBJECT

public:
    MHeaderTableView(Qt::Orientation orientation, QWidget* parent = nullptr);
    ~MHeaderTableView() override;

    // A DbObjectKind; kinds without a key neither store nor restore a layout.
    void setViewKind(int viewKind);
    int viewKind() const;
    QString viewKey() const;

    // Hides the technical columns, then restores sizes, visibility, positions and sort.
    void restoreColumns();
    void restoreColumnSizes();
    void restoreColumnVisible();
    void restoreColumnPositions();
    void restoreColumnSort();

    void saveColumnSizes();
    void saveColumnPositions();
    void saveColumnSort();
    void saveColumnVisible();

public slots:
    // Shows or hides the column carried by the sending action; the last shown column stays.
    void doVisibleCol();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString columnTitle(int logicalIndex) const;
    bool isTechnicalColumn(int logicalIndex) const;
    QStringList storedParts(const QString& prefix) const;
    void store(const QString& prefix, const QStringList& parts);

    int m_viewKind = 0;
};
