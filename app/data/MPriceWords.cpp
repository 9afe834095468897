#include "data/MPriceWords.h"

#include <QtMath>

namespace {

const char* const unitWords[] = {
    QT_TRANSLATE_NOOP("MPriceWords", "zero"),   QT_TRANSLATE_NOOP("MPriceWords", "jeden"),
    QT_TRANSLATE_NOOP("MPriceWords", "dwa"),    QT_TRANSLATE_NOOP("MPriceWords", "trzy"),
    QT_TRANSLATE_NOOP("MPriceWords", "cztery"), QT_TRANSLATE_NOOP("MPriceWords", "pięć"),
    QT_TRANSLATE_NOOP("MPriceWords", "sześć"),  QT_TRANSLATE_NOOP("MPriceWords", "siedem"),
    QT_TRANSLATE_NOOP("MPriceWords", "osiem"),  QT_TRANSLATE_NOOP("MPriceWords", "dziewięć"),
};

const char* const teenWords[] = {
    QT_TRANSLATE_NOOP("MPriceWords", "dziesięć"),       QT_TRANSLATE_NOOP("MPriceWords", "jedenaście"),
    QT_TRANSLATE_NOOP("MPriceWords", "dwanaście"),      QT_TRANSLATE_NOOP("MPriceWords", "trzynaście"),
    QT_TRANSLATE_NOOP("MPriceWords", "czternaście"),    QT_TRANSLATE_NOOP("MPriceWords", "piętnaście"),
    QT_TRANSLATE_NOOP("MPriceWords", "szesnaście"),     QT_TRANSLATE_NOOP("MPriceWords", "siedemnaście"),
    QT_TRANSLATE_NOOP("MPriceWords", "osiemnaście"),    QT_TRANSLATE_NOOP("MPriceWords", "dziewiętnaście"),
};

// Indexed by the tens digit; 0 and 1 are never read.
const char* const tensWords[] = {
    "",
    "",
    QT_TRANSLATE_NOOP("MPriceWords", "dwadzieścia"),
    QT_TRANSLATE_NOOP("MPriceWords", "trzydzieści"),
    QT_TRANSLATE_NOOP("MPriceWords", "czterdzieści"),
    QT_TRANSLATE_NOOP("MPriceWords", "pięćdziesiąt"),
    QT_TRANSLATE_NOOP("MPriceWords", "sześćdziesiąt"),
    QT_TRANSLATE_NOOP("MPriceWords", "siedemdziesiąt"),
    QT_TRANSLATE_NOOP("MPriceWords", "osiemdziesiąt"),
    QT_TRANSLATE_NOOP("MPriceWords", "dziewięćdziesiąt"),
};

// Indexed by the hundreds digit; 0 is never read.
const char* const hundredWords[] = {
    "",
    QT_TRANSLATE_NOOP("MPriceWords", "sto"),
    QT_TRANSLATE_NOOP("MPriceWords", "dwieście"),
    QT_TRANSLATE_NOOP("MPriceWords", "trzysta"),
    QT_TRANSLATE_NOOP("MPriceWords", "czterysta"),
    QT_TRANSLATE_NOOP("MPriceWords", "pięćset"),
    QT_TRANSLATE_NOOP("MPriceWords", "sześćset"),
    QT_TRANSLATE_NOOP("MPriceWords", "siedemset"),
    QT_TRANSLATE_NOOP("MPriceWords", "osiemset"),
    QT_TRANSLATE_NOOP("MPriceWords", "dziewięćset"),
};

// Singular, plural after 2-4, plural after 5 and more (and after 0, 1 with tens or hundreds, teens).
const char* const billionForms[] = {
    QT_TRANSLATE_NOOP("MPriceWords", "miliard"),
    QT_TRANSLATE_NOOP("MPriceWords", "miliardy"),
    QT_TRANSLATE_NOOP("MPriceWords", "miliardów"),
};
const char* const millionForms[] = {
    QT_TRANSLATE_NOOP("MPriceWords", "milion"),
    QT_TRANSLATE_NOOP("MPriceWords", "miliony"),
    QT_TRANSLATE_NOOP("MPriceWords", "milionów"),
};
const char* const thousandForms[] = {
    QT_TRANSLATE_NOOP("MPriceWords", "tysiąc"),
    QT_TRANSLATE_NOOP("MPriceWords", "tysiące"),
    QT_TRANSLATE_NOOP("MPriceWords", "tysięcy"),
};

const char* const shortDigitWords[] = {"zer", "jed", "dwa", "trz", "czt", "pie", "sze", "sie", "osi", "dzi"};

// Groups of three places from the billions down, enough for every amount of NUMBER(16, 4).
const int groupCount = 4;

}

