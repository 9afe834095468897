#include "MTestDatabase.h"

#include "data/MDataResources.h"
#include "data/MOptions.h"
#include "data/MRoundCents.h"
#include "data/MSqlitePolish.h"
#include "data/MSqlScriptRunner.h"
#include "data/MSqlValue.h"
#include "data/MSqliteHandle.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace {

const QString schemaScript = QStringLiteral(":/sql/invoice.sql");

// Each step gives an empty text when it succeeds, otherwise what failed.

QString connectDefault(const QString& path, const QString& connectOptions = QString())
{
    MTestDatabase::close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setConnectOptions(connectOptions);
    db.setDatabaseName(path);
    return db.open() ? QString() : db.lastError().text();
}

QString installFunctions()
{
    const QSqlDatabase db = QSqlDatabase::database();
    QString errorText;
    if (!MSqlitePolish::install(db, &errorText) || !MRoundCents::install(db, &errorText))
        return errorText;
    QSqlQuery collation(db);
    if (!collation.exec(QStringLiteral("SELECT icu_load_collation('pl_PL', 'POLISH')")))
        return collation.lastError().text();
    return QString();
}

// Version 0 runs the script as the database's own version row allows,
// another version runs the blocks up to it only.
QString runSchema(int version = 0)
{
    initDataResources();
    const MSqlScriptRunner::Result result =
        version == 0 ? MSqlScriptRunner::run(schemaScript, false)
                     : MSqlScriptRunner::run(schemaScript, false,
                                             {MSqlScriptRunner::programVersion, version, version});
    return result.ok() ? QString() : result.firstError;
}

// A default connection like the program's own, on a new file with the whole schema.
QString prepareDefault(const QString& path)
{
    QString errorText = connectDefault(path);
    if (errorText.isEmpty())
        errorText = installFunctions();
    if (errorText.isEmpty())
        errorText = runSchema();
    return errorText;
}

bool warnUnless(const QString& errorText, const char* step)
{
    if (errorText.isEmpty())
        return true;
    qWarning("%s: %s", step, qPrintable(errorText));
    return false;
}

} // namespace

MTestDatabase::MTestDatabase()
{
    m_errorText = prepareDefault(m_dir.filePath(QStringLiteral("Invoice.db3")));
    m_open = m_errorText.isEmpty();
}

MTestDatabase::~MTestDatabase()
{
    close();
}

bool MTestDatabase::isOpen() const
{
    return m_open;
}

QString MTestDatabase::errorText() const
{
    return m_errorText;
}

QString MTestDatabase::path(const QString& name) const
{
    return m_dir.filePath(name);
}

bool MTestDatabase::reopen()
{
    m_errorText = connectDefault(m_dir.filePath(QStringLiteral("Invoice.db3")));
    if (m_errorText.isEmpty())
        m_errorText = installFunctions();
    m_open = m_errorText.isEmpty();
    return m_open;
}

bool MTestDatabase::connect(const QString& path, const QString& connectOptions)
{
    return warnUnless(connectDefault(path, connectOptions), "connection");
}

bool MTestDatabase::connectWithOptions(const QString& path)
{
    if (!connect(path) || !exec(QStringLiteral("DROP TABLE IF EXISTS _options")) ||
        !exec(QStringLiteral("CREATE TABLE _options (id VARCHAR(255) PRIMARY KEY, content TEXT NOT NULL DEFAULT '')")))
        return false;
    MOptions::loadOptions();
    return true;
}

bool MTestDatabase::runSchemaScript()
{
    return warnUnless(runSchema(), "schema script");
}

bool MTestDatabase::prepare(const QString& path)
{
    return warnUnless(prepareDefault(path), "test database");
}

