#include "MTestContextMenu.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "catalog/MProductDbView.h"
#include "data/MOptions.h"
#include "views/MFileDialog.h"
#include "views/MFilterDbView.h"
#include "views/MItemRoles.h"
#include "views/MMessageBox.h"
#include "views/MTableView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <memory>

// The product list: its SQL from the stored filter state and the header, re-selection
// across re-queries, the context menu and the deletions.
class TestProductDbView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listFollowsStoredState_data();
    void listFollowsStoredState();
    void panelEntriesFilterTheList_data();
    void panelEntriesFilterTheList();
    void listShowsPricesWithTheirCurrency();
    void rowOfIdFollowsTheListedOrder_data();
    void rowOfIdFollowsTheListedOrder();
    void changeNoticeSelectsTheSavedProduct_data();
    void changeNoticeSelectsTheSavedProduct();
    void headerSortKeepsTheSelection();
    void csvFollowsTheList();
    void contextMenuFollowsTheSelection_data();
    void contextMenuFollowsTheSelection();
    void deleteAsksFirstAndRemovesTheProduct_data();
    void deleteAsksFirstAndRemovesTheProduct();
    void catalogDeleteKeepsItsProducts_data();
    void catalogDeleteKeepsItsProducts();

private:
    MProductDbView* openView();
    static void refuseDeletesFrom(const QString& table);
    QList<int> ids() const;

    std::unique_ptr<MTestDatabase> m_db;
    MProductDbView* m_view = nullptr;
};

namespace {

// Prices chosen so that their text order differs from their numeric order, with one tie
// (products 2 and 4); product 5 has a rate that table vat does not know. Catalogs: 1 "A"
// holds products 1 and 2, 2 "B" holds products 1 and 3; products 4 and 5 are in none.
const char* const fixture[] = {
    "INSERT INTO product (id, name, code, netto_price, brutto_price, vat, vat_text, count_from_netto, id_currency, "
    "time_create, time_modify) VALUES "
    "(1, 'Śruba M8', '25.94', 100, 123, 23, '23%', 1, 0, 0, 0), "
    "(2, 'Rabat 50%', '25.94', 9.5, 10.26, 8, '8%', 0, 0, 0, 0), "
    "(3, 'Klej ''Super''', '20.52', 20, 24.6, 23, '23%', 1, 1, 0, 0), "
    "(4, 'ŁOŻYSKO 5005', '', 9.5, 11.69, 23, '23%', 1, 0, 0, 0), "
    "(5, 'Wkręt', '', 100.5, 100.5, 0, 'stara', 1, 0, 0, 0)",
    "INSERT INTO product_catalog (id, name) VALUES (1, 'A'), (2, 'B')",
    "INSERT INTO product_catalog_join (id_product, id_catalog) VALUES (1, 1), (2, 1), (1, 2), (3, 2)",
};

const char* const viewOptions[] = {
    "SEARCH_SWITCH_PRODUCT_DB_VIEW", "FILTER_SEARCH_COLUMN_PRODUCT_DB_VIEW", "FILTER_SEARCH_TEXT_PRODUCT_DB_VIEW",
    "CATALOG_SWITCH_PRODUCT_DB_VIEW", "CATALOG_UNCHECKED_PRODUCT_DB_VIEW", "FILTER_TREE_SWITCH_PRODUCT_DB_VIEW",
    "FILTER_TREE_UNCHECKED_PRODUCT_DB_VIEW", "COLUMN_SORT_PRODUCT_DB_VIEW",
};

void setOptions(const QStringList& options)
{
    for (const QString& option : options)
        MOptions::setOption(option.section('=', 0, 0), option.section('=', 1));
}

QString search(const QString& column, const QString& text)
{
    return QStringLiteral("SEARCH_SWITCH_PRODUCT_DB_VIEW=1|FILTER_SEARCH_COLUMN_PRODUCT_DB_VIEW=") + column
        + QStringLiteral("|FILTER_SEARCH_TEXT_PRODUCT_DB_VIEW=") + text;
}

} // namespace

void TestProductDbView::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
}

