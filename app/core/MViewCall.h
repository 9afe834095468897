#pragma once

#include <QGenericArgument>

class QObject;

// Calls the slots and invokable methods that the main window needs of the
// views in its tabs. A view is recognised by its accessible name and reached
// through its meta-object, so that the window does not depend on every view
// class; Qt reports a method that a view lacks.
class MViewCall
{
public:
    static bool invoke(QObject* view, const char* method, QGenericArgument argument = QGenericArgument(nullptr));
    // false, and 0, when the view has no such method.
    static bool boolResult(QObject* view, const char* method);
    static int intResult(QObject* view, const char* method);
};
