#include "MDocKinds.h"

namespace MDocKinds {

bool isCorrection(int kind)
{
    return kind == 2 || kind == 4 || kind == 12 || kind == 16 || kind == 20 || kind == 24 || kind == 28;
}

bool isSalesCorrection(int kind)
{
    return isCorrection(kind) && kind != 12;
}

bool isPurchase(int kind)
{
    return kind == 11 || kind == 12;
}

bool isMargin(int kind)
{
    return kind == 27 || kind == 28;
}

bool hasJoinedDocuments(int kind)
{
    return kind == 19 || kind == 20 || kind == 23 || kind == 24;
}

QString offeredKinds(int kind)
{
    switch (kind) {
    case 0: case 1: case 3: case 15: case 19: case 23: case 27:
        return QStringLiteral("0,1,3,15,19,23,27");
    case 2: case 4: case 16: case 28:
        return QStringLiteral("2,4,16,28");
    case 9: case 11: case 12: case 20: case 24:
        return QString::number(kind);
    default:
        return QString();
    }
}

} // namespace MDocKinds
