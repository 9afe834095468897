#include "core/MRecompute.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// The statements below are set-based: each one computes its values in a
// subquery and writes them with UPDATE ... FROM or INSERT ... SELECT, so the
// whole database is recomputed in a few passes instead of one statement per
// line and document.
//
// Stored amounts have NUMERIC affinity, so 10.00 comes back as the integer
// 10, and the rating's unit amount is an INTEGER column: (amount * price *
// value) / units would then divide integers (100 JPY = 4 PLN on a 10.00 line
// would give 0). The currency value is therefore made REAL before it takes
// part in any conversion, and the advance part ratio divides a REAL.

// {scope} is replaced by a condition on the line alias pm (or empty).
const char* const lineValuesSql = R"SQL(
UPDATE invoice_product_misc AS target SET
    netto_price = computed.netto, brutto_price = computed.brutto, vat_price = computed.vat,
    netto_rating_price = computed.netto_rating, brutto_rating_price = computed.brutto_rating,
    vat_rating_price = computed.vat_rating
FROM (
    SELECT id,
        IFNULL(netto, 0) AS netto,
        IFNULL(brutto, 0) AS brutto,
        IFNULL(CASE WHEN is_margin THEN margin_vat ELSE brutto - netto END, 0) AS vat,
        IFNULL(netto_rating, 0) AS netto_rating,
        IFNULL(brutto_rating, 0) AS brutto_rating,
        IFNULL(CASE WHEN is_margin THEN margin_vat_rating ELSE brutto_rating - netto_rating END, 0) AS vat_rating
    FROM (
        SELECT id, is_margin,
            CASE WHEN from_netto THEN basis
                 ELSE round(basis * 100.0 / (100.0 + rate) + 0.0000000001, 2) END AS netto,
            CASE WHEN from_netto THEN round(basis * (100.0 + rate) * 0.01 + 0.0000000001, 2)
                 ELSE basis END AS brutto,
            CASE WHEN from_netto THEN basis_rating
                 ELSE round(basis_rating * 100.0 / (100.0 + rate) + 0.0000000001, 2) END AS netto_rating,
            CASE WHEN from_netto THEN round(basis_rating * (100.0 + rate) * 0.01 + 0.0000000001, 2)
                 ELSE basis_rating END AS brutto_rating,
            margin_brutto - round(margin_brutto * 100.0 / (100.0 + rate) + 0.0000000001, 2) AS margin_vat,
            margin_brutto_rating - round(margin_brutto_rating * 100.0 / (100.0 + rate) + 0.0000000001, 2)
                AS margin_vat_rating
        FROM (
            SELECT id, rate, from_netto, is_margin,
                CASE WHEN is_percent THEN round(a * price * (100.0 - d) * 0.01 + 0.0000000001, 2)
                     ELSE round(a * (price - d) + 0.0000000001, 2) END AS basis,
                CASE WHEN is_percent THEN round(((a * price * cv) / ca) * (100.0 - d) * 0.01 + 0.0000000001, 2)
                     ELSE round((a * (price - d) * cv) / ca + 0.0000000001, 2) END AS basis_rating,
                round(a * margin + 0.0000000001, 2) AS margin_brutto,
                round((a * margin * cv) / ca + 0.0000000001, 2) AS margin_brutto_rating
            FROM (
                SELECT pm.id AS id, pm.amount AS a, pm.reduct AS d, pm.reduct_percent = 1 AS is_percent,
                    p.vat AS rate, p.count_from_netto = 1 AS from_netto,
                    CASE WHEN p.count_from_netto = 1 THEN p.netto_price ELSE p.brutto_price END AS price,
                    p.count_from_netto = 0 AND i.invoice_kind IN (27, 28) AS is_margin,
                    p.profit_brutto AS margin,
                    CAST(IFNULL(cr.currency_value, 1.0) AS REAL) AS cv,
                    IFNULL(cr.currency_amount_from, 1) AS ca
                FROM invoice_product_misc pm
                LEFT JOIN invoice_product p ON p.id = pm.id_product
                LEFT JOIN invoice i ON i.id = pm.id_invoice
                LEFT JOIN invoice_currency_rating cr ON cr.id = i.id_currency_rating
                WHERE p.id > 0 AND pm.reduct_percent IN (0, 1)
                    AND (p.count_from_netto = 1 OR (p.count_from_netto = 0 AND i.invoice_kind IS NOT NULL))
                    {scope}
            )
        )
    )
) AS computed
WHERE target.id = computed.id
)SQL";

