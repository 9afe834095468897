#pragma once

#include <QItemSelection>
#include <QMap>
#include <QMenu>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

class MAppServices;
class MFilterDbView;
class MSqlQueryModel;
class MTableView;
class QContextMenuEvent;
class QDialog;
class QSqlQuery;
class QTimer;

// What every record view shares: a filter panel beside a table over a query model; the
// list's SQL written from the panel (or, for the first query, from the stored options)
// and the column header's sort; the selection remembered across every re-query and
// selected again; the reload on change notices of its own view kind; and a tick, 300 ms
// after the last selection change, that lets the main window follow the selection.
// A view names itself, its columns and its SQL through the virtual functions below.
class MRecordDbView : public QWidget
{
    Q_OBJECT

public:
    MRecordDbView(MAppServices* appWnd, QWidget* parent);
    ~MRecordDbView() override;

    // The SQL of the list: fromOptions takes the filter and the sort from the stored
    // options (first query only), otherwise from the panel and the header after
    // recording the selection; idsOnly selects only the record id. Values that the SQL
    // names by placeholder are bound by the view whenever it runs that SQL.
    virtual QString buildSqlQuery(bool fromOptions, bool idsOnly) = 0;

    // The 0-based row of record `id` as the list is now filtered and ordered; -1 if hidden.
    int rowOfId(int id);
    // The record id ("idx") of the current row; 0 without one.
    Q_INVOKABLE int currentId() const;
    // The record id ("idx") of loaded list row `row`.
    int idOfRow(int row) const;
    // The loaded row of record `id`; -1 when it is hidden or not fetched yet.
    int loadedRowOfId(int id) const;
    // Asked by the main window when it enables its operations.
    Q_INVOKABLE bool hasCurrentIndex() const;
    Q_INVOKABLE int selectedRowCount() const;
    void restartEnabledActionsTimer();

public slots:
    void initWidget();
    void afterInitWidget();
    MTableView* tableView();
    void refreshFilter();
    void doSortIndicatorChanged(int logicalIndex, Qt::SortOrder order);
    void reloadView(int i, int id);
    void setIdSelected(int id);
    void setIdsSelected();
    void doExportCsv();
    void doShowFilter(bool show);
    // Open the view's record dialog for a new record, and for the current one.
    void doNew();
    void doEdit();

protected:
    // The filter and sort a list is built from.
    struct ListState
    {
        QString catalogUnchecked;
        QString filterTreeUnchecked;
        int searchColumn = 0;
        QString searchText;
        int sortColumn = 0;
        int sortOrder = 0; // 0 ascending, 1 descending
    };

    // The view's own values: accessible name (also the option family's owner), DbObjectKind,
    // option-key suffix, column titles and kinds, and whether it has catalogs.
    virtual QString viewName() const = 0;
    virtual int viewKind() const = 0;
    virtual QString optionSuffix() const = 0;
    virtual QStringList columnTitles() const = 0;
    virtual QList<int> columnKinds() const = 0;
    virtual bool hasCatalogs() const = 0;

    // Steps shared by every builder: forget the remembered selection (and the values
    // bound by the previous build), record it again when building from the panel, and
    // gather the state of the list.
    ListState takeListState(bool fromOptions);
    // A value that the SQL being built names by `placeholder` (":bank0"): user text goes
    // into the list's SQL this way, never pasted in. Bound whenever that SQL runs.
    void bindListValue(const QString& placeholder, const QVariant& value);
    // " ORDER BY expr COLLATE POLISH [DESC], idExpression [DESC]" from the state; empty for a
    // sort column outside `sortExpressions` (each entry's first tab-separated part is used).
    static QString orderByClause(const ListState& state, const QStringList& sortExpressions,
                                 const QString& idExpression);

    // Null only where a view is built without the main window (its tests); the steps
    // that bring the tab forward or recompute the main window's actions are then skipped.
    MAppServices* appWnd() const;
    // The parent of the dialogs the view opens: the main window, or the view without one.
    QWidget* dialogParent() const;
    MFilterDbView* filterView() const;
    MSqlQueryModel* queryModel() const;
    // Re-runs the list's SQL from the panel and selects the remembered rows again.
    void requery();
    // The ids ("idx") of the selected rows, each mapped to 1.
    QMap<int, int> selectedIds() const;
    // Runs the DELETE statements of one deletion as a whole: when one fails, the ones
    // before it are rolled back and a critical box "Błąd usuwania" shows `failure` (which
    // says that nothing was changed) with the database's reason. True when all ran.
    bool runDeletion(const QStringList& statements, const QString& failure);
    // Runs a record dialog that the view created, modal: in a nested event loop (a double
    // click) or shown without waiting (the main window's commands).
    static void runDialog(QDialog* dialog, bool nestedLoop);
    // The warning box that asks before a deletion, Yes and No with No the default; true
    // when the user answered Yes.
    bool confirmDeletion(const QString& title, const QString& text);
    // Asks, then deletes the catalog selected in the filter panel with its memberships in
    // `joinTable` as one deletion, and reloads the view; the records stay, possibly in no
    // catalog. Nothing happens without a selected catalog.
    void deleteSelectedCatalog(const QString& catalogTable, const QString& joinTable);
    // Adds an entry to the view's context menu: `text`, with `statusTip` for the main
    // window's status bar, running `slot` of the view.
    template <typename View>
    QAction* addMenuEntry(QMenu& menu, const QString& text, const QString& statusTip, void (View::*slot)())
    {
        QAction* action = menu.addAction(text, static_cast<View*>(this), slot);
        action->setStatusTip(statusTip);
        return action;
    }
    // The view's record dialog, a child of dialogParent(), loaded with record `id` (0 for a
    // new record); null for a view that has none.
    virtual QDialog* createRecordDialog(int id);
    // Opens that dialog modal: shown at once, or run in a nested loop until it closes.
    void openRecordDialog(int id, bool nestedLoop);
    // Asks `question` in a warning box titled `title` (No by default); on Yes runs the
    // deletion through runDeletion and reloads the list.
    void deleteAfterQuestion(const QString& title, const QString& question, const QStringList& statements,
                             const QString& failure);
    // Shows the view's context menu in the lists' font beside the pointer.
    void execContextMenu(QMenu& menu, const QContextMenuEvent* event);
    // Marks that the model holds as row numbers (a default record) go with every re-query;
    // a view that has such marks sets them again here. Runs after the first query and after
    // every re-selection.
    virtual void renewRowMarks() {}
    // The widget beside the table that "show filter" shows and hides: the filter panel
    // itself, or a view's own pane holding it.
    virtual QWidget* createSidePane(MFilterDbView* filterView);
    // Runs after a change notice of the view's own kind has re-run the list.
    virtual void afterReloadView() {}

protected slots:
    // A double click on a row that the mouse pressed opens the row's record.
    virtual void cellDoubleClicked(QModelIndex indx);

private slots:
    void doSelectionChanged(QItemSelection selected, QItemSelection deselected);
    void doTimeoutEnabledActionsTimer();

private:
    void setModelQuery(const QString& sql);
    // Runs SQL that buildSqlQuery just returned, with the values it bound.
    bool execListQuery(QSqlQuery& query, const QString& sql) const;

    int m_currentId = 0;
    QTimer* m_enabledActionsTimer = nullptr;
    MFilterDbView* m_filterView = nullptr;
    QWidget* m_sidePane = nullptr;
    MAppServices* m_appWnd = nullptr;
    QMap<int, int> m_idsSelected;
    MTableView* m_tableView = nullptr;
    QVariantMap m_listValues;
};
