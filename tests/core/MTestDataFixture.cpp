#include "MTestDataFixture.h"

#include "core/MSqlScriptRunner.h"
#include "resources/MResources.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>

namespace {

const QString scriptPath = QStringLiteral(":/sql/invoice.sql");

} // namespace

bool MTestDataFixture::create(const QString& path, int upToVersion)
{
    initInvoiceResources();
    close();
    // A database of the current program is made once per process and copied.
    static QTemporaryDir templateDir;
    const QString templatePath = templateDir.filePath(QStringLiteral("template.db3"));
    const bool copy = upToVersion == 0 && QFile::exists(templatePath);
    if (copy && !QFile::copy(templatePath, path))
        return false;

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    if (!db.open())
        return false;
    if (copy)
        return true;

    MSqlScriptRunner::Versions versions;
    versions.program = upToVersion > 0 ? upToVersion : MSqlScriptRunner::programVersion;
    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(scriptPath, false, versions);
    if (!result.ok()) {
        qWarning("schema script: %s", qPrintable(result.firstError));
        return false;
    }
    if (upToVersion == 0)
        QFile::copy(path, templatePath);
    return true;
}

bool MTestDataFixture::upgrade()
{
    QSqlQuery query;
    query.exec(QStringLiteral("UPDATE _version SET num_major = 2, num_minor = 53, num_special = '', "
                              "check_num_major = 2, check_num_minor = 53 WHERE id = 1"));
    return MSqlScriptRunner::run(scriptPath, false).ok();
}

void MTestDataFixture::close()
{
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
        if (!db.isValid())
            return;
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

qint64 MTestDataFixture::insert(const QString& table, const QVariantMap& values)
{
    QVariantMap row = values;
    QSqlQuery info(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (info.next()) {
        const QString name = info.value(1).toString();
        const bool notNull = info.value(3).toInt() == 1;
        const bool noDefault = info.value(4).isNull();
        const bool key = info.value(5).toInt() > 0;
        if (notNull && noDefault && !key && !row.contains(name))
            row.insert(name, name.startsWith(QLatin1String("time_")) ? QStringLiteral("2024-01-15 12:00:00")
                                                                      : QStringLiteral("2024-01-15"));
    }

    QStringList names = row.keys();
    QStringList holders;
    for (const QString& name : names)
        holders << QLatin1Char(':') + name;
    QSqlQuery query;
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, names.join(QStringLiteral(", ")), holders.join(QStringLiteral(", "))));
    for (const QString& name : names)
        query.bindValue(QLatin1Char(':') + name, row.value(name));
    if (!query.exec())
        qFatal("insert into %s: %s", qPrintable(table), qPrintable(query.lastError().text()));
    return query.lastInsertId().toLongLong();
}

QVariant MTestDataFixture::value(const QString& sql)
{
    QSqlQuery query;
    if (!query.exec(sql) || !query.next())
        return QVariant();
    return query.value(0);
}

QStringList MTestDataFixture::rows(const QString& sql)
{
    QStringList result;
    QSqlQuery query;
    if (!query.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values << (query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
        result << values.join(QLatin1Char('|'));
    }
    return result;
}
