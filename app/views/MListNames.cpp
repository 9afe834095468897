#include "MListNames.h"

namespace MListNames {

QString tableName(const QString& viewName)
{
    if (viewName == QLatin1String("MInvoiceDbView_Sell") || viewName == QLatin1String("MInvoiceDbView_Buy"))
        return QStringLiteral("MInvoiceDbView_MTableView");
    return viewName + QStringLiteral("_MTableView");
}

} // namespace MListNames
