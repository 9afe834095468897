#pragma once

#include <QString>

class QSqlDatabase;

// The SQL function round_cents(X): exactly what SQLite's
// round(X + 0.0000000001, 2) gives, to the last bit of the double, several
// times faster. The built-in round prints its argument as decimal text and
// reads the text back, which is most of the cost of recomputing every amount
// of a large database. round_cents(NULL) is NULL.
class MRoundCents
{
public:
    // Registers round_cents(X) on `db`. False, with the reason in `errorText`
    // when given, if `db` is not an open connection of Qt's SQLite driver.
    static bool install(const QSqlDatabase& db, QString* errorText = nullptr);
};
