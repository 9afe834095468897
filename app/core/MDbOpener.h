#pragma once

#include <QString>

#include <functional>

class QWidget;

// Opens the database at start-up: refuses a database written by a newer
// program, upgrades an older one by the schema script, and then empties the
// working tables and temporary folders, writes the seller logo files and
// refreshes the fingerprints of the document copies. The main window runs it
// through MAppWnd::openDb; it needs no window of its own.
class MDbOpener
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
    // Reports a failure in a critical box and returns false; a connection on
    // which the Polish layer cannot be installed is closed again.
    static bool createConnection(const QString& path);

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

    MDbOpener(QWidget* parent, const QString& pathTemp, const Steps& steps);

    Outcome open();

private:
    bool upgrade(int dbMajor, int dbMinor);
    void reportUpgradeFailure(int dbMajor, int dbMinor, const QString& error) const;

    QWidget* m_parent;
    QString m_pathTemp;
    Steps m_steps;
};
