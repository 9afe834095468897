#include "data/MVatSummary.h"

#include "data/MDocKinds.h"
#include "data/MSqlTransaction.h"
#include "data/MVatRateRows.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// A value as the text it is stored from; a missing rate stands as `empty`.
QString boundText(const QVariant& value, const QString& empty)
{
    return value.isNull() ? empty : value.toString();
}

} // namespace

int MVatSummary::build(const QList<int>& ids)
{
    if (ids.isEmpty())
        return 0;
    QSqlDatabase db = QSqlDatabase::database();
    QSqlQuery query(db);
    query.exec(QStringLiteral("begin"));
    if (!query.exec(QStringLiteral("INSERT INTO __invoice_vat_summary_id (id) VALUES (null)"))) {
        query.exec(QStringLiteral("rollback"));
        return 0;
    }
    const int runId = query.lastInsertId().toInt();

    QStringList idTexts;
    for (int id : ids)
        idTexts << QString::number(id);
    QSqlQuery documents(db);
    documents.setForwardOnly(true);
    documents.exec(QStringLiteral("SELECT id, id_parent_invoice, invoice_kind FROM invoice WHERE id IN (%1)")
                       .arg(idTexts.join(QLatin1Char(','))));

    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "INSERT INTO __invoice_vat_summary (id, id_invoice, vat_text, vat_kind, vat_val, netto, vat, brutto) "
        "VALUES (:id, :id_invoice, :vat_text, :vat_kind, :vat_val, :netto, :vat, :brutto) "));

    MVatRateRows rateRows(MVatRateRows::Scope::AllRates);
    const QString zero = QStringLiteral("0");
    const QString noName = QStringLiteral("");
    while (documents.next()) {
        const int id = documents.value(0).toInt();
        const int kind = documents.value(2).toInt();
        QSqlQuery& rows = rateRows.rows(id, kind, documents.value(1).toInt());
        rows.exec();
        while (rows.next()) {
            // A summary row without amounts has nothing to keep.
            if (rows.value(3).isNull() && rows.value(4).isNull() && rows.value(5).isNull())
                continue;
            insert.bindValue(QStringLiteral(":id"), QString::number(runId));
            insert.bindValue(QStringLiteral(":id_invoice"), QString::number(id));
            insert.bindValue(QStringLiteral(":vat_text"), boundText(rows.value(0), noName));
            insert.bindValue(QStringLiteral(":vat_kind"), boundText(rows.value(1), zero));
            insert.bindValue(QStringLiteral(":vat_val"), boundText(rows.value(2), zero));
            insert.bindValue(QStringLiteral(":netto"), boundText(rows.value(3), zero));
            insert.bindValue(QStringLiteral(":vat"), boundText(rows.value(4), zero));
            insert.bindValue(QStringLiteral(":brutto"), boundText(rows.value(5), zero));
            insert.exec();
        }
        rows.finish();
    }
    query.exec(QStringLiteral("commit"));
    return runId;
}

void MVatSummary::drop(int runId)
{
    if (runId < 1)
        return;
    MSqlTransaction::run([runId] {
        QSqlQuery query;
        for (const char* table : {"__invoice_vat_summary", "__invoice_vat_summary_id"}) {
            query.prepare(QStringLiteral("DELETE FROM ") + QLatin1String(table) + QStringLiteral(" WHERE id = :id"));
            query.bindValue(QStringLiteral(":id"), runId);
            const QString failure = MSqlTransaction::exec(query);
            if (!failure.isEmpty())
                return failure;
        }
        return QString();
    });
}
