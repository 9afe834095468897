#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "printing/MFilterRegisterView.h"
#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include <memory>

// Stands in for the register tab: its accessible name and the slot "Pokaż" calls.
class TestRegisterOwner : public QWidget
{
    Q_OBJECT

public:
    explicit TestRegisterOwner(const QString& name) { setAccessibleName(name); }
    int reloads = 0;

public slots:
    void reloadView() { ++reloads; }
};

// The register filter on a database made by the schema script: what it
// reads from the options, what it stores and when, and the runs it computes.
class TestFilterRegisterView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void readsOptionsOnlyUnderTheRegister_data();
    void readsOptionsOnlyUnderTheRegister();
    void storesOptionsOnlyAtAComputation_data();
    void storesOptionsOnlyAtAComputation();
    void missingHeaderSeller();
    void showButtonReloadsOnlyTheRegister_data();
    void showButtonReloadsOnlyTheRegister();
    void computationListsTheCheckedSellers();

private:
    // A panel built under an owner of that accessible name.
    MFilterRegisterView* panel(const QString& ownerName);
    QStringList checkedIds(MFilterRegisterView* view) const;
    static void setOptions(const QString& from, const QString& to, const QString& base, const QString& docs);

    MTestDatabase m_db;
    std::unique_ptr<TestRegisterOwner> m_owner;
};

namespace {

const QString registerName = QStringLiteral("MInvoiceRegisterView");
const QString keyFrom = QStringLiteral("FILTER_INVOICE_REGISTER_DATE_FROM");
const QString keyTo = QStringLiteral("FILTER_INVOICE_REGISTER_DATE_TO");
const QString keyBase = QStringLiteral("FILTER_INVOICE_REGISTER_ID_SELLER_BASE");
const QString keyDocs = QStringLiteral("FILTER_INVOICE_REGISTER_ID_SELLER_BASE_DOC");

} // namespace

void TestFilterRegisterView::initTestCase()
{
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    for (int id = 1; id <= 3; ++id)
        MTestDatabase::insert(QStringLiteral("seller"), {{"id", id}, {"firm", QStringLiteral("Firma %1").arg(id)}});
    MTestDatabase::insert(QStringLiteral("invoice"), {{"id", 1}, {"invoice_kind", 0}, {"id_seller_base", 2},
                                                       {"date_put", QStringLiteral("2024-05-10 09:00:00")}});
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{"id_invoice", 1}, {"id_vat", 24},
                                                                   {"netto_price", 100}, {"vat_price", 23},
                                                                   {"brutto_price", 123}});
}

void TestFilterRegisterView::init()
{
    m_owner.reset();
    setOptions(QString(), QString(), QString(), QString());
}

void TestFilterRegisterView::setOptions(const QString& from, const QString& to, const QString& base,
                                        const QString& docs)
{
    MOptions::setOption(keyFrom, from);
    MOptions::setOption(keyTo, to);
    MOptions::setOption(keyBase, base);
    MOptions::setOption(keyDocs, docs);
}

MFilterRegisterView* TestFilterRegisterView::panel(const QString& ownerName)
{
    m_owner = std::make_unique<TestRegisterOwner>(ownerName);
    auto* view = new MFilterRegisterView(m_owner.get());
    view->initWidget();
    return view;
}

QStringList TestFilterRegisterView::checkedIds(MFilterRegisterView* view) const
{
    QStringList ids;
    const QAbstractItemModel* model = view->findChild<QListView*>()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (index.data(ItemRole::State).toInt() == CheckItemState::Checked)
            ids << index.data(ItemRole::Value).toString();
    }
    return ids;
}

void TestFilterRegisterView::readsOptionsOnlyUnderTheRegister_data()
{
    QTest::addColumn<QString>("ownerName");
    QTest::addColumn<QString>("storedFrom");
    QTest::addColumn<QDate>("dateFrom");
    QTest::addColumn<QDate>("dateTo");
    QTest::addColumn<int>("idSellerBase");
    QTest::addColumn<QString>("comboText");
    QTest::addColumn<QStringList>("checked");

    const QDate today = QDate::currentDate();
    QTest::newRow("register tab") << registerName << "2024-05-01" << QDate(2024, 5, 1) << QDate(2024, 5, 31) << 2
                                  << "2. Firma 2" << QStringList{"1", "3"};
    QTest::newRow("register tab, empty start date is today")
        << registerName << "" << today << QDate(2024, 5, 31) << 2 << "2. Firma 2" << QStringList{"1", "3"};
    QTest::newRow("other parent") << "MInvoiceDbView_Sell" << "2024-05-01" << today << today << 0 << ""
                                  << QStringList();
}

