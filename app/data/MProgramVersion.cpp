#include "data/MProgramVersion.h"

QString MProgramVersion::versionSpecial()
{
    return QString();
}

QString MProgramVersion::versionText(int major, int minor, const QString& special)
{
    QString text = QString::number(major) + QLatin1Char('.') + QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0'));
    if (!special.isEmpty())
        text += QLatin1Char('-') + special;
    return text;
}

QString MProgramVersion::versionText()
{
    return versionText(versionMajor, versionMinor, versionSpecial());
}
