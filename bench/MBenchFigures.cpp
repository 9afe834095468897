#include "MBenchFigures.h"

#include "core/MDbOpener.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>

#include <algorithm>
#include <cstdio>

namespace MBenchFigures {

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

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

int openDatabaseAndOutput(const QStringList& args, const char* usage)
{
    if (args.size() < 3 || !QFileInfo(args.at(1)).isFile()) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    if (!QDir().mkpath(args.at(2)) || !MDbOpener::createConnection(args.at(1))) {
        std::fprintf(stderr, "cannot open %s or create %s\n", qPrintable(args.at(1)), qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}

int pdfPages(const QString& file)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {file});
    process.waitForFinished();
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return 0;
}

} // namespace MBenchFigures
