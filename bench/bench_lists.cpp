// Times the record lists on 10 000 and 100 000 buyers and as many products, each
// figure beside its reference in the same run, in pairs taken in turn (the machine
// is noisy). The lists are the program's own views (MBuyerDbView, MProductDbView)
// with their own statements and model, built as the main window opens a tab:
// - the buyer list opened sorted by name in Polish order, its first screen painted,
//   beside the list's own ids-only statement sorted alone;
// - the first rows of a buyer list opened right after a fully read one was closed,
//   beside the same list opened on its own;
// - the product list re-queried sorted by name, its first screen painted, beside
//   the same statement shown through Qt's plain query model;
// - a CSV export of every buyer, beside the sqlite3 shell exporting the same
//   query, and how much the process's peak memory grows while it writes.
// Prints medians with the smallest and largest of the runs.
//
// Usage: bench_lists [rows ...] [-n runs]   (default: 10000 100000, 7 runs)

#include "MBenchFigures.h"
#include "MTestDatabase.h"
#include "MTestRecordList.h"
#include "catalog/MProductDbView.h"
#include "data/MOptions.h"
#include "parties/MBuyerDbView.h"
#include "views/MFileDialog.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVariant>

#include <algorithm>
#include <functional>
#include <memory>

using MBenchFigures::median;

namespace {

// The buyer list's columns, for the CSV export beside the sqlite3 shell, which has
// not the program's collation that the view's own statement names.
const QString selectList = QStringLiteral(
    "SELECT b.id AS idx, b.firm, CASE WHEN b.nip <> '' THEN b.nip ELSE b.permit_person_pesel END, b.regon, b.bank, "
    "b.bank_account, b.address, b.city, b.zipcode, p.name, c.name, ba.address || ' ' || ba.zipcode || ' ' || ba.city "
    "|| ' ' || IFNULL(p2.name, '') || ' ' || IFNULL(c2.name, ''), b.phone, b.fax, b.email, b.www, "
    "b.permit_person_firstname || ' ' || b.permit_person_secondname, datetime(b.time_create, 'localtime') AS "
    "_time_create_, datetime(b.time_modify, 'localtime') AS _time_modify_ "
    " FROM buyer b LEFT JOIN province p ON p.id = b.id_province LEFT JOIN country c ON c.id = b.id_country"
    " LEFT JOIN buyer_address ba ON ba.id = b.id_address_contact LEFT JOIN province p2 ON p2.id = ba.id_province "
    "LEFT JOIN country c2 ON c2.id = ba.id_country");

bool fillProducts(int productCount)
{
    // Names of two Polish words and a number, many alike, as a real catalog has.
    return MTestDatabase::exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1), "
        "w(k, word) AS (VALUES (0, 'Śruba'), (1, 'Łożysko'), (2, 'Zawór'), (3, 'Ćwiek'), (4, 'Żarówka'), "
        "(5, 'Kabel'), (6, 'Przewód'), (7, 'Ąkra'), (8, 'Nakrętka'), (9, 'Uszczelka'), (10, 'Źródło'), "
        "(11, 'Opaska')) "
        "INSERT INTO product (name, symbol, code, unit, netto_price, brutto_price, vat, count_from_netto, "
        "time_create, time_modify) "
        "SELECT a.word || ' ' || lower(b.word) || ' ' || (i * 7919 % 1000), 'S' || i, '25.9' || (i % 10), 'szt.', "
        "(i % 500) + 0.25, round(((i % 500) + 0.25) * 1.23, 2), 23, 1, current_timestamp, current_timestamp "
        "FROM n JOIN w a ON a.k = i * 31 % 12 JOIN w b ON b.k = i * 17 % 11")
                                   .arg(productCount));
}

