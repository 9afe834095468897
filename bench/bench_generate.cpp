// Writes a database of realistic data at scale, for the other benchmarks
// and for trying the program on a large database.
//
// Usage: bench_generate FILE [documents] [buyers] [products]
//        (defaults 100000, 10000, 5000; FILE must not exist)

#include "MBenchDatabase.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    const QStringList args = app.arguments();
    if (args.size() < 2 || QFileInfo::exists(args.at(1))) {
        std::fprintf(stderr, "usage: bench_generate FILE [documents] [buyers] [products]; FILE must not exist\n");
        return 2;
    }
    MBenchDatabase::Size size;
    size.documents = args.value(2, QString::number(size.documents)).toInt();
    size.buyers = args.value(3, QString::number(size.buyers)).toInt();
    size.products = args.value(4, QString::number(size.products)).toInt();

    QElapsedTimer timer;
    timer.start();
    const QString documents = QFileInfo(args.at(1)).absolutePath() + QStringLiteral("/");
    if (!MBenchDatabase::generate(args.at(1), documents, size))
        return 1;
    std::printf("%d documents, %d buyers, %d products: %.1f s, %.1f MB\n", size.documents, size.buyers,
                size.products, timer.elapsed() / 1000.0, QFileInfo(args.at(1)).size() / 1048576.0);
    return 0;
}
