#include "data/MRecompute.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// Each statement computes in a subquery and writes with UPDATE ... FROM or
// INSERT ... SELECT, so that the whole database takes a few passes instead
// of one statement per line and document. The subqueries end in "LIMIT -1"
// so that SQLite runs each as a co-routine that computes its columns once
// per row, instead of flattening it into the next level, which would copy
// every rounded expression into each expression that uses it. Rows whose
// values are already right are not written again.
//
// Stored amounts have NUMERIC affinity, so 10.00 comes back as the integer
// 10, and the rating's unit amount is an INTEGER column: (amount * price *
// value) / units would then divide integers (100 JPY = 4 PLN on a 10.00 line
// would give 0). The currency value is therefore made REAL before it takes
// part in any conversion, and the advance part ratio divides a REAL.
//
// Every computed amount is rounded as it is written, which gives the same
// values as writing first and rounding the columns afterwards. round_cents(x)
// is round(x + 0.0000000001, 2), bit for bit.

// What the line values need of the product snapshots and the documents, one
// short row each, so that a line reads two rows by their ids instead of the
// wide snapshot and document rows, the rating, and the VAT row by its rate's
// name. price is the snapshot's basis price, net or gross; id_vat is the VAT
// row of the rate's name, the first where several share it. The columns have
// no affinity, so that they hold exactly what they are given.
const char* const productTableSql = R"SQL(
CREATE TEMP TABLE recompute_product (
    id INTEGER PRIMARY KEY, count_from_netto, rate, price, profit_brutto, id_vat
)
)SQL";

// {scope} is a condition on the snapshot alias p, after WHERE, or 1.
const char* const productValuesSql = R"SQL(
INSERT INTO temp.recompute_product (id, count_from_netto, rate, price, profit_brutto, id_vat)
SELECT p.id, p.count_from_netto, p.vat, IIF(p.count_from_netto = 1, p.netto_price, p.brutto_price),
    p.profit_brutto, (SELECT MIN(v.id) FROM vat v WHERE v.name = p.vat_text)
FROM invoice_product p
WHERE {scope}
)SQL";

// currency_value is REAL already; has_rating tells whether the document has
// a rating snapshot.
const char* const documentTableSql = R"SQL(
CREATE TEMP TABLE recompute_document (
    id INTEGER PRIMARY KEY, summary_count, invoice_kind, has_rating, currency_value, currency_amount_from
)
)SQL";

// {scope} is a condition on the document alias i, after WHERE, or 1.
const char* const documentValuesSql = R"SQL(
INSERT INTO temp.recompute_document (id, summary_count, invoice_kind, has_rating, currency_value,
    currency_amount_from)
SELECT i.id, i.summary_count, i.invoice_kind, cr.id IS NOT NULL, CAST(cr.currency_value AS REAL),
    cr.currency_amount_from
FROM invoice i
LEFT JOIN invoice_currency_rating cr ON cr.id = i.id_currency_rating
WHERE {scope}
)SQL";

// The line values are computed once into this table, then written to the
// lines and summed into the VAT summaries from it, so that the summary
// neither joins the lines again nor sorts their wide rows. The amount columns
// have the lines' NUMERIC affinity, so that they hold, and sum, exactly what
// the lines hold. summarised marks the lines that take part in a summary;
// id_vat is their VAT row, NULL where the rate's name matches none.
const char* const lineTableSql = R"SQL(
CREATE TEMP TABLE recompute_line (
    id INTEGER PRIMARY KEY, summarised INTEGER NOT NULL, id_invoice INTEGER NOT NULL,
    id_vat INTEGER, method INTEGER NOT NULL, rate,
    netto NUMERIC, brutto NUMERIC, vat NUMERIC,
    netto_rating NUMERIC, brutto_rating NUMERIC, vat_rating NUMERIC
)
)SQL";

// Line values, into the table above. Lines with a product snapshot, a
// discount of either kind and a known basis are computed; every other line
// keeps its values, rounded. A line without a rating snapshot converts with
// factor 1, so its rating values are exactly its own values and are not
// computed twice. {scope} is a condition on the line alias pm, after WHERE,
// or 1.
const char* const lineValuesSql = R"SQL(
INSERT INTO temp.recompute_line (id, summarised, id_invoice, id_vat, method, rate,
    netto, brutto, vat, netto_rating, brutto_rating, vat_rating)
