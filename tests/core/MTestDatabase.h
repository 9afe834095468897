#pragma once

#include <QString>
#include <QVariant>

// Databases for the tests of the database opening: made by the schema script
// of the application, on the default connection.
class MTestDatabase
{
public:
    // Opens the default connection on `path` as the program does.
    static bool open(const QString& path);

    // Closes and removes the default connection.
    static void close();

    // Creates `path` with the blocks of the schema script up to `version`
    // (major * 1000 + minor) and a version row of that version, then closes it.
    static bool create(const QString& path, int version);

    // Opens a new database with every block of the script, as after the first start.
    static bool openNew(const QString& path);

    // The first column of the first row, as sqlValue gives it.
    static QVariant value(const QString& sql);

    static int count(const QString& table);
};
