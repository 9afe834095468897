#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Runs an SQL script on the default connection: the schema script of the
// application (":/sql/invoice.sql") and the SQL files the user imports.
//
// Format: one statement per line; blank lines are skipped; a line that
// begins with "--" is a comment and never runs. A comment "-- VERSION M.m"
// starts a block of version M * 1000 + m; lines before the first header
// always run. A block runs when its version is not above the program's
// version, nor above the database's or the check version where those are
// not 0 (0 sets no limit).
//
// The whole run is one transaction, committed at the end. A failing line is
// skipped and the next one follows, because every upgrade runs the whole
// schema script again: its ADD COLUMN and fixed-id INSERT statements fail by
// design on the second run. Those repeat failures (a column, row, table or
// index that already exists) are counted apart from real errors, which the
// caller gets in the result: an upgrade with errors must not be recorded as
// done.
//
// The file is read line by line (CR, LF and CR LF end a line), never whole.
// SQLite's authorizer refuses every line that would begin, end or nest the
// run's transaction or attach a file; an imported file may besides only
// read, insert, update and delete rows, not change the schema, set pragmas
// or touch the version row. A refused line counts as an error. Should SQLite
// end the transaction all the same (a statement's ON CONFLICT ROLLBACK), the
// run stops there and nothing of it stays.
class MSqlScriptRunner
{
public:
    // What the lines of a run may do: the schema script changes the schema,
    // an imported file only rows.
    enum class Rights
    {
        Schema,
        Import,
    };

    // Each version is major * 1000 + minor.
    struct Versions
    {
        int program = 0;
        int database = 0; // 0: no limit
        int check = 0;    // 0: no limit
    };

    struct Result
    {
        bool opened = false;      // false: empty path or unreadable file, nothing ran
        int executed = 0;         // statements that succeeded
        int repeatFailures = 0;   // statements that found their work already done
        int errors = 0;           // lines, begin or commit that failed for any other reason
        QString firstError;       // "wiersz N: " + what failed + SQLite's text, of the first
        bool committed = false;   // false: nothing of the run is in the database
        bool readFailed = false;  // the file could not be read to its end; nothing of it stays
        QString reading;          // the encoding a file in the local encoding was read in
        bool readingGuessed = false; // no line told the encoding for sure
        bool ok() const { return opened && errors == 0; }
    };

    // The program's version, major * 1000 + minor.
    static const int programVersion;

    // Reads the version row (id 1 of table _version) of the default
    // connection; a missing table, row or value counts as 0.
    static Versions databaseVersions(int program = programVersion);

    // Runs the file with the versions of the database, read after "begin".
    // localEncoding false decodes UTF-8; true tells UTF-8 from the legacy
    // 8-bit encoding by the file's lines (MSqlFileEncoding).
    static Result run(const QString& path, bool localEncoding);

    // Runs the file with the given versions instead of the database's.
    static Result run(const QString& path, bool localEncoding, const Versions& versions);

    // Runs a file the user imports: in the local encoding, with import rights.
    static Result runImport(const QString& path);

    // The block version of a comment line's text "-- VERSION M.m", or -1
    // when the line is not a block header. A part that is not a number
    // counts as 0.
    static int headerVersion(const QString& trimmedLine);

private:
    static Result runFile(const QString& path, bool localEncoding, std::optional<Versions> versions, Rights rights);
};
