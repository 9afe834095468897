#pragma once

#include <QString>

#include <functional>

// The top-level clauses of a list's SELECT statement, found outside parentheses,
// string literals and quoted names, so that the list can read its ordered record ids
// apart from the wide rows and then the wide rows of chosen ids:
//   SELECT <first column>, ... FROM ... [WHERE ...] [GROUP BY ... [HAVING ...]] [ORDER BY ...]
// Statements of any other shape (WITH, DISTINCT, compound selects, LIMIT, comments)
// are not split: isValid() is false and the list reads the statement as it is.
class MSqlSelectParts
{
public:
    explicit MSqlSelectParts(const QString& sql);

    bool isValid() const;
    // Whether the order ends with the first column, so that rows with distinct
    // first columns always come in one order.
    bool isOrderTotal() const;

    // The first column alone, with the statement's conditions, grouping and order.
    // Given `idIsKey` (whether a table's column id is its primary key), the LEFT JOINs
    // that cannot change it are left out: joins "ON alias.id = ..." to such a table
    // whose alias nothing else of the statement names.
    QString firstColumnSql(const std::function<bool(const QString& table)>& idIsKey = nullptr) const;

    // Every column of the rows whose first column is one of `ids` (a comma-separated
    // list of SQL literals), in no particular order.
    QString rowsOfIdsSql(const QString& ids) const;

private:
    bool split(const QString& sql);
    QString fromWithoutUnusedJoins(const std::function<bool(const QString& table)>& idIsKey) const;

    bool m_valid = false;
    QString m_columns;
    QString m_firstColumn;
    QString m_firstExpression;
    QString m_from;
    QString m_where;
    QString m_grouping;
    QString m_orderBy;
};
