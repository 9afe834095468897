#include "MTestRecordList.h"

#include "core/MAppWnd.h"
#include "parties/MRecordDbView.h"
#include "views/MTabWidget.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QItemSelectionModel>

void openRecordList(MRecordDbView* view)
{
    view->initWidget();
    view->show();
    view->afterInitWidget();
}

MRecordDbView* openListTab(MAppWnd* window, int kind)
{
    window->loadTab(kind);
    return qobject_cast<MRecordDbView*>(window->tabMain()->currentWidget());
}

QList<int> listIds(const MTableView* table, int column)
{
    QList<int> ids;
    const QAbstractItemModel* model = table->model();
    for (int row = 0; row < model->rowCount(); ++row)
        ids.append(model->index(row, column).data().toInt());
    return ids;
}

void selectListRows(MTableView* table, const QList<int>& rows)
{
    table->selectionModel()->clear();
    for (int row : rows) {
        table->selectionModel()->setCurrentIndex(table->model()->index(row, 1),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

int listRowDefault(const MTableView* table)
{
    const auto* model = qobject_cast<const MSqlQueryModel*>(table->model());
    return model ? model->rowDefault() : -1;
}

void setOptions(const QStringList& keyValues)
{
    for (const QString& keyValue : keyValues)
        MAppWnd::setOption(keyValue.section(QLatin1Char('='), 0, 0), keyValue.section(QLatin1Char('='), 1));
}
