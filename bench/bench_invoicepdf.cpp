// PDF of one document through the document template: a sales invoice of 10
// lines, one of 200 lines and the 10 lines with names of 100 000 characters
// without a blank (which wrap over many pages), each laid out and written
// several times after a first run that warms the fonts. Prints the median seconds and the time per
// page, and beside them the floor: Qt alone printing the run's final HTML from a
// text edit set up as the run's, the same number of times. Leaves the PDF files
// of the last run in the output folder, so that they can be checked afterwards
// (amounts, text). The 200-line invoice is made
// from the 10-line one, and the long names written, inside transactions that
// are rolled back afterwards: the database is left as it was.
//
// Usage: bench_invoicepdf DATABASE OUTPUT_FOLDER [runs]
//        (DATABASE as bench_generate writes it)

#include "MBenchDatabase.h"
#include "MBenchFigures.h"

#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "printing/MDocTemplate.h"
#include "printing/MTemplateRun.h"
#include "resources/MResources.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QScriptEngine>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>

using MBenchFigures::median;
using MBenchFigures::pdfPages;

namespace {

// The run's printer and text edit for the document, set up as the document list sets them.
void prepare(MDocTemplate* docTemplate, int idInvoice, const QString& file)
{
    docTemplate->isPdf(true);
    docTemplate->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    docTemplate->getPrinter()->setOutputFileName(file);
    docTemplate->setTextEdit(nullptr, true);
    docTemplate->setPageMargins(10, 10, 10, 10);
    docTemplate->isPaging(true);
    docTemplate->setDocView(1);
    docTemplate->setIdRecord(idInvoice);
}

// Median seconds of `runs` PDF runs of the document, after one warming run.
double timePdf(QScriptEngine* engine, int idInvoice, const QString& file, int runs)
{
    QVector<double> times;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
        prepare(&docTemplate, idInvoice, file);
        if (!MTemplateRun::print(engine, &docTemplate, QStringLiteral(":/template/invoice.js"), nullptr))
            return -1.0;
        if (run > 0)
            times << timer.nsecsElapsed() / 1e9;
    }
    return median(times);
}

// Median seconds Qt alone takes to print the final HTML of the document's run onto
// a PDF file as often: a text edit set up as the run's, the HTML, and the text
// document's own printing at the resolution the program prints at.
double timeQtAlone(QScriptEngine* engine, int idInvoice, const QString& file, int runs)
{
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    prepare(&docTemplate, idInvoice, file);
    docTemplate.setImportDeferred(true);
    if (!MTemplateRun::run(engine, &docTemplate, QStringLiteral(":/template/invoice.js"), nullptr))
        return -1.0;
    const QString html = docTemplate.heldHtml();
    const QTextDocument* runDocument = docTemplate.textEditAsSet()->document();
    const QSizeF pageSize = runDocument->pageSize();
    const qreal margin = runDocument->documentMargin();

    QVector<double> times;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        QTextEdit textEdit;
        textEdit.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        textEdit.setReadOnly(true);
        // Else a scroll bar coming with the content would lay the document out at the
        // edit's own width.
        textEdit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        textEdit.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QTextDocument* document = textEdit.document();
        document->setUndoRedoEnabled(false);
        document->documentLayout()->setPaintDevice(&textEdit);
        document->setDocumentMargin(margin);
        document->setPageSize(pageSize);
        textEdit.setHtml(html);
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageLayout(docTemplate.getPrinter()->pageLayout());
        printer.setResolution(600);
        document->print(&printer);
        if (run > 0)
            times << timer.nsecsElapsed() / 1e9;
    }
    return median(times);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const QStringList args = app.arguments();
    if (const int failed = MBenchFigures::openDatabaseAndOutput(args, "bench_invoicepdf DATABASE OUTPUT_FOLDER [runs]"))
        return failed;
    // The stored options, so that the files look as the program prints them.
    MOptions::loadOptions();
    const QDir out(args.at(2));
    MProgramPaths::pathTemp = out.absolutePath() + QStringLiteral("/program/");
    QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("temp"));
    const int runs = qMax(1, args.value(3, QStringLiteral("5")).toInt());
    const int idInvoice = MBenchDatabase::invoiceWithLines(10);
    if (idInvoice == 0) {
        std::fprintf(stderr, "no sales invoice of 10 lines in %s\n", qPrintable(args.at(1)));
        return 1;
    }

    QScriptEngine engine;
    engine.setProcessEventsInterval(1);
    const QString small = out.filePath(QStringLiteral("faktura_10.pdf"));
    const double smallSeconds = timePdf(&engine, idInvoice, small, runs);
    const double smallFloor = timeQtAlone(&engine, idInvoice, out.filePath(QStringLiteral("qt_10.pdf")), runs);

    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    const bool grown = MBenchDatabase::growInvoice(idInvoice, 200);
    const QString large = out.filePath(QStringLiteral("faktura_200.pdf"));
    const double largeSeconds = grown ? timePdf(&engine, idInvoice, large, runs) : -1.0;
    const double largeFloor =
        grown ? timeQtAlone(&engine, idInvoice, out.filePath(QStringLiteral("qt_200.pdf")), runs) : -1.0;
    db.rollback();

    db.transaction();
    QSqlQuery longNames;
    const bool named = longNames.exec(
        QStringLiteral("UPDATE invoice_product SET name = name || ' ' || replace(hex(zeroblob(50000)), '0', 'x') "
                       "WHERE id IN (SELECT id_product FROM invoice_product_misc WHERE id_invoice = %1)")
            .arg(idInvoice));
    const QString longFile = out.filePath(QStringLiteral("faktura_10_dlugie_nazwy.pdf"));
    const double longSeconds = named ? timePdf(&engine, idInvoice, longFile, qMin(runs, 2)) : -1.0;
    db.rollback();
    if (smallSeconds < 0 || largeSeconds < 0 || longSeconds < 0 || smallFloor < 0 || largeFloor < 0) {
        std::fprintf(stderr, "the template run failed\n");
        return 1;
    }

    const int smallPages = qMax(1, pdfPages(small));
    const int largePages = qMax(1, pdfPages(large));
    std::printf("10 lines: %.3f s, %d page(s); Qt alone %.3f s, %.2f times -> %s\n", smallSeconds, smallPages,
                smallFloor, smallSeconds / smallFloor, qPrintable(small));
    std::printf("200 lines: %.3f s, %d pages, %.3f s per page; Qt alone %.3f s, %.2f times -> %s\n", largeSeconds,
                largePages, largeSeconds / largePages, largeFloor, largeSeconds / largeFloor, qPrintable(large));
    const int longPages = qMax(1, pdfPages(longFile));
    std::printf("10 lines of 100 000-character names: %.3f s, %d pages, %.3f s per page -> %s\n", longSeconds,
                longPages, longSeconds / longPages, qPrintable(longFile));
    std::printf("per page, 200 lines / 10 lines: %.1f times (aims: under 0.5 s for 10 lines, at most 2 times)\n",
                (largeSeconds / largePages) / (smallSeconds / smallPages));
    std::printf("aim: at most 1.3 times Qt alone for 10 and for 200 lines\n");
    return 0;
}
