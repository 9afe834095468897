#include "MSqlValue.h"

#include <QSqlQuery>

QVariant sqlValue(QString sql)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    if (!query.exec(sql) || !query.next())
        return QVariant();
    return query.value(0);
}
