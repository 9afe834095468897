#include "MProductDbView.h"

#include "catalog/MProductCatalogDlg.h"
#include "catalog/MProductCatalogJoinDlg.h"
#include "catalog/MProductDlg.h"
#include "data/MSqlitePolish.h"
#include "views/MFilterConditions.h"
#include "views/MFilterDbView.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSqlQuery>

namespace {

const int productViewKind = 4;
const int nettoPriceColumn = 6;
const int bruttoPriceColumn = 7;

const QString selectList = QStringLiteral(
    "p.id AS idx, p.name, p.symbol, p.code, p.unit, "
    "CASE WHEN p.count_from_netto = 1 THEN 'netto' ELSE 'brutto' END, "
    "p.netto_price || ' ' || c.symbol AS _netto_price_, p.brutto_price || ' ' || c.symbol AS _brutto_price_, "
    "p.vat_text, datetime(p.time_create, 'localtime') AS _time_create_, "
    "datetime(p.time_modify, 'localtime') AS _time_modify_ ");

const QString sources = QStringLiteral(" FROM product p  LEFT JOIN vat v ON v.name = p.vat_text "
                                       " LEFT JOIN currency c ON c.id = p.id_currency ");

const QString catalogJoin = QStringLiteral(" LEFT JOIN product_catalog_join pcj ON pcj.id_product = p.id");

// The search and sort expression of each column; the aliased columns are named by their
// aliases, which only exist when the whole select list is there.
QStringList searchExpressions(bool idsOnly)
{
    return {
        QStringLiteral("p.id"),
        QStringLiteral("p.name"),
        QStringLiteral("p.symbol"),
        QStringLiteral("p.code"),
        QStringLiteral("p.unit"),
        QStringLiteral("CASE WHEN p.count_from_netto = 1 THEN 'netto' ELSE 'brutto' END"),
        idsOnly ? QStringLiteral("p.netto_price || ' ' || c.symbol") : QStringLiteral("_netto_price_"),
        idsOnly ? QStringLiteral("p.brutto_price || ' ' || c.symbol") : QStringLiteral("_brutto_price_"),
        QStringLiteral("p.vat_text"),
        idsOnly ? QStringLiteral("datetime(p.time_create, 'localtime')") : QStringLiteral("_time_create_"),
        idsOnly ? QStringLiteral("datetime(p.time_modify, 'localtime')") : QStringLiteral("_time_modify_"),
    };
}

// A price column sorts by the number first, then by its text with the currency.
QString priceOrderBy(const QString& priceColumn, const QString& shownExpression, bool descending)
{
    const QString order = descending ? QStringLiteral(" DESC") : QString();
    return QStringLiteral(" ORDER BY ") + priceColumn + QLatin1Char(' ') + MSqlitePolish::sqlCollate + order
        + QStringLiteral(", ") + shownExpression + QLatin1Char(' ') + MSqlitePolish::sqlCollate + order
        + QStringLiteral(", p.id") + order;
}

} // namespace

MProductDbView::MProductDbView(MAppServices* appWnd, QWidget* parent)
    : MRecordDbView(appWnd, parent)
{
}

MProductDbView::~MProductDbView() = default;

QString MProductDbView::viewName() const
{
    return QStringLiteral("MProductDbView");
}

int MProductDbView::viewKind() const
{
    return productViewKind;
}

QString MProductDbView::optionSuffix() const
{
    return QStringLiteral("PRODUCT_DB_VIEW");
}

QStringList MProductDbView::columnTitles() const
{
    return {tr("Id"),          tr("Nazwa"),
            tr("Symbol"),      tr("PKWiU/PKOB"),
            tr("Jednostka miary"), tr("Podstawa cenowa"),
            tr("Netto jednostkowe"), tr("Brutto jednostkowe"),
            tr("VAT"),         tr("Czas utworzenia"),
            tr("Czas modyfikacji")};
}

QList<int> MProductDbView::columnKinds() const
{
    return {ColumnKind::Integer, ColumnKind::Text, ColumnKind::Text, ColumnKind::Text,
            ColumnKind::Text, ColumnKind::Text, ColumnKind::CurrencyAmount2, ColumnKind::CurrencyAmount2,
            ColumnKind::Text, ColumnKind::Text, ColumnKind::Text};
}

bool MProductDbView::hasCatalogs() const
{
    return true;
}

QString MProductDbView::buildSqlQuery(bool fromOptions, bool idsOnly)
{
    return buildSqlQuery(fromOptions, false, idsOnly);
}

