#include "MAppWnd.h"

#include "core/MDbOpener.h"
#include "core/MInvoiceCopies.h"

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
    steps.cleanDisk = [this] { doCleanDisk(); };
    steps.repairDb = [this](int numLastDb) { doRepairDb(numLastDb); };

    // A newer database, a failed upgrade or no connection at all: the user
    // has been told, and the window does not open on such a database.
    m_refused = MDbOpener(this, pathTemp, steps).open() != MDbOpener::Outcome::Opened;
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
