#pragma once

#include "data/MDataMessage.h"

#include <QString>

// The files "Eksportuj z wersji 1" works on: the ".dat" files of a 1.xx
// installation's "data" folder and the converter mirvole (found beside the
// program), staged in the temporary folder "temp/import_1xx". The converter
// writes "mirvole.sql" into the staged data folder, which the SQL import then reads.
class MLegacyStaging
{
public:
    struct Result
    {
        QString stagedData; // the staged data folder; empty when nothing was staged
        QString converter;  // the staged converter, to be started in its own folder
        MDataMessage message; // why nothing was staged
    };

    // The converter's program file name on this platform.
    static QString converterName();

    // dataFolder: the chosen 1.xx folder; tempPath: the folder of temporary
    // files, ending in "/"; converterDir: the folder that holds the converter
    // (the program's own folder). A folder not named "data" or a missing
    // converter stages nothing.
    static Result stage(const QString& dataFolder, const QString& tempPath, const QString& converterDir);
};
