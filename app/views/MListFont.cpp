#include "MListFont.h"

#include "core/MAppWnd.h"

int listFontSize()
{
    return MAppWnd::fontSize;
}

QFont listFont()
{
    return QFont(QStringLiteral("Arial"), listFontSize(), QFont::Normal, false);
}
