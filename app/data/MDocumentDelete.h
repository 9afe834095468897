#pragma once

#include <QString>

// Deleting a saved document with its lines, joined documents, correction reason and
// VAT summary. The snapshots it used stay until unused copies are cleared at the next
// opening of the database.
class MDocumentDelete
{
public:
    // Another document corrects or duplicates `id`, or lists it among its joined
    // documents: then it must stay.
    static bool isReferenced(int id);
    // All rows of the document in one transaction; on failure nothing is changed and
    // `errorText` (when given) receives the database's reason.
    static bool remove(int id, QString* errorText = nullptr);
};
