#pragma once

#include "data/MDataMessage.h"
#include "data/MDataRepair.h"
#include "data/MSqlScriptRunner.h"

#include <QString>

// "Importuj do bazy": runs an SQL file of one statement per line (the
// converter's output or any file in the same format) in one transaction,
// decoded as UTF-8 or, when it is not valid UTF-8, as Windows-1250; then
// repairs the data with the database's own version. Failing lines are
// skipped; rows whose keys are already in the database are not imported
// twice. The report tells the user what ran and what failed.
class MSqlImporter
{
public:
    struct Report
    {
        QString path;
        MSqlScriptRunner::Result run;
        bool repaired = false; // the repair ran (only after a committed run)
        MDataRepair::Result repair;

        // The whole file ran, every line succeeded or found its rows already there, and the repair succeeded.
        bool ok() const { return run.ok() && run.committed && repaired && repair.ok(); }
        // The text shown to the user (rich text).
        QString message() const;
        // The report as the message titled "Importuj do bazy": information
        // when everything was imported, a warning when lines failed, critical
        // when nothing was imported.
        MDataMessage box() const;
    };

    // tempPath: the folder of temporary and template files, for the repair.
    static Report importFile(const QString& path, const QString& tempPath);
};
