#include "MTemplateEngine.h"

#include <QCoreApplication>
#include <QPointer>
#include <QScriptEngine>

QScriptEngine* MTemplateEngine::engine()
{
    static QPointer<QScriptEngine> s_engine;
    if (!s_engine) {
        s_engine = new QScriptEngine(QCoreApplication::instance());
        s_engine->setProcessEventsInterval(1);
    }
    return s_engine;
}
