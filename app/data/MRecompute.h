#pragma once

#include <QString>
#include <QStringList>

// The derived amounts of the stored documents, computed in SQL on the
// default connection: the second price of every product and product
// snapshot from its basis price, the values of every document line, the VAT
// summary per document and rate, the document totals and, for advance and
// final invoices, the part amounts. Every amount is rounded as
// round(x + 0.0000000001, 2), through round_cents(x) (MRoundCents), which
// the connection must have.
//
// The data repair recomputes the whole database; the invoice editor
// recomputes the document it has just written, with the same statements, so
// that a saved document and a repaired one never differ by a cent.
//
// Neither call opens a transaction: the caller runs it between its own
// "begin" and "commit". A failing statement is skipped and the next one
// runs; the result tells whether all of them succeeded.
class MRecompute
{
public:
    struct Result
    {
        int failed = 0;     // statements that failed
        QString firstError; // the database's message of the first failure
        bool ok() const { return failed == 0; }
    };

    // Every product, product snapshot, line, summary and document.
    static Result recomputeAll();

    // One saved document: its lines, summary rows and totals, from the basis
    // prices of its product snapshots. The snapshots are left as they are
    // (they are fingerprinted and may be shared with other documents), and so
    // are the products of the catalog.
    static Result recomputeDocument(int idInvoice);

    // The statements of recomputeDocument (idInvoice > 0) or of recomputeAll
    // (0), in the order in which they run; each may need the tables that the
    // ones before it make.
    static QStringList statements(int idInvoice);

private:
    static Result run(int idInvoice);
};
