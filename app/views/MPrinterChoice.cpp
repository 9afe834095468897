#include "MPrinterChoice.h"

MPrinterChoice::MPrinterChoice(const QPrinter& printer)
    : m_printerName(printer.printerName())
    , m_outputFileName(printer.outputFileName())
    , m_outputFormat(printer.outputFormat())
    , m_copyCount(printer.copyCount())
    , m_collateCopies(printer.collateCopies())
    , m_printRange(printer.printRange())
    , m_fromPage(printer.fromPage())
    , m_toPage(printer.toPage())
    , m_pageOrder(printer.pageOrder())
    , m_duplex(printer.duplex())
    , m_colorMode(printer.colorMode())
{
}

bool MPrinterChoice::printsToFile() const
{
    return !m_outputFileName.isEmpty();
}

QString MPrinterChoice::outputFileName() const
{
    return m_outputFileName;
}

void MPrinterChoice::applyTo(QPrinter* printer, const QString& fileName) const
{
    printer->setOutputFormat(m_outputFormat);
    if (printsToFile())
        printer->setOutputFileName(fileName);
    else
        printer->setPrinterName(m_printerName);
    printer->setCopyCount(m_copyCount);
    printer->setCollateCopies(m_collateCopies);
    printer->setPrintRange(m_printRange);
    printer->setFromTo(m_fromPage, m_toPage);
    printer->setPageOrder(m_pageOrder);
    printer->setDuplex(m_duplex);
    printer->setColorMode(m_colorMode);
}
