#include "MAppWnd.h"

#include "catalog/MCurrencyRatingDbView.h"
#include "catalog/MCurrencyRatingDlg.h"
#include "catalog/MEndTextDbView.h"
#include "catalog/MEndTextDlg.h"
#include "catalog/MProductDbView.h"
#include "catalog/MProductDlg.h"
#include "core/MListTab.h"
#include "core/MViewCall.h"
#include "documents/MInvoiceDbView.h"
#include "editor/MInvoiceDlg.h"
#include "editor/MNewDlg.h"
#include "editor/MOpenDlg.h"
#include "parties/MBuyerDbView.h"
#include "parties/MBuyerDlg.h"
#include "parties/MRecordDbView.h"
#include "parties/MSellerDbView.h"
#include "parties/MSellerDlg.h"
#include "printing/MInvoiceRegisterView.h"
#include "views/MTabWidget.h"

#include <QDialog>
#include <QTimer>

int MAppWnd::indexOfTab(const QString& viewName) const
{
    for (int i = 0; i < m_tabMain->count(); ++i) {
        if (m_tabMain->widget(i)->accessibleName() == viewName)
            return i;
    }
    return -1;
}

QWidget* MAppWnd::createListView(int kind)
{
    MRecordDbView* view = nullptr;
    switch (kind) {
    case 2:
        view = new MSellerDbView(this, nullptr);
        break;
    case 3:
        view = new MBuyerDbView(this, nullptr);
        break;
    case 4:
        view = new MProductDbView(this, nullptr);
        break;
    case 5:
        view = new MEndTextDbView(this, nullptr);
        break;
    case 6: {
        auto* registerView = new MInvoiceRegisterView(this, nullptr);
        registerView->initWidget();
        return registerView;
    }
    case 7:
    case 8:
        view = new MInvoiceDbView(this, nullptr, kind);
        break;
    case 10:
        view = new MCurrencyRatingDbView(this, nullptr);
        break;
    default:
        return nullptr;
    }
    view->initWidget();
    return view;
}

void MAppWnd::loadTab(int id, bool reload)
{
    if (const MListTab* tab = MListTab::byKind(id)) {
        int index = indexOfTab(tab->viewName);
        if (index < 0) {
            if (QWidget* view = createListView(id)) {
                if (tab->reloads)
                    connect(this, SIGNAL(changeDbObject(int, int)), view, SLOT(reloadView(int, int)));
                index = m_tabMain->addTab(view, tr(tab->title));
                view->show();
                if (tab->afterInit)
                    MViewCall::invoke(view, "afterInitWidget");
            }
        }
        if (index >= 0)
            m_tabMain->setCurrentIndex(index);
        if (reload)
            emit changeDbObject(id, 0);
    }
    saveTabs();
}

void MAppWnd::saveTabs()
{
    if (!m_tabsRestored)
        return;

    QStringList viewNames;
    for (int i = 0; i < m_tabMain->count(); ++i)
        viewNames.append(m_tabMain->widget(i)->accessibleName());
    const QWidget* current = m_tabMain->currentWidget();
    setOption(QStringLiteral("TAB_MAIN_OPENED"), MListTab::openedOption(viewNames));
    setOption(QStringLiteral("TAB_MAIN_CURRENT"), MListTab::currentOption(current ? current->accessibleName() : QString()));
}

void MAppWnd::restoreTabs()
{
    // Both are read first: opening a tab may store the tabs again.
    const QList<int> kinds = MListTab::storedKinds(option(QStringLiteral("TAB_MAIN_OPENED")));
    const QString current = MListTab::storedCurrent(option(QStringLiteral("TAB_MAIN_CURRENT")));

    for (int kind : kinds)
        loadTab(kind, false);
    const int currentIndex = current.isEmpty() ? -1 : indexOfTab(current);
    if (currentIndex >= 0)
        m_tabMain->setCurrentIndex(currentIndex);

    m_tabsRestored = true;
    updateShowFilterAction();
}

void MAppWnd::doCloseActiveTab()
{
    closeTab(m_tabMain->currentIndex());
}

void MAppWnd::doCloseRequestedTabMain(int index)
{
    closeTab(index);
}

