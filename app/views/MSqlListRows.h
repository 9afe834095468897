#pragma once

#include "views/MSqlSelectParts.h"

#include <QSqlDatabase>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

#include <memory>
#include <vector>

class MSqlRowPage;
class QSqlQuery;

// The rows of a list's statement, read as the list needs them and kept compactly.
//
// A list sorted in a total order (ending with its first column) reads only its first
// column, the record ids, in the statement's order: the database sorts narrow rows,
// and for the first page keeps only the first ids. The wide rows are read a page at
// a time by id when they are first shown. Any other statement is read into the pages
// in runs of rows positioned past the rows already read (LIMIT .. OFFSET ..), each
// run twice as long as the one before.
//
// No statement is left unfinished between two calls: a list open on the connection
// never keeps it from dropping a table, vacuuming or rolling back.
class MSqlListRows
{
public:
    MSqlListRows();
    ~MSqlListRows();

    // Runs `sql` on `db` with `values` bound to the placeholders (":name") that it
    // names; false when it cannot be read this way (the statement failed, or returns
    // no columns).
    bool open(const QString& sql, const QVariantMap& values, const QSqlDatabase& db);

    // The rows read so far.
    int count() const;
    // Reads on until `wanted` rows are known or the statement ends.
    void readUpTo(int wanted);

    // The value of a known row as the SQL driver gives it.
    QVariant value(int row, int column);

    // Prepares `sql` on `query`, binds those of `values` whose placeholders it names,
    // and runs it.
    static bool run(QSqlQuery& query, const QString& sql, const QVariantMap& values);

private:
    bool openSorted();
    bool openInOrder();
    bool run(QSqlQuery& query, const QString& sql) const;
    bool readIds(const QString& limit);
    bool readRunInOrder(int wanted);
    MSqlRowPage* page(int pageIndex);
    void loadPageOfIds(int pageIndex);

    std::unique_ptr<MSqlSelectParts> m_parts;
    QSqlDatabase m_db;
    QString m_sql;
    QVariantMap m_values;
    QString m_idsSql;
    bool m_sorted = false;
    bool m_atEnd = true;
    int m_count = 0;
    int m_columnCount = 0;
    QVector<QVariant> m_ids;
    std::vector<std::unique_ptr<MSqlRowPage>> m_pages;
};
