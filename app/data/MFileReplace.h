#pragma once

#include <QString>

// Moving a finished file into its target's place.
class MFileReplace
{
public:
    // Renames `from` to `to` in one step, replacing an existing `to` (unlike
    // QFile::rename); both lie on the same file system. False when it failed.
    static bool rename(const QString& from, const QString& to);
};
