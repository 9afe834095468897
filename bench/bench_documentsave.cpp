// Saving a document of 20 and of 200 lines into a generated database, as a
// new document and re-saved unchanged: snapshots, document row, lines and
// amounts in one transaction. Prints the median of several saves in
// milliseconds and leaves the saved documents in the database, so that their
// amounts can be checked afterwards. The documents mix the kinds, currencies,
// price bases, discounts and VAT rates. Beside each figure: the same rows
// inserted bare, the floor of any save.
//
// Then, for a last save: every statement that stepped through more rows of a
// table in a full scan than the document has lines, with that count, and the
// plan of every statement of the document's recomputation that scans a table
// that is not its own working table. Neither list should hold anything.
//
// Usage: bench_documentsave [FILE] [runs]
//        without FILE a database of 10 000 documents is generated in a
//        temporary folder; FILE is changed in place.

#include "MBenchFigures.h"

#include "core/MDbOpener.h"
#include "data/MDocumentSave.h"
#include "data/MRecompute.h"
#include "MBenchDatabase.h"
#include "MTestFullScans.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <cstdio>


using MBenchFigures::median;

namespace {

int exec(const QString& sql)
{
    QSqlQuery query;
    if (!query.exec(sql)) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(sql));
        std::exit(1);
    }
    return query.lastInsertId().toInt();
}

struct Mix
{
    int kind;
    bool grossBase;
    int currency; // 0: PLN
    bool amountDiscount;
};

// A document as the editor leaves it in the working tables: its seller, buyer,
// rating and `lines` lines over products of several rates.
MDocumentSaveState compose(int lines, const Mix& mix, int serial)
{
    MDocumentSaveState state;
    state.kind = mix.kind;
    state.grossBase = mix.grossBase;
    state.amountDiscount = mix.amountDiscount;
    state.idCurrency = mix.currency;
    state.number = serial;
    state.datePut = QDate(2024, 5, 10);
    state.dateSell = state.datePut;
    state.datePay = state.datePut.addDays(14);
    state.payForm = QStringLiteral("przelew");
    state.buyerKind = QStringLiteral("Nabywca");
    state.bruttoPart = QStringLiteral("100,00");
    state.sellerKey = exec(QStringLiteral("INSERT INTO __invoice_seller (id, firm, nip, city, "
                                          "invoice_index_format_text, time_create, time_modify) VALUES (1, "
                                          "'Sprzedawca', '5260250274', 'Warszawa', '[nr]/[rrrr]', '', '')"));
    const int address = exec(QStringLiteral("INSERT INTO __invoice_buyer_address (address, city) VALUES ('Długa 2', "
                                            "'Kraków')"));
    state.buyerKey = exec(QStringLiteral("INSERT INTO __invoice_buyer (id, firm, id_address_contact, time_create, "
                                         "time_modify) VALUES (3, 'Nabywca %1', %2, '', '')")
                              .arg(serial % 7)
                              .arg(address));
    if (mix.currency > 0)
        state.ratingKey = exec(QStringLiteral("INSERT INTO __invoice_currency_rating (id, bank_name, id_currency_from, "
                                              "rating_date, currency_amount_from, currency_value, time_create, "
                                              "time_modify) VALUES (2, 'NBP', %1, '2024-05-09', %2, '%3', '', '')")
                                   .arg(mix.currency)
                                   .arg(mix.currency == 3 ? 100 : 1)
                                   .arg(mix.currency == 3 ? QStringLiteral("2.6543") : QStringLiteral("4.3123")));
    static const int rates[] = {23, 8, 5, 0};
    for (int i = 0; i < lines; ++i) {
        const int rate = rates[i % 4];
        const int product = exec(QStringLiteral("INSERT INTO __invoice_product (id, name, netto_price, brutto_price, "
                                                "vat, vat_text, count_from_netto, profit_brutto, time_create, "
                                                "time_modify) VALUES (%1, 'Towar %1', '%2', '%2', %3, '%3%', %4, "
                                                "'1.50', '', '')")
                                     .arg(i % 50)
                                     .arg(QString::number(1.25 + (i % 50) * 3.17, 'f', 2))
                                     .arg(rate)
                                     .arg(mix.grossBase ? 0 : 1));
        state.lines << exec(QStringLiteral("INSERT INTO __invoice_product_misc (id, id_product, amount, reduct, "
                                           "reduct_percent) VALUES (0, %1, '%2', '%3', %4)")
                                .arg(product)
                                .arg(1 + i % 5)
                                .arg(mix.amountDiscount ? QStringLiteral("0.10") : QString::number(i % 3 * 5))
                                .arg(mix.amountDiscount ? 0 : 1));
    }
    // The second price follows from the basis, as the product dialog makes it.
    exec(QStringLiteral("UPDATE __invoice_product SET brutto_price = round_cents(netto_price * (1.0 + vat / 100.0)) "
                        "WHERE count_from_netto = 1"));
    exec(QStringLiteral("UPDATE __invoice_product SET netto_price = round_cents(brutto_price / (1.0 + vat / 100.0)) "
                        "WHERE count_from_netto = 0"));
    return state;
}