SELECT id, summarised, id_invoice, id_vat, method, rate,
    netto, brutto, vat, netto_rating, brutto_rating, vat_rating
FROM (
    SELECT id, summarised, id_invoice, id_vat, method, rate, netto, brutto, vat,
        IFNULL(netto_rating, netto) AS netto_rating,
        IFNULL(brutto_rating, brutto) AS brutto_rating,
        CASE WHEN has_rating OR NOT computed THEN IFNULL(round_cents(vat_rating), 0)
             ELSE vat END AS vat_rating
    FROM (
        SELECT id, summarised, id_invoice, id_vat, method, rate, has_rating, computed,
            CASE WHEN computed THEN IFNULL(netto, 0) ELSE round_cents(old_netto) END AS netto,
            CASE WHEN computed THEN IFNULL(brutto, 0) ELSE round_cents(old_brutto) END AS brutto,
            CASE WHEN NOT computed THEN round_cents(old_vat)
                 ELSE IFNULL(round_cents(CASE WHEN is_margin
                                              THEN margin_brutto - round_cents(margin_brutto * 100.0 / (100.0 + rate))
                                              ELSE brutto - netto END), 0) END AS vat,
            CASE WHEN NOT computed THEN round_cents(old_netto_rating)
                 WHEN has_rating THEN IFNULL(netto_rating, 0) END AS netto_rating,
            CASE WHEN NOT computed THEN round_cents(old_brutto_rating)
                 WHEN has_rating THEN IFNULL(brutto_rating, 0) END AS brutto_rating,
            CASE WHEN NOT computed THEN round_cents(old_vat_rating)
                 WHEN has_rating THEN CASE WHEN is_margin
                                           THEN margin_brutto_rating - round_cents(margin_brutto_rating * 100.0 / (100.0 + rate))
                                           ELSE brutto_rating - netto_rating END END AS vat_rating
        FROM (
            SELECT id, summarised, id_invoice, id_vat, method, computed, has_rating, is_margin, rate,
                margin_brutto, margin_brutto_rating,
                old_netto, old_brutto, old_vat, old_netto_rating, old_brutto_rating, old_vat_rating,
                CASE WHEN from_netto THEN basis
                     ELSE round_cents(basis * 100.0 / (100.0 + rate)) END AS netto,
                CASE WHEN from_netto THEN round_cents(basis * (100.0 + rate) * 0.01)
                     ELSE basis END AS brutto,
                CASE WHEN from_netto THEN basis_rating
                     ELSE round_cents(basis_rating * 100.0 / (100.0 + rate)) END AS netto_rating,
                CASE WHEN from_netto THEN round_cents(basis_rating * (100.0 + rate) * 0.01)
                     ELSE basis_rating END AS brutto_rating
            FROM (
                SELECT pm.id AS id, pm.id_invoice AS id_invoice, p.id_vat AS id_vat,
                    CASE WHEN i.summary_count = 0 THEN 0 WHEN p.count_from_netto = 1 THEN 1 ELSE 2 END AS method,
                    IFNULL(p.id > 0 AND i.id > 0
                           AND (i.summary_count = 0 OR (i.summary_count = 1 AND p.count_from_netto IN (0, 1))), 0)
                        AS summarised,
                    IFNULL(i.has_rating, 0) AS has_rating,
                    IFNULL(p.id > 0 AND pm.reduct_percent IN (0, 1)
                           AND (p.count_from_netto = 1 OR (p.count_from_netto = 0 AND i.invoice_kind IS NOT NULL)), 0)
                        AS computed,
                    p.rate AS rate, p.count_from_netto = 1 AS from_netto,
                    p.count_from_netto = 0 AND i.invoice_kind IN (27, 28) AS is_margin,
                    pm.netto_price AS old_netto, pm.brutto_price AS old_brutto, pm.vat_price AS old_vat,
                    pm.netto_rating_price AS old_netto_rating, pm.brutto_rating_price AS old_brutto_rating,
                    pm.vat_rating_price AS old_vat_rating,
                    CASE WHEN pm.reduct_percent = 1
                         THEN round_cents(pm.amount * p.price * (100.0 - pm.reduct) * 0.01)
                         ELSE round_cents(pm.amount * (p.price - pm.reduct)) END AS basis,
                    CASE WHEN NOT IFNULL(i.has_rating, 0) THEN NULL
                         WHEN pm.reduct_percent = 1
                         THEN round_cents(((pm.amount * p.price * i.currency_value) / i.currency_amount_from)
                                          * (100.0 - pm.reduct) * 0.01)
                         ELSE round_cents((pm.amount * (p.price - pm.reduct) * i.currency_value)
                                          / i.currency_amount_from)
                         END AS basis_rating,
                    CASE WHEN p.count_from_netto = 0 AND i.invoice_kind IN (27, 28)
                         THEN round_cents(pm.amount * p.profit_brutto) END AS margin_brutto,
                    CASE WHEN p.count_from_netto = 0 AND i.invoice_kind IN (27, 28) AND i.has_rating
                         THEN round_cents((pm.amount * p.profit_brutto * i.currency_value)
                                          / i.currency_amount_from) END AS margin_brutto_rating
                FROM invoice_product_misc pm
                LEFT JOIN temp.recompute_product p ON p.id = pm.id_product
                LEFT JOIN temp.recompute_document i ON i.id = pm.id_invoice
                WHERE {scope}
                LIMIT -1
            ) LIMIT -1
        ) LIMIT -1
    ) LIMIT -1
)
)SQL";

