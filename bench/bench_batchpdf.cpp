// A PDF job of 50 documents as the document list makes it, without the job's
// pauses between documents: per document a template object of its own, the
// document template run and the PDF file named as the job names it. Prints
// the median and the slowest seconds per document, then the same for a
// document of 200 lines, and leaves the files in the output folder so that
// they can be checked afterwards. The 200-line document is grown from a
// 10-line one inside a transaction that is rolled back: the database is left
// as it was.
//
// Usage: bench_batchpdf DATABASE OUTPUT_FOLDER
//        (DATABASE as bench_generate writes it)

#include "MBenchDatabase.h"
#include "MBenchFigures.h"

#include "data/MBatchPdfNames.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "printing/MDocTemplate.h"
#include "printing/MTemplateRun.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QScriptEngine>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>

using MBenchFigures::median;

namespace {

const int jobSize = 50;

QList<int> plainSalesInvoices(int count)
{
    QList<int> ids;
    QSqlQuery query(QStringLiteral("SELECT id FROM invoice WHERE invoice_kind = 0 AND id_currency = 0 "
                                   "ORDER BY id LIMIT %1").arg(count));
    while (query.next())
        ids << query.value(0).toInt();
    return ids;
}

// Seconds for one document of a job of `size` documents as the list makes it; negative on failure.
double makeDocument(QScriptEngine* engine, const QString& chosen, int size, int idInvoice)
{
    QElapsedTimer timer;
    timer.start();
    const QString number = MBatchPdfNames::documentNumber(idInvoice);
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    docTemplate.isPdf(true);
    docTemplate.getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    docTemplate.setTextEdit(nullptr, false);
    QTextEdit* textEdit = docTemplate.getTextEdit();
    docTemplate.setPageMargins(10, 10, 10, 10);
    docTemplate.isPaging(true);
    docTemplate.setDocView(1);
    docTemplate.setIdRecord(idInvoice);
    docTemplate.getPrinter()->setOutputFileName(MBatchPdfNames::fileName(chosen, size, 1, idInvoice, number, 1));
    const bool made = MTemplateRun::print(engine, &docTemplate, QStringLiteral(":/template/invoice.js"), nullptr);
    delete textEdit;
    return made ? timer.nsecsElapsed() / 1e9 : -1.0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const QStringList args = app.arguments();
    if (const int failed = MBenchFigures::openDatabaseAndOutput(args, "bench_batchpdf DATABASE OUTPUT_FOLDER"))
        return failed;
    // The stored options, so that the files look as the program prints them.
    MOptions::loadOptions();
    const QDir out(args.at(2));
    MProgramPaths::pathTemp = out.absolutePath() + QStringLiteral("/program/");
    QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("temp"));

    const QList<int> ids = plainSalesInvoices(jobSize);
    if (ids.size() < jobSize) {
        std::fprintf(stderr, "fewer than %d sales invoices in PLN in %s\n", jobSize, qPrintable(args.at(1)));
        return 1;
    }
    QScriptEngine engine;
    engine.setProcessEventsInterval(1);
    const QString chosen = out.filePath(QStringLiteral("faktury.pdf"));
    // A first document warms the fonts; it is not counted.
    makeDocument(&engine, out.filePath(QStringLiteral("rozgrzewka.pdf")), 1, ids.first());

    QVector<double> times;
    QElapsedTimer whole;
    whole.start();
    for (int id : ids) {
        const double seconds = makeDocument(&engine, chosen, ids.size(), id);
        if (seconds < 0) {
            std::fprintf(stderr, "the template run of document %d failed\n", id);
            return 1;
        }
        times << seconds;
    }
    const double total = whole.nsecsElapsed() / 1e9;
    const double slowest = *std::max_element(times.cbegin(), times.cend());

    const int idLarge = MBenchDatabase::invoiceWithLines(10);
    QSqlDatabase db = QSqlDatabase::database();
    db.transaction();
    double large = -1.0;
    if (idLarge > 0 && MBenchDatabase::growInvoice(idLarge, 200))
        large = makeDocument(&engine, out.filePath(QStringLiteral("faktura_200.pdf")), 1, idLarge);
    db.rollback();

    std::printf("%d documents: %.2f s without pauses, median %.3f s, slowest %.3f s per document -> %s\n",
                int(times.size()), total, median(times), slowest, qPrintable(out.path()));
    std::printf("with the job's pauses: about %.1f s (1 s between documents)\n", total + (times.size() - 1) * 1.0);
    if (large < 0)
        std::printf("200 lines: no 10-line sales invoice to grow\n");
    else
        std::printf("200 lines: %.3f s -> %s\n", large, qPrintable(out.filePath(QStringLiteral("faktura_200.pdf"))));
    std::printf("aim: under 0.5 s per one-page document\n");
    return 0;
}
