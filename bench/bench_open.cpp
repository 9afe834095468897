// Opening a large database at start-up, from the connection to the options
// being ready for the window (the splash's fixed wait and the building of the
// window's widgets left out), and the parts of it: the emptying of the
// working tables, the seller logo files and the fingerprint refresh. The
// clean-up of unused copies and the fingerprint refresh together are shown
// beside the same work done as plainly as it reads (each list of references
// gathered whole, every copy read into the program and fingerprinted there),
// on the same database in the same run.
// Prints the median [smallest .. largest] of several starts, in milliseconds.
//
// Usage: bench_open [FILE] [runs]
//        without FILE databases of 10 000 and 100 000 documents are generated first.

#include "MBenchFigures.h"

#include "MBenchDatabase.h"
#include "core/MDbOpener.h"
#include "data/MDefaultOptions.h"
#include "data/MInvoiceCopies.h"
#include "data/MOptions.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using MBenchFigures::closeConnection;
using MBenchFigures::median;
using MBenchFigures::milliseconds;

namespace {

void emptyFolder(const QString& path)
{
    QDir folder(path);
    for (const QString& name : folder.entryList(QDir::Files))
        folder.remove(name);
}

// The reference: the unused copies deleted by statements that gather each list
// of references whole, then every copy read into the program, fingerprinted
// there and written back where its fingerprint changed.
void plainCleanUpAndRefresh()
{
    static const char* const statements[] = {
        "begin",
        "DELETE FROM invoice_buyer WHERE id NOT IN (SELECT id_buyer FROM invoice UNION SELECT id_buyer2 FROM invoice)",
        "DELETE FROM invoice_buyer_address WHERE id NOT IN (SELECT id_address_contact FROM invoice_buyer)",
        "DELETE FROM invoice_currency_rating WHERE id NOT IN (SELECT id_currency_rating FROM invoice)",
        "DELETE FROM invoice_end_text WHERE id NOT IN (SELECT id_end_text FROM invoice UNION SELECT id_end_text2 "
        "FROM invoice)",
        "DELETE FROM invoice_product WHERE id NOT IN (SELECT id_product FROM invoice_product_misc)",
        "DELETE FROM invoice_seller WHERE id NOT IN (SELECT id_seller FROM invoice)",
        "commit",
        "begin",
    };
    QSqlQuery query;
    for (const char* statement : statements)
        query.exec(QString::fromLatin1(statement));
    for (const QString& table : MInvoiceCopies::tables()) {
        const QStringList columns = MInvoiceCopies::md5Columns(table);
        QSqlQuery select;
        select.setForwardOnly(true);
        select.exec(QStringLiteral("SELECT id, id_md5, ") + columns.join(QStringLiteral(", "))
                    + QStringLiteral(" FROM ") + table);
        QVector<QPair<qlonglong, QString>> changed;
        while (select.next()) {
            QVariantList values;
            for (int i = 0; i < columns.size(); ++i)
                values.append(select.value(2 + i));
            const QString fingerprint = MInvoiceCopies::md5(values);
            if (select.value(1).toString() != fingerprint)
                changed.append({ select.value(0).toLongLong(), fingerprint });
        }
        QSqlQuery update;
        update.prepare(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET id_md5 = :md5 WHERE id = :id"));
        for (const auto& row : qAsConst(changed)) {
            update.bindValue(QStringLiteral(":md5"), row.second);
            update.bindValue(QStringLiteral(":id"), row.first);
            update.exec();
        }
    }
    query.exec(QStringLiteral("commit"));
}

QString spread(const QVector<double>& values, int decimals = 1)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1 [%2 .. %3]")
        .arg(median(values), 8, 'f', decimals)
        .arg(*low, 0, 'f', decimals)
        .arg(*high, 0, 'f', decimals);
}

void measure(const QString& dbFile, const QString& pathTemp, int runs);

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
    if (!args.value(1).isEmpty()) {
        measure(args.value(1), pathTemp, runs);
        return 0;
    }
    for (const int documents : { 10000, 100000 }) {
        const QString dbFile = work.filePath(QStringLiteral("Invoice%1.db3").arg(documents));
        MBenchDatabase::Size size;
        size.documents = documents;
        const double generated = milliseconds([&] {
            if (!MBenchDatabase::generate(dbFile, pathTemp, size))
                qFatal("cannot generate the database");
        });
        std::printf("generated %d documents in %.0f ms\n", documents, generated);
        measure(dbFile, pathTemp, runs);
    }
    return 0;
}

namespace {

void measure(const QString& dbFile, const QString& pathTemp, int runs)
{
    std::printf("database %s, %.1f MB\n", qPrintable(dbFile), QFileInfo(dbFile).size() / 1048576.0);

    MDbOpener::Steps steps;
    steps.cleanDisk = [&] {
        emptyFolder(pathTemp + QStringLiteral("temp"));
        emptyFolder(pathTemp + QStringLiteral("template/logo"));
    };

    QVector<double> total, connection, opening, options;
    QVector<double> cleanDb, logos, deleteUnused, refresh, plainRefresh, refreshAll, plainRefreshAll;
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
            MOptions::loadOptions();
            MDefaultOptions::store(pathTemp);
        }));
        total.append(connection.last() + opening.last() + options.last());
        closeConnection();

        // The same steps one by one, on the same database.
        MDbOpener::createConnection(dbFile);
        cleanDb.append(milliseconds(&MDbOpener::cleanDb));
        logos.append(milliseconds([&] { MDbOpener::writeSellerLogos(pathTemp); }));
        deleteUnused.append(milliseconds(&MInvoiceCopies::deleteUnused));
        // Clean-up and refresh together, in turn with the reference.
        refresh.append(milliseconds(&MInvoiceCopies::updateMd5));
        plainRefresh.append(milliseconds(&plainCleanUpAndRefresh));
        // As after an upgrade whose repair emptied every fingerprint.
        const auto emptyFingerprints = [] {
            for (const QString& table : MInvoiceCopies::tables())
                QSqlQuery(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET id_md5 = ''"));
        };
        emptyFingerprints();
        refreshAll.append(milliseconds(&MInvoiceCopies::updateMd5));
        emptyFingerprints();
        plainRefreshAll.append(milliseconds(&plainCleanUpAndRefresh));
        closeConnection();
    }
    QVector<double> ratios;
    for (int run = 0; run < runs; ++run)
        ratios.append(refresh.at(run) / plainRefresh.at(run));

    std::printf("median [min .. max] of %d starts, ms\n", runs);
    std::printf("  opening, connection to options ready   %s\n", qPrintable(spread(total)));
    std::printf("    connection and its settings          %s\n", qPrintable(spread(connection)));
    std::printf("    database opening                     %s\n", qPrintable(spread(opening)));
    std::printf("    options and their defaults           %s\n", qPrintable(spread(options)));
    std::printf("  parts of the database opening\n");
    std::printf("    working tables emptied               %s\n", qPrintable(spread(cleanDb)));
    std::printf("    seller logo files                    %s\n", qPrintable(spread(logos)));
    std::printf("    unused copies deleted                %s\n", qPrintable(spread(deleteUnused)));
    std::printf("    clean-up and refresh, aim < 150      %s\n", qPrintable(spread(refresh)));
    std::printf("      the same, done plainly             %s\n", qPrintable(spread(plainRefresh)));
    std::printf("      ratio                              %s\n", qPrintable(spread(ratios, 2)));
    std::printf("    fingerprints all recomputed          %s\n", qPrintable(spread(refreshAll)));
    std::printf("      the same, done plainly             %s\n", qPrintable(spread(plainRefreshAll)));
}

} // namespace