// The computed values go to the lines whose stored values differ. SQLite
// knows nothing of the size of the temporary table and would read every line
// of the database to find the few of one document; {scope}, a condition on
// the line alias target after AND, or 1, lets it reach them by their index.
const char* const lineWriteSql = R"SQL(
UPDATE invoice_product_misc AS target SET
    netto_price = c.netto, brutto_price = c.brutto, vat_price = c.vat,
    netto_rating_price = c.netto_rating, brutto_rating_price = c.brutto_rating, vat_rating_price = c.vat_rating
FROM temp.recompute_line AS c
WHERE target.id = c.id AND {scope}
    AND (target.netto_price IS NOT c.netto OR target.brutto_price IS NOT c.brutto
         OR target.vat_price IS NOT c.vat OR target.netto_rating_price IS NOT c.netto_rating
         OR target.brutto_rating_price IS NOT c.brutto_rating OR target.vat_rating_price IS NOT c.vat_rating)
)SQL";

// The VAT summary of every document, one row per rate, by one of three
// methods: the sums of the lines (method 0, summary_count 0), or the summed
// net amount (1) or gross amount (2) of the rate's lines with the other
// amount computed from it once (summary_count 1, by the lines' basis). A rate
// whose name matches no VAT row gets id_vat 0. The lines are those just
// computed, so the statement has no scope of its own.
const char* const summarySql = R"SQL(
INSERT INTO invoice_summary_vat (id_invoice, id_vat, netto_price, brutto_price, vat_price,
    netto_rating_price, brutto_rating_price, vat_rating_price)
SELECT id_invoice, IFNULL(id_vat, 0),
    round_cents(IFNULL(netto, 0)), round_cents(IFNULL(brutto, 0)),
    round_cents(IFNULL(vat, 0)), round_cents(IFNULL(netto_rating, 0)),
    round_cents(IFNULL(brutto_rating, 0)), round_cents(IFNULL(vat_rating, 0))
FROM (
    SELECT id_invoice, id_vat,
        CASE method WHEN 2 THEN round_cents(brutto / (1.0 + rate / 100.0)) ELSE netto END AS netto,
        CASE method WHEN 1 THEN round_cents(netto * (1.0 + rate / 100.0)) ELSE brutto END AS brutto,
        CASE method WHEN 0 THEN vat
                    WHEN 1 THEN round_cents(netto * (1.0 + rate / 100.0)) - netto
                    ELSE brutto - round_cents(brutto / (1.0 + rate / 100.0)) END AS vat,
        CASE method WHEN 2 THEN round_cents(brutto_rating / (1.0 + rate / 100.0))
                    ELSE netto_rating END AS netto_rating,
        CASE method WHEN 1 THEN round_cents(netto_rating * (1.0 + rate / 100.0))
                    ELSE brutto_rating END AS brutto_rating,
        CASE method WHEN 0 THEN vat_rating
                    WHEN 1 THEN round_cents(netto_rating * (1.0 + rate / 100.0)) - netto_rating
                    ELSE brutto_rating - round_cents(brutto_rating / (1.0 + rate / 100.0))
                    END AS vat_rating
    FROM (
        SELECT id_invoice, id_vat, method, MAX(rate) AS rate,
            SUM(netto) AS netto, SUM(brutto) AS brutto, SUM(vat) AS vat,
            SUM(netto_rating) AS netto_rating, SUM(brutto_rating) AS brutto_rating, SUM(vat_rating) AS vat_rating
        FROM temp.recompute_line
        WHERE summarised = 1
        GROUP BY id_invoice, id_vat, method
        LIMIT -1
    ) LIMIT -1
)
)SQL";