// Three ways to build a summary row: the sums of the lines, or the sum of
// the basis amounts with the other amount computed from it once per rate.
// {scope} is replaced by a condition on the line alias pm (or empty).
const char* const summarySql = R"SQL(
INSERT INTO invoice_summary_vat (id_invoice, id_vat, netto_price, brutto_price, vat_price,
    netto_rating_price, brutto_rating_price, vat_rating_price)
SELECT id_invoice, IFNULL(id_vat, 0), IFNULL(netto, 0), IFNULL(brutto, 0), IFNULL(vat, 0),
    IFNULL(netto_rating, 0), IFNULL(brutto_rating, 0), IFNULL(vat_rating, 0)
FROM (
    SELECT pm.id_invoice AS id_invoice, v.id AS id_vat,
        SUM(pm.netto_price) AS netto, SUM(pm.brutto_price) AS brutto, SUM(pm.vat_price) AS vat,
        SUM(pm.netto_rating_price) AS netto_rating, SUM(pm.brutto_rating_price) AS brutto_rating,
        SUM(pm.vat_rating_price) AS vat_rating
    FROM invoice_product_misc pm
    LEFT JOIN invoice_product p ON p.id = pm.id_product
    LEFT JOIN invoice i ON i.id = pm.id_invoice
    LEFT JOIN vat v ON v.name = p.vat_text
    WHERE p.id > 0 AND i.id > 0 AND i.summary_count = 0 {scope}
    GROUP BY pm.id_invoice, v.id
    UNION ALL
    SELECT id_invoice, id_vat, netto, brutto, brutto - netto, netto_rating, brutto_rating,
        brutto_rating - netto_rating
    FROM (
        SELECT pm.id_invoice AS id_invoice, v.id AS id_vat,
            SUM(pm.netto_price) AS netto,
            round(SUM(pm.netto_price) * (1.0 + p.vat / 100.0) + 0.0000000001, 2) AS brutto,
            SUM(pm.netto_rating_price) AS netto_rating,
            round(SUM(pm.netto_rating_price) * (1.0 + p.vat / 100.0) + 0.0000000001, 2) AS brutto_rating
        FROM invoice_product_misc pm
        LEFT JOIN invoice_product p ON p.id = pm.id_product
        LEFT JOIN invoice i ON i.id = pm.id_invoice
        LEFT JOIN vat v ON v.name = p.vat_text
        WHERE p.id > 0 AND i.id > 0 AND p.count_from_netto = 1 AND i.summary_count = 1 {scope}
        GROUP BY pm.id_invoice, v.id
    )
    UNION ALL
    SELECT id_invoice, id_vat, netto, brutto, brutto - netto, netto_rating, brutto_rating,
        brutto_rating - netto_rating
    FROM (
        SELECT pm.id_invoice AS id_invoice, v.id AS id_vat,
            SUM(pm.brutto_price) AS brutto,
            round(SUM(pm.brutto_price) / (1.0 + p.vat / 100.0) + 0.0000000001, 2) AS netto,
            SUM(pm.brutto_rating_price) AS brutto_rating,
            round(SUM(pm.brutto_rating_price) / (1.0 + p.vat / 100.0) + 0.0000000001, 2) AS netto_rating
        FROM invoice_product_misc pm
        LEFT JOIN invoice_product p ON p.id = pm.id_product
        LEFT JOIN invoice i ON i.id = pm.id_invoice
        LEFT JOIN vat v ON v.name = p.vat_text
        WHERE p.id > 0 AND i.id > 0 AND p.count_from_netto = 0 AND i.summary_count = 1 {scope}
        GROUP BY pm.id_invoice, v.id
    )
)
)SQL";

