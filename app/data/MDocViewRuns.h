#pragma once

#include <QList>
#include <QString>

// How a marking of printed documents splits into template runs, and the files
// a PDF job writes for them.
namespace MDocViewRuns {

// The markings of the runs for one document: original and copy (3) become
// two runs, and on paper the unmarked pair (5) too; any other marking is one run.
QList<int> runs(int docView, bool pdf);

// A document number with every character but a-z, A-Z and 0-9 as "_".
QString fileNameText(const QString& documentNumber);

// The file of one PDF run: the chosen name (".pdf" added when it has no
// suffix); when the document goes out as two files, the document id, number and the
// run's marking key go before the suffix.
QString pdfFileName(const QString& chosen, bool twoFiles, int idDocument, const QString& documentNumber,
                    int runDocView);

} // namespace MDocViewRuns
