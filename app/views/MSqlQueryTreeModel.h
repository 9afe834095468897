#pragma once

#include <QIcon>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QVariant>

// The state of a filter-tree item, in role ItemRole::State.
namespace FilterTreeItemState {
enum {
    Group = 0, // top-level row as built
    Collapsed = 1,
    Expanded = 2,
    Checked = 3,
    Unchecked = 4,
};
} // namespace FilterTreeItemState

// The filter tree built from one SQL query. Column 0 of each result row spells a path:
// levels separated by LF, each level a label and a value separated by TAB (or a label
// alone, which is its value too). Consecutive rows that share leading levels share items.
// Items below the top level can be checked and unchecked; a click passes the new state
// down to the clicked item's children.
class MSqlQueryTreeModel : public QStandardItemModel
{
    Q_OBJECT

public:
    explicit MSqlQueryTreeModel(QObject* parent = nullptr);
    ~MSqlQueryTreeModel() override;

    // The query must already be executed.
    void setQuery(const QSqlQuery& query);
    QSqlQuery query() const;
    // Fills the (empty) model from the query; false when the query is not active.
    bool buildTree();

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

public slots:
    void treeViewItemCollapsed(QModelIndex index);
    void treeViewItemExpanded(QModelIndex index);
    void treeViewItemClicked(QModelIndex index);

private:
    void setState(const QModelIndex& index, int state);

    QSqlQuery m_query;
    const QVariant m_font;
    const QIcon m_checkedIcon;
    const QIcon m_uncheckedIcon;
};
