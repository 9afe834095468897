#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestOwner.h"
#include "catalog/MProductCatalogDlg.h"
#include "catalog/MProductCatalogJoinDlg.h"
#include "views/MItemRoles.h"
#include "views/MMessageBox.h"
#include "views/MSelectListModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

// The product catalog dialog and the membership dialog of selected products.
class TestProductCatalogs : public QObject
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
    void failedWriteChangesNothingAndStaysOpen_data();
    void failedWriteChangesNothingAndStaysOpen();
    void renameOfDeletedCatalogIsRefused();

private:
    static void clickButton(QDialog* dialog, const QString& text);
    static void clickRows(QTreeView* view, const QList<int>& rows);
    static QStringList catalogTexts(const QTreeView* view, bool withState);
    static QString memberships();
    static QString catalogs();

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MTestOwner> m_owner;
};

namespace {

// Products 1 to 4; catalogs 1 "Śruby", 2 "Akcesoria", 3 "Łożyska", 4 "Zestawy".
// Product 1 is in 1 and 2 (joined in that order), product 2 in 2 and 1 (the other order),
// product 3 in 3, product 4 in none.
const char* const fixture[] = {
    "INSERT INTO product (id, name, time_create, time_modify) VALUES (1, 'A', 0, 0), (2, 'B', 0, 0), "
    "(3, 'C', 0, 0), (4, 'D', 0, 0)",
    "INSERT INTO product_catalog (id, name) VALUES (1, 'Śruby'), (2, 'Akcesoria'), (3, 'Łożyska'), (4, 'Zestawy')",
    "INSERT INTO product_catalog_join (id_product, id_catalog) VALUES (1, 1), (1, 2), (2, 2), (2, 1), (3, 3)",
};

QMap<int, bool> idMap(const QList<int>& ids)
{
    QMap<int, bool> map;
    for (int id : ids)
        map.insert(id, true);
    return map;
}

} // namespace

void TestProductCatalogs::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestProductCatalogs::init()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse")));
    for (const char* table : {"product", "product_catalog", "product_catalog_join"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    for (const char* statement : fixture)
        QVERIFY(MTestDatabase::exec(QString::fromUtf8(statement)));
    m_owner = std::make_unique<MTestOwner>();
    MMessageBox::takeShown();
}

void TestProductCatalogs::cleanup()
{
    m_owner.reset();
}

void TestProductCatalogs::clickButton(QDialog* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL("no such button");
}

void TestProductCatalogs::clickRows(QTreeView* view, const QList<int>& rows)
{
    for (int row : rows) {
        const QRect cell = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
}

QStringList TestProductCatalogs::catalogTexts(const QTreeView* view, bool withState)
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

QString TestProductCatalogs::memberships()
{
    return MTestDatabase::rows(QStringLiteral("SELECT id_product || ':' || id_catalog FROM product_catalog_join "
                                              "ORDER BY id_product, id_catalog"))
        .join(QLatin1Char(' '));
}

QString TestProductCatalogs::catalogs()
{
    return MTestDatabase::rows(QStringLiteral("SELECT CASE WHEN id > 4 THEN 'new' ELSE id END || '=' || name "
                                              "FROM product_catalog ORDER BY id"))
        .join(QLatin1Char('|'));
}

void TestProductCatalogs::catalogName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");

    // A new catalog is listed as "new=" with its name.
    const QString fixtureCatalogs = QStringLiteral("1=Śruby|2=Akcesoria|3=Łożyska|4=Zestawy");
    QTest::newRow("a name is added") << "Nity" << fixtureCatalogs + "|new=Nity";
    QTest::newRow("blanks around are kept") << "  Nity " << fixtureCatalogs + "|new=  Nity ";
    QTest::newRow("a quote is stored as typed") << "O'Brien" << fixtureCatalogs + "|new=O'Brien";
    QTest::newRow("blanks only store nothing") << "   " << fixtureCatalogs;
}

void TestProductCatalogs::catalogName()
{
    QFETCH(QString, typed);
    QFETCH(QString, after);

    auto* dialog = new MProductCatalogDlg(m_owner.get());
    dialog->setIdRecord(0);
    dialog->show();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Katalog produktów"));
    dialog->findChild<QLineEdit*>(QStringLiteral("name"))->setText(typed);
    clickButton(dialog, QStringLiteral("OK"));

    QVERIFY(!dialog->isVisible());
    QCOMPARE(catalogs(), after);
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{4, 0}}));
}

