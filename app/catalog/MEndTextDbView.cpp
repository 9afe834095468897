#include "MEndTextDbView.h"

#include "catalog/MEndTextDlg.h"
#include "core/MAppWnd.h"
#include "views/MFilterConditions.h"
#include "views/MMessageBox.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

namespace {

const int endTextViewKind = 5;
const QString defaultEndTextOption = QStringLiteral("ID_RECORD_DEFAULT_ENDTEXT");

const QString selectList = QStringLiteral(
    "e.id AS idx, e.content, datetime(e.time_create, 'localtime') AS _time_create_, "
    "datetime(e.time_modify, 'localtime') AS _time_modify_ ");

// The search and sort expression of each column; the time columns are named by their
// aliases, which only exist when the whole select list is there.
QStringList searchExpressions(bool idsOnly)
{
    return {
        QStringLiteral("e.id"),
        QStringLiteral("e.content"),
        idsOnly ? QStringLiteral("datetime(e.time_create, 'localtime')") : QStringLiteral("_time_create_"),
        idsOnly ? QStringLiteral("datetime(e.time_modify, 'localtime')") : QStringLiteral("_time_modify_"),
    };
}

} // namespace

MEndTextDbView::MEndTextDbView(MAppWnd* appWnd, QWidget* parent)
    : MRecordDbView(appWnd, parent)
    // Text that is no number reads as no default text.
    , m_idRecordDefault(MAppWnd::option(defaultEndTextOption).toInt())
{
}

MEndTextDbView::~MEndTextDbView() = default;

QString MEndTextDbView::viewName() const
{
    return QStringLiteral("MEndTextDbView");
}

int MEndTextDbView::viewKind() const
{
    return endTextViewKind;
}

QString MEndTextDbView::optionSuffix() const
{
    return QStringLiteral("ENDTEXT_DB_VIEW");
}

QStringList MEndTextDbView::columnTitles() const
{
    return {tr("Id"), tr("Tekst"), tr("Czas utworzenia"), tr("Czas modyfikacji")};
}

QList<int> MEndTextDbView::columnKinds() const
{
    return {ColumnKind::Integer, ColumnKind::Text, ColumnKind::Text, ColumnKind::Text};
}

bool MEndTextDbView::hasCatalogs() const
{
    return false;
}

QString MEndTextDbView::buildSqlQuery(bool fromOptions, bool idsOnly)
{
    const ListState state = takeListState(fromOptions);
    const QStringList expressions = searchExpressions(idsOnly);

    QString sql = QStringLiteral("SELECT ") + (idsOnly ? QStringLiteral("e.id") : selectList)
        + QStringLiteral(" FROM end_text e");
    const QString search = searchCondition(state.searchText, state.searchColumn, expressions, columnKinds());
    if (!search.isEmpty())
        sql += QStringLiteral(" WHERE ") + search;
    return sql + orderByClause(state, expressions, QStringLiteral("e.id"));
}

void MEndTextDbView::setIdRecordDefault(int id)
{
    m_idRecordDefault = id;
    MAppWnd::setOption(defaultEndTextOption, QString::number(id));
    // Only a loaded row can be painted: a default text further down the list, filtered
    // out or deleted leaves no row painted.
    if (MSqlQueryModel* model = queryModel())
        model->setRowDefault(loadedRowOfId(id));
}

void MEndTextDbView::renewRowMarks()
{
    setIdRecordDefault(m_idRecordDefault);
}

bool MEndTextDbView::isCurrentDefault() const
{
    const int id = currentId();
    return id > 0 && id == m_idRecordDefault;
}

void MEndTextDbView::doDefault()
{
    const int id = currentId();
    if (id <= 0)
        return;
    setIdRecordDefault(id == m_idRecordDefault ? 0 : id);
    restartEnabledActionsTimer();
}

void MEndTextDbView::openDialog(int id, bool nestedLoop)
{
    auto* dialog = new MEndTextDlg(dialogParent());
    dialog->setIdRecord(id);
    dialog->setModal(true);
    if (nestedLoop)
        dialog->exec();
    else
        dialog->show();
}

void MEndTextDbView::doNew()
{
    openDialog(0, false);
}

void MEndTextDbView::doEdit()
{
    const int id = currentId();
    if (id > 0)
        openDialog(id, false);
}

void MEndTextDbView::cellDoubleClicked(QModelIndex indx)
{
    if (tableView()->isMousePressed())
        openDialog(idOfRow(indx.row()), true);
}

void MEndTextDbView::doDelete()
{
    const int id = currentId();
    if (id <= 0)
        return;
    if (MMessageBox::warning(this, tr("Potwierdzenie usunięcia tekstu końcowego"),
                             tr("Na pewno usunąć tekst końcowy o identyfikatorze %1?").arg(id),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    // Documents keep their own copies of their texts. The default option keeps the id of
    // a deleted default text, which then marks no row.
    runDeletion({QStringLiteral("DELETE FROM end_text WHERE id = ") + QString::number(id)},
                tr("Nie udało się usunąć tekstu końcowego o identyfikatorze %1. Dane w bazie pozostały bez zmian.")
                    .arg(id));
    reloadView(endTextViewKind, 0);
}

void MEndTextDbView::contextMenuEvent(QContextMenuEvent* event)
{
    const bool oneText = currentId() != 0 && selectedRowCount() <= 1;

    QMenu menu(this);
    addMenuEntry(menu, tr("Nowy"), tr("Nowy tekst końcowy"), &MEndTextDbView::doNew);
    QAction* makeDefault =
        addMenuEntry(menu, tr("Domyślny"), tr("Domyślny tekst końcowy"), &MEndTextDbView::doDefault);
    QAction* edit = addMenuEntry(menu, tr("Edytuj"), tr("Edytuj tekst końcowy"), &MEndTextDbView::doEdit);
    QAction* remove = addMenuEntry(menu, tr("Usuń"), tr("Usuń tekst końcowy"), &MEndTextDbView::doDelete);
    for (QAction* action : {makeDefault, edit, remove})
        action->setEnabled(oneText);

    execContextMenu(menu, event);
}
