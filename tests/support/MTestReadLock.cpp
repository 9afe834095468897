#include "MTestReadLock.h"

#include <QSqlDatabase>

namespace {

const QString connectionName = QStringLiteral("reader");

} // namespace

MTestReadLock::MTestReadLock(const QString& table)
{
    QSqlDatabase reader = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    reader.setDatabaseName(QSqlDatabase::database().databaseName());
    if (!reader.open())
        return;
    m_query = QSqlQuery(reader);
    m_held = m_query.exec(QStringLiteral("begin")) &&
             m_query.exec(QStringLiteral("SELECT count(*) FROM ") + table) && m_query.next();
}

MTestReadLock::~MTestReadLock()
{
    m_query = QSqlQuery();
    QSqlDatabase::database(connectionName, false).close();
    QSqlDatabase::removeDatabase(connectionName);
}

bool MTestReadLock::isHeld() const
{
    return m_held;
}

bool MTestReadLock::release()
{
    m_held = false;
    return m_query.exec(QStringLiteral("rollback"));
}

QVariant MTestReadLock::value(const QString& sql)
{
    if (!m_query.exec(sql) || !m_query.next())
        return QVariant();
    return m_query.value(0);
}
