// Times the Polish-language SQLite layer on 100 000 firm names:
// sorting with COLLATE POLISH (against the built-in byte order), the list
// search condition and lower().
#include "data/MSqlitePolish.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QVariant>

#include <cstdio>

namespace {

QString randomName(QRandomGenerator& random)
{
    static const QStringList syllables = {"ża", "łó", "dź", "ka", "ść", "rze", "sz", "ą", "mi", "ę", "ń",
                                          "Zo", "Ł", "Ć", "Śr", "ba", "wo", "ko", "le", "pi", "cz", "Ź"};
    QString name;
    const int count = 2 + random.bounded(6);
    for (int i = 0; i < count; ++i)
        name += syllables.at(random.bounded(syllables.size()));
    if (random.bounded(3) == 0)
        name = name.toUpper();
    return name + QLatin1Char(' ') + QString::number(random.bounded(1000));
}

qint64 timeQuery(const QString& sql, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query;
    query.setForwardOnly(true);
    if (!query.exec(sql))
        std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
    *rows = 0;
    while (query.next())
        ++*rows;
    return timer.elapsed();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int nameCount = 100000;

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    QString error;
    if (!db.open() || !MSqlitePolish::install(db, &error)) {
        std::fprintf(stderr, "cannot open the database: %s\n", qPrintable(error));
        return 1;
    }
    QSqlQuery query;
    query.exec(QStringLiteral("SELECT icu_load_collation('pl_PL', 'POLISH')"));
    query.exec(QStringLiteral("CREATE TABLE buyer (id INTEGER PRIMARY KEY, firm TEXT)"));
    query.exec(QStringLiteral("begin"));
    query.prepare(QStringLiteral("INSERT INTO buyer (firm) VALUES (?)"));
    QRandomGenerator random(53);
    for (int i = 0; i < nameCount; ++i) {
        query.addBindValue(randomName(random));
        query.exec();
    }
    QSqlQuery(QStringLiteral("commit"));

    const struct
    {
        const char* label;
        const char* sql;
    } runs[] = {
        {"ORDER BY firm (bytes)", "SELECT firm FROM buyer ORDER BY firm, id"},
        {"ORDER BY firm COLLATE POLISH", "SELECT firm FROM buyer ORDER BY firm COLLATE POLISH, id"},
        {"ORDER BY firm COLLATE POLISH DESC", "SELECT firm FROM buyer ORDER BY firm COLLATE POLISH DESC, id DESC"},
        {"LIKE '%łó%' ESCAPE", "SELECT firm FROM buyer WHERE (firm LIKE '%łó%' ESCAPE '\\' COLLATE POLISH)"},
        {"LIKE '%żałó\\_%' ESCAPE", "SELECT firm FROM buyer WHERE (firm LIKE '%żałó\\_%' ESCAPE '\\' COLLATE POLISH)"},
        {"lower(firm)", "SELECT lower(firm) FROM buyer"},
        {"upper(firm)", "SELECT upper(firm) FROM buyer"},
    };
    QTextStream out(stdout);
    out << nameCount << " names\n";
    for (const auto& run : runs) {
        int rows = 0;
        const qint64 ms = timeQuery(QString::fromUtf8(run.sql), &rows);
        out << QString::fromUtf8(run.label).leftJustified(36) << QString::number(ms).rightJustified(6)
            << " ms  " << rows << " rows\n";
    }
    return 0;
}
