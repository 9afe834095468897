#pragma once

#include <QString>

// The program's version, 2.53; versions are compared as major * 1000 + minor.
class MProgramVersion
{
public:
    static const int versionMajor = 2;
    static const int versionMinor = 53;
    static const int versionNumber = versionMajor * 1000 + versionMinor;

    static QString versionSpecial();
    // major.minor with the minor in two digits, then "-" + special when there is one: 2.53, 2.05, 2.53-beta.
    static QString versionText(int major, int minor, const QString& special);
    static QString versionText();
};
