#include "MDocumentDelete.h"

#include "data/MSqlTransaction.h"

#include <QSqlQuery>
#include <QVariant>
#include <QStringList>

namespace {

bool hasRow(const QString& sql, int id)
{
    QSqlQuery query;
    query.prepare(sql);
    query.bindValue(QStringLiteral(":id"), id);
    // A failed look-up keeps the document rather than risk an orphan.
    return !query.exec() || query.next();
}

} // namespace

bool MDocumentDelete::isReferenced(int id)
{
    return hasRow(QStringLiteral("SELECT 1 FROM invoice WHERE id_parent_invoice = :id LIMIT 1"), id)
        || hasRow(QStringLiteral("SELECT 1 FROM invoice_join WHERE id_invoice_join = :id LIMIT 1"), id);
}

bool MDocumentDelete::remove(int id, QString* errorText)
{
    static const QStringList statements = {
        QStringLiteral("DELETE FROM invoice WHERE id = :id"),
        QStringLiteral("DELETE FROM invoice_correct_misc WHERE id_invoice = :id"),
        QStringLiteral("DELETE FROM invoice_product_misc WHERE id_invoice = :id"),
        QStringLiteral("DELETE FROM invoice_join WHERE id_invoice = :id"),
        QStringLiteral("DELETE FROM invoice_summary_vat WHERE id_invoice = :id"),
    };
    return MSqlTransaction::run(
        [id]() {
            for (const QString& sql : statements) {
                QSqlQuery query;
                query.prepare(sql);
                query.bindValue(QStringLiteral(":id"), id);
                const QString error = MSqlTransaction::exec(query);
                if (!error.isEmpty())
                    return error;
            }
            return QString();
        },
        errorText);
}
