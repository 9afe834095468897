#pragma once

struct sqlite3;
class QSqlDatabase;

// The sqlite3 connection behind a QSqlDatabase of Qt's SQLite driver, for
// registering our own SQL functions and collations on it.
class MSqliteHandle
{
public:
    // nullptr unless `db` is an open connection of Qt's SQLite driver.
    static sqlite3* of(const QSqlDatabase& db);
};
