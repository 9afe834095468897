#include "MTestContextMenu.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "parties/MSellerDbView.h"
#include "views/MMessageBox.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QtTest>

#include <memory>

// The seller list: its SQL from the stored state, the default seller marked and switched
// (also across a restart), and deleting a seller that no document names.
class TestSellerDbView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listFollowsStoredState_data();
    void listFollowsStoredState();
    void defaultSwitchesAndSurvivesARestart();
    void defaultWithoutVisibleRowMarksNothing_data();
    void defaultWithoutVisibleRowMarksNothing();
    void otherKindsOfNoticeLeaveTheList();
    void deleteRefusesSellerOfDocuments();
    void deleteAsksAndKeepsTheDefaultOption_data();
    void deleteAsksAndKeepsTheDefaultOption();
    void contextMenuFollowsTheSelection_data();
    void contextMenuFollowsTheSelection();

private:
    MSellerDbView* openView();
    QStringList firms() const;
    int rowDefault() const;
    void selectRows(const QList<int>& rows);

    std::unique_ptr<MTestDatabase> m_db;
    MSellerDbView* m_view = nullptr;
};

namespace {

// Firms chosen so that Polish order differs from code-point order.
const char* const fixture[] = {
    "INSERT INTO seller (id, firm, nip, id_province, time_create, time_modify) VALUES "
    "(1, 'Łąka', '', 7, 0, 0), (2, 'Zefir', '1234', 12, 0, 0), (3, 'Lipa', '55 66', 4, 0, 0), "
    "(4, 'Ćwik', '', 0, 0, 0)",
};

const char* const viewOptions[] = {
    "SEARCH_SWITCH_SELLER_DB_VIEW",        "FILTER_SEARCH_COLUMN_SELLER_DB_VIEW", "FILTER_SEARCH_TEXT_SELLER_DB_VIEW",
    "FILTER_TREE_SWITCH_SELLER_DB_VIEW",   "FILTER_TREE_UNCHECKED_SELLER_DB_VIEW", "COLUMN_SORT_SELLER_DB_VIEW",
};

} // namespace

void TestSellerDbView::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
}

void TestSellerDbView::init()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse_delete_seller")));
    for (const char* table : {"seller", "invoice"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    for (const char* statement : fixture)
        QVERIFY(MTestDatabase::exec(QString::fromUtf8(statement)));
    for (const char* key : viewOptions)
        MOptions::setOption(QLatin1String(key), QString());
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("ID_RECORD_DEFAULT_SELLER"), QStringLiteral("0"));
    MMessageBox::takeShown();
}

void TestSellerDbView::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

MSellerDbView* TestSellerDbView::openView()
{
    delete m_view;
    m_view = new MSellerDbView(nullptr, nullptr);
    m_view->initWidget();
    m_view->show();
    m_view->afterInitWidget();
    return m_view;
}

QStringList TestSellerDbView::firms() const
{
    QStringList firms;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        firms.append(model->index(row, 1).data().toString());
    return firms;
}

int TestSellerDbView::rowDefault() const
{
    return qobject_cast<MSqlQueryModel*>(m_view->tableView()->model())->rowDefault();
}

