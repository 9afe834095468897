// Records taken into the editor from the main window's tabs, by drops and by
// the add and "Zamień" actions, and their removal.
#include "MInvoiceDlg.h"

#include "data/MInvoiceIntake.h"
#include "data/MInvoiceWorkingCopies.h"
#include "data/MOptions.h"
#include "data/MSqlTransaction.h"
#include "views/MAppServices.h"
#include "views/MListNames.h"
#include "views/MMessageBox.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"

#include <QAction>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QVariant>

namespace {

const QString sellerView = QStringLiteral("MSellerDbView");
const QString buyerView = QStringLiteral("MBuyerDbView");
const QString productView = QStringLiteral("MProductDbView");
const QString ratingView = QStringLiteral("MCurrencyRatingDbView");
const QString endTextView = QStringLiteral("MEndTextDbView");
const QString salesView = QStringLiteral("MInvoiceDbView_Sell");
const QString purchaseView = QStringLiteral("MInvoiceDbView_Buy");

const QString ratingColumns = QStringLiteral(
    "id, bank_name, id_currency_from, id_currency_to, rating_date, input_kind, currency_amount_from, "
    "currency_value, table_name, time_create, time_modify, ''");

// True when the rows come from the table of one of `views` and the first id is a record's.
bool fromSource(const QWidget* source, const QList<int>& ids, const QStringList& views)
{
    if (!source || ids.isEmpty() || ids.first() <= 0)
        return false;
    for (const QString& view : views)
        if (source->accessibleName() == MListNames::tableName(view))
            return true;
    return false;
}

// The key held in column `field` of the list's current row; 0 without one.
int currentKey(QTableView* list, const char* field)
{
    auto* model = qobject_cast<QSqlQueryModel*>(list->model());
    if (!model || !list->selectionModel() || !list->selectionModel()->currentIndex().isValid())
        return 0;
    return model->record(list->selectionModel()->currentIndex().row()).value(QLatin1String(field)).toInt();
}

// The keys in column `field` of the list's selected rows, in selection order.
QList<int> selectedKeys(QTableView* list, const char* field)
{
    QList<int> keys;
    auto* model = qobject_cast<QSqlQueryModel*>(list->model());
    if (!model || !list->selectionModel())
        return keys;
    for (const QModelIndex& index : list->selectionModel()->selectedRows(0))
        keys << model->record(index.row()).value(QLatin1String(field)).toInt();
    return keys;
}

// Selects the row kept before a refill, or else the last one, and shows it at the top.
void selectAfterIntake(QTableView* list, int keptRow)
{
    if (!list->model())
        return;
    const int rows = list->model()->rowCount();
    const int row = keptRow >= 0 && keptRow < rows ? keptRow : rows - 1;
    if (row < 0)
        return;
    list->selectRow(row);
    list->scrollTo(list->model()->index(row, 2), QAbstractItemView::PositionAtTop);
}

} // namespace

