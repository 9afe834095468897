#pragma once

#include <QString>

// A failure while one data file is read. It unwinds the reading of that file
// only; the caller reports it and goes on with the next file. The three kinds
// and their cause numbers are those of the class library that wrote the files,
// so the messages read as they always did.
class CLoadError
{
public:
    enum Kind { Archive, File, Memory };

    enum ArchiveCause {
        None = 0,
        Generic = 1,
        ReadOnly = 2,
        EndOfFile = 3,
        WriteOnly = 4,
        BadIndex = 5,
        BadClass = 6,
        BadSchema = 7,
    };

    CLoadError(Kind kind, int cause);

    Kind kind() const { return m_kind; }
    int cause() const { return m_cause; }

    // The text shown for a failure of the file at path.
    QString message(const QString& path) const;

private:
    Kind m_kind;
    int m_cause;
};
