#pragma once

#include "data/MSqlImporter.h"

#include <QString>

class QWidget;

// "Importuj do bazy" for the main window: MSqlImporter's run and its report in a message box.
class MSqlImport
{
public:
    using Report = MSqlImporter::Report;

    static Report importFile(const QString& path, const QString& tempPath)
    {
        return MSqlImporter::importFile(path, tempPath);
    }

    static void showReport(QWidget* parent, const Report& report);
};