void TestProductDbView::init()
{
    for (const char* trigger : {"refuse_delete_product", "refuse_delete_product_catalog"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS ") + QLatin1String(trigger)));
    for (const char* table : {"product", "product_catalog", "product_catalog_join"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    for (const char* statement : fixture)
        QVERIFY(MTestDatabase::exec(QString::fromUtf8(statement)));
    for (const char* key : viewOptions)
        MOptions::setOption(QLatin1String(key), QString());
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
    MMessageBox::takeShown();
}

void TestProductDbView::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

MProductDbView* TestProductDbView::openView()
{
    m_view = new MProductDbView(nullptr, nullptr);
    m_view->initWidget();
    m_view->show();
    m_view->afterInitWidget();
    return m_view;
}

void TestProductDbView::refuseDeletesFrom(const QString& table)
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse_delete_") + table
                                + QStringLiteral(" BEFORE DELETE ON ") + table
                                + QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'odmowa'); END")));
}

QList<int> TestProductDbView::ids() const
{
    QList<int> ids;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        ids.append(model->index(row, 0).data().toInt());
    return ids;
}

void TestProductDbView::listFollowsStoredState_data()
{
    QTest::addColumn<QString>("options"); // key=value|key=value
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("no state: by id") << "" << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("50% found literally") << search("1", "50%") << QList<int>{2};
    QTest::newRow("a quote does not break the statement") << search("1", "klej 'super") << QList<int>{3};
    QTest::newRow("lower-case Polish finds upper case") << search("1", "łożysko") << QList<int>{4};
    QTest::newRow("upper-case Polish finds lower case") << search("1", "ŚRUB") << QList<int>{1};
    QTest::newRow("price base searched as shown") << search("5", "brut") << QList<int>{2};
    QTest::newRow("price searched with its currency") << search("6", "9.5 PLN") << QList<int>{2, 4};
    QTest::newRow("a switched-off search changes nothing")
        << "SEARCH_SWITCH_PRODUCT_DB_VIEW=0|FILTER_SEARCH_COLUMN_PRODUCT_DB_VIEW=1|"
           "FILTER_SEARCH_TEXT_PRODUCT_DB_VIEW=łożysko"
        << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("net price by number, then id") << "COLUMN_SORT_PRODUCT_DB_VIEW=6;0" << QList<int>{2, 4, 3, 1, 5};
    QTest::newRow("net price descending, id descending")
        << "COLUMN_SORT_PRODUCT_DB_VIEW=6;1" << QList<int>{5, 1, 3, 4, 2};
    QTest::newRow("gross price by number") << "COLUMN_SORT_PRODUCT_DB_VIEW=7;0" << QList<int>{2, 4, 3, 5, 1};
    QTest::newRow("code descending, id descending") << "COLUMN_SORT_PRODUCT_DB_VIEW=3;1" << QList<int>{2, 1, 3, 5, 4};
    QTest::newRow("name in Polish order") << "COLUMN_SORT_PRODUCT_DB_VIEW=1;0" << QList<int>{3, 4, 2, 1, 5};
    QTest::newRow("a sort column outside the list gives no order")
        << "COLUMN_SORT_PRODUCT_DB_VIEW=11;0" << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("one of two catalogs unchecked keeps the product once")
        << "CATALOG_SWITCH_PRODUCT_DB_VIEW=1|CATALOG_UNCHECKED_PRODUCT_DB_VIEW=1" << QList<int>{1, 3, 4, 5};
    QTest::newRow("both catalogs unchecked hide their products")
        << "CATALOG_SWITCH_PRODUCT_DB_VIEW=1|CATALOG_UNCHECKED_PRODUCT_DB_VIEW=1;2" << QList<int>{4, 5};
    QTest::newRow("[bez katalogu] unchecked hides products in none")
        << "CATALOG_SWITCH_PRODUCT_DB_VIEW=1|CATALOG_UNCHECKED_PRODUCT_DB_VIEW=0" << QList<int>{1, 2, 3};
    QTest::newRow("catalogs switched off change nothing")
        << "CATALOG_SWITCH_PRODUCT_DB_VIEW=0|CATALOG_UNCHECKED_PRODUCT_DB_VIEW=0;1;2" << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("a VAT entry unchecked also hides unknown rates")
        << "FILTER_TREE_SWITCH_PRODUCT_DB_VIEW=1|FILTER_TREE_UNCHECKED_PRODUCT_DB_VIEW=2,9" << QList<int>{1, 3, 4};
    QTest::newRow("gross base unchecked")
        << "FILTER_TREE_SWITCH_PRODUCT_DB_VIEW=1|FILTER_TREE_UNCHECKED_PRODUCT_DB_VIEW=1,0" << QList<int>{1, 3, 4, 5};
    QTest::newRow("the tree switched off changes nothing")
        << "FILTER_TREE_SWITCH_PRODUCT_DB_VIEW=0|FILTER_TREE_UNCHECKED_PRODUCT_DB_VIEW=1,0;1,1"
        << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("search, catalog and order together")
        << search("1", "r") + "|CATALOG_SWITCH_PRODUCT_DB_VIEW=1|CATALOG_UNCHECKED_PRODUCT_DB_VIEW=2"
               "|COLUMN_SORT_PRODUCT_DB_VIEW=6;1"
        << QList<int>{5, 1, 2};
}

void TestProductDbView::listFollowsStoredState()
{
    QFETCH(QString, options);
    QFETCH(QList<int>, ids);

    setOptions(options.split('|', Qt::SkipEmptyParts));
    openView();
    QAbstractItemModelTester tester(m_view->tableView()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(this->ids(), ids);
    QCOMPARE(m_view->rowOfId(ids.last(), true), ids.size() - 1);
}

void TestProductDbView::panelEntriesFilterTheList_data()
{
    QTest::addColumn<QString>("list"); // "filterTree" or "catalogList"
    QTest::addColumn<QString>("group"); // the tree group to open, empty for a catalog
    QTest::addColumn<QString>("entry"); // the start of the entry's text
    QTest::addColumn<QList<int>>("ids");

    // Product 5 has a rate of no VAT row, which no entry of the tree matches.
    QTest::newRow("a VAT entry") << "filterTree" << "VAT" << "8%" << QList<int>{1, 3, 4};
    QTest::newRow("the gross base") << "filterTree" << "Podstawa cenowa" << "brutto" << QList<int>{1, 3, 4, 5};
    QTest::newRow("catalog A") << "catalogList" << "" << "A (" << QList<int>{1, 3, 4, 5};
    QTest::newRow("[bez katalogu]") << "catalogList" << "" << "[bez katalogu]" << QList<int>{1, 2, 3};
}

// An entry unchecked in the panel hides its products at the panel's refresh.
void TestProductDbView::panelEntriesFilterTheList()
{
    QFETCH(QString, list);
    QFETCH(QString, group);
    QFETCH(QString, entry);
    QFETCH(QList<int>, ids);

    setOptions({"FILTER_TREE_SWITCH_PRODUCT_DB_VIEW=1", "CATALOG_SWITCH_PRODUCT_DB_VIEW=1"});
    openView();
    auto* panel = m_view->findChild<MFilterDbView*>();
    auto* view = panel->findChild<QTreeView*>(list);
    QVERIFY(view);
    QAbstractItemModel* model = view->model();
    const auto find = [model](const QString& text, const QModelIndex& parent) {
        for (int row = 0; row < model->rowCount(parent); ++row) {
            for (int column = 0; column < model->columnCount(parent); ++column) {
                const QModelIndex index = model->index(row, column, parent);
                if (index.data().toString().startsWith(text))
                    return index;
            }
        }
        return QModelIndex();
    };
    QModelIndex parent;
    if (!group.isEmpty()) {
        parent = find(group, QModelIndex());
        QVERIFY(parent.isValid());
        view->expand(parent);
    }
    QModelIndex item = find(entry, parent);
    QVERIFY(item.isValid());
    if (group.isEmpty())
        item = item.sibling(item.row(), 0);
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(item).center());
    QCOMPARE(this->ids(), (QList<int>{1, 2, 3, 4, 5}));

    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);
    QCOMPARE(this->ids(), ids);
}

void TestProductDbView::listShowsPricesWithTheirCurrency()
{
    openView();
    const QAbstractItemModel* model = m_view->tableView()->model();
    QCOMPARE(model->columnCount(), 11);
    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column)
        headers.append(model->headerData(column, Qt::Horizontal).toString());
    QCOMPARE(headers, (QStringList{"Id", "Nazwa", "Symbol", "PKWiU/PKOB", "Jednostka miary", "Podstawa cenowa",
                                   "Netto jednostkowe", "Brutto jednostkowe", "VAT", "Czas utworzenia",
                                   "Czas modyfikacji"}));
    const QString euro = MTestDatabase::value(QStringLiteral("SELECT symbol FROM currency WHERE id = 1")).toString();
    QCOMPARE(model->index(0, 6).data().toString(), QStringLiteral("100,00 PLN"));
    QCOMPARE(model->index(0, 7).data().toString(), QStringLiteral("123,00 PLN"));
    QCOMPARE(model->index(2, 7).data().toString(), QStringLiteral("24,60 ") + euro);
    QCOMPARE(model->index(0, 5).data().toString(), QStringLiteral("netto"));
    QCOMPARE(model->index(1, 5).data().toString(), QStringLiteral("brutto"));
    QCOMPARE(model->index(1, 8).data().toString(), QStringLiteral("8%"));
}

