#include "data/MEnvelopeWindow.h"

#include "data/MDefaultOptions.h"

#include <QStringList>

QVector<int> MEnvelopeWindow::values(const QString& text)
{
    const QString key = QStringLiteral("ENVELOPE_WINDOW_MARGINS");
    const QStringList defaults = MDefaultOptions::defaults(QString()).value(key).split(QLatin1Char(';'));
    // A text never stored has no parts at all rather than one empty part.
    const QStringList parts = text.isEmpty() ? QStringList() : text.split(QLatin1Char(';'));
    QVector<int> values;
    for (int i = 0; i < defaults.size(); ++i)
        values.append((i < parts.size() ? parts.at(i) : defaults.at(i)).toInt());
    return values;
}

QString MEnvelopeWindow::text(const QVector<int>& values)
{
    QStringList parts;
    for (int value : values)
        parts.append(QString::number(value));
    return parts.join(QLatin1Char(';'));
}
