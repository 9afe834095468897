#pragma once

#include <QString>

class QObject;
class QRegExpValidator;

// Up to 10 digits, then "," or "." and up to `decimals` digits; an optional "+".
QRegExpValidator* amountValidator(QObject* parent, int decimals);

// As amountValidator, with an optional "+" or "-".
QRegExpValidator* signedAmountValidator(QObject* parent, int decimals);

// Lenient while typing: a dot in the local part may be followed by nothing.
QRegExpValidator* emailValidator(QObject* parent);

// The final check of an e-mail address, stricter than emailValidator.
bool isEmailValid(const QString& text);
