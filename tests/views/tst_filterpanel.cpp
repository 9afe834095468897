#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "resources/MResources.h"
#include "views/MFilterConditions.h"
#include "views/MFilterDbView.h"
#include "views/MItemRoles.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

#include <memory>

// A stand-in for a record view: it carries the accessible name of a real one, the slots
// the panel calls and, for buyers, the conditions a buyer list builds from the panel.
class TestOwner : public QWidget
{
    Q_OBJECT

public:
    TestOwner(const QString& name, const QStringList& titles)
    {
        setAccessibleName(name);
        auto* model = new MSqlQueryModel(this);
        QStringList columns;
        for (int i = 0; i < titles.size(); ++i)
            columns << QStringLiteral("NULL");
        model->setQuery(QStringLiteral("SELECT ") + columns.join(QLatin1Char(',')) + QStringLiteral(" WHERE 0"));
        for (int i = 0; i < titles.size(); ++i)
            model->setHeaderData(i, Qt::Horizontal, titles.at(i), Qt::EditRole);
        m_table = new MTableView(this);
        m_table->setModel(model);

        panel = new MFilterDbView(this);
        panel->initWidget();
        auto* layout = new QHBoxLayout(this);
        layout->addWidget(panel);
        layout->addWidget(m_table);
    }

    // The firms the buyer list would show with the panel's present values.
    QStringList listedFirms() const
    {
        QStringList conditions;
        const QString search = searchCondition(panel->searchText(), panel->searchColumn(),
                                               {QStringLiteral("b.id"), QStringLiteral("b.firm")},
                                               {ColumnKind::Integer, ColumnKind::Text});
        if (!search.isEmpty())
            conditions << search;
        conditions << catalogConditions(panel->catalogUnchecked(), QStringLiteral("bcj"));
        const QString provinces = uncheckedTreeIds(panel->filterTreeUnchecked(), QStringLiteral("1"));
        if (!provinces.isEmpty())
            conditions << QStringLiteral("(b.id_province NOT IN (") + provinces + QStringLiteral("))");

        QString sql = QStringLiteral("SELECT b.firm FROM buyer b");
        if (!panel->catalogUnchecked().isEmpty())
            sql += QStringLiteral(" LEFT JOIN buyer_catalog_join bcj ON bcj.id_buyer = b.id");
        if (!conditions.isEmpty())
            sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
        sql += QStringLiteral(" GROUP BY b.id ORDER BY b.id");
        QSqlQuery query;
        if (!query.exec(sql))
            return {query.lastError().text()};
        QStringList firms;
        while (query.next())
            firms << query.value(0).toString();
        return firms;
    }

    MFilterDbView* panel = nullptr;
    int refreshCount = 0;
    int contextMenuCount = 0;
    QStringList catalogCalls;

public slots:
    MTableView* tableView() { return m_table; }
    void refreshFilter() { ++refreshCount; }
    void doCatalogAdd() { catalogCalls << QStringLiteral("add"); }
    void doCatalogEdit() { catalogCalls << QStringLiteral("edit"); }
    void doCatalogDelete() { catalogCalls << QStringLiteral("delete"); }
    void doCatalogCheckAll() { catalogCalls << QStringLiteral("check all"); }
    void doCatalogUncheckAll() { catalogCalls << QStringLiteral("uncheck all"); }

protected:
    void contextMenuEvent(QContextMenuEvent* /*event*/) override { ++contextMenuCount; }

private:
    MTableView* m_table = nullptr;
};

class TestFilterPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void sectionsFollowTheOwner_data();
    void sectionsFollowTheOwner();
    void catalogListCountsAndOrder_data();
    void catalogListCountsAndOrder();
    void treeGroupsAndKeys_data();
    void treeGroupsAndKeys();
    void searchEntriesFromTheOwnersColumns_data();
    void searchEntriesFromTheOwnersColumns();
    void uncheckedAndExpandedSurviveRestart();
    void clickedYearStoresItsMonthsAfterIt();
    void storedStateOfVanishedRowsIsIgnored();
    void reloadDropsUnstoredClicksAndShowsNewRows();
    void switchesCountFromTheNextRefresh();
    void columnChangeRefreshesAtOnce();
    void searchFieldColour();
    void catalogActionsFollowTheSelection();
    void rightClickOpensNoMenu();

private:
    static void exec(const QString& sql);
    static int insertCatalog(const QString& name, const QList<int>& buyers);
    static std::unique_ptr<TestOwner> buyerOwner();
    static QTreeView* tree(MFilterDbView* panel, const char* name);
    static QCheckBox* sectionSwitch(MFilterDbView* panel, const QString& text);
    static QModelIndex findItem(QAbstractItemModel* model, const QString& label,
                                const QModelIndex& parent = QModelIndex());
    static void click(QTreeView* view, const QModelIndex& index);
    static QStringList treeDump(QStandardItemModel* model, const QModelIndex& parent = QModelIndex(),
                                const QString& prefix = QString());
    static QStringList catalogRows(MFilterDbView* panel);

    MTestDatabase m_db;
    int m_catalogCwiczenia = 0;
    int m_catalogDostawcy = 0;
};

namespace {

const QString buyerSuffix = QStringLiteral("BUYER_DB_VIEW");

QString option(const QString& family)
{
    return MOptions::option(family + buyerSuffix);
}

} // namespace

