#include "data/MColumnOptions.h"

#include "data/MOptions.h"

#include <QStringList>
#include <QVector>

#include <functional>

namespace {

// Every part of a stored list as an integer, a part that is not one counting as 0.
QVector<int> integers(const QString& value)
{
    QVector<int> numbers;
    for (const QString& part : value.split(QLatin1Char(';')))
        numbers << part.toInt();
    return numbers;
}

QString joined(const QVector<int>& numbers)
{
    QStringList parts;
    for (int number : numbers)
        parts << QString::number(number);
    return parts.join(QLatin1Char(';'));
}

// Rewrites one list option with `shift`; an empty option, or a list that
// would become empty, is left as it is.
void shiftList(const QString& key, const std::function<QVector<int>(const QVector<int>&)>& shift)
{
    const QString value = MOptions::option(key);
    if (value.isEmpty())
        return;
    const QVector<int> shifted = shift(integers(value));
    if (!shifted.isEmpty())
        MOptions::setOption(key, joined(shifted));
}

// Per-column entries (widths, visibility flags): one entry out, or `inserted` put in.
QVector<int> shiftEntries(const QVector<int>& entries, int column, bool removed, int inserted)
{
    QVector<int> result;
    for (int i = 0; i < entries.size(); ++i) {
        if (i == column && removed)
            continue;
        if (i == column)
            result << inserted;
        result << entries.at(i);
    }
    return result;
}

// Visual positions stay a permutation: the others close the gap or make room.
QVector<int> shiftPositions(const QVector<int>& positions, int column, bool removed)
{
    QVector<int> result;
    if (removed) {
        const bool present = column >= 0 && column < positions.size();
        for (int i = 0; i < positions.size(); ++i) {
            if (i == column)
                continue;
            const int position = positions.at(i);
            result << (present && position > positions.at(column) ? position - 1 : position);
        }
    } else {
        for (int i = 0; i < positions.size(); ++i) {
            if (i == column)
                result << column;
            const int position = positions.at(i);
            result << (position >= column ? position + 1 : position);
        }
    }
    return result;
}

} // namespace

void MColumnOptions::shiftColumnOptions(const QString& viewSuffix, int column, bool removed)
{
    const QString sortKey = QStringLiteral("COLUMN_SORT_") + viewSuffix;
    const QString sort = MOptions::option(sortKey);
    if (!sort.isEmpty()) {
        const QVector<int> parts = integers(sort);
        if (parts.size() == 2) {
            const int sorted = parts.at(0);
            // Column 0 (and no sort, -1) never moves; the removed column's sort passes to its successor.
            if (removed && sorted > 0 && sorted > column)
                MOptions::setOption(sortKey, joined({sorted - 1, parts.at(1)}));
            else if (!removed && sorted > 0 && sorted >= column)
                MOptions::setOption(sortKey, joined({sorted + 1, parts.at(1)}));
        }
    }

    shiftList(QStringLiteral("COLUMN_SIZE_") + viewSuffix, [column, removed](const QVector<int>& sizes) {
        return shiftEntries(sizes, column, removed, 100);
    });
    shiftList(QStringLiteral("COLUMN_VISIBLE_") + viewSuffix, [column, removed](const QVector<int>& flags) {
        return shiftEntries(flags, column, removed, 1);
    });
    shiftList(QStringLiteral("COLUMN_POSITION_") + viewSuffix, [column, removed](const QVector<int>& positions) {
        return shiftPositions(positions, column, removed);
    });
}
