#include "MInvoiceDbView.h"

#include "documents/MFastView.h"
#include "data/MInvoiceListSql.h"
#include "data/MVatSummary.h"
#include "export/MJpkFaDlg.h"
#include "export/MJpkVatDlg.h"
#include "printing/MGenerateDlg.h"
#include "views/MFilterConditions.h"
#include "views/MFilterDbView.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QItemSelectionModel>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTimer>

namespace {

const int taxNumberColumn = 19;
const int productNameColumn = 20;

// The tree's groups and the inner columns their unchecked values hide.
QStringList treeConditions(const QString& unchecked)
{
    QStringList sellers;
    QStringList kinds;
    QStringList years;
    QStringList months;
    QStringList states;
    const QStringList entries = unchecked.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const QStringList parts = entry.split(QLatin1Char(','));
        if (parts.size() < 2)
            continue;
        bool isNumber = false;
        parts.at(1).toInt(&isNumber);
        if (!isNumber)
            continue;
        const QString& group = parts.at(0);
        if (group == QLatin1String("1"))
            sellers << parts.at(1);
        else if (group == QLatin1String("2"))
            kinds << parts.at(1);
        else if (group == QLatin1String("4"))
            states << parts.at(1);
        else if (group == QLatin1String("3") && parts.size() == 2)
            years << QLatin1Char('\'') + parts.at(1) + QLatin1Char('\'');
        else if (group == QLatin1String("3") && parts.size() == 3 && parts.at(2).toInt() > 0)
            months << QStringLiteral("'%1,%2'").arg(parts.at(1)).arg(parts.at(2).toInt(), 2, 10, QLatin1Char('0'));
    }
    QStringList conditions;
    const auto add = [&conditions](const QString& column, const QStringList& values) {
        if (!values.isEmpty())
            conditions << QStringLiteral("(") + column + QStringLiteral(" NOT IN (") + values.join(QLatin1Char(','))
                    + QStringLiteral("))");
    };
    add(QStringLiteral("_id_seller_base_"), sellers);
    add(QStringLiteral("_id_doc_kind_"), kinds);
    add(QStringLiteral("_date_put_year_"), years);
    add(QStringLiteral("_date_put_month_"), months);
    add(QStringLiteral("_is_payed_"), states);
    return conditions;
}

} // namespace

MInvoiceDbView::MInvoiceDbView(MAppServices* appWnd, QWidget* parent, int viewKind)
    : MRecordDbView(appWnd, parent)
    , m_viewKind(viewKind == 8 ? 8 : 7)
    , m_generateDlg(new MGenerateDlg(this))
    , m_jobTimer(new QTimer(this))
{
    m_jobTimer->setObjectName(QStringLiteral("jobTimer"));
}

MInvoiceDbView::~MInvoiceDbView() = default;

QString MInvoiceDbView::viewName() const
{
    return m_viewKind == 8 ? QStringLiteral("MInvoiceDbView_Buy") : QStringLiteral("MInvoiceDbView_Sell");
}

int MInvoiceDbView::viewKind() const
{
    return m_viewKind;
}

QString MInvoiceDbView::optionSuffix() const
{
    return m_viewKind == 8 ? QStringLiteral("INVOICE_BUY_DB_VIEW") : QStringLiteral("INVOICE_SELL_DB_VIEW");
}

QStringList MInvoiceDbView::columnTitles() const
{
    const bool sales = m_viewKind == 7;
    return {tr("Id"),
            tr("Numer"),
            tr("Rodzaj dokumentu"),
            sales ? tr("Sprzedawca bazowy") : tr("Kontrahent bazowy"),
            sales ? tr("Sprzedawca") : tr("Kontrahent"),
            sales ? tr("Kontrahent") : tr("Sprzedawca"),
            // A title that is the column's alias keeps the column hidden.
            sales ? tr("Kontrahent dodatkowy") : QStringLiteral("_buyer2_firm_"),
            tr("Miejsce wystawienia"),
            tr("Data wystawienia"),
            sales ? tr("Data sprzedaży") : tr("Data zakupu"),
            tr("Forma płatności"),
            tr("Termin płatności"),
            tr("Data zapłaty"),
            tr("Podstawa cenowa"),
            tr("Netto ogółem"),
            tr("Brutto ogółem"),
            tr("Id odnośnika"),
            tr("Czas utworzenia"),
            tr("Czas modyfikacji")};
}