bool fillBuyers(QSqlDatabase& db, int buyerCount)
{
    const QStringList provinces = { "dolnośląskie", "kujawsko-pomorskie", "lubelskie", "lubuskie", "łódzkie",
                                    "małopolskie", "mazowieckie", "opolskie", "podkarpackie", "podlaskie",
                                    "pomorskie", "śląskie", "świętokrzyskie", "warmińsko-mazurskie",
                                    "wielkopolskie", "zachodniopomorskie" };
    const QStringList countries = { "Polska", "Niemcy", "Czechy", "Słowacja", "Litwa" };
    const QStringList words = { "Zakład", "Łąkowa", "Świętokrzyska", "Żuraw", "Ćma", "Hurtownia", "Usługi", "Śruba",
                                "Ogród", "Ziemniak", "Źródło", "Bud-Pol", "Ekspres", "Ładny Dom", "Apteka",
                                "Piekarnia", "Stolarz", "Kowal", "Elektryk", "Ślusarz", "Ąka", "Ęta" };
    const QStringList cities = { "Łódź", "Kraków", "Gdańsk", "Wrocław", "Poznań", "Szczecin", "Żyrardów",
                                 "Świdnica", "Ełk", "Zamość" };

    QSqlQuery query(db);
    db.transaction();
    for (int i = 0; i < provinces.size(); ++i) {
        query.prepare(QStringLiteral("INSERT INTO province (id, name) VALUES (:id, :name)"));
        query.bindValue(QStringLiteral(":id"), i + 1);
        query.bindValue(QStringLiteral(":name"), provinces.at(i));
        query.exec();
    }
    for (int i = 0; i < countries.size(); ++i) {
        query.prepare(QStringLiteral("INSERT INTO country (id, name) VALUES (:id, :name)"));
        query.bindValue(QStringLiteral(":id"), i + 1);
        query.bindValue(QStringLiteral(":name"), countries.at(i));
        query.exec();
    }

    QRandomGenerator random(2053);
    const auto pick = [&random](const QStringList& list) { return list.at(random.bounded(list.size())); };
    query.prepare(QStringLiteral(
        "INSERT INTO buyer (firm, nip, regon, address, city, zipcode, id_province, id_country, bank, bank_account, "
        "phone, email, www, permit_person_firstname, permit_person_secondname, reduct, time_create, time_modify, "
        "id_address_contact) VALUES (:firm, :nip, :regon, :address, :city, :zipcode, :province, :country, :bank, "
        ":account, :phone, :email, :www, :first, :second, :reduct, current_timestamp, current_timestamp, :contact)"));
    QSqlQuery address(db);
    address.prepare(QStringLiteral("INSERT INTO buyer_address (address, city, zipcode, id_province, id_country) "
                                   "VALUES (:address, :city, '00-950', 7, 1)"));
    for (int i = 1; i <= buyerCount; ++i) {
        int contact = 0;
        if (i % 10 == 0) {
            address.bindValue(QStringLiteral(":address"), QStringLiteral("ul. Boczna %1").arg(i % 97));
            address.bindValue(QStringLiteral(":city"), pick(cities));
            address.exec();
            contact = address.lastInsertId().toInt();
        }
        const QString firm = pick(words) + QLatin1Char(' ') + pick(words) + (i % 3 ? QStringLiteral(" sp. z o.o.")
                                                                                    : QStringLiteral(", s.c."));
        query.bindValue(QStringLiteral(":firm"), firm);
        query.bindValue(QStringLiteral(":nip"), QStringLiteral("%1-%2-%3-%4")
                                                    .arg(random.bounded(100, 999))
                                                    .arg(random.bounded(100, 999))
                                                    .arg(random.bounded(10, 99))
                                                    .arg(random.bounded(10, 99)));
        query.bindValue(QStringLiteral(":regon"), QString::number(random.bounded(100000000, 999999999)));
        query.bindValue(QStringLiteral(":address"), QStringLiteral("ul. %1 %2").arg(pick(words)).arg(i % 200));
        query.bindValue(QStringLiteral(":city"), pick(cities));
        query.bindValue(QStringLiteral(":zipcode"), QStringLiteral("%1-%2").arg(random.bounded(10, 99)).arg(random.bounded(100, 999)));
        query.bindValue(QStringLiteral(":province"), random.bounded(1, 17));
        query.bindValue(QStringLiteral(":country"), random.bounded(1, 6));
        query.bindValue(QStringLiteral(":bank"), QStringLiteral("Bank Spółdzielczy"));
        query.bindValue(QStringLiteral(":account"), QStringLiteral("PL61 1090 1014 0000 0712 1981 %1").arg(i, 4, 10, QLatin1Char('0')));
        query.bindValue(QStringLiteral(":phone"), QStringLiteral("+48 22 %1").arg(random.bounded(1000000, 9999999)));
        query.bindValue(QStringLiteral(":email"), QStringLiteral("biuro%1@firma.pl").arg(i));
        query.bindValue(QStringLiteral(":www"), QStringLiteral("www.firma%1.pl").arg(i));
        query.bindValue(QStringLiteral(":first"), QStringLiteral("Józef"));
        query.bindValue(QStringLiteral(":second"), QStringLiteral("Żółkiewski"));
        query.bindValue(QStringLiteral(":reduct"), random.bounded(0, 20));
        query.bindValue(QStringLiteral(":contact"), contact);
        if (!query.exec())
            return false;
    }
    return db.commit();
}

