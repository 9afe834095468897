// Opening a large database at start-up, from the connection to the options
// being ready for the window (the splash's fixed wait and the building of the
// window's widgets left out), and the parts of it: the emptying of the
// working tables, the seller logo files and the fingerprint refresh.
// Prints the median of several starts, in milliseconds.
//
// Usage: bench_open [FILE] [runs]
//        without FILE a database of 100 000 documents is generated first.

#include "MBenchFigures.h"

#include "MBenchDatabase.h"
#include "core/MAppWnd.h"
#include "core/MDbOpener.h"
#include "data/MDefaultOptions.h"
#include "data/MInvoiceCopies.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using MBenchFigures::closeConnection;
using MBenchFigures::median;

namespace {

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void emptyFolder(const QString& path)
{
    QDir folder(path);
    for (const QString& name : folder.entryList(QDir::Files))
        folder.remove(name);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    const QStringList args = app.arguments();
    const int runs = qMax(1, args.value(2, QStringLiteral("5")).toInt());

    QTemporaryDir work;
    const QString pathTemp = work.path() + QStringLiteral("/");
    QDir(pathTemp).mkpath(QStringLiteral("template/logo"));
    QDir(pathTemp).mkpath(QStringLiteral("temp"));
    QString dbFile = args.value(1);
    if (dbFile.isEmpty()) {
        dbFile = work.filePath(QStringLiteral("Invoice.db3"));
        const double generated = milliseconds([&] {
            if (!MBenchDatabase::generate(dbFile, pathTemp, MBenchDatabase::Size()))
                qFatal("cannot generate the database");
        });
        std::printf("generated 100000 documents in %.0f ms\n", generated);
    }
    std::printf("database %s, %.1f MB\n", qPrintable(dbFile), QFileInfo(dbFile).size() / 1048576.0);

    MDbOpener::Steps steps;
    steps.cleanDisk = [&] {
        emptyFolder(pathTemp + QStringLiteral("temp"));
        emptyFolder(pathTemp + QStringLiteral("template/logo"));
    };

    QVector<double> total, connection, opening, options;
    QVector<double> cleanDb, logos, deleteUnused, refresh, refreshAll;
    for (int run = 0; run < runs; ++run) {
        // A start as the program makes it.
        connection.append(milliseconds([&] {
            if (!MDbOpener::createConnection(dbFile))
                qFatal("cannot open %s", qPrintable(dbFile));
        }));
        opening.append(milliseconds([&] {
            if (MDbOpener(nullptr, pathTemp, steps).open() != MDbOpener::Outcome::Opened)
                qFatal("the database did not open");
        }));
        options.append(milliseconds([&] {
            MAppWnd::loadOptions();
            MDefaultOptions::store(pathTemp);
        }));
        total.append(connection.last() + opening.last() + options.last());
        closeConnection();

        // The same steps one by one, on the same database.
        MDbOpener::createConnection(dbFile);
        cleanDb.append(milliseconds(&MDbOpener::cleanDb));
        logos.append(milliseconds([&] { MDbOpener::writeSellerLogos(pathTemp); }));
        deleteUnused.append(milliseconds(&MInvoiceCopies::deleteUnused));
        refresh.append(milliseconds(&MInvoiceCopies::updateMd5));
        // As after an upgrade whose repair emptied every fingerprint.
        for (const QString& table : MInvoiceCopies::tables())
            QSqlQuery(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET id_md5 = ''"));
        refreshAll.append(milliseconds(&MInvoiceCopies::updateMd5));
        closeConnection();
    }

    std::printf("median of %d starts, ms\n", runs);
    std::printf("  opening, connection to options ready   %8.1f\n", median(total));
    std::printf("    connection and its settings          %8.1f\n", median(connection));
    std::printf("    database opening                     %8.1f\n", median(opening));
    std::printf("    options and their defaults           %8.1f\n", median(options));
    std::printf("  parts of the database opening\n");
    std::printf("    working tables emptied               %8.1f\n", median(cleanDb));
    std::printf("    seller logo files                    %8.1f\n", median(logos));
    std::printf("    unused copies deleted                %8.1f\n", median(deleteUnused));
    std::printf("    fingerprints refreshed               %8.1f\n", median(refresh));
    std::printf("    fingerprints all recomputed          %8.1f\n", median(refreshAll));
    return 0;
}
