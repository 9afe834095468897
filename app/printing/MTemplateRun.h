#pragma once

#include <QString>

class MDocTemplate;
class QPrinter;
class QScriptEngine;
class QWidget;

// A print template evaluated against a prepared MDocTemplate, which the
// template sees as `doc`. Every caller that lays out pages runs its template
// through here, so that a broken template never yields a document.
class MTemplateRun
{
public:
    // Sets the page size of the template's text edit from its printer, evaluates
    // the template resource in a context of its own on `engine` (its top-level
    // variables go with that context) and sets the page size again. False when
    // the template cannot be read or stops on an uncaught exception: the error is
    // logged, a critical box over `parent` names the template and the error, the
    // text edit is emptied and the engine is left clean for the next run; the
    // caller then prints, saves, shows and sends nothing.
    static bool run(QScriptEngine* engine, MDocTemplate* docTemplate, const QString& resource, QWidget* parent);

    // run(), then, unless the run failed or was aborted, output() on the template's
    // own printer (paper or PDF file). False when the run or the output failed.
    static bool print(QScriptEngine* engine, MDocTemplate* docTemplate, const QString& resource, QWidget* parent);

    // Prints what the template's run made on printer: the pages it handed over
    // (MHtmlPageList) or HTML the template holds back, page by page when it has
    // pages (see MHtmlPages), anything else from the text edit.
    // False when the printer could not be started or ended in an error.
    static bool printDocument(MDocTemplate* docTemplate, QPrinter* printer, bool preview);

    // printDocument() on a printer that is not a preview's, told to the user when
    // it fails. A printer with an output file writes a temporary file beside it,
    // which replaces that file only once it is a complete PDF (MPdfFileWrite).
    // False when the printer could not be started or the file not written: a
    // critical box over `parent` names the printer or the file and why; no part of
    // the file is left and an older file of its name is kept.
    static bool output(MDocTemplate* docTemplate, QPrinter* printer, QWidget* parent);

    // The printer's page rectangle in pixels of the text edit, as the document's page size.
    static void setPageSize(MDocTemplate* docTemplate);
};
