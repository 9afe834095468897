#include "MInvoiceFixture.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "documents/MInvoiceDbView.h"
#include "export/MJpkFaDlg.h"
#include "export/MJpkVatDlg.h"
#include "views/MFileDialog.h"
#include "views/MFilterDbView.h"
#include "views/MTableView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The sales and purchase lists over a fixture of every document family: what the rows
// show, the sorts, the searches, the filter tree and the start from stored options.
class TestInvoiceDbView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void csvShowsTheFamiliesAndPaymentTexts_data();
    void csvShowsTheFamiliesAndPaymentTexts();
    void sortsBreakTiesById_data();
    void sortsBreakTiesById();
    void searchesFindEachDocumentOnce_data();
    void searchesFindEachDocumentOnce();
    void treeHidesUncheckedEntries_data();
    void treeHidesUncheckedEntries();
    void storedProductSearchReturnsAfterRestart_data();
    void storedProductSearchReturnsAfterRestart();
    void rowOfIdAndSelectionFollowTheList();
    void jpkExportsTakeTheSelectionInRowOrder();
    void modelsPassTheModelTester_data();
    void modelsPassTheModelTester();

private:
    MInvoiceDbView* openView(int viewKind);
    QList<int> ids() const;
    static void setOptions(const QString& suffix, const QStringList& options);

    std::unique_ptr<MTestDatabase> m_db;
    MInvoiceDbView* m_view = nullptr;
};

namespace {

const char* const optionFamilies[] = {"SEARCH_SWITCH_", "FILTER_SEARCH_COLUMN_", "FILTER_SEARCH_TEXT_",
                                      "FILTER_TREE_SWITCH_", "FILTER_TREE_UNCHECKED_", "COLUMN_SORT_",
                                      "FILTER_SHOW_"};

QString suffixOf(int viewKind)
{
    return viewKind == 8 ? QStringLiteral("INVOICE_BUY_DB_VIEW") : QStringLiteral("INVOICE_SELL_DB_VIEW");
}

} // namespace

void TestInvoiceDbView::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
}

void TestInvoiceDbView::init()
{
    QVERIFY(MInvoiceFixture::write());
    for (int kind : {7, 8}) {
        for (const char* family : optionFamilies)
            MOptions::setOption(QLatin1String(family) + suffixOf(kind), QString());
    }
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
}

void TestInvoiceDbView::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

MInvoiceDbView* TestInvoiceDbView::openView(int viewKind)
{
    delete m_view;
    m_view = new MInvoiceDbView(nullptr, nullptr, viewKind);
    m_view->initWidget();
    m_view->show();
    m_view->afterInitWidget();
    return m_view;
}

QList<int> TestInvoiceDbView::ids() const
{
    QList<int> ids;
    const QAbstractItemModel* model = m_view->tableView()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        ids.append(model->index(row, 0).data().toInt());
    return ids;
}

void TestInvoiceDbView::setOptions(const QString& suffix, const QStringList& options)
{
    for (const QString& option : options) {
        const int split = option.indexOf(QLatin1Char('='));
        MOptions::setOption(option.left(split) + suffix, option.mid(split + 1));
    }
}

void TestInvoiceDbView::csvShowsTheFamiliesAndPaymentTexts_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<QString>("expectedFile");

    QTest::newRow("sales") << 7 << "sales_list.csv";
    QTest::newRow("purchases") << 8 << "purchase_list.csv";
}

void TestInvoiceDbView::csvShowsTheFamiliesAndPaymentTexts()
{
    QFETCH(int, viewKind);
    QFETCH(QString, expectedFile);

    openView(viewKind);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("lista.csv"));
    MFileDialog::setNextFileName(fileName);
    m_view->doExportCsv();
    QFile written(fileName);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QFile expected(QStringLiteral(DOCUMENTS_TEST_DATA "/") + expectedFile);
    QVERIFY(expected.open(QIODevice::ReadOnly));

    // The expected file names the due dates relative to today.
    QString expectedText = QString::fromUtf8(expected.readAll());
    for (int days : {-5, -1, 0, 7})
        expectedText.replace(QStringLiteral("{day%1}").arg(days), MInvoiceFixture::day(days));
    // and the times of creation in local time.
    expectedText.replace(QStringLiteral("{created}"),
                         QDateTime(QDate(2024, 1, 1), QTime(10, 0), Qt::UTC)
                             .toLocalTime()
                             .toString(QStringLiteral("\"yyyy-MM-dd HH:mm:ss\"")));
    const QStringList actualLines = QString::fromUtf8(written.readAll()).split(QRegularExpression("\r?\n"));
    const QStringList expectedLines = expectedText.split(QRegularExpression("\r?\n"));
    QCOMPARE(actualLines.size(), expectedLines.size());
    for (int line = 0; line < actualLines.size(); ++line)
        QCOMPARE(actualLines.at(line), expectedLines.at(line));
}

