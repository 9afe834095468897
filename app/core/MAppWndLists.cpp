#include "MAppWnd.h"

#include "core/MListTab.h"
#include "views/MTabWidget.h"

#include <QSqlQuery>
#include <QSqlQueryModel>

void MAppWnd::releaseListQueries()
{
    // A list not read to its end keeps its SELECT running on the one
    // connection, and writes to its table then fail with "database table is
    // locked". The reload after the writes reads the lists again.
    for (int i = 0; i < m_tabMain->count(); ++i) {
        for (QSqlQueryModel* model : m_tabMain->widget(i)->findChildren<QSqlQueryModel*>()) {
            QSqlQuery query = model->query(); // shares the model's statement
            query.finish();
        }
    }
}

void MAppWnd::reloadOpenLists()
{
    for (int i = 0; i < m_tabMain->count(); ++i) {
        const MListTab* tab = MListTab::byViewName(m_tabMain->widget(i)->accessibleName());
        if (tab && tab->reloads)
            emit changeDbObject(tab->kind, 0);
    }
}
