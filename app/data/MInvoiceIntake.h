#pragma once

#include <QList>
#include <QString>

// Records taken into the invoice editor's working tables as lines and joined
// documents, on the default connection and without widgets.
namespace MInvoiceIntake {

// What a new line takes from the document.
struct LineDefaults
{
    int idInvoice = 0;          // written into the line; 0 for a new document
    int docKind = 0;            // a bill (9) makes its product copies exempt and gross based
    double buyerReduct = 0.0;   // the buyer copy's discount, for percent discounts
    bool amountDiscount = false; // new lines get an amount discount of 0 instead
};

// Copies the buyer `id` with its contact address; the copy's
// id_address_contact then holds the address copy's key, or stays as it was
// without a contact address. Returns the buyer copy's key, 0 when none.
int takeBuyer(int id);

// Copies the products `ids` and makes a line of each, in list order, in one
// transaction: amount 1, the default discount and the line's values. With
// `replaceKey` above 0 only the first product replaces the product of that
// line, which keeps its key. Returns the keys of the lines made or replaced;
// a product that cannot be copied makes no line. When a statement fails, or
// the line to replace is gone, nothing is written and the list is empty.
QList<int> takeProducts(const QList<int>& ids, const LineDefaults& defaults, int replaceKey = 0);

// Net, gross and VAT of line `key` from its product copy, amount and discount.
// Returns empty text when the statements ran, else the database's reason.
QString updateLineValues(int key);

struct JoinResult
{
    QList<int> keys;  // join rows made or replaced, in list order
    int refused = 0;  // documents that are no advance invoices (or their corrections)
};

// Joins the documents `ids` to document `idInvoice` in one transaction. Only
// advance invoices and their corrections are joined; a document already
// joined by one of `joinedKeys` (the join rows the editor holds) or given
// twice, and the edited document itself, are left out without a word. With
// `replaceKey` above 0 only the first document replaces that join row's.
// When a statement fails nothing is joined and the result is empty.
JoinResult takeJoins(const QList<int>& ids, int idInvoice, const QList<int>& joinedKeys, int replaceKey = 0);

} // namespace MInvoiceIntake
