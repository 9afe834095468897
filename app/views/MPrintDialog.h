#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// Every printer dialog of the program goes through here, so that tests can
// choose a printer in advance instead of a person.
class MPrintDialog
{
public:
    // True when the user accepted the dialog on `printer`.
    static bool exec(QWidget* parent, QPrinter* printer, const QString& title);

    // Test seam: while automatic, no dialog is shown; each call takes the next
    // queued printer name (accepted) or, when none is queued, is cancelled.
    static void setAutomatic(bool automatic);
    static void setNextPrinterName(const QString& printerName);
    // Queues an accepted dialog left as by a person who chose "Drukuj do pliku (PDF)"
    // with `fileName`, `copies` copies and pages `fromPage` to `toPage` (0 to 0: all).
    static void setNextPrintToFile(const QString& fileName, int copies, int fromPage, int toPage);
    // The titles of the dialogs asked for, oldest first; emptied by the call.
    static QStringList takeShown();

    // A printer chosen in the dialog, just before pages go to it. Nothing
    // changes, except under the test seam below.
    static void preparePrinter(QPrinter* printer);
    // Test seam: while automatic with a folder set, the prepared printers
    // write their pages as PDF files "print-1.pdf", "print-2.pdf", ... in
    // that folder, numbered in the order they are prepared. An empty folder
    // ends it.
    static void setPrintFolder(const QString& folder);
};
