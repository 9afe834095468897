// Importing an SQL file of 200 000 INSERT lines through the program's
// import, side by side with the sqlite3 shell reading the same file in one
// transaction. The file is written as the converter writes its output:
// Windows-1250 text, CR LF line ends, one statement per line (buyers,
// products, documents and, most of all, document lines). Prints the median
// of several runs, each on a fresh copy of a new database, and the peak
// memory the import adds to the program.
//
// Usage: bench_import [lines] [runs]

#include "MBenchFigures.h"

#include "core/MDbOpener.h"
#include "core/MSqlImport.h"
#include "data/MSqlScriptRunner.h"
#include "resources/MResources.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextCodec>

#include <cstdio>
#include <functional>

using MBenchFigures::closeConnection;
using MBenchFigures::median;

namespace {

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
qint64 statusKib(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(QByteArray(field) + ':'))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Starts a new peak: the kernel's high-water mark falls back to the present size.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

// A tenth buyers, products and documents each, the rest document lines.
void writeSqlFile(const QString& path, int lines)
{
    const int each = lines / 10;
    const int documentLines = lines - 3 * each;
    const QStringList cities{"Łódź", "Kraków", "Gdańsk", "Zielona Góra", "Bielsko-Biała", "Żyrardów"};
    QString text;
    text.reserve(lines * 200);
    const QString stamp = QStringLiteral("'2009-03-14 10:00:00', '2009-03-14 10:00:00'");
    for (int i = 1; i <= each; ++i)
        text += QStringLiteral("INSERT INTO buyer (id, firm, nip, address, city, zipcode, time_create, time_modify) "
                               "VALUES (%1, 'Przedsiębiorstwo Usługowe „Źródło” nr %1', '%2', 'ul. Świętokrzyska %3', "
                               "'%4', '00-%5', %6);\r\n")
                    .arg(i)
                    .arg(5260000000LL + i)
                    .arg(i % 200 + 1)
                    .arg(cities.at(i % cities.size()))
                    .arg(i % 1000, 3, 10, QLatin1Char('0'))
                    .arg(stamp);
    for (int i = 1; i <= each; ++i)
        text += QStringLiteral("INSERT INTO invoice_product (id, name, unit, netto_price, brutto_price, vat, vat_text, "
                               "count_from_netto, time_create, time_modify) VALUES (%1, 'Usługa księgowa %1', 'godz.', "
                               "%2.50, 0, 23, '23%', 1, %3);\r\n")
                    .arg(i)
                    .arg(i % 300 + 10)
                    .arg(stamp);
    for (int i = 1; i <= each; ++i)
        text += QStringLiteral("INSERT INTO invoice (id, id_buyer, invoice_index, invoice_kind, date_put, date_sell, "
                               "date_pay, place_put, time_create, time_modify) VALUES (%1, %2, %1, 0, '2009-03-14', "
                               "'2009-03-14', '2009-03-28', 'Łódź', %3);\r\n")
                    .arg(i)
                    .arg(i % each + 1)
                    .arg(stamp);
    for (int i = 1; i <= documentLines; ++i)
        text += QStringLiteral("INSERT INTO invoice_product_misc (id, id_invoice, id_product, amount, reduct) "
                               "VALUES (%1, %2, %3, %4, 0);\r\n")
                    .arg(i)
                    .arg(i % each + 1)
                    .arg(i % each + 1)
                    .arg(i % 7 + 1);
    QFile file(path);
    const QByteArray bytes = QTextCodec::codecForName("Windows-1250")->fromUnicode(text);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("cannot write the SQL file");
}

double seconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    initInvoiceResources();
    const QStringList args = app.arguments();
    const int lines = args.value(1, QStringLiteral("200000")).toInt();
    const int runs = qMax(1, args.value(2, QStringLiteral("3")).toInt());

    QTemporaryDir dir;
    const QString sqlFile = dir.filePath(QStringLiteral("mirvole.sql"));
    writeSqlFile(sqlFile, lines);
    const QString empty = dir.filePath(QStringLiteral("empty.db3"));
    if (!MDbOpener::createConnection(empty) || !MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false).ok())
        fail("cannot make the database");
    closeConnection();
    const QString copy = dir.filePath(QStringLiteral("copy.db3"));
    auto freshCopy = [&] {
        QFile::remove(copy);
        if (!QFile::copy(empty, copy))
            fail("cannot copy the database");
    };

    QVector<double> shell;
    QVector<double> runner;
    QVector<double> import;
    QVector<double> importMemory;
    for (int i = 0; i < runs; ++i) {
        freshCopy();
        shell << seconds([&] {
            QProcess sqlite;
            sqlite.start(QStringLiteral("sqlite3"), {copy});
            sqlite.write("BEGIN;\n.read '" + sqlFile.toUtf8() + "'\nCOMMIT;\n");
            sqlite.closeWriteChannel();
            if (!sqlite.waitForFinished(-1) || sqlite.exitCode() != 0)
                fail("the sqlite3 shell failed");
        });

        freshCopy();
        MDbOpener::createConnection(copy);
        runner << seconds([&] {
            const MSqlScriptRunner::Result result = MSqlScriptRunner::run(sqlFile, true);
            if (!result.ok() || result.executed != lines)
                fail("the script runner did not run every line");
        });
        closeConnection();

        freshCopy();
        MDbOpener::createConnection(copy);
        resetPeak();
        const qint64 before = statusKib("VmRSS");
        import << seconds([&] {
            const MSqlImport::Report report = MSqlImport::importFile(sqlFile, dir.path() + QStringLiteral("/"));
            if (!report.ok())
                fail(qPrintable(report.message()));
            MDbOpener::cleanDb();
        });
        importMemory << double(statusKib("VmHWM") - before) / 1024.0;
        closeConnection();
    }
    const double base = median(shell);
    std::printf("%d INSERT lines\n", lines);
    std::printf("sqlite3 shell, one transaction:      %.2f s\n", base);
    std::printf("import, statements only:             %.2f s (%.2f x the shell; aim: 1.5 x)\n", median(runner),
                median(runner) / base);
    std::printf("import with repair and clean-up:     %.2f s (%.2f x the shell)\n", median(import),
                median(import) / base);
    std::printf("peak memory of the import:           %.1f MB above the program's before it (aim: 30 MB)\n",
                median(importMemory));
    return 0;
}
