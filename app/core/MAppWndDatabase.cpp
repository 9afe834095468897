#include "MAppWnd.h"

#include "core/MDbOpener.h"
#include "data/MInvoiceCopies.h"
#include "data/MProgramPaths.h"

QString& MAppWnd::pathConfig = MProgramPaths::pathConfig;
QString& MAppWnd::pathTemp = MProgramPaths::pathTemp;
QString& MAppWnd::pathData = MProgramPaths::pathData;
QString& MAppWnd::pathDocuments = MProgramPaths::pathDocuments;
QString& MAppWnd::pathDbFile = MProgramPaths::pathDbFile;

void MAppWnd::initPaths(const QString& installationDir)
{
    MProgramPaths::initPaths(installationDir);
}

void MAppWnd::backupDb(const QString& suffix)
{
    MProgramPaths::backupDb(suffix);
}

void MAppWnd::doCleanDisk()
{
    MProgramPaths::cleanDisk();
}

bool MAppWnd::createConnection(const QString& dbFile)
{
    return MDbOpener::createConnection(dbFile);
}

int MAppWnd::dbNumMajor()
{
    return MDbOpener::dbNumMajor();
}

int MAppWnd::dbNumMinor()
{
    return MDbOpener::dbNumMinor();
}

int MAppWnd::dbCheckNumMajor()
{
    return MDbOpener::dbCheckNumMajor();
}

int MAppWnd::dbCheckNumMinor()
{
    return MDbOpener::dbCheckNumMinor();
}

void MAppWnd::openDb()
{
    MDbOpener::Steps steps;
    steps.backupDb = [this](const QString& suffix) { backupDb(suffix); };
    steps.dailyBackupDue = [] { return MProgramPaths::dailyBackupDue(); };
    steps.cleanDisk = [this] { doCleanDisk(); };
    steps.repairDb = [this](int numLastDb) { doRepairDb(numLastDb); };

    // A newer, damaged, locked or read-only database or a failed upgrade
    // (the day's backup is made there, once the file was checked): the user has been told, and the
    // window does not open on such a database. Without a connection the window
    // still opens (the splash has said so), so that "Katalogi programu" can
    // point the program at another database folder for the next start.
    const MDbOpener::Outcome outcome = MDbOpener(this, pathTemp, steps).open();
    m_refused = outcome == MDbOpener::Outcome::Newer || outcome == MDbOpener::Outcome::UpgradeFailed
        || outcome == MDbOpener::Outcome::Unusable;
}

void MAppWnd::doCleanDb()
{
    MDbOpener::cleanDb();
}

void MAppWnd::deleteUnusedInvoiceCopies()
{
    MInvoiceCopies::deleteUnused();
}

void MAppWnd::updateInvoiceCopiesMd5()
{
    MInvoiceCopies::updateMd5();
}
