#include "MTestContextMenu.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "parties/MBuyerDbView.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MFilterDbView.h"
#include "views/MItemRoles.h"
#include "views/MTableView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QTreeView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The buyer list built from the stored filter state: search, sort, catalogs, provinces,
// CSV export and deleting.
class TestBuyerDbView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listFollowsStoredState_data();
    void listFollowsStoredState();
    void rowOfIdAgreesWithTheList_data();
    void rowOfIdAgreesWithTheList();
    void percentAndUnderscoreMatchOnlyThemselves();
    void contextMenuFollowsTheSelection_data();
    void contextMenuFollowsTheSelection();
    void salesDocumentsAreSearchedByTheBuyersNumber_data();
    void salesDocumentsAreSearchedByTheBuyersNumber();
    void csvFollowsTheList();
    void deleteAsksFirstAndRemovesTheNamedRows_data();
    void deleteAsksFirstAndRemovesTheNamedRows();
    void catalogDeleteAsksFirstAndRemovesItsMemberships_data();
    void catalogDeleteAsksFirstAndRemovesItsMemberships();

private:
    MBuyerDbView* openView();
    static void refuseDeletesFrom(const QString& table);
    QStringList firms() const;

    std::unique_ptr<MTestDatabase> m_db;
    MBuyerDbView* m_view = nullptr;
};

namespace {

// Firms chosen so that Polish order differs from code-point order; buyer 4 has a NIP
// with blanks, buyer 5 a PESEL only. Catalogs: 1 holds buyers 1 and 2, 2 holds buyer 2.
const char* const fixture[] = {
    "INSERT INTO buyer (id, firm, nip, permit_person_pesel, id_province, time_create, time_modify) VALUES "
    "(1, 'Łukasz Zięba', '', '', 7, 0, 0), (2, 'ZAKŁAD ŚLUSARSKI', '111', '', 12, 0, 0), "
    "(3, 'Lubuska Spółka', '222', '', 4, 0, 0), (4, 'Ćma i syn', '12 34', '', 0, 0, 0), "
    "(5, 'Źródło', '', '44051401458', 12, 0, 0), (6, 'Cegielnia', '', '', 7, 0, 0)",
    "INSERT INTO buyer_catalog (id, name) VALUES (1, 'Hurt'), (2, 'Detal')",
    "INSERT INTO buyer_catalog_join (id_buyer, id_catalog) VALUES (1, 1), (2, 1), (2, 2)",
    "INSERT INTO buyer_defaults (id_buyer) VALUES (1), (2)",
    "INSERT INTO buyer_address (id, city) VALUES (1, 'Gdańsk')",
    "UPDATE buyer SET id_address_contact = 1 WHERE id = 2",
};

const char* const viewOptions[] = {
    "SEARCH_SWITCH_BUYER_DB_VIEW", "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW", "FILTER_SEARCH_TEXT_BUYER_DB_VIEW",
    "CATALOG_SWITCH_BUYER_DB_VIEW", "CATALOG_UNCHECKED_BUYER_DB_VIEW", "FILTER_TREE_SWITCH_BUYER_DB_VIEW",
    "FILTER_TREE_UNCHECKED_BUYER_DB_VIEW", "COLUMN_SORT_BUYER_DB_VIEW",
};

} // namespace

void TestBuyerDbView::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
}

