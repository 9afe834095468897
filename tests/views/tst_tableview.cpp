#include "MTestCsvReader.h"
#include "MTestEnvironment.h"
#include "MTestDatabase.h"
#include "data/MOptions.h"
#include "views/MFileCsvWriter.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "data/MNumberText.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlQuery>
#include <QtTest>

namespace {

const int buyerCount = 700;

} // namespace

class TestTableView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void selectRowAtLoadsOnlyWhatItNeeds();
    void selectRowAtLoadsEverythingWhenCacheIsOff();
    void selectIdsSelectsStoredIdsAndCurrentRow();
    void selectIdsWithEmptyMapDependsOnCache();
    void cellToolTipShowsTheDisplayText();
    void mousePressFlagFollowsPressAndContextMenu();
    void focusShowsTheCurrentRowSelected();

    void exportWritesVisibleColumnsInViewOrder();
    void exportIsByteForByteWhatTheValuesRead_data();
    void exportIsByteForByteWhatTheValuesRead();
    void exportFileNameSuffix_data();
    void exportFileNameSuffix();
    void cancelledExportWritesNothing();
    void failedExportIsReported();

private:
    MTableView* makeBuyerTable(QWidget* parent, const QString& name);
    QString exportToFile(MTableView* table, const QString& sql, const QString& answer);

    MTestDatabase m_db;
    QTemporaryDir m_dir;
    QWidget* m_window = nullptr;
};

void TestTableView::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 700) "
        "INSERT INTO buyer (id, firm, nip, city, reduct, time_create, time_modify) "
        "SELECT i * 10, 'Firma nr ' || i, '525-000-' || i, ' Łódź ', i / 8.0, current_timestamp, current_timestamp "
        "FROM n")));
}

void TestTableView::init()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("DELETE FROM _options")));
    MOptions::loadOptions();
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("1"));
    m_window = new QWidget;
    m_window->setLayout(new QHBoxLayout);
    m_window->resize(900, 400);
}

void TestTableView::cleanup()
{
    delete m_window;
    m_window = nullptr;
    MMessageBox::takeShown();
}

MTableView* TestTableView::makeBuyerTable(QWidget* parent, const QString& name)
{
    auto* table = new MTableView(parent);
    table->setAccessibleName(name);
    table->setViewKind(3);
    auto* model = new MSqlQueryModel(table);
    model->setColumnKinds({ 1, 0, 6, 0, 3 });
    model->setQuery(QStringLiteral("SELECT b.id AS idx, b.firm, b.nip, b.city, b.reduct FROM buyer b ORDER BY b.id"));
    const QStringList titles = { "Id", "Firma / Osoba", "NIP / PESEL", "Miejscowość", "Rabat" };
    for (int column = 0; column < titles.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, titles.at(column), Qt::EditRole);
    table->setModel(model);
    table->initHeaders();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    if (parent)
        parent->layout()->addWidget(table);
    return table;
}

