#include "MResources.h"

#include "data/MDataResources.h"

#include <QtGlobal>

void initInvoiceResources()
{
    Q_INIT_RESOURCE(resource);
    initDataResources();
    Q_INIT_RESOURCE(translation);
}
