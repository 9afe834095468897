#include "MTestDatabase.h"

#include "core/MDbOpener.h"
#include "core/MSqlScriptRunner.h"
#include "views/MSqlValue.h"

#include <QSqlDatabase>
#include <QSqlQuery>

bool MTestDatabase::open(const QString& path)
{
    return MDbOpener::createConnection(path);
}

void MTestDatabase::close()
{
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

bool MTestDatabase::create(const QString& path, int version)
{
    if (!open(path))
        return false;
    const MSqlScriptRunner::Versions versions { MSqlScriptRunner::programVersion, version, version };
    bool created = MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false, versions).ok();
    QSqlQuery query;
    query.prepare(QStringLiteral("UPDATE _version SET num_major = :major, num_minor = :minor, "
                                 "check_num_major = :check_major, check_num_minor = :check_minor WHERE id = 1"));
    query.bindValue(QStringLiteral(":major"), version / 1000);
    query.bindValue(QStringLiteral(":minor"), version % 1000);
    query.bindValue(QStringLiteral(":check_major"), version / 1000);
    query.bindValue(QStringLiteral(":check_minor"), version % 1000);
    created = created && query.exec();
    query.finish();
    close();
    return created;
}

bool MTestDatabase::openNew(const QString& path)
{
    return open(path) && MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false).ok();
}

QVariant MTestDatabase::value(const QString& sql)
{
    return sqlValue(sql);
}

int MTestDatabase::count(const QString& table)
{
    return sqlValue(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}
