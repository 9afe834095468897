#include "MEndTextDbView.h"

#include "catalog/MEndTextDlg.h"
#include "views/MFilterConditions.h"
#include "views/MSqlQueryModel.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

namespace {

const int endTextViewKind = 5;

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

MEndTextDbView::MEndTextDbView(MAppServices* appWnd, QWidget* parent)
    : MDefaultRecordDbView(appWnd, parent, QStringLiteral("ID_RECORD_DEFAULT_ENDTEXT"))
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

QDialog* MEndTextDbView::createRecordDialog(int id)
{
    auto* dialog = new MEndTextDlg(dialogParent());
    dialog->setIdRecord(id);
    return dialog;
}

void MEndTextDbView::doDelete()
{
    const int id = currentId();
    if (id <= 0)
        return;
    // Documents keep their own copies of their texts. The default option keeps the id of
    // a deleted default text, which then marks no row.
    deleteAfterQuestion(tr("Potwierdzenie usunięcia tekstu końcowego"),
                        tr("Na pewno usunąć tekst końcowy o identyfikatorze %1?").arg(id),
                        {QStringLiteral("DELETE FROM end_text WHERE id = ") + QString::number(id)},
                        tr("Nie udało się usunąć tekstu końcowego o identyfikatorze %1. Dane w bazie pozostały bez "
                           "zmian.")
                            .arg(id));
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
