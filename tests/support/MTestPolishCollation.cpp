#include "MTestPolishCollation.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>
#include <unicode/ucol.h>

namespace {

int comparePolish(void* collator, int leftBytes, const void* left, int rightBytes, const void* right)
{
    return ucol_strcoll(static_cast<const UCollator*>(collator), static_cast<const UChar*>(left),
                        leftBytes / 2, static_cast<const UChar*>(right), rightBytes / 2);
}

void closeCollator(void* collator)
{
    ucol_close(static_cast<UCollator*>(collator));
}

} // namespace

bool registerTestPolishCollation(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.data());
    if (!connection)
        return false;

    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("pl_PL", &status);
    if (U_FAILURE(status))
        return false;
    return sqlite3_create_collation_v2(connection, "POLISH", SQLITE_UTF16, collator, comparePolish, closeCollator)
        == SQLITE_OK;
}