void MInvoiceDlg::connectIntake()
{
    auto connectDrops = [this](QObject* target, const char* slot) {
        if (target)
            connect(target, SIGNAL(dropIndexes(QWidget*, QList<int>)), this, slot);
    };
    connectDrops(m_sellerTable, SLOT(doDropIndexesSeller(QWidget*, QList<int>)));
    connectDrops(m_buyerTable, SLOT(doDropIndexesBuyer(QWidget*, QList<int>)));
    connectDrops(m_buyer2Table, SLOT(doDropIndexesBuyer2(QWidget*, QList<int>)));
    connectDrops(m_productList, SLOT(doDropIndexesProduct(QWidget*, QList<int>)));
    connectDrops(m_currencyRatingTable, SLOT(doDropIndexesCurrencyRating(QWidget*, QList<int>)));
    connectDrops(m_endText, SLOT(doDropIndexesEndText(QWidget*, QList<int>)));
    connectDrops(m_endText2, SLOT(doDropIndexesEndText2(QWidget*, QList<int>)));
    connectDrops(m_invoiceList, SLOT(doDropIndexesInvoice(QWidget*, QList<int>)));

    const QList<QPair<const char*, const char*>> actions{
        {"SELLER_ADD", SLOT(doActionSellerAdd())},
        {"SELLER_DELETE", SLOT(doActionSellerDelete())},
        {"BUYER_ADD", SLOT(doActionBuyerAdd())},
        {"BUYER_DELETE", SLOT(doActionBuyerDelete())},
        {"BUYER2_ADD", SLOT(doActionBuyer2Add())},
        {"BUYER2_DELETE", SLOT(doActionBuyer2Delete())},
        {"PRODUCT_ADD", SLOT(doActionProductAdd())},
        {"PRODUCT_CHANGE", SLOT(doActionProductChange())},
        {"PRODUCT_DELETE", SLOT(doActionProductDelete())},
        {"CURRENCY_RATING_ADD", SLOT(doActionCurrencyRatingAdd())},
        {"CURRENCY_RATING_DELETE", SLOT(doActionCurrencyRatingDelete())},
        {"ENDTEXT_ADD", SLOT(doActionEndTextAdd())},
        {"ENDTEXT_DELETE", SLOT(doActionEndTextDelete())},
        {"ENDTEXT2_ADD", SLOT(doActionEndText2Add())},
        {"ENDTEXT2_DELETE", SLOT(doActionEndText2Delete())},
        {"INVOICE_ADD", SLOT(doActionInvoiceAdd())},
        {"INVOICE_CHANGE", SLOT(doActionInvoiceChange())},
        {"INVOICE_DELETE", SLOT(doActionInvoiceDelete())},
    };
    for (const auto& action : actions)
        if (QAction* a = m_actions.value(QLatin1String(action.first)))
            connect(a, SIGNAL(triggered()), this, action.second);
}

void MInvoiceDlg::doDropIndexesSeller(QWidget* source, QList<int> indexes)
{
    if (!fromSource(source, indexes, {sellerView}))
        return;
    m_idSeller = MInvoiceWorkingCopies::copy(QStringLiteral("__invoice_seller"), QStringLiteral("seller"),
                                             indexes.first(), MInvoiceWorkingCopies::sellerColumns());
    m_idSellerBase = m_idSeller > 0 ? indexes.first() : 0;
    setSeller();
    if (m_placePut->text().isEmpty() && m_idSeller > 0) {
        QSqlQuery query;
        query.prepare(QStringLiteral("SELECT city FROM __invoice_seller WHERE __id = ?"));
        query.addBindValue(m_idSeller);
        if (query.exec() && query.next())
            m_placePut->setText(query.value(0).toString());
    }
}

void MInvoiceDlg::doDropIndexesBuyer(QWidget* source, QList<int> indexes)
{
    if (!fromSource(source, indexes, {buyerView}))
        return;
    m_idBuyer = MInvoiceIntake::takeBuyer(indexes.first());
    setBuyer();
    if (m_idInvoice == 0 && m_idBuyer > 0)
        applyBuyerDefaults(indexes.first());
}

void MInvoiceDlg::doDropIndexesBuyer2(QWidget* source, QList<int> indexes)
{
    if (!fromSource(source, indexes, {buyerView}))
        return;
    m_idBuyer2 = MInvoiceIntake::takeBuyer(indexes.first());
    setBuyer2();
}

void MInvoiceDlg::doDropIndexesCurrencyRating(QWidget* source, QList<int> indexes)
{
    if (!fromSource(source, indexes, {ratingView}))
        return;
    m_idCurrencyRating = MInvoiceWorkingCopies::copy(QStringLiteral("__invoice_currency_rating"),
                                                     QStringLiteral("currency_rating"), indexes.first(), ratingColumns);
    setCurrencyRating();
}

void MInvoiceDlg::takeEndText(QWidget* source, const QList<int>& indexes, MTextEdit* box)
{
    if (!fromSource(source, indexes, {endTextView}))
        return;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT content FROM end_text WHERE id = ?"));
    query.addBindValue(indexes.first());
    if (query.exec() && query.next())
        box->setPlainText(query.value(0).toString());
    setEnabledActions();
}

