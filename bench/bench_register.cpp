// The VAT register of the busiest year of a generated database, all sellers
// checked: the register data (median of several runs) and the whole register
// laid out by its template and written as PDF, with the layout's time per page
// over the first and over the last hundred pages. Leaves the PDF in the output folder,
// with its text beside it (pdftotext, when installed), so that both can be
// checked afterwards (amounts, text), and the register's final pages as HTML
// (one document per page, a form feed between two pages).
//
// Beside the program's figure it prints Qt's floor: Qt alone laying out and
// printing the same final pages (each page's HTML imported into a text document,
// laid out and drawn onto a PDF printer, one after another), which no layout
// of these pages can go below. With --qt-floor the program prints only that
// floor for the pages an earlier run wrote, so that its peak memory can be
// taken alone (/usr/bin/time -v).
//
// Usage: bench_register DATABASE OUTPUT_FOLDER [runs]
//        bench_register --qt-floor PAGES_FILE OUTPUT_FOLDER
//        (DATABASE as bench_generate writes it)

#include "MBenchFigures.h"

#include "core/MTextPrinter.h"
#include "data/MOptions.h"
#include "data/MRegisterData.h"
#include "printing/MDocTemplate.h"
#include "printing/MHtmlPageList.h"
#include "printing/MTemplateRun.h"
#include "resources/MResources.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QProcess>
#include <QScriptEngine>
#include <QSqlQuery>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

using MBenchFigures::median;
using MBenchFigures::pdfPages;

