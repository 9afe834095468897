#include "data/MRegisterData.h"

#include "data/MDocKinds.h"
#include "data/MSqlTransaction.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {

const char* const dayStart = " 00:00:00";
const char* const dayEnd = " 23:59:59";

// The rows of one document that is no correction.
QString plainRowsSql(const QString& n, const QString& v, const QString& b)
{
    return QStringLiteral(
               "SELECT v.name, v.kind, v.val, isv.%1, isv.%2, isv.%3 FROM invoice i "
               "LEFT JOIN invoice_summary_vat isv ON i.id = isv.id_invoice LEFT JOIN vat v ON isv.id_vat = v.id "
               "WHERE i.id = :id AND v.kind IN (0,1) AND i.id_currency = 0 "
               "AND (i.hide_vat = 0 OR (i.hide_vat = 1 AND i.invoice_kind IN (27))) AND i.is_cancelled = 0 ")
        .arg(n, v, b);
}

// The rows of a correction: its own rows and its parent's negated, summed per rate name.
QString correctionRowsSql(const QString& n, const QString& v, const QString& b)
{
    return QStringLiteral(
               "SELECT _t1_._c1_, _t1_._c2_, _t1_._c3_, SUM(_t1_._c4_), SUM(_t1_._c5_), SUM(_t1_._c6_) FROM ("
               "SELECT v.name AS _c1_, v.kind AS _c2_, v.val AS _c3_, isv.%1 AS _c4_, isv.%2 AS _c5_, isv.%3 AS _c6_ "
               "FROM invoice i LEFT JOIN invoice_summary_vat isv ON i.id = isv.id_invoice "
               "LEFT JOIN vat v ON isv.id_vat = v.id WHERE i.id = :id AND v.kind IN (0,1) AND i.id_currency = 0 "
               "AND (i.hide_vat = 0 OR (i.hide_vat = 1 AND i.invoice_kind IN (28))) AND i.is_cancelled = 0 "
               "UNION ALL "
               "SELECT v.name AS _c1_, v.kind AS _c2_, v.val AS _c3_, -isv.%1 AS _c4_, -isv.%2 AS _c5_, -isv.%3 AS _c6_ "
               "FROM invoice i LEFT JOIN invoice_summary_vat isv ON i.id = isv.id_invoice "
               "LEFT JOIN vat v ON isv.id_vat = v.id WHERE i.id = :id_parent AND v.kind IN (0,1) AND i.id_currency = 0 "
               "AND (i.hide_vat = 0 OR (i.hide_vat = 1 AND i.invoice_kind IN (27))) AND i.is_cancelled = 0"
               ") AS _t1_ GROUP BY _t1_._c1_")
        .arg(n, v, b);
}

struct RowQueries
{
    QSqlQuery plain;
    QSqlQuery correction;

    RowQueries(const QSqlDatabase& db, const QString& n, const QString& v, const QString& b)
        : plain(db), correction(db)
    {
        plain.prepare(plainRowsSql(n, v, b));
        correction.prepare(correctionRowsSql(n, v, b));
    }
};

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

        RowQueries whole(db, QStringLiteral("netto_price"), QStringLiteral("vat_price"),
                         QStringLiteral("brutto_price"));
        RowQueries part(db, QStringLiteral("netto_part_price"), QStringLiteral("vat_part_price"),
                        QStringLiteral("brutto_part_price"));

        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO __invoice_vat_summary (id, id_invoice, vat_text, vat_kind, vat_val, netto, vat, brutto) "
            "VALUES (:id, :id_invoice, :vat_text, :vat_kind, :vat_val, :netto, :vat, :brutto) "));

        while (documents.next()) {
            const int id = documents.value(0).toInt();
            const int idParent = documents.value(1).toInt();
            const int kind = documents.value(2).toInt();
            RowQueries& queries = MDocKinds::hasJoinedDocuments(kind) ? part : whole;
            QSqlQuery* rows = &queries.plain;
            if (MDocKinds::isSalesCorrection(kind)) {
                rows = &queries.correction;
                rows->bindValue(QStringLiteral(":id_parent"), idParent);
            }
            rows->bindValue(QStringLiteral(":id"), id);
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