QString MProductDbView::buildSqlQuery(bool fromOptions, bool countOnly, bool idsOnly)
{
    const ListState state = takeListState(fromOptions);
    const QStringList expressions = searchExpressions(idsOnly);

    QString select = selectList;
    if (countOnly)
        select = QStringLiteral("COUNT(*)");
    else if (idsOnly)
        select = QStringLiteral("p.id");
    QString sql = QStringLiteral("SELECT ") + select + sources;
    if (!state.catalogUnchecked.isEmpty())
        sql += catalogJoin;

    QStringList conditions;
    const QString search = searchCondition(state.searchText, state.searchColumn, expressions, columnKinds());
    if (!search.isEmpty())
        conditions.append(search);
    if (!state.catalogUnchecked.isEmpty())
        conditions += catalogConditions(state.catalogUnchecked, QStringLiteral("pcj"));
    const QString bases = uncheckedTreeIds(state.filterTreeUnchecked, QStringLiteral("1"));
    if (!bases.isEmpty())
        conditions.append(QStringLiteral("(p.count_from_netto NOT IN (") + bases + QStringLiteral("))"));
    const QString rates = uncheckedTreeIds(state.filterTreeUnchecked, QStringLiteral("2"));
    if (!rates.isEmpty())
        conditions.append(QStringLiteral("(v.id NOT IN (") + rates + QStringLiteral("))"));
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));

    // A product in several catalogs comes once per catalog through the join.
    if (!state.catalogUnchecked.isEmpty())
        sql += QStringLiteral(" GROUP BY p.id");
    if (countOnly)
        return sql;

    const bool descending = state.sortOrder == 1;
    if (state.sortColumn == nettoPriceColumn)
        return sql + priceOrderBy(QStringLiteral("p.netto_price"), expressions.at(nettoPriceColumn), descending);
    if (state.sortColumn == bruttoPriceColumn)
        return sql + priceOrderBy(QStringLiteral("p.brutto_price"), expressions.at(bruttoPriceColumn), descending);
    return sql + orderByClause(state, expressions, QStringLiteral("p.id"));
}

int MProductDbView::rowOfId(int id, bool fromOptions)
{
    QSqlQuery query;
    int row = -1;
    if (query.exec(buildSqlQuery(fromOptions, false, true))) {
        while (query.next()) {
            ++row;
            if (query.value(0).toInt() == id)
                return row;
        }
    }
    return -1;
}

QDialog* MProductDbView::createRecordDialog(int id)
{
    auto* dialog = new MProductDlg(dialogParent(), false);
    dialog->setIdRecord(id, 0, -1);
    return dialog;
}

void MProductDbView::doDelete()
{
    const int id = currentId();
    if (id < 1)
        return;
    // Documents keep their own copies of their products.
    const QString idText = QString::number(id);
    deleteAfterQuestion(tr("Potwierdzenie usunięcia produktu"),
                        tr("Na pewno usunąć produkt o identyfikatorze %1?").arg(id),
                        {QStringLiteral("DELETE FROM product_catalog_join WHERE id_product = ") + idText,
                         QStringLiteral("DELETE FROM product WHERE id = ") + idText},
                        tr("Nie udało się usunąć produktu o identyfikatorze %1. Dane w bazie pozostały bez zmian.")
                            .arg(id));
}

void MProductDbView::doCatalogAdd()
{
    auto* dialog = new MProductCatalogDlg(dialogParent());
    dialog->setModal(true);
    dialog->exec();
}

void MProductDbView::doCatalogEdit()
{
    const int id = filterView()->selectedCatalogId();
    if (id < 1)
        return;
    auto* dialog = new MProductCatalogDlg(dialogParent());
    dialog->setIdRecord(id);
    dialog->setModal(true);
    dialog->exec();
}

void MProductDbView::doCatalogDelete()
{
    deleteSelectedCatalog(QStringLiteral("product_catalog"), QStringLiteral("product_catalog_join"));
}

void MProductDbView::doCatalogJoin()
{
    QMap<int, bool> ids;
    const QMap<int, int> selected = selectedIds();
    for (auto it = selected.cbegin(); it != selected.cend(); ++it)
        ids.insert(it.key(), true);

    auto* dialog = new MProductCatalogJoinDlg(dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(true);
    dialog->setIdsProduct(ids);
    dialog->show();
}

void MProductDbView::doCatalogCheckAll()
{
    filterView()->checkAllCatalogs();
}

void MProductDbView::doCatalogUncheckAll()
{
    filterView()->uncheckAllCatalogs();
}

void MProductDbView::contextMenuEvent(QContextMenuEvent* event)
{
    const int id = currentId();
    const int selected = selectedRowCount();

    QMenu menu(this);
    addMenuEntry(menu, tr("Nowy"), tr("Nowy produkt"), &MProductDbView::doNew);
    QAction* edit = addMenuEntry(menu, tr("Edytuj"), tr("Edytuj produkt"), &MProductDbView::doEdit);
    QAction* remove = addMenuEntry(menu, tr("Usuń"), tr("Usuń produkt"), &MProductDbView::doDelete);
    menu.addSeparator();
    QAction* join = addMenuEntry(menu, tr("Przypisz do katalogów"), tr("Przynależność do katalogów"),
                                 &MProductDbView::doCatalogJoin);

    if (id == 0) {
        for (QAction* action : {edit, remove, join})
            action->setEnabled(false);
    }
    // Catalogs can be set for several products at once; the rest is for one product.
    if (selected > 1) {
        for (QAction* action : {edit, remove})
            action->setEnabled(false);
    }
    execContextMenu(menu, event);
}
