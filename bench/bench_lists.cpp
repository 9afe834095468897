// Times the list machinery on 100 000 buyers: the first visible rows, a full fetch,
// a sort by name with the Polish collation, and a CSV export of every row beside the
// sqlite3 shell exporting the same query.

#include "MTestDatabase.h"
#include "core/MAppWnd.h"
#include "views/MFileDialog.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVariant>

namespace {

const int buyerCount = 100000;

const QString selectList = QStringLiteral(
    "SELECT b.id AS idx, b.firm, CASE WHEN b.nip <> '' THEN b.nip ELSE b.permit_person_pesel END, b.regon, b.bank, "
    "b.bank_account, b.address, b.city, b.zipcode, p.name, c.name, ba.address || ' ' || ba.zipcode || ' ' || ba.city "
    "|| ' ' || IFNULL(p2.name, '') || ' ' || IFNULL(c2.name, ''), b.phone, b.fax, b.email, b.www, "
    "b.permit_person_firstname || ' ' || b.permit_person_secondname, datetime(b.time_create, 'localtime') AS "
    "_time_create_, datetime(b.time_modify, 'localtime') AS _time_modify_ "
    " FROM buyer b LEFT JOIN province p ON p.id = b.id_province LEFT JOIN country c ON c.id = b.id_country"
    " LEFT JOIN buyer_address ba ON ba.id = b.id_address_contact LEFT JOIN province p2 ON p2.id = ba.id_province "
    "LEFT JOIN country c2 ON c2.id = ba.id_country");

const QStringList titles = { "Id", "Firma / Osoba", "NIP / PESEL", "Regon", "Bank", "Numer konta", "Adres",
                             "Miejscowość", "Kod pocztowy", "Województwo", "Kraj", "Adres korespondencyjny",
                             "Telefon", "Fax", "E-mail", "WWW", "Osoba upoważniona", "Czas utworzenia",
                             "Czas modyfikacji" };

bool fillBuyers(QSqlDatabase& db)
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

// The buyer list as its view sets it up: kinds, query, titles, then the stored layout.
void showBuyerList(MTableView* view, const QString& sql)
{
    auto* model = new MSqlQueryModel(view);
    model->setColumnKinds({ 1, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
    model->setQuery(sql);
    for (int column = 0; column < titles.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, titles.at(column), Qt::EditRole);
    view->setModel(model);
    view->setViewKind(3);
    view->initHeaders();
}

double elapsedMs(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// Time until the first screen of the list is painted.
double firstRowsMs(const QString& sql)
{
    QElapsedTimer timer;
    timer.start();
    MTableView view;
    view.resize(1200, 800);
    showBuyerList(&view, sql);
    view.grab();
    return elapsedMs(timer);
}

double fullFetchMs(const QString& sql, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    MSqlQueryModel model;
    model.setQuery(sql);
    while (model.canFetchMore())
        model.fetchMore();
    *rows = model.rowCount();
    return elapsedMs(timer);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QTextStream out(stdout);

    QTemporaryDir dir;
    const QString dbFile = dir.filePath(QStringLiteral("Invoice.db3"));
    const bool prepared = MTestDatabase::prepare(dbFile);
    QSqlDatabase db = QSqlDatabase::database();
    if (!prepared || !fillBuyers(db)) {
        out << "cannot build the database of buyers\n";
        return 1;
    }
    MAppWnd::loadOptions();
    MFileDialog::setAutomatic(true);

    const QString byId = selectList + QStringLiteral(" ORDER BY b.id");
    const QString byName = selectList + QStringLiteral(" ORDER BY b.firm COLLATE POLISH, b.id");

    out << "bench_lists: " << buyerCount << " buyers, the buyer list's 19 columns\n";
    firstRowsMs(byId); // warm the file cache
    out << QStringLiteral("first visible rows, by id:                    %1 ms (aim < 50)\n").arg(firstRowsMs(byId), 0, 'f', 1);
    int rows = 0;
    const double fetchMs = fullFetchMs(byId, &rows);
    out << QStringLiteral("full fetch, by id:                            %1 ms (%2 rows)\n").arg(fetchMs, 0, 'f', 1).arg(rows);
    out << QStringLiteral("first visible rows, by name COLLATE POLISH:   %1 ms\n").arg(firstRowsMs(byName), 0, 'f', 1);
    const double sortFetchMs = fullFetchMs(byName, &rows);
    out << QStringLiteral("full fetch, by name COLLATE POLISH:           %1 ms (%2 rows)\n").arg(sortFetchMs, 0, 'f', 1).arg(rows);

    // CSV export of every row through the list, then the same query by the sqlite3 shell.
    MTableView view;
    showBuyerList(&view, byId);
    const QString ownCsv = dir.filePath(QStringLiteral("own.csv"));
    MFileDialog::setNextFileName(ownCsv);
    QElapsedTimer timer;
    timer.start();
    view.exportCsv(byId);
    const double exportMs = elapsedMs(timer);

    const QString shellCsv = dir.filePath(QStringLiteral("shell.csv"));
    QProcess shell;
    shell.setStandardOutputFile(shellCsv);
    timer.start();
    shell.start(QStringLiteral("sqlite3"), { QStringLiteral("-csv"), QStringLiteral("-header"), dbFile, byId });
    shell.waitForFinished(-1);
    const double shellMs = elapsedMs(timer);

    out << QStringLiteral("CSV export, all rows:                         %1 ms, %2 bytes\n")
               .arg(exportMs, 0, 'f', 1)
               .arg(QFileInfo(ownCsv).size());
    if (shell.exitStatus() == QProcess::NormalExit && shell.exitCode() == 0) {
        out << QStringLiteral("sqlite3 shell, same query as CSV:             %1 ms, %2 bytes\n")
                   .arg(shellMs, 0, 'f', 1)
                   .arg(QFileInfo(shellCsv).size());
        out << QStringLiteral("export / shell:                               %1 (aim <= 3)\n").arg(exportMs / shellMs, 0, 'f', 2);
    } else {
        out << "sqlite3 shell: not available\n";
    }
    return 0;
}