void TestProductCatalogs::renameKeepsIdAndMemberships()
{
    auto* dialog = new MProductCatalogDlg(m_owner.get());
    dialog->setIdRecord(3);
    dialog->show();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("name"));
    QCOMPARE(name->text(), QStringLiteral("Łożyska"));
    name->setText(QStringLiteral("Łożyska kulkowe"));
    clickButton(dialog, QStringLiteral("OK"));
    QCOMPARE(catalogs(), QStringLiteral("1=Śruby|2=Akcesoria|3=Łożyska kulkowe|4=Zestawy"));
    QCOMPARE(memberships(), QStringLiteral("1:1 1:2 2:1 2:2 3:3"));

    auto* cancelled = new MProductCatalogDlg(m_owner.get());
    cancelled->setIdRecord(1);
    cancelled->show();
    cancelled->findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("Inne"));
    clickButton(cancelled, QStringLiteral("Anuluj"));
    QVERIFY(!cancelled->isVisible());
    QCOMPARE(catalogs(), QStringLiteral("1=Śruby|2=Akcesoria|3=Łożyska kulkowe|4=Zestawy"));
    QCOMPARE(m_owner->notices.size(), 1);
}

void TestProductCatalogs::joinShowsMemberships_data()
{
    QTest::addColumn<QList<int>>("products");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<QStringList>("edit");
    QTest::addColumn<QStringList>("assigned");

    // Sorted in Polish order: Ł after L, Ś after S.
    QTest::newRow("one product never warns")
        << QList<int>{3} << false << QStringList{"[ ] Akcesoria#2", "[x] Łożyska#3", "[ ] Śruby#1", "[ ] Zestawy#4"}
        << QStringList{"Łożyska#3"};
    QTest::newRow("the same catalogs joined in another order")
        << QList<int>{1, 2} << false
        << QStringList{"[x] Akcesoria#2", "[ ] Łożyska#3", "[x] Śruby#1", "[ ] Zestawy#4"}
        << QStringList{"Akcesoria#2", "Śruby#1"};
    QTest::newRow("in no catalog and in some warns")
        << QList<int>{3, 4} << true
        << QStringList{"[ ] Akcesoria#2", "[x] Łożyska#3", "[ ] Śruby#1", "[ ] Zestawy#4"}
        << QStringList{"Łożyska#3"};
    QTest::newRow("different catalogs warn and tick the union")
        << QList<int>{1, 3} << true
        << QStringList{"[x] Akcesoria#2", "[x] Łożyska#3", "[x] Śruby#1", "[ ] Zestawy#4"}
        << QStringList{"Akcesoria#2", "Łożyska#3", "Śruby#1"};
    QTest::newRow("two products in no catalog agree")
        << QList<int>{4, 5} << false
        << QStringList{"[ ] Akcesoria#2", "[ ] Łożyska#3", "[ ] Śruby#1", "[ ] Zestawy#4"} << QStringList{};
}

void TestProductCatalogs::joinShowsMemberships()
{
    QFETCH(QList<int>, products);
    QFETCH(bool, warning);
    QFETCH(QStringList, edit);
    QFETCH(QStringList, assigned);

    if (products.contains(5))
        QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO product (id, name, time_create, time_modify) "
                                                   "VALUES (5, 'E', 0, 0)")));
    auto* dialog = new MProductCatalogJoinDlg(m_owner.get());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setIdsProduct(idMap(products));
    dialog->show();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Przynależność do katalogów"));

    auto* label = dialog->findChild<QLabel*>(QStringLiteral("warning"));
    QCOMPARE(label->isVisible(), warning);
    if (warning)
        QVERIFY(label->text().contains(QStringLiteral("nie mają tych samych przynależności")));
    auto* editList = dialog->findChild<QTreeView*>(QStringLiteral("catalogs_edit"));
    QAbstractItemModelTester tester(editList->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(catalogTexts(editList, true), edit);
    QCOMPARE(catalogTexts(dialog->findChild<QTreeView*>(QStringLiteral("catalogs_assigned")), false), assigned);
    dialog->close();
}

