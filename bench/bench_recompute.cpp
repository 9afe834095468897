// Recomputing the amounts of every document of a large database, and the
// whole data repair around it, each inside one transaction as the repair
// runs it. Prints the median of several runs, in seconds, and a checksum of
// every recomputed amount, so that a faster way of computing them can be
// shown to give exactly the same values.
//
// Usage: bench_recompute [FILE] [runs]
//        without FILE a database of 100 000 documents is generated first.
//        Every run works on a fresh copy of the file.

#include "MBenchFigures.h"

#include "core/MDbOpener.h"
#include "data/MDataRepair.h"
#include "data/MRecompute.h"
#include "MBenchDatabase.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using MBenchFigures::closeConnection;
using MBenchFigures::median;

namespace {

// SHA-1 of every column that the recomputation writes, row by row in a fixed
// order; quote() keeps the storage class, so 10 and 10.0 differ.
QByteArray amountsChecksum()
{
    const QStringList selects {
        QStringLiteral("SELECT quote(id), quote(netto_price), quote(brutto_price) FROM product ORDER BY id"),
        QStringLiteral("SELECT quote(id), quote(netto_price), quote(brutto_price) FROM invoice_product ORDER BY id"),
        QStringLiteral("SELECT quote(id), quote(netto_price), quote(brutto_price), quote(vat_price), "
                       "quote(netto_rating_price), quote(brutto_rating_price), quote(vat_rating_price) "
                       "FROM invoice_product_misc ORDER BY id"),
        QStringLiteral("SELECT quote(id), quote(id_invoice), quote(id_vat), quote(netto_price), quote(brutto_price), "
                       "quote(vat_price), quote(netto_rating_price), quote(brutto_rating_price), "
                       "quote(vat_rating_price), quote(netto_part_price), quote(brutto_part_price), "
                       "quote(vat_part_price), quote(netto_part_rating_price), quote(brutto_part_rating_price), "
                       "quote(vat_part_rating_price) FROM invoice_summary_vat ORDER BY id"),
        QStringLiteral("SELECT quote(id), quote(global_netto), quote(global_brutto), quote(global_vat), "
                       "quote(global_netto_rating), quote(global_brutto_rating), quote(global_vat_rating), "
                       "quote(global_netto_part), quote(global_brutto_part), quote(global_vat_part), "
                       "quote(global_netto_part_rating), quote(global_brutto_part_rating), "
                       "quote(global_vat_part_rating) FROM invoice ORDER BY id"),
    };
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString& select : selects) {
        QSqlQuery query;
        query.setForwardOnly(true);
        query.exec(select);
        const int columns = query.record().count();
        while (query.next()) {
            for (int i = 0; i < columns; ++i)
                hash.addData(query.value(i).toString().toUtf8() + ',');
            hash.addData("\n", 1);
        }
        hash.addData("--\n", 3);
    }
    return hash.result().toHex();
}

// Seconds of `work` on a fresh copy of `source`, opened as the program opens
// it; `inspect` then looks at the copy before it is closed.
double secondsOnCopy(const QString& source, const QString& copy, const std::function<bool()>& work,
                     const std::function<void()>& inspect = {})
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
    if (inspect)
        inspect();
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
    QByteArray checksum;
    for (int i = 0; i < runs; ++i) {
        recompute << secondsOnCopy(
            source, copy,
            [] {
                QSqlQuery(QStringLiteral("begin"));
                const bool ok = MRecompute::recomputeAll().ok();
                return QSqlQuery().exec(QStringLiteral("commit")) && ok;
            },
            [&checksum, i] {
                if (i == 0)
                    checksum = amountsChecksum();
            });
        repair << secondsOnCopy(source, copy, [&dir] {
            return MDataRepair::run(0, dir.path() + QStringLiteral("/")).ok();
        });
    }
    std::printf("recompute all amounts: %.2f s (aim: under 10 s)\n", median(recompute));
    std::printf("whole data repair:     %.2f s\n", median(repair));
    std::printf("amounts checksum:      %s\n", checksum.constData());
    return 0;
}
