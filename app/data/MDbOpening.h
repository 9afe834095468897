#pragma once

#include "data/MDataMessage.h"

#include <QString>

#include <functional>

// Opens the database at start-up: refuses a database written by a newer
// program, upgrades an older one by the schema script, and then empties the
// working tables and temporary folders, writes the seller logo files and
// refreshes the fingerprints of the document copies. What the user must be
// told comes back as a message, for the caller to show.
class MDbOpening
{
public:
    enum class Outcome
    {
        Opened,        // ready for the main window
        NoConnection,  // the connection is not open; nothing was done
        Newer,         // written by a newer program; reported, left untouched
        UpgradeFailed, // the schema script or the version row failed; reported
    };

    // What the opening asks of the main window.
    struct Steps
    {
        std::function<void(const QString& suffix)> backupDb;
        std::function<void(int numLastDb)> repairDb;
        std::function<void()> cleanDisk;
    };

    // Opens the default QSQLITE connection on `path`, installs the Polish
    // collation and text functions and applies the connection settings.
    // A failure returns false with its message in `failure`; a connection on
    // which the Polish layer cannot be installed is closed again.
    static bool createConnection(const QString& path, MDataMessage* failure);

    // The numbers of the version row; 0 when the table, the row or the value is missing.
    static int dbNumMajor();
    static int dbNumMinor();
    static int dbCheckNumMajor();
    static int dbCheckNumMinor();

    // Empties the working and scratch tables.
    static void cleanDb();

    // Writes every stored seller logo into pathTemp + "template/logo/" as
    // "seller_<id>.png" and a preview reduced by its zoom, "seller_preview_<id>.png".
    static void writeSellerLogos(const QString& pathTemp);

    MDbOpening(const QString& pathTemp, const Steps& steps);

    Outcome open();
    // What open() has to tell the user; empty when it opened the database.
    MDataMessage message() const;

private:
    bool upgrade(int dbMajor, int dbMinor);
    void reportUpgradeFailure(int dbMajor, int dbMinor, const QString& error);

    QString m_pathTemp;
    MDataMessage m_message;
    Steps m_steps;
};
