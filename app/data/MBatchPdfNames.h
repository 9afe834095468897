#pragma once

#include <QString>

// How the documents of a batch are named: preview tab titles, PDF files and
// e-mail attachments.
namespace MBatchPdfNames {

// The number a document is shown and named by; a duplicate goes by the number
// of the document it duplicates. Empty for an unknown document.
QString documentNumber(int idInvoice);

// The PDF file of one pass of a job of `jobSize` documents in which each
// document is made in `passCount` passes: the chosen name as it is for a single
// pass of a single document, otherwise with "-" id "-" number "-" the pass's
// marking key before the suffix (".pdf" when the name has none).
QString fileName(const QString& chosen, int jobSize, int passCount, int idDocument, const QString& number,
                 int passDocView);

// The temporary e-mail PDF under `tempBase`: "temp/email_" and the lower-case
// hexadecimal MD5 of the number's Latin-1 bytes.
QString emailPath(const QString& tempBase, const QString& number);

// The name the e-mail PDF is attached under.
QString emailName(const QString& number);

} // namespace MBatchPdfNames
