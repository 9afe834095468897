#pragma once

#include <QStringList>

class QWidget;

// Opens the context menu of `widget` as a right click at its corner would, and
// returns the texts of the enabled entries (separators left out) before closing it.
QStringList enabledContextMenuEntries(QWidget* widget);
