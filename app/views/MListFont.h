#pragma once

#include <QFont>

// The base point size of the interface: the lists and their row headers, the choosers,
// the tips and the application's own font; 10 until the main window sets it.
int listFontSize();
// Sets the base size for the main window's logical resolution: 10 points at 96 dpi,
// scaled inversely at any other.
void setListFontSizeForDpi(int logicalDpi);

// The font of every list cell: Arial at the base size, normal weight.
QFont listFont();
