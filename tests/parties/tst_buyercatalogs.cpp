#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestOwner.h"
#include "views/ItemDelegateCatalogListView.h"
#include "parties/MBuyerCatalogDlg.h"
#include "parties/MBuyerCatalogJoinDlg.h"
#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

// Adding and renaming buyer catalogs, and the catalogs of several buyers at once.
class TestBuyerCatalogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void catalogName_data();
    void catalogName();
    void renameKeepsIdAndMemberships();
    void joinShowsMemberships_data();
    void joinShowsMemberships();
    void joinReplacesMemberships_data();
    void joinReplacesMemberships();
    void rowsAre22PixelsHigh();

private:
    static void clickButton(QDialog* dialog, const QString& text);
    static QStringList catalogTexts(const QTreeView* view, bool withState);
    static QString memberships();

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MTestOwner> m_owner;
};

namespace {

// Buyers 1 to 3; catalogs 1 "Ąbc hurt", 2 "Detal", 3 "Zagranica", 4 "Łódź".
// Buyer 1 is in 1 and 2, buyer 2 in 1, buyer 3 in none.
const char* const fixture[] = {
    "INSERT INTO buyer (id, firm, time_create, time_modify) VALUES (1, 'A', 0, 0), (2, 'B', 0, 0), (3, 'C', 0, 0)",
    "INSERT INTO buyer_catalog (id, name) VALUES (1, 'Ąbc hurt'), (2, 'Detal'), (3, 'Zagranica'), (4, 'Łódź')",
    "INSERT INTO buyer_catalog_join (id_buyer, id_catalog) VALUES (1, 1), (1, 2), (2, 1)",
};

QMap<int, int> idMap(const QList<int>& ids)
{
    QMap<int, int> map;
    for (int id : ids)
        map.insert(id, 1);
    return map;
}

} // namespace

void TestBuyerCatalogs::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestBuyerCatalogs::init()
{
    for (const char* table : {"buyer", "buyer_catalog", "buyer_catalog_join"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    for (const char* statement : fixture)
        QVERIFY(MTestDatabase::exec(QString::fromUtf8(statement)));
    m_owner = std::make_unique<MTestOwner>();
}

void TestBuyerCatalogs::cleanup()
{
    m_owner.reset();
}

void TestBuyerCatalogs::clickButton(QDialog* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL("no such button");
}

QStringList TestBuyerCatalogs::catalogTexts(const QTreeView* view, bool withState)
{
    QStringList texts;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (withState) {
            const QModelIndex check = model->index(row, 0);
            texts.append((check.data(ItemRole::State).toInt() == CheckItemState::Checked ? QStringLiteral("[x] ")
                                                                                          : QStringLiteral("[ ] "))
                         + model->index(row, 1).data().toString() + QLatin1Char('#')
                         + check.data(ItemRole::Value).toString());
        } else {
            const QModelIndex name = model->index(row, 0);
            texts.append(name.data().toString() + QLatin1Char('#') + name.data(ItemRole::Value).toString());
        }
    }
    return texts;
}

QString TestBuyerCatalogs::memberships()
{
    return MTestDatabase::value(QStringLiteral("SELECT GROUP_CONCAT(id_buyer || ':' || id_catalog, ' ') FROM "
                                               "(SELECT id_buyer, id_catalog FROM buyer_catalog_join "
                                               "ORDER BY id_buyer, id_catalog)"))
        .toString();
}

void TestBuyerCatalogs::catalogName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("catalogs");
    QTest::addColumn<QString>("stored");

    QTest::newRow("blanks around a name are kept") << "  Hurtownie  " << 5 << "  Hurtownie  ";
    QTest::newRow("blanks only store nothing") << "   " << 4 << QString();
    QTest::newRow("an apostrophe is stored as typed") << "Klienci O'Neila" << 5 << "Klienci O'Neila";
}

void TestBuyerCatalogs::catalogName()
{
    QFETCH(QString, typed);
    QFETCH(int, catalogs);
    QFETCH(QString, stored);

    auto* dialog = new MBuyerCatalogDlg(m_owner.get());
    dialog->show();
    dialog->findChild<QLineEdit*>(QStringLiteral("name"))->setText(typed);
    clickButton(dialog, QStringLiteral("OK"));

    QVERIFY(!dialog->isVisible());
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_catalog")), catalogs);
    if (!stored.isNull())
        QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT name FROM buyer_catalog WHERE id > 4")).toString(),
                 stored);
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{3, 0}}));
}

void TestBuyerCatalogs::renameKeepsIdAndMemberships()
{
    auto* dialog = new MBuyerCatalogDlg(m_owner.get());
    dialog->setIdRecord(1);
    dialog->show();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("name"));
    QCOMPARE(name->text(), QStringLiteral("Ąbc hurt"));
    name->setText(QStringLiteral("Hurt"));
    clickButton(dialog, QStringLiteral("OK"));

    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT name FROM buyer_catalog WHERE id = 1")).toString(),
             QStringLiteral("Hurt"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_catalog")), 4);
    QCOMPARE(memberships(), QStringLiteral("1:1 1:2 2:1"));

    // Cancel stores nothing.
    auto* cancelled = new MBuyerCatalogDlg(m_owner.get());
    cancelled->setIdRecord(2);
    cancelled->show();
    cancelled->findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("Inny"));
    clickButton(cancelled, QStringLiteral("Anuluj"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT name FROM buyer_catalog WHERE id = 2")).toString(),
             QStringLiteral("Detal"));
    QCOMPARE(m_owner->notices.size(), 1);
}