void TestFilterPanel::initTestCase()
{
    initInvoiceResources();
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    // The fixture rewrites its rows before every test; a crash-safe disk is not needed.
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
}

void TestFilterPanel::exec(const QString& sql)
{
    QSqlQuery query;
    QVERIFY2(query.exec(sql), qPrintable(sql + QStringLiteral(": ") + query.lastError().text()));
}

int TestFilterPanel::insertCatalog(const QString& name, const QList<int>& buyers)
{
    const int id = int(MTestDatabase::insert(QStringLiteral("buyer_catalog"), {{QStringLiteral("name"), name}}));
    for (int buyer : buyers)
        exec(QStringLiteral("INSERT INTO buyer_catalog_join (id_buyer, id_catalog) VALUES (%1, %2)").arg(buyer).arg(id));
    return id;
}

// Eight buyers: Alfa, Gamma and Zeta in the catalog "Ćwiczenia", the other five in none;
// an empty catalog "Dostawcy". Provinces: 1 dolnośląskie, 3 lubelskie, 0 none.
void TestFilterPanel::init()
{
    for (const char* table : {"buyer", "buyer_catalog", "buyer_catalog_join", "seller", "product", "product_catalog",
                              "product_catalog_join", "currency_rating", "invoice", "_options"})
        exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    exec(QStringLiteral("DELETE FROM sqlite_sequence"));

    const QStringList buyers{QStringLiteral("1, 'Alfa', 1"),    QStringLiteral("2, 'Beta', 1"),
                             QStringLiteral("3, 'Gamma', 3"),   QStringLiteral("4, 'Delta', 3"),
                             QStringLiteral("5, 'Epsilon', 0"), QStringLiteral("6, 'Zeta', 1"),
                             QStringLiteral("7, 'Eta', 3"),     QStringLiteral("8, 'Theta', 1")};
    for (const QString& buyer : buyers)
        exec(QStringLiteral("INSERT INTO buyer (id, firm, id_province, time_create, time_modify) VALUES (") + buyer
             + QStringLiteral(", current_timestamp, current_timestamp)"));
    // Named so that the Polish order (Ć before D) differs from the order of the bytes.
    m_catalogDostawcy = insertCatalog(QStringLiteral("Dostawcy"), {});
    m_catalogCwiczenia = insertCatalog(QStringLiteral("Ćwiczenia"), {1, 3, 6});

    MOptions::loadOptions();
    // The start-up defaults of the buyer list.
    for (const char* family : {"SEARCH_SWITCH_", "CATALOG_SWITCH_", "FILTER_TREE_SWITCH_", "FILTER_SEARCH_COLUMN_"})
        MOptions::setOption(QLatin1String(family) + buyerSuffix, QStringLiteral("1"));
}

std::unique_ptr<TestOwner> TestFilterPanel::buyerOwner()
{
    auto owner = std::make_unique<TestOwner>(QStringLiteral("MBuyerDbView"),
                                             QStringList{QStringLiteral("Id"), QStringLiteral("Firma / Osoba")});
    owner->show();
    if (!QTest::qWaitForWindowExposed(owner.get()))
        qWarning("owner not exposed");
    return owner;
}

QTreeView* TestFilterPanel::tree(MFilterDbView* panel, const char* name)
{
    return panel->findChild<QTreeView*>(QLatin1String(name));
}

QCheckBox* TestFilterPanel::sectionSwitch(MFilterDbView* panel, const QString& text)
{
    for (QCheckBox* box : panel->findChildren<QCheckBox*>())
        if (box->text() == text)
            return box;
    return nullptr;
}

QModelIndex TestFilterPanel::findItem(QAbstractItemModel* model, const QString& label, const QModelIndex& parent)
{
    for (int row = 0; row < model->rowCount(parent); ++row) {
        for (int column = 0; column < model->columnCount(parent); ++column) {
            const QModelIndex index = model->index(row, column, parent);
            if (index.data().toString() == label)
                return index;
        }
        const QModelIndex found = findItem(model, label, model->index(row, 0, parent));
        if (found.isValid())
            return found;
    }
    return QModelIndex();
}

void TestFilterPanel::click(QTreeView* view, const QModelIndex& index)
{
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
}

// Every item of the tree as "key|label|state", each before its children.
QStringList TestFilterPanel::treeDump(QStandardItemModel* model, const QModelIndex& parent, const QString& prefix)
{
    QStringList lines;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        const QString key = (prefix.isEmpty() ? QString() : prefix + QLatin1Char(','))
            + index.data(ItemRole::Value).toString();
        lines << key + QLatin1Char('|') + index.data().toString() + QLatin1Char('|')
                + index.data(ItemRole::State).toString();
        lines << treeDump(model, index, key);
    }
    return lines;
}

// Each catalog row as "label|id|state".
QStringList TestFilterPanel::catalogRows(MFilterDbView* panel)
{
    QStringList rows;
    QAbstractItemModel* model = tree(panel, "catalogList")->model();
    for (int row = 0; model && row < model->rowCount(); ++row)
        rows << model->index(row, 1).data().toString() + QLatin1Char('|')
                + model->index(row, 0).data(ItemRole::Value).toString() + QLatin1Char('|')
                + model->index(row, 0).data(ItemRole::State).toString();
    return rows;
}

