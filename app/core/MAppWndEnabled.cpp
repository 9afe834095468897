#include "MAppWnd.h"

#include "core/MEnabledOperations.h"
#include "core/MListTab.h"
#include "core/MViewCall.h"
#include "views/MTabWidget.h"

#include <QAction>
#include <QDialog>

void MAppWnd::setEnabledMenuActions()
{
    QDialog* editor = invoiceDlg();

    MEnabledOperations::State state;
    state.editorOpen = editor != nullptr;
    state.jpkFaShow = option(QStringLiteral("JPK_FA_SHOW")) == QLatin1String("1");
    state.jpkVatShow = option(QStringLiteral("JPK_VAT_SHOW")) == QLatin1String("1");
    if (QWidget* view = m_tabMain->currentWidget()) {
        state.viewName = view->accessibleName();
        const MListTab* tab = MListTab::byViewName(state.viewName);
        // Only the record and document lists answer for a selection.
        if (tab && tab->hasTable) {
            state.hasCurrentIndex = MViewCall::boolResult(view, "hasCurrentIndex");
            state.selectedRowCount = MViewCall::intResult(view, "selectedRowCount");
        }
        if (MEnabledOperations::hasDefaultRecord(state.viewName))
            state.isCurrentDefault = MViewCall::boolResult(view, "isCurrentDefault");
    }

    m_enabledMap = MEnabledOperations::enabled(state);
    m_checkedMap = MEnabledOperations::checked(state);

    const QList<QAction*> operationActions = {
        m_actionAdd,       m_actionPreview,    m_actionEdit,        m_actionDelete,    m_actionCopy,
        m_actionCorrect,   m_actionDuplicate,  m_actionDefault,     m_actionPrint,     m_actionPrintPdf,
        m_actionSendMailPdf, m_actionExportCsv, m_actionExportJpkFa, m_actionExportJpkVat, m_actionShowFilter,
        m_actionSetSelected, m_actionIsPayed,
    };
    const QStringList& keys = MEnabledOperations::keys();
    Q_ASSERT(operationActions.size() == keys.size());
    for (int i = 0; i < keys.size(); ++i)
        setActionEnabled(operationActions.at(i), keys.at(i));
    setActionChecked(m_actionDefault, QStringLiteral("DEFAULT"));

    if (!m_enabledMap.value(QStringLiteral("SHOW_FILTER")))
        m_actionShowFilter->setChecked(false);

    const bool dragDrop = option(QStringLiteral("DRAG_AND_DROP")) == QLatin1String("1");
    m_actionDragDrop->setChecked(dragDrop);
    doDragDrop(dragDrop);

    const bool doYouKnow = option(QStringLiteral("SHOW_DO_YOU_KNOW")) == QLatin1String("1");
    m_actionDoYouKnow->setChecked(doYouKnow);
    doDoYouKnow(doYouKnow);

    if (editor)
        MViewCall::invoke(editor, "setEnabledActions");
}

void MAppWnd::setActionEnabled(QAction* action, const QString& key)
{
    if (m_enabledMap.contains(key) && action->isEnabled() != m_enabledMap.value(key))
        action->setEnabled(m_enabledMap.value(key));
}

void MAppWnd::setActionChecked(QAction* action, const QString& key)
{
    if (m_checkedMap.contains(key) && action->isChecked() != m_checkedMap.value(key))
        action->setChecked(m_checkedMap.value(key));
}

void MAppWnd::updateShowFilterAction()
{
    const QWidget* view = m_tabMain->currentWidget();
    if (const MListTab* tab = view ? MListTab::byViewName(view->accessibleName()) : nullptr)
        m_actionShowFilter->setChecked(option(tab->filterOption) == QLatin1String("1"));
}
