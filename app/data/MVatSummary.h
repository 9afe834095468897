#pragma once

#include <QList>

// The VAT summary of chosen documents for a statement: one run of
// __invoice_vat_summary_id and the rows of __invoice_vat_summary carrying its
// id, one per document and VAT rate, on the default connection.
//
// Only documents in PLN count. Advance and final documents and their
// corrections count by their part amounts; a correction (kinds 2, 4, 16, 20,
// 24, 28) counts as its difference to the document it corrects, per rate
// name. A line whose VAT text has no rate row keeps its amounts under an
// empty rate name, kind 0 and value 0.
class MVatSummary
{
public:
    // Writes a new run in one transaction and returns its id; 0 when `ids` is
    // empty (nothing is written) or no run could be created.
    static int build(const QList<int>& ids);

    // Deletes the rows of the run `runId`, made here or by MRegisterData,
    // once nothing shows it any more, so that the scratch tables do not grow
    // with every statement and register built. Nothing happens for 0.
    static void drop(int runId);
};
