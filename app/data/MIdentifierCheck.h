#pragma once

#include <QString>

// Checks of the identifiers that a payment needs. Both look at the digits
// only, so blanks, dashes and a leading "PL" may be written in any way.

// A Polish account number (NRB, the 26 digits of a PL IBAN) with a valid
// ISO 7064 MOD 97-10 checksum.
bool isBankAccountValid(const QString& account);

// A tax identification number (NIP) of 10 digits with a valid check digit.
bool isNipValid(const QString& nip);
