#pragma once

#include "data/MSqlScriptRunner.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantMap>

// Test databases made by the program's own schema script, on the default
// connection, and short ways to add rows and read values in tests.
//
// An instance owns a database in a temporary folder of its own, prepared as
// by prepare(), and removes the connection when it goes.
class MTestDatabase
{
public:
    MTestDatabase();
    ~MTestDatabase();

    bool isOpen() const;
    QString errorText() const;
    // A path inside the database's temporary folder.
    QString path(const QString& name) const;
    // Closes the connection and opens the same file again, as a restart of the program
    // does (the options cache is the caller's to reload).
    bool reopen();

    // Opens `path` as a plain QSQLITE default connection, with the driver's
    // `connectOptions`, in place of any default connection before.
    static bool connect(const QString& path, const QString& connectOptions = QString());

    // Opens `path` as a plain default connection with an empty options table,
    // as the schema script makes it, and loads the options cache from it.
    static bool connectWithOptions(const QString& path);

    // Opens `path` as the default connection and makes it what the program's own is:
    // the Polish layer and round_cents installed, the collation POLISH loaded, the schema made.
    static bool prepare(const QString& path);

    // Opens the default connection on `path` as the program does, a failure shown in a box
    // (with MTestDatabaseOpen.cpp, which links the application library).
    static bool open(const QString& path);

    // Closes and removes the default connection.
    static void close();

    // Opens `path` as a plain default connection with round_cents, which the
    // data repair needs, and runs the schema script on it. upToVersion 0 makes a database of the current program; another value
    // leaves it as a program of that version (major * 1000 + minor) would
    // have: its blocks only, version row still 0.0.
    static bool build(const QString& path, int upToVersion = 0);

    // Creates `path` with the blocks of the schema script up to `version`
    // and a version row of that version, then closes it.
    static bool create(const QString& path, int version);

    // Opens a new database with every block of the script, as after the first start.
    static bool openNew(const QString& path);

    // What opening an older database does before its data repair: the
    // version row becomes the program's, then the whole script runs again.
    static MSqlScriptRunner::Result upgrade();

    // Inserts one row and returns its id (rowid). Columns that must not be
    // NULL and have no default (dates, times) get a fixed date when absent.
    static qint64 insert(const QString& table, const QVariantMap& values);

    // Runs `sql`; false, with a warning, when it does not run.
    static bool exec(const QString& sql);

    // The first column of the first row, or an invalid value.
    static QVariant value(const QString& sql);

    // Each row's columns joined by "|", rows in the order of the statement.
    static QStringList rows(const QString& sql);

    static int count(const QString& table);

    // Makes every `event` ("INSERT", "UPDATE" or "DELETE") on `table` after the
    // first `passing` ones fail, through a TEMP trigger raising ABORT, so that
    // a write can be broken part-way. The trigger lasts as long as the connection.
    static bool failWritesAfter(const QString& event, const QString& table, int passing);
    // Removes the triggers of failWritesAfter(), for tests that keep their connection.
    static void stopFailingWrites();

    // The rows of each table, as rows() gives them, table after table: a
    // picture of the tables to compare before and after a write.
    static QStringList tableRows(const QStringList& tables);

    // The content of option `key` as stored in _options, past the options cache;
    // "<absent>" when there is no row for it.
    static QString storedOption(const QString& key);

    // The versions in _version as "major.minor/check major.check minor", rows joined by ";".
    static QString versionRow();

    // The SQL of the default connection's statements that have started and not
    // finished: while there is one, the connection cannot drop a table or vacuum.
    static QStringList unfinishedStatements();

private:
    // Runs the whole schema script on the default connection; false, with a warning, when it fails.
    static bool runSchemaScript();

    QTemporaryDir m_dir;
    QString m_errorText;
    bool m_open = false;
};
