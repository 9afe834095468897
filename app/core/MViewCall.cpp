#include "MViewCall.h"

#include <QMetaObject>
#include <QObject>

bool MViewCall::invoke(QObject* view, const char* method, QGenericArgument argument)
{
    return QMetaObject::invokeMethod(view, method, Qt::DirectConnection, argument);
}

bool MViewCall::boolResult(QObject* view, const char* method)
{
    bool result = false;
    QMetaObject::invokeMethod(view, method, Qt::DirectConnection, Q_RETURN_ARG(bool, result));
    return result;
}

int MViewCall::intResult(QObject* view, const char* method)
{
    int result = 0;
    QMetaObject::invokeMethod(view, method, Qt::DirectConnection, Q_RETURN_ARG(int, result));
    return result;
}
