#pragma once

#include <QList>
#include <QString>

class MFileCsvWriter;

// The rows of a list's CSV export: each row of the list's statement as one line of
// the chosen columns, formatted by their ColumnKind as the export has always done:
// integers as read, decimals in the program's number format, other values as text
// without surrounding blanks. Rows go to the writer as they are read from the
// database; plain texts and integers pass as their UTF-8 bytes.
class MListCsvExport
{
public:
    // Runs `sql` on the default connection; false, with the database's message in
    // `errorText`, when it cannot be run or read to its end.
    static bool writeRows(const QString& sql, const QList<int>& columns, const QList<int>& kinds,
                          MFileCsvWriter& writer, QString* errorText);
};
