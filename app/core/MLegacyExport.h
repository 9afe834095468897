#pragma once

#include "data/MLegacyStaging.h"

#include <QString>

class QWidget;

// "Eksportuj z wersji 1": asks for the "data" folder of a 1.xx installation,
// stages it with MLegacyStaging and starts the converter there without
// waiting for it.
class MLegacyExport
{
public:
    static QString converterName() { return MLegacyStaging::converterName(); }

    // tempPath: the folder of temporary files, ending in "/"; converterDir:
    // the folder that holds the converter (the program's own folder). The
    // converter process becomes a child of `parent`. Returns the staged data
    // folder, or an empty text when nothing was started (cancelled, wrong
    // folder, converter missing; each but the first told in a message box).
    static QString run(QWidget* parent, const QString& tempPath, const QString& converterDir);
};
