#include "MResources.h"

#include "data/MDataResources.h"

#include <QtGlobal>

void initInvoiceResources()
{
    Q_INIT_RESOURCE(resource);
    Q_INIT_RESOURCE(register_templates);
    initDataResources();
    Q_INIT_RESOURCE(translation);
}
