#include "MInvoiceFixture.h"

#include "MTestDatabase.h"

#include <QDate>
#include <QStringList>

QString MInvoiceFixture::day(int days)
{
    return QDate::currentDate().addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
}

bool MInvoiceFixture::write()
{
    const QString yesterday = day(-1);
    const QString fiveDaysAgo = day(-5);
    const QString today = day(0);
    const QString nextWeek = day(7);
    const QStringList statements = {
        "DELETE FROM invoice",
        "DELETE FROM invoice_buyer",
        "DELETE FROM invoice_seller",
        "DELETE FROM seller",
        "DELETE FROM invoice_product",
        "DELETE FROM invoice_product_misc",
        "DELETE FROM invoice_summary_vat",
        "INSERT INTO seller (id, firm, time_create, time_modify) VALUES (1, 'Morva', 0, 0)",
        "INSERT INTO invoice_seller (id, firm, time_create, time_modify) VALUES (1, 'Morva kopia', 0, 0)",
        "INSERT INTO invoice_buyer (id, firm, nip, permit_person_pesel, time_create, time_modify) VALUES "
        "(1, 'Ćma sp. z o.o.', '123-456-78-90', '', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), (2, 'Alfa', '111-111-11-11', '', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
        "(3, 'Beta dodatkowy', '987 654 32 10', '', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), (4, 'Gamma', '', '8001 0112 345', 0, 0)",
        // id, kind, parent, number, index, put, pay, is_payed, date_payed, cancelled, netto, brutto, currency,
        // buyer, buyer2, base seller
        QStringLiteral(
            "INSERT INTO invoice (id, invoice_kind, id_parent_invoice, invoice_index_string, invoice_index, date_put, "
            "date_sell, date_pay, is_payed, date_payed, is_cancelled, global_netto, global_vat, global_brutto, "
            "global_netto_part, global_vat_part, global_brutto_part, id_currency, id_buyer, id_buyer2, "
            "id_seller, id_seller_base, id_pay_form, place_put, time_create, time_modify) VALUES "
            "(1, 0, 0, 'FV 1/2023', 1, '2023-05-10 00:00:00', '2023-05-10 00:00:00', '2023-05-24 00:00:00', 1, "
            "'2023-05-20', 0, 813.01, 186.99, 1000, 0, 0, 0, 0, 1, 0, 1, 1, 1, 'Kraków', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(2, 2, 1, 'FK 1/2023', 1, '2023-06-01 00:00:00', '2023-06-01 00:00:00', '2023-06-15 00:00:00', 1, "
            "NULL, 0, 650.41, 149.59, 800, 0, 0, 0, 0, 1, 0, 1, 1, 1, 'Kraków', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(3, 5, 1, '', 0, '2024-01-15 00:00:00', '2024-01-15 00:00:00', '2024-01-15 00:00:00', 0, NULL, 0, "
            "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(4, 6, 2, '', 0, '2024-01-16 00:00:00', '2024-01-16 00:00:00', '2024-01-16 00:00:00', 0, NULL, 1, "
            "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(5, 0, 0, 'FV 50%/2024', 2, '2024-02-01 00:00:00', '2024-02-01 00:00:00', '%1 00:00:00', 0, NULL, 0, "
            "40.65, 9.35, 50, 0, 0, 0, 0, 2, 3, 1, 1, 1, 'Kraków', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(6, 0, 0, 'FV 3/2024', 10, '2024-02-01 00:00:00', '2024-02-01 00:00:00', '%2 00:00:00', 0, NULL, 0, "
            "243.9, 56.1, 300, 0, 0, 0, 1, 4, 0, 1, 1, 1, 'Kraków', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(7, 0, 0, 'FV 2/2024', 3, '2024-03-01 00:00:00', '2024-03-01 00:00:00', '%3 00:00:00', 0, NULL, 0, "
            "81.3, 18.7, 100, 0, 0, 0, 0, 2, 0, 1, 2, 1, 'Kraków', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(8, 19, 0, 'FZ 1/2024', 1, '2024-03-05 00:00:00', '2024-03-05 00:00:00', '2024-03-19 00:00:00', 1, "
            "NULL, 1, 406.5, 93.5, 500, 162.6, 37.4, 200, 0, 2, 0, 1, 1, 1, 'Kraków', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(9, 11, 0, 'RR 1/2024', 1, '2024-04-01 00:00:00', '2024-04-01 00:00:00', '2024-04-15 00:00:00', 1, "
            "'2024-04-10', 0, 93.46, 6.54, 100, 0, 0, 0, 0, 1, 0, 1, 1, 1, 'Kraków', '2024-01-01 10:00:00', '2024-01-01 10:00:00'), "
            "(10, 20, 8, 'FZK 1/2024', 1, '2024-04-02 00:00:00', '2024-04-02 00:00:00', '%4 00:00:00', 0, NULL, 0, "
            "325.2, 74.8, 400, 81.3, 18.7, 100, 0, 2, 0, 1, 1, 1, 'Kraków', '2024-01-01 10:00:00', '2024-01-01 10:00:00')")
            .arg(yesterday, fiveDaysAgo, today, nextWeek),
        // Paid in the form's words: 1 (so its duplicate 3) in cash, 9 without a form.
        "UPDATE invoice SET payed = 1 WHERE id = 1",
        "UPDATE invoice SET payed = 1, id_pay_form = 0 WHERE id = 9",
        "INSERT INTO invoice_product (id, name, unit, vat_text, time_create, time_modify) VALUES "
        "(1, 'Zasuwa', 'szt.', '23%', 0, 0), (2, 'Śruba', 'szt.', '23%', 0, 0), (3, 'Łożysko', 'kg', '23%', 0, 0), "
        "(4, 'Usługa', 'h', '23%', 0, 0), (5, 'Usługa', 'h', '23%', 0, 0), (6, 'Zboże', 't', '7%', 0, 0)",
        "INSERT INTO invoice_product_misc (id, id_invoice, id_product, amount, netto_price, vat_price, brutto_price) "
        "VALUES (1, 1, 1, 10, 813.01, 186.99, 1000), (2, 2, 2, 8, 650.41, 149.59, 800), "
        "(3, 5, 3, 1.5, 40.65, 9.35, 50), (4, 8, 4, 5, 406.5, 93.5, 500), (5, 10, 5, 4, 325.2, 74.8, 400), (6, 9, 6, 2, 93.46, 6.54, 100)",
        // VAT rate 23% of table vat; id 1 in the schema script's rates is looked up by name below.
        "INSERT INTO invoice_summary_vat (id_invoice, id_vat, netto_price, vat_price, brutto_price, netto_part_price, "
        "vat_part_price, brutto_part_price) SELECT x.id, (SELECT id FROM vat WHERE name = '23%'), x.n, x.v, x.b, "
        "x.np, x.vp, x.bp FROM (SELECT 1 AS id, 813.01 AS n, 186.99 AS v, 1000 AS b, 0 AS np, 0 AS vp, 0 AS bp "
        "UNION ALL SELECT 2, 650.41, 149.59, 800, 0, 0, 0 UNION ALL SELECT 5, 40.65, 9.35, 50, 0, 0, 0 "
        "UNION ALL SELECT 6, 243.9, 56.1, 300, 0, 0, 0 UNION ALL SELECT 8, 406.5, 93.5, 500, 162.6, 37.4, 200 "
        "UNION ALL SELECT 10, 325.2, 74.8, 400, 81.3, 18.7, 100) x",
    };
    for (const QString& sql : statements) {
        if (!MTestDatabase::exec(sql))
            return false;
    }
    return true;
}
