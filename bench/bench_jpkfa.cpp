// JPK_FA(1) of the PLN documents among the first 1 000 and 10 000 exported sales documents of a
// generated database. Prints the median of several runs in seconds and leaves
// the files of the last run in the output folder, so that they can be checked
// afterwards (schema, amounts, text).
//
// Usage: bench_jpkfa DATABASE OUTPUT_FOLDER [runs]
//        (DATABASE as bench_generate writes it; it is not changed: the run works
//        on a copy whose sellers get the district and commune that the export
//        dialog asks for and the generator leaves empty)

#include "MBenchDatabase.h"
#include "MBenchFigures.h"

#include "core/MDbOpener.h"
#include "data/MJpkFaWriter.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using MBenchFigures::median;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    const QStringList args = app.arguments();
    if (args.size() < 3 || !QFileInfo(args.at(1)).isFile()) {
        std::fprintf(stderr, "usage: bench_jpkfa DATABASE OUTPUT_FOLDER [runs]\n");
        return 2;
    }
    const QDir out(args.at(2));
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("Invoice.db3"));
    if (!QDir().mkpath(out.path()) || !QFile::copy(args.at(1), copy) || !MDbOpener::createConnection(copy)) {
        std::fprintf(stderr, "cannot open %s or create %s\n", qPrintable(args.at(1)), qPrintable(args.at(2)));
        return 1;
    }
    QSqlQuery(QStringLiteral("UPDATE seller SET province2 = 'warszawski' WHERE province2 = ''"));
    QSqlQuery(QStringLiteral("UPDATE seller SET province3 = 'Warszawa' WHERE province3 = ''"));
    const int runs = qMax(1, args.value(3, QStringLiteral("3")).toInt());

    double seconds[2] = {0.0, 0.0};
    const int sizes[2] = {1000, 10000};
    for (int i = 0; i < 2; ++i) {
        MJpkFaRequest request;
        request.ids = MBenchDatabase::jpkDocumentIds(sizes[i]);
        QSqlQuery seller(QStringLiteral("SELECT id_seller_base FROM invoice WHERE id = %1").arg(request.ids.value(0)));
        request.idSeller = seller.next() ? seller.value(0).toInt() : 0;
        request.dateFrom = QDate(2018, 1, 1);
        request.dateTo = QDate(2018, 12, 31);
        request.currencySymbol = QStringLiteral("PLN");
        request.officeCode = QStringLiteral("1403");
        const QString file = out.filePath(QStringLiteral("jpk_fa_%1-PLN.xml").arg(sizes[i]));
        int rows = 0;
        QVector<double> times;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            const MJpkFaWriter::Result result = MJpkFaWriter::write(file, request);
            times << timer.nsecsElapsed() / 1e9;
            rows = result.rows;
            if (result.outcome != MJpkFaWriter::Outcome::Written) {
                std::fprintf(stderr, "%s\n", qPrintable(result.message));
                return 1;
            }
        }
        seconds[i] = median(times);
        std::printf("JPK_FA(1) of %d documents (%d rows): %.3f s -> %s\n", request.ids.size(), rows, seconds[i],
                    qPrintable(file));
    }
    std::printf("10 000 / 1 000: %.1f times (aims: under 8 s, at most 12 times)\n",
                seconds[0] > 0 ? seconds[1] / seconds[0] : 0.0);
    return 0;
}