// Only documents that have summary rows get new totals: a document without
// lines keeps the totals it has. {scope} is a condition on isv.
const char* const totalsSql = R"SQL(
UPDATE invoice SET
    global_netto = IFNULL(sums.netto, 0), global_brutto = IFNULL(sums.brutto, 0),
    global_vat = IFNULL(sums.vat, 0), global_netto_rating = IFNULL(sums.netto_rating, 0),
    global_brutto_rating = IFNULL(sums.brutto_rating, 0), global_vat_rating = IFNULL(sums.vat_rating, 0)
FROM (
    SELECT isv.id_invoice AS id_invoice,
        SUM(isv.netto_price) AS netto, SUM(isv.brutto_price) AS brutto, SUM(isv.vat_price) AS vat,
        SUM(isv.netto_rating_price) AS netto_rating, SUM(isv.brutto_rating_price) AS brutto_rating,
        SUM(isv.vat_rating_price) AS vat_rating
    FROM invoice_summary_vat isv
    WHERE isv.id_invoice > 0 {scope}
    GROUP BY isv.id_invoice
) AS sums
WHERE invoice.id = sums.id_invoice
)SQL";

// The part of an advance or final invoice (and of their corrections, not of
// their duplicates) shares the paid gross amount out over the summary rows in
// proportion to the document's gross total; with no positive total every
// part is 0. {scope} is a condition on isv.
const char* const partsSql = R"SQL(
UPDATE invoice_summary_vat SET
    netto_part_price = round(netto_price * ratio.part + 0.0000000001, 2),
    brutto_part_price = round(brutto_price * ratio.part + 0.0000000001, 2),
    vat_part_price = round(vat_price * ratio.part + 0.0000000001, 2),
    netto_part_rating_price = round(netto_rating_price * ratio.part + 0.0000000001, 2),
    brutto_part_rating_price = round(brutto_rating_price * ratio.part + 0.0000000001, 2),
    vat_part_rating_price = round(vat_rating_price * ratio.part + 0.0000000001, 2)
FROM (
    SELECT isv.id_invoice AS id_invoice,
        CASE WHEN SUM(isv.brutto_price) > 0 THEN CAST(i.brutto_part AS REAL) / SUM(isv.brutto_price)
             ELSE 0 END AS part
    FROM invoice_summary_vat isv
    JOIN invoice i ON i.id = isv.id_invoice
    WHERE i.id > 0 AND i.invoice_kind IN (19, 20, 23, 24) {scope}
    GROUP BY isv.id_invoice
) AS ratio
WHERE invoice_summary_vat.id_invoice = ratio.id_invoice
)SQL";

// {scope} is a condition on isv.
const char* const partTotalsSql = R"SQL(
UPDATE invoice SET
    global_netto_part = IFNULL(sums.netto, 0), global_brutto_part = IFNULL(sums.brutto, 0),
    global_vat_part = IFNULL(sums.vat, 0), global_netto_part_rating = IFNULL(sums.netto_rating, 0),
    global_brutto_part_rating = IFNULL(sums.brutto_rating, 0), global_vat_part_rating = IFNULL(sums.vat_rating, 0)
FROM (
    SELECT isv.id_invoice AS id_invoice,
        SUM(isv.netto_part_price) AS netto, SUM(isv.brutto_part_price) AS brutto,
        SUM(isv.vat_part_price) AS vat, SUM(isv.netto_part_rating_price) AS netto_rating,
        SUM(isv.brutto_part_rating_price) AS brutto_rating, SUM(isv.vat_part_rating_price) AS vat_rating
    FROM invoice_summary_vat isv
    WHERE isv.id_invoice > 0 {scope}
    GROUP BY isv.id_invoice
) AS sums
WHERE invoice.id = sums.id_invoice
)SQL";