double milliseconds(const MDocumentSaveState& state, int* id)
{
    QElapsedTimer timer;
    timer.start();
    const MDocumentSave::Result result = MDocumentSave::save(state);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!result.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.errorText));
        std::exit(1);
    }
    *id = result.id;
    return ms;
}

// The rows of a saved document inserted bare, in one transaction, as the
// floor of a save: the document row, a product snapshot and a line for each
// of `lines` lines and a summary row for each of their four rates, by
// prepared statements with bound values, nothing looked up or computed. The
// rows are deleted again afterwards.
double bareMilliseconds(int lines)
{
    QSqlQuery document;
    document.prepare(QStringLiteral(
        "INSERT INTO invoice (id_seller, id_buyer, invoice_index, invoice_index_string, date_put, date_sell, "
        "date_pay, global_netto, global_brutto, time_create, time_modify) VALUES (1, 1, :index, :text, "
        "'2024-05-10 00:00:00', '2024-05-10 00:00:00', '2024-05-24 00:00:00', :netto, :brutto, "
        "current_timestamp, current_timestamp)"));
    QSqlQuery product;
    product.prepare(QStringLiteral(
        "INSERT INTO invoice_product (name, symbol, code, unit, netto_price, brutto_price, vat, reduct, id_currency, "
        "vat_text, vat_kind, count_from_netto, time_create, time_modify, additional, id_md5, profit_brutto) VALUES "
        "(:name, '', '', 'szt.', :netto, :brutto, 23, 0, 0, '23%', 0, 1, current_timestamp, current_timestamp, '', "
        ":md5, 0)"));
    QSqlQuery line;
    line.prepare(QStringLiteral(
        "INSERT INTO invoice_product_misc (id_invoice, id_product, amount, reduct, id_product_base, reduct_percent, "
        "netto_price, brutto_price, vat_price, status, netto_rating_price, brutto_rating_price, vat_rating_price, "
        "position_hide) VALUES (:invoice, :product, 2, 0, 0, 1, :netto, :brutto, :vat, 0, :netto, :brutto, :vat, 0)"));
    QSqlQuery summary;
    summary.prepare(QStringLiteral(
        "INSERT INTO invoice_summary_vat (id_invoice, id_vat, netto_price, brutto_price, vat_price, "
        "netto_rating_price, brutto_rating_price, vat_rating_price) VALUES (:invoice, :vat, :netto, :brutto, "
        ":amount, :netto, :brutto, :amount)"));
    const auto run = [](QSqlQuery& query) {
        if (!query.exec()) {
            std::fprintf(stderr, "bare insert failed: %s\n", qPrintable(query.lastQuery()));
            std::exit(1);
        }
        return query.lastInsertId().toInt();
    };

    QElapsedTimer timer;
    timer.start();
    exec(QStringLiteral("begin"));
    document.bindValue(QStringLiteral(":index"), lines);
    document.bindValue(QStringLiteral(":text"), QStringLiteral("%1/2024").arg(lines));
    document.bindValue(QStringLiteral(":netto"), 100.0);
    document.bindValue(QStringLiteral(":brutto"), 123.0);
    const int id = run(document);
    int firstProduct = 0;
    for (int i = 0; i < lines; ++i) {
        const double netto = 1.25 + i * 3.17;
        product.bindValue(QStringLiteral(":name"), QStringLiteral("Towar %1").arg(i));
        product.bindValue(QStringLiteral(":netto"), netto);
        product.bindValue(QStringLiteral(":brutto"), netto * 1.23);
        product.bindValue(QStringLiteral(":md5"), QStringLiteral("%1").arg(i, 32, 10, QLatin1Char('0')));
        const int idProduct = run(product);
        if (i == 0)
            firstProduct = idProduct;
        line.bindValue(QStringLiteral(":invoice"), id);
        line.bindValue(QStringLiteral(":product"), idProduct);
        line.bindValue(QStringLiteral(":netto"), 2 * netto);
        line.bindValue(QStringLiteral(":brutto"), 2 * netto * 1.23);
        line.bindValue(QStringLiteral(":vat"), 2 * netto * 0.23);
        run(line);
    }
    for (int rate = 0; rate < 4; ++rate) {
        summary.bindValue(QStringLiteral(":invoice"), id);
        summary.bindValue(QStringLiteral(":vat"), rate);
        summary.bindValue(QStringLiteral(":netto"), 100.0);
        summary.bindValue(QStringLiteral(":brutto"), 123.0);
        summary.bindValue(QStringLiteral(":amount"), 23.0);
        run(summary);
    }
    exec(QStringLiteral("commit"));
    const double ms = timer.nsecsElapsed() / 1e6;

    exec(QStringLiteral("begin"));
    for (const QString& table : {QStringLiteral("invoice_product_misc"), QStringLiteral("invoice_summary_vat")})
        exec(QStringLiteral("DELETE FROM %1 WHERE id_invoice = %2").arg(table).arg(id));
    exec(QStringLiteral("DELETE FROM invoice_product WHERE id >= %1").arg(firstProduct));
    exec(QStringLiteral("DELETE FROM invoice WHERE id = %1").arg(id));
    exec(QStringLiteral("commit"));
    return ms;
}

