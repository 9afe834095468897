#pragma once

#include <QVector>

class MDocTemplate;

// The printer margins in millimetres (left, top, right, bottom) that documents, statements
// and the VAT register are laid out with: PRINTER_MARGINS as last loaded, which the main
// window does at start-up and on "Ustawienia domyślne" and the page setup when it stores
// new margins; all 0 until the first load.
class MPrinterMargins
{
public:
    static void load();
    static QVector<double> values();
    // Sets them as the page margins of a template run.
    static void applyTo(MDocTemplate* docTemplate);

private:
    static QVector<double> s_margins;
};
