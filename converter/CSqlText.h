#pragma once

#include "CTime.h"

#include <QByteArray>

// The text forms of values in the statements of mirvole.sql. Texts are the
// 8-bit bytes of the old files; everything else written is plain ASCII.

// A quoted text value. Tabs and line breaks are written as char() calls joined
// to the quoted parts, so that the database receives the real characters while
// the statement stays on one line.
QByteArray QuoteSQL(const QByteArray& text);

// "%d" and "%f" of the C library in its default locale. A double that is not
// a finite number (NaN, an infinity) has no literal SQLite accepts: it is
// written as 0, the safe value of an amount.
QByteArray SqlInt(qint32 value);
QByteArray SqlDouble(double value);

// The local time as "yyyy-MM-dd HH:mm:ss", quoted; '' for a time that has no
// such form (before 1970 or after the year 9999).
QByteArray SqlTime(CTime time);
