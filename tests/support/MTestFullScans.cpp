#include "MTestFullScans.h"

#include "data/MSqliteHandle.h"

#include <QSqlDatabase>

#include <sqlite3.h>

MTestFullScans::MTestFullScans(int limit)
    : m_limit(limit)
    , m_db(MSqliteHandle::of(QSqlDatabase::database()))
{
    sqlite3_trace_v2(m_db, SQLITE_TRACE_PROFILE, &MTestFullScans::profiled, this);
}

MTestFullScans::~MTestFullScans()
{
    sqlite3_trace_v2(m_db, 0, nullptr, nullptr);
}

int MTestFullScans::profiled(unsigned, void* context, void* statement, void*)
{
    auto* self = static_cast<MTestFullScans*>(context);
    auto* stmt = static_cast<sqlite3_stmt*>(statement);
    const int steps = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_FULLSCAN_STEP, 1);
    if (steps > self->m_limit)
        self->m_found << QString::number(steps) + QStringLiteral(" rows: ")
                             + QString::fromUtf8(sqlite3_sql(stmt)).simplified();
    return 0;
}
