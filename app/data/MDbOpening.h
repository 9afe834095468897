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
        Unusable,      // damaged, locked, read-only or of an unreadable version; reported, left untouched
    };

    // What the opening asks of the main window.
    struct Steps
    {
        // suffix "" makes the day's copy, another the copy before an upgrade.
        std::function<void(const QString& suffix)> backupDb;
        // True when the day's copy is still to be made; then the file's pages are checked first.
        std::function<bool()> dailyBackupDue;
        std::function<void(int numLastDb)> repairDb;
        std::function<void()> cleanDisk;
    };

    // Opens the default QSQLITE connection on `path`, installs the Polish
    // collation and text functions and applies the connection settings.
    // A failure returns false with its message in `failure`; a connection on
    // a file that is locked by another program or no database, or on which
    // the Polish layer cannot be installed, is closed again.
    static bool createConnection(const QString& path, MDataMessage* failure);

    // The numbers of the version row; 0 when the table, the row or the value is
    // missing, and all four 0 when a value is no version number (MDbVersion).
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
    // Whether the file can be used at all: not cut short, not read-only.
    bool checkFile(const QString& path);
    // SQLite's quick check of every page.
    bool checkPages(const QString& path);
    void reportDamaged(const QString& path, const QString& error);
    static bool accessible(const QString& path, MDataMessage* failure);
    static MDataMessage damaged(const QString& path, const QString& error);
    bool upgrade(int dbMajor, int dbMinor);
    void reportUpgradeFailure(int dbMajor, int dbMinor, const QString& error);

    QString m_pathTemp;
    MDataMessage m_message;
    Steps m_steps;
};
