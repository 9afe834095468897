// Creating a new database from the schema script: the application's runner
// against the sqlite3 shell reading the same statements in one transaction.
// Prints the median of several runs of each, in milliseconds.
//
// Usage: bench_schema [runs]   (default 15)

#include "MBenchFigures.h"

#include "data/MSqlScriptRunner.h"
#include "resources/MResources.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using MBenchFigures::median;

namespace {

double runApplication(const QString& dbFile)
{
    QElapsedTimer timer;
    timer.start();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(dbFile);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(dbFile));
        const MSqlScriptRunner::Result result = MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false);
        if (!result.ok())
            qFatal("script failed: %s", qPrintable(result.firstError));
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    return timer.nsecsElapsed() / 1e6;
}

double runShell(const QString& dbFile, const QByteArray& statements)
{
    QElapsedTimer timer;
    timer.start();
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), dbFile});
    shell.write(statements);
    shell.closeWriteChannel();
    if (!shell.waitForFinished(60000) || shell.exitCode() != 0)
        qFatal("sqlite3 failed: %s", shell.readAllStandardError().constData());
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    initInvoiceResources();
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;

    QFile script(QStringLiteral(":/sql/invoice.sql"));
    if (!script.open(QIODevice::ReadOnly))
        qFatal("no schema script");
    const QByteArray statements = "BEGIN;\n" + script.readAll() + "\nCOMMIT;\n";

    QTemporaryDir dir;
    QVector<double> application;
    QVector<double> shell;
    QVector<double> shellStart;
    for (int i = 0; i < runs; ++i) {
        // Alternate, so that both see the same state of the disk cache.
        application << runApplication(dir.filePath(QStringLiteral("app%1.db3").arg(i)));
        shell << runShell(dir.filePath(QStringLiteral("shell%1.db3").arg(i)), statements);
        shellStart << runShell(QStringLiteral(":memory:"), QByteArray());
    }

    const double a = median(application);
    const double s = median(shell);
    std::printf("new database from the schema script, median of %d runs\n", runs);
    std::printf("  application runner: %8.2f ms\n", a);
    std::printf("  sqlite3 shell:      %8.2f ms (process start included)\n", s);
    std::printf("  sqlite3 start only: %8.2f ms\n", median(shellStart));
    std::printf("  ratio:              %8.2f (aim: at most 1.50)\n", a / s);
    return 0;
}
