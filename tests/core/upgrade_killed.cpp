// Opens and upgrades the database named by its first argument as the
// program does, and kills itself with SIGKILL as soon as the data repair
// adds its first unit: a program killed in the middle of the repair.

#include "data/MDataRepair.h"
#include "data/MDataResources.h"
#include "data/MDbOpening.h"
#include "data/MSqliteHandle.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <sqlite3.h>

#include <csignal>
#include <cstdio>

namespace {

void killNow(sqlite3_context*, int, sqlite3_value**)
{
    std::raise(SIGKILL);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    initDataResources();
    MDataMessage failure;
    if (!MDbOpening::createConnection(QString::fromLocal8Bit(argv[1]), &failure))
        return 3;
    sqlite3_create_function(MSqliteHandle::of(QSqlDatabase::database()), "kill_now", 0, SQLITE_UTF8, nullptr,
                            killNow, nullptr, nullptr);
    if (!QSqlQuery().exec(QStringLiteral(
            "CREATE TEMP TRIGGER kill_in_repair AFTER INSERT ON main.product_unit BEGIN SELECT kill_now(); END")))
        return 4;

    const QString tempPath = QString::fromLocal8Bit(argv[2]);
    MDbOpening::Steps steps;
    steps.repairDb = [&tempPath](int numLastDb) { MDataRepair::run(numLastDb, tempPath); };
    MDbOpening(tempPath, steps).open();
    std::fprintf(stderr, "the repair ended without adding a unit\n");
    return 5;
}