void MInvoiceDlg::doDropIndexesEndText(QWidget* source, QList<int> indexes)
{
    takeEndText(source, indexes, m_endText);
}

void MInvoiceDlg::doDropIndexesEndText2(QWidget* source, QList<int> indexes)
{
    takeEndText(source, indexes, m_endText2);
}

void MInvoiceDlg::doDropIndexesProduct(QWidget* source, QList<int> indexes, int index2)
{
    if (!fromSource(source, indexes, {productView}))
        return;
    MInvoiceIntake::LineDefaults defaults;
    defaults.idInvoice = m_idInvoice;
    defaults.docKind = m_docKind;
    defaults.buyerReduct = m_buyerReduct;
    defaults.amountDiscount = MOptions::option(QStringLiteral("DEFAULT_PRICE_REDUCT")).toInt() != 0;
    const QList<int> keys = MInvoiceIntake::takeProducts(indexes, defaults, index2);
    if (index2 <= 0)
        for (int key : keys)
            m_productIds.insert(key, key);
    const int keptRow = index2 > 0 ? m_productList->currentIndex().row() : -1;
    setProducts();
    selectAfterIntake(m_productList, keptRow);
    countSummary();
}

void MInvoiceDlg::doDropIndexesInvoice(QWidget* source, QList<int> indexes, int index2)
{
    // Rows of the purchase list pass here so that the kind check refuses them aloud.
    if (!fromSource(source, indexes, {salesView, purchaseView}))
        return;
    const MInvoiceIntake::JoinResult result =
        MInvoiceIntake::takeJoins(indexes, m_idInvoice, m_invoiceJoinIds.keys(), index2);
    if (index2 <= 0)
        for (int key : result.keys)
            m_invoiceJoinIds.insert(key, key);
    const int keptRow = index2 > 0 ? m_invoiceList->currentIndex().row() : -1;
    setInvoiceJoin();
    selectAfterIntake(m_invoiceList, keptRow);
    if (result.refused > 0)
        MMessageBox::warning(this, tr("Niezgodność wprowadzonych danych"),
                             tr("Do faktur zaliczkowych i końcowych można załączać tylko faktury zaliczkowe."));
}

QTableView* MInvoiceDlg::catalogTable(int viewKind, const QString& viewName)
{
    MAppServices* wnd = appWnd();
    if (!wnd)
        return nullptr;
    wnd->loadTab(viewKind, false);
    QWidget* view = wnd->tabMain()->currentWidget();
    if (!view || view->accessibleName() != viewName)
        return nullptr;
    const QString tableName = MListNames::tableName(viewName);
    for (QTableView* table : view->findChildren<QTableView*>())
        if (table->accessibleName() == tableName)
            return table;
    return nullptr;
}

void MInvoiceDlg::doActionSellerAdd()
{
    if (QTableView* table = catalogTable(2, sellerView))
        doDropIndexesSeller(table, selectedIds(table));
}

void MInvoiceDlg::doActionBuyerAdd()
{
    if (QTableView* table = catalogTable(3, buyerView))
        doDropIndexesBuyer(table, selectedIds(table));
}

void MInvoiceDlg::doActionBuyer2Add()
{
    if (QTableView* table = catalogTable(3, buyerView))
        doDropIndexesBuyer2(table, selectedIds(table));
}

void MInvoiceDlg::doActionProductAdd()
{
    if (QTableView* table = catalogTable(4, productView))
        doDropIndexesProduct(table, selectedIds(table));
}

void MInvoiceDlg::doActionCurrencyRatingAdd()
{
    if (QTableView* table = catalogTable(10, ratingView))
        doDropIndexesCurrencyRating(table, selectedIds(table));
}

void MInvoiceDlg::doActionEndTextAdd()
{
    if (QTableView* table = catalogTable(5, endTextView))
        doDropIndexesEndText(table, selectedIds(table));
}

void MInvoiceDlg::doActionEndText2Add()
{
    if (QTableView* table = catalogTable(5, endTextView))
        doDropIndexesEndText2(table, selectedIds(table));
}

