#include "MRecordDbView.h"

#include "data/MOptions.h"
#include "data/MSqlitePolish.h"
#include "views/MAppServices.h"
#include "views/MFilterDbView.h"
#include "views/MListFont.h"
#include "views/MListNames.h"
#include "views/MMessageBox.h"
#include "views/MSqlListRows.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QContextMenuEvent>
#include <QDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>

namespace {

bool isOption(const QString& key, const char* value)
{
    return MOptions::option(key) == QLatin1String(value);
}

} // namespace

MRecordDbView::MRecordDbView(MAppServices* appWnd, QWidget* parent)
    : QWidget(parent)
    , m_appWnd(appWnd)
{
    m_enabledActionsTimer = new QTimer(this);
    connect(m_enabledActionsTimer, &QTimer::timeout, this, &MRecordDbView::doTimeoutEnabledActionsTimer);
    setAttribute(Qt::WA_DeleteOnClose);
}

MRecordDbView::~MRecordDbView()
{
    m_enabledActionsTimer->disconnect();
    m_enabledActionsTimer->stop();
    if (QAbstractItemModel* model = m_tableView ? m_tableView->model() : nullptr) {
        m_tableView->setModel(nullptr);
        model->deleteLater();
    }
}

void MRecordDbView::initWidget()
{
    setAccessibleName(viewName());

    m_tableView = new MTableView(this);
    m_tableView->setAccessibleName(MListNames::tableName(viewName()));
    m_tableView->setViewKind(viewKind());

    auto* model = new MSqlQueryModel(this);
    model->setColumnKinds(columnKinds());
    m_tableView->setModel(model);

    setModelQuery(buildSqlQuery(true, false));
    const QStringList titles = columnTitles();
    for (int column = 0; column < titles.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, titles.at(column), Qt::EditRole);
    m_tableView->initHeaders();

    m_tableView->setWordWrap(false);
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setFocusPolicy(Qt::StrongFocus);
    m_tableView->setDropIndicatorShown(false);
    m_tableView->setDragDropMode(QAbstractItemView::DragDrop);
    m_tableView->setAcceptDrops(true);
    m_tableView->setDragEnabled(isOption(QStringLiteral("DRAG_AND_DROP"), "1"));

    QHeaderView* header = m_tableView->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &MRecordDbView::doSortIndicatorChanged);

    auto* layout = new QGridLayout(this);
    m_filterView = new MFilterDbView(this);
    m_filterView->initWidget();
    m_sidePane = createSidePane(m_filterView);
    m_sidePane->setVisible(isOption(QStringLiteral("FILTER_SHOW_") + optionSuffix(), "1"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_sidePane, 0, 0);
    layout->setColumnMinimumWidth(1, 3);
    layout->addWidget(m_tableView, 0, 2);

    connect(m_tableView, &QAbstractItemView::doubleClicked, this, &MRecordDbView::cellDoubleClicked);
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MRecordDbView::doSelectionChanged);
    renewRowMarks();
}

void MRecordDbView::afterInitWidget()
{
    if (hasCatalogs())
        m_filterView->restoreCatalogChecks();
    m_filterView->restoreFilterTreeState();
}

QWidget* MRecordDbView::createSidePane(MFilterDbView* filterView)
{
    return filterView;
}

MTableView* MRecordDbView::tableView()
{
    return m_tableView;
}

MAppServices* MRecordDbView::appWnd() const
{
    return m_appWnd;
}

QWidget* MRecordDbView::dialogParent() const
{
    return m_appWnd ? m_appWnd->mainWidget() : const_cast<MRecordDbView*>(this);
}

MFilterDbView* MRecordDbView::filterView() const
{
    return m_filterView;
}

MSqlQueryModel* MRecordDbView::queryModel() const
{
    return qobject_cast<MSqlQueryModel*>(m_tableView->model());
}

void MRecordDbView::setModelQuery(const QString& sql)
{
    MSqlQueryModel* model = queryModel();
    model->setQuery(sql, m_listValues);
    if (isOption(QStringLiteral("ACTIVE_TABLE_CACHE"), "0")) {
        while (model->canFetchMore())
            model->fetchMore();
    }
}

bool MRecordDbView::execListQuery(QSqlQuery& query, const QString& sql) const
{
    return MSqlListRows::run(query, sql, m_listValues);
}

void MRecordDbView::bindListValue(const QString& placeholder, const QVariant& value)
{
    m_listValues.insert(placeholder, value);
}