// The part of an advance or final invoice (and of their corrections, not of
// their duplicates) shares the paid gross amount out over the summary rows in
// proportion to the document's gross total; with no positive total every
// part is 0. The summary rows of other documents keep parts 0. {scope} is a
// condition on the summary alias isv, after AND, or 1.
const char* const partsSql = R"SQL(
UPDATE invoice_summary_vat SET
    netto_part_price = round_cents(netto_price * ratio.part),
    brutto_part_price = round_cents(brutto_price * ratio.part),
    vat_part_price = round_cents(vat_price * ratio.part),
    netto_part_rating_price = round_cents(netto_rating_price * ratio.part),
    brutto_part_rating_price = round_cents(brutto_rating_price * ratio.part),
    vat_part_rating_price = round_cents(vat_rating_price * ratio.part)
FROM (
    SELECT isv.id_invoice AS id_invoice,
        CASE WHEN SUM(isv.brutto_price) > 0 THEN CAST(i.brutto_part AS REAL) / SUM(isv.brutto_price)
             ELSE 0 END AS part
    FROM invoice_summary_vat isv
    JOIN invoice i ON i.id = isv.id_invoice
    WHERE i.id > 0 AND i.invoice_kind IN (19, 20, 23, 24) AND {scope}
    GROUP BY isv.id_invoice
) AS ratio
WHERE invoice_summary_vat.id_invoice = ratio.id_invoice
)SQL";

// Documents with summary rows get their totals from them; a document without
// lines keeps the totals it has, rounded. Only advance and final invoices
// have parts, so the part totals of every other document are 0 and only
// theirs are summed. {scope} is a condition on the summary alias isv, after
// AND, or 1.
const char* const totalsSql = R"SQL(
UPDATE invoice SET
    global_netto = round_cents(sums.netto),
    global_brutto = round_cents(sums.brutto),
    global_vat = round_cents(sums.vat),
    global_netto_rating = round_cents(sums.netto_rating),
    global_brutto_rating = round_cents(sums.brutto_rating),
    global_vat_rating = round_cents(sums.vat_rating),
    global_netto_part = 0, global_brutto_part = 0, global_vat_part = 0,
    global_netto_part_rating = 0, global_brutto_part_rating = 0, global_vat_part_rating = 0
FROM (
    SELECT isv.id_invoice AS id_invoice,
        SUM(isv.netto_price) AS netto, SUM(isv.brutto_price) AS brutto, SUM(isv.vat_price) AS vat,
        SUM(isv.netto_rating_price) AS netto_rating, SUM(isv.brutto_rating_price) AS brutto_rating,
        SUM(isv.vat_rating_price) AS vat_rating
    FROM invoice_summary_vat isv
    WHERE isv.id_invoice > 0 AND {scope}
    GROUP BY isv.id_invoice
) AS sums
WHERE invoice.id = sums.id_invoice
)SQL";

const char* const partTotalsSql = R"SQL(
UPDATE invoice SET
    global_netto_part = round_cents(sums.netto_part),
    global_brutto_part = round_cents(sums.brutto_part),
    global_vat_part = round_cents(sums.vat_part),
    global_netto_part_rating = round_cents(sums.netto_part_rating),
    global_brutto_part_rating = round_cents(sums.brutto_part_rating),
    global_vat_part_rating = round_cents(sums.vat_part_rating)
FROM (
    SELECT isv.id_invoice AS id_invoice,
        SUM(isv.netto_part_price) AS netto_part, SUM(isv.brutto_part_price) AS brutto_part,
        SUM(isv.vat_part_price) AS vat_part, SUM(isv.netto_part_rating_price) AS netto_part_rating,
        SUM(isv.brutto_part_rating_price) AS brutto_part_rating, SUM(isv.vat_part_rating_price) AS vat_part_rating
    FROM invoice_summary_vat isv
    JOIN invoice i ON i.id = isv.id_invoice
    WHERE i.id > 0 AND i.invoice_kind IN (19, 20, 23, 24) AND {scope}
    GROUP BY isv.id_invoice
) AS sums
WHERE invoice.id = sums.id_invoice
)SQL";