double elapsedMs(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// A record list as the main window opens its tab, sorted by `sortColumn` ascending.
template <typename View>
std::unique_ptr<View> openList(const QString& optionSuffix, int sortColumn)
{
    MOptions::setOption(QStringLiteral("COLUMN_SORT_") + optionSuffix, QStringLiteral("%1;0").arg(sortColumn));
    auto view = std::make_unique<View>(nullptr, nullptr);
    view->setAttribute(Qt::WA_DeleteOnClose, false);
    view->resize(1400, 800);
    openRecordList(view.get());
    return view;
}

std::unique_ptr<MBuyerDbView> openBuyers(int sortColumn)
{
    return openList<MBuyerDbView>(QStringLiteral("BUYER_DB_VIEW"), sortColumn);
}

// Time until the first screen of a new buyer list is painted.
double firstRowsMs(int sortColumn)
{
    QElapsedTimer timer;
    timer.start();
    auto view = openBuyers(sortColumn);
    view->tableView()->grab();
    return elapsedMs(timer);
}

// A list read to its end, every cell shown once, as when a user scrolls through it all.
std::unique_ptr<MBuyerDbView> readWholeList(int sortColumn)
{
    auto view = openBuyers(sortColumn);
    QAbstractItemModel* model = view->tableView()->model();
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column)
            model->index(row, column).data();
    }
    return view;
}

// Time from closing a fully read list to the first rows of the next one.
double firstRowsAfterClosingMs(int readSortColumn, int nextSortColumn)
{
    auto read = readWholeList(readSortColumn);
    QElapsedTimer timer;
    timer.start();
    read.reset();
    return elapsedMs(timer) + firstRowsMs(nextSortColumn);
}

// The ids in the list's order, read to the end: what a sorted list cannot do without.
double idsSortedAloneMs(const QString& sql)
{
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query;
    query.setForwardOnly(true);
    query.exec(sql);
    int rows = 0;
    while (query.next())
        rows += query.value(0).toInt() > 0;
    return rows > 0 ? elapsedMs(timer) : -1;
}

// Time of the product list's re-query (as after a change in its filter panel), its
// first screen painted.
double productsRequeryMs(MProductDbView* view)
{
    QElapsedTimer timer;
    timer.start();
    view->refreshFilter();
    view->tableView()->grab();
    return elapsedMs(timer);
}

// The same statement through Qt's plain query model, its first screen painted.
double plainModelMs(MTableView* table, const QString& sql)
{
    QElapsedTimer timer;
    timer.start();
    QAbstractItemModel* shown = table->model();
    QSqlQueryModel plain;
    plain.setQuery(sql);
    table->setModel(&plain);
    table->grab();
    const double ms = elapsedMs(timer);
    table->setModel(shown);
    return ms;
}

// A figure of the process's memory from /proc/self/status, in kB.
qint64 memoryKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Time of the list's CSV export; `peakGrowthKb` is how far the process's peak
// memory rose above what it held before the export.
double exportMs(const QString& sql, const QString& fileName, qint64* peakGrowthKb)
{
    MTableView view;
    auto* model = new MSqlQueryModel(&view);
    model->setQuery(sql);
    view.setModel(model);
    // Lets the peak start again from the memory held now.
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
    clearRefs.close();
    const qint64 before = memoryKb("VmRSS:");
    MFileDialog::setNextFileName(fileName);
    QElapsedTimer timer;
    timer.start();
    view.exportCsv(sql);
    const double ms = elapsedMs(timer);
    *peakGrowthKb = memoryKb("VmHWM:") - before;
    return ms;
}

double shellCsvMs(const QString& dbFile, const QString& sql, const QString& fileName)
{
    QProcess shell;
    shell.setStandardOutputFile(fileName);
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"), { QStringLiteral("-csv"), QStringLiteral("-header"), dbFile, sql });
    shell.waitForFinished(-1);
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        return -1;
    return elapsedMs(timer);
}

QString spread(const QVector<double>& values, int decimals = 1)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1 [%2 .. %3]")
        .arg(median(values), 8, 'f', decimals)
        .arg(*low, 0, 'f', decimals)
        .arg(*high, 0, 'f', decimals);
}

QVector<double> ratios(const QVector<double>& a, const QVector<double>& b)
{
    QVector<double> result;
    for (int i = 0; i < a.size(); ++i)
        result.append(a.at(i) / b.at(i));
    return result;
}