MRecordDbView::ListState MRecordDbView::takeListState(bool fromOptions)
{
    m_currentId = 0;
    m_idsSelected.clear();
    m_listValues.clear();
    ListState state;
    const QString suffix = optionSuffix();
    if (fromOptions) {
        if (isOption(QStringLiteral("CATALOG_SWITCH_") + suffix, "1"))
            state.catalogUnchecked = MOptions::option(QStringLiteral("CATALOG_UNCHECKED_") + suffix);
        if (isOption(QStringLiteral("FILTER_TREE_SWITCH_") + suffix, "1"))
            state.filterTreeUnchecked = MOptions::option(QStringLiteral("FILTER_TREE_UNCHECKED_") + suffix);
        if (isOption(QStringLiteral("SEARCH_SWITCH_") + suffix, "1")) {
            state.searchColumn = MOptions::option(QStringLiteral("FILTER_SEARCH_COLUMN_") + suffix).toInt();
            if (state.searchColumn >= 0)
                state.searchText = MOptions::option(QStringLiteral("FILTER_SEARCH_TEXT_") + suffix);
        }
        const QStringList sort = MOptions::option(QStringLiteral("COLUMN_SORT_") + suffix).split(QLatin1Char(';'));
        if (sort.size() == 2) {
            state.sortColumn = sort.at(0).toInt();
            state.sortOrder = sort.at(1).toInt();
        }
        return state;
    }

    m_currentId = currentId();
    m_idsSelected = selectedIds();
    m_tableView->saveHorizontalScroll();
    state.catalogUnchecked = m_filterView->catalogUnchecked();
    state.filterTreeUnchecked = m_filterView->filterTreeUnchecked();
    state.searchColumn = m_filterView->searchColumn();
    if (state.searchColumn >= 0)
        state.searchText = m_filterView->searchText();
    const QHeaderView* header = m_tableView->horizontalHeader();
    state.sortColumn = header->sortIndicatorSection();
    state.sortOrder = header->sortIndicatorOrder() == Qt::DescendingOrder ? 1 : 0;
    return state;
}

QString MRecordDbView::orderByClause(const ListState& state, const QStringList& sortExpressions,
                                     const QString& idExpression)
{
    if (state.sortColumn < 0 || state.sortColumn >= sortExpressions.size())
        return QString();
    const QString descending = state.sortOrder == 1 ? QStringLiteral(" DESC") : QString();
    if (state.sortColumn == 0)
        return QStringLiteral(" ORDER BY ") + idExpression + descending;
    return QStringLiteral(" ORDER BY ") + sortExpressions.at(state.sortColumn).section(QLatin1Char('\t'), 0, 0)
        + QLatin1Char(' ') + MSqlitePolish::sqlCollate + descending + QStringLiteral(", ") + idExpression + descending;
}

QMap<int, int> MRecordDbView::selectedIds() const
{
    QMap<int, int> ids;
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows(0);
    for (const QModelIndex& row : rows)
        ids.insert(idOfRow(row.row()), 1);
    return ids;
}

bool MRecordDbView::runDeletion(const QStringList& statements, const QString& failure)
{
    QSqlDatabase db = QSqlDatabase::database();
    QString error;
    if (db.transaction()) {
        for (const QString& sql : statements) {
            QSqlQuery query;
            if (!query.exec(sql)) {
                error = query.lastError().text();
                break;
            }
        }
        if (error.isEmpty() && db.commit())
            return true;
        if (error.isEmpty())
            error = db.lastError().text();
        db.rollback();
    } else {
        error = db.lastError().text();
    }

    QString text = failure;
    if (!error.trimmed().isEmpty())
        text += QStringLiteral("\n\n") + error.trimmed();
    MMessageBox::critical(this, tr("Błąd usuwania"), text);
    return false;
}

QDialog* MRecordDbView::createRecordDialog(int /*id*/)
{
    return nullptr;
}

void MRecordDbView::openRecordDialog(int id, bool nestedLoop)
{
    if (QDialog* dialog = createRecordDialog(id))
        runDialog(dialog, nestedLoop);
}

void MRecordDbView::runDialog(QDialog* dialog, bool nestedLoop)
{
    dialog->setModal(true);
    if (nestedLoop)
        dialog->exec();
    else
        dialog->show();
}

void MRecordDbView::doNew()
{
    openRecordDialog(0, false);
}

void MRecordDbView::doEdit()
{
    const int id = currentId();
    if (id > 0)
        openRecordDialog(id, false);
}

void MRecordDbView::cellDoubleClicked(QModelIndex indx)
{
    if (m_tableView->isMousePressed())
        openRecordDialog(idOfRow(indx.row()), true);
}

void MRecordDbView::deleteAfterQuestion(const QString& title, const QString& question, const QStringList& statements,
                                        const QString& failure)
{
    if (!confirmDeletion(title, question))
        return;
    runDeletion(statements, failure);
    reloadView(viewKind(), 0);
}

