#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>

class QSqlQuery;

// A page of a list's rows, kept compactly: the values of all its cells live in
// a few contiguous buffers instead of one heap object per cell, so that filling
// and freeing a list of many rows costs a few allocations per page. Rows are
// stored at positions 0 .. capacity - 1, in any order; a value comes back as
// the SQL driver gave it (same type, null or not).
class MSqlRowPage
{
public:
    MSqlRowPage(int columnCount, int capacity);

    int columnCount() const;
    // Copies the current row of `query` (its first columnCount() values) to `position`.
    void storeRow(int position, const QSqlQuery& query);
    bool hasRow(int position) const;
    // Invalid when the position holds no row.
    QVariant value(int position, int column) const;

private:
    struct Cell
    {
        int type = QVariant::Invalid;
        int length = -1; // -1: a null value of `type`
        union {
            qint64 integer;
            double real;
            int offset; // into m_texts, m_bytes or m_others by type
        };
    };

    int m_columnCount;
    QVector<Cell> m_cells;
    QVector<bool> m_stored;
    QString m_texts;
    QByteArray m_bytes;
    QVector<QVariant> m_others;
};
