#include "MCurrencyRatingDbView.h"

#include "catalog/MCurrencyRatingDlg.h"
#include "data/MCurrencyRatingFilter.h"
#include "views/MFilterConditions.h"
#include "views/MSqlQueryModel.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

namespace {

const int currencyRatingViewKind = 10;

// The last column, named by its alias, stays hidden: the tree's month filter reads it.
const QString selectList = QStringLiteral(
    "cr.id AS idx, IFNULL(strftime('%Y-%m-%d', cr.rating_date), '') AS _rating_date_, cr.bank_name, "
    "cr.currency_amount_from || ' ' || c1.symbol AS _symbol_from_, "
    "cr.currency_value || ' ' || c2.symbol AS _symbol_to_, cr.table_name, "
    "CASE WHEN cr.input_kind = 0 THEN 'ręcznie' ELSE '' END, "
    "datetime(cr.time_create, 'localtime') AS _time_create_, datetime(cr.time_modify, 'localtime') AS _time_modify_, "
    "strftime('%Y,%m', cr.rating_date) AS _rating_date_month_ ");

const QString sources = QStringLiteral(
    " FROM currency_rating cr LEFT JOIN currency c1 ON cr.id_currency_from = c1.id "
    "LEFT JOIN currency c2 ON cr.id_currency_to = c2.id");

// The search and sort expression of each visible column; the aliases exist only when the
// whole select list is there.
QStringList searchExpressions(bool idsOnly)
{
    return {
        QStringLiteral("cr.id"),
        idsOnly ? QStringLiteral("IFNULL(strftime('%Y-%m-%d', cr.rating_date), '')") : QStringLiteral("_rating_date_"),
        QStringLiteral("cr.bank_name"),
        idsOnly ? QStringLiteral("cr.currency_amount_from || ' ' || c1.symbol") : QStringLiteral("_symbol_from_"),
        idsOnly ? QStringLiteral("cr.currency_value || ' ' || c2.symbol") : QStringLiteral("_symbol_to_"),
        QStringLiteral("cr.table_name"),
        QStringLiteral("cr.input_kind"),
        idsOnly ? QStringLiteral("datetime(cr.time_create, 'localtime')") : QStringLiteral("_time_create_"),
        idsOnly ? QStringLiteral("datetime(cr.time_modify, 'localtime')") : QStringLiteral("_time_modify_"),
    };
}

} // namespace

MCurrencyRatingDbView::MCurrencyRatingDbView(MAppServices* appWnd, QWidget* parent)
    : MRecordDbView(appWnd, parent)
{
}

MCurrencyRatingDbView::~MCurrencyRatingDbView() = default;

QString MCurrencyRatingDbView::viewName() const
{
    return QStringLiteral("MCurrencyRatingDbView");
}

int MCurrencyRatingDbView::viewKind() const
{
    return currencyRatingViewKind;
}

QString MCurrencyRatingDbView::optionSuffix() const
{
    return QStringLiteral("CURRENCY_RATING_DB_VIEW");
}

QStringList MCurrencyRatingDbView::columnTitles() const
{
    return {tr("Id"),     tr("Data notowania"), tr("Bank"),           tr("Waluta"),          tr("Kurs"),
            tr("Tabela"), tr("Utworzone"),      tr("Czas utworzenia"), tr("Czas modyfikacji")};
}

QList<int> MCurrencyRatingDbView::columnKinds() const
{
    return {ColumnKind::Integer, ColumnKind::Text, ColumnKind::Text,
            ColumnKind::RightText, ColumnKind::CurrencyAmount4, ColumnKind::Text,
            ColumnKind::Text, ColumnKind::Text, ColumnKind::Text};
}

bool MCurrencyRatingDbView::hasCatalogs() const
{
    return false;
}

QString MCurrencyRatingDbView::buildSqlQuery(bool fromOptions, bool idsOnly)
{
    const ListState state = takeListState(fromOptions);
    const QStringList expressions = searchExpressions(idsOnly);

    QString sql = QStringLiteral("SELECT ") + (idsOnly ? QStringLiteral("cr.id") : selectList) + sources;
    QStringList conditions;
    const QString search = searchCondition(state.searchText, state.searchColumn, expressions, columnKinds());
    if (!search.isEmpty())
        conditions.append(search);
    const MCurrencyRatingFilter tree(state.filterTreeUnchecked);
    conditions += tree.conditions(idsOnly ? QStringLiteral("strftime('%Y,%m', cr.rating_date)")
                                          : QStringLiteral("_rating_date_month_"));
    const QVariantMap values = tree.values();
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        bindListValue(value.key(), value.value());
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return sql + orderByClause(state, expressions, QStringLiteral("cr.id"));
}

QDialog* MCurrencyRatingDbView::createRecordDialog(int id)
{
    auto* dialog = new MCurrencyRatingDlg(dialogParent(), false);
    dialog->setIdRecord(id);
    return dialog;
}

void MCurrencyRatingDbView::doDelete()
{
    const int id = currentId();
    if (id <= 0)
        return;
    // Documents keep their own copy of their rating.
    deleteAfterQuestion(tr("Potwierdzenie usunięcia notowania walutowego"),
                        tr("Na pewno usunąć notowanie walutowe o identyfikatorze %1?").arg(id),
                        {QStringLiteral("DELETE FROM currency_rating WHERE id = ") + QString::number(id)},
                        tr("Nie udało się usunąć notowania walutowego o identyfikatorze %1. Dane w bazie pozostały "
                           "bez zmian.")
                            .arg(id));
}

void MCurrencyRatingDbView::contextMenuEvent(QContextMenuEvent* event)
{
    const bool oneRating = currentId() != 0 && selectedRowCount() <= 1;

    QMenu menu(this);
    addMenuEntry(menu, tr("Nowy"), tr("Nowe notowanie walutowe"), &MCurrencyRatingDbView::doNew);
    QAction* edit = addMenuEntry(menu, tr("Edytuj"), tr("Edytuj notowanie walutowe"), &MCurrencyRatingDbView::doEdit);
    QAction* remove =
        addMenuEntry(menu, tr("Usuń"), tr("Usuń notowanie walutotowe"), &MCurrencyRatingDbView::doDelete);
    for (QAction* action : {edit, remove})
        action->setEnabled(oneRating);

    execContextMenu(menu, event);
}
