#pragma once

#include <QFont>

// The base point size of the lists and their row headers.
int listFontSize();

// The font of every list cell: Arial at the base size, normal weight.
QFont listFont();