QString rounded(const QStringList& columns)
{
    QStringList assignments;
    for (const QString& column : columns)
        assignments << column + QStringLiteral(" = round(") + column + QStringLiteral(" + 0.0000000001, 2)");
    return assignments.join(QStringLiteral(", "));
}

const QStringList lineColumns{"netto_price", "brutto_price", "vat_price",
                              "netto_rating_price", "brutto_rating_price", "vat_rating_price"};
const QStringList totalColumns{"global_netto", "global_brutto", "global_vat",
                               "global_netto_rating", "global_brutto_rating", "global_vat_rating"};
const QStringList partTotalColumns{"global_netto_part", "global_brutto_part", "global_vat_part",
                                   "global_netto_part_rating", "global_brutto_part_rating",
                                   "global_vat_part_rating"};

QString withScope(const char* sql, const QString& scope)
{
    return QString::fromLatin1(sql).replace(QLatin1String("{scope}"), scope);
}

} // namespace

MRecompute::Result MRecompute::recomputeAll()
{
    return run(0);
}

MRecompute::Result MRecompute::recomputeDocument(int idInvoice)
{
    if (idInvoice < 1)
        return Result();
    return run(idInvoice);
}

MRecompute::Result MRecompute::run(int idInvoice)
{
    const bool all = idInvoice == 0;
    const QString id = QString::number(idInvoice);
    // Conditions for the line alias pm, the summary alias isv, and the bare tables.
    const QString lineScope = all ? QString() : QStringLiteral("AND pm.id_invoice = ") + id;
    const QString summaryScope = all ? QString() : QStringLiteral("AND isv.id_invoice = ") + id;
    const QString byInvoice = all ? QString() : QStringLiteral(" WHERE id_invoice = ") + id;
    const QString byId = all ? QString() : QStringLiteral(" WHERE id = ") + id;
    const QString snapshotScope =
        all ? QString()
            : QStringLiteral(" AND id IN (SELECT id_product FROM invoice_product_misc WHERE id_invoice = ") + id +
                  QLatin1Char(')');

    QStringList statements{
        QStringLiteral("UPDATE invoice_product SET brutto_price = round(netto_price * (1.0 + vat / 100.0) + "
                       "0.0000000001, 2) WHERE count_from_netto = 1") + snapshotScope,
        QStringLiteral("UPDATE invoice_product SET netto_price = round(brutto_price / (1.0 + vat / 100.0) + "
                       "0.0000000001, 2) WHERE count_from_netto = 0") + snapshotScope,
    };
    if (all)
        statements << QStringLiteral("UPDATE product SET brutto_price = round(netto_price * (1.0 + vat / 100.0) + "
                                     "0.0000000001, 2) WHERE count_from_netto = 1")
                   << QStringLiteral("UPDATE product SET netto_price = round(brutto_price / (1.0 + vat / 100.0) + "
                                     "0.0000000001, 2) WHERE count_from_netto = 0");
    statements << withScope(lineValuesSql, lineScope)
               << QStringLiteral("UPDATE invoice_product_misc SET ") + rounded(lineColumns) + byInvoice
               << QStringLiteral("DELETE FROM invoice_summary_vat") + byInvoice
               << withScope(summarySql, lineScope)
               << QStringLiteral("UPDATE invoice_summary_vat SET ") + rounded(lineColumns) + byInvoice
               << withScope(totalsSql, summaryScope)
               << withScope(partsSql, summaryScope)
               << withScope(partTotalsSql, summaryScope)
               << QStringLiteral("UPDATE invoice SET ") + rounded(totalColumns) + byId
               << QStringLiteral("UPDATE invoice SET ") + rounded(partTotalColumns) + byId;

    Result result;
    QSqlQuery query;
    for (const QString& statement : qAsConst(statements)) {
        if (query.exec(statement))
            continue;
        if (result.failed++ == 0)
            result.firstError = query.lastError().databaseText();
    }
    return result;
}
