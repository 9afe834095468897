// The editor's action rights, which follow the main window's current tab,
// and the actions that open other windows.
#include "MInvoiceDlg.h"

#include "catalog/MCurrencyRatingDlg.h"
#include "catalog/MProductDlg.h"
#include "core/MViewCall.h"
#include "data/MDocKinds.h"
#include "parties/MBuyerDlg.h"
#include "parties/MSellerDlg.h"
#include "views/MAppServices.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"

#include <QAction>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTimer>

namespace {

const char* const dbKeys[] = {"SELLER_DB", "BUYER_DB", "BUYER2_DB", "PRODUCT_DB",
                              "CURRENCY_RATING_DB", "ENDTEXT_DB", "ENDTEXT2_DB", "INVOICE_DB"};

} // namespace

void MInvoiceDlg::setActionEnabled(QAction* action, const QString& key)
{
    if (action && m_enabledMap.contains(key) && action->isEnabled() != m_enabledMap.value(key))
        action->setEnabled(m_enabledMap.value(key));
}

void MInvoiceDlg::setEnabledActions()
{
    for (auto it = m_actions.constBegin(); it != m_actions.constEnd(); ++it)
        m_enabledMap[it.key()] = false;
    for (const char* key : dbKeys)
        m_enabledMap[QLatin1String(key)] = true;

    QWidget* view = appWnd() ? appWnd()->tabMain()->currentWidget() : nullptr;
    const QString name = view ? view->accessibleName() : QString();
    auto current = [view]() { return MViewCall::boolResult(view, "hasCurrentIndex"); };
    auto set = [this](const char* key, bool value) { m_enabledMap[QLatin1String(key)] = value; };
    if (name == QLatin1String("MBuyerDbView")) {
        set("BUYER_DB", false);
        set("BUYER2_DB", false);
        set("BUYER_ADD", current());
        set("BUYER2_ADD", current());
    } else if (name == QLatin1String("MCurrencyRatingDbView")) {
        set("CURRENCY_RATING_DB", false);
        set("CURRENCY_RATING_ADD", current());
    } else if (name == QLatin1String("MEndTextDbView")) {
        set("ENDTEXT_DB", false);
        set("ENDTEXT2_DB", false);
        set("ENDTEXT_ADD", current());
        set("ENDTEXT2_ADD", current());
    } else if (name == QLatin1String("MInvoiceDbView_Sell")) {
        set("INVOICE_DB", false);
        set("INVOICE_ADD", current());
        set("INVOICE_CHANGE", current() && !m_invoiceJoinIds.isEmpty() && currentRowId(m_invoiceList) > 0);
    } else if (name == QLatin1String("MProductDbView")) {
        set("PRODUCT_DB", false);
        set("PRODUCT_ADD", current());
        set("PRODUCT_CHANGE", current() && !m_productIds.isEmpty() && currentRowId(m_productList) > 0);
    } else if (name == QLatin1String("MSellerDbView")) {
        set("SELLER_DB", false);
        set("SELLER_ADD", current());
    }

    const bool hasLine = !m_productIds.isEmpty() && currentRowId(m_productList) > 0;
    const bool hasJoined = !m_invoiceJoinIds.isEmpty() && currentRowId(m_invoiceList) > 0;
    set("BUYER_EDIT", m_idBuyer > 0);
    set("BUYER_DELETE", m_idBuyer > 0);
    set("BUYER2_EDIT", m_idBuyer2 > 0);
    set("BUYER2_DELETE", m_idBuyer2 > 0);
    set("CURRENCY_RATING_EDIT", m_idCurrencyRating > 0);
    set("CURRENCY_RATING_DELETE", m_idCurrencyRating > 0);
    set("ENDTEXT_DELETE", !m_endText->toPlainText().isEmpty());
    set("ENDTEXT2_DELETE", !m_endText2->toPlainText().isEmpty());
    set("INVOICE_DELETE", hasJoined);
    set("PRODUCT_EDIT", hasLine);
    set("PRODUCT_DELETE", hasLine);
    set("SELLER_EDIT", m_idSeller > 0);
    set("SELLER_DELETE", m_idSeller > 0);

    const bool purchase = MDocKinds::isPurchase(m_docKind);
    for (auto it = m_actions.constBegin(); it != m_actions.constEnd(); ++it) {
        if (purchase && it.key().startsWith(QLatin1String("BUYER2_")))
            continue;
        setActionEnabled(it.value(), it.key());
    }
}

