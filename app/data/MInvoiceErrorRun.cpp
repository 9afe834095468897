#include "MInvoiceErrorRun.h"

#include "data/MDocumentActions.h"
#include "data/MSqlTransaction.h"

#include <QSqlQuery>
#include <QVariant>

int MInvoiceErrorRun::store(const QMap<int, QString>& findings, QString* errorText)
{
    if (errorText)
        errorText->clear();
    bool any = false;
    for (const QString& reason : findings)
        any = any || !reason.isEmpty();
    if (!any)
        return 0;

    int runId = 0;
    const bool written = MSqlTransaction::run(
        [&]() {
            QSqlQuery run;
            QString error = MSqlTransaction::exec(run, QStringLiteral("INSERT INTO __invoice_error_id (id) VALUES (null)"));
            if (!error.isEmpty())
                return error;
            runId = run.lastInsertId().toInt();
            for (auto it = findings.cbegin(); it != findings.cend(); ++it) {
                if (it.value().isEmpty())
                    continue;
                QSqlQuery row;
                row.prepare(QStringLiteral("INSERT INTO __invoice_error (id, id_invoice, invoice_index_string, "
                                           "error_content) VALUES (:id, :id_invoice, :invoice_index_string, "
                                           ":error_content)"));
                row.bindValue(QStringLiteral(":id"), runId);
                row.bindValue(QStringLiteral(":id_invoice"), it.key());
                row.bindValue(QStringLiteral(":invoice_index_string"), MDocumentActions::numberText(it.key()));
                row.bindValue(QStringLiteral(":error_content"), it.value());
                error = MSqlTransaction::exec(row);
                if (!error.isEmpty())
                    return error;
            }
            return QString();
        },
        errorText);
    return written ? runId : 0;
}
