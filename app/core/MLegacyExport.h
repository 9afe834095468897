#pragma once

#include <QString>

class QWidget;

// "Eksportuj z wersji 1": asks for the "data" folder of a 1.xx installation,
// stages its ".dat" files and the converter mirvole (found beside the
// program) in the temporary folder "temp/import_1xx", and starts the
// converter there without waiting for it. The converter writes
// "mirvole.sql" into the staged data folder, which the SQL import then reads.
class MLegacyExport
{
public:
    // The converter's program file name on this platform.
    static QString converterName();

    // tempPath: the folder of temporary files, ending in "/"; converterDir:
    // the folder that holds the converter (the program's own folder). The
    // converter process becomes a child of `parent`. Returns the staged data
    // folder, or an empty text when nothing was started (cancelled, wrong
    // folder, converter missing; each but the first told in a message box).
    static QString run(QWidget* parent, const QString& tempPath, const QString& converterDir);
};
