#include "data/MJpkText.h"

#include "data/MIdentifierCheck.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// The characters of the XML 1.0 Char production.
bool isXmlChar(uint c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QString jpkText(const QString& text, int maxLength)
{
    // Most texts hold nothing to leave out and are short enough: they are only simplified.
    const bool clean = std::all_of(text.cbegin(), text.cend(),
                                   [](QChar c) { return !c.isSurrogate() && isXmlChar(c.unicode()); });
    QString kept;
    if (!clean) {
        // toUcs4() turns a lone surrogate into U+FFFD; walk the UTF-16 units to drop it instead.
        kept.reserve(text.size());
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                kept += c;
                kept += text.at(++i);
            } else if (!c.isSurrogate() && isXmlChar(c.unicode())) {
                kept += c;
            }
        }
    }
    const QString token = (clean ? text : kept).simplified();
    if (token.size() <= maxLength)
        return token;
    int units = 0;
    for (int characters = 0; units < token.size() && characters < maxLength; ++characters)
        units += token.at(units).isHighSurrogate() ? 2 : 1;
    return token.left(units).trimmed();
}

QString jpkRequiredText(const QString& text, int maxLength)
{
    const QString token = jpkText(text, maxLength);
    return token.isEmpty() ? QStringLiteral("brak") : token;
}

QString jpkDigits(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

bool fitsJpkNipType(const QString& digits)
{
    // The type also refuses a leading zero and "00" in the second and third place.
    static const QRegularExpression nipType(QStringLiteral("^[1-9]((\\d[1-9])|([1-9]\\d))\\d{7}$"));
    return nipType.match(digits).hasMatch();
}

bool isJpkNipValid(const QString& nip)
{
    const QString digits = jpkDigits(nip);
    return fitsJpkNipType(digits) && isNipValid(digits);
}
