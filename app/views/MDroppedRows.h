#pragma once

#include <QList>
#include <QStringList>

class QDropEvent;

// Rows dragged from one list of the program to another travel as the item models' standard
// drag data; column 0 of every list holds the record id. Gives the ids of the dropped rows,
// in the order the drag carries them, when the drag comes from a widget whose accessible
// name is one of `acceptedSources`; otherwise, or for any other data, nothing.
QList<int> droppedRecordIds(const QDropEvent* event, const QStringList& acceptedSources);
