#include "data/MRegisterData.h"

#include "data/MSqlTransaction.h"
#include "data/MVatRateRows.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {

const char* const dayStart = " 00:00:00";
const char* const dayEnd = " 23:59:59";

// The sellers as they go into the document query: the valid ids joined with ",",
// "0" when there are none, so that a stored list can never change the statement.
QString sellerList(const QStringList& sellerIds)
{
    QStringList ids;
    for (const QString& text : sellerIds) {
        bool ok = false;
        const qlonglong id = text.trimmed().toLongLong(&ok);
        if (ok)
            ids << QString::number(id);
    }
    return ids.isEmpty() ? QStringLiteral("0") : ids.join(QLatin1Char(','));
}

} // namespace

int MRegisterData::build(const QDate& from, const QDate& to, const QStringList& sellerIds)
{
    QSqlDatabase db = QSqlDatabase::database();
    const QString fromText = from.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1String(dayStart);
    const QString toText = to.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1String(dayEnd);

    int runId = 0;
    const bool built = MSqlTransaction::run([&] {
        QSqlQuery run(db);
        QString error =
            MSqlTransaction::exec(run, QStringLiteral("INSERT INTO __invoice_vat_summary_id (id) VALUES (null)"));
        if (!error.isEmpty())
            return error;
        runId = run.lastInsertId().toInt();

        QSqlQuery documents(db);
        documents.prepare(QStringLiteral(
            "SELECT i.id, i.id_parent_invoice, i.invoice_kind, i.count_from_netto FROM invoice i "
            "WHERE i.id_seller_base IN (%1) AND i.date_put >= :from AND i.date_put <= :to "
            "AND i.invoice_kind IN (0,2,3,4,19,20,23,24,27,28) AND is_cancelled = 0 ")
                              .arg(sellerList(sellerIds)));
        documents.bindValue(QStringLiteral(":from"), fromText);
        documents.bindValue(QStringLiteral(":to"), toText);
        documents.setForwardOnly(true);
        error = MSqlTransaction::exec(documents);
        if (!error.isEmpty())
            return error;

        MVatRateRows rateRows(MVatRateRows::Scope::Register);

        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO __invoice_vat_summary (id, id_invoice, vat_text, vat_kind, vat_val, netto, vat, brutto) "
            "VALUES (:id, :id_invoice, :vat_text, :vat_kind, :vat_val, :netto, :vat, :brutto) "));

        while (documents.next()) {
            const int id = documents.value(0).toInt();
            const int idParent = documents.value(1).toInt();
            const int kind = documents.value(2).toInt();
            QSqlQuery* rows = &rateRows.rows(id, kind, idParent);
            error = MSqlTransaction::exec(*rows);
            while (error.isEmpty() && rows->next()) {
                insert.bindValue(QStringLiteral(":id"), runId);
                insert.bindValue(QStringLiteral(":id_invoice"), id);
                insert.bindValue(QStringLiteral(":vat_text"), rows->value(0));
                insert.bindValue(QStringLiteral(":vat_kind"), rows->value(1));
                insert.bindValue(QStringLiteral(":vat_val"), rows->value(2));
                insert.bindValue(QStringLiteral(":netto"), rows->value(3));
                insert.bindValue(QStringLiteral(":vat"), rows->value(4));
                insert.bindValue(QStringLiteral(":brutto"), rows->value(5));
                error = MSqlTransaction::exec(insert);
            }
            rows->finish();
            if (!error.isEmpty())
                return error;
        }
        return QString();
    });
    return built ? runId : 0;
}