void MAppWnd::closeTab(int index)
{
    QWidget* widget = m_tabMain->widget(index);
    if (!widget)
        return;
    m_tabMain->removeTab(index);
    widget->close();
    widget->deleteLater();
    saveTabs();
}

void MAppWnd::doCurrentChangedTabMain(int /*index*/)
{
    QWidget* view = m_tabMain->currentWidget();
    const QString name = view ? view->accessibleName() : QString();
    if (name == QLatin1String("MInvoicePrintPreview") || name == QLatin1String("MInvoiceSetSelectedPrintPreview")
        || name == QLatin1String("MInvoiceRegisterView"))
        MViewCall::invoke(view, "updatePreview");

    setEnabledMenuActions();
    updateShowFilterAction();
    saveTabs();
}

void MAppWnd::doChangeDbObject(int i, int id)
{
    loadTab(i, false);
    emit changeDbObject(i, id);
}

void MAppWnd::doNew()
{
    auto* dialog = new MNewDlg(this);
    dialog->loadList(-1, -1);
    dialog->exec();
}

void MAppWnd::doOpen()
{
    auto* dialog = new MOpenDlg(this);
    dialog->exec();
}

void MAppWnd::newRecord(int kind, int docKind)
{
    switch (kind) {
    case 0:
    case 1:
    case 7:
        openInvoiceDlg(docKind);
        break;
    case 3: {
        auto* dialog = new MSellerDlg(this, false);
        dialog->setIdRecord(0);
        showRecordDialog(dialog);
        break;
    }
    case 4: {
        auto* dialog = new MBuyerDlg(this, false);
        dialog->setIdRecord(0);
        showRecordDialog(dialog);
        break;
    }
    case 5: {
        auto* dialog = new MProductDlg(this, false);
        dialog->setIdRecord(0, 0, -1);
        showRecordDialog(dialog);
        break;
    }
    case 6: {
        auto* dialog = new MEndTextDlg(this);
        dialog->setIdRecord(0);
        showRecordDialog(dialog);
        break;
    }
    case 8: {
        auto* dialog = new MCurrencyRatingDlg(this, false);
        dialog->setIdRecord(0);
        showRecordDialog(dialog);
        break;
    }
    default:
        break;
    }
}

void MAppWnd::openInvoiceDlg(int docKind)
{
    if (invoiceDlg())
        return;
    auto* editor = new MInvoiceDlg(this, Qt::WindowFlags(), docKind);
    editor->setDocKind(docKind);
    editor->setIdRecord(0, false);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->setModal(false);
    editor->show();
    connect(editor, &QDialog::finished, this, &MAppWnd::doFinishedInvoiceDlg);
}

void MAppWnd::closeInvoiceDlg()
{
    // Deleted while the window is whole, so that its destructor may still call it.
    if (QDialog* editor = invoiceDlg()) {
        editor->close();
        delete editor;
    }
}

void MAppWnd::showRecordDialog(QDialog* dialog)
{
    // Modal, but not run in a nested loop; it stays a hidden child after closing.
    dialog->setModal(true);
    dialog->show();
}

QDialog* MAppWnd::invoiceDlg() const
{
    const QList<QDialog*> dialogs = findChildren<QDialog*>();
    for (QDialog* dialog : dialogs) {
        if (dialog->inherits("MInvoiceDlg"))
            return dialog;
    }
    return nullptr;
}

void MAppWnd::startEnabledMenuActionsTimer()
{
    // Exactly one connection, however often the editor finishes.
    disconnect(m_enabledActionsTimer, &QTimer::timeout, this, &MAppWnd::doTimeoutEnabledMenuActionsTimer);
    m_enabledActionsTimer->stop();
    connect(m_enabledActionsTimer, &QTimer::timeout, this, &MAppWnd::doTimeoutEnabledMenuActionsTimer);
    m_enabledActionsTimer->start(300);
}

void MAppWnd::doFinishedInvoiceDlg(int /*result*/)
{
    startEnabledMenuActionsTimer();
}

void MAppWnd::doTimeoutEnabledMenuActionsTimer()
{
    // A finished editor is deleted a little later; until then it still counts as open.
    if (invoiceDlg())
        return;
    disconnect(m_enabledActionsTimer, &QTimer::timeout, this, &MAppWnd::doTimeoutEnabledMenuActionsTimer);
    m_enabledActionsTimer->stop();
    setEnabledMenuActions();
}
