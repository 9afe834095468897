#include "CSqlText.h"

#include <QByteArrayList>
#include <QDateTime>
#include <QLocale>
#include <QStringBuilder>

#include <cmath>

namespace {

// SQLite refuses a function call of more than 127 arguments and an expression
// deeper than 1000 levels; these bounds stay well inside both.
constexpr int maxCharArguments = 100;
constexpr int maxChainLength = 64;

// 9999-12-31 23:59:59 UTC and a day for the widest time zone; later times
// have no four-digit year and would overflow the conversion.
constexpr qint64 lastShownSecond = Q_INT64_C(253402300799) + 86400;

bool isLineControl(char c)
{
    return c == '\t' || c == '\r' || c == '\n';
}

QByteArray quoted(const QByteArray& text)
{
    QByteArray result = text;
    return '\'' + result.replace('\'', "''") + '\'';
}

QByteArray charCall(const QByteArray& controls)
{
    QByteArrayList codes;
    for (char c : controls)
        codes.append(QByteArray::number(int(c)));
    return "char(" + codes.join(',') + ')';
}

// Joins the parts with ||, grouping long chains in parentheses so that the
// expression tree stays shallow however many line breaks a text holds.
QByteArray concatenated(QByteArrayList parts)
{
    while (parts.size() > maxChainLength) {
        QByteArrayList groups;
        for (int i = 0; i < parts.size(); i += maxChainLength)
            groups.append('(' + parts.mid(i, maxChainLength).join(" || ") + ')');
        parts = groups;
    }
    return parts.join(" || ");
}

} // namespace

QByteArray QuoteSQL(const QByteArray& text)
{
    if (text.isEmpty())
        return "''";

    QByteArrayList parts;
    int start = 0;
    while (start < text.size()) {
        int end = start;
        const bool controls = isLineControl(text.at(start));
        const int limit = controls ? qMin(text.size(), start + maxCharArguments) : text.size();
        while (end < limit && isLineControl(text.at(end)) == controls)
            ++end;
        const QByteArray run = text.mid(start, end - start);
        parts.append(controls ? charCall(run) : quoted(run));
        start = end;
    }
    return concatenated(parts);
}

QByteArray SqlInt(qint32 value)
{
    return QByteArray::number(value);
}

QByteArray SqlDouble(double value)
{
    if (!std::isfinite(value))
        return SqlDouble(0.0);
    const QByteArray text = QByteArray::number(value, 'f', 6);
    // "%f" keeps the sign of a negative zero; Qt drops it.
    if (std::signbit(value) && !text.startsWith('-'))
        return '-' + text;
    return text;
}

QByteArray SqlTime(CTime time)
{
    if (time.seconds < 0 || time.seconds > lastShownSecond)
        return QuoteSQL(QByteArray());
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time.seconds, Qt::LocalTime);
    if (!local.isValid() || local.date().year() > 9999)
        return QuoteSQL(QByteArray());
    // The C locale: the system's may write its own digits (Arabic, Persian).
    return QuoteSQL(QLocale::c().toString(local, QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1());
}
