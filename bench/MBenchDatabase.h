#pragma once

#include <QList>
#include <QString>

// Fills a new database with realistic data at scale for the benchmarks:
// sellers with a logo, buyers (some with a contact address), products,
// closing texts, exchange rates and documents of mixed kinds with 1 to 20
// lines each (duplicates, as the program writes them, with none) and the
// copies they refer to. The rows are made by SQL statements over a number
// series, not one by one, so that a database of 100 000 documents takes
// seconds; the documents are then numbered by the program's numbering rules
// and their amounts, VAT summaries and totals computed by its recomputation,
// so that they hold what the program itself would store.
class MBenchDatabase
{
public:
    struct Size
    {
        int documents = 100000;
        int buyers = 10000;
        int products = 5000;
    };

    // Creates `path` (which must not exist) with the schema script, fills it
    // and leaves it as the program leaves it after a start: version 2.53,
    // options with their defaults (folders under `pathDocuments`),
    // fingerprints up to date. Uses and then removes the default connection.
    // False with a message on stderr when a statement fails.
    static bool generate(const QString& path, const QString& pathDocuments, const Size& size);

    // The first `count` PLN documents, by id, of the kinds the JPK files take.
    static QList<int> jpkDocumentIds(int count);

    // The first plain PLN sales invoice with exactly `lines` lines, or 0.
    static int invoiceWithLines(int lines);
    // Appends copies of the invoice's own lines until it has `lines` of them and
    // recomputes its amounts, as a save of those lines would store them.
    static bool growInvoice(int idInvoice, int lines);
};
