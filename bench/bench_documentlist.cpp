// The sales list on a generated database of 100 000 documents: the first rows under
// the default sort and by number, the searches by tax number and by product name, the
// sort by buyer in Polish order and the row of one id, each as the list runs it (the
// list's own statement through its model, the first 256 rows read as shown) beside the
// same statement run bare through the SQLite API on the same connection (its first
// 256 rows stepped, every column read as text); then the quick view of one and of
// 1 000 selected documents. Prints the median [smallest .. largest] of several runs in
// ms and the median of the run-by-run ratios list / bare. The list's statement and
// model are the ones the sales list's view runs: its own SQL, set on MSqlQueryModel
// as the view sets it.
//
// Usage: bench_documentlist [runs] [--database FILE] [--only CASE | --only CASE:bare]
//   --database FILE  uses FILE, generating it first when it does not exist (and keeping
//                    it), so that several runs of the program share one database;
//   --only CASE      runs one case `runs` times and prints its figure, so that two
//                    processes can be timed against each other as a whole (the list
//                    against CASE:bare, the bare statement); --only none opens the
//                    database and runs nothing: the fixed part of such a process.
//
// Figures of 2026-12-11 on a shared, loaded machine (load 15-20 on 8 cores): each case
// run 3 times in one process, 5 processes of the list paired with 5 of the bare
// statement, medians; per run, the fixed part (0.13 s) taken off; ratio list / bare of
// the paired processes' CPU time.
//   first rows by id          list 0.69 s   bare 0.90 s   0.77
//   first rows by number      list 0.75 s   bare 1.19 s   0.60
//   tax-number search         list 0.49 s   bare 0.49 s   1.03
//   product-name search       list 1.53 s   bare 1.69 s   0.90  (2.06 s in a cold process; 6.05 s
//                                                                 with the former joins and grouping)
//   sort by buyer, Polish     list 1.14 s   bare 1.63 s   0.71
//   row of one id             list 0.34 s   bare 0.32 s   1.10  (0.37 of the former whole-column form)
//   quick view                one document 0.2 ms, 1 000 documents 14-17 ms (in one process)

#include "MBenchDatabase.h"
#include "MBenchFigures.h"
#include "MTestDatabase.h"
#include "data/MOptions.h"
#include "data/MQuickViewHtml.h"
#include "data/MSqliteHandle.h"
#include "documents/MInvoiceDbView.h"
#include "views/MSqlQueryModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <functional>

namespace {

const int firstRows = 256;
const QString suffix = QStringLiteral("INVOICE_SELL_DB_VIEW");

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

QString spread(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return QStringLiteral("%1 [%2 .. %3]")
        .arg(values.at(values.size() / 2), 0, 'f', 1)
        .arg(values.first(), 0, 'f', 1)
        .arg(values.last(), 0, 'f', 1);
}

// The statement stepped through the SQLite API; `rows` rows, or all with -1.
void bareRows(const QString& sql, int rows)
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

// The list's model on the statement, its first rows read as the table shows them.
void listRows(const QString& sql, const QList<int>& kinds)
{
    MSqlQueryModel model;
    model.setColumnKinds(kinds);
    model.setQuery(sql);
    const int rows = qMin(model.rowCount(), firstRows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < model.columnCount(); ++column)
            model.index(row, column).data();
    }
}

// The list's stored settings for one case; the statement is the list's own.
struct ListCase
{
    QString name;
    QStringList options;
};

void setListOptions(const QStringList& options)
{
    for (const char* key : {"COLUMN_SORT_", "SEARCH_SWITCH_", "FILTER_SEARCH_COLUMN_", "FILTER_SEARCH_TEXT_",
                            "FILTER_TREE_SWITCH_", "FILTER_TREE_UNCHECKED_"})
        MOptions::setOption(QLatin1String(key) + suffix, QString());
    for (const QString& option : options) {
        const int split = option.indexOf(QLatin1Char('='));
        MOptions::setOption(option.left(split) + suffix, option.mid(split + 1));
    }
}

const QList<ListCase>& listCases()
{
    static const QList<ListCase> cases = {
        {QStringLiteral("by-id"), {QStringLiteral("COLUMN_SORT_=0;0")}},
        {QStringLiteral("by-number"), {QStringLiteral("COLUMN_SORT_=1;0")}},
        {QStringLiteral("tax-number"),
         {QStringLiteral("SEARCH_SWITCH_=1"), QStringLiteral("FILTER_SEARCH_COLUMN_=19"),
          QStringLiteral("FILTER_SEARCH_TEXT_=123-4")}},
        {QStringLiteral("product-name"),
         {QStringLiteral("SEARCH_SWITCH_=1"), QStringLiteral("FILTER_SEARCH_COLUMN_=20"),
          QStringLiteral("FILTER_SEARCH_TEXT_=śruba")}},
        {QStringLiteral("buyer"), {QStringLiteral("COLUMN_SORT_=5;0")}},
    };
    return cases;
}

