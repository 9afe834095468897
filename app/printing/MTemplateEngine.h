#pragma once

class QScriptEngine;

// The program's one script engine, in which every print template runs (MTemplateRun).
class MTemplateEngine
{
public:
    // Made on first use, a child of the application; it processes events every
    // millisecond while a template runs, so that a progress box's "Zatrzymaj" is heard.
    static QScriptEngine* engine();
};
