#include "MTabOrder.h"

#include <QWidget>

void MTabOrder::chain(const QList<QWidget*>& fields)
{
    for (int i = 1; i < fields.size(); ++i)
        QWidget::setTabOrder(fields.at(i - 1), fields.at(i));
}