void MTestDatabase::close()
{
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

bool MTestDatabase::build(const QString& path, int upToVersion)
{
    // A database of the current program is made once per process and copied.
    static QTemporaryDir templateDir;
    const QString templatePath = templateDir.filePath(QStringLiteral("template.db3"));
    close();
    const bool copy = upToVersion == 0 && QFile::exists(templatePath);
    if (copy && !QFile::copy(templatePath, path))
        return false;
    if (!connect(path) || !MRoundCents::install(QSqlDatabase::database()))
        return false;
    if (copy)
        return true;
    if (!warnUnless(runSchema(upToVersion), "schema script"))
        return false;
    if (upToVersion == 0)
        QFile::copy(path, templatePath);
    return true;
}

bool MTestDatabase::create(const QString& path, int version)
{
    bool created = build(path, version);
    if (created) {
        QSqlQuery query;
        query.prepare(QStringLiteral("UPDATE _version SET num_major = :major, num_minor = :minor, "
                                     "check_num_major = :check_major, check_num_minor = :check_minor WHERE id = 1"));
        query.bindValue(QStringLiteral(":major"), version / 1000);
        query.bindValue(QStringLiteral(":minor"), version % 1000);
        query.bindValue(QStringLiteral(":check_major"), version / 1000);
        query.bindValue(QStringLiteral(":check_minor"), version % 1000);
        created = query.exec();
    }
    close();
    return created;
}

MSqlScriptRunner::Result MTestDatabase::upgrade()
{
    initDataResources();
    QSqlQuery query;
    query.exec(QStringLiteral("UPDATE _version SET num_major = 2, num_minor = 53, num_special = '', "
                              "check_num_major = 2, check_num_minor = 53 WHERE id = 1"));
    return MSqlScriptRunner::run(schemaScript, false);
}

qint64 MTestDatabase::insert(const QString& table, const QVariantMap& values)
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

    const QStringList names = row.keys();
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

bool MTestDatabase::exec(const QString& sql)
{
    QSqlQuery query;
    if (query.exec(sql))
        return true;
    qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return false;
}

QVariant MTestDatabase::value(const QString& sql)
{
    return sqlValue(sql);
}

QStringList MTestDatabase::rows(const QString& sql)
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

int MTestDatabase::count(const QString& table)
{
    return value(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}

bool MTestDatabase::failWritesAfter(const QString& event, const QString& table, int passing)
{
    return exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS test_writes_seen (event TEXT)"))
        && exec(QStringLiteral("CREATE TEMP TRIGGER test_fail_%1_%2 BEFORE %1 ON %2 BEGIN "
                               "SELECT RAISE(ABORT, 'write stopped by the test') WHERE (SELECT count(*) FROM "
                               "test_writes_seen WHERE event = '%1 %2') >= %3; "
                               "INSERT INTO test_writes_seen VALUES ('%1 %2'); END")
                    .arg(event, table)
                    .arg(passing));
}

void MTestDatabase::stopFailingWrites()
{
    const QStringList triggers = rows(QStringLiteral(
        "SELECT name FROM sqlite_temp_master WHERE type = 'trigger' AND name LIKE 'test_fail_%'"));
    for (const QString& trigger : triggers)
        exec(QStringLiteral("DROP TRIGGER temp.") + trigger);
    exec(QStringLiteral("DROP TABLE IF EXISTS temp.test_writes_seen"));
}

QStringList MTestDatabase::tableRows(const QStringList& tables)
{
    QStringList result;
    for (const QString& table : tables) {
        result << table + QLatin1Char(':');
        result << rows(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY rowid"));
    }
    return result;
}

QString MTestDatabase::storedOption(const QString& key)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT content FROM _options WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), key);
    if (!query.exec() || !query.next())
        return QStringLiteral("<absent>");
    return query.value(0).toString();
}

QString MTestDatabase::versionRow()
{
    QSqlQuery query(QStringLiteral("SELECT num_major, num_minor, check_num_major, check_num_minor FROM _version"));
    QStringList rows;
    while (query.next())
        rows.append(QStringLiteral("%1.%2/%3.%4")
                        .arg(query.value(0).toInt())
                        .arg(query.value(1).toInt())
                        .arg(query.value(2).toInt())
                        .arg(query.value(3).toInt()));
    return rows.join(QLatin1Char(';'));
}

QStringList MTestDatabase::unfinishedStatements()
{
    QStringList statements;
    sqlite3* db = MSqliteHandle::of(QSqlDatabase::database());
    for (sqlite3_stmt* statement = db ? sqlite3_next_stmt(db, nullptr) : nullptr; statement;
         statement = sqlite3_next_stmt(db, statement)) {
        if (sqlite3_stmt_busy(statement))
            statements << QString::fromUtf8(sqlite3_sql(statement));
    }
    return statements;
}
