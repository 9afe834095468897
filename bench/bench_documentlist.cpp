// The sales list on a generated database of 100 000 documents: the first rows under
// the default sort and by number, the searches by tax number and by product name, the
// sort by buyer in Polish order, the row of one id, and the quick view of one and of
// 1 000 documents. Prints the median [smallest .. largest] of several runs in ms.
//
// Usage: bench_documentlist [runs]

#include "MBenchDatabase.h"
#include "MBenchFigures.h"
#include "MTestDatabase.h"
#include "core/MAppWnd.h"
#include "data/MInvoiceListSql.h"
#include "data/MQuickViewHtml.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

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

// The statement run and its first rows read, as the model shows them.
void firstRows(const QString& sql)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    query.exec(sql);
    for (int row = 0; row < 256 && query.next(); ++row)
        query.value(0);
}

void allRows(const QString& sql)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    query.exec(sql);
    while (query.next())
        query.value(0);
}

QString listSql(int sortColumn, const QString& condition, const QString& correction, bool productJoins)
{
    MInvoiceListSql sql;
    sql.sortColumn = sortColumn;
    sql.mainCondition = condition;
    sql.correctionCondition = correction;
    sql.productJoins = productJoins;
    return sql.statement(MInvoiceListSql::FullList);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QTextStream out(stdout);
    const int runs = qMax(1, app.arguments().value(1, QStringLiteral("5")).toInt());

    QTemporaryDir dir;
    const QString dbFile = dir.filePath(QStringLiteral("Invoice.db3"));
    if (!MBenchDatabase::generate(dbFile, dir.path(), MBenchDatabase::Size()) || !MTestDatabase::open(dbFile)) {
        out << "cannot build the database of documents\n";
        return 1;
    }
    MAppWnd::loadOptions();

    const QString bare = QStringLiteral("SELECT i.id, i.invoice_index_string, i.global_brutto FROM invoice i");
    const QString product = QStringLiteral("p.name LIKE '%śruba%' ESCAPE '\\' COLLATE POLISH");
    struct Case
    {
        const char* name;
        QString sql;
    };
    const QList<Case> cases = {
        {"bare statement, first rows        ", bare},
        {"first rows, by id                 ", listSql(0, QString(), QString(), false)},
        {"first rows, by number             ", listSql(1, QString(), QString(), false)},
        {"tax-number search                 ",
         listSql(0, QStringLiteral("(replace(replace(b.nip, '-', ''), ' ', '') LIKE '%123%' ESCAPE '\\' COLLATE POLISH)"),
                 QString(), false)},
        {"product-name search               ",
         listSql(0, QLatin1Char('(') + product + QLatin1Char(')'),
                 QLatin1Char('(') + product + QStringLiteral(" OR ") + QString(product).replace(QStringLiteral("p.name"), QStringLiteral("p2.name")) + QLatin1Char(')'),
                 true)},
        {"sort by buyer, Polish order       ", listSql(5, QString(), QString(), false)},
    };
    for (const Case& c : cases) {
        QVector<double> ms;
        for (int run = 0; run < runs; ++run)
            ms << milliseconds([&] { firstRows(c.sql); });
        out << "  " << c.name << spread(ms) << "\n";
    }

    QVector<double> rowOfId;
    const QString ids = MInvoiceListSql().statement(MInvoiceListSql::IdsOnly);
    for (int run = 0; run < runs; ++run)
        rowOfId << milliseconds([&] { allRows(ids); });
    out << "  ids of the whole list (rowOfId)   " << spread(rowOfId) << "\n";

    QList<int> thousand;
    for (int id = 1; id <= 1000; ++id)
        thousand << id * 50;
    QVector<double> one, many;
    for (int run = 0; run < runs; ++run) {
        one << milliseconds([&] { MQuickViewHtml::oneDocument(12345 + run); });
        many << milliseconds([&] { MQuickViewHtml::severalDocuments(thousand); });
    }
    out << "  quick view, one document          " << spread(one) << "\n";
    out << "  quick view, 1 000 documents       " << spread(many) << "\n";
    MTestDatabase::close();
    return 0;
}