namespace {

// The year with the most documents the register lists; 0 when there is none.
int busiestYear()
{
    QSqlQuery query(QStringLiteral("SELECT strftime('%Y', date_put) AS y, count(*) AS n FROM invoice "
                                   "WHERE invoice_kind IN (0,2,3,4,19,20,23,24,27,28) AND is_cancelled = 0 "
                                   "AND id_currency = 0 GROUP BY y ORDER BY n DESC LIMIT 1"));
    return query.next() ? query.value(0).toInt() : 0;
}

QStringList allSellers()
{
    QStringList ids;
    QSqlQuery query(QStringLiteral("SELECT id FROM seller ORDER BY id"));
    while (query.next())
        ids << query.value(0).toString();
    return ids;
}

int scalar(const QString& sql)
{
    QSqlQuery query(sql);
    return query.next() ? query.value(0).toInt() : 0;
}

// Seconds per page over the pages [first, last) from the moments each page was begun.
double perPage(const QVector<double>& pageStart, int first, int last)
{
    if (first < 0 || last >= pageStart.size() || last <= first)
        return 0.0;
    return (pageStart.at(last) - pageStart.at(first)) / (last - first);
}

// Processor seconds of the whole process so far, user and system.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Figure
{
    double wall = 0.0;
    double cpu = 0.0;
};

// A template object set up as the register's PDF job sets up its own: landscape,
// margins of 10 mm, a text edit of its own and the page size it gives.
void prepareTemplate(MDocTemplate* docTemplate, const QString& file)
{
    docTemplate->isPdf(true);
    docTemplate->getPrinter()->setOutputFormat(QPrinter::PdfFormat);
    docTemplate->getPrinter()->setOutputFileName(file);
    docTemplate->setPageOrientation(QPrinter::Landscape);
    docTemplate->setTextEdit(nullptr, true);
    docTemplate->setImportDeferred(true);
    docTemplate->setPageMargins(10, 10, 10, 10);
    docTemplate->isPaging(true);
    MTemplateRun::setPageSize(docTemplate);
}

// Qt alone: each page's HTML imported into a text document set up as the text
// edit's, laid out in pages of its size on its device and drawn onto printer at
// 600 dpi, as the program prints; one page after another, on this thread.
Figure qtFloor(int pageCount, const std::function<QString(int)>& pageHtml, QTextEdit* textEdit, QPrinter* printer)
{
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = cpuSeconds();

    QTextDocument* model = textEdit->document();
    QPaintDevice* device = model->documentLayout()->paintDevice();
    const QSizeF pageSize = model->pageSize();
    printer->setResolution(600);
    QPainter painter(printer);
    const QRect pageRect = printer->pageLayout().paintRectPixels(printer->resolution());
    const qreal scaleX = printer->logicalDpiX() / qreal(device->logicalDpiX());
    const qreal scaleY = printer->logicalDpiY() / qreal(device->logicalDpiY());
    painter.scale(scaleX, scaleY);
    painter.scale(pageRect.width() / (pageSize.width() * scaleX), pageRect.height() / (pageSize.height() * scaleY));
    const QRectF body(QPointF(0, 0), pageSize);

    bool first = true;
    for (int i = 0; i < pageCount; ++i) {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        document.setDefaultFont(model->defaultFont());
        document.setDefaultTextOption(model->defaultTextOption());
        document.setDocumentMargin(model->documentMargin());
        document.documentLayout()->setPaintDevice(device);
        document.setPageSize(pageSize);
        document.setHtml(pageHtml(i));
        for (int page = 1; page <= document.pageCount(); ++page) {
            if (!first)
                printer->newPage();
            first = false;
            MTextPrinter::printPage(page, &painter, &document, body);
        }
    }
    painter.end();
    return {clock.nsecsElapsed() / 1e9, cpuSeconds() - cpuStart};
}

// --qt-floor PAGES_FILE OUTPUT_FOLDER: the floor alone.
int floorOnly(const QStringList& args)
{
    QFile in(args.value(2));
    if (args.size() < 4 || !in.open(QIODevice::ReadOnly) || !QDir().mkpath(args.at(3))) {
        std::fprintf(stderr, "usage: bench_register --qt-floor PAGES_FILE OUTPUT_FOLDER\n");
        return 2;
    }
    const QStringList pages = QString::fromUtf8(in.readAll()).split(QLatin1Char('\f'));
    in.close();
    const QString file = QDir(args.at(3)).filePath(QStringLiteral("rejestr_qt.pdf"));
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    prepareTemplate(&docTemplate, file);
    const Figure floor = qtFloor(pages.size(), [&pages](int i) { return pages.at(i); }, docTemplate.textEditAsSet(),
                                 docTemplate.getPrinter());
    std::printf("Qt alone: %.2f s, processor %.2f s, %d pages (pdfinfo: %d) -> %s\n", floor.wall, floor.cpu,
                pages.size(), pdfPages(file), qPrintable(file));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--qt-floor"))
        return floorOnly(args);
    if (const int failed = MBenchFigures::openDatabaseAndOutput(args, "bench_register DATABASE OUTPUT_FOLDER [runs]"))
        return failed;
    const QDir out(args.at(2));
    MOptions::loadOptions();
    const int runs = qMax(1, args.value(3, QStringLiteral("3")).toInt());
    const int year = busiestYear();
    if (year == 0) {
        std::fprintf(stderr, "no register documents in %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QDate from(year, 1, 1);
    const QDate to(year, 12, 31);
    const QStringList sellers = allSellers();

    QVector<double> buildTimes;
    int runId = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        runId = MRegisterData::build(from, to, sellers);
        buildTimes << timer.nsecsElapsed() / 1e9;
        if (runId == 0) {
            std::fprintf(stderr, "no register run could be created\n");
            return 1;
        }
    }
    const int documents =
        scalar(QStringLiteral("SELECT count(DISTINCT id_invoice) FROM __invoice_vat_summary WHERE id = %1").arg(runId));
    const int rows = scalar(QStringLiteral("SELECT count(*) FROM __invoice_vat_summary WHERE id = %1").arg(runId));
    std::printf("register data of %d: %d documents, %d rate rows, %d sellers: %.3f s (median of %d)\n", year,
                documents, rows, sellers.size(), median(buildTimes), runs);
    // The layout takes long: the data's figure is shown while it runs.
    std::fflush(stdout);

    const QString file = out.filePath(QStringLiteral("rejestr_%1.pdf").arg(year));
    QScriptEngine engine;
    engine.setProcessEventsInterval(1);
    MDocTemplate docTemplate(QPrinter::ScreenResolution, nullptr);
    prepareTemplate(&docTemplate, file);
    docTemplate.setIdRecord(runId);
    docTemplate.setIdSellerBase(sellers.value(0).toInt());
    docTemplate.setDateFrom(from);
    docTemplate.setDateTo(to);
    docTemplate.setDatePrint(to);
    docTemplate.setPageGenerated(1);

    // The moment each page was begun, seen while the script processes events,
    // as the program's progress box sees it.
    QElapsedTimer clock;
    QVector<double> pageStart;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&]() {
        while (pageStart.size() < docTemplate.getPageGenerated()) {
            pageStart << clock.nsecsElapsed() / 1e9;
            // A long layout shows how far it got, so that a stopped run still gives figures.
            if (pageStart.size() % 100 == 0) {
                std::printf("  page %d begun at %.1f s\n", pageStart.size(), pageStart.last());
                std::fflush(stdout);
            }
        }
    });
    clock.start();
    const double cpuStart = cpuSeconds();
    pageStart << 0.0;
    watch.start(2);
    const bool laidOut =
        MTemplateRun::run(&engine, &docTemplate, QStringLiteral(":/template/invoice_register.js"), nullptr);
    const double layout = clock.nsecsElapsed() / 1e9;
    watch.stop();
    if (!laidOut) {
        std::fprintf(stderr, "the template run failed\n");
        return 1;
    }
    MTemplateRun::printDocument(&docTemplate, docTemplate.getPrinter(), false);
    const double total = clock.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuStart;
    const int pages = docTemplate.getPageGenerated();
    // The pages seen begun while the script still handled events; the last
    // ones may begin after that.
    const int seen = qMin(pages, pageStart.size());

