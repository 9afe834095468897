#include "MInvoiceDuplicate.h"

#include "data/MDocumentActions.h"
#include "data/MSqlTransaction.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

} // namespace

bool MInvoiceDuplicate::load(int id, MInvoiceDuplicate* duplicate)
{
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT invoice_kind, strftime('%Y-%m-%d', date_put), additional FROM invoice "
                                 "WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (!query.exec() || !query.next())
        return false;
    duplicate->kind = query.value(0).toInt();
    duplicate->datePut = QDate::fromString(query.value(1).toString(), QStringLiteral("yyyy-MM-dd"));
    duplicate->remark = query.value(2).toString();
    return true;
}

MInvoiceDuplicate::Result MInvoiceDuplicate::insert(int idParent, const QDate& datePut, const QString& remark)
{
    Result result;
    int insertedId = 0;
    // The parent is read inside the transaction, so that it cannot go between the check
    // and the write.
    const bool written = MSqlTransaction::run(
        [&]() {
            int parentKind = -1;
            const int kind = MDocumentActions::readKind(idParent, &parentKind)
                                 ? MDocumentActions::duplicateKind(parentKind)
                                 : -1;
            result.kind = kind;
            if (kind < 0) {
                result.refused = true;
                return QStringLiteral("refused");
            }
            QSqlQuery query;
            query.prepare(QStringLiteral(
                "INSERT INTO invoice (id_parent_invoice, date_put, date_sell, date_pay, invoice_kind, additional, "
                "time_create, time_modify) VALUES (:id_parent_invoice, :date_put, :date_sell, :date_pay, "
                ":invoice_kind, :additional, current_timestamp, current_timestamp)"));
            query.bindValue(QStringLiteral(":id_parent_invoice"), idParent);
            query.bindValue(QStringLiteral(":date_put"), dateText(datePut));
            query.bindValue(QStringLiteral(":date_sell"), QStringLiteral("0000-00-00 00:00:00"));
            query.bindValue(QStringLiteral(":date_pay"), QStringLiteral("0000-00-00 00:00:00"));
            query.bindValue(QStringLiteral(":invoice_kind"), kind);
            query.bindValue(QStringLiteral(":additional"), remark);
            const QString error = MSqlTransaction::exec(query);
            if (error.isEmpty())
                insertedId = query.lastInsertId().toInt();
            return error;
        },
        &result.errorText);
    if (written)
        result.id = insertedId;
    else if (result.refused)
        result.errorText.clear();
    return result;
}

MInvoiceDuplicate::Result MInvoiceDuplicate::update(int id, int kind, const QDate& datePut, const QString& remark)
{
    Result result;
    const bool written = MSqlTransaction::run(
        [&]() {
            QSqlQuery query;
            query.prepare(QStringLiteral("UPDATE invoice SET date_put = :date_put, invoice_kind = :invoice_kind, "
                                         "additional = :additional, time_modify = current_timestamp WHERE id = :id"));
            query.bindValue(QStringLiteral(":id"), id);
            query.bindValue(QStringLiteral(":date_put"), dateText(datePut));
            query.bindValue(QStringLiteral(":invoice_kind"), kind);
            query.bindValue(QStringLiteral(":additional"), remark);
            const QString error = MSqlTransaction::exec(query);
            if (error.isEmpty() && query.numRowsAffected() != 1)
                return tr("Dokument nie istnieje już w bazie danych.");
            return error;
        },
        &result.errorText);
    if (written) {
        result.id = id;
        result.kind = kind;
    }
    return result;
}

int MInvoiceDuplicate::listKind(int kind)
{
    return kind == 13 || kind == 14 ? 8 : 7;
}
