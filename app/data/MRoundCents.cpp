#include "data/MRoundCents.h"

#include "data/MSqliteHandle.h"

#include <sqlite3.h>

#include <cmath>

namespace {

// round(V, 2) prints |V| to two decimals, half up, after nudging it up by at
// most |V| * 3e-16, and reads "d.dd" back as the double nearest to the cents
// over 100, which is what the division below gives too. Away from a narrow
// band around each half cent (wide enough for the nudge, and far wider than
// the error of long double arithmetic on amounts under a million) the cents
// are therefore floor(|V| * 100 + 0.5). Values in the band, larger amounts,
// infinities and NaN go to the built-in round itself.
constexpr long double directLimit = 1e6L;
constexpr long double margin = 1e-9L; // in cents

void roundByBuiltIn(sqlite3_context* context, double value)
{
    sqlite3* db = sqlite3_context_db_handle(context);
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT round(?1, 2)", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_double(statement, 1, value);
        rc = sqlite3_step(statement);
    }
    if (rc == SQLITE_ROW)
        sqlite3_result_value(context, sqlite3_column_value(statement, 0));
    else
        sqlite3_result_error(context, sqlite3_errmsg(db), -1);
    sqlite3_finalize(statement);
}

void roundCents(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(context);
    const double value = sqlite3_value_double(argv[0]) + 0.0000000001;
    const long double magnitude = std::fabs(static_cast<long double>(value));
    if (magnitude < directLimit) {
        const long double cents = magnitude * 100 + 0.5L;
        const long double whole = std::floor(cents);
        const long double fraction = cents - whole;
        if (fraction > margin && fraction < 1 - margin - magnitude * 3e-14L) {
            const double rounded = static_cast<double>(whole) / 100;
            return sqlite3_result_double(context, std::signbit(value) ? -rounded : rounded);
        }
    }
    roundByBuiltIn(context, value);
}

} // namespace

bool MRoundCents::install(const QSqlDatabase& db, QString* errorText)
{
    sqlite3* handle = MSqliteHandle::of(db);
    const int rc = handle ? sqlite3_create_function_v2(handle, "round_cents", 1,
                                                       SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, roundCents,
                                                       nullptr, nullptr, nullptr)
                          : SQLITE_MISUSE;
    if (rc == SQLITE_OK)
        return true;
    if (errorText)
        *errorText = handle ? QStringLiteral("round_cents/1: ") + QString::fromUtf8(sqlite3_errmsg(handle))
                            : QStringLiteral("not an open SQLite connection");
    return false;
}