void TestBuyerCatalogs::joinShowsMemberships_data()
{
    QTest::addColumn<QList<int>>("buyers");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<QStringList>("edit");
    QTest::addColumn<QStringList>("assigned");

    // Sorted in Polish order: Ą after A, Ł after L.
    QTest::newRow("different memberships warn")
        << QList<int>{1, 2} << true
        << QStringList{"[x] Ąbc hurt#1", "[x] Detal#2", "[ ] Łódź#4", "[ ] Zagranica#3"}
        << QStringList{"Ąbc hurt#1", "Detal#2"};
    QTest::newRow("same memberships do not warn")
        << QList<int>{2} << false << QStringList{"[x] Ąbc hurt#1", "[ ] Detal#2", "[ ] Łódź#4", "[ ] Zagranica#3"}
        << QStringList{"Ąbc hurt#1"};
    QTest::newRow("in a catalog and in none warn")
        << QList<int>{2, 3} << true
        << QStringList{"[x] Ąbc hurt#1", "[ ] Detal#2", "[ ] Łódź#4", "[ ] Zagranica#3"}
        << QStringList{"Ąbc hurt#1"};
    QTest::newRow("no buyer: nothing ticked, no warning")
        << QList<int>{} << false
        << QStringList{"[ ] Ąbc hurt#1", "[ ] Detal#2", "[ ] Łódź#4", "[ ] Zagranica#3"} << QStringList{};
}

void TestBuyerCatalogs::joinShowsMemberships()
{
    QFETCH(QList<int>, buyers);
    QFETCH(bool, warning);
    QFETCH(QStringList, edit);
    QFETCH(QStringList, assigned);

    auto* dialog = new MBuyerCatalogJoinDlg(m_owner.get());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setIdsBuyer(idMap(buyers));
    dialog->show();

    auto* label = dialog->findChild<QLabel*>(QStringLiteral("warning"));
    QCOMPARE(label->isVisible(), warning);
    if (warning)
        QVERIFY(label->text().contains(QStringLiteral("nie mają tych samych przynależności")));
    QCOMPARE(catalogTexts(dialog->findChild<QTreeView*>(QStringLiteral("catalogs_edit")), true), edit);
    QCOMPARE(catalogTexts(dialog->findChild<QTreeView*>(QStringLiteral("catalogs_assigned")), false), assigned);
    dialog->close();
}

void TestBuyerCatalogs::joinReplacesMemberships_data()
{
    QTest::addColumn<QList<int>>("buyers");
    QTest::addColumn<QList<int>>("clickedRows"); // rows of "Edycja" toggled before OK
    QTest::addColumn<QString>("after");

    QTest::newRow("OK unchanged gives both buyers the union")
        << QList<int>{1, 2} << QList<int>{} << "1:1 1:2 2:1 2:2";
    QTest::newRow("ticking one more catalog") << QList<int>{2} << QList<int>{3} << "1:1 1:2 2:1 2:3";
    QTest::newRow("clearing every tick removes all memberships")
        << QList<int>{1, 2} << QList<int>{0, 1} << "";
    QTest::newRow("a buyer in none joins the ticked ones")
        << QList<int>{3} << QList<int>{2} << "1:1 1:2 2:1 3:4";
    QTest::newRow("no buyer writes nothing") << QList<int>{} << QList<int>{0} << "1:1 1:2 2:1";
}

void TestBuyerCatalogs::joinReplacesMemberships()
{
    QFETCH(QList<int>, buyers);
    QFETCH(QList<int>, clickedRows);
    QFETCH(QString, after);

    auto* dialog = new MBuyerCatalogJoinDlg(m_owner.get());
    dialog->setIdsBuyer(idMap(buyers));
    dialog->show();
    auto* edit = dialog->findChild<QTreeView*>(QStringLiteral("catalogs_edit"));
    for (int row : clickedRows) {
        const QRect cell = edit->visualRect(edit->model()->index(row, 0));
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
    clickButton(dialog, QStringLiteral("OK"));

    QCOMPARE(memberships(), after);
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{3, 0}}));
    // "Przypisane" shows what was assigned when the dialog opened.
    delete dialog;
}

void TestBuyerCatalogs::rowsAre22PixelsHigh()
{
    auto* dialog = new MBuyerCatalogJoinDlg(m_owner.get());
    dialog->setIdsBuyer(idMap({1}));
    dialog->show();
    for (const char* name : {"catalogs_edit", "catalogs_assigned"}) {
        auto* view = dialog->findChild<QTreeView*>(QLatin1String(name));
        QVERIFY(qobject_cast<ItemDelegateCatalogListView*>(view->itemDelegate()));
        QVERIFY(view->model()->rowCount() > 0);
        for (int row = 0; row < view->model()->rowCount(); ++row)
            QCOMPARE(view->visualRect(view->model()->index(row, 0)).height(), 22);
    }
    delete dialog;
}

INVOICE_TEST_MAIN(TestBuyerCatalogs)
#include "tst_buyercatalogs.moc"