bool MRecordDbView::confirmDeletion(const QString& title, const QString& text)
{
    return MMessageBox::warning(this, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void MRecordDbView::deleteSelectedCatalog(const QString& catalogTable, const QString& joinTable)
{
    const int id = m_filterView->selectedCatalogId();
    if (id < 1)
        return;
    const QString idText = QString::number(id);
    QSqlQuery query;
    QString name;
    if (query.exec(QStringLiteral("SELECT name FROM ") + catalogTable + QStringLiteral(" WHERE id = ") + idText)
        && query.next())
        name = query.value(0).toString();
    if (!confirmDeletion(tr("Potwierdzenie usunięcia katalogu"), tr("Na pewno usunąć katalog: %1?").arg(name)))
        return;
    runDeletion({QStringLiteral("DELETE FROM ") + joinTable + QStringLiteral(" WHERE id_catalog = ") + idText,
                 QStringLiteral("DELETE FROM ") + catalogTable + QStringLiteral(" WHERE id = ") + idText},
                tr("Nie udało się usunąć katalogu: %1. Dane w bazie pozostały bez zmian.").arg(name));
    reloadView(viewKind(), 0);
}

void MRecordDbView::execContextMenu(QMenu& menu, const QContextMenuEvent* event)
{
    menu.setFont(listFont());
    menu.exec(event->globalPos() + QPoint(2, 2));
}

int MRecordDbView::rowOfId(int id)
{
    QSqlQuery query;
    int row = -1;
    if (execListQuery(query, buildSqlQuery(false, true))) {
        while (query.next()) {
            ++row;
            if (query.value(0).toInt() == id)
                return row;
        }
    }
    return -1;
}

int MRecordDbView::currentId() const
{
    const QModelIndex current = m_tableView->currentIndex();
    if (!current.isValid())
        return 0;
    return idOfRow(current.row());
}

int MRecordDbView::idOfRow(int row) const
{
    return queryModel()->record(row).value(QStringLiteral("idx")).toInt();
}

int MRecordDbView::loadedRowOfId(int id) const
{
    const MSqlQueryModel* model = queryModel();
    for (int row = 0; id > 0 && model && row < model->rowCount(); ++row) {
        if (idOfRow(row) == id)
            return row;
    }
    return -1;
}

bool MRecordDbView::hasCurrentIndex() const
{
    return m_tableView->currentIndex().isValid();
}

int MRecordDbView::selectedRowCount() const
{
    return m_tableView->selectionModel()->selectedRows(0).size();
}

void MRecordDbView::requery()
{
    setModelQuery(buildSqlQuery(false, false));
    setIdsSelected();
}

void MRecordDbView::refreshFilter()
{
    requery();
}

void MRecordDbView::doSortIndicatorChanged(int /*logicalIndex*/, Qt::SortOrder /*order*/)
{
    requery();
}

void MRecordDbView::reloadView(int i, int id)
{
    if (i != viewKind())
        return;
    m_filterView->reloadView();
    setModelQuery(buildSqlQuery(false, false));
    afterReloadView();
    if (id > 0)
        setIdSelected(id);
    else
        setIdsSelected();
}

void MRecordDbView::setIdSelected(int id)
{
    if (m_appWnd)
        m_appWnd->loadTab(viewKind(), false);
    m_tableView->selectRowAt(rowOfId(id));
    renewRowMarks();
    m_tableView->restoreHorizontalScroll();
}

void MRecordDbView::setIdsSelected()
{
    if (!m_idsSelected.isEmpty() || isOption(QStringLiteral("ACTIVE_TABLE_CACHE"), "0")) {
        if (m_appWnd)
            m_appWnd->loadTab(viewKind(), false);
        m_tableView->selectIds(m_idsSelected, m_currentId);
    }
    renewRowMarks();
    m_tableView->restoreHorizontalScroll();
}

void MRecordDbView::doExportCsv()
{
    m_tableView->exportCsv(buildSqlQuery(false, false));
}

void MRecordDbView::doShowFilter(bool show)
{
    m_sidePane->setVisible(show);
    MOptions::setOption(QStringLiteral("FILTER_SHOW_") + optionSuffix(), show ? QStringLiteral("1")
                                                                              : QStringLiteral("0"));
}

void MRecordDbView::doSelectionChanged(QItemSelection /*selected*/, QItemSelection /*deselected*/)
{
    restartEnabledActionsTimer();
}

void MRecordDbView::restartEnabledActionsTimer()
{
    m_enabledActionsTimer->start(300);
}

void MRecordDbView::doTimeoutEnabledActionsTimer()
{
    m_enabledActionsTimer->stop();
    if (m_appWnd)
        m_appWnd->setEnabledMenuActions();
}