void TestSellerDbView::selectRows(const QList<int>& rows)
{
    MTableView* table = m_view->tableView();
    table->selectionModel()->clear();
    for (int row : rows) {
        table->selectionModel()->setCurrentIndex(table->model()->index(row, 1),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void TestSellerDbView::listFollowsStoredState_data()
{
    QTest::addColumn<QStringList>("options"); // key=value
    QTest::addColumn<QStringList>("firms");
    QTest::addColumn<QString>("sqlEnd");

    QTest::newRow("no state: by id") << QStringList{} << QStringList{"Łąka", "Zefir", "Lipa", "Ćwik"}
                                     << "ORDER BY s.id";
    QTest::newRow("by name in Polish order")
        << QStringList{"COLUMN_SORT_SELLER_DB_VIEW=1;0"} << QStringList{"Ćwik", "Lipa", "Łąka", "Zefir"}
        << "FROM seller s LEFT JOIN province p ON p.id = s.id_province LEFT JOIN country c ON c.id = s.id_country "
           "ORDER BY s.firm COLLATE POLISH, s.id";
    QTest::newRow("by id descending") << QStringList{"COLUMN_SORT_SELLER_DB_VIEW=0;1"}
                                      << QStringList{"Ćwik", "Lipa", "Zefir", "Łąka"} << "ORDER BY s.id DESC";
    QTest::newRow("sort column outside the list")
        << QStringList{"COLUMN_SORT_SELLER_DB_VIEW=18;0"} << QStringList{"Łąka", "Zefir", "Lipa", "Ćwik"}
        << "c.id = s.id_country";
    QTest::newRow("NIP searched without dashes and blanks")
        << QStringList{"SEARCH_SWITCH_SELLER_DB_VIEW=1", "FILTER_SEARCH_COLUMN_SELLER_DB_VIEW=2",
                       "FILTER_SEARCH_TEXT_SELLER_DB_VIEW=12-34"}
        << QStringList{"Zefir"} << "ORDER BY s.id";
    QTest::newRow("NIP with blanks found by its digits")
        << QStringList{"SEARCH_SWITCH_SELLER_DB_VIEW=1", "FILTER_SEARCH_COLUMN_SELLER_DB_VIEW=2",
                       "FILTER_SEARCH_TEXT_SELLER_DB_VIEW=5566"}
        << QStringList{"Lipa"} << "ORDER BY s.id";
    QTest::newRow("provinces unchecked")
        << QStringList{"FILTER_TREE_SWITCH_SELLER_DB_VIEW=1", "FILTER_TREE_UNCHECKED_SELLER_DB_VIEW=1,7;1,12;2,4"}
        << QStringList{"Lipa", "Ćwik"} << "WHERE (s.id_province NOT IN (7,12)) ORDER BY s.id";
}

void TestSellerDbView::listFollowsStoredState()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, firms);
    QFETCH(QString, sqlEnd);
    for (const QString& option : options)
        MOptions::setOption(option.section(QLatin1Char('='), 0, 0), option.section(QLatin1Char('='), 1));
    openView();
    QCOMPARE(this->firms(), firms);
    QVERIFY2(m_view->buildSqlQuery(true, false).endsWith(sqlEnd), qPrintable(m_view->buildSqlQuery(true, false)));
    QVERIFY(m_view->buildSqlQuery(true, true).startsWith(QStringLiteral("SELECT s.id FROM seller s")));
}

void TestSellerDbView::defaultSwitchesAndSurvivesARestart()
{
    openView();
    QCOMPARE(rowDefault(), -1);
    QVERIFY(!m_view->isCurrentDefault());

    selectRows({1});
    m_view->doDefault();
    QCOMPARE(MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")), QStringLiteral("2"));
    QCOMPARE(rowDefault(), 1);
    QVERIFY(m_view->isCurrentDefault());

    selectRows({2});
    QVERIFY(!m_view->isCurrentDefault());
    m_view->doDefault();
    QCOMPARE(MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")), QStringLiteral("3"));
    QCOMPARE(rowDefault(), 2);

    // A re-query keeps the mark on the seller, wherever its row goes.
    MOptions::setOption(QStringLiteral("COLUMN_SORT_SELLER_DB_VIEW"), QStringLiteral("1;0"));
    m_view->tableView()->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    QCOMPARE(firms().at(rowDefault()), QStringLiteral("Lipa"));

    delete m_view;
    m_view = nullptr;
    QVERIFY(m_db->reopen());
    MOptions::loadOptions();
    QCOMPARE(MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")), QStringLiteral("3"));
    openView();
    QCOMPARE(firms().at(rowDefault()), QStringLiteral("Lipa"));

    // Switched off on the default seller itself.
    selectRows({firms().indexOf(QStringLiteral("Lipa"))});
    QVERIFY(m_view->isCurrentDefault());
    m_view->doDefault();
    QCOMPARE(MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")), QStringLiteral("0"));
    QCOMPARE(rowDefault(), -1);
    delete m_view;
    m_view = nullptr;
    QVERIFY(m_db->reopen());
    MOptions::loadOptions();
    QCOMPARE(MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")), QStringLiteral("0"));
}

void TestSellerDbView::defaultWithoutVisibleRowMarksNothing_data()
{
    QTest::addColumn<QStringList>("options"); // key=value
    QTest::addColumn<QString>("stored");

    QTest::newRow("deleted seller") << QStringList{} << "77";
    QTest::newRow("hidden by the filter")
        << QStringList{"FILTER_TREE_SWITCH_SELLER_DB_VIEW=1", "FILTER_TREE_UNCHECKED_SELLER_DB_VIEW=1,12"} << "2";
    QTest::newRow("text that is no number") << QStringList{} << "dwa";
}

void TestSellerDbView::defaultWithoutVisibleRowMarksNothing()
{
    QFETCH(QStringList, options);
    QFETCH(QString, stored);
    for (const QString& option : options)
        MOptions::setOption(option.section(QLatin1Char('='), 0, 0), option.section(QLatin1Char('='), 1));
    MOptions::setOption(QStringLiteral("ID_RECORD_DEFAULT_SELLER"), stored);
    openView();
    QCOMPARE(rowDefault(), -1);
    const int id = stored.toInt();
    QCOMPARE(MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")), QString::number(id));
}

void TestSellerDbView::otherKindsOfNoticeLeaveTheList()
{
    MOptions::setOption(QStringLiteral("ID_RECORD_DEFAULT_SELLER"), QStringLiteral("4"));
    openView();
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO seller (id, firm, time_create, time_modify) "
                                               "VALUES (9, 'Nowa', 0, 0)")));
    m_view->reloadView(3, 7);
    QCOMPARE(firms().size(), 4);

    m_view->reloadView(2, 9);
    QCOMPARE(firms().size(), 5);
    QCOMPARE(m_view->currentId(), 9);
    QCOMPARE(firms().at(rowDefault()), QStringLiteral("Ćwik"));
}

void TestSellerDbView::deleteRefusesSellerOfDocuments()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO invoice (id_seller_base, date_put, date_sell, date_pay, "
                                               "time_create, time_modify) VALUES (2, 0, 0, 0, 0, 0)")));
    openView();
    selectRows({1});
    m_view->doDelete();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Information);
    QCOMPARE(shown.first().title, QStringLiteral("Błąd usunięcia sprzedawcy"));
    QCOMPARE(shown.first().text, QStringLiteral("Sprzedawcy o identyfikatorze 2 nie można usunąć, ponieważ istnieją "
                                                "dokumenty odwołujące się do niego."));
    QCOMPARE(MTestDatabase::count(QStringLiteral("seller WHERE id = 2")), 1);
}

