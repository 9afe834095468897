#include "MInvoiceListSql.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace {

const char* const collate = " COLLATE POLISH";

QString tr(const char* text)
{
    return QCoreApplication::translate("MInvoiceDbView", text);
}

// The four families: the row's own document, and where its shown data come from.
enum Family { Documents = 0, Corrections = 1, Duplicates = 2, CorrectionDuplicates = 3 };

const QStringList columnNames = {
    QStringLiteral("idx"),
    QStringLiteral("_invoice_index_string_"),
    QStringLiteral("_doc_kind_"),
    QStringLiteral("_seller_base_firm_"),
    QStringLiteral("_seller_firm_"),
    QStringLiteral("_buyer_firm_"),
    QStringLiteral("_buyer2_firm_"),
    QStringLiteral("_place_put_"),
    QStringLiteral("_date_put_"),
    QStringLiteral("_date_sell_"),
    QStringLiteral("_basic_form_"),
    QStringLiteral("_date_pay_"),
    QStringLiteral("_date_payed_"),
    QStringLiteral("_count_from_netto_"),
    QStringLiteral("_global_netto_currency_"),
    QStringLiteral("_global_brutto_currency_"),
    QStringLiteral("_id_parent_invoice_"),
    QStringLiteral("_time_create_"),
    QStringLiteral("_time_modify_"),
};