void TestProductDbView::rowOfIdFollowsTheListedOrder_data()
{
    QTest::addColumn<QString>("sort");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("row");

    QTest::newRow("by id") << "0;0" << 4 << 3;
    QTest::newRow("net price, tie by id") << "6;0" << 4 << 1;
    QTest::newRow("gross price descending") << "7;1" << 1 << 0;
    QTest::newRow("creation time, tie by id") << "9;1" << 2 << 3;
    QTest::newRow("not listed") << "6;0" << 99 << -1;
}

void TestProductDbView::rowOfIdFollowsTheListedOrder()
{
    QFETCH(QString, sort);
    QFETCH(int, id);
    QFETCH(int, row);

    MOptions::setOption(QStringLiteral("COLUMN_SORT_PRODUCT_DB_VIEW"), sort);
    openView();
    QCOMPARE(m_view->rowOfId(id, true), row);
    QCOMPARE(m_view->rowOfId(id, false), row);
    if (row >= 0)
        QCOMPARE(ids().at(row), id);
}

void TestProductDbView::changeNoticeSelectsTheSavedProduct_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QList<int>>("idsAfter");
    QTest::addColumn<int>("currentAfter");

    // The list is sorted by net price with product 3 selected.
    QTest::newRow("an edit under a price sort selects the moved row")
        << 4 << 1 << "UPDATE product SET netto_price = 5 WHERE id = 1" << QList<int>{1, 2, 4, 3, 5} << 1;
    QTest::newRow("a notice without an id keeps the selection")
        << 4 << 0 << "UPDATE product SET netto_price = 1 WHERE id = 5" << QList<int>{5, 2, 4, 3, 1} << 3;
    QTest::newRow("a product the filter hides selects nothing")
        << 4 << 5 << "UPDATE product SET name = 'Gwóźdź' WHERE id = 5" << QList<int>{2, 3, 1} << 0;
    QTest::newRow("another kind leaves the list alone")
        << 3 << 1 << "UPDATE product SET netto_price = 5 WHERE id = 1" << QList<int>{2, 4, 3, 1, 5} << 3;
}

