#include "MListFont.h"

int listFontSize()
{
    // The interface's base size at 96 dpi; the main window owns the value scaled for
    // the screen, and this is the one place to take it from there.
    return 10;
}

QFont listFont()
{
    return QFont(QStringLiteral("Arial"), listFontSize(), QFont::Normal, false);
}
