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
    // The titles of the dialogs asked for, oldest first; emptied by the call.
    static QStringList takeShown();
};