void TestSellerDbView::deleteAsksAndKeepsTheDefaultOption_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("left");

    QTest::newRow("yes deletes") << int(QMessageBox::Yes) << false << 3;
    QTest::newRow("no keeps") << int(QMessageBox::No) << false << 4;
    QTest::newRow("a delete the database refuses keeps the seller and says so") << int(QMessageBox::Yes) << true << 4;
}

void TestSellerDbView::deleteAsksAndKeepsTheDefaultOption()
{
    QFETCH(int, answer);
    QFETCH(bool, refused);
    QFETCH(int, left);
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO seller_bank (id_seller, bank) VALUES (3, 'Bank')")));
    // As a locked or damaged database would.
    if (refused) {
        QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse_delete_seller BEFORE DELETE ON seller "
                                                   "BEGIN SELECT RAISE(ABORT, 'odmowa'); END")));
    }
    MOptions::setOption(QStringLiteral("ID_RECORD_DEFAULT_SELLER"), QStringLiteral("3"));
    openView();
    selectRows({2});
    MMessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
    m_view->doDelete();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), refused ? 2 : 1);
    QCOMPARE(shown.first().title, QStringLiteral("Potwierdzenie usunięcia sprzedawcy"));
    QCOMPARE(shown.first().text, QStringLiteral("Na pewno usunąć sprzedawcę o identyfikatorze 3?"));
    if (refused) {
        QCOMPARE(shown.last().icon, QMessageBox::Critical);
        QCOMPARE(shown.last().title, QStringLiteral("Błąd usuwania"));
        QVERIFY2(shown.last().text.startsWith(QStringLiteral("Nie udało się usunąć sprzedawcy o identyfikatorze 3. "
                                                             "Dane w bazie pozostały bez zmian.")),
                 qPrintable(shown.last().text));
        QVERIFY2(shown.last().text.contains(QStringLiteral("odmowa")), qPrintable(shown.last().text));
    }
    QCOMPARE(firms().size(), left);
    QCOMPARE(MTestDatabase::count(QStringLiteral("seller")), left);
    QCOMPARE(MTestDatabase::count(QStringLiteral("seller_bank")), 1);
    QCOMPARE(MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")), QStringLiteral("3"));
    QCOMPARE(rowDefault(), left == 4 ? 2 : -1);
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM seller_bank")));
}

void TestSellerDbView::contextMenuFollowsTheSelection_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("enabled");

    QTest::newRow("one seller") << QList<int>{1} << "Nowy|Domyślny|Edytuj|Usuń";
    QTest::newRow("two sellers") << QList<int>{0, 1} << "Nowy";
    QTest::newRow("none") << QList<int>{} << "Nowy";
}

void TestSellerDbView::contextMenuFollowsTheSelection()
{
    QFETCH(QList<int>, rows);
    QFETCH(QString, enabled);
    openView();
    selectRows(rows);

    QCOMPARE(enabledContextMenuEntries(m_view).join(QLatin1Char('|')), enabled);
}

INVOICE_TEST_MAIN(TestSellerDbView)
#include "tst_sellerdbview.moc"