void TestTableView::selectRowAtLoadsOnlyWhatItNeeds()
{
    MTableView* table = makeBuyerTable(m_window, QStringLiteral("MBuyerDbView_MTableView"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // The focus makes no row current in a list that has none.
    QVERIFY(!table->currentIndex().isValid());
    QVERIFY(!table->selectionModel()->hasSelection());
    QAbstractItemModel* model = table->model();
    const int loaded = model->rowCount();
    QVERIFY(loaded < buyerCount);
    QVERIFY(model->canFetchMore(QModelIndex()));

    table->selectRowAt(-1);
    QVERIFY(!table->selectionModel()->hasSelection());

    table->selectRowAt(loaded);
    QVERIFY(model->rowCount() > loaded);
    QVERIFY(model->rowCount() < buyerCount);
    QCOMPARE(table->currentIndex().row(), loaded);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(table->selectionModel()->selectedRows().first().data().toInt(), (loaded + 1) * 10);

    table->selectRowAt(buyerCount);
    QCOMPARE(model->rowCount(), buyerCount);
    QCOMPARE(table->currentIndex().row(), loaded);
}

void TestTableView::selectRowAtLoadsEverythingWhenCacheIsOff()
{
    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
    MTableView* table = makeBuyerTable(m_window, QStringLiteral("MBuyerDbView_MTableView"));
    table->selectRowAt(2);
    QCOMPARE(table->model()->rowCount(), buyerCount);
    QCOMPARE(table->currentIndex().row(), 2);
}

void TestTableView::selectIdsSelectsStoredIdsAndCurrentRow()
{
    MTableView* table = makeBuyerTable(m_window, QStringLiteral("MBuyerDbView_MTableView"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));

    // The focus makes no row current in a list that has none.
    QVERIFY(!table->currentIndex().isValid());
    QVERIFY(!table->selectionModel()->hasSelection());
    // 4000 lies beyond the first block of rows: only as many rows load as needed.
    QMap<int, int> ids = { { 20, 1 }, { 50, 1 }, { 4000, 1 } };
    table->selectIds(ids, 50);
    QModelIndexList rows = table->selectionModel()->selectedRows();
    QList<int> selected;
    for (const QModelIndex& row : rows)
        selected << row.data().toInt();
    std::sort(selected.begin(), selected.end());
    QCOMPARE(selected, QList<int>({ 20, 50, 4000 }));
    QCOMPARE(table->currentIndex().row(), 4);
    QVERIFY(table->model()->rowCount() >= 400);
    QVERIFY(table->model()->rowCount() < buyerCount);

    // An id mapped to 0 is not selected (nor ever counted as found, so every row loads);
    // a current id that is not found leaves the current index, the view goes to row 0.
    table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
    table->selectIds({ { 30, 0 }, { 7000, 1 } }, 123456);
    QCOMPARE(table->currentIndex().row(), 4);
    QCOMPARE(table->verticalScrollBar()->value(), 0);
    QCOMPARE(table->model()->rowCount(), buyerCount);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 4);
}

void TestTableView::selectIdsWithEmptyMapDependsOnCache()
{
    MTableView* table = makeBuyerTable(m_window, QStringLiteral("MBuyerDbView_MTableView"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    table->selectRow(5);
    table->verticalScrollBar()->setValue(100);
    const int loaded = table->model()->rowCount();

    table->selectIds({}, 0);
    QCOMPARE(table->verticalScrollBar()->value(), 100);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(table->model()->rowCount(), loaded);

    MOptions::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
    table->selectIds({}, 0);
    QCOMPARE(table->model()->rowCount(), buyerCount);
    QCOMPARE(table->verticalScrollBar()->value(), 0);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
}

void TestTableView::cellToolTipShowsTheDisplayText()
{
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("UPDATE buyer SET firm = '' WHERE id = 20")));
    QVERIFY(query.exec(QStringLiteral("UPDATE buyer SET firm = 'Firma <Test> & Syn' WHERE id = 30")));
    MTableView* table = makeBuyerTable(m_window, QStringLiteral("MBuyerDbView_MTableView"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const auto moveTo = [table](int row, int column) {
        const QRect cell = table->visualRect(table->model()->index(row, column));
        const QPoint position = row < 0 ? QPoint(table->viewport()->width() - 2, table->viewport()->height() - 2)
                                        : cell.center();
        QMouseEvent move(QEvent::MouseMove, position, table->viewport()->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(table->viewport(), &move);
    };
    moveTo(0, 4);
    QCOMPARE(table->toolTip(), QStringLiteral("<p>0,13</p>"));
    moveTo(0, 1);
    QCOMPARE(table->toolTip(), QStringLiteral("<p>Firma nr 1</p>"));
    moveTo(1, 1);
    QCOMPARE(table->toolTip(), QString());
    // A name is text, never markup: "<Test>" must not vanish as an unknown tag.
    moveTo(2, 1);
    QCOMPARE(table->toolTip(), QStringLiteral("<p>Firma &lt;Test&gt; &amp; Syn</p>"));
    QVERIFY(query.exec(QStringLiteral("UPDATE buyer SET firm = 'Firma nr 2' WHERE id = 20")));
    QVERIFY(query.exec(QStringLiteral("UPDATE buyer SET firm = 'Firma nr 3' WHERE id = 30")));
}

void TestTableView::mousePressFlagFollowsPressAndContextMenu()
{
    MTableView* table = makeBuyerTable(m_window, QStringLiteral("MBuyerDbView_MTableView"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QVERIFY(!table->isMousePressed());
    const QPoint cell = table->visualRect(table->model()->index(1, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QVERIFY(table->isMousePressed());
    QCOMPARE(table->currentIndex().row(), 1);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, cell, table->viewport()->mapToGlobal(cell));
    QApplication::sendEvent(table->viewport(), &menu);
    QVERIFY(!table->isMousePressed());
}

void TestTableView::focusShowsTheCurrentRowSelected()
{
    MTableView* table = makeBuyerTable(m_window, QStringLiteral("MBuyerDbView_MTableView"));
    table->selectionModel()->setCurrentIndex(table->model()->index(3, 2), QItemSelectionModel::NoUpdate);
    QVERIFY(!table->selectionModel()->hasSelection());
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(table, &focus);
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().row(), 3);
}

QString TestTableView::exportToFile(MTableView* table, const QString& sql, const QString& answer)
{
    MFileDialog::setNextFileName(answer);
    table->exportCsv(sql);
    return answer;
}

void TestTableView::exportWritesVisibleColumnsInViewOrder()
{
    auto* table = new MTableView(m_window);
    auto* model = new MSqlQueryModel(table);
    model->setColumnKinds({ 1, 0, 6, 0, 3, 5 });
    const QString sql = QStringLiteral(
        "SELECT b.id AS idx, b.firm, b.nip, b.city, b.reduct, b.reduct, 'x' FROM buyer b WHERE b.id IN (10, 20) "
        "ORDER BY b.id");
    model->setQuery(sql);
    const QStringList titles = { "Id", "Firma, nazwa", "NIP / PESEL", "Miejscowość", "Rabat", "Rabat 4", "_tech_" };
    for (int column = 0; column < titles.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, titles.at(column), Qt::EditRole);
    table->setModel(model);
    table->initHeaders();
    table->horizontalHeader()->hideSection(2);
    table->horizontalHeader()->moveSection(3, 0); // Miejscowość first

    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral("UPDATE buyer SET firm = 'Zakład \"Żuraw\", s.c.' WHERE id = 20")));
    const QString fileName = exportToFile(table, sql, m_dir.filePath(QStringLiteral("lista.csv")));
    QVERIFY(query.exec(QStringLiteral("UPDATE buyer SET firm = 'Firma nr 2' WHERE id = 20")));

    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    QVERIFY(!bytes.contains('\r'));
    QCOMPARE(readCsvWithPython(fileName),
             QList<QStringList>({ { "Miejscowość", "Id", "Firma, nazwa", "Rabat", "Rabat 4" },
                                  { "Łódź", "10", "Firma nr 1", "0,13", "0,1250" },
                                  { "Łódź", "20", "Zakład \"Żuraw\", s.c.", "0,25", "0,2500" } }));
    QCOMPARE(MOptions::option(QStringLiteral("EXPORT_CSV_PATH")), QFileInfo(fileName).absolutePath());
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestTableView::exportIsByteForByteWhatTheValuesRead_data()
{
    QTest::addColumn<QString>("value"); // an SQL expression

    QTest::newRow("plain text") << "'Zakład'";
    QTest::newRow("blanks around") << "'  Zakład Żuraw  '";
    QTest::newRow("Polish letters at both ends") << "'Łódź i Źródło Ą'";
    QTest::newRow("no-break space at the end") << "'Łódź' || char(160)";
    QTest::newRow("ideographic space first") << "char(12288) || 'x'";
    QTest::newRow("line separator last") << "'x' || char(8232)";
    QTest::newRow("four-byte letter") << "'a' || char(128512)";
    QTest::newRow("quotes, comma, tab and line break") << "'a\"b,c' || char(9) || 'd' || char(10)";
    QTest::newRow("text that is no valid UTF-8") << "CAST(X'C328A0' AS TEXT)";
    QTest::newRow("text cut inside a letter") << "CAST(X'41E282' AS TEXT)";
    QTest::newRow("surrogate written as UTF-8") << "CAST(X'EDA080' AS TEXT)";
    QTest::newRow("text with a NUL") << "CAST(X'410042' AS TEXT)";
    QTest::newRow("blob") << "X'C5C1'";
    QTest::newRow("blob with a NUL") << "X'41004243'";
    QTest::newRow("integer") << "-9223372036854775808";
    QTest::newRow("real") << "0.1 + 0.2";
    QTest::newRow("large real") << "1e20";
    QTest::newRow("number as text with a comma") << "'12,50'";
    QTest::newRow("number as text with blanks") << "' 3.5 '";
    QTest::newRow("NULL") << "NULL";
    QTest::newRow("empty text") << "''";
    QTest::newRow("formula text") << "'=HYPERLINK(\"http://x\";\"y\")'";
    QTest::newRow("command after a plus") << "'+cmd|'' /C calc''!A0'";
    QTest::newRow("text after a minus, blanks around") << "'  -2+3 '";
    QTest::newRow("negative real") << "-12.5";
}

// Every kind of column over one value, each field as the export has always made it
// from the value as Qt reads it (the oracle below), whatever way the rows are read;
// text cells that a spreadsheet would take for a formula carry a leading apostrophe.
void TestTableView::exportIsByteForByteWhatTheValuesRead()
{
    QFETCH(QString, value);
    const QList<int> kinds = { 1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 42 };
    const QString sql = QStringLiteral("SELECT 7 AS idx, v, v, v, v, v, v, v, v, v, v, v FROM (SELECT ") + value
        + QStringLiteral(" AS v UNION ALL SELECT 'x ' || ") + value + QStringLiteral(")");

    auto* table = new MTableView(m_window);
    auto* model = new MSqlQueryModel(table);
    model->setColumnKinds(kinds);
    model->setQuery(sql);
    for (int column = 0; column < kinds.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, QStringLiteral("Kolumna %1").arg(column), Qt::EditRole);
    table->setModel(model);
    table->initHeaders();
    const QString fileName = exportToFile(table, sql, m_dir.filePath(QStringLiteral("wartosci.csv")));
    QVERIFY(MMessageBox::takeShown().isEmpty());

    MFileCsvWriter expected;
    for (int column = 0; column < kinds.size(); ++column)
        expected.addField(QStringLiteral("Kolumna %1").arg(column));
    expected.endLine();
    QSqlQuery query;
    QVERIFY(query.exec(sql));
    while (query.next()) {
        for (int column = 0; column < kinds.size(); ++column) {
            const QVariant read = query.value(column);
            switch (kinds.at(column)) {
            case 1:
                expected.addField(read.toString());
                break;
            case 2:
            case 3:
                expected.addField(numberText(read.toDouble(), 2));
                break;
            case 5:
                expected.addField(numberText(read.toDouble(), 4));
                break;
            default:
                // A stored text is a text cell that a spreadsheet must not run as a formula.
                if (read.type() == QVariant::String)
                    expected.addTextField(read.toString().trimmed());
                else
                    expected.addField(read.toString().trimmed());
                break;
            }
        }
        expected.endLine();
    }
    const QString expectedName = m_dir.filePath(QStringLiteral("oczekiwane.csv"));
    QVERIFY(expected.save(expectedName));

    QFile written(fileName);
    QFile wanted(expectedName);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(wanted.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), wanted.readAll());
}

void TestTableView::exportFileNameSuffix_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");
    QTest::newRow("no suffix gets .csv") << "kontrahenci" << "kontrahenci.csv";
    QTest::newRow("txt suffix kept") << "kontrahenci.txt" << "kontrahenci.txt";
    QTest::newRow("csv suffix kept") << "k.csv" << "k.csv";
}

void TestTableView::exportFileNameSuffix()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QTemporaryDir folder(m_dir.filePath(QStringLiteral("suffix-XXXXXX")));
    MTableView* table = makeBuyerTable(m_window, QString());
    exportToFile(table, QStringLiteral("SELECT b.id, b.firm, b.nip, b.city, b.reduct FROM buyer b"),
                 folder.filePath(answer));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList({ written }));
    QCOMPARE(readCsvWithPython(folder.filePath(written)).size(), buyerCount + 1);
}

void TestTableView::cancelledExportWritesNothing()
{
    MTableView* table = makeBuyerTable(m_window, QString());
    MOptions::setOption(QStringLiteral("EXPORT_CSV_PATH"), QStringLiteral("/nie/ma/takiego"));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    exportToFile(table, QStringLiteral("SELECT 1"), QString());
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
    QCOMPARE(MOptions::option(QStringLiteral("EXPORT_CSV_PATH")), QStringLiteral("/nie/ma/takiego"));
}

void TestTableView::failedExportIsReported()
{
    MTableView* table = makeBuyerTable(m_window, QString());
    const QString fileName = m_dir.filePath(QStringLiteral("failed.csv"));
    exportToFile(table, QStringLiteral("SELECT nothing FROM nowhere"), fileName);
    QVERIFY(!QFile::exists(fileName));
    QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QCOMPARE(shown.first().title, QStringLiteral("Eksport CSV"));

    exportToFile(table, QStringLiteral("SELECT 1"), m_dir.filePath(QStringLiteral("no/such/folder/x.csv")));
    shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.contains(QStringLiteral("x.csv")));
}

INVOICE_TEST_MAIN(TestTableView)
#include "tst_tableview.moc"
