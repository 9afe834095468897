#include "MAppWnd.h"

#include "views/MTabWidget.h"

namespace {

// The list views whose tabs are stored and reopened at the next start.
const QStringList listViewNames = {
    QStringLiteral("MBuyerDbView"),         QStringLiteral("MCurrencyRatingDbView"),
    QStringLiteral("MEndTextDbView"),       QStringLiteral("MInvoiceDbView_Sell"),
    QStringLiteral("MInvoiceDbView_Buy"),   QStringLiteral("MInvoiceRegisterView"),
    QStringLiteral("MProductDbView"),       QStringLiteral("MSellerDbView"),
};

} // namespace

int MAppWnd::indexOfTab(const QString& viewName) const
{
    for (int i = 0; i < m_tabMain->count(); ++i) {
        if (m_tabMain->widget(i)->accessibleName() == viewName)
            return i;
    }
    return -1;
}

void MAppWnd::saveTabs()
{
    if (!m_tabsRestored)
        return;

    QStringList opened;
    for (int i = 0; i < m_tabMain->count(); ++i) {
        const QString name = m_tabMain->widget(i)->accessibleName();
        if (listViewNames.contains(name))
            opened.append(name + QStringLiteral(",0"));
    }
    QString current;
    if (QWidget* widget = m_tabMain->currentWidget()) {
        if (listViewNames.contains(widget->accessibleName()))
            current = widget->accessibleName() + QStringLiteral(",0");
    }
    setOption(QStringLiteral("TAB_MAIN_OPENED"), opened.join(QLatin1Char(';')));
    setOption(QStringLiteral("TAB_MAIN_CURRENT"), current);
}

void MAppWnd::restoreTabs()
{
    m_tabsRestored = true;
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
    setEnabledMenuActions();
    saveTabs();
}
