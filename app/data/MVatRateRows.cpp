#include "data/MVatRateRows.h"

#include "data/MDocKinds.h"

#include <QSqlDatabase>
#include <QVariant>

namespace {

struct Columns
{
    const char* net;
    const char* vat;
    const char* gross;
};

const Columns wholeColumns{"netto_price", "vat_price", "brutto_price"};
const Columns partColumns{"netto_part_price", "vat_part_price", "brutto_part_price"};

// The rows of one document bound as `idName`; `sign` is "" or "-". Under the
// register's scope a document with hidden VAT counts only when its kind is
// `hiddenVatKind`.
QString documentRows(MVatRateRows::Scope scope, const Columns& columns, const char* sign, const char* idName,
                     int hiddenVatKind)
{
    QString sql = QStringLiteral("SELECT v.name AS _c1_, v.kind AS _c2_, v.val AS _c3_, %1isv.%2 AS _c4_, "
                                 "%1isv.%3 AS _c5_, %1isv.%4 AS _c6_ FROM invoice i "
                                 "JOIN invoice_summary_vat isv ON i.id = isv.id_invoice "
                                 "LEFT JOIN vat v ON isv.id_vat = v.id WHERE i.id = %5 AND i.id_currency = 0")
                      .arg(QLatin1String(sign), QLatin1String(columns.net), QLatin1String(columns.vat),
                           QLatin1String(columns.gross), QLatin1String(idName));
    if (scope == MVatRateRows::Scope::Register) {
        sql += QStringLiteral(" AND v.kind IN (0,1) AND (i.hide_vat = 0 OR (i.hide_vat = 1 AND i.invoice_kind IN (%1))) "
                              "AND i.is_cancelled = 0")
                   .arg(hiddenVatKind);
    }
    return sql;
}

QString plainRows(MVatRateRows::Scope scope, const Columns& columns)
{
    return documentRows(scope, columns, "", ":id", 27);
}

QString correctionRows(MVatRateRows::Scope scope, const Columns& columns)
{
    return QStringLiteral("SELECT _t1_._c1_, _t1_._c2_, _t1_._c3_, SUM(_t1_._c4_), SUM(_t1_._c5_), SUM(_t1_._c6_) "
                          "FROM (")
           + documentRows(scope, columns, "", ":id", 28) + QStringLiteral(" UNION ALL ")
           + documentRows(scope, columns, "-", ":id_parent", 27) + QStringLiteral(") AS _t1_ GROUP BY _t1_._c1_");
}

} // namespace

MVatRateRows::MVatRateRows(Scope scope)
{
    const QSqlDatabase db = QSqlDatabase::database();
    m_whole = QSqlQuery(db);
    m_wholeCorrection = QSqlQuery(db);
    m_part = QSqlQuery(db);
    m_partCorrection = QSqlQuery(db);
    for (QSqlQuery* query : {&m_whole, &m_wholeCorrection, &m_part, &m_partCorrection})
        query->setForwardOnly(true);
    m_whole.prepare(plainRows(scope, wholeColumns));
    m_wholeCorrection.prepare(correctionRows(scope, wholeColumns));
    m_part.prepare(plainRows(scope, partColumns));
    m_partCorrection.prepare(correctionRows(scope, partColumns));
}

QSqlQuery& MVatRateRows::rows(int id, int kind, int idParent)
{
    const bool part = MDocKinds::hasJoinedDocuments(kind);
    if (MDocKinds::isSalesCorrection(kind)) {
        QSqlQuery& query = part ? m_partCorrection : m_wholeCorrection;
        query.bindValue(QStringLiteral(":id"), id);
        query.bindValue(QStringLiteral(":id_parent"), idParent);
        return query;
    }
    QSqlQuery& query = part ? m_part : m_whole;
    query.bindValue(QStringLiteral(":id"), id);
    return query;
}