void TestBuyerDbView::init()
{
    for (const char* trigger : {"refuse_delete_buyer", "refuse_delete_buyer_catalog"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS ") + QLatin1String(trigger)));
    for (const char* table : {"buyer", "buyer_catalog", "buyer_catalog_join", "buyer_defaults", "buyer_address"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    for (const char* statement : fixture)
        QVERIFY(MTestDatabase::exec(QString::fromUtf8(statement)));
    for (const char* key : viewOptions)
        MOptions::setOption(QLatin1String(key), QString());
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
    MMessageBox::takeShown();
}

void TestBuyerDbView::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

MBuyerDbView* TestBuyerDbView::openView()
{
    m_view = new MBuyerDbView(nullptr, nullptr);
    m_view->initWidget();
    m_view->show();
    m_view->afterInitWidget();
    return m_view;
}

// Makes every DELETE from `table` fail, as a locked or damaged database would.
void TestBuyerDbView::refuseDeletesFrom(const QString& table)
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse_delete_") + table
                                + QStringLiteral(" BEFORE DELETE ON ") + table
                                + QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'odmowa'); END")));
}

QStringList TestBuyerDbView::firms() const
{
    QStringList firms;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        firms.append(model->index(row, 1).data().toString());
    return firms;
}

void TestBuyerDbView::listFollowsStoredState_data()
{
    QTest::addColumn<QStringList>("options"); // key=value
    QTest::addColumn<QStringList>("firms");

    const QString all = "Łukasz Zięba|ZAKŁAD ŚLUSARSKI|Lubuska Spółka|Ćma i syn|Źródło|Cegielnia";
    QTest::newRow("no state: by id") << QStringList{} << all.split('|');
    QTest::newRow("by name in Polish order")
        << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=1;0"}
        << QStringList{"Cegielnia", "Ćma i syn", "Lubuska Spółka", "Łukasz Zięba", "ZAKŁAD ŚLUSARSKI", "Źródło"};
    QTest::newRow("by name descending")
        << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=1;1"}
        << QStringList{"Źródło", "ZAKŁAD ŚLUSARSKI", "Łukasz Zięba", "Lubuska Spółka", "Ćma i syn", "Cegielnia"};
    QTest::newRow("a sort column outside the list keeps the table's order")
        << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=19;0"} << all.split('|');
    QTest::newRow("search in lower case finds upper-case Polish letters")
        << QStringList{"SEARCH_SWITCH_BUYER_DB_VIEW=1", "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW=1",
                       "FILTER_SEARCH_TEXT_BUYER_DB_VIEW=ślusar"}
        << QStringList{"ZAKŁAD ŚLUSARSKI"};
    QTest::newRow("search in upper case finds lower-case Polish letters")
        << QStringList{"SEARCH_SWITCH_BUYER_DB_VIEW=1", "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW=1",
                       "FILTER_SEARCH_TEXT_BUYER_DB_VIEW=ZIĘB"}
        << QStringList{"Łukasz Zięba"};
    QTest::newRow("a switched-off search changes nothing")
        << QStringList{"SEARCH_SWITCH_BUYER_DB_VIEW=0", "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW=1",
                       "FILTER_SEARCH_TEXT_BUYER_DB_VIEW=ZIĘB"}
        << all.split('|');
    QTest::newRow("NIP searched without blanks and dashes")
        << QStringList{"SEARCH_SWITCH_BUYER_DB_VIEW=1", "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW=2",
                       "FILTER_SEARCH_TEXT_BUYER_DB_VIEW=2-3"}
        << QStringList{"Ćma i syn"};
    QTest::newRow("PESEL when there is no NIP")
        << QStringList{"SEARCH_SWITCH_BUYER_DB_VIEW=1", "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW=2",
                       "FILTER_SEARCH_TEXT_BUYER_DB_VIEW=440514"}
        << QStringList{"Źródło"};
    QTest::newRow("percent and underscore are searched literally")
        << QStringList{"SEARCH_SWITCH_BUYER_DB_VIEW=1", "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW=1",
                       "FILTER_SEARCH_TEXT_BUYER_DB_VIEW=a_b%"}
        << QStringList{};
    QTest::newRow("contact address searched")
        << QStringList{"SEARCH_SWITCH_BUYER_DB_VIEW=1", "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW=11",
                       "FILTER_SEARCH_TEXT_BUYER_DB_VIEW=GDAŃ"}
        << QStringList{"ZAKŁAD ŚLUSARSKI"};
    QTest::newRow("unchecked catalog hides its only members")
        << QStringList{"CATALOG_SWITCH_BUYER_DB_VIEW=1", "CATALOG_UNCHECKED_BUYER_DB_VIEW=1"}
        << QStringList{"ZAKŁAD ŚLUSARSKI", "Lubuska Spółka", "Ćma i syn", "Źródło", "Cegielnia"};
    QTest::newRow("unchecked no-catalog entry keeps members once each")
        << QStringList{"CATALOG_SWITCH_BUYER_DB_VIEW=1", "CATALOG_UNCHECKED_BUYER_DB_VIEW=0"}
        << QStringList{"Łukasz Zięba", "ZAKŁAD ŚLUSARSKI"};
    QTest::newRow("catalogs switched off change nothing")
        << QStringList{"CATALOG_SWITCH_BUYER_DB_VIEW=0", "CATALOG_UNCHECKED_BUYER_DB_VIEW=0;1;2"} << all.split('|');
    QTest::newRow("unchecked provinces are hidden, other groups ignored")
        << QStringList{"FILTER_TREE_SWITCH_BUYER_DB_VIEW=1", "FILTER_TREE_UNCHECKED_BUYER_DB_VIEW=1,12;1,7;2,4"}
        << QStringList{"Lubuska Spółka", "Ćma i syn"};
}

void TestBuyerDbView::listFollowsStoredState()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, firms);

    for (const QString& option : options)
        MOptions::setOption(option.section('=', 0, 0), option.section('=', 1));
    openView();
    QAbstractItemModelTester tester(m_view->tableView()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(this->firms(), firms);
}

void TestBuyerDbView::rowOfIdAgreesWithTheList_data()
{
    QTest::addColumn<QStringList>("options"); // key=value

    QTest::newRow("by name, ties by id") << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=1;0"};
    QTest::newRow("by name descending") << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=1;1"};
    QTest::newRow("by a column of empty texts") << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=13;1"};
    QTest::newRow("by province, some without one") << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=9;0"};
    QTest::newRow("searched and sorted")
        << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=1;0", "SEARCH_SWITCH_BUYER_DB_VIEW=1",
                       "FILTER_SEARCH_COLUMN_BUYER_DB_VIEW=1", "FILTER_SEARCH_TEXT_BUYER_DB_VIEW=c"};
    QTest::newRow("catalogs filtered and sorted")
        << QStringList{"COLUMN_SORT_BUYER_DB_VIEW=1;1", "CATALOG_SWITCH_BUYER_DB_VIEW=1",
                       "CATALOG_UNCHECKED_BUYER_DB_VIEW=2"};
}

