#include "MIdentifierCheck.h"

namespace {

QString digitsOf(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

int digitAt(const QString& digits, int position)
{
    return digits.at(position).unicode() - '0';
}

} // namespace

bool isBankAccountValid(const QString& account)
{
    const QString digits = digitsOf(account);
    if (digits.size() != 26)
        return false;

    // The IBAN order: the account after the check digits, the country PL as
    // 25 21, then the check digits; the whole must leave 1 modulo 97.
    const QString rearranged = digits.mid(2) + QLatin1String("2521") + digits.left(2);
    int remainder = 0;
    for (int i = 0; i < rearranged.size(); ++i)
        remainder = (remainder * 10 + digitAt(rearranged, i)) % 97;
    return remainder == 1;
}

bool isNipValid(const QString& nip)
{
    const QString digits = digitsOf(nip);
    if (digits.size() != 10 || digits == QLatin1String("0000000000"))
        return false;

    static const int weights[9] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += weights[i] * digitAt(digits, i);
    // A remainder of 10 matches no check digit.
    return sum % 11 == digitAt(digits, 9);
}