void TestProductCatalogs::joinReplacesMemberships_data()
{
    QTest::addColumn<QList<int>>("products");
    QTest::addColumn<QList<int>>("clickedRows"); // rows of "Edycja" toggled before OK
    QTest::addColumn<QString>("after");

    QTest::newRow("OK unchanged gives every product the union")
        << QList<int>{1, 3} << QList<int>{} << "1:1 1:2 1:3 2:1 2:2 3:1 3:2 3:3";
    QTest::newRow("ticking one more catalog") << QList<int>{3} << QList<int>{3} << "1:1 1:2 2:1 2:2 3:3 3:4";
    QTest::newRow("unticking leaves the others' memberships")
        << QList<int>{1} << QList<int>{0} << "1:1 2:1 2:2 3:3";
    QTest::newRow("clearing every tick removes all memberships")
        << QList<int>{1, 2} << QList<int>{0, 2} << "3:3";
    QTest::newRow("a product in none joins the ticked ones") << QList<int>{4} << QList<int>{3}
                                                             << "1:1 1:2 2:1 2:2 3:3 4:4";
}

void TestProductCatalogs::joinReplacesMemberships()
{
    QFETCH(QList<int>, products);
    QFETCH(QList<int>, clickedRows);
    QFETCH(QString, after);

    auto* dialog = new MProductCatalogJoinDlg(m_owner.get());
    dialog->setIdsProduct(idMap(products));
    dialog->show();
    clickRows(dialog->findChild<QTreeView*>(QStringLiteral("catalogs_edit")), clickedRows);
    clickButton(dialog, QStringLiteral("OK"));

    QVERIFY(!dialog->isVisible());
    QCOMPARE(memberships(), after);
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{4, 0}}));
    delete dialog;
}

void TestProductCatalogs::failedWriteChangesNothingAndStaysOpen_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<bool>("membership");

    QTest::newRow("new catalog refused") << "BEFORE INSERT ON product_catalog" << false;
    QTest::newRow("renamed catalog refused") << "BEFORE UPDATE ON product_catalog" << false;
    QTest::newRow("removal of memberships refused") << "BEFORE DELETE ON product_catalog_join" << true;
    QTest::newRow("membership refused after the removals") << "BEFORE INSERT ON product_catalog_join" << true;
}

void TestProductCatalogs::failedWriteChangesNothingAndStaysOpen()
{
    QFETCH(QString, trigger);
    QFETCH(bool, membership);

    const QString before = catalogs() + QLatin1Char('/') + memberships();
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse ") + trigger
                                + QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'baza zablokowana'); END")));
    QDialog* dialog = nullptr;
    if (membership) {
        auto* join = new MProductCatalogJoinDlg(m_owner.get());
        join->setIdsProduct(idMap({2, 4}));
        join->show();
        clickRows(join->findChild<QTreeView*>(QStringLiteral("catalogs_edit")), {3});
        dialog = join;
    } else {
        auto* catalog = new MProductCatalogDlg(m_owner.get());
        catalog->setIdRecord(trigger.contains(QLatin1String("UPDATE")) ? 2 : 0);
        catalog->show();
        catalog->findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("Nowa"));
        dialog = catalog;
    }
    clickButton(dialog, QStringLiteral("OK"));

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY(shown.first().text.contains(QStringLiteral("baza zablokowana")));
    QVERIFY(dialog->isVisible());
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(catalogs() + QLatin1Char('/') + memberships(), before);

    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER refuse")));
    clickButton(dialog, QStringLiteral("OK"));
    QVERIFY(!dialog->isVisible());
    QVERIFY(catalogs() + QLatin1Char('/') + memberships() != before);
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{4, 0}}));
    delete dialog;
}

void TestProductCatalogs::renameOfDeletedCatalogIsRefused()
{
    auto* dialog = new MProductCatalogDlg(m_owner.get());
    dialog->setIdRecord(3);
    dialog->show();
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM product_catalog WHERE id = 3")));
    const QString before = catalogs();
    dialog->findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("Łożyska kulkowe"));
    clickButton(dialog, QStringLiteral("OK"));

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY2(shown.first().text.contains(QStringLiteral("Katalog o identyfikatorze 3 nie istnieje już w bazie danych.")),
             qPrintable(shown.first().text));
    QVERIFY(dialog->isVisible());
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(catalogs(), before);
    delete dialog;
}

INVOICE_TEST_MAIN(TestProductCatalogs)
#include "tst_productcatalogs.moc"
