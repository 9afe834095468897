#pragma once

#include <QList>
#include <QStringList>

// Reads a CSV file with an independent reader (Python's csv module, strict, UTF-8) and
// gives its rows; empty when the file is not valid CSV or cannot be read.
QList<QStringList> readCsvWithPython(const QString& fileName);
