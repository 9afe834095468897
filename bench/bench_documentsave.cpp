// Saving a document of 20 and of 200 lines into a generated database, as a
// new document and re-saved unchanged: snapshots, document row, lines and
// amounts in one transaction. Prints the median of several saves in
// milliseconds and leaves the saved documents in the database, so that their
// amounts can be checked afterwards. The documents mix the kinds, currencies,
// price bases, discounts and VAT rates.
//
// Usage: bench_documentsave [FILE] [runs]
//        without FILE a database of 10 000 documents is generated in a
//        temporary folder; FILE is changed in place.

#include "MBenchFigures.h"

#include "core/MDbOpener.h"
#include "data/MDocumentSave.h"
#include "MBenchDatabase.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QElapsedTimer>
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
    for (int lines : {20, 200}) {
        QVector<double> fresh;
        QVector<double> again;
        for (int run = 0; run < runs; ++run) {
            MDocumentSaveState state = compose(lines, mixes[run % 6], run + 1);
            int id = 0;
            fresh << milliseconds(state, &id);
            state.idInvoice = id;
            again << milliseconds(state, &id);
        }
        std::printf("%3d lines: new %.1f ms, re-saved %.1f ms\n", lines, median(fresh), median(again));
    }
    std::printf("aims: under 300 ms for 200 lines, 200 lines within 12 x 20 lines\n");
    MBenchFigures::closeConnection();
    return 0;
}