// Selecting a record by id finds its row by a query of its own; the list shows
// its rows its own way. Both must agree row by row, ties and Polish letters included.
void TestBuyerDbView::rowOfIdAgreesWithTheList()
{
    QFETCH(QStringList, options);
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "INSERT INTO buyer (id, firm, nip, permit_person_pesel, id_province, time_create, time_modify) VALUES "
        "(7, 'Cegielnia', '', '', 0, 0, 0), (8, 'ĆMA I SYN', '', '', 3, 0, 0), (9, 'Cegielnia', '1', '', 7, 0, 0), "
        "(10, 'ćma i syn', '', '', 0, 0, 0)")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO buyer_catalog_join (id_buyer, id_catalog) VALUES "
                                               "(7, 1), (7, 2), (9, 2), (10, 1)")));
    for (const QString& option : options)
        MOptions::setOption(option.section('=', 0, 0), option.section('=', 1));
    openView();
    const QAbstractItemModel* model = m_view->tableView()->model();
    QVERIFY(model->rowCount() > 2);
    for (int row = 0; row < model->rowCount(); ++row)
        QCOMPARE(m_view->rowOfId(model->index(row, 0).data().toInt()), row);
}

// "%" and "_" typed into the search stand for themselves: "Sa-bina" matches the pattern
// a_b% read as wildcards, but only the firm that holds those very characters is found.
void TestBuyerDbView::percentAndUnderscoreMatchOnlyThemselves()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "INSERT INTO buyer (id, firm, nip, permit_person_pesel, id_province, time_create, time_modify) VALUES "
        "(7, 'Sa-bina', '', '', 0, 0, 0), (8, 'Xa_b%y', '', '', 0, 0, 0)")));
    MOptions::setOption(QStringLiteral("SEARCH_SWITCH_BUYER_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_COLUMN_BUYER_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_TEXT_BUYER_DB_VIEW"), QStringLiteral("a_b%"));
    openView();
    QCOMPARE(firms(), QStringList{QStringLiteral("Xa_b%y")});
}

void TestBuyerDbView::contextMenuFollowsTheSelection_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("enabled");

    QTest::newRow("one buyer") << QList<int>{1} << "Nowy|Edytuj|Usuń|Przypisz do katalogów|Pokaż faktury sprzedaży";
    // Catalogs can be set for several buyers at once; the rest is for one buyer.
    QTest::newRow("two buyers") << QList<int>{0, 1} << "Nowy|Przypisz do katalogów";
    QTest::newRow("none") << QList<int>{} << "Nowy";
}

