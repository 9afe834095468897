#include "resources/MResources.h"

#include <QtGlobal>

void initInvoiceResources()
{
    Q_INIT_RESOURCE(resource);
    Q_INIT_RESOURCE(sql);
    Q_INIT_RESOURCE(translation);
}
