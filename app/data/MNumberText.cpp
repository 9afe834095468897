#include "MNumberText.h"

#include <QLocale>

QString numberText(double value, int prec)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', prec);
}

QString amountText(double value, int prec)
{
    const auto localized = [value](int decimals) {
        return QStringLiteral("%L1").arg(value, 0, 'f', decimals, QLatin1Char(' '));
    };

    QString text = localized(prec);
    // A zero is dropped only while the shorter form plus that zero spells the
    // longer one, so the value shown never changes.
    for (int n = prec - 1; n >= 0; --n) {
        const QString shorter = localized(n);
        if (n > 0) {
            if (shorter + QLatin1Char('0') != text)
                break;
            text = shorter;
        } else {
            if (shorter + QLatin1String(",0") == text || shorter + QLatin1String(".0") == text)
                text = shorter;
            break;
        }
    }

    // The Polish group separator is a no-break space; printed amounts use a plain blank.
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    text.replace(QChar(0x202F), QLatin1Char(' '));
    return text;
}

QString xmlNumberText(double value, int prec)
{
    return QStringLiteral("%1").arg(value, 0, 'f', prec, QLatin1Char(' '));
}

double maxAmount()
{
    return 1000000000.0;
}