void TestFilterRegisterView::readsOptionsOnlyUnderTheRegister()
{
    QFETCH(QString, ownerName);
    QFETCH(QString, storedFrom);
    setOptions(storedFrom, QStringLiteral("2024-05-31"), QStringLiteral("2"), QStringLiteral("1,3"));
    MFilterRegisterView* view = panel(ownerName);
    QTEST(view->dateFrom(), "dateFrom");
    QTEST(view->dateTo(), "dateTo");
    QCOMPARE(view->datePrint(), QDate::currentDate());
    QTEST(view->idSellerBase(), "idSellerBase");
    QTEST(view->findChild<QComboBox*>()->currentText(), "comboText");
    QTEST(checkedIds(view), "checked");
}

void TestFilterRegisterView::storesOptionsOnlyAtAComputation_data()
{
    QTest::addColumn<QString>("ownerName");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("register tab") << registerName << QStringList{"2024-02-01", "2024-02-29", "3", "1,2"};
    QTest::newRow("other parent") << "MInvoiceDbView_Buy" << QStringList{"", "", "", ""};
}

void TestFilterRegisterView::storesOptionsOnlyAtAComputation()
{
    QFETCH(QString, ownerName);
    QFETCH(QStringList, stored);
    MFilterRegisterView* view = panel(ownerName);
    auto edits = view->findChildren<QDateEdit*>();
    QCOMPARE(edits.size(), 3);
    edits.at(0)->setDate(QDate(2024, 2, 1));
    edits.at(1)->setDate(QDate(2024, 2, 29));
    edits.at(2)->setDate(QDate(2024, 1, 15));
    view->findChild<QComboBox*>()->setCurrentIndex(3);
    auto* list = view->findChild<QListView*>();
    auto* model = qobject_cast<MSelectListModel*>(list->model());
    QVERIFY(model);
    model->itemClicked(model->index(0, 0));
    model->itemClicked(model->index(1, 0));

    QCOMPARE(view->dateFrom(), QDate(2024, 2, 1));
    QCOMPARE(view->datePrint(), QDate(2024, 1, 15));
    QCOMPARE(view->idSellerBase(), 3);
    const QStringList keys{keyFrom, keyTo, keyBase, keyDocs};
    for (const QString& key : keys)
        QCOMPARE(MOptions::option(key), QString());

    QVERIFY(view->buildRegisterData() > 0);
    QStringList after;
    for (const QString& key : keys)
        after << MOptions::option(key);
    QCOMPARE(after, stored);
}

void TestFilterRegisterView::missingHeaderSeller()
{
    setOptions(QString(), QString(), QStringLiteral("9"), QString());
    MFilterRegisterView* view = panel(registerName);
    QCOMPARE(view->findChild<QComboBox*>()->currentIndex(), 0);
    QCOMPARE(view->idSellerBase(), 9);
    view->buildRegisterData();
    QCOMPARE(MOptions::option(keyBase), QStringLiteral("0"));
}

void TestFilterRegisterView::showButtonReloadsOnlyTheRegister_data()
{
    QTest::addColumn<QString>("ownerName");
    QTest::addColumn<int>("reloads");

    QTest::newRow("register tab") << registerName << 1;
    QTest::newRow("other parent") << "MInvoiceDbView_Sell" << 0;
}

void TestFilterRegisterView::showButtonReloadsOnlyTheRegister()
{
    QFETCH(QString, ownerName);
    MFilterRegisterView* view = panel(ownerName);
    QTest::mouseClick(view->findChild<QPushButton*>(), Qt::LeftButton);
    QTEST(m_owner->reloads, "reloads");
}

void TestFilterRegisterView::computationListsTheCheckedSellers()
{
    setOptions(QStringLiteral("2024-05-01"), QStringLiteral("2024-05-31"), QString(), QStringLiteral("1,3"));
    MFilterRegisterView* view = panel(registerName);
    const QString runRows = QStringLiteral("SELECT id_invoice, vat_text, brutto FROM __invoice_vat_summary WHERE id = %1");

    const int withoutSeller = view->buildRegisterData();
    QCOMPARE(MTestDatabase::rows(runRows.arg(withoutSeller)), QStringList());

    auto* model = qobject_cast<MSelectListModel*>(view->findChild<QListView*>()->model());
    model->itemClicked(model->index(1, 0));
    const int withSeller = view->buildRegisterData();
    QVERIFY(withSeller > withoutSeller);
    QCOMPARE(MOptions::option(keyDocs), QStringLiteral("1,2,3"));
    QCOMPARE(MTestDatabase::rows(runRows.arg(withSeller)), QStringList{"1|23%|123"});

    for (int row = 0; row < 3; ++row) {
        if (model->index(row, 0).data(ItemRole::State).toInt() == CheckItemState::Checked)
            model->itemClicked(model->index(row, 0));
    }
    const int noneChecked = view->buildRegisterData();
    QVERIFY(noneChecked > withSeller);
    QCOMPARE(MOptions::option(keyDocs), QString());
    QCOMPARE(MTestDatabase::rows(runRows.arg(noneChecked)), QStringList());
}

INVOICE_TEST_MAIN(TestFilterRegisterView)
#include "tst_filterregisterview.moc"
