#pragma once

#include <QString>
#include <QStringList>

// Reads a database file with the stock sqlite3 shell, past the program's own
// connection and its options cache.
class MTestSqliteShell
{
public:
    // The shell's output lines for `sql`; a failing shell fails the calling test through its warnings.
    static QStringList lines(const QString& file, const QString& sql);
    // Standard error of the last run, empty when the shell was content.
    static QString lastError();
};