// Runs `a` and `b` in turn, `runs` times each after one run of both not counted.
void paired(int runs, const std::function<double()>& a, const std::function<double()>& b, QVector<double>* aMs,
            QVector<double>* bMs)
{
    a();
    b();
    for (int run = 0; run < runs; ++run) {
        aMs->append(a());
        bMs->append(b());
    }
}

bool measure(int rowCount, int runs, QTextStream& out)
{
    QTemporaryDir dir;
    const QString dbFile = dir.filePath(QStringLiteral("Invoice.db3"));
    const bool prepared = MTestDatabase::prepare(dbFile);
    QSqlDatabase db = QSqlDatabase::database();
    const bool filled = prepared && fillBuyers(db, rowCount) && fillProducts(rowCount);
    db = QSqlDatabase();
    if (!filled) {
        out << "cannot build the database of buyers and products\n";
        return false;
    }
    MOptions::loadOptions();

    const QString byId = selectList + QStringLiteral(" ORDER BY b.id");
    const int idColumn = 0;
    const int nameColumn = 1;
    const QString idsByName = openBuyers(nameColumn)->buildSqlQuery(true, true);

    out << QStringLiteral("%1 buyers and %1 products, the lists' own views; median [min .. max] of %2 runs, ms\n")
               .arg(rowCount)
               .arg(runs);
    QVector<double> sorted, idsAlone;
    paired(runs, [&] { return firstRowsMs(nameColumn); }, [&] { return idsSortedAloneMs(idsByName); }, &sorted,
           &idsAlone);
    out << "  buyers: first rows by name, Polish order " << spread(sorted) << "\n";
    out << "  the list's ids sorted alone             " << spread(idsAlone) << "\n";
    out << "  ratio, aim <= 2                         " << spread(ratios(sorted, idsAlone), 2) << "\n";

    QVector<double> afterRead, fresh;
    paired(runs, [&] { return firstRowsAfterClosingMs(idColumn, nameColumn); },
           [&] { return firstRowsMs(nameColumn); }, &afterRead, &fresh);
    out << "  first rows after closing a read list    " << spread(afterRead) << "\n";
    out << "  the same list on its own                " << spread(fresh) << "\n";
    out << "  ratio, aim <= 1.5                       " << spread(ratios(afterRead, fresh), 2) << "\n";

    auto products = openList<MProductDbView>(QStringLiteral("PRODUCT_DB_VIEW"), nameColumn);
    const QString productSql = products->buildSqlQuery(false, false);
    QVector<double> requery, plain;
    paired(runs, [&] { return productsRequeryMs(products.get()); },
           [&] { return plainModelMs(products->tableView(), productSql); }, &requery, &plain);
    out << "  products re-queried by name             " << spread(requery) << "\n";
    out << "  the same statement, Qt's plain model    " << spread(plain) << "\n";
    out << "  ratio                                   " << spread(ratios(requery, plain), 2) << "\n";
    products.reset();

    QVector<double> own, shell, growthMb;
    const QString ownCsv = dir.filePath(QStringLiteral("own.csv"));
    const QString shellCsv = dir.filePath(QStringLiteral("shell.csv"));
    paired(runs,
           [&] {
               qint64 growthKb = 0;
               const double ms = exportMs(byId, ownCsv, &growthKb);
               growthMb.append(growthKb / 1024.0);
               return ms;
           },
           [&] { return shellCsvMs(dbFile, byId, shellCsv); }, &own, &shell);
    growthMb.removeFirst(); // the run not counted
    out << QStringLiteral("  CSV export, %1 bytes           ").arg(QFileInfo(ownCsv).size(), 10) << spread(own) << "\n";
    if (*std::min_element(shell.begin(), shell.end()) > 0) {
        out << QStringLiteral("  sqlite3 shell, same query, %1 bytes").arg(QFileInfo(shellCsv).size(), 10)
            << spread(shell) << "\n";
        out << "  ratio, aim <= 1.5                       " << spread(ratios(own, shell), 2) << "\n";
    } else {
        out << "  sqlite3 shell: not available\n";
    }
    out << "  peak memory growth while exporting, MB  " << spread(growthMb) << " (aim < 20)\n";
    out.flush();
    MTestDatabase::close();
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
    MFileDialog::setAutomatic(true);

    QList<int> counts;
    int runs = 7;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("-n"))
            runs = qMax(1, args.value(++i).toInt());
        else
            counts.append(args.at(i).toInt());
    }
    if (counts.isEmpty())
        counts = { 10000, 100000 };

    out << "bench_lists\n";
    for (const int count : qAsConst(counts)) {
        if (count < 1 || !measure(count, runs, out))
            return 1;
    }
    return 0;
}
