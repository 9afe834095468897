#pragma once

#include <QString>

// The label (asKey false) or the file-name key (asKey true) of a printed
// document's marking; empty for a marking without a name.
QString docViewName(int docView, bool asKey);

// Every blank becomes a transparent apostrophe, so an HTML renderer cannot break the line there.
QString noWrapText(QString text);

// The Polish name of the month given as decimal text ("1" or "01" to "12"); empty for
// anything else. With checkStyle the option SHOW_MONTH_STYLE may ask for the genitive.
QString monthName(QString month, bool checkStyle);

// An SQL CASE expression naming (nominative) the month of the date in `column`.
QString sqlMonthNameCase(QString column);