void TestInvoiceDbView::sortsBreakTiesById_data()
{
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QList<int>>("ids");

    // 5 and 6 share their issue date; 6 has the higher running number but the lower number text.
    QTest::newRow("Numer ascending") << "1;0" << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 10};
    QTest::newRow("Numer descending") << "1;1" << QList<int>{10, 8, 7, 6, 5, 4, 3, 2, 1};
    // Gross: -200 (2), -200 (4, the duplicate of 2), -100 (10), 50, 100, 300, 500, 1000 (1 and 3).
    QTest::newRow("gross by number") << "15;0" << QList<int>{2, 4, 10, 5, 7, 6, 8, 1, 3};
    QTest::newRow("gross descending, ties by id") << "15;1" << QList<int>{3, 1, 8, 6, 7, 5, 10, 4, 2};
    QTest::newRow("place ties by id") << "7;0" << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 10};
    QTest::newRow("place ties by id descending") << "7;1" << QList<int>{10, 8, 7, 6, 5, 4, 3, 2, 1};
    QTest::newRow("buyer in Polish order") << "5;0" << QList<int>{5, 7, 8, 10, 1, 2, 3, 4, 6};
    // A date, anulowane, nie dotyczy, niezapłacone, przeterminowane (fewer days first), zapłacone.
    QTest::newRow("payment text") << "12;0" << QList<int>{1, 4, 8, 3, 7, 10, 5, 6, 2};
}

void TestInvoiceDbView::sortsBreakTiesById()
{
    QFETCH(QString, sort);
    QFETCH(QList<int>, ids);

    setOptions(suffixOf(7), {QStringLiteral("COLUMN_SORT_=") + sort});
    openView(7);
    QCOMPARE(this->ids(), ids);
}

void TestInvoiceDbView::searchesFindEachDocumentOnce_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("50% literally") << 7 << 1 << "50%" << QList<int>{5};
    QTest::newRow("a quote breaks nothing") << 7 << 5 << "ćma'" << QList<int>{};
    QTest::newRow("Polish capitals") << 7 << 5 << "ĆMA" << QList<int>{1, 2, 3, 4};
    QTest::newRow("payment text") << 7 << 12 << "przeterminowane (1 dzień)" << QList<int>{5};
    QTest::newRow("second buyer's tax number typed with dashes") << 7 << 19 << "987-654-32-10" << QList<int>{5};
    QTest::newRow("PESEL typed with blanks") << 7 << 19 << "80010112 345" << QList<int>{6};
    QTest::newRow("product of the corrected document only") << 7 << 20 << "zasuwa" << QList<int>{1, 2, 3, 4};
    QTest::newRow("product with Polish capitals") << 7 << 20 << "ŁOŻ" << QList<int>{5};
    QTest::newRow("product in both, each once") << 7 << 20 << "usł" << QList<int>{8, 10};
    QTest::newRow("purchase tax number") << 8 << 19 << "1234567890" << QList<int>{9};
}

void TestInvoiceDbView::searchesFindEachDocumentOnce()
{
    QFETCH(int, viewKind);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QList<int>, ids);

    setOptions(suffixOf(viewKind), {QStringLiteral("SEARCH_SWITCH_=1"),
                                    QStringLiteral("FILTER_SEARCH_COLUMN_=") + QString::number(column),
                                    QStringLiteral("FILTER_SEARCH_TEXT_=") + text});
    openView(viewKind);
    QCOMPARE(this->ids(), ids);
    // The panel's refresh builds the same condition.
    m_view->refreshFilter();
    QCOMPARE(this->ids(), ids);
}

void TestInvoiceDbView::treeHidesUncheckedEntries_data()
{
    QTest::addColumn<QString>("unchecked");
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("a year") << "3,2024" << QList<int>{1, 2};
    QTest::newRow("a month of another year") << "3,2023,5" << QList<int>{2, 3, 4, 5, 6, 7, 8, 10};
    QTest::newRow("unpaid") << "4,0" << QList<int>{1, 2, 3, 4, 5, 6, 8};
    QTest::newRow("paid") << "4,1" << QList<int>{3, 4, 5, 6, 7, 8, 10};
    QTest::newRow("not applicable") << "4,2" << QList<int>{1, 2, 4, 5, 6, 7, 8, 10};
    QTest::newRow("overdue") << "4,3" << QList<int>{1, 2, 3, 4, 7, 8, 10};
    QTest::newRow("cancelled") << "4,4" << QList<int>{1, 2, 3, 5, 6, 7, 10};
    QTest::newRow("a base seller") << "1,2" << QList<int>{1, 2, 3, 4, 5, 6, 8, 10};
    QTest::newRow("a kind and a year") << "2,5;3,2023" << QList<int>{4, 5, 6, 7, 8, 10};
}

