#include "MTemplateRun.h"

#include "core/MHtmlPages.h"
#include "core/MTextPrinter.h"
#include "data/MPdfFileWrite.h"
#include "printing/MDocTemplate.h"
#include "printing/MHtmlPageList.h"
#include "views/MMessageBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QScriptContext>
#include <QScriptEngine>
#include <QTextCodec>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MTemplateRun", text);
}

void reportFailure(const QString& resource, const QString& text, QWidget* parent)
{
    MMessageBox::critical(parent, tr("Błąd szablonu wydruku"),
                          tr("Nie wygenerowano dokumentu, bo szablon %1 zawiera błąd:\n%2").arg(resource, text));
}

} // namespace

bool MTemplateRun::run(QScriptEngine* engine, MDocTemplate* docTemplate, const QString& resource, QWidget* parent)
{
    setPageSize(docTemplate);
    docTemplate->pageList()->clear();

    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Template %s cannot be read: %s", qPrintable(resource), qPrintable(file.errorString()));
        reportFailure(resource, tr("nie można go odczytać."), parent);
        docTemplate->setHtml(QString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    const QString program = Qt::codecForHtml(bytes)->toUnicode(bytes);

    QScriptContext* context = engine->pushContext();
    context->activationObject().setProperty(QStringLiteral("doc"), engine->newQObject(docTemplate));
    engine->evaluate(program, QString(), 1);

    const bool failed = engine->hasUncaughtException();
    const QString message = failed ? engine->uncaughtException().toString() : QString();
    const int line = failed ? engine->uncaughtExceptionLineNumber() : 0;
    engine->popContext();
    if (failed)
        engine->clearExceptions();
    // The template's strings, a long register's text among them, are garbage now;
    // collected before the output is printed rather than held beside it.
    engine->collectGarbage();

    setPageSize(docTemplate);

    if (failed) {
        qWarning("Template %s stopped at line %d: %s", qPrintable(resource), line, qPrintable(message));
        reportFailure(resource, tr("wiersz %1: %2").arg(line).arg(message), parent);
        docTemplate->pageList()->clear();
        docTemplate->setHtml(QString());
        return false;
    }
    return true;
}

bool MTemplateRun::print(QScriptEngine* engine, MDocTemplate* docTemplate, const QString& resource, QWidget* parent)
{
    if (!run(engine, docTemplate, resource, parent))
        return false;
    return docTemplate->isDocAborted() || output(docTemplate, docTemplate->getPrinter(), parent);
}

bool MTemplateRun::printDocument(MDocTemplate* docTemplate, QPrinter* printer, bool preview)
{
    if (docTemplate->outputInPages()) {
        const MHtmlPageList* list = docTemplate->pageList();
        if (list->count() > 1)
            return MTextPrinter::printPages(list->count(), [list](int i) { return list->page(i); },
                                            docTemplate->textEditAsSet(), printer, preview);
        return MTextPrinter::print(docTemplate->getTextEdit(), printer, preview);
    }
    const QStringList pages = MHtmlPages::split(docTemplate->heldHtml());
    if (pages.isEmpty())
        return MTextPrinter::print(docTemplate->getTextEdit(), printer, preview);
    return MTextPrinter::printPages(pages, docTemplate->textEditAsSet(), printer, preview);
}

bool MTemplateRun::output(MDocTemplate* docTemplate, QPrinter* printer, QWidget* parent)
{
    const QString target = printer->outputFileName();
    if (target.isEmpty()) {
        if (printDocument(docTemplate, printer, false))
            return true;
        const QString name = printer->printerName();
        MMessageBox::critical(parent, tr("Drukowanie"),
                              name.isEmpty() ? tr("Nie można rozpocząć drukowania: drukarka jest niedostępna.")
                                             : tr("Nie można rozpocząć drukowania na drukarce %1.").arg(name));
        return false;
    }

    MPdfFileWrite file(target);
    bool written = file.open();
    if (written) {
        printer->setOutputFileName(file.temporaryName());
        const bool printed = printDocument(docTemplate, printer, false);
        printer->setOutputFileName(target);
        if (printed) {
            written = file.commit();
        } else {
            file.abandon(tr("nie można rozpocząć zapisu"));
            written = false;
        }
    }
    if (!written)
        MMessageBox::critical(parent, tr("Eksport PDF"), file.errorText());
    return written;
}

void MTemplateRun::setPageSize(MDocTemplate* docTemplate)
{
    QTextEdit* textEdit = docTemplate->textEditAsSet();
    if (!textEdit)
        return;
    QPrinter* printer = docTemplate->getPrinter();
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    const int width = page.width() * textEdit->logicalDpiX() / printer->logicalDpiX();
    const int height = page.height() * textEdit->logicalDpiY() / printer->logicalDpiY();
    // Setting a page size lays the whole document out anew, even the same size.
    const QSizeF size(width, height);
    if (textEdit->document()->pageSize() != size)
        textEdit->document()->setPageSize(size);
}
