#include "MSqlQueryTreeModel.h"

#include "views/MItemRoles.h"
#include "views/MListFont.h"

#include <QStringList>
#include <QVector>

MSqlQueryTreeModel::MSqlQueryTreeModel(QObject* parent)
    : QStandardItemModel(parent)
    , m_font(listFont())
    , m_checkedIcon(QStringLiteral(":/resource/filter_2_16_16.png"))
    , m_uncheckedIcon(QStringLiteral(":/resource/filter_3_16_16.png"))
{
}

MSqlQueryTreeModel::~MSqlQueryTreeModel() = default;

void MSqlQueryTreeModel::setQuery(const QSqlQuery& query)
{
    m_query = query;
}

QSqlQuery MSqlQueryTreeModel::query() const
{
    return m_query;
}

bool MSqlQueryTreeModel::buildTree()
{
    if (!m_query.isActive())
        return false;

    // Per level, the text and the item of the last level that produced an item. They are
    // kept when a higher level changes, so a deeper level equal to the previous path's
    // joins that path's item.
    QVector<QString> lastText;
    QVector<QStandardItem*> lastItem;

    while (m_query.next()) {
        const QStringList path = m_query.value(0).toString().split(QLatin1Char('\n'));
        for (int level = 0; level < path.size(); ++level) {
            const QString& levelText = path.at(level);
            const bool leaf = level == path.size() - 1;
            if (!leaf && level < lastText.size() && lastText.at(level) == levelText)
                continue;

            const QStringList parts = levelText.split(QLatin1Char('\t'));
            auto* item = new QStandardItem(parts.at(0));
            item->setData(parts.size() > 1 ? parts.at(1) : parts.at(0), ItemRole::Value);
            item->setToolTip(parts.at(0));

            if (lastText.size() <= level) {
                lastText.resize(level + 1);
                lastItem.resize(level + 1);
            }
            lastText[level] = levelText;
            lastItem[level] = item;

            if (level == 0) {
                item->setData(FilterTreeItemState::Group, ItemRole::State);
                appendRow(item);
            } else {
                item->setData(FilterTreeItemState::Checked, ItemRole::State);
                lastItem.at(level - 1)->appendRow(item);
            }
        }
    }
    return true;
}

QVariant MSqlQueryTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    switch (role) {
    case Qt::DecorationRole:
        switch (QStandardItemModel::data(index, ItemRole::State).toInt()) {
        case FilterTreeItemState::Checked:
            return m_checkedIcon;
        case FilterTreeItemState::Unchecked:
            return m_uncheckedIcon;
        default:
            return QVariant();
        }
    case Qt::FontRole:
        return m_font;
    default:
        return QStandardItemModel::data(index, role);
    }
}

Qt::ItemFlags MSqlQueryTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

void MSqlQueryTreeModel::treeViewItemCollapsed(QModelIndex index)
{
    setState(index, FilterTreeItemState::Collapsed);
}

void MSqlQueryTreeModel::treeViewItemExpanded(QModelIndex index)
{
    setState(index, FilterTreeItemState::Expanded);
}

void MSqlQueryTreeModel::treeViewItemClicked(QModelIndex index)
{
    if (!index.isValid() || index.model() != this)
        return;
    QStandardItem* item = itemFromIndex(index);
    if (!item)
        return;

    int state = item->data(ItemRole::State).toInt();
    if (state == FilterTreeItemState::Checked)
        state = FilterTreeItemState::Unchecked;
    else if (state == FilterTreeItemState::Unchecked)
        state = FilterTreeItemState::Checked;
    else
        return;

    item->setData(state, ItemRole::State);
    for (int row = 0; QStandardItem* child = item->child(row, index.column()); ++row)
        child->setData(state, ItemRole::State);
}

void MSqlQueryTreeModel::setState(const QModelIndex& index, int state)
{
    if (QStandardItem* item = index.model() == this ? itemFromIndex(index) : nullptr)
        item->setData(state, ItemRole::State);
}
