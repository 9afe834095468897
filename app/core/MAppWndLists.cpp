#include "MAppWnd.h"

#include "core/MListTab.h"
#include "views/MTabWidget.h"

void MAppWnd::reloadOpenLists()
{
    for (int i = 0; i < m_tabMain->count(); ++i) {
        const MListTab* tab = MListTab::byViewName(m_tabMain->widget(i)->accessibleName());
        if (tab && tab->reloads)
            emit changeDbObject(tab->kind, 0);
    }
}
