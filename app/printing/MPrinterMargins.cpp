#include "MPrinterMargins.h"

#include "data/MDefaultOptions.h"
#include "data/MOptions.h"
#include "printing/MDocTemplate.h"

QVector<double> MPrinterMargins::s_margins{0, 0, 0, 0};

void MPrinterMargins::load()
{
    s_margins = MDefaultOptions::printerMargins(MOptions::option(QStringLiteral("PRINTER_MARGINS")));
}

QVector<double> MPrinterMargins::values()
{
    return s_margins;
}

void MPrinterMargins::applyTo(MDocTemplate* docTemplate)
{
    docTemplate->setPageMargins(s_margins.at(0), s_margins.at(1), s_margins.at(2), s_margins.at(3));
}
