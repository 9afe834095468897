#include "MTemplateRun.h"

#include "core/MHtmlPages.h"
#include "core/MTextPrinter.h"
#include "printing/MDocTemplate.h"
#include "views/MMessageBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QPageLayout>
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

    setPageSize(docTemplate);

    if (failed) {
        qWarning("Template %s stopped at line %d: %s", qPrintable(resource), line, qPrintable(message));
        reportFailure(resource, tr("wiersz %1: %2").arg(line).arg(message), parent);
        docTemplate->setHtml(QString());
        return false;
    }
    return true;
}

bool MTemplateRun::print(QScriptEngine* engine, MDocTemplate* docTemplate, const QString& resource, QWidget* parent)
{
    if (!run(engine, docTemplate, resource, parent))
        return false;
    if (!docTemplate->isDocAborted())
        printDocument(docTemplate, docTemplate->getPrinter(), false);
    return true;
}

void MTemplateRun::printDocument(MDocTemplate* docTemplate, QPrinter* printer, bool preview)
{
    const QStringList pages = MHtmlPages::split(docTemplate->heldHtml());
    if (pages.isEmpty())
        MTextPrinter::print(docTemplate->getTextEdit(), printer, preview);
    else
        MTextPrinter::printPages(pages, docTemplate->textEditAsSet(), printer, preview);
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
