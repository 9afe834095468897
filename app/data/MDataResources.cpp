#include "data/MDataResources.h"

#include <QtGlobal>

void initDataResources()
{
    Q_INIT_RESOURCE(sql);
}