void TestProductDbView::changeNoticeSelectsTheSavedProduct()
{
    QFETCH(int, kind);
    QFETCH(int, id);
    QFETCH(QString, change);
    QFETCH(QList<int>, idsAfter);
    QFETCH(int, currentAfter);

    MOptions::setOption(QStringLiteral("COLUMN_SORT_PRODUCT_DB_VIEW"), QStringLiteral("6;0"));
    // The search for "r" lists every product but 4 until product 5 is renamed.
    if (change.contains(QStringLiteral("Gwóźdź")))
        setOptions(search("1", "r").split('|'));
    openView();
    m_view->tableView()->selectRow(ids().indexOf(3));
    QCOMPARE(m_view->currentId(), 3);

    QVERIFY(MTestDatabase::exec(change));
    m_view->reloadView(kind, id);
    QCOMPARE(ids(), idsAfter);
    QCOMPARE(m_view->currentId(), currentAfter);
    QCOMPARE(m_view->selectedRowCount(), currentAfter ? 1 : 0);
}

void TestProductDbView::headerSortKeepsTheSelection()
{
    openView();
    m_view->tableView()->selectRow(3);
    QCOMPARE(m_view->currentId(), 4);
    m_view->tableView()->horizontalHeader()->setSortIndicator(6, Qt::DescendingOrder);
    QCOMPARE(ids(), (QList<int>{5, 1, 3, 4, 2}));
    QCOMPARE(m_view->currentId(), 4);
    QCOMPARE(m_view->tableView()->currentIndex().row(), 3);
}

void TestProductDbView::csvFollowsTheList()
{
    setOptions({"COLUMN_SORT_PRODUCT_DB_VIEW=6;0", "CATALOG_SWITCH_PRODUCT_DB_VIEW=1",
                "CATALOG_UNCHECKED_PRODUCT_DB_VIEW=0"});
    openView();
    QCOMPARE(ids(), (QList<int>{2, 3, 1}));

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("produkty.csv"));
    MFileDialog::setNextFileName(fileName);
    m_view->doExportCsv();
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QRegularExpression("\r?\n"),
                                                                     Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(0).contains(QStringLiteral("Netto jednostkowe")));
    const QStringList names = {QStringLiteral("Rabat 50%"), QStringLiteral("Klej 'Super'"), QStringLiteral("Śruba M8")};
    for (int row = 0; row < names.size(); ++row)
        QVERIFY2(lines.at(row + 1).contains(names.at(row)), qPrintable(lines.at(row + 1)));
}

