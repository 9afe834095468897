#pragma once

#include <QString>
#include <QVariant>

class QSqlDatabase;

// Test databases made by the program's own schema script, on the default
// connection, with the Polish layer the program installs.
class MTestDatabase
{
public:
    // Makes an already open QSQLITE connection what the program's own is:
    // the Polish layer installed, the collation POLISH loaded, the schema made.
    static bool prepare(const QSqlDatabase& db);

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