void TestBuyerDbView::contextMenuFollowsTheSelection()
{
    QFETCH(QList<int>, rows);
    QFETCH(QString, enabled);
    openView();
    MTableView* table = m_view->tableView();
    table->selectionModel()->clear();
    for (int row : rows)
        table->selectionModel()->setCurrentIndex(table->model()->index(row, 1),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);

    QCOMPARE(enabledContextMenuEntries(m_view).join(QLatin1Char('|')), enabled);
}

void TestBuyerDbView::salesDocumentsAreSearchedByTheBuyersNumber_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("number");

    QTest::newRow("NIP") << 1 << "111";
    QTest::newRow("NIP with blanks as stored") << 3 << "12 34";
    QTest::newRow("PESEL when there is no NIP") << 4 << "44051401458";
    QTest::newRow("neither: an empty search") << 5 << "";
}

// "Pokaż faktury sprzedaży" leaves the sales list searching the buyer-number column
// for the buyer's NIP, or PESEL, with the filter tree off.
void TestBuyerDbView::salesDocumentsAreSearchedByTheBuyersNumber()
{
    QFETCH(int, row);
    QFETCH(QString, number);
    MOptions::setOption(QStringLiteral("SEARCH_SWITCH_INVOICE_SELL_DB_VIEW"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("FILTER_TREE_SWITCH_INVOICE_SELL_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_TEXT_INVOICE_SELL_DB_VIEW"), QStringLiteral("stare"));
    openView();
    m_view->tableView()->selectRow(row);
    m_view->doShowDocsSell();

    QCOMPARE(MOptions::option(QStringLiteral("SEARCH_SWITCH_INVOICE_SELL_DB_VIEW")), QStringLiteral("1"));
    QCOMPARE(MOptions::option(QStringLiteral("FILTER_TREE_SWITCH_INVOICE_SELL_DB_VIEW")), QStringLiteral("0"));
    QCOMPARE(MOptions::option(QStringLiteral("FILTER_SEARCH_COLUMN_INVOICE_SELL_DB_VIEW")), QStringLiteral("19"));
    QCOMPARE(MOptions::option(QStringLiteral("FILTER_SEARCH_TEXT_INVOICE_SELL_DB_VIEW")), number);
}

void TestBuyerDbView::csvFollowsTheList()
{
    MOptions::setOption(QStringLiteral("COLUMN_SORT_BUYER_DB_VIEW"), QStringLiteral("1;0"));
    MOptions::setOption(QStringLiteral("SEARCH_SWITCH_BUYER_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_COLUMN_BUYER_DB_VIEW"), QStringLiteral("1"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_TEXT_BUYER_DB_VIEW"), QStringLiteral("Ł"));
    openView();
    const QStringList listed = {"Lubuska Spółka", "Łukasz Zięba", "ZAKŁAD ŚLUSARSKI", "Źródło"};
    QCOMPARE(firms(), listed);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("kontrahenci.csv"));
    MFileDialog::setNextFileName(fileName);
    m_view->doExportCsv();
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QRegularExpression("\r?\n"),
                                                                     Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), listed.size() + 1);
    QVERIFY(lines.at(0).contains(QStringLiteral("Firma / Osoba")));
    for (int row = 0; row < listed.size(); ++row)
        QVERIFY2(lines.at(row + 1).contains(listed.at(row)), qPrintable(lines.at(row + 1)));
    QVERIFY(lines.at(3).contains(QStringLiteral("Gdańsk")));
}

void TestBuyerDbView::deleteAsksFirstAndRemovesTheNamedRows_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("buyersLeft");
    QTest::addColumn<int>("joinsLeft");
    QTest::addColumn<int>("defaultsLeft");
    QTest::addColumn<int>("selectedAfter");

    QTest::newRow("No keeps everything") << int(QMessageBox::No) << false << "1,2,3,4,5,6" << 3 << 2 << 2;
    QTest::newRow("Yes removes the buyer, its memberships and defaults")
        << int(QMessageBox::Yes) << false << "1,3,4,5,6" << 1 << 1 << 0;
    QTest::newRow("a refused buyer row keeps its memberships and defaults")
        << int(QMessageBox::Yes) << true << "1,2,3,4,5,6" << 3 << 2 << 2;
}