void MInvoiceDlg::restartEnabledActionsTimer()
{
    disconnect(m_enabledActionsTimer, &QTimer::timeout, this, &MInvoiceDlg::doTimeoutEnabledActionsTimer);
    m_enabledActionsTimer->stop();
    connect(m_enabledActionsTimer, &QTimer::timeout, this, &MInvoiceDlg::doTimeoutEnabledActionsTimer);
    m_enabledActionsTimer->start(300);
}

void MInvoiceDlg::doTimeoutEnabledActionsTimer()
{
    setEnabledActions();
}

void MInvoiceDlg::doSelectionChangedProduct(QItemSelection /*selected*/, QItemSelection /*deselected*/)
{
    restartEnabledActionsTimer();
}

void MInvoiceDlg::doSelectionChangedInvoice(QItemSelection /*selected*/, QItemSelection /*deselected*/)
{
    restartEnabledActionsTimer();
}

void MInvoiceDlg::doActionSellerDb()
{
    appWnd()->loadTab(2, false);
}

void MInvoiceDlg::doActionBuyerDb()
{
    appWnd()->loadTab(3, false);
}

void MInvoiceDlg::doActionBuyer2Db()
{
    appWnd()->loadTab(3, false);
}

void MInvoiceDlg::doActionProductDb()
{
    appWnd()->loadTab(4, false);
}

void MInvoiceDlg::doActionEndTextDb()
{
    appWnd()->loadTab(5, false);
}

void MInvoiceDlg::doActionEndText2Db()
{
    appWnd()->loadTab(5, false);
}

void MInvoiceDlg::doActionInvoiceDb()
{
    appWnd()->loadTab(7, false);
}

void MInvoiceDlg::doActionCurrencyRatingDb()
{
    appWnd()->loadTab(10, false);
}

void MInvoiceDlg::openRecordDialog(QDialog* dialog)
{
    dialog->setModal(true);
    dialog->exec();
}

void MInvoiceDlg::doActionSellerEdit()
{
    if (m_idSeller < 1)
        return;
    auto* dialog = new MSellerDlg(this, true);
    dialog->setIdRecord(m_idSeller);
    openRecordDialog(dialog);
}

void MInvoiceDlg::doActionBuyerEdit()
{
    if (m_idBuyer < 1)
        return;
    auto* dialog = new MBuyerDlg(this, true);
    dialog->setIdRecord(m_idBuyer);
    openRecordDialog(dialog);
}

void MInvoiceDlg::doActionBuyer2Edit()
{
    if (m_idBuyer2 < 1)
        return;
    auto* dialog = new MBuyerDlg(this, true);
    dialog->setIdRecord(m_idBuyer2);
    openRecordDialog(dialog);
}

void MInvoiceDlg::doActionCurrencyRatingEdit()
{
    if (m_idCurrencyRating < 1)
        return;
    auto* dialog = new MCurrencyRatingDlg(this, true);
    dialog->setIdRecord(m_idCurrencyRating);
    openRecordDialog(dialog);
}

void MInvoiceDlg::doActionProductEdit()
{
    auto* model = qobject_cast<QSqlQueryModel*>(m_productList->model());
    if (!model || !m_productList->selectionModel())
        return;
    const QModelIndexList rows = m_productList->selectionModel()->selectedRows(0);
    if (rows.isEmpty())
        return;
    const QSqlRecord record = model->record(rows.first().row());
    const int idx = record.value(QStringLiteral("idx")).toInt();
    const int idxMisc = record.value(QStringLiteral("idx_misc")).toInt();
    if (idx <= 0 || idxMisc <= 0)
        return;
    auto* dialog = new MProductDlg(this, true);
    dialog->setIdRecord(idx, idxMisc, m_docKind);
    openRecordDialog(dialog);
}

void MInvoiceDlg::cellDoubleClickedProduct(QModelIndex /*indx*/)
{
    doActionProductEdit();
}
