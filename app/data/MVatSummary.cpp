#include "data/MVatSummary.h"

#include "data/MDocKinds.h"
#include "data/MSqlTransaction.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QString plainRowsSql(int id, const QString& n, const QString& v, const QString& b)
{
    return QStringLiteral("SELECT v.name, v.kind, v.val, isv.%1, isv.%2, isv.%3 FROM invoice i "
                          "LEFT JOIN invoice_summary_vat isv ON i.id = isv.id_invoice "
                          "LEFT JOIN vat v ON isv.id_vat = v.id WHERE i.id = %4 AND i.id_currency = 0 ")
        .arg(n, v, b)
        .arg(id);
}

// The correction's rows and its parent's negated, summed per rate name.
QString correctionRowsSql(int id, int idParent, const QString& n, const QString& v, const QString& b)
{
    return QStringLiteral(
               "SELECT _t1_._c1_, _t1_._c2_, _t1_._c3_, SUM(_t1_._c4_), SUM(_t1_._c5_), SUM(_t1_._c6_) FROM ("
               "SELECT v.name AS _c1_, v.kind AS _c2_, v.val AS _c3_, isv.%1 AS _c4_, isv.%2 AS _c5_, "
               "isv.%3 AS _c6_ FROM invoice i LEFT JOIN invoice_summary_vat isv ON i.id = isv.id_invoice "
               "LEFT JOIN vat v ON isv.id_vat = v.id WHERE i.id = %4 AND i.id_currency = 0 UNION ALL "
               "SELECT v.name AS _c1_, v.kind AS _c2_, v.val AS _c3_, -isv.%1 AS _c4_, -isv.%2 AS _c5_, "
               "-isv.%3 AS _c6_ FROM invoice i LEFT JOIN invoice_summary_vat isv ON i.id = isv.id_invoice "
               "LEFT JOIN vat v ON isv.id_vat = v.id WHERE i.id = %5 AND i.id_currency = 0) AS _t1_ "
               "GROUP BY _t1_._c1_")
        .arg(n, v, b)
        .arg(id)
        .arg(idParent);
}

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

    const QString zero = QStringLiteral("0");
    const QString noName = QStringLiteral("");
    while (documents.next()) {
        const int id = documents.value(0).toInt();
        const int kind = documents.value(2).toInt();
        const bool part = MDocKinds::hasJoinedDocuments(kind);
        const QString n = part ? QStringLiteral("netto_part_price") : QStringLiteral("netto_price");
        const QString v = part ? QStringLiteral("vat_part_price") : QStringLiteral("vat_price");
        const QString b = part ? QStringLiteral("brutto_part_price") : QStringLiteral("brutto_price");
        QSqlQuery rows(db);
        rows.setForwardOnly(true);
        rows.exec(MDocKinds::isSalesCorrection(kind) ? correctionRowsSql(id, documents.value(1).toInt(), n, v, b)
                                         : plainRowsSql(id, n, v, b));
        while (rows.next()) {
            // A document without summary rows yields one row without amounts: nothing to keep.
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
