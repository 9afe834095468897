#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

// A database file on the default connection, made by the application's own
// schema script, with short ways to add rows and read values in tests.
class MTestDataFixture
{
public:
    // Opens `path` as the default connection and runs the schema script on
    // it. upToVersion 0 makes a database of the current program; another
    // value leaves it as a program of that version (major * 1000 + minor)
    // would have: its blocks only, version row still 0.0.
    static bool create(const QString& path, int upToVersion = 0);

    // What opening an older database does before its data repair: the
    // version row becomes the program's, then the whole script runs again.
    static bool upgrade();

    static void close();

    // Inserts one row and returns its id (rowid). Columns that must not be
    // NULL and have no default (dates, times) get a fixed date when absent.
    static qint64 insert(const QString& table, const QVariantMap& values);

    // The first column of the first row, or an invalid value.
    static QVariant value(const QString& sql);

    // Each row's columns joined by "|", rows in the order of the statement.
    static QStringList rows(const QString& sql);
};
