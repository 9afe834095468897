#include "MFilterDbView.h"

#include "data/MInvoiceListSql.h"
#include "data/MSqlitePolish.h"
#include "data/MTextFunctions.h"

// Each row of a tree query is one text: levels separated by a line feed, each level a label,
// a tab and a value (or a label alone, its own value). The first level is the group with its
// number. The tabs and line feeds below are real characters inside the SQL literals.

namespace {

// Label of the group with its number, then the line feed to the second level.
QString group(const QString& label, int number)
{
    return QStringLiteral("SELECT '") + label + QLatin1Char('\t') + QString::number(number)
        + QStringLiteral("' || '\n' || ");
}

// The document lists' trees: the sales list and, with other kinds and labels, the purchases.
QString documentTreeQuery(bool sales)
{
    // Documents of their own (kinds that carry a base seller and a payment) and copies
    // (duplicates, whose seller and payment are those of their parent).
    const QString originals = sales ? QStringLiteral("0,1,2,3,4,9,15,16,19,20,23,24") : QStringLiteral("11,12");
    const QString copies = sales ? QStringLiteral("5,6,7,8,10,17,18,21,22,25,26") : QStringLiteral("13,14");
    const QString all = sales ? QStringLiteral("0,1,2,3,4,5,6,7,8,9,10,15,16,17,18,19,20,21,22,23,24,25,26")
                              : QStringLiteral("11,12,13,14");
    const QString baseLabel = sales ? MFilterDbView::tr("Sprzedawca bazowy") : MFilterDbView::tr("Kontrahent bazowy");
    const QString deleted = MFilterDbView::tr("[usunięty]");
    const QString payment = MFilterDbView::tr("Kontrola płatności");
    // Overdue by the same local date as the list's payment text and its filter.
    const QString today = MInvoiceListSql::localToday();

    return group(baseLabel, 1) + QStringLiteral("IFNULL(s2.firm, '") + deleted
        + QStringLiteral("') || ' [id ' || i.id_seller_base || ']' || '\t' || i.id_seller_base FROM invoice i "
                         "LEFT JOIN seller s2 ON s2.id = i.id_seller_base WHERE i.id_seller_base > 0 AND "
                         "i.invoice_kind IN (")
        + originals + QStringLiteral(") GROUP BY i.id_seller_base ")
        + QStringLiteral("UNION ") + group(baseLabel, 1) + QStringLiteral("IFNULL(s2.firm, '") + deleted
        + QStringLiteral("') || ' [id ' || i2.id_seller_base || ']' || '\t' || i2.id_seller_base FROM invoice i "
                         "LEFT JOIN invoice i2 ON i2.id = i.id_parent_invoice LEFT JOIN seller s2 ON s2.id = "
                         "i2.id_seller_base WHERE i2.id_seller_base > 0 AND i.invoice_kind IN (")
        + copies + QStringLiteral(") GROUP BY i2.id_seller_base ")
        + QStringLiteral("UNION ALL ") + group(MFilterDbView::tr("Rodzaj dokumentu"), 2)
        + QStringLiteral("IFNULL(ik.basic_form || CASE WHEN ik.second_form = '' THEN '' ELSE ' (' || "
                         "ik.second_form || ')' END, '")
        + MFilterDbView::tr("[brak]")
        + QStringLiteral("') || '\t' || i.invoice_kind FROM invoice i LEFT JOIN invoice_kind ik ON ik.id = "
                         "i.invoice_kind WHERE i.invoice_kind IN (")
        + all + QStringLiteral(") GROUP BY i.invoice_kind ")
        + QStringLiteral("UNION ALL ") + group(payment, 4) + QStringLiteral("'") + MFilterDbView::tr("anulowane")
        + QStringLiteral("' || '\t' || 4 FROM invoice i WHERE i.invoice_kind IN (") + all
        + QStringLiteral(") AND i.is_cancelled = 1 GROUP BY i.is_cancelled ")
        + QStringLiteral("UNION ALL ") + group(payment, 4) + QStringLiteral("CASE WHEN i.is_payed = '1' THEN '")
        + MFilterDbView::tr("zapłacone") + QStringLiteral("' ELSE '") + MFilterDbView::tr("niezapłacone")
        + QStringLiteral("' END || '\t' || i.is_payed FROM invoice i WHERE i.invoice_kind IN (") + originals
        + QStringLiteral(") AND (i.is_payed = 1 OR (i.is_payed = 0 AND i.date_pay >= ") + today
        + QStringLiteral(")) AND i.is_cancelled = 0 GROUP BY i.is_payed ")
        + QStringLiteral("UNION ALL ") + group(payment, 4) + QStringLiteral("'") + MFilterDbView::tr("przeterminowane")
        + QStringLiteral("' || '\t' || 3 FROM invoice i WHERE i.invoice_kind IN (") + originals
        + QStringLiteral(") AND i.is_payed = 0 AND i.date_pay < ") + today
        + QStringLiteral(" AND i.is_cancelled = 0 GROUP BY 1 ")
        + QStringLiteral("UNION ALL ") + group(payment, 4) + QStringLiteral("'") + MFilterDbView::tr("nie dotyczy")
        + QStringLiteral("' || '\t' || 2 FROM invoice i WHERE i.invoice_kind IN (") + copies
        + QStringLiteral(") AND i.is_cancelled = 0 GROUP BY 1 ")
        + QStringLiteral("UNION ALL ") + group(MFilterDbView::tr("Data wystawienia dokumentu"), 3)
        + QStringLiteral("strftime('%Y', i.date_put) || '\t' || strftime('%Y', i.date_put) || '\n' || ")
        + sqlMonthNameCase(QStringLiteral("i.date_put"))
        + QStringLiteral(" || '\t' || strftime('%m', i.date_put) FROM invoice i WHERE i.invoice_kind IN (") + all
        + QStringLiteral(") GROUP BY strftime('%Y', i.date_put), strftime('%m', i.date_put) ");
}

} // namespace