// The steps of the plans of the document's recomputation that scan a table
// other than its working tables, each statement planned just before it runs
// (it needs the working tables of the statements before it). The statements'
// own subqueries (numbered, or named ratio and sums) hold the document's rows.
QStringList recomputeScans(int idInvoice)
{
    QStringList scans;
    QSqlQuery query;
    for (const QString& statement : MRecompute::statements(idInvoice)) {
        if (query.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + statement)) {
            while (query.next()) {
                const QString step = query.value(3).toString();
                static const QRegularExpression ownRows(
                    QStringLiteral("^SCAN (\\(subquery-\\d+\\)|ratio|sums)|recompute_"));
                if (step.startsWith(QLatin1String("SCAN ")) && !ownRows.match(step).hasMatch())
                    scans << step + QStringLiteral(" in: ") + statement.simplified().left(100);
            }
        }
        query.exec(statement);
    }
    return scans;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    QTemporaryDir dir;
    const QStringList args = app.arguments();
    QString file = args.value(1);
    const int runs = qMax(1, args.value(2, QStringLiteral("5")).toInt());
    if (file.isEmpty()) {
        file = dir.filePath(QStringLiteral("Invoice.db3"));
        MBenchDatabase::Size size;
        size.documents = 10000;
        if (!MBenchDatabase::generate(file, dir.path() + QStringLiteral("/"), size))
            return 1;
    }
    if (!MDbOpener::createConnection(file)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(file));
        return 1;
    }

    static const Mix mixes[] = {{0, false, 0, false}, {0, true, 2, true},  {19, true, 0, false},
                                {27, true, 0, false}, {2, false, 3, true}, {23, false, 2, false}};
    QSqlQuery count(QStringLiteral("SELECT COUNT(*) FROM invoice"));
    const int documents = count.next() ? count.value(0).toInt() : 0;
    count.finish();
    for (int lines : {20, 200}) {
        QVector<double> fresh;
        QVector<double> again;
        QVector<double> bare;
        for (int run = 0; run < runs; ++run) {
            MDocumentSaveState state = compose(lines, mixes[run % 6], run + 1);
            int id = 0;
            fresh << milliseconds(state, &id);
            state.idInvoice = id;
            again << milliseconds(state, &id);
            bare << bareMilliseconds(lines);
        }
        std::printf("%d documents, %3d lines: new %.1f ms, re-saved %.1f ms; its rows inserted bare %.1f ms "
                    "(new %.2f x, re-saved %.2f x bare)\n",
                    documents, lines, median(fresh), median(again), median(bare), median(fresh) / median(bare),
                    median(again) / median(bare));
    }
    std::printf("aims: 200 lines within 3 x bare; the same figures at 100 000 documents within 1.3 x those at "
                "10 000\n");

    const int lines = 200;
    MDocumentSaveState state = compose(lines, mixes[0], runs + 1);
    int id = 0;
    QStringList scanned;
    {
        MTestFullScans scans(lines);
        milliseconds(state, &id);
        state.idInvoice = id;
        milliseconds(state, &id);
        scanned = scans.found();
    }
    std::printf("statements of a new and a re-saved %d-line document that scanned more than %d rows: %s\n", lines,
                lines, scanned.isEmpty() ? "none" : "");
    for (const QString& statement : qAsConst(scanned))
        std::printf("  %s\n", qPrintable(statement.left(160)));
    const QStringList planned = recomputeScans(id);
    std::printf("scans of a table in the plans of its recomputation: %s\n", planned.isEmpty() ? "none" : "");
    for (const QString& step : planned)
        std::printf("  %s\n", qPrintable(step));
    MBenchFigures::closeConnection();
    return 0;
}