QString MPriceWords::text(double price, bool fullWords, bool fullCents, const QString& currency)
{
    if (!qIsFinite(price))
        price = 0.0;
    const QString digits = QString::number(qAbs(price), 'f', 2);
    const int point = digits.indexOf(QLatin1Char('.'));
    const QString integer = digits.left(point);
    const QString cents = digits.mid(point + 1);
    return fullWords ? fullText(integer, cents, fullCents, currency) : shortText(integer, cents);
}

QString MPriceWords::fullText(const QString& integer, const QString& cents, bool fullCents, const QString& currency)
{
    // Places above the hundreds of billions are not read.
    const QString places = integer.right(groupCount * 3).rightJustified(groupCount * 3, QLatin1Char('0'));
    const char* const* const groupForms[] = {billionForms, millionForms, thousandForms};

    QString result;
    for (int g = 0; g < groupCount - 1; ++g)
        result += groupWords(places.mid(g * 3, 3).toInt(), groupForms[g]);

    const int units = places.right(3).toInt();
    if (units >= 100)
        result += word(hundredWords[units / 100]);
    result += tensAndUnits(units / 10 % 10, units % 10);
    if (integer == QLatin1String("0"))
        result += word(unitWords[0]);
    result += currency + QLatin1Char(' ');

    const int tensOfCents = cents.at(0).digitValue();
    const int unitsOfCents = cents.at(1).digitValue();
    if (!fullCents)
        return result + cents + QLatin1String("/100");
    if (tensOfCents == 0)
        result += word(unitWords[unitsOfCents]);
    else
        result += tensAndUnits(tensOfCents, unitsOfCents);
    return result + tr("gr.");
}

QString MPriceWords::shortText(const QString& integer, const QString& cents)
{
    QString result;
    for (const QChar digit : integer)
        result += QLatin1String(shortDigitWords[digit.digitValue()]) + QLatin1Char('*');
    return result + cents + QLatin1String("/100");
}

QString MPriceWords::groupWords(int group, const char* const forms[3])
{
    const int hundreds = group / 100;
    const int tens = group / 10 % 10;
    const int units = group % 10;

    QString result;
    if (hundreds >= 1)
        result += word(hundredWords[hundreds]);
    if (tens == 1)
        return result + word(teenWords[units]) + word(forms[2]);
    if (tens >= 2)
        result += word(tensWords[tens]);
    if (units == 0)
        return group == 0 ? result : result + word(forms[2]);
    if (units == 1)
        return result + word(unitWords[1]) + word(forms[hundreds == 0 && tens == 0 ? 0 : 2]);
    return result + word(unitWords[units]) + word(forms[units <= 4 ? 1 : 2]);
}

QString MPriceWords::tensAndUnits(int tens, int units)
{
    if (tens == 1)
        return word(teenWords[units]);
    QString result;
    if (tens >= 2)
        result += word(tensWords[tens]);
    if (units != 0)
        result += word(unitWords[units]);
    return result;
}

QString MPriceWords::word(const char* text)
{
    return tr(text) + QLatin1Char(' ');
}
