#pragma once

#include "views/MSqlSelectParts.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

#include <memory>
#include <vector>

class MSqlRowPage;

// The rows of a list's statement, read as the list needs them and kept compactly.
//
// A list sorted in a total order (ending with its first column) reads only its first
// column, the record ids, in the statement's order: the database sorts narrow rows,
// and for the first page keeps only the first ids. The wide rows are read a page at
// a time by id when they are first shown. Any other statement is read row by row
// into the pages as the list fetches further.
class MSqlListRows
{
public:
    MSqlListRows();
    ~MSqlListRows();

    // Runs `sql` on `db`; false when it cannot be read this way (the statement
    // failed, or returns no columns).
    bool open(const QString& sql, const QSqlDatabase& db);

    // The rows read so far.
    int count() const;
    // Reads on until `wanted` rows are known or the statement ends.
    void readUpTo(int wanted);

    // The value of a known row as the SQL driver gives it.
    QVariant value(int row, int column);

private:
    bool openSorted(const QSqlDatabase& db);
    bool openInOrder(const QString& sql, const QSqlDatabase& db);
    MSqlRowPage* page(int pageIndex);
    void loadPageOfIds(int pageIndex);

    std::unique_ptr<MSqlSelectParts> m_parts;
    QSqlDatabase m_db;
    QSqlQuery m_reader;
    QString m_idsSql;
    bool m_restOfIdsPending = false;
    bool m_sorted = false;
    bool m_atEnd = true;
    int m_count = 0;
    int m_columnCount = 0;
    QVector<QVariant> m_ids;
    std::vector<std::unique_ptr<MSqlRowPage>> m_pages;
};
