#pragma once

#include <QString>

// Fixed sets of document kinds (rows of table invoice_kind) that the
// invoice editor shapes its form by.
namespace MDocKinds {

// Kinds whose document corrects another one.
bool isCorrection(int kind);
// The corrections of sales documents (all of the above but the RR correction),
// whose VAT rows count as the difference to the corrected document.
bool isSalesCorrection(int kind);
// The purchase documents (RR invoice and its correction): one party page each.
bool isPurchase(int kind);
// Margin documents: VAT hidden, gross prices and row summing locked.
bool isMargin(int kind);
// Advance and final documents with their corrections: joined documents, contract
// text, and VAT rows counted by their part amounts.
bool hasJoinedDocuments(int kind);
// The kinds the editor's kind combo offers for a document of `kind`, as a
// comma-separated id list; empty for kinds the editor never opens (duplicates).
// Advance and final corrections offer only themselves, so such a document
// can never be switched into another family.
QString offeredKinds(int kind);

} // namespace MDocKinds
