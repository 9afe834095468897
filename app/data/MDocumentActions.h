#pragma once

#include <QString>

// What the document lists may do with a saved document of a given kind, and how
// they name it. A duplicate carries no data of its own: it is named by the
// document it duplicates.
namespace MDocumentActions {

// Duplicates: kinds 5-8, 10, 13, 14, 17, 18, 21, 22, 25, 26, 29, 30.
bool isDuplicate(int kind);
// Documents proper and corrections, which have a paid flag and a payment date.
bool isPayable(int kind);
// A copy is made of documents and corrections (a correction's copy corrects the
// same document), never of a duplicate.
bool canCopy(int kind);
// The kind of a new correction of a document of `kind`; -1 when it cannot be corrected.
int correctionKind(int kind);
// The kind of a new duplicate of a document of `kind`; -1 when it cannot be duplicated.
int duplicateKind(int kind);

// The stored kind and parent of document `id`; false (kind -1, parent 0) when no row
// is found.
bool readKind(int id, int* kind, int* idParent = nullptr);
// The number text of document `id`, of its parent for a duplicate.
QString numberText(int id);

} // namespace MDocumentActions
