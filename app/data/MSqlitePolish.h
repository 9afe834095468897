#pragma once

#include <QString>

class QSqlDatabase;

// The Polish-language layer of an SQLite connection. Debian's SQLite is built
// without its ICU extension, so this installs the same SQL functions on our
// own, backed by ICU:
//   icu_load_collation(locale, name)  registers an ICU collation under `name`
//                                     ("SELECT icu_load_collation('pl_PL', 'POLISH')");
//   lower(X), lower(X, locale),
//   upper(X), upper(X, locale)        full Unicode case mapping;
//   X LIKE Y [ESCAPE Z]               case-insensitive for every Unicode letter
//                                     (simple case folding), '%', '_' and an escape.
// Call install() once on every connection, right after it is opened and before
// any statement uses the collation or the functions.
class MSqlitePolish
{
public:
    // The clause that sorts and compares a text column the Polish way: "COLLATE POLISH".
    static const QString sqlCollate;

    // False, with the reason in `errorText` when given, if `db` is not an open
    // connection of Qt's SQLite driver or a function could not be registered.
    static bool install(const QSqlDatabase& db, QString* errorText = nullptr);
};
