// The first rows of the sales list at 10 000 and at 100 000 documents, for the sorts
// the list offers, from the start of the query (and, last, the whole list read): the list's statement through the
// list's model (its first 256 rows read as shown) beside the same statement run bare
// through the SQLite API (its first 256 rows stepped, every column read as text), and
// beside that the statement as it was before the list read its arms in order (the
// whole union sorted first), run bare. Prints medians of several runs in ms, the
// ratio list / bare, and how the bare figure grows from 10 000 to 100 000 documents.
//
// Usage: bench_documentlistfirst [runs] [--small FILE] [--large FILE]
//   FILE is a database of 10 000 (--small) or 100 000 (--large) documents; it is
//   generated first when it does not exist, and kept, so that later runs reuse it.
//
// Figures of 2026-12-11 on the shared machine, two processes before (duplicates sorted
// whole by sale and due date) and two after (duplicates read from their parents), in
// turn, medians of 3 runs each; ms, 10k / 100k:
//                      list before          list after         bare before         bare after
//   sale date desc.    14.6/42.9 14.3/36.5  15.2/13.7 13.7/13.1  7.3/33.4 7.2/30.2  6.8/7.9 6.2/7.1
//   due date           15.0/42.5 16.0/35.4  14.6/14.7 13.6/13.6  7.0/36.7 7.4/30.0  7.1/8.5 6.6/7.9
// A family of fewer than MInvoiceListSql::parentFirstFrom duplicates is still sorted
// whole, so those first rows grow with the number of such duplicates.

#include "MBenchDatabase.h"
#include "MBenchFigures.h"
#include "MTestDatabase.h"
#include "data/MInvoiceListSql.h"
#include "data/MSqliteHandle.h"
#include "views/MSqlQueryModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <functional>

namespace {

const int firstRows = 256;

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The first `rows` rows of the statement, or all with -1.
void bareRows(const QString& sql, int rows = firstRows)
{
    sqlite3* db = MSqliteHandle::of(QSqlDatabase::database());
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), text.size(), &statement, nullptr) != SQLITE_OK)
        return;
    const int columns = sqlite3_column_count(statement);
    for (int row = 0; row != rows && sqlite3_step(statement) == SQLITE_ROW; ++row) {
        for (int column = 0; column < columns; ++column)
            sqlite3_column_text(statement, column);
    }
    sqlite3_finalize(statement);
}

// The column kinds of the document lists.
const QList<int> kinds = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9, 1, 0, 0};

void listRows(const QString& sql, bool all)
{
    MSqlQueryModel model;
    model.setColumnKinds(kinds);
    model.setQuery(sql);
    if (all) {
        while (model.canFetchMore())
            model.fetchMore();
    }
    const int rows = qMin(model.rowCount(), firstRows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < model.columnCount(); ++column)
            model.index(row, column).data();
    }
}

struct SortCase
{
    const char* name;
    int column;
    bool descending;
    bool allRows = false; // the whole list read, as when it is scrolled to its end
};

// The default sort first, then the sorts that indexes serve, then the others.
const SortCase sortCases[] = {
    {"id (default)", 0, false},  {"id descending", 0, true},         {"number", 1, false},
    {"number descending", 1, true}, {"issue date", 8, false},        {"sale date desc.", 9, true},
    {"due date", 11, false},      {"buyer", 5, false},               {"payment text", 12, false},
    {"gross", 15, true},          {"id, all rows", 0, false, true},  {"number, all rows", 1, false, true},
};

struct Figures
{
    double list = 0;
    double bare = 0;
    double before = 0;
};

Figures measure(const SortCase& sort, int runs)
{
    MInvoiceListSql sql;
    sql.sortColumn = sort.column;
    sql.descending = sort.descending;
    const QString merged = sql.statement(MInvoiceListSql::FullList);
    sql.sortWholeUnion = true;
    const QString whole = sql.statement(MInvoiceListSql::FullList);

    QVector<double> list, bare, before;
    for (int run = 0; run < runs; ++run) {
        const int rows = sort.allRows ? -1 : firstRows;
        list << milliseconds([&] { listRows(merged, sort.allRows); });
        bare << milliseconds([&] { bareRows(merged, rows); });
        before << milliseconds([&] { bareRows(whole, rows); });
    }
    return {MBenchFigures::median(list), MBenchFigures::median(bare), MBenchFigures::median(before)};
}

bool openDatabase(const QString& file, int documents, QTemporaryDir& dir, QTextStream& out)
{
    const QString dbFile = file.isEmpty() ? dir.filePath(QStringLiteral("Invoice%1.db3").arg(documents)) : file;
    MBenchDatabase::Size size;
    size.documents = documents;
    size.buyers = documents / 10;
    if (!QFileInfo::exists(dbFile) && !MBenchDatabase::generate(dbFile, dir.path(), size)) {
        out << "cannot build the database of " << documents << " documents\n";
        return false;
    }
    if (!MTestDatabase::open(dbFile)) {
        out << "cannot open " << dbFile << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QTextStream out(stdout);

    int runs = 5;
    QString files[2];
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--small") && i + 1 < args.size())
            files[0] = args.at(++i);
        else if (args.at(i) == QLatin1String("--large") && i + 1 < args.size())
            files[1] = args.at(++i);
        else
            runs = qMax(1, args.at(i).toInt());
    }

    const int documents[2] = {10000, 100000};
    const int caseCount = int(sizeof sortCases / sizeof sortCases[0]);
    QVector<Figures> figures[2];
    QTemporaryDir dir;
    for (int size = 0; size < 2; ++size) {
        if (!openDatabase(files[size], documents[size], dir, out))
            return 1;
        for (const SortCase& sort : sortCases)
            figures[size] << measure(sort, runs);
        MTestDatabase::close();
    }

    out << "  ms (first 256 rows)  " << "  list 10k" << "  bare 10k" << "  before 10k" << "   list 100k"
        << "  bare 100k" << "  before 100k" << "   list/bare 100k" << "  bare 100k/10k\n";
    for (int c = 0; c < caseCount; ++c) {
        const Figures& small = figures[0].at(c);
        const Figures& large = figures[1].at(c);
        out << "  " << QString::fromLatin1(sortCases[c].name).leftJustified(20)
            << QString::number(small.list, 'f', 1).rightJustified(10)
            << QString::number(small.bare, 'f', 1).rightJustified(10)
            << QString::number(small.before, 'f', 1).rightJustified(12)
            << QString::number(large.list, 'f', 1).rightJustified(12)
            << QString::number(large.bare, 'f', 1).rightJustified(11)
            << QString::number(large.before, 'f', 1).rightJustified(13)
            << QString::number(large.list / qMax(large.bare, 0.001), 'f', 2).rightJustified(17)
            << QString::number(large.bare / qMax(small.bare, 0.001), 'f', 2).rightJustified(15) << "\n";
    }
    return 0;
}
