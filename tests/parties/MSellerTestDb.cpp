#include "MSellerTestDb.h"

#include "core/MAppWnd.h"
#include "core/MSqlScriptRunner.h"
#include "core/MSqlitePolish.h"
#include "resources/MResources.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

MSellerTestDb::MSellerTestDb()
{
    initInvoiceResources();
}

MSellerTestDb::~MSellerTestDb()
{
    {
        QSqlDatabase db = QSqlDatabase::database(QSqlDatabase::defaultConnection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
}

bool MSellerTestDb::open()
{
    if (!m_dir.isValid() || !QDir().mkpath(m_dir.filePath(QStringLiteral("temp/template/logo")))) {
        m_errorText = QStringLiteral("no temporary folder");
        return false;
    }
    MAppWnd::pathTemp = m_dir.filePath(QStringLiteral("temp")) + QLatin1Char('/');
    if (!connect())
        return false;
    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false);
    if (!result.ok()) {
        m_errorText = result.firstError;
        return false;
    }
    MAppWnd::loadOptions();
    return true;
}

bool MSellerTestDb::reopen()
{
    {
        QSqlDatabase db = QSqlDatabase::database();
        db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    if (!connect())
        return false;
    MAppWnd::loadOptions();
    return true;
}

bool MSellerTestDb::connect()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path(QStringLiteral("Invoice.db3")));
    if (!db.open()) {
        m_errorText = QStringLiteral("cannot open the database");
        return false;
    }
    if (!MSqlitePolish::install(db, &m_errorText))
        return false;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT icu_load_collation('pl_PL', 'POLISH')"))) {
        m_errorText = QStringLiteral("no collation POLISH");
        return false;
    }
    return true;
}

QString MSellerTestDb::errorText() const
{
    return m_errorText;
}

QString MSellerTestDb::path(const QString& name) const
{
    return m_dir.filePath(name);
}

QString MSellerTestDb::value(const QString& sql)
{
    QSqlQuery query(sql);
    return query.next() ? query.value(0).toString() : QString();
}

int MSellerTestDb::count(const QString& sql)
{
    return value(sql).toInt();
}
