#pragma once

#include <QString>

// Texts of the tax control files, shaped to what their schemas accept.

// Required text of at most maxLength characters: blanks collapsed as an XML token is
// read, and "brak" in place of a text that holds nothing.
QString jpkRequiredText(const QString& text, int maxLength);

// The digits of a text, everything else removed ("PL 123-45" gives "12345").
QString jpkDigits(const QString& text);

// Ten digits that the schemas' NIP type accepts (no check digit test).
bool fitsJpkNipType(const QString& digits);

// A NIP whose digits fit the schemas' NIP type and carry a valid check digit.
bool isJpkNipValid(const QString& nip);
