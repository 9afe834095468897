#pragma once

#include <QString>
#include <QVariant>

// Runs `sql` on the default connection and gives the first column of the first row;
// an invalid value when there is no row or the statement fails.
QVariant sqlValue(QString sql);
