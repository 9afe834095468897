// Recomputing the amounts of every document of a large database, and the
// whole data repair around it, each inside one transaction as the repair
// runs it. Prints the median of several runs, in seconds.
//
// Usage: bench_recompute [FILE] [runs]
//        without FILE a database of 100 000 documents is generated first.
//        Every run works on a fresh copy of the file.

#include "MBenchDatabase.h"
#include "core/MDataRepair.h"
#include "core/MDbOpener.h"
#include "core/MRecompute.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    const int n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

void closeConnection()
{
    QSqlDatabase::database().close();
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

// Seconds of `work` on a fresh copy of `source`, opened as the program opens it.
double secondsOnCopy(const QString& source, const QString& copy, const std::function<bool()>& work)
{
    QFile::remove(copy);
    if (!QFile::copy(source, copy) || !MDbOpener::createConnection(copy)) {
        std::fprintf(stderr, "cannot open a copy of %s\n", qPrintable(source));
        std::exit(1);
    }
    QElapsedTimer timer;
    timer.start();
    const bool ok = work();
    const double seconds = timer.nsecsElapsed() / 1e9;
    closeConnection();
    if (!ok) {
        std::fprintf(stderr, "a statement failed\n");
        std::exit(1);
    }
    return seconds;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    QTemporaryDir dir;
    const QStringList args = app.arguments();
    QString source = args.value(1);
    const int runs = qMax(1, args.value(2, QStringLiteral("3")).toInt());
    if (source.isEmpty()) {
        source = dir.filePath(QStringLiteral("Invoice.db3"));
        if (!MBenchDatabase::generate(source, dir.path() + QStringLiteral("/"), MBenchDatabase::Size()))
            return 1;
    }
    const QString copy = dir.filePath(QStringLiteral("copy.db3"));
    {
        MDbOpener::createConnection(source);
        QSqlQuery query(QStringLiteral("SELECT count(*), (SELECT count(*) FROM invoice_product_misc) FROM invoice"));
        query.next();
        std::printf("%s: %d documents, %d lines\n", qPrintable(QFileInfo(source).fileName()), query.value(0).toInt(),
                    query.value(1).toInt());
    }
    closeConnection();

    QVector<double> recompute;
    QVector<double> repair;
    for (int i = 0; i < runs; ++i) {
        recompute << secondsOnCopy(source, copy, [] {
            QSqlQuery(QStringLiteral("begin"));
            const bool ok = MRecompute::recomputeAll().ok();
            return QSqlQuery().exec(QStringLiteral("commit")) && ok;
        });
        repair << secondsOnCopy(source, copy, [&dir] {
            return MDataRepair::run(0, dir.path() + QStringLiteral("/")).ok();
        });
    }
    std::printf("recompute all amounts: %.2f s (aim: under 10 s)\n", median(recompute));
    std::printf("whole data repair:     %.2f s\n", median(repair));
    return 0;
}
