#pragma once

#include <QString>

// Texts of the tax control files, shaped to what their schemas accept.

// Text of at most maxLength characters (Unicode characters, as the schemas
// count them; a surrogate pair is never split): characters that XML 1.0 cannot
// carry left out, blanks collapsed as an XML token is read.
QString jpkText(const QString& text, int maxLength);

// The same, with "brak" in place of a text that holds nothing.
QString jpkRequiredText(const QString& text, int maxLength);

// The digits of a text, everything else removed ("PL 123-45" gives "12345").
QString jpkDigits(const QString& text);

// Ten digits that the schemas' NIP type accepts (no check digit test).
bool fitsJpkNipType(const QString& digits);

// A NIP whose digits fit the schemas' NIP type and carry a valid check digit.
bool isJpkNipValid(const QString& nip);