void TestBuyerDbView::deleteAsksFirstAndRemovesTheNamedRows()
{
    QFETCH(int, answer);
    QFETCH(bool, refused);
    QFETCH(QString, buyersLeft);
    QFETCH(int, joinsLeft);
    QFETCH(int, defaultsLeft);
    QFETCH(int, selectedAfter);

    if (refused)
        refuseDeletesFrom(QStringLiteral("buyer"));
    openView();
    m_view->tableView()->selectRow(1);
    QCOMPARE(m_view->currentId(), 2);
    MMessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    m_view->doDelete();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), refused ? 2 : 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Potwierdzenie usunięcia kontrahenta"));
    QCOMPARE(shown.first().text, QStringLiteral("Na pewno usunąć kontrahenta o identyfikatorze 2?"));
    if (refused) {
        QCOMPARE(shown.last().icon, QMessageBox::Critical);
        QVERIFY2(shown.last().text.startsWith(QStringLiteral("Nie udało się usunąć kontrahenta o identyfikatorze 2.")),
                 qPrintable(shown.last().text));
    }
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT GROUP_CONCAT(id) FROM (SELECT id FROM buyer ORDER BY id)"))
                 .toString(),
             buyersLeft);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_catalog_join")), joinsLeft);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_defaults")), defaultsLeft);
    // The contact address is not the buyer's to delete: documents may still show it.
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_address")), 1);
    QCOMPARE(m_view->tableView()->model()->rowCount(), buyersLeft.count(',') + 1);
    // A deleted buyer leaves no row selected, so that a second "Usuń" cannot
    // offer another buyer, also once the list has the focus back from the
    // message box; a buyer that stays stays selected.
    QFocusEvent focusBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(m_view->tableView(), &focusBack);
    QCOMPARE(m_view->selectedRowCount(), selectedAfter ? 1 : 0);
    QCOMPARE(m_view->currentId(), selectedAfter);
}

void TestBuyerDbView::catalogDeleteAsksFirstAndRemovesItsMemberships_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("catalogsLeft");
    QTest::addColumn<QString>("joinsLeft");

    QTest::newRow("No keeps the catalog") << int(QMessageBox::No) << false << "1,2" << "1:1 2:1 2:2";
    QTest::newRow("Yes removes the catalog and its memberships")
        << int(QMessageBox::Yes) << false << "2" << "2:2";
    QTest::newRow("a refused catalog row keeps its memberships")
        << int(QMessageBox::Yes) << true << "1,2" << "1:1 2:1 2:2";
}

void TestBuyerDbView::catalogDeleteAsksFirstAndRemovesItsMemberships()
{
    QFETCH(int, answer);
    QFETCH(bool, refused);
    QFETCH(QString, catalogsLeft);
    QFETCH(QString, joinsLeft);

    if (refused)
        refuseDeletesFrom(QStringLiteral("buyer_catalog"));
    openView();
    auto* catalogs = m_view->findChild<QTreeView*>(QStringLiteral("catalogList"));
    QVERIFY(catalogs);
    const QModelIndexList hurt = catalogs->model()->match(catalogs->model()->index(0, 0), ItemRole::Value, 1, 1,
                                                          Qt::MatchExactly);
    QCOMPARE(hurt.size(), 1);
    catalogs->selectionModel()->select(hurt.first(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QCOMPARE(m_view->findChild<MFilterDbView*>()->selectedCatalogId(), 1);

    MMessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    m_view->doCatalogDelete();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), refused ? 2 : 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Potwierdzenie usunięcia katalogu"));
    QCOMPARE(shown.first().text, QStringLiteral("Na pewno usunąć katalog: Hurt?"));
    if (refused) {
        QCOMPARE(shown.last().icon, QMessageBox::Critical);
        QVERIFY2(shown.last().text.startsWith(QStringLiteral("Nie udało się usunąć katalogu: Hurt.")),
                 qPrintable(shown.last().text));
    }
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT GROUP_CONCAT(id) FROM (SELECT id FROM buyer_catalog "
                                                 "ORDER BY id)"))
                 .toString(),
             catalogsLeft);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT GROUP_CONCAT(m, ' ') FROM (SELECT id_buyer || ':' || "
                                                 "id_catalog AS m FROM buyer_catalog_join ORDER BY id_buyer, "
                                                 "id_catalog)"))
                 .toString(),
             joinsLeft);
}

INVOICE_TEST_MAIN(TestBuyerDbView)
#include "tst_buyerdbview.moc"
