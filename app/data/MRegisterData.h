#pragma once

#include <QDate>
#include <QStringList>

// The register data of a period: one run of __invoice_vat_summary_id and the
// rows of __invoice_vat_summary carrying its id, one per document and VAT
// rate, on the default connection.
//
// Counted are the VAT, VAT-MP, advance, final and margin invoices and their
// corrections issued by the given sellers between the two dates (both whole
// days included), in PLN, not cancelled, with their percentage and exempt
// rates only. A correction counts as its difference to the document it
// corrects; a cancelled parent contributes nothing.
class MRegisterData
{
public:
    // Computes a new run in one transaction and returns its id, or 0 when
    // no run could be created or a statement failed; then nothing of the run
    // is kept. Seller ids that are not whole numbers are ignored; with none
    // left no document is listed.
    static int build(const QDate& from, const QDate& to, const QStringList& sellerIds);
};