void TestFilterPanel::sectionsFollowTheOwner_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<bool>("catalogs");
    QTest::addColumn<bool>("filterTree");
    QTest::addColumn<bool>("asksOwner");
    QTest::addColumn<int>("searchEntries");

    QTest::newRow("buyers") << QStringLiteral("MBuyerDbView") << true << true << true << 2;
    QTest::newRow("products") << QStringLiteral("MProductDbView") << true << true << true << 2;
    QTest::newRow("sellers") << QStringLiteral("MSellerDbView") << false << true << true << 2;
    QTest::newRow("currency ratings") << QStringLiteral("MCurrencyRatingDbView") << false << true << true << 2;
    QTest::newRow("purchase documents") << QStringLiteral("MInvoiceDbView_Buy") << false << true << true << 5;
    QTest::newRow("closing texts") << QStringLiteral("MEndTextDbView") << false << false << true << 2;
    QTest::newRow("unknown owner") << QStringLiteral("MSomethingElse") << false << false << false << 0;
}

void TestFilterPanel::sectionsFollowTheOwner()
{
    QFETCH(QString, owner);
    QFETCH(bool, catalogs);
    QFETCH(bool, filterTree);
    QFETCH(bool, asksOwner);
    QFETCH(int, searchEntries);

    TestOwner view(owner, {QStringLiteral("Id"), QStringLiteral("Nazwa")});
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    MFilterDbView* panel = view.panel;

    QVERIFY(panel->findChild<QLineEdit*>(QStringLiteral("searchField"))->isVisible());
    QVERIFY(panel->findChild<QComboBox*>(QStringLiteral("columnList"))->isVisible());
    QVERIFY(panel->findChild<QPushButton*>(QStringLiteral("refreshButton"))->isVisible());
    QVERIFY(sectionSwitch(panel, QStringLiteral("Szukaj"))->isVisible());
    QCOMPARE(sectionSwitch(panel, QStringLiteral("Katalogi"))->isVisible(), catalogs);
    QCOMPARE(tree(panel, "catalogList")->isVisible(), catalogs);
    QCOMPARE(panel->findChild<QToolBar*>()->isVisible(), catalogs);
    QCOMPARE(sectionSwitch(panel, QStringLiteral("Filtracja"))->isVisible(), filterTree);
    QCOMPARE(tree(panel, "filterTree")->isVisible(), filterTree);

    auto* grid = qobject_cast<QGridLayout*>(panel->layout());
    QVERIFY(grid);
    for (int row = 6; row <= 15; ++row) {
        const bool used = (catalogs && row <= 10 && row % 2 == 0) || (filterTree && row >= 12 && row % 2 == 0);
        QCOMPARE(grid->itemAtPosition(row, 0) != nullptr, used);
    }
    QCOMPARE(grid->rowStretch(17), catalogs || filterTree ? 0 : 100);

    // An unknown owner gets no columns, no options and no calls.
    QCOMPARE(panel->findChild<QComboBox*>(QStringLiteral("columnList"))->count(), searchEntries);
    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);
    QCOMPARE(view.refreshCount, asksOwner ? 1 : 0);
    QSqlQuery stored(QStringLiteral("SELECT COUNT(*) FROM _options WHERE id LIKE 'FILTER_SEARCH_TEXT_%'"));
    QVERIFY(stored.next());
    QCOMPARE(stored.value(0).toInt(), asksOwner ? 1 : 0);
}

void TestFilterPanel::catalogListCountsAndOrder_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("buyers") << QStringLiteral("MBuyerDbView")
                            << QStringList{QStringLiteral("[bez katalogu] (5)|0|1"), QStringLiteral("Ćwiczenia (3)|2|1"),
                                           QStringLiteral("Dostawcy (0)|1|1")};
    QTest::newRow("products") << QStringLiteral("MProductDbView")
                              << QStringList{QStringLiteral("[bez katalogu] (1)|0|1"), QStringLiteral("Łódź (1)|1|1"),
                                             QStringLiteral("Zakupy (2)|2|1")};
}

void TestFilterPanel::catalogListCountsAndOrder()
{
    QFETCH(QString, owner);
    QFETCH(QStringList, expected);

    for (int id = 1; id <= 3; ++id)
        exec(QStringLiteral("INSERT INTO product (id, name, time_create, time_modify) VALUES (%1, 'p%1', "
                            "current_timestamp, current_timestamp)").arg(id));
    exec(QStringLiteral("INSERT INTO product_catalog (id, name) VALUES (1, 'Łódź'), (2, 'Zakupy')"));
    exec(QStringLiteral("INSERT INTO product_catalog_join (id_product, id_catalog) VALUES (1, 1), (1, 2), (2, 2)"));

    TestOwner view(owner, {QStringLiteral("Id")});
    QCOMPARE(catalogRows(view.panel), expected);
}

