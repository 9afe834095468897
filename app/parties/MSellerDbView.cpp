#include "MSellerDbView.h"

#include "data/MSqlValue.h"
#include "parties/MSellerDlg.h"
#include "views/MFilterConditions.h"
#include "views/MMessageBox.h"
#include "views/MSqlQueryModel.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

namespace {

const int sellerViewKind = 2;

const QString selectList = QStringLiteral(
    "s.id AS idx, s.firm, s.nip, s.regon, s.bank, s.bank_account, s.address, s.city, s.zipcode, p.name, c.name, "
    "s.phone, s.fax, s.email, s.www, s.permit_person_firstname || ' ' || s.permit_person_secondname, "
    "datetime(s.time_create, 'localtime') AS _time_create_, datetime(s.time_modify, 'localtime') AS _time_modify_ ");

const QString sources = QStringLiteral(
    " FROM seller s LEFT JOIN province p ON p.id = s.id_province LEFT JOIN country c ON c.id = s.id_country");

// The search and sort expression of each column; the time columns are named by their
// aliases, which only exist when the whole select list is there.
QStringList searchExpressions(bool idsOnly)
{
    return {
        QStringLiteral("s.id"),
        QStringLiteral("s.firm"),
        QStringLiteral("replace(replace(s.nip, '-', ''), ' ', '')"),
        QStringLiteral("s.regon"),
        QStringLiteral("s.bank"),
        QStringLiteral("s.bank_account"),
        QStringLiteral("s.address"),
        QStringLiteral("s.city"),
        QStringLiteral("s.zipcode"),
        QStringLiteral("p.name"),
        QStringLiteral("c.name"),
        QStringLiteral("s.phone"),
        QStringLiteral("s.fax"),
        QStringLiteral("s.email"),
        QStringLiteral("s.www"),
        QStringLiteral("s.permit_person_firstname || ' ' || s.permit_person_secondname"),
        idsOnly ? QStringLiteral("datetime(s.time_create, 'localtime')") : QStringLiteral("_time_create_"),
        idsOnly ? QStringLiteral("datetime(s.time_modify, 'localtime')") : QStringLiteral("_time_modify_"),
    };
}

} // namespace

MSellerDbView::MSellerDbView(MAppServices* appWnd, QWidget* parent)
    : MDefaultRecordDbView(appWnd, parent, QStringLiteral("ID_RECORD_DEFAULT_SELLER"))
{
}

MSellerDbView::~MSellerDbView() = default;

QString MSellerDbView::viewName() const
{
    return QStringLiteral("MSellerDbView");
}

int MSellerDbView::viewKind() const
{
    return sellerViewKind;
}

QString MSellerDbView::optionSuffix() const
{
    return QStringLiteral("SELLER_DB_VIEW");
}

QStringList MSellerDbView::columnTitles() const
{
    return {tr("Id"), tr("Firma"), tr("NIP"), tr("Regon"), tr("Bank"), tr("Numer konta"), tr("Adres"),
            tr("Miejscowość"), tr("Kod pocztowy"), tr("Województwo"), tr("Kraj"), tr("Telefon"), tr("Fax"),
            tr("E-mail"), tr("WWW"), tr("Osoba upoważniona"), tr("Czas utworzenia"), tr("Czas modyfikacji")};
}

QList<int> MSellerDbView::columnKinds() const
{
    QList<int> kinds = {ColumnKind::Integer, ColumnKind::Text, ColumnKind::TaxIdentifier};
    while (kinds.size() < 18)
        kinds.append(ColumnKind::Text);
    return kinds;
}

bool MSellerDbView::hasCatalogs() const
{
    return false;
}

QString MSellerDbView::buildSqlQuery(bool fromOptions, bool idsOnly)
{
    const ListState state = takeListState(fromOptions);
    const QStringList expressions = searchExpressions(idsOnly);

    QString sql = QStringLiteral("SELECT ") + (idsOnly ? QStringLiteral("s.id") : selectList) + sources;
    QStringList conditions;
    const QString search = searchCondition(state.searchText, state.searchColumn, expressions, columnKinds());
    if (!search.isEmpty())
        conditions.append(search);
    const QString provinces = uncheckedTreeIds(state.filterTreeUnchecked, QStringLiteral("1"));
    if (!provinces.isEmpty())
        conditions.append(QStringLiteral("(s.id_province NOT IN (") + provinces + QStringLiteral("))"));
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return sql + orderByClause(state, expressions, QStringLiteral("s.id"));
}

QDialog* MSellerDbView::createRecordDialog(int id)
{
    auto* dialog = new MSellerDlg(dialogParent(), false);
    dialog->setIdRecord(id);
    return dialog;
}

void MSellerDbView::doDelete()
{
    const int id = currentId();
    if (id <= 0)
        return;
    const QString idText = QString::number(id);
    const int documents =
        sqlValue(QStringLiteral("SELECT COUNT(*) FROM invoice WHERE id_seller_base = ") + idText + QStringLiteral(" LIMIT 1"))
            .toInt();
    if (documents != 0) {
        MMessageBox::information(this, tr("Błąd usunięcia sprzedawcy"),
                                 tr("Sprzedawcy o identyfikatorze %1 nie można usunąć, ponieważ istnieją dokumenty "
                                    "odwołujące się do niego.")
                                     .arg(id));
        return;
    }
    // Documents keep their own copy of the seller; its accounts and logo rows stay. A
    // refused delete is reported instead of passing in silence.
    deleteAfterQuestion(tr("Potwierdzenie usunięcia sprzedawcy"),
                        tr("Na pewno usunąć sprzedawcę o identyfikatorze %1?").arg(id),
                        {QStringLiteral("DELETE FROM seller WHERE id = ") + idText},
                        tr("Nie udało się usunąć sprzedawcy o identyfikatorze %1. Dane w bazie pozostały bez zmian.")
                            .arg(id));
}

void MSellerDbView::contextMenuEvent(QContextMenuEvent* event)
{
    const bool oneSeller = currentId() != 0 && selectedRowCount() <= 1;

    QMenu menu(this);
    addMenuEntry(menu, tr("Nowy"), tr("Nowy sprzedawca"), &MSellerDbView::doNew);
    QAction* makeDefault = addMenuEntry(menu, tr("Domyślny"), tr("Domyślny sprzedawca"), &MSellerDbView::doDefault);
    QAction* edit = addMenuEntry(menu, tr("Edytuj"), tr("Edytuj sprzedawcę"), &MSellerDbView::doEdit);
    QAction* remove = addMenuEntry(menu, tr("Usuń"), tr("Usuń sprzedawcę"), &MSellerDbView::doDelete);
    for (QAction* action : {makeDefault, edit, remove})
        action->setEnabled(oneSeller);

    execContextMenu(menu, event);
}