void MInvoiceDlg::doActionInvoiceAdd()
{
    if (QTableView* table = catalogTable(7, salesView))
        doDropIndexesInvoice(table, selectedIds(table));
}

void MInvoiceDlg::doActionProductChange()
{
    QTableView* table = catalogTable(4, productView);
    const int id = table ? currentRowId(table) : 0;
    const int line = id > 0 ? currentKey(m_productList, "idx_misc") : 0;
    if (line > 0)
        doDropIndexesProduct(table, {id}, line);
}

void MInvoiceDlg::doActionInvoiceChange()
{
    QTableView* table = catalogTable(7, salesView);
    const int id = table ? currentRowId(table) : 0;
    const int join = id > 0 ? currentKey(m_invoiceList, "idx_join") : 0;
    if (join > 0)
        doDropIndexesInvoice(table, {id}, join);
}

void MInvoiceDlg::doActionSellerDelete()
{
    if (m_idSeller > 0) {
        QSqlQuery().exec(QStringLiteral("DELETE FROM __invoice_seller WHERE __id = ") + QString::number(m_idSeller));
        m_idSeller = 0;
        m_idSellerBase = 0;
        setSeller();
    }
    setEnabledActions();
}

void MInvoiceDlg::doActionBuyerDelete()
{
    if (m_idBuyer > 0) {
        QSqlQuery().exec(QStringLiteral("DELETE FROM __invoice_buyer WHERE __id = ") + QString::number(m_idBuyer));
        m_idBuyer = 0;
        setBuyer();
    }
    setEnabledActions();
}

void MInvoiceDlg::doActionBuyer2Delete()
{
    if (m_idBuyer2 > 0) {
        QSqlQuery().exec(QStringLiteral("DELETE FROM __invoice_buyer WHERE __id = ") + QString::number(m_idBuyer2));
        m_idBuyer2 = 0;
        setBuyer2();
    }
    setEnabledActions();
}

void MInvoiceDlg::doActionCurrencyRatingDelete()
{
    if (m_idCurrencyRating > 0) {
        QSqlQuery().exec(QStringLiteral("DELETE FROM __invoice_currency_rating WHERE __id = ")
                         + QString::number(m_idCurrencyRating));
        m_idCurrencyRating = 0;
        setCurrencyRating();
    }
    setEnabledActions();
}

void MInvoiceDlg::removeSelected(QTableView* list, const char* field, const QString& table, QMap<int, int>* keys)
{
    const QList<int> selected = selectedKeys(list, field);
    const bool removed = MSqlTransaction::run([&] {
        QSqlQuery query;
        for (int key : selected) {
            if (key <= 0)
                continue;
            const QString error = MSqlTransaction::exec(query, QStringLiteral("DELETE FROM ") + table
                                                                   + QStringLiteral(" WHERE __id = ")
                                                                   + QString::number(key));
            if (!error.isEmpty())
                return error;
        }
        return QString();
    });
    if (removed)
        for (int key : selected)
            keys->remove(key);
}

void MInvoiceDlg::doActionProductDelete()
{
    const bool any = !selectedKeys(m_productList, "idx_misc").isEmpty();
    removeSelected(m_productList, "idx_misc", QStringLiteral("__invoice_product_misc"), &m_productIds);
    if (any) {
        setProducts();
        countSummary();
    }
    setEnabledActions();
}

void MInvoiceDlg::doActionInvoiceDelete()
{
    const bool any = !selectedKeys(m_invoiceList, "idx_join").isEmpty();
    removeSelected(m_invoiceList, "idx_join", QStringLiteral("__invoice_join"), &m_invoiceJoinIds);
    if (any)
        setInvoiceJoin();
    setEnabledActions();
}

void MInvoiceDlg::doActionEndTextDelete()
{
    m_endText->clear();
    setEnabledActions();
}

void MInvoiceDlg::doActionEndText2Delete()
{
    m_endText2->clear();
    setEnabledActions();
}