void TestFilterPanel::treeGroupsAndKeys_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("buyers") << QStringLiteral("MBuyerDbView")
                            << QStringList{QStringLiteral("1|Województwo|0"), QStringLiteral("1,0|[brak]|3"),
                                           QStringLiteral("1,1|dolnośląskie|3"), QStringLiteral("1,3|lubelskie|3")};
    QTest::newRow("sellers") << QStringLiteral("MSellerDbView")
                             << QStringList{QStringLiteral("1|Województwo|0"), QStringLiteral("1,7|mazowieckie|3")};
    QTest::newRow("products") << QStringLiteral("MProductDbView")
                              << QStringList{QStringLiteral("1|Podstawa cenowa|0"), QStringLiteral("1,0|brutto|3"),
                                             QStringLiteral("1,1|netto|3"), QStringLiteral("2|VAT|0"),
                                             QStringLiteral("2,24|23%|3"), QStringLiteral("2,9|8%|3")};
    QTest::newRow("currency ratings")
        << QStringLiteral("MCurrencyRatingDbView")
        << QStringList{QStringLiteral("1|Bank|0"),          QStringLiteral("1,|[brak]|3"),
                       QStringLiteral("1,NBP|NBP|3"),       QStringLiteral("2|Waluta|0"),
                       QStringLiteral("2,1|EUR|3"),         QStringLiteral("3|Data notowania|0"),
                       QStringLiteral("3,2023|2023|3"),     QStringLiteral("3,2023,01|styczeń|3"),
                       QStringLiteral("3,2023,02|luty|3")};
    QTest::newRow("sales documents")
        << QStringLiteral("MInvoiceDbView_Sell")
        << QStringList{QStringLiteral("1|Sprzedawca bazowy|0"),
                       QStringLiteral("1,1|Sprzedawca A [id 1]|3"),
                       QStringLiteral("1,2|[usunięty] [id 2]|3"),
                       QStringLiteral("2|Rodzaj dokumentu|0"),
                       QStringLiteral("2,0|Faktura VAT|3"),
                       QStringLiteral("2,5|Faktura VAT (Duplikat)|3"),
                       QStringLiteral("2,9|Rachunek|3"),
                       QStringLiteral("4|Kontrola płatności|0"),
                       QStringLiteral("4,1|zapłacone|3"),
                       QStringLiteral("4,2|nie dotyczy|3"),
                       QStringLiteral("4,3|przeterminowane|3"),
                       QStringLiteral("4,4|anulowane|3"),
                       QStringLiteral("3|Data wystawienia dokumentu|0"),
                       QStringLiteral("3,2023|2023|3"),
                       QStringLiteral("3,2023,01|styczeń|3"),
                       QStringLiteral("3,2023,02|luty|3"),
                       QStringLiteral("3,2024|2024|3"),
                       QStringLiteral("3,2024,03|marzec|3")};
    QTest::newRow("purchase documents") << QStringLiteral("MInvoiceDbView_Buy")
                                        << QStringList{QStringLiteral("1|Kontrahent bazowy|0"),
                                                       QStringLiteral("1,1|Sprzedawca A [id 1]|3"),
                                                       QStringLiteral("2|Rodzaj dokumentu|0"),
                                                       QStringLiteral("2,11|Faktura VAT RR|3"),
                                                       QStringLiteral("4|Kontrola płatności|0"),
                                                       QStringLiteral("4,0|niezapłacone|3"),
                                                       QStringLiteral("3|Data wystawienia dokumentu|0"),
                                                       QStringLiteral("3,2023|2023|3"),
                                                       QStringLiteral("3,2023,05|maj|3")};
    QTest::newRow("closing texts") << QStringLiteral("MEndTextDbView") << QStringList();
}

void TestFilterPanel::treeGroupsAndKeys()
{
    QFETCH(QString, owner);
    QFETCH(QStringList, expected);

    exec(QStringLiteral("INSERT INTO seller (id, firm, id_province, time_create, time_modify) VALUES "
                        "(1, 'Sprzedawca A', 7, current_timestamp, current_timestamp)"));
    exec(QStringLiteral("INSERT INTO product (name, count_from_netto, vat_text, time_create, time_modify) VALUES "
                        "('a', 1, '23%', 0, 0), ('b', 0, '8%', 0, 0), ('c', 1, '23%', 0, 0)"));
    exec(QStringLiteral("INSERT INTO currency_rating (bank_name, id_currency_from, rating_date, time_create, "
                        "time_modify) VALUES ('NBP', 1, '2023-01-15', 0, 0), ('', 1, '2023-02-10', 0, 0)"));
    // Sales: an overdue invoice, its duplicate, a paid bill of a deleted seller, a cancelled
    // invoice; purchases: an RR invoice not yet due. Each list offers only its own payment
    // states: the cancelled sales invoice gives no "anulowane" to the purchases.
    const QString columns = QStringLiteral("INSERT INTO invoice (id, id_parent_invoice, id_seller_base, invoice_kind, "
                                           "is_payed, is_cancelled, date_put, date_pay, date_sell, time_create, "
                                           "time_modify) VALUES ");
    exec(columns + QStringLiteral("(1, 0, 1, 0, 0, 0, '2023-01-10', '2000-01-01', '', 0, 0)"));
    exec(columns + QStringLiteral("(2, 1, 0, 5, 0, 0, '2023-02-05', '2000-01-01', '', 0, 0)"));
    exec(columns + QStringLiteral("(3, 0, 2, 9, 1, 0, '2024-03-01', '2000-01-01', '', 0, 0)"));
    exec(columns + QStringLiteral("(4, 0, 1, 0, 0, 1, '2023-01-20', '2000-01-01', '', 0, 0)"));
    exec(columns + QStringLiteral("(5, 0, 1, 11, 0, 0, '2023-05-20', '2999-01-01', '', 0, 0)"));

    TestOwner view(owner, {QStringLiteral("Id")});
    auto* model = qobject_cast<QStandardItemModel*>(tree(view.panel, "filterTree")->model());
    QStringList dump = model ? treeDump(model) : QStringList();
    // The groups come in query order; values within a group in the database's order.
    QCOMPARE(dump.size(), expected.size());
    std::sort(dump.begin(), dump.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(dump, expected);
}

void TestFilterPanel::searchEntriesFromTheOwnersColumns_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QString>("storedColumn");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("searchColumn");

    const QStringList titled{QStringLiteral("Id:0"), QStringLiteral("Numer:1"), QStringLiteral("Nabywca:3")};
    QTest::newRow("sales list, stored column of the tax numbers")
        << QStringLiteral("MInvoiceDbView_Sell") << QStringLiteral("4")
        << titled + QStringList{QStringLiteral(":"), QStringLiteral("NIP lub PESEL kontrahenta:4"),
                                QStringLiteral("Nazwa produktu:5")}
        << QStringLiteral("NIP lub PESEL kontrahenta") << 4;
    QTest::newRow("purchase list")
        << QStringLiteral("MInvoiceDbView_Buy") << QStringLiteral("5")
        << titled + QStringList{QStringLiteral(":"), QStringLiteral("NIP sprzedawcy:4"), QStringLiteral("Nazwa produktu:5")}
        << QStringLiteral("Nazwa produktu") << 5;
    // Searching no column, as the list's first query did with the same stored column.
    QTest::newRow("stored column of a hidden working column")
        << QStringLiteral("MSellerDbView") << QStringLiteral("2") << titled << QString() << -1;
    QTest::newRow("stored column that is no number")
        << QStringLiteral("MSellerDbView") << QStringLiteral("abc") << titled << QStringLiteral("Id") << 0;
    QTest::newRow("stored titled column") << QStringLiteral("MSellerDbView") << QStringLiteral("3") << titled
                                          << QStringLiteral("Nabywca") << 3;
}

