#include "resources/MResources.h"

#include <QtGlobal>

void initInvoiceResources()
{
    Q_INIT_RESOURCE(sql);
}
