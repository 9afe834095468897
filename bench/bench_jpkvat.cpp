// JPK_VAT(3) of the first 1 000 and 10 000 exported sales documents of a
// generated database. Prints the median of several runs in seconds and leaves
// the files of the last run in the output folder, so that they can be checked
// afterwards (schema, amounts, text).
//
// Usage: bench_jpkvat DATABASE OUTPUT_FOLDER [runs]
//        (DATABASE as bench_generate writes it)

#include "MBenchDatabase.h"
#include "MBenchFigures.h"

#include "data/MJpkVatWriter.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>

#include <cstdio>

using MBenchFigures::median;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    const QStringList args = app.arguments();
    if (const int failed = MBenchFigures::openDatabaseAndOutput(args, "bench_jpkvat DATABASE OUTPUT_FOLDER [runs]"))
        return failed;
    const QDir out(args.at(2));
    const int runs = qMax(1, args.value(3, QStringLiteral("3")).toInt());

    double seconds[2] = {0.0, 0.0};
    const int sizes[2] = {1000, 10000};
    for (int i = 0; i < 2; ++i) {
        MJpkVatRequest request;
        request.ids = MBenchDatabase::jpkDocumentIds(sizes[i]);
        QSqlQuery seller(QStringLiteral("SELECT id_seller_base FROM invoice WHERE id = %1").arg(request.ids.value(0)));
        request.idSeller = seller.next() ? seller.value(0).toInt() : 0;
        request.dateFrom = QDate(2018, 1, 1);
        request.dateTo = QDate(2018, 12, 31);
        const QString file = out.filePath(QStringLiteral("jpk_vat3_%1.xml").arg(sizes[i]));
        QVector<double> times;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            const MJpkVatWriter::Result result = MJpkVatWriter::write(file, request);
            times << timer.nsecsElapsed() / 1e9;
            if (result.outcome != MJpkVatWriter::Outcome::Written) {
                std::fprintf(stderr, "%s\n", qPrintable(result.message));
                return 1;
            }
        }
        seconds[i] = median(times);
        std::printf("JPK_VAT(3) of %d documents: %.3f s -> %s\n", request.ids.size(), seconds[i], qPrintable(file));
    }
    std::printf("10 000 / 1 000: %.1f times (aims: under 3 s, at most 12 times)\n",
                seconds[0] > 0 ? seconds[1] / seconds[0] : 0.0);
    return 0;
}