void TestInvoiceDbView::treeHidesUncheckedEntries()
{
    QFETCH(QString, unchecked);
    QFETCH(QList<int>, ids);

    setOptions(suffixOf(7), {QStringLiteral("FILTER_TREE_SWITCH_=1"), QStringLiteral("FILTER_TREE_UNCHECKED_=") + unchecked});
    openView(7);
    QCOMPARE(this->ids(), ids);
}

void TestInvoiceDbView::storedProductSearchReturnsAfterRestart_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("sales") << 7 << "Nazwa produktu" << "zasuwa" << QList<int>{1, 2, 3, 4};
    QTest::newRow("sales tax number") << 7 << "NIP lub PESEL kontrahenta" << "98765" << QList<int>{5};
    QTest::newRow("purchases") << 8 << "Nazwa produktu" << "zbo" << QList<int>{9};
    QTest::newRow("purchases tax number") << 8 << "NIP sprzedawcy" << "123-456" << QList<int>{9};
}

void TestInvoiceDbView::storedProductSearchReturnsAfterRestart()
{
    QFETCH(int, viewKind);
    QFETCH(QString, entry);
    QFETCH(QString, text);
    QFETCH(QList<int>, ids);

    // The user picks the entry in the panel and searches; the panel stores its choice.
    setOptions(suffixOf(viewKind), {QStringLiteral("SEARCH_SWITCH_=1"), QStringLiteral("FILTER_SEARCH_TEXT_=") + text});
    openView(viewKind);
    auto* columns = m_view->findChild<MFilterDbView*>()->findChild<QComboBox*>();
    QVERIFY(columns);
    const int index = columns->findText(entry);
    QVERIFY(index >= 0);
    columns->setCurrentIndex(index);
    m_view->refreshFilter();
    QCOMPARE(this->ids(), ids);
    const int storedColumn =
        MOptions::option(QStringLiteral("FILTER_SEARCH_COLUMN_") + suffixOf(viewKind)).toInt();
    QCOMPARE(storedColumn, columns->itemData(index).toInt());

    // After a restart the list starts from the stored options.
    openView(viewKind);
    QCOMPARE(this->ids(), ids);
}

void TestInvoiceDbView::rowOfIdAndSelectionFollowTheList()
{
    setOptions(suffixOf(7), {QStringLiteral("COLUMN_SORT_=15;0")});
    openView(7);
    QCOMPARE(m_view->rowOfId(5, true), 3);
    QCOMPARE(m_view->rowOfId(9, true), -1);

    // Rows 6 and 1 selected, then the list re-sorted: both stay selected, by id.
    MTableView* table = m_view->tableView();
    table->selectionModel()->select(table->model()->index(5, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table->selectionModel()->select(table->model()->index(7, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(m_view->collectSelectedIds(), (QList<int>{6, 1}));
    table->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    QCOMPARE(m_view->collectSelectedIds(), (QList<int>{1, 6}));
    QCOMPARE(m_view->rowOfId(6, false), 5);

    // A change notice with an id selects that document.
    m_view->reloadView(7, 10);
    QCOMPARE(m_view->currentId(), 10);
    m_view->reloadView(8, 1);
    QCOMPARE(m_view->currentId(), 10);
}

void TestInvoiceDbView::jpkExportsTakeTheSelectionInRowOrder()
{
    setOptions(suffixOf(7), {QStringLiteral("COLUMN_SORT_=15;0")});
    openView(7);
    MTableView* table = m_view->tableView();
    for (int row : {7, 5})
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QList<int> rowOrder = m_view->collectSelectedIds();
    QCOMPARE(rowOrder.size(), 2);

    m_view->doExportJpkVat();
    m_view->doExportJpkFa();
    auto* vat = m_view->findChild<MJpkVatDlg*>();
    auto* fa = m_view->findChild<MJpkFaDlg*>();
    QVERIFY(vat && fa);
    for (MJpkDlg* dialog : {static_cast<MJpkDlg*>(vat), static_cast<MJpkDlg*>(fa)}) {
        QVERIFY(dialog->isModal());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->idsSelected(), rowOrder);
        dialog->close();
    }
    // Closed, they stay children of the list.
    QCOMPARE(m_view->findChildren<MJpkDlg*>().size(), 2);
}

void TestInvoiceDbView::modelsPassTheModelTester_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::newRow("sales") << 7;
    QTest::newRow("purchases") << 8;
}

void TestInvoiceDbView::modelsPassTheModelTester()
{
    QFETCH(int, viewKind);
    openView(viewKind);
    QAbstractItemModelTester tester(m_view->tableView()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_view->reloadView(viewKind, 0);
    QVERIFY(m_view->tableView()->model()->rowCount() > 0);
}

INVOICE_TEST_MAIN(TestInvoiceDbView)
#include "tst_invoicedbview.moc"
