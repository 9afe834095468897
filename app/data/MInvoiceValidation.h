#pragma once

#include "MDocumentSave.h"

#include <QDate>
#include <QString>

// The checks a document of the invoice editor must pass before it is saved,
// on the default connection and without widgets. Names, symbols and texts of
// the form are bound into the look-ups, never pasted into the SQL.
namespace MInvoiceValidation {

// What the checks read besides the document as it would be saved.
struct Figures
{
    int numberingPeriod = 0;   // of the seller copy: 1 month, 2 year, else none
    double grossTotal = 0.0;   // of the lines as last summed
    double parentGrossTotal = 0.0; // of the corrected document
    double advances = 0.0;     // advances paid on the joined documents
};

// id_invoice_index_format of the seller copy; 0 without one.
int numberingPeriod(int sellerKey);
// The non-duplicate kind named `basicForm`, or `current` when there is none.
int kindByName(const QString& basicForm, int current);
// The currency with `symbol`, or `current` when there is none.
int currencyBySymbol(const QString& symbol, int current);
// The payment date as the save stores it: issue date plus the term for the
// forms with a term in days when that box is ticked, else the chosen date.
QDate paymentDate(const MDocumentSaveState& state);

// The message of the first check that fails, empty when the document may be saved.
QString firstProblem(const MDocumentSaveState& state, const Figures& figures);

} // namespace MInvoiceValidation
