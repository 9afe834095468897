#include "MBuyerDbView.h"

#include "data/MOptions.h"
#include "data/MSqlValue.h"
#include "parties/MBuyerCatalogDlg.h"
#include "parties/MBuyerCatalogJoinDlg.h"
#include "parties/MBuyerDlg.h"
#include "views/MAppServices.h"
#include "views/MFilterConditions.h"
#include "views/MFilterDbView.h"
#include "views/MSqlQueryModel.h"
#include "data/MSqlValue.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

namespace {

const int buyerViewKind = 3;
const int salesViewKind = 7;
// The sales list's search entry of the NIP or PESEL of a document's buyers.
const int salesBuyerNumberColumn = 19;

const QString selectList = QStringLiteral(
    "b.id AS idx, b.firm, CASE WHEN b.nip <> '' THEN b.nip ELSE b.permit_person_pesel END, b.regon, b.bank, "
    "b.bank_account, b.address, b.city, b.zipcode, p.name, c.name, "
    "ba.address || ' ' || ba.zipcode || ' ' || ba.city || ' ' || IFNULL(p2.name, '') || ' ' || IFNULL(c2.name, ''), "
    "b.phone, b.fax, b.email, b.www, b.permit_person_firstname || ' ' || b.permit_person_secondname, "
    "datetime(b.time_create, 'localtime') AS _time_create_, datetime(b.time_modify, 'localtime') AS _time_modify_ ");

const QString sources = QStringLiteral(
    " FROM buyer b LEFT JOIN province p ON p.id = b.id_province LEFT JOIN country c ON c.id = b.id_country"
    " LEFT JOIN buyer_address ba ON ba.id = b.id_address_contact LEFT JOIN province p2 ON p2.id = ba.id_province"
    " LEFT JOIN country c2 ON c2.id = ba.id_country");

const QString catalogJoin = QStringLiteral(" LEFT JOIN buyer_catalog_join bcj ON bcj.id_buyer = b.id");

// The search and sort expression of each column; the time columns are named by their
// aliases, which only exist when the whole select list is there.
QStringList searchExpressions(bool idsOnly)
{
    return {
        QStringLiteral("b.id"),
        QStringLiteral("b.firm"),
        QStringLiteral("CASE WHEN b.nip <> '' THEN replace(replace(b.nip, '-', ''), ' ', '') "
                       "ELSE replace(b.permit_person_pesel, ' ', '') END"),
        QStringLiteral("b.regon"),
        QStringLiteral("b.bank"),
        QStringLiteral("b.bank_account"),
        QStringLiteral("b.address"),
        QStringLiteral("b.city"),
        QStringLiteral("b.zipcode"),
        QStringLiteral("p.name"),
        QStringLiteral("c.name"),
        QStringLiteral("ba.address || ' ' || ba.zipcode || ' ' || ba.city || ' ' || IFNULL(p2.name, '') || ' ' "
                       "|| IFNULL(c2.name, '')"),
        QStringLiteral("b.phone"),
        QStringLiteral("b.fax"),
        QStringLiteral("b.email"),
        QStringLiteral("b.www"),
        QStringLiteral("b.permit_person_firstname || ' ' || b.permit_person_secondname"),
        idsOnly ? QStringLiteral("datetime(b.time_create, 'localtime')") : QStringLiteral("_time_create_"),
        idsOnly ? QStringLiteral("datetime(b.time_modify, 'localtime')") : QStringLiteral("_time_modify_"),
    };
}

} // namespace

MBuyerDbView::MBuyerDbView(MAppServices* appWnd, QWidget* parent)
    : MRecordDbView(appWnd, parent)
{
}

MBuyerDbView::~MBuyerDbView() = default;

QString MBuyerDbView::viewName() const
{
    return QStringLiteral("MBuyerDbView");
}

int MBuyerDbView::viewKind() const
{
    return buyerViewKind;
}

QString MBuyerDbView::optionSuffix() const
{
    return QStringLiteral("BUYER_DB_VIEW");
}

QStringList MBuyerDbView::columnTitles() const
{
    return {tr("Id"), tr("Firma / Osoba"), tr("NIP / PESEL"), tr("Regon"), tr("Bank"), tr("Numer konta"),
            tr("Adres"), tr("Miejscowość"), tr("Kod pocztowy"), tr("Województwo"), tr("Kraj"),
            tr("Adres korespondencyjny"), tr("Telefon"), tr("Fax"), tr("E-mail"), tr("WWW"),
            tr("Osoba upoważniona"), tr("Czas utworzenia"), tr("Czas modyfikacji")};
}

QList<int> MBuyerDbView::columnKinds() const
{
    QList<int> kinds = {ColumnKind::Integer, ColumnKind::Text, ColumnKind::TaxIdentifier};
    while (kinds.size() < 19)
        kinds.append(ColumnKind::Text);
    return kinds;
}

bool MBuyerDbView::hasCatalogs() const
{
    return true;
}

