#include "MAppWnd.h"

#include "core/MLegacyExport.h"
#include "core/MSqlImport.h"
#include "views/MFileDialog.h"

#include <QCoreApplication>

void MAppWnd::doExportFromV1()
{
    const QString stagedData = MLegacyExport::run(this, pathTemp, QCoreApplication::applicationDirPath());
    if (!stagedData.isEmpty())
        m_importFolder = stagedData;
}

void MAppWnd::doImport()
{
    const QString path = MFileDialog::getOpenFileName(this, tr("Otwórz plik"), m_importFolder, tr("Sql (*.sql)"));
    if (path.isEmpty())
        return;
    const MSqlImport::Report report = MSqlImport::importFile(path, pathTemp);
    doCleanDb();
    MSqlImport::showReport(this, report);
}
