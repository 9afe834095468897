#pragma once

#include <QString>

// Numbers as the program shows, prints and exports them.

// Default locale, fixed notation, no group separator: 1234.5 with 2 decimals gives "1234,50".
QString numberText(double value, int prec);

// Default locale with groups written as ordinary blanks and trailing zeros of the
// decimals dropped: 1234.5 with 2 decimals gives "1 234,5", 12 gives "12".
QString amountText(double value, int prec);

// Decimal point, no grouping, whatever the locale: the numbers of the tax control files.
QString xmlNumberText(double value, int prec);

// The largest amount the product dialog accepts.
double maxAmount();