void TestFilterPanel::searchEntriesFromTheOwnersColumns()
{
    QFETCH(QString, owner);
    QFETCH(QString, storedColumn);
    QFETCH(QStringList, entries);
    QFETCH(QString, chosen);
    QFETCH(int, searchColumn);

    const QString suffix = owner == QLatin1String("MSellerDbView")
        ? QStringLiteral("SELLER_DB_VIEW")
        : owner == QLatin1String("MInvoiceDbView_Sell") ? QStringLiteral("INVOICE_SELL_DB_VIEW")
                                                         : QStringLiteral("INVOICE_BUY_DB_VIEW");
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_COLUMN_") + suffix, storedColumn);

    TestOwner view(owner, {QStringLiteral("Id"), QStringLiteral("Numer"), QStringLiteral("_id_kind_"),
                           QStringLiteral("Nabywca")});
    auto* list = view.panel->findChild<QComboBox*>(QStringLiteral("columnList"));
    QStringList actual;
    for (int i = 0; i < list->count(); ++i)
        actual << list->itemText(i) + QLatin1Char(':') + list->itemData(i).toString();
    QCOMPARE(actual, entries);
    QCOMPARE(list->currentText(), chosen);
    QCOMPARE(view.panel->searchColumn(), searchColumn);
    QCOMPARE(view.refreshCount, 0);
}

void TestFilterPanel::uncheckedAndExpandedSurviveRestart()
{
    QStringList listedBefore;
    {
        auto view = buyerOwner();
        MFilterDbView* panel = view->panel;
        QTreeView* filterTree = tree(panel, "filterTree");
        QTreeView* catalogList = tree(panel, "catalogList");
        QVERIFY(filterTree->isEnabled() && catalogList->isEnabled());

        filterTree->expand(findItem(filterTree->model(), QStringLiteral("Województwo")));
        click(filterTree, findItem(filterTree->model(), QStringLiteral("lubelskie")));
        const QModelIndex cwiczenia = findItem(catalogList->model(), QStringLiteral("Ćwiczenia (3)"));
        click(catalogList, cwiczenia.sibling(cwiczenia.row(), 0));

        // Clicks count only from the refresh on.
        QCOMPARE(panel->filterTreeUnchecked(), QString());
        QCOMPARE(panel->catalogUnchecked(), QString());
        QCOMPARE(view->refreshCount, 0);

        QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);
        QCOMPARE(view->refreshCount, 1);
        QCOMPARE(option(QStringLiteral("FILTER_TREE_UNCHECKED_")), QStringLiteral("1,3"));
        QCOMPARE(option(QStringLiteral("FILTER_TREE_EXPANDED_")), QStringLiteral("1"));
        QCOMPARE(option(QStringLiteral("CATALOG_UNCHECKED_")), QString::number(m_catalogCwiczenia));
        QCOMPARE(panel->filterTreeUnchecked(), QStringLiteral("1,3"));
        QCOMPARE(panel->catalogUnchecked(), QString::number(m_catalogCwiczenia));

        // Lubelskie (Gamma, Delta, Eta) and the members of Ćwiczenia only (Alfa, Gamma, Zeta) are hidden.
        listedBefore = view->listedFirms();
        QCOMPARE(listedBefore, (QStringList{QStringLiteral("Beta"), QStringLiteral("Epsilon"), QStringLiteral("Theta")}));
    }

    // A new start reads the options from the database.
    MOptions::loadOptions();
    auto view = buyerOwner();
    MFilterDbView* panel = view->panel;
    QTreeView* filterTree = tree(panel, "filterTree");
    QCOMPARE(panel->filterTreeUnchecked(), QString());
    QCOMPARE(view->listedFirms().size(), 8);

    panel->restoreCatalogChecks();
    panel->restoreFilterTreeState();
    QCOMPARE(view->refreshCount, 0);
    QCOMPARE(treeDump(qobject_cast<QStandardItemModel*>(filterTree->model())),
             (QStringList{QStringLiteral("1|Województwo|0"), QStringLiteral("1,0|[brak]|3"),
                          QStringLiteral("1,1|dolnośląskie|3"), QStringLiteral("1,3|lubelskie|4")}));
    QVERIFY(filterTree->isExpanded(findItem(filterTree->model(), QStringLiteral("Województwo"))));
    QCOMPARE(catalogRows(panel),
             (QStringList{QStringLiteral("[bez katalogu] (5)|0|1"),
                          QStringLiteral("Ćwiczenia (3)|%1|2").arg(m_catalogCwiczenia),
                          QStringLiteral("Dostawcy (0)|%1|1").arg(m_catalogDostawcy)}));
    QCOMPARE(view->listedFirms(), listedBefore);

    // A reload applies the same state again.
    panel->reloadView();
    QCOMPARE(view->listedFirms(), listedBefore);
    QVERIFY(filterTree->isExpanded(findItem(filterTree->model(), QStringLiteral("Województwo"))));
}

