#include "data/MJpkText.h"

#include "data/MIdentifierCheck.h"

#include <QRegularExpression>

QString jpkRequiredText(const QString& text, int maxLength)
{
    const QString token = text.simplified().left(maxLength).trimmed();
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