    QProcess::execute(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file});
    // Pages by the moments they were begun; the summary and the whole HTML at the
    // end are no page's paging, so the last page seen (which ends with them) is left out.
    const int span = qMin(100, (seen - 1) / 2);
    const double firstPages = perPage(pageStart, 0, span);
    const double lastPages = perPage(pageStart, seen - 1 - span, seen - 1);
    std::printf("PDF: %.1f s (template %.1f s, printed page by page %.1f s), %d pages (pdfinfo: %d) -> %s\n", total,
                layout, total - layout, pages, pdfPages(file), qPrintable(file));
    std::printf("per page: first %d %.3f s, last %d %.3f s, last / first %.2f times; the last page and the whole "
                "HTML %.1f s\n",
                span, firstPages, span, lastPages, firstPages > 0 ? lastPages / firstPages : 0.0,
                layout - pageStart.value(seen - 1));

    // Written and read a page at a time, so that neither adds a copy of the
    // register to the program's peak memory.
    const MHtmlPageList* list = docTemplate.pageList();
    QFile htmlFile(out.filePath(QStringLiteral("rejestr_%1_pages.html").arg(year)));
    if (htmlFile.open(QIODevice::WriteOnly)) {
        for (int i = 0; i < list->count(); ++i)
            htmlFile.write((i > 0 ? QStringLiteral("\f") : QString()).toUtf8() + list->page(i).toUtf8());
    }
    htmlFile.close();
    const QString floorFile = out.filePath(QStringLiteral("rejestr_%1_qt.pdf").arg(year));
    MDocTemplate floorTemplate(QPrinter::ScreenResolution, nullptr);
    prepareTemplate(&floorTemplate, floorFile);
    const Figure floor = qtFloor(list->count(), [list](int i) { return list->page(i); },
                                 floorTemplate.textEditAsSet(), floorTemplate.getPrinter());
    std::printf("the program %.2f s, processor %.2f s; Qt alone on the same pages %.2f s, processor %.2f s "
                "(pdfinfo: %d) -> %s\n",
                total, cpu, floor.wall, floor.cpu, pdfPages(floorFile), qPrintable(floorFile));
    std::printf("program / Qt alone: %.2f times, processor %.2f times\n", total / floor.wall, cpu / floor.cpu);
    std::printf("aims: register data under 2 s, PDF under 90 s, last / first at most 1.5 times, "
                "program / Qt alone at most 1.3 times\n");
    return 0;
}
