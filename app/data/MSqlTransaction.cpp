#include "MSqlTransaction.h"

#include "data/MSqliteHandle.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

namespace {

QString reasonOf(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("?") : text;
}

// SQLite itself knows whether a transaction is open; asking it beats trying a
// BEGIN and reading its refusal, which would also fail for other reasons.
bool isInTransaction(const QSqlDatabase& db)
{
    sqlite3* handle = MSqliteHandle::of(db);
    return handle && sqlite3_get_autocommit(handle) == 0;
}

QString runInTransaction(QSqlDatabase& db, const std::function<QString()>& work)
{
    if (!db.transaction())
        return reasonOf(db.lastError());
    QString error = work();
    if (error.isEmpty() && !db.commit())
        error = reasonOf(db.lastError());
    if (!error.isEmpty())
        db.rollback();
    return error;
}

// A savepoint's name only has to match its own release: nested ones may share it.
QString runInSavepoint(const QSqlDatabase& db, const std::function<QString()>& work)
{
    QSqlQuery query(db);
    QString error = MSqlTransaction::exec(query, QStringLiteral("SAVEPOINT msql_work"));
    if (!error.isEmpty())
        return error;
    error = work();
    if (!error.isEmpty())
        query.exec(QStringLiteral("ROLLBACK TO msql_work"));
    const QString released = MSqlTransaction::exec(query, QStringLiteral("RELEASE msql_work"));
    return error.isEmpty() ? released : error;
}

} // namespace

bool MSqlTransaction::run(const std::function<QString()>& work, QString* errorText)
{
    QSqlDatabase db = QSqlDatabase::database();
    const QString error = isInTransaction(db) ? runInSavepoint(db, work) : runInTransaction(db, work);
    if (errorText)
        *errorText = error;
    return error.isEmpty();
}

QString MSqlTransaction::exec(QSqlQuery& query)
{
    return query.exec() ? QString() : reasonOf(query.lastError());
}

QString MSqlTransaction::exec(QSqlQuery& query, const QString& sql)
{
    return query.exec(sql) ? QString() : reasonOf(query.lastError());
}
