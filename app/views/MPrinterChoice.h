#pragma once

#include <QPrinter>
#include <QString>

// What a person chose in a printer dialog, for a job that prints each document
// on a printer of its own: the printer or the file ("Drukuj do pliku (PDF)"),
// the copies, the page range and order, two-sided and colour printing.
class MPrinterChoice
{
public:
    MPrinterChoice() = default;
    // The choice the dialog left on `printer`.
    explicit MPrinterChoice(const QPrinter& printer);

    // True when the pages go to a file instead of a printer.
    bool printsToFile() const;
    // The file chosen in the dialog; empty for a printer.
    QString outputFileName() const;

    // Gives `printer` the choice; the pages of a choice to print to a file go to
    // `fileName`, the name of this printer's part of the job.
    void applyTo(QPrinter* printer, const QString& fileName) const;

private:
    QString m_printerName;
    QString m_outputFileName;
    QPrinter::OutputFormat m_outputFormat = QPrinter::NativeFormat;
    int m_copyCount = 1;
    bool m_collateCopies = true;
    QPrinter::PrintRange m_printRange = QPrinter::AllPages;
    int m_fromPage = 0;
    int m_toPage = 0;
    QPrinter::PageOrder m_pageOrder = QPrinter::FirstPageFirst;
    QPrinter::DuplexMode m_duplex = QPrinter::DuplexNone;
    QPrinter::ColorMode m_colorMode = QPrinter::Color;
};