// {scope} is a condition on invoice, after AND, or 1.
const char* const documentsWithoutLinesSql = R"SQL(
UPDATE invoice SET
    global_netto = round_cents(global_netto),
    global_brutto = round_cents(global_brutto),
    global_vat = round_cents(global_vat),
    global_netto_rating = round_cents(global_netto_rating),
    global_brutto_rating = round_cents(global_brutto_rating),
    global_vat_rating = round_cents(global_vat_rating),
    global_netto_part = round_cents(global_netto_part),
    global_brutto_part = round_cents(global_brutto_part),
    global_vat_part = round_cents(global_vat_part),
    global_netto_part_rating = round_cents(global_netto_part_rating),
    global_brutto_part_rating = round_cents(global_brutto_part_rating),
    global_vat_part_rating = round_cents(global_vat_part_rating)
WHERE id NOT IN (SELECT id_invoice FROM invoice_summary_vat) AND {scope}
)SQL";

const char* const temporaryTables[] = {"recompute_product", "recompute_document", "recompute_line"};

QString withScope(const char* sql, const QString& scope)
{
    return QString::fromLatin1(sql).replace(QLatin1String("{scope}"), scope);
}

// The price of `table` (product or invoice_product) that is not the basis,
// from the basis price.
QStringList secondPrices(const QString& table)
{
    return {QStringLiteral("UPDATE ") + table +
                QStringLiteral(" SET brutto_price = round_cents(netto_price * (1.0 + vat / 100.0)) "
                               "WHERE count_from_netto = 1"),
            QStringLiteral("UPDATE ") + table +
                QStringLiteral(" SET netto_price = round_cents(brutto_price / (1.0 + vat / 100.0)) "
                               "WHERE count_from_netto = 0")};
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

QStringList MRecompute::statements(int idInvoice)
{
    const bool all = idInvoice == 0;
    const QString id = QString::number(idInvoice);
    const QString any = QStringLiteral("1");
    const QString snapshots = QStringLiteral("(SELECT id_product FROM invoice_product_misc WHERE id_invoice = ") + id +
                              QLatin1Char(')');

    // A saved document's product snapshots are fingerprinted and may be
    // shared with older documents, so its recomputation leaves them as they
    // are; the lines are computed from the basis price alone.
    QStringList statements;
    if (all)
        statements << secondPrices(QStringLiteral("invoice_product")) << secondPrices(QStringLiteral("product"));
    for (const char* table : temporaryTables)
        statements << QStringLiteral("DROP TABLE IF EXISTS temp.") + QLatin1String(table);
    statements << QString::fromLatin1(productTableSql)
               << withScope(productValuesSql, all ? any : QStringLiteral("p.id IN ") + snapshots)
               << QString::fromLatin1(documentTableSql)
               << withScope(documentValuesSql, all ? any : QStringLiteral("i.id = ") + id)
               << QString::fromLatin1(lineTableSql)
               << withScope(lineValuesSql, all ? any : QStringLiteral("pm.id_invoice = ") + id)
               << withScope(lineWriteSql, all ? any : QStringLiteral("target.id_invoice = ") + id)
               << QStringLiteral("DELETE FROM invoice_summary_vat") +
                      (all ? QString() : QStringLiteral(" WHERE id_invoice = ") + id)
               << QString::fromLatin1(summarySql);
    const QString summaryScope = all ? any : QStringLiteral("isv.id_invoice = ") + id;
    statements << withScope(partsSql, summaryScope)
               << withScope(totalsSql, summaryScope)
               << withScope(partTotalsSql, summaryScope)
               << withScope(documentsWithoutLinesSql, all ? any : QStringLiteral("id = ") + id);
    for (const char* table : temporaryTables)
        statements << QStringLiteral("DROP TABLE temp.") + QLatin1String(table);
    return statements;
}

MRecompute::Result MRecompute::run(int idInvoice)
{
    Result result;
    QSqlQuery query;
    for (const QString& statement : statements(idInvoice)) {
        if (query.exec(statement))
            continue;
        if (result.failed++ == 0)
            result.firstError = QCoreApplication::translate("MRecompute", "przeliczenie kwot nie powiodło się: %1")
                                    .arg(query.lastError().databaseText());
    }
    return result;
}
