#pragma once

#include <QString>

// The accessible names by which the main window, the drop targets and the invoice
// editor recognise the table of a record view. Every record view names its table
// here, and every look-up asks here, so that the two never drift apart.
namespace MListNames {

// The table of the record view whose accessible name is `viewName`: that name +
// "_MTableView", except that the sales and the purchase list share
// "MInvoiceDbView_MTableView" (the editor tells their rows apart by kind).
QString tableName(const QString& viewName);

} // namespace MListNames