void TestFilterPanel::clickedYearStoresItsMonthsAfterIt()
{
    exec(QStringLiteral("INSERT INTO currency_rating (bank_name, id_currency_from, rating_date, time_create, "
                        "time_modify) VALUES ('NBP', 1, '2023-01-15', 0, 0), ('NBP', 1, '2023-02-10', 0, 0), "
                        "('NBP', 1, '2024-03-01', 0, 0)"));
    MOptions::setOption(QStringLiteral("FILTER_TREE_SWITCH_CURRENCY_RATING_DB_VIEW"), QStringLiteral("1"));
    TestOwner view(QStringLiteral("MCurrencyRatingDbView"), {QStringLiteral("Id")});
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTreeView* filterTree = tree(view.panel, "filterTree");

    const QModelIndex dates = findItem(filterTree->model(), QStringLiteral("Data notowania"));
    filterTree->expand(dates);
    click(filterTree, findItem(filterTree->model(), QStringLiteral("2023"), dates));
    QTest::mouseClick(view.panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);

    QCOMPARE(MOptions::option(QStringLiteral("FILTER_TREE_UNCHECKED_CURRENCY_RATING_DB_VIEW")),
             QStringLiteral("3,2023;3,2023,01;3,2023,02"));
    QCOMPARE(MOptions::option(QStringLiteral("FILTER_TREE_EXPANDED_CURRENCY_RATING_DB_VIEW")), QStringLiteral("3"));
    QCOMPARE(view.panel->filterTreeUnchecked(), QStringLiteral("3,2023;3,2023,01;3,2023,02"));

    // With the switch off nothing is handed to the owner, but the stored keys stay.
    sectionSwitch(view.panel, QStringLiteral("Filtracja"))->click();
    QCOMPARE(MOptions::option(QStringLiteral("FILTER_TREE_SWITCH_CURRENCY_RATING_DB_VIEW")), QStringLiteral("0"));
    QVERIFY(!filterTree->isEnabled());
    QTest::mouseClick(view.panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);
    QCOMPARE(view.panel->filterTreeUnchecked(), QString());
    QCOMPARE(MOptions::option(QStringLiteral("FILTER_TREE_UNCHECKED_CURRENCY_RATING_DB_VIEW")),
             QStringLiteral("3,2023;3,2023,01;3,2023,02"));
}

void TestFilterPanel::storedStateOfVanishedRowsIsIgnored()
{
    MOptions::setOption(QStringLiteral("FILTER_TREE_UNCHECKED_") + buyerSuffix,
                        QStringLiteral("1,99;1,3;9,1;;1;garbage,,"));
    MOptions::setOption(QStringLiteral("FILTER_TREE_EXPANDED_") + buyerSuffix, QStringLiteral("5;1;1,99"));
    MOptions::setOption(QStringLiteral("CATALOG_UNCHECKED_") + buyerSuffix, QStringLiteral("999;0;abc;"));

    auto view = buyerOwner();
    MFilterDbView* panel = view->panel;
    panel->restoreCatalogChecks();
    panel->restoreFilterTreeState();
    QTreeView* filterTree = tree(panel, "filterTree");
    QCOMPARE(treeDump(qobject_cast<QStandardItemModel*>(filterTree->model())),
             (QStringList{QStringLiteral("1|Województwo|0"), QStringLiteral("1,0|[brak]|3"),
                          QStringLiteral("1,1|dolnośląskie|3"), QStringLiteral("1,3|lubelskie|4")}));
    QVERIFY(filterTree->isExpanded(findItem(filterTree->model(), QStringLiteral("Województwo"))));
    QCOMPARE(catalogRows(panel).value(0), QStringLiteral("[bez katalogu] (5)|0|2"));

    // The owner's conditions skip what is no id; the rows still shown are the expected ones.
    QCOMPARE(view->listedFirms(), (QStringList{QStringLiteral("Alfa"), QStringLiteral("Zeta")}));

    // The next refresh stores only what the list and the tree hold.
    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);
    QCOMPARE(option(QStringLiteral("FILTER_TREE_UNCHECKED_")), QStringLiteral("1,3"));
    QCOMPARE(option(QStringLiteral("FILTER_TREE_EXPANDED_")), QStringLiteral("1"));
    QCOMPARE(option(QStringLiteral("CATALOG_UNCHECKED_")), QStringLiteral("0"));
}

