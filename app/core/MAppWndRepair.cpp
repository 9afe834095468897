#include "MAppWnd.h"

#include "data/MDataRepair.h"
#include "views/MMessageBox.h"

void MAppWnd::doRepairDb(int numLastDb)
{
    MDataRepair::run(numLastDb, pathTemp);
}

void MAppWnd::doRepairDb()
{
    doRepairDb(0);
}

void MAppWnd::doRepairDb2()
{
    const MDataRepair::Result result = MDataRepair::run(dbNumMajor() * 1000 + dbNumMinor(), pathTemp);
    reloadOpenLists();
    if (!result.ok())
        MMessageBox::warning(this, tr("Napraw bazę"),
                             tr("Nie wszystkie zmiany naprawy bazy danych powiodły się (%1).<br>"
                                "Pierwszy błąd: %2")
                                 .arg(result.failed)
                                 .arg(result.firstError.toHtmlEscaped()));
}