void TestProductDbView::contextMenuFollowsTheSelection_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("enabled");

    QTest::newRow("one product") << QList<int>{1} << "Nowy|Edytuj|Usuń|Przypisz do katalogów";
    QTest::newRow("two products") << QList<int>{0, 1} << "Nowy|Przypisz do katalogów";
    QTest::newRow("none") << QList<int>{} << "Nowy";
}

void TestProductDbView::contextMenuFollowsTheSelection()
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

void TestProductDbView::deleteAsksFirstAndRemovesTheProduct_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("productsLeft");
    QTest::addColumn<QString>("joinsLeft");
    QTest::addColumn<int>("selectedAfter");

    QTest::newRow("No keeps everything") << int(QMessageBox::No) << false << "1,2,3,4,5" << "1:1 1:2 2:1 3:2" << 1;
    QTest::newRow("Yes removes the product and its memberships")
        << int(QMessageBox::Yes) << false << "2,3,4,5" << "2:1 3:2" << 0;
    QTest::newRow("a refused product row keeps its memberships")
        << int(QMessageBox::Yes) << true << "1,2,3,4,5" << "1:1 1:2 2:1 3:2" << 1;
}

void TestProductDbView::deleteAsksFirstAndRemovesTheProduct()
{
    QFETCH(int, answer);
    QFETCH(bool, refused);
    QFETCH(QString, productsLeft);
    QFETCH(QString, joinsLeft);
    QFETCH(int, selectedAfter);

    if (refused)
        refuseDeletesFrom(QStringLiteral("product"));
    openView();
    m_view->tableView()->selectRow(0);
    MMessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    m_view->doDelete();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), refused ? 2 : 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Potwierdzenie usunięcia produktu"));
    QCOMPARE(shown.first().text, QStringLiteral("Na pewno usunąć produkt o identyfikatorze 1?"));
    if (refused)
        QCOMPARE(shown.last().icon, QMessageBox::Critical);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id FROM product ORDER BY id")).join(','), productsLeft);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id_product || ':' || id_catalog FROM product_catalog_join "
                                                "ORDER BY id_product, id_catalog"))
                 .join(' '),
             joinsLeft);
    QCOMPARE(m_view->tableView()->model()->rowCount(), productsLeft.count(',') + 1);
    QCOMPARE(m_view->currentId(), selectedAfter);
}

void TestProductDbView::catalogDeleteKeepsItsProducts_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("catalogsLeft");
    QTest::addColumn<QList<int>>("listed"); // with "[bez katalogu]" unchecked

    QTest::newRow("No keeps the catalog") << int(QMessageBox::No) << false << "1,2" << QList<int>{1, 2, 3};
    QTest::newRow("Yes leaves its only member in no catalog")
        << int(QMessageBox::Yes) << false << "2" << QList<int>{1, 3};
    QTest::newRow("a refused catalog row keeps its memberships")
        << int(QMessageBox::Yes) << true << "1,2" << QList<int>{1, 2, 3};
}

void TestProductDbView::catalogDeleteKeepsItsProducts()
{
    QFETCH(int, answer);
    QFETCH(bool, refused);
    QFETCH(QString, catalogsLeft);
    QFETCH(QList<int>, listed);

    if (refused)
        refuseDeletesFrom(QStringLiteral("product_catalog"));
    setOptions({"CATALOG_SWITCH_PRODUCT_DB_VIEW=1", "CATALOG_UNCHECKED_PRODUCT_DB_VIEW=0"});
    openView();
    auto* catalogs = m_view->findChild<QTreeView*>(QStringLiteral("catalogList"));
    QVERIFY(catalogs);
    const QModelIndexList first = catalogs->model()->match(catalogs->model()->index(0, 0), ItemRole::Value, 1, 1,
                                                           Qt::MatchExactly);
    QCOMPARE(first.size(), 1);
    catalogs->selectionModel()->select(first.first(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QCOMPARE(m_view->findChild<MFilterDbView*>()->selectedCatalogId(), 1);

    MMessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    m_view->doCatalogDelete();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), refused ? 2 : 1);
    QCOMPARE(shown.first().title, QStringLiteral("Potwierdzenie usunięcia katalogu"));
    QCOMPARE(shown.first().text, QStringLiteral("Na pewno usunąć katalog: A?"));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id FROM product_catalog ORDER BY id")).join(','), catalogsLeft);
    QCOMPARE(MTestDatabase::count(QStringLiteral("product")), 5);
    QCOMPARE(ids(), listed);
}

INVOICE_TEST_MAIN(TestProductDbView)
#include "tst_productdbview.moc"