void TestFilterPanel::reloadDropsUnstoredClicksAndShowsNewRows()
{
    MOptions::setOption(QStringLiteral("CATALOG_UNCHECKED_") + buyerSuffix, QString::number(m_catalogCwiczenia));
    auto view = buyerOwner();
    MFilterDbView* panel = view->panel;
    panel->restoreCatalogChecks();
    QTreeView* catalogList = tree(panel, "catalogList");
    const QModelIndex dostawcy = findItem(catalogList->model(), QStringLiteral("Dostawcy (0)"));
    click(catalogList, dostawcy.sibling(dostawcy.row(), 0));
    QCOMPARE(catalogList->model()->index(dostawcy.row(), 0).data(ItemRole::State).toInt(), 2);

    const int nowy = insertCatalog(QStringLiteral("Nowy"), {2, 8});
    exec(QStringLiteral("INSERT INTO buyer (id, firm, id_province, time_create, time_modify) VALUES "
                        "(9, 'Iota', 12, 0, 0)"));
    panel->reloadView();

    QCOMPARE(catalogRows(panel),
             (QStringList{QStringLiteral("[bez katalogu] (4)|0|1"),
                          QStringLiteral("Ćwiczenia (3)|%1|2").arg(m_catalogCwiczenia),
                          QStringLiteral("Dostawcy (0)|%1|1").arg(m_catalogDostawcy),
                          QStringLiteral("Nowy (2)|%1|1").arg(nowy)}));
    QVERIFY(findItem(tree(panel, "filterTree")->model(), QStringLiteral("śląskie")).isValid());
    QCOMPARE(view->refreshCount, 0);

    // The new model answers clicks like the first one.
    const QModelIndex nowyRow = findItem(catalogList->model(), QStringLiteral("Nowy (2)"));
    click(catalogList, nowyRow.sibling(nowyRow.row(), 0));
    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);
    QCOMPARE(option(QStringLiteral("CATALOG_UNCHECKED_")), QStringLiteral("%1;%2").arg(m_catalogCwiczenia).arg(nowy));
}

void TestFilterPanel::switchesCountFromTheNextRefresh()
{
    MOptions::setOption(QStringLiteral("CATALOG_UNCHECKED_") + buyerSuffix, QStringLiteral("0"));
    auto view = buyerOwner();
    MFilterDbView* panel = view->panel;
    panel->restoreCatalogChecks();
    QCOMPARE(panel->catalogUnchecked(), QStringLiteral("0"));

    QCheckBox* catalogSwitch = sectionSwitch(panel, QStringLiteral("Katalogi"));
    catalogSwitch->click();
    QCOMPARE(option(QStringLiteral("CATALOG_SWITCH_")), QStringLiteral("0"));
    QVERIFY(!tree(panel, "catalogList")->isEnabled());
    QVERIFY(!panel->findChild<QToolBar*>()->isEnabled());
    QCOMPARE(view->refreshCount, 0);
    QCOMPARE(panel->catalogUnchecked(), QStringLiteral("0"));

    QCheckBox* searchSwitch = sectionSwitch(panel, QStringLiteral("Szukaj"));
    auto* field = panel->findChild<QLineEdit*>(QStringLiteral("searchField"));
    field->setText(QStringLiteral("Alf"));
    QCOMPARE(panel->searchText(), QStringLiteral("Alf"));
    searchSwitch->click();
    QCOMPARE(option(QStringLiteral("SEARCH_SWITCH_")), QStringLiteral("0"));
    QVERIFY(!field->isEnabled());
    QVERIFY(!panel->findChild<QComboBox*>(QStringLiteral("columnList"))->isEnabled());
    QVERIFY(!panel->findChild<QPushButton*>(QStringLiteral("searchButton"))->isEnabled());
    QCOMPARE(panel->searchText(), QString());
    QCOMPARE(view->refreshCount, 0);

    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);
    QCOMPARE(view->refreshCount, 1);
    QCOMPARE(panel->catalogUnchecked(), QString());
    QCOMPARE(option(QStringLiteral("CATALOG_UNCHECKED_")), QStringLiteral("0"));
    QCOMPARE(view->listedFirms().size(), 8);

    // Switched on again, the stored catalogs and the search count at the next refresh.
    catalogSwitch->click();
    searchSwitch->click();
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(view->refreshCount, 2);
    QCOMPARE(view->listedFirms(), QStringList{QStringLiteral("Alfa")});
}

