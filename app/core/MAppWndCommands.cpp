#include "MAppWnd.h"

#include "settings/MAboutDlg.h"
#include "settings/MDoYouKnowWidget.h"
#include "settings/MProgramInfoDlg.h"

#include <QAction>

void MAppWnd::setEnabledMenuActions()
{
    const QList<QPair<QString, QAction*>> operations = {
        {QStringLiteral("ADD"), m_actionAdd},
        {QStringLiteral("VIEW"), m_actionPreview},
        {QStringLiteral("EDIT"), m_actionEdit},
        {QStringLiteral("DELETE"), m_actionDelete},
        {QStringLiteral("COPY"), m_actionCopy},
        {QStringLiteral("CORRECT"), m_actionCorrect},
        {QStringLiteral("DUPLICATE"), m_actionDuplicate},
        {QStringLiteral("DEFAULT"), m_actionDefault},
        {QStringLiteral("PRINT"), m_actionPrint},
        {QStringLiteral("PRINT_PDF"), m_actionPrintPdf},
        {QStringLiteral("SEND_MAIL_PDF"), m_actionSendMailPdf},
        {QStringLiteral("EXPORT_CSV"), m_actionExportCsv},
        {QStringLiteral("EXPORT_JPK_FA"), m_actionExportJpkFa},
        {QStringLiteral("EXPORT_JPK_VAT"), m_actionExportJpkVat},
        {QStringLiteral("SHOW_FILTER"), m_actionShowFilter},
        {QStringLiteral("SET_SELECTED"), m_actionSetSelected},
        {QStringLiteral("IS_PAYED"), m_actionIsPayed},
    };

    // Every operation starts disabled; the view in the current tab enables its own.
    m_enabledMap.clear();
    for (const auto& operation : operations)
        m_enabledMap.insert(operation.first, false);
    m_checkedMap.insert(QStringLiteral("DEFAULT"), false);

    for (const auto& operation : operations)
        setActionEnabled(operation.second, operation.first);
    setActionChecked(m_actionDefault, QStringLiteral("DEFAULT"));

    if (!m_enabledMap.value(QStringLiteral("SHOW_FILTER")))
        m_actionShowFilter->setChecked(false);

    const bool dragDrop = option(QStringLiteral("DRAG_AND_DROP")) == QLatin1String("1");
    m_actionDragDrop->setChecked(dragDrop);
    doDragDrop(dragDrop);

    const bool doYouKnow = option(QStringLiteral("SHOW_DO_YOU_KNOW")) == QLatin1String("1");
    m_actionDoYouKnow->setChecked(doYouKnow);
    doDoYouKnow(doYouKnow);
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

void MAppWnd::doDragDrop(bool checked)
{
    setOption(QStringLiteral("DRAG_AND_DROP"), checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void MAppWnd::doDoYouKnow(bool checked)
{
    setOption(QStringLiteral("SHOW_DO_YOU_KNOW"), checked ? QStringLiteral("1") : QStringLiteral("0"));
    m_doYouKnowWidget->applyOptions();
}

void MAppWnd::doAbout()
{
    MAboutDlg dialog(this);
    dialog.exec();
}

void MAppWnd::doProgramInfo()
{
    auto* dialog = new MProgramInfoDlg(this);
    dialog->setModal(true);
    dialog->show();
}
