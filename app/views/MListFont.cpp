#include "MListFont.h"

namespace {

int s_listFontSize = 10;

} // namespace

int listFontSize()
{
    return s_listFontSize;
}

void setListFontSizeForDpi(int logicalDpi)
{
    s_listFontSize = logicalDpi == 96 || logicalDpi <= 0 ? 10 : qRound(10 * 96.0 / logicalDpi);
}

QFont listFont()
{
    return QFont(QStringLiteral("Arial"), listFontSize(), QFont::Normal, false);
}
