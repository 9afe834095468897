#pragma once

#include <QString>

// The temporary copies from which the program's backups are made: a copy is
// written beside its target under the target's name + ".XXXXXX.tmp" (six
// letters or digits), flushed to the disk and only then renamed to the
// target. A copy whose writing was cut short (the program killed, the power
// lost) stays under its temporary name, with SQLite's journal beside it, and
// is removed at a later backup or start.
class MBackupFile
{
public:
    // The pattern of QTemporaryFile for a copy that becomes `target`.
    static QString temporaryTemplate(const QString& target);

    // Flushes the file `path` to the disk; false when it cannot be opened or flushed.
    static bool flush(const QString& path);

    // Renames the flushed `temporary` to `target`, replacing an existing
    // target in one step, and flushes the folder so that the new name is on
    // the disk too. False when the rename fails.
    static bool replace(const QString& temporary, const QString& target);

    // Removes from `folder` every temporary copy of the program's naming
    // (an empty file or a SQLite database named "<name>.XXXXXX.tmp") and
    // the journal of such a copy. Other files stay.
    static void removeStale(const QString& folder);
};
