#pragma once

#include <QList>

class QWidget;

namespace MTabOrder {

// Tab takes `fields` in this order, as the window shows them, whatever the order they were
// made or moved in.
void chain(const QList<QWidget*>& fields);

} // namespace MTabOrder