void TestFilterPanel::columnChangeRefreshesAtOnce()
{
    auto view = buyerOwner();
    MFilterDbView* panel = view->panel;
    auto* field = panel->findChild<QLineEdit*>(QStringLiteral("searchField"));
    auto* list = panel->findChild<QComboBox*>(QStringLiteral("columnList"));
    QCOMPARE(list->currentText(), QStringLiteral("Firma / Osoba"));
    field->setText(QStringLiteral("3"));

    list->setCurrentIndex(0);
    QCOMPARE(view->refreshCount, 1);
    QCOMPARE(panel->searchColumn(), 0);
    QCOMPARE(option(QStringLiteral("FILTER_SEARCH_COLUMN_")), QStringLiteral("0"));
    QCOMPARE(option(QStringLiteral("FILTER_SEARCH_TEXT_")), QStringLiteral("3"));
    QCOMPARE(view->listedFirms(), QStringList{QStringLiteral("Gamma")});

    // A reload restores the panel from the options without asking the owner.
    field->setText(QStringLiteral("typed, not stored"));
    panel->reloadView();
    QCOMPARE(field->text(), QStringLiteral("3"));
    QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(view->refreshCount, 1);
    list->setCurrentIndex(1);
    QCOMPARE(view->refreshCount, 2);
}

void TestFilterPanel::searchFieldColour()
{
    const QColor yellow(255, 255, 159);
    MOptions::setOption(QStringLiteral("SEARCH_SWITCH_") + buyerSuffix, QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("FILTER_SEARCH_TEXT_") + buyerSuffix, QStringLiteral("Beta"));
    auto view = buyerOwner();
    auto* field = view->panel->findChild<QLineEdit*>(QStringLiteral("searchField"));
    QCOMPARE(field->text(), QStringLiteral("Beta"));
    QCOMPARE(field->palette().color(QPalette::Base), yellow);

    QTest::mouseClick(view->panel->findChild<QPushButton*>(QStringLiteral("refreshButton")), Qt::LeftButton);
    QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::white));

    sectionSwitch(view->panel, QStringLiteral("Szukaj"))->click();
    QTest::mouseClick(view->panel->findChild<QPushButton*>(QStringLiteral("searchButton")), Qt::LeftButton);
    QCOMPARE(field->palette().color(QPalette::Base), yellow);
    QCOMPARE(view->listedFirms(), QStringList{QStringLiteral("Beta")});
}

void TestFilterPanel::catalogActionsFollowTheSelection()
{
    auto view = buyerOwner();
    MFilterDbView* panel = view->panel;
    const QList<QAction*> actions = panel->findChild<QToolBar*>()->actions();
    QStringList texts;
    for (QAction* action : actions)
        texts << action->text();
    QCOMPARE(texts, (QStringList{QStringLiteral("Dodaj"), QStringLiteral("Edytuj"), QStringLiteral("Usuń"),
                                 QStringLiteral("Zaznacz wszystkie"), QStringLiteral("Odznacz wszystkie")}));
    for (QAction* action : actions)
        action->trigger();
    QCOMPARE(view->catalogCalls, (QStringList{QStringLiteral("add"), QStringLiteral("edit"), QStringLiteral("delete"),
                                              QStringLiteral("check all"), QStringLiteral("uncheck all")}));

    QTRY_VERIFY(!actions.at(1)->isEnabled() && !actions.at(2)->isEnabled());
    QVERIFY(actions.at(0)->isEnabled() && actions.at(3)->isEnabled() && actions.at(4)->isEnabled());
    QCOMPARE(panel->selectedCatalogId(), -1);

    QTreeView* catalogList = tree(panel, "catalogList");
    click(catalogList, findItem(catalogList->model(), QStringLiteral("[bez katalogu] (5)")));
    QCOMPARE(panel->selectedCatalogId(), 0);
    QTRY_VERIFY(actions.at(1)->isEnabled() && actions.at(2)->isEnabled());
    // Selecting a row does not toggle its check mark.
    QCOMPARE(catalogRows(panel).value(0), QStringLiteral("[bez katalogu] (5)|0|1"));

    click(catalogList, findItem(catalogList->model(), QStringLiteral("Ćwiczenia (3)")));
    QCOMPARE(panel->selectedCatalogId(), m_catalogCwiczenia);

    panel->uncheckAllCatalogs();
    QCOMPARE(panel->findChild<QTreeView*>(QStringLiteral("catalogList"))->model()->index(2, 0).data(ItemRole::State).toInt(), 2);
    panel->checkAllCatalogs();
    for (const QString& row : catalogRows(panel))
        QVERIFY2(row.endsWith(QLatin1String("|1")), qPrintable(row));
    QCOMPARE(view->refreshCount, 0);

    catalogList->clearSelection();
    QTRY_VERIFY(!actions.at(1)->isEnabled() && !actions.at(2)->isEnabled());
}

void TestFilterPanel::rightClickOpensNoMenu()
{
    auto view = buyerOwner();
    for (QWidget* target : {static_cast<QWidget*>(view->panel), tree(view->panel, "filterTree")->viewport(),
                            tree(view->panel, "catalogList")->viewport()}) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(target, &event);
    }
    QCOMPARE(view->contextMenuCount, 0);

    // The owner's own area still gets its menu: the seam is the panel.
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), view->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(view.get(), &event);
    QCOMPARE(view->contextMenuCount, 1);
}

INVOICE_TEST_MAIN(TestFilterPanel)
#include "tst_filterpanel.moc"