// A view that is never shown gives the statements and the column kinds of the list.
class MBenchList : public MInvoiceDbView
{
public:
    MBenchList() : MInvoiceDbView(nullptr, nullptr, 7) {}
    QList<int> kinds() const { return columnKinds(); }
};

struct Work
{
    std::function<void()> list;
    std::function<void()> bare; // empty: no bare counterpart
};

// The work of one case by name, its statements built once beforehand.
bool caseWork(const QString& name, MBenchList& view, Work* work)
{
    for (const ListCase& c : listCases()) {
        if (c.name != name)
            continue;
        setListOptions(c.options);
        const QString sql = view.buildSqlQuery(true, false, false);
        const QList<int> kinds = view.kinds();
        work->list = [sql, kinds] { listRows(sql, kinds); };
        work->bare = [sql] { bareRows(sql, firstRows); };
        return true;
    }
    if (name == QLatin1String("row-of-id")) {
        // A document near the end of the list, as after saving a new one.
        setListOptions({QStringLiteral("COLUMN_SORT_=1;0")});
        const QString ids = view.buildSqlQuery(true, false, true);
        QSqlQuery last(QStringLiteral("SELECT max(id) - 7 FROM invoice"));
        const int target = last.next() ? last.value(0).toInt() : 0;
        work->list = [&view, target] { view.rowOfId(target, true); };
        work->bare = [ids] { bareRows(ids, -1); };
        return true;
    }
    if (name == QLatin1String("quick-view-one")) {
        work->list = [] { MQuickViewHtml::oneDocument(12345); };
        return true;
    }
    if (name == QLatin1String("quick-view-1000")) {
        QList<int> thousand;
        for (int id = 1; id <= 1000; ++id)
            thousand << id * 50;
        work->list = [thousand] { MQuickViewHtml::severalDocuments(thousand); };
        return true;
    }
    if (name == QLatin1String("none")) {
        work->list = [] {};
        work->bare = [] {};
        return true;
    }
    return false;
}

bool openDatabase(const QString& file, QTemporaryDir& dir, QTextStream& out)
{
    const QString dbFile = file.isEmpty() ? dir.filePath(QStringLiteral("Invoice.db3")) : file;
    if (!QFileInfo::exists(dbFile) && !MBenchDatabase::generate(dbFile, dir.path(), MBenchDatabase::Size())) {
        out << "cannot build the database of documents\n";
        return false;
    }
    if (!MTestDatabase::open(dbFile)) {
        out << "cannot open " << dbFile << "\n";
        return false;
    }
    MOptions::loadOptions();
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
    QString databaseFile;
    QString only;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--database") && i + 1 < args.size())
            databaseFile = args.at(++i);
        else if (args.at(i) == QLatin1String("--only") && i + 1 < args.size())
            only = args.at(++i);
        else
            runs = qMax(1, args.at(i).toInt());
    }

    QTemporaryDir dir;
    if (!openDatabase(databaseFile, dir, out))
        return 1;
    int status = 0;
    {
        MBenchList view;
        if (!only.isEmpty()) {
            const bool bare = only.endsWith(QLatin1String(":bare"));
            const QString name = bare ? only.chopped(5) : only;
            Work work;
            if (!caseWork(name, view, &work) || (bare && !work.bare)) {
                out << "no case " << only << "\n";
                status = 2;
            } else {
                QVector<double> ms;
                for (int run = 0; run < runs; ++run)
                    ms << milliseconds(bare ? work.bare : work.list);
                out << "  " << only << "  " << spread(ms) << "\n";
            }
        } else {
            out << "  case             list (model)             bare statement          list / bare\n";
            const QStringList names = {"by-id", "by-number", "tax-number", "product-name", "buyer", "row-of-id",
                                       "quick-view-one", "quick-view-1000"};
            for (const QString& name : names) {
                Work work;
                caseWork(name, view, &work);
                QVector<double> list, bare, ratio;
                for (int run = 0; run < runs; ++run) {
                    list << milliseconds(work.list);
                    if (work.bare) {
                        bare << milliseconds(work.bare);
                        ratio << list.last() / qMax(bare.last(), 0.001);
                    }
                }
                out << "  " << name.leftJustified(16) << ' ' << spread(list).leftJustified(24);
                if (work.bare)
                    out << ' ' << spread(bare).leftJustified(24) << ' '
                        << QString::number(MBenchFigures::median(ratio), 'f', 2);
                out << "\n";
                out.flush();
            }
        }
    }
    MTestDatabase::close();
    return status;
}
