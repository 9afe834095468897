#include "MAppWnd.h"

#include "core/MLegacyExport.h"
#include "core/MSqlImport.h"
#include "views/MFileDialog.h"

#include <QCoreApplication>
#include <QFileInfo>

void MAppWnd::doExportFromV1()
{
    const QString stagedData = MLegacyExport::run(this, pathTemp, QCoreApplication::applicationDirPath());
    if (!stagedData.isEmpty())
        m_importFolder = stagedData;
}

void MAppWnd::doImport()
{
    const QString folder = m_importFolder.isEmpty() ? pathDocuments : m_importFolder;
    const QString path = MFileDialog::getOpenFileName(this, tr("Otwórz plik"), folder, tr("Sql (*.sql)"));
    if (path.isEmpty())
        return;
    m_importFolder = QFileInfo(path).absolutePath();
    const MSqlImport::Report report = MSqlImport::importFile(path, pathTemp);
    doCleanDb();
    reloadOpenLists();
    MSqlImport::showReport(this, report);
}