QList<int> MInvoiceDbView::columnKinds() const
{
    QList<int> kinds{ColumnKind::Integer};
    for (int column = 1; column <= 13; ++column)
        kinds << ColumnKind::Text;
    kinds << ColumnKind::CurrencyAmount2 << ColumnKind::CurrencyAmount2 << ColumnKind::Integer << ColumnKind::Text
          << ColumnKind::Text;
    return kinds;
}

bool MInvoiceDbView::hasCatalogs() const
{
    return false;
}

QWidget* MInvoiceDbView::createSidePane(MFilterDbView* filterView)
{
    m_sideTab = new QTabWidget(this);
    m_sideTab->setFixedWidth(282);
    m_sideTab->addTab(filterView, tr("Filtracja"));
    m_fastView = new MFastView(this);
    m_fastView->initWidget();
    m_sideTab->addTab(m_fastView, tr("Szybki podgląd"));
    m_fastView->reloadView();
    return m_sideTab;
}

void MInvoiceDbView::afterReloadView()
{
    if (m_fastView)
        m_fastView->reloadView();
}

MFastView* MInvoiceDbView::fastView() const
{
    return m_fastView;
}

QString MInvoiceDbView::buildSqlQuery(bool fromOptions, bool idsOnly)
{
    return buildSqlQuery(fromOptions, false, idsOnly);
}

QString MInvoiceDbView::buildSqlQuery(bool fromOptions, bool countOnly, bool idsOnly)
{
    setAccessibleName(viewName());
    const ListState state = takeListState(fromOptions);

    MInvoiceListSql sql;
    sql.viewKind = m_viewKind;
    sql.sortColumn = state.sortColumn;
    sql.descending = state.sortOrder == 1;

    QString main;
    if (!state.searchText.isEmpty()) {
        if (state.searchColumn >= 0 && state.searchColumn < taxNumberColumn) {
            main = QStringLiteral("(")
                + searchLikeTerm(MInvoiceListSql::columnName(state.searchColumn), searchLikeText(state.searchText))
                + QStringLiteral(")");
        } else if (state.searchColumn == taxNumberColumn) {
            const QString text = searchLikeText(state.searchText, true);
            const QStringList terms = {
                searchLikeTerm(QStringLiteral("replace(replace(b.nip, '-', ''), ' ', '')"), text),
                searchLikeTerm(QStringLiteral("replace(b.permit_person_pesel, ' ', '')"), text),
                searchLikeTerm(QStringLiteral("replace(replace(b2.nip, '-', ''), ' ', '')"), text),
                searchLikeTerm(QStringLiteral("replace(b2.permit_person_pesel, ' ', '')"), text),
            };
            main = QStringLiteral("((") + terms.join(QStringLiteral(" OR ")) + QStringLiteral(") )");
        } else if (state.searchColumn == productNameColumn) {
            sql.productTerm = searchLikeTerm(QStringLiteral("p.name"), searchLikeText(state.searchText));
        }
    }

    const QStringList tree = treeConditions(state.filterTreeUnchecked);
    if (!tree.isEmpty()) {
        const QString treeCondition = tree.join(QStringLiteral(" AND "));
        main = main.isEmpty() ? treeCondition : main + QStringLiteral(" AND ") + treeCondition;
    }
    sql.mainCondition = main;

    if (countOnly)
        return sql.statement(MInvoiceListSql::CountOnly);
    return sql.statement(idsOnly ? MInvoiceListSql::IdsOnly : MInvoiceListSql::FullList);
}

int MInvoiceDbView::rowOfId(int id, bool fromOptions)
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

QList<int> MInvoiceDbView::collectSelectedIds() const
{
    QMap<int, int> byRow;
    MTableView* table = const_cast<MInvoiceDbView*>(this)->tableView();
    const QModelIndexList rows = table->selectionModel()->selectedRows(0);
    for (const QModelIndex& row : rows)
        byRow.insert(row.row(), idOfRow(row.row()));
    return byRow.values();
}

namespace {

// The JPK dialogs stay hidden children of the list after closing.
void showJpkDialog(MJpkDlg* dialog, const QList<int>& ids)
{
    dialog->setIdsSelected(ids);
    dialog->setModal(true);
    dialog->show();
}

} // namespace

void MInvoiceDbView::doExportJpkFa()
{
    showJpkDialog(new MJpkFaDlg(this), collectSelectedIds());
}

void MInvoiceDbView::doExportJpkVat()
{
    showJpkDialog(new MJpkVatDlg(this), collectSelectedIds());
}

int MInvoiceDbView::buildVatSummary(QList<int> ids)
{
    return MVatSummary::build(ids);
}
