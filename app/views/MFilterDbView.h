#pragma once

#include <QItemSelection>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QWidget>

class MSelectListModel;
class MSqlQueryTreeModel;
class MTableView;
class QAction;
class QCheckBox;
class QColor;
class QComboBox;
class QContextMenuEvent;
class QLineEdit;
class QPushButton;
class QStandardItem;
class QTimer;
class QToolBar;
class QTreeView;

// The filter panel at the left edge of a record view: a search (text and column), a check
// list of catalogs (buyers and products) and a tree of checkable values, each switchable,
// and a refresh button. It keeps the user's choices in options named after its owner,
// hands them to the owner through the getters and asks the owner to re-run its query; the
// owner turns them into SQL (see MFilterConditions.h).
//
// The owner is the widget given as parent, recognised by its accessible name at every use.
// The record views live in subsystems built on this one, so the panel reaches them through
// their slots by name: tableView(), refreshFilter() and, for buyers and products,
// doCatalogAdd(), doCatalogEdit(), doCatalogDelete(), doCatalogCheckAll() and
// doCatalogUncheckAll().
class MFilterDbView : public QWidget
{
    Q_OBJECT

public:
    explicit MFilterDbView(QWidget* parent);
    ~MFilterDbView() override;

    // The search field's text while the search is switched on, else empty.
    QString searchText() const;
    // The column number of the chosen search entry.
    int searchColumn() const;
    // The ";"-joined ids of the unchecked catalogs ("0": no catalog), as stored at the last
    // refresh; empty while the catalogs are switched off.
    QString catalogUnchecked() const;
    // The ";"-joined keys of the unchecked tree items, as stored at the last refresh; empty
    // while the filter tree is switched off.
    QString filterTreeUnchecked() const;
    // The id of the selected catalog row (0 for "[bez katalogu]"); -1 when none is selected.
    int selectedCatalogId() const;

    // Only the marks in the list change; the records follow at the next refresh.
    void checkAllCatalogs();
    void uncheckAllCatalogs();

    // Apply the stored state to the list and the tree once the owner's tab is shown; the
    // owner is not asked to re-run its query.
    void restoreCatalogChecks();
    void restoreFilterTreeState();

public slots:
    void initWidget();
    // Reloads the catalog list and the filter tree from the database and restores the
    // panel from the options; clicks not yet stored by a refresh are lost.
    void reloadView();
    void setEnabledActions();

protected:
    // A right click on the panel opens no menu and does not reach the owner's.
    void contextMenuEvent(QContextMenuEvent* event) override;

private slots:
    void changedFilter(bool bEmit = true);
    void doClickedRefresh(bool b);
    void doCurrentIndexChangedFilterColumn(int index);
    void doReturnPressedFilterString();
    void doSelectionChangedCatalog(QItemSelection selected, QItemSelection deselected);
    void doStateChangedCatalogSwitch(int state);
    void doStateChangedFilterSwitch(int state);
    void doStateChangedSearchSwitch(int state);
    void doTimeoutEnabledActionsTimer();

private:
    // What the owner's accessible name gives (MFilterDbView.cpp).
    QString optionSuffix() const;
    bool hasCatalogs() const;
    bool hasFilterTree() const;
    bool isSalesList() const;
    bool isPurchaseList() const;
    QString storedOption(const QString& family) const;
    void storeOption(const QString& family, const QString& value) const;
    MTableView* ownerTableView() const;

    // The SQL of the catalog list and of the filter tree (MFilterDbViewQueries.cpp).
    QString catalogQuery() const;
    QString filterTreeQuery() const;

    void buildColumnEntries();
    void createCatalogActions();
    void buildLayout(QWidget* searchHeader, QWidget* catalogHeader, QWidget* filterHeader);
    void restorePanelState();
    void setSearchFieldBase(const QColor& color);
    void loadCatalogList(const QString& sql);
    void restartEnabledActionsTimer();
    void setActionEnabled(QAction* action, const QString& key);

    // The filter tree and the stored state (MFilterDbViewState.cpp).
    void loadFilterTree(const QString& sql);
    QStringList treeState(bool apply);
    QStringList subtreeState(QStandardItem* parent, const QString& prefix, bool apply);
    void walkItem(QStandardItem* item, const QString& key, bool apply, QStringList& state);
    QStringList storedTreeState() const;
    void setStoredTreeState(const QStringList& state);
    void setStoredCatalogIds(const QString& ids);
    QString uncheckedCatalogIds(bool apply);

    QWidget* const m_owner;

    QCheckBox* m_searchSwitch = nullptr;
    QLineEdit* m_searchField = nullptr;
    QComboBox* m_columnList = nullptr;
    QPushButton* m_searchButton = nullptr;

    QCheckBox* m_catalogSwitch = nullptr;
    QToolBar* m_catalogToolBar = nullptr;
    QTreeView* m_catalogList = nullptr;
    MSelectListModel* m_catalogModel = nullptr;
    QString m_catalogQuery;

    QCheckBox* m_filterSwitch = nullptr;
    QTreeView* m_filterTree = nullptr;
    MSqlQueryTreeModel* m_treeModel = nullptr;
    QString m_treeQuery;

    QPushButton* m_refreshButton = nullptr;

    int m_searchColumn = 0;
    QString m_catalogUnchecked;
    QString m_filterTreeUnchecked;
    QMap<QString, bool> m_storedCatalogIds;
    QMap<QString, bool> m_storedUncheckedKeys;
    QMap<QString, bool> m_storedExpandedKeys;

    // The catalog actions in tool-bar order, by action key, and their wanted enabled state.
    QList<QPair<QString, QAction*>> m_catalogActions;
    QMap<QString, bool> m_actionMap;
    QTimer* const m_enabledActionsTimer;
};
