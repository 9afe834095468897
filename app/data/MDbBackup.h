#pragma once

#include <QCoreApplication>
#include <QString>

// A backup made by hand: a consistent copy of the open database written
// beside the chosen file first and put in its place only when complete.
class MDbBackup
{
    Q_DECLARE_TR_FUNCTIONS(MDbBackup)

public:
    enum class Outcome
    {
        Written,
        // The target is the database file itself; nothing was copied.
        SameFile,
        Failed,
    };

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        // What to tell the user, success or not.
        QString message;
    };

    // `fileName` with ".db3" appended when its last component has no suffix.
    static QString withSuffix(const QString& fileName);

    // Copies the default connection's database to `target`. An existing
    // target is replaced only by a complete copy and is left as it was on any
    // failure; no temporary file stays behind. The database file itself as
    // target copies nothing.
    static Result write(const QString& target);
};
