#pragma once

#include <QtGlobal>

// A point in time as the old data files keep it: seconds since 1970-01-01 UTC.
struct CTime
{
    qint64 seconds = 0;
};
