#pragma once

#include <QCoreApplication>
#include <QString>

// The amount to pay written out in Polish, as a document states it after "słownie".
class MPriceWords
{
    Q_DECLARE_TR_FUNCTIONS(MPriceWords)

public:
    // `fullWords` true: the złoty part in words up to 999 999 999 999, then
    // `currency` and the grosze, as the two digits and "/100" or (`fullCents`)
    // in words and "gr."; false: one short word and "*" per integer digit, then
    // the grosze as "/100". A negative amount is written as its absolute value.
    static QString text(double price, bool fullWords, bool fullCents, const QString& currency);

private:
    static QString fullText(const QString& integer, const QString& cents, bool fullCents, const QString& currency);
    static QString shortText(const QString& integer, const QString& cents);
    static QString groupWords(int group, const char* const forms[3]);
    static QString tensAndUnits(int tens, int units);
    static QString word(const char* text);
};