QString quoted(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString overdue()
{
    return QStringLiteral("i.is_payed = '0' AND i.date_pay < ") + MInvoiceListSql::localToday();
}

QString daysOverdue()
{
    return QStringLiteral("julianday(") + MInvoiceListSql::localToday() + QStringLiteral(") - julianday(date(i.date_pay))");
}

// The text of column "Data zapłaty" for documents and corrections.
QString paymentText()
{
    return QStringLiteral("CASE WHEN i.is_cancelled = 1 THEN ") + quoted(tr("anulowane"))
        + QStringLiteral(" ELSE (CASE WHEN i.is_payed = 1 THEN IFNULL(strftime('%Y-%m-%d', i.date_payed), ")
        + quoted(tr("zapłacone")) + QStringLiteral(") ELSE (CASE WHEN ") + overdue() + QStringLiteral(" THEN ")
        + quoted(tr("przeterminowane")) + QStringLiteral(" || ' (' || replace(") + daysOverdue()
        + QStringLiteral(", '.0', '') || (CASE WHEN ") + daysOverdue() + QStringLiteral(" = 1 THEN ")
        + quoted(QLatin1Char(' ') + tr("dzień")) + QStringLiteral(" ELSE ") + quoted(QLatin1Char(' ') + tr("dni"))
        + QStringLiteral(" END) || ')' ELSE ") + quoted(tr("niezapłacone")) + QStringLiteral(" END) END) END");
}

QString duplicatePaymentText()
{
    return QStringLiteral("CASE WHEN i.is_cancelled = 1 THEN ") + quoted(tr("anulowane")) + QStringLiteral(" ELSE ")
        + quoted(tr("nie dotyczy")) + QStringLiteral(" END");
}

QString amount(Family family, const QString& column)
{
    switch (family) {
    case Documents:
        return QStringLiteral("i.") + column;
    case Corrections:
        return QStringLiteral("round(i.%1 - i2.%1 + 0.0000000001, 2)").arg(column);
    case Duplicates:
        return QStringLiteral("i2.") + column;
    case CorrectionDuplicates:
        return QStringLiteral("round(i2.%1 - i3.%1 + 0.0000000001, 2)").arg(column);
    }
    return QString();
}

QStringList selectList(Family family, bool sortByPayment)
{
    const bool duplicate = family == Duplicates || family == CorrectionDuplicates;
    const QString src = duplicate ? QStringLiteral("i2.") : QStringLiteral("i.");
    const QString netto = amount(family, QStringLiteral("global_netto"));
    const QString brutto = amount(family, QStringLiteral("global_brutto"));
    QStringList columns = {
        QStringLiteral("i.id AS idx"),
        src + QStringLiteral("invoice_index_string AS _invoice_index_string_"),
        QStringLiteral("ik.basic_form || CASE WHEN ik.second_form = '' THEN '' ELSE ' (' || ik.second_form || ')' "
                       "END AS _doc_kind_"),
        QStringLiteral("IFNULL(s2.firm, ") + quoted(tr("[usunięty]")) + QStringLiteral(" || ' (' || ") + src
            + QStringLiteral("id_seller_base || ')') AS _seller_base_firm_"),
        QStringLiteral("s.firm AS _seller_firm_"),
        QStringLiteral("b.firm AS _buyer_firm_"),
        QStringLiteral("b2.firm AS _buyer2_firm_"),
        src + QStringLiteral("place_put AS _place_put_"),
        QStringLiteral("strftime('%Y-%m-%d', i.date_put) AS _date_put_"),
        QStringLiteral("CASE WHEN %1date_sell_in_months = 1 THEN strftime('%Y-%m', %1date_sell) "
                       "ELSE strftime('%Y-%m-%d', %1date_sell) END AS _date_sell_")
            .arg(src),
        QStringLiteral("CASE WHEN ") + src + QStringLiteral("payed = 1 THEN ") + quoted(tr("zapłacono"))
            + QStringLiteral(" || (CASE WHEN pf.id > 0 THEN ' ' || pf.second_form ELSE '' END) "
                             "ELSE pf.basic_form END AS _basic_form_"),
        QStringLiteral("strftime('%Y-%m-%d', ") + src + QStringLiteral("date_pay) AS _date_pay_"),
        (duplicate ? duplicatePaymentText() : paymentText()) + QStringLiteral(" AS _date_payed_"),
        QStringLiteral("CASE WHEN ") + src
            + QStringLiteral("count_from_netto = 1 THEN 'netto' ELSE 'brutto' END AS _count_from_netto_"),
        netto + QStringLiteral(" || ' ' || c.symbol AS _global_netto_currency_"),
        brutto + QStringLiteral(" || ' ' || c.symbol AS _global_brutto_currency_"),
        QStringLiteral("i.id_parent_invoice AS _id_parent_invoice_"),
        QStringLiteral("datetime(i.time_create, 'localtime') AS _time_create_"),
        QStringLiteral("datetime(i.time_modify, 'localtime') AS _time_modify_"),
        src + QStringLiteral("id_seller_base AS _id_seller_base_"),
        QStringLiteral("i.invoice_kind AS _id_doc_kind_"),
        QStringLiteral("strftime('%Y', i.date_put) AS _date_put_year_"),
        QStringLiteral("strftime('%Y,%m', i.date_put) AS _date_put_month_"),
        src + QStringLiteral("invoice_index AS _invoice_index_"),
        duplicate ? QStringLiteral("CASE WHEN i.is_cancelled = 1 THEN 4 ELSE 2 END AS _is_payed_")
                  : QStringLiteral("CASE WHEN i.is_cancelled = 1 THEN 4 ELSE (CASE WHEN ") + overdue()
                + QStringLiteral(" THEN 3 ELSE i.is_payed END) END AS _is_payed_"),
        netto + QStringLiteral(" AS _global_netto_"),
        brutto + QStringLiteral(" AS _global_brutto_"),
    };
    if (sortByPayment) {
        if (duplicate) {
            columns << duplicatePaymentText() + QStringLiteral(" AS _date_payed_1_")
                    << QStringLiteral("0 AS _date_payed_2_");
        } else {
            columns << QStringLiteral("CASE WHEN i.is_cancelled = 1 THEN ") + quoted(tr("anulowane"))
                    + QStringLiteral(" ELSE (CASE WHEN i.is_payed = 1 THEN IFNULL(strftime('%Y-%m-%d', i.date_payed), ")
                    + quoted(tr("zapłacone")) + QStringLiteral(") ELSE (CASE WHEN ") + overdue()
                    + QStringLiteral(" THEN ") + quoted(tr("przeterminowane")) + QStringLiteral(" ELSE ")
                    + quoted(tr("niezapłacone")) + QStringLiteral(" END) END) END AS _date_payed_1_");
            columns << QStringLiteral("CASE WHEN i.is_cancelled = 1 THEN 0 ELSE (CASE WHEN i.is_payed = 1 THEN 0 "
                                      "ELSE (CASE WHEN ")
                    + overdue() + QStringLiteral(" THEN ") + daysOverdue()
                    + QStringLiteral(" ELSE 0 END) END) END AS _date_payed_2_");
        }
    }
    return columns;
}

// The columns of `columns` ("expression AS alias") that the ids-only and count forms
// need: the id and those whose alias `usedBy` names. The others would only cost their
// joins and expressions on every row.
QStringList usedColumns(const QStringList& columns, const QString& usedBy)
{
    QStringList used;
    for (const QString& column : columns) {
        const QString alias = column.mid(column.lastIndexOf(QLatin1String(" AS ")) + 4);
        if (alias == QLatin1String("idx") || usedBy.contains(alias))
            used << column;
    }
    return used;
}

// With `parentFirst` (duplicates only) the rows are reached from their parents, in
// the order that the parents are read, and a duplicate without its parent is left out.
QString fromClause(Family family, bool parentFirst = false)
{
    const bool duplicate = family == Duplicates || family == CorrectionDuplicates;
    const QString src = duplicate ? QStringLiteral("i2.") : QStringLiteral("i.");
    QString from;
    if (parentFirst)
        from = QStringLiteral("FROM invoice i2 CROSS JOIN invoice i ON i.id_parent_invoice = i2.id ");
    else
        from = QStringLiteral("FROM invoice i ");
    if (family != Documents && !parentFirst)
        from += QStringLiteral("LEFT JOIN invoice i2 ON i2.id = i.id_parent_invoice ");
    if (family == CorrectionDuplicates)
        from += QStringLiteral("LEFT JOIN invoice i3 ON i3.id = i2.id_parent_invoice ");
    from += QStringLiteral("LEFT JOIN invoice_seller s ON s.id = %1id_seller "
                           "LEFT JOIN seller s2 ON s2.id = %1id_seller_base "
                           "LEFT JOIN invoice_buyer b ON b.id = %1id_buyer "
                           "LEFT JOIN invoice_buyer b2 ON b2.id = %1id_buyer2 "
                           "LEFT JOIN pay_form pf ON pf.id = %1id_pay_form "
                           "LEFT JOIN invoice_kind ik ON ik.id = i.invoice_kind "
                           "LEFT JOIN currency c ON c.id = %1id_currency ")
                .arg(src);
    return from;
}

// Whether one of the documents whose lines the row stands for has a line of a product
// that `term` matches. Each document is tested on its own, so a row is listed once
// however many of its lines match; the products that match are found once for the
// statement, not once for every line.
QString productCondition(Family family, const QString& term)
{
    QStringList documents;
    switch (family) {
    case Documents:
        documents << QStringLiteral("i");
        break;
    case Corrections:
        documents << QStringLiteral("i") << QStringLiteral("i2");
        break;
    case Duplicates:
        documents << QStringLiteral("i2");
        break;
    case CorrectionDuplicates:
        documents << QStringLiteral("i2") << QStringLiteral("i3");
        break;
    }
    QStringList tests;
    for (const QString& document : documents) {
        tests << QStringLiteral("EXISTS (SELECT 1 FROM invoice_product_misc pm WHERE pm.id_invoice = %1.id AND "
                                "pm.id_product IN (SELECT p.id FROM invoice_product p WHERE ")
                     .arg(document)
                + term + QStringLiteral("))");
    }
    return QLatin1Char('(') + tests.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

} // namespace

QString MInvoiceListSql::kindSet(int viewKind, int family)
{
    static const char* const sales[] = {"0,1,3,9,15,19,23,27", "2,4,16,20,24,28", "5,7,10,17,21,25,29",
                                        "6,8,18,22,26,30"};
    static const char* const purchases[] = {"11", "12", "13", "14"};
    if (family < 0 || family > 3)
        return QString();
    return QLatin1String(viewKind == 8 ? purchases[family] : sales[family]);
}

QString MInvoiceListSql::columnName(int column)
{
    return column >= 0 && column < columnNames.size() ? columnNames.at(column) : QString();
}

QString MInvoiceListSql::localToday()
{
    return QStringLiteral("date('now', 'localtime')");
}

QString MInvoiceListSql::statement(Head head) const
{
    QString sql;
    if (head == CountOnly)
        sql = QStringLiteral("SELECT COUNT(*) FROM (");
    else if (head == IdsOnly)
        sql = QStringLiteral("SELECT idx FROM (");
    else
        sql = QStringLiteral("SELECT ") + columnNames.join(QStringLiteral(", ")) + QStringLiteral(" FROM (");

    const QString order = head == CountOnly ? QString() : orderBy();
    const bool sortByPayment = head != CountOnly && sortColumn == 12;
    // Sorted inside the union, each arm is one kind read in the order of an index on
    // that kind, and the arms are merged: the first rows come without the others being
    // read. Sorted outside, the whole union is built and sorted before its first row.
    const bool merged = !order.isEmpty() && !sortWholeUnion;
    QStringList arms;
    for (int family = Documents; family <= CorrectionDuplicates; ++family) {
        const Family f = static_cast<Family>(family);
        QStringList columns = selectList(f, sortByPayment);
        if (head != FullList)
            columns = usedColumns(columns, mainCondition + order);
        const QString select = QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + QLatin1Char(' ');
        QStringList conditions;
        if (!productTerm.isEmpty())
            conditions << productCondition(f, productTerm);
        if (!mainCondition.isEmpty())
            conditions << mainCondition;
        const QString condition = conditions.isEmpty()
            ? QString()
            : QStringLiteral(" AND (") + conditions.join(QStringLiteral(" AND ")) + QStringLiteral(") ");
        const QString kinds = kindSet(viewKind, family);
        const bool duplicate = f == Duplicates || f == CorrectionDuplicates;
        if (merged && duplicate && (sortColumn == 9 || sortColumn == 11) && rowsOfKinds(kinds) >= parentFirstFrom) {
            // A duplicate's sale and due dates are its parent's: its family is read
            // from the parents in the order of the index on that date, and only the
            // duplicates whose parent is gone are sorted on their own. Reading the
            // parents pays for the many documents between a few duplicates, so a
            // small family is sorted whole instead.
            arms << select + fromClause(f, true) + QStringLiteral("WHERE i.invoice_kind IN (") + kinds
                    + QStringLiteral(") ") + condition;
            arms << select + fromClause(f) + QStringLiteral("WHERE i.invoice_kind IN (") + kinds
                    + QStringLiteral(") AND i2.id IS NULL ") + condition;
            continue;
        }
        for (const QString& kind : merged ? kinds.split(QLatin1Char(',')) : QStringList{kinds})
            arms << select + fromClause(f) + QStringLiteral("WHERE i.invoice_kind IN (") + kind
                    + QStringLiteral(") ") + condition;
    }
    if (merged) {
        // SQLite merges each arm into the merge of the arms before it, so a row passes
        // one merge for each arm after its own: the commonest kinds, each family's first
        // and the documents themselves, go last.
        std::reverse(arms.begin(), arms.end());
        return sql + arms.join(QStringLiteral("UNION ALL ")) + order + QLatin1Char(')');
    }
    sql += arms.join(QStringLiteral("UNION ALL "));
    return sql + QLatin1Char(')') + order;
}

int MInvoiceListSql::rowsOfKinds(const QString& kinds)
{
    QSqlQuery count;
    if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM invoice WHERE invoice_kind IN (") + kinds + QLatin1Char(')'))
        || !count.next())
        return 0;
    return count.value(0).toInt();
}

QString MInvoiceListSql::orderBy() const
{
    if (sortColumn < 0 || sortColumn > 18)
        return QString();
    const QString order = descending ? QStringLiteral(" DESC") : QString();
    const QString c = QLatin1String(collate);
    // The dates are digits and dashes in fixed places, which sort alike in Polish and
    // byte by byte; by bytes, the arms read them in the order of the indexes on them.
    const QString dateCollate = sortWholeUnion ? c : QString();
    QStringList terms;
    switch (sortColumn) {
    case 0:
        return QStringLiteral(" ORDER BY idx") + order;
    case 1:
        terms << QStringLiteral("_date_put_") + dateCollate << QStringLiteral("_invoice_index_");
        break;
    case 8:
    case 9:
    case 11:
        terms << columnName(sortColumn) + dateCollate;
        break;
    case 12:
        terms << QStringLiteral("_date_payed_1_") + c << QStringLiteral("_date_payed_2_");
        break;
    case 14:
        terms << QStringLiteral("_global_netto_") << QStringLiteral("_global_netto_currency_") + c;
        break;
    case 15:
        terms << QStringLiteral("_global_brutto_") << QStringLiteral("_global_brutto_currency_") + c;
        break;
    default:
        terms << columnName(sortColumn) + c;
        break;
    }
    terms << QStringLiteral("idx");
    return QStringLiteral(" ORDER BY ") + terms.join(order + QStringLiteral(", ")) + order;
}
