#pragma once

#include <QString>

#include <functional>

class QSqlQuery;

// Writes that go in as a whole or not at all, on the default connection.
namespace MSqlTransaction {

// Runs `work` between begin and commit; `work` returns the database's reason of the
// first failure, or empty text when all its statements ran. On any failure the
// work's writes are undone and `errorText` (when given) receives the reason.
// Inside a transaction that is already open the work runs in a savepoint: a
// failure undoes only the work's own writes, and the open transaction stays
// open for its owner to commit or roll back.
bool run(const std::function<QString()>& work, QString* errorText = nullptr);

// Executes a prepared or plain query: empty text when it ran, else the reason.
QString exec(QSqlQuery& query);
QString exec(QSqlQuery& query, const QString& sql);

} // namespace MSqlTransaction
