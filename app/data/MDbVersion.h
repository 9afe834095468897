#pragma once

#include <QString>

// The version row of a database (row id 1 of table _version) read with
// care: a database without the table or the row is a new one (all 0), but a
// value that is not a whole number from 0 to 999 (text such as "abc", a
// fraction, 4294968) or a row that cannot be read makes the row unreadable,
// never version 0, which would upgrade the database again.
class MDbVersion
{
public:
    int major = 0;
    int minor = 0;
    int checkMajor = 0;
    int checkMinor = 0;

    int number() const { return major * 1000 + minor; }
    int checkNumber() const { return checkMajor * 1000 + checkMinor; }

    // Reads the default connection's row; false, with the reason in Polish in `error`, when it is unreadable.
    static bool read(MDbVersion* version, QString* error);
};
