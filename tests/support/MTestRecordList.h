#pragma once

#include <QList>
#include <QStringList>

class MAppWnd;
class MRecordDbView;
class MTableView;

// Short ways to drive a record view in tests as the main window and the user would.

// Builds `view`, shows it and restores its filter panel, as the main window opens a tab.
void openRecordList(MRecordDbView* view);

// The list of view kind `kind` in the window's tabs, opened or made current by the window
// itself; null when that tab shows no record list.
MRecordDbView* openListTab(MAppWnd* window, int kind);

// Every loaded row's value in `column`, as integers (the ids for column 0).
QList<int> listIds(const MTableView* table, int column = 0);

// Makes exactly `rows` selected, the last one current; none clears the selection.
void selectListRows(MTableView* table, const QList<int>& rows);

// The row that the list paints as the default record, -1 for none.
int listRowDefault(const MTableView* table);

// Stores each "KEY=value" in the options.
void setOptions(const QStringList& keyValues);