QString MFilterDbView::catalogQuery() const
{
    // "[bez katalogu]" belongs to the SQL and is not translated.
    const QString name = m_owner ? m_owner->accessibleName() : QString();
    if (name == QLatin1String("MBuyerDbView"))
        return QStringLiteral("SELECT '[bez katalogu]' || ' (' || (SELECT COUNT(b.id) FROM buyer b WHERE b.id NOT "
                              "IN (SELECT bcj.id_buyer FROM buyer_catalog_join bcj GROUP BY bcj.id_buyer)) || ')', 0 "
                              "UNION ALL SELECT * FROM (SELECT bc.name || ' (' || COUNT(bcj.id) || ')', bc.id  FROM "
                              "buyer_catalog bc LEFT JOIN buyer_catalog_join bcj ON bcj.id_catalog = bc.id GROUP BY "
                              "bc.id ORDER BY bc.name ")
            + MSqlitePolish::sqlCollate + QStringLiteral(") ");
    if (name == QLatin1String("MProductDbView"))
        return QStringLiteral("SELECT '[bez katalogu]' || ' (' || (SELECT COUNT(p.id) FROM product p WHERE p.id NOT "
                              "IN (SELECT pcj.id_product FROM product_catalog_join pcj GROUP BY pcj.id_product)) || "
                              "')', 0 UNION ALL SELECT * FROM (SELECT pc.name || ' (' || COUNT(pcj.id) || ')', pc.id  "
                              "FROM product_catalog pc LEFT JOIN product_catalog_join pcj ON pcj.id_catalog = pc.id "
                              "GROUP BY pc.id ORDER BY pc.name ")
            + MSqlitePolish::sqlCollate + QStringLiteral(") ");
    return QString();
}

QString MFilterDbView::filterTreeQuery() const
{
    const QString name = m_owner ? m_owner->accessibleName() : QString();
    const QString none = tr("[brak]");

    if (name == QLatin1String("MBuyerDbView"))
        return QLatin1Char(' ') + group(tr("Województwo"), 1) + QStringLiteral("IFNULL(p.name, '") + none
            + QStringLiteral("') || '\t' || b.id_province FROM buyer b LEFT JOIN province p ON p.id = b.id_province "
                             "GROUP BY p.id ");
    if (name == QLatin1String("MSellerDbView"))
        return group(tr("Województwo"), 1) + QStringLiteral("IFNULL(p.name, '") + none
            + QStringLiteral("') || '\t' || s.id_province FROM seller s LEFT JOIN province p ON p.id = s.id_province "
                             "GROUP BY p.id ");
    if (name == QLatin1String("MProductDbView"))
        return group(tr("Podstawa cenowa"), 1)
            + QStringLiteral("CASE WHEN p.count_from_netto = 1 THEN 'netto' ELSE 'brutto' END || '\t' || "
                             "p.count_from_netto FROM product p GROUP BY p.count_from_netto ")
            + QStringLiteral("UNION ALL ") + group(tr("VAT"), 2)
            + QStringLiteral("p.vat_text || '\t' || v.id FROM product p LEFT JOIN vat v ON v.name = p.vat_text "
                             "GROUP BY p.vat_text ");
    if (name == QLatin1String("MCurrencyRatingDbView"))
        return group(tr("Bank"), 1) + QStringLiteral("CASE WHEN length(cr.bank_name) > 0 THEN cr.bank_name ELSE '")
            + none
            + QStringLiteral("' END || '\t' || cr.bank_name FROM currency_rating cr GROUP BY cr.bank_name ")
            + QStringLiteral("UNION ALL ") + group(tr("Waluta"), 2)
            + QStringLiteral("c.symbol || '\t' || cr.id_currency_from FROM currency_rating cr LEFT JOIN currency c ON "
                             "c.id = cr.id_currency_from GROUP BY cr.id_currency_from ")
            + QStringLiteral("UNION ALL ") + group(tr("Data notowania"), 3)
            + QStringLiteral("strftime('%Y', cr.rating_date) || '\n' || ") + sqlMonthNameCase(QStringLiteral("cr.rating_date"))
            + QStringLiteral(" || '\t' || strftime('%m', cr.rating_date) FROM currency_rating cr GROUP BY "
                             "strftime('%Y', cr.rating_date), strftime('%m', cr.rating_date) ");
    if (name == QLatin1String("MInvoiceDbView_Sell"))
        return documentTreeQuery(true);
    if (name == QLatin1String("MInvoiceDbView_Buy"))
        return documentTreeQuery(false);
    return QString();
}
