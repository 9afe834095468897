#include "MSqlTransaction.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QString reasonOf(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("?") : text;
}

} // namespace

bool MSqlTransaction::run(const std::function<QString()>& work, QString* errorText)
{
    QSqlDatabase db = QSqlDatabase::database();
    QString error;
    if (!db.transaction()) {
        error = reasonOf(db.lastError());
    } else {
        error = work();
        if (error.isEmpty() && !db.commit())
            error = reasonOf(db.lastError());
        if (!error.isEmpty())
            db.rollback();
    }
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