QString MBuyerDbView::buildSqlQuery(bool fromOptions, bool idsOnly)
{
    const ListState state = takeListState(fromOptions);
    const QStringList expressions = searchExpressions(idsOnly);

    QString sql = QStringLiteral("SELECT ") + (idsOnly ? QStringLiteral("b.id") : selectList) + sources;
    if (!state.catalogUnchecked.isEmpty())
        sql += catalogJoin;

    QStringList conditions;
    const QString search = searchCondition(state.searchText, state.searchColumn, expressions, columnKinds());
    if (!search.isEmpty())
        conditions.append(search);
    if (!state.catalogUnchecked.isEmpty())
        conditions += catalogConditions(state.catalogUnchecked, QStringLiteral("bcj"));
    const QString provinces = uncheckedTreeIds(state.filterTreeUnchecked, QStringLiteral("1"));
    if (!provinces.isEmpty())
        conditions.append(QStringLiteral("(b.id_province NOT IN (") + provinces + QStringLiteral("))"));
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));

    // A buyer in several catalogs comes once per catalog through the join.
    if (!state.catalogUnchecked.isEmpty())
        sql += QStringLiteral(" GROUP BY b.id");
    return sql + orderByClause(state, expressions, QStringLiteral("b.id"));
}

QDialog* MBuyerDbView::createRecordDialog(int id)
{
    auto* dialog = new MBuyerDlg(dialogParent(), false);
    dialog->setIdRecord(id);
    return dialog;
}

void MBuyerDbView::doDelete()
{
    const int id = currentId();
    if (id < 1)
        return;
    // Documents keep their own copies of their buyers; the contact address stays.
    const QString idText = QString::number(id);
    deleteAfterQuestion(tr("Potwierdzenie usunięcia kontrahenta"),
                        tr("Na pewno usunąć kontrahenta o identyfikatorze %1?").arg(id),
                        {QStringLiteral("DELETE FROM buyer_catalog_join WHERE id_buyer = ") + idText,
                         QStringLiteral("DELETE FROM buyer_defaults WHERE id_buyer = ") + idText,
                         QStringLiteral("DELETE FROM buyer WHERE id = ") + idText},
                        tr("Nie udało się usunąć kontrahenta o identyfikatorze %1. Dane w bazie pozostały bez zmian.")
                            .arg(id));
}

void MBuyerDbView::doShowDocsSell()
{
    const int id = currentId();
    if (id < 1)
        return;
    const QString numberSql = QStringLiteral("SELECT CASE WHEN nip <> '' THEN nip ELSE permit_person_pesel END "
                                             "FROM buyer WHERE id = ")
        + QString::number(id);
    const QString number = sqlValue(numberSql).toString().trimmed();

    MOptions::setOption(QStringLiteral("SEARCH_SWITCH_INVOICE_SELL_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("FILTER_TREE_SWITCH_INVOICE_SELL_DB_VIEW"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_COLUMN_INVOICE_SELL_DB_VIEW"),
                        QString::number(salesBuyerNumberColumn));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_TEXT_INVOICE_SELL_DB_VIEW"), number);
    if (appWnd())
        appWnd()->loadTab(salesViewKind, true);
}

void MBuyerDbView::doCatalogAdd()
{
    auto* dialog = new MBuyerCatalogDlg(dialogParent());
    dialog->setModal(true);
    dialog->exec();
}

void MBuyerDbView::doCatalogEdit()
{
    const int id = filterView()->selectedCatalogId();
    if (id < 1)
        return;
    auto* dialog = new MBuyerCatalogDlg(dialogParent());
    dialog->setIdRecord(id);
    dialog->setModal(true);
    dialog->exec();
}

void MBuyerDbView::doCatalogDelete()
{
    deleteSelectedCatalog(QStringLiteral("buyer_catalog"), QStringLiteral("buyer_catalog_join"));
}

void MBuyerDbView::doCatalogCheckAll()
{
    filterView()->checkAllCatalogs();
}

void MBuyerDbView::doCatalogUncheckAll()
{
    filterView()->uncheckAllCatalogs();
}

void MBuyerDbView::doCatalogJoin()
{
    auto* dialog = new MBuyerCatalogJoinDlg(dialogParent());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(true);
    dialog->setIdsBuyer(selectedIds());
    dialog->show();
}

void MBuyerDbView::contextMenuEvent(QContextMenuEvent* event)
{
    const int id = currentId();
    const int selected = selectedRowCount();

    QMenu menu(this);
    addMenuEntry(menu, tr("Nowy"), tr("Nowy kontrahent"), &MBuyerDbView::doNew);
    QAction* edit = addMenuEntry(menu, tr("Edytuj"), tr("Edytuj kontrahenta"), &MBuyerDbView::doEdit);
    QAction* remove = addMenuEntry(menu, tr("Usuń"), tr("Usuń kontrahenta"), &MBuyerDbView::doDelete);
    menu.addSeparator();
    QAction* join = addMenuEntry(menu, tr("Przypisz do katalogów"), tr("Przynależność do katalogów"),
                                 &MBuyerDbView::doCatalogJoin);
    menu.addSeparator();
    QAction* docs = addMenuEntry(menu, tr("Pokaż faktury sprzedaży"), tr("Pokaż faktury sprzedaży"),
                                 &MBuyerDbView::doShowDocsSell);

    if (id == 0) {
        for (QAction* action : {edit, remove, join, docs})
            action->setEnabled(false);
    }
    // Catalogs can be set for several buyers at once; the rest is for one buyer.
    if (selected > 1) {
        for (QAction* action : {edit, remove, docs})
            action->setEnabled(false);
    }
    execContextMenu(menu, event);
}
