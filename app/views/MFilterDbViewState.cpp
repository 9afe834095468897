#include "MFilterDbView.h"

#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"
#include "views/MSqlQueryTreeModel.h"

#include <QCheckBox>
#include <QSqlQuery>
#include <QTreeView>

namespace {

void appendEntry(QString& list, const QString& entry)
{
    if (!list.isEmpty())
        list += QLatin1Char(';');
    list += entry;
}

// Splits a stored list at ";"; empty parts are kept, so an empty text gives the one
// member "", which matches no item.
QMap<QString, bool> storedSet(const QString& text)
{
    QMap<QString, bool> set;
    for (const QString& part : text.split(QLatin1Char(';')))
        set.insert(part, true);
    return set;
}

// Every catalog row in state `from` goes to state `to`.
void replaceCatalogStates(QStandardItemModel* catalogs, int from, int to)
{
    if (!catalogs)
        return;
    for (int row = 0; row < catalogs->rowCount(); ++row) {
        QStandardItem* item = catalogs->item(row, 0);
        if (item->data(ItemRole::State).toInt() == from)
            item->setData(to, ItemRole::State);
    }
}

} // namespace

void MFilterDbView::loadFilterTree(const QString& sql)
{
    MSqlQueryTreeModel* previous = m_treeModel;
    if (previous)
        disconnect(m_filterTree, &QTreeView::clicked, previous, &MSqlQueryTreeModel::treeViewItemClicked);

    m_treeModel = new MSqlQueryTreeModel(this);
    if (!sql.isEmpty()) {
        QSqlQuery query;
        query.exec(sql);
        m_treeModel->setQuery(query);
        m_treeModel->buildTree();
        query.finish();
    }

    QItemSelectionModel* previousSelection = m_filterTree->selectionModel();
    m_filterTree->setModel(m_treeModel);
    connect(m_filterTree, &QTreeView::clicked, m_treeModel, &MSqlQueryTreeModel::treeViewItemClicked);
    if (previousSelection)
        previousSelection->deleteLater();
    if (previous)
        previous->deleteLater();
}

void MFilterDbView::walkItem(QStandardItem* item, const QString& key, bool apply, QStringList& state)
{
    const QModelIndex index = item->index();
    const int itemState = item->data(ItemRole::State).toInt();
    const bool expanded = m_filterTree->isExpanded(index);
    if (itemState == FilterTreeItemState::Unchecked)
        appendEntry(state[0], key);
    if (expanded)
        appendEntry(state[1], key);

    if (apply) {
        if (itemState == FilterTreeItemState::Checked && m_storedUncheckedKeys.contains(key))
            item->setData(FilterTreeItemState::Unchecked, ItemRole::State);
        if (!expanded && m_storedExpandedKeys.contains(key))
            m_filterTree->expand(index);
    }

    const QStringList children = subtreeState(item, key, apply);
    if (!children.at(0).isEmpty())
        appendEntry(state[0], children.at(0));
    if (!children.at(1).isEmpty())
        appendEntry(state[1], children.at(1));
}

QStringList MFilterDbView::treeState(bool apply)
{
    QStringList state{QString(), QString()};
    if (!m_treeModel)
        return state;
    for (int row = 0; row < m_treeModel->rowCount(); ++row) {
        QStandardItem* item = m_treeModel->item(row, 0);
        walkItem(item, item->data(ItemRole::Value).toString(), apply, state);
    }
    return state;
}

QStringList MFilterDbView::subtreeState(QStandardItem* parent, const QString& prefix, bool apply)
{
    QStringList state{QString(), QString()};
    if (!parent || !parent->index().isValid() || !parent->hasChildren())
        return state;
    for (int row = 0; row < parent->rowCount(); ++row) {
        QStandardItem* child = parent->child(row, parent->column());
        if (!child)
            continue;
        QString key = prefix;
        if (!key.isEmpty())
            key += QLatin1Char(',');
        walkItem(child, key + child->data(ItemRole::Value).toString(), apply, state);
    }
    return state;
}

QStringList MFilterDbView::storedTreeState() const
{
    return {storedOption(QStringLiteral("FILTER_TREE_UNCHECKED_")), storedOption(QStringLiteral("FILTER_TREE_EXPANDED_"))};
}

void MFilterDbView::setStoredTreeState(const QStringList& state)
{
    m_storedUncheckedKeys = storedSet(state.value(0));
    m_storedExpandedKeys = storedSet(state.value(1));
}

void MFilterDbView::setStoredCatalogIds(const QString& ids)
{
    m_storedCatalogIds = storedSet(ids);
}

QString MFilterDbView::uncheckedCatalogIds(bool apply)
{
    QString unchecked;
    if (!m_catalogModel)
        return unchecked;
    for (int row = 0; row < m_catalogModel->rowCount(); ++row) {
        QStandardItem* item = m_catalogModel->item(row, 0);
        const QString id = item->data(ItemRole::Value).toString();
        const int state = item->data(ItemRole::State).toInt();
        if (state == CheckItemState::Unchecked)
            appendEntry(unchecked, id);
        if (apply && state == CheckItemState::Checked && m_storedCatalogIds.contains(id))
            item->setData(CheckItemState::Unchecked, ItemRole::State);
    }
    return unchecked;
}

void MFilterDbView::checkAllCatalogs()
{
    replaceCatalogStates(m_catalogModel, CheckItemState::Unchecked, CheckItemState::Checked);
}

void MFilterDbView::uncheckAllCatalogs()
{
    replaceCatalogStates(m_catalogModel, CheckItemState::Checked, CheckItemState::Unchecked);
}

void MFilterDbView::restoreCatalogChecks()
{
    setStoredCatalogIds(storedOption(QStringLiteral("CATALOG_UNCHECKED_")));
    uncheckedCatalogIds(true);
    changedFilter(false);
}

void MFilterDbView::restoreFilterTreeState()
{
    setStoredTreeState(storedTreeState());
    treeState(true);
    changedFilter(false);
}

void MFilterDbView::changedFilter(bool bEmit)
{
    m_catalogUnchecked.clear();
    m_filterTreeUnchecked.clear();
    if (hasCatalogs() && m_catalogSwitch && m_catalogSwitch->isChecked())
        m_catalogUnchecked = storedOption(QStringLiteral("CATALOG_UNCHECKED_"));
    if (hasFilterTree() && m_filterSwitch && m_filterSwitch->isChecked())
        m_filterTreeUnchecked = storedTreeState().at(0);

    // Every owner the panel knows has refreshFilter(); another widget is not asked.
    if (bEmit && !optionSuffix().isEmpty())
        QMetaObject::invokeMethod(m_owner, "refreshFilter", Qt::DirectConnection);
}

void MFilterDbView::reloadView()
{
    if (hasFilterTree() && !m_treeQuery.isEmpty()) {
        loadFilterTree(m_treeQuery);
        restoreFilterTreeState();
    }
    if (hasCatalogs() && !m_catalogQuery.isEmpty()) {
        loadCatalogList(m_catalogQuery);
        restoreCatalogChecks();
    }
    restorePanelState();
}
