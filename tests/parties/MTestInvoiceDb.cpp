#include "MTestInvoiceDb.h"

#include "core/MSqlScriptRunner.h"
#include "core/MSqlitePolish.h"
#include "resources/MResources.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtTest>

MTestInvoiceDb::MTestInvoiceDb()
{
    initInvoiceResources();
    if (!connect())
        return;
    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false);
    if (!result.ok()) {
        m_errorText = result.firstError;
        return;
    }
    m_open = true;
}

MTestInvoiceDb::~MTestInvoiceDb()
{
    {
        QSqlDatabase db = QSqlDatabase::database();
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

bool MTestInvoiceDb::connect()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(m_dir.filePath(QStringLiteral("Invoice.db3")));
    if (!db.open()) {
        m_errorText = db.lastError().text();
        return false;
    }
    if (!MSqlitePolish::install(db, &m_errorText))
        return false;
    QSqlQuery collation;
    if (!collation.exec(QStringLiteral("SELECT icu_load_collation('pl_PL', 'POLISH')"))) {
        m_errorText = collation.lastError().text();
        return false;
    }
    return true;
}

bool MTestInvoiceDb::reopen()
{
    {
        QSqlDatabase db = QSqlDatabase::database();
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    m_open = connect();
    return m_open;
}

QString MTestInvoiceDb::path(const QString& name) const
{
    return m_dir.filePath(name);
}

bool MTestInvoiceDb::isOpen() const
{
    return m_open;
}

QString MTestInvoiceDb::errorText() const
{
    return m_errorText;
}

QVariant MTestInvoiceDb::value(const QString& sql)
{
    QSqlQuery query;
    if (query.exec(sql) && query.next())
        return query.value(0);
    return QVariant();
}

int MTestInvoiceDb::count(const QString& table)
{
    return value(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
}

bool MTestInvoiceDb::exec(const QString& sql)
{
    QSqlQuery query;
    if (query.exec(sql))
        return true;
    qWarning("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return false;
}
