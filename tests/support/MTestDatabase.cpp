#include "MTestDatabase.h"

#include "core/MSqlScriptRunner.h"
#include "core/MSqlitePolish.h"
#include "resources/MResources.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

bool prepareTestDatabase(const QSqlDatabase& db)
{
    QString errorText;
    if (!MSqlitePolish::install(db, &errorText)) {
        qWarning() << "Polish layer:" << errorText;
        return false;
    }
    QSqlQuery collation(db);
    if (!collation.exec(QStringLiteral("SELECT icu_load_collation('pl_PL', 'POLISH')"))) {
        qWarning() << "Collation:" << collation.lastError().text();
        return false;
    }

    initInvoiceResources();
    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false);
    if (!result.ok())
        qWarning() << "Schema script:" << result.firstError;
    return result.ok();
}
