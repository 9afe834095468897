#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "catalog/MCurrencyRatingDbView.h"
#include "catalog/MCurrencyRatingDlg.h"
#include "catalog/MEndTextDbView.h"
#include "catalog/MEndTextDlg.h"
#include "core/MAppWnd.h"
#include "resources/MResources.h"
#include "views/MSqlQueryModel.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTreeView>
#include <QtTest>

#include <memory>

// The closing-text and currency-rating tabs as the main window opens them, passes its
// commands on and enables its operations for them.
class TestCatalogTabs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void tabOpensOnceWithItsTitle_data();
    void tabOpensOnceWithItsTitle();
    void operationsFollowTheView_data();
    void operationsFollowTheView();
    void defaultCommandMarksTheCurrentText();
    void newCommandOpensTheDialog_data();
    void newCommandOpensTheDialog();
    void newRatingAppearsUnderItsBankCurrencyAndMonth();

private:
    QAction* action(const QString& text) const;
    QWidget* openTab(int kind, const QString& viewName);
    template <class Dialog>
    Dialog* visibleDialog() const;

    std::unique_ptr<MAppWnd> m_window;
};

void TestCatalogTabs::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    {
        QSqlQuery query;
        QVERIFY(query.exec(QStringLiteral("INSERT INTO end_text (id, content, time_create, time_modify) "
                                          "VALUES (1, 'Dziękujemy', 0, 0), (2, 'Zapłacono', 0, 0)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO currency_rating (id, bank_name, id_currency_from, "
                                          "rating_date, currency_amount_from, currency_value, time_create, "
                                          "time_modify) VALUES (1, 'NBP', 1, '2026-01-15', 1, 4.3, 0, 0), (2, 'NBP', 2, '2026-01-15', 1, 4.1, 0, 0)")));
    }
    MTestDatabase::close();

    m_window = std::make_unique<MAppWnd>();
    QVERIFY(!m_window->hasEnded());
    MAppWnd::setOption(QStringLiteral("FILTER_SHOW_CURRENCY_RATING_DB_VIEW"), QStringLiteral("1"));
    MAppWnd::setOption(QStringLiteral("FILTER_TREE_SWITCH_CURRENCY_RATING_DB_VIEW"), QStringLiteral("1"));
}

void TestCatalogTabs::cleanupTestCase()
{
    m_window.reset();
}

QAction* TestCatalogTabs::action(const QString& text) const
{
    const QList<QAction*> actions = m_window->findChildren<QAction*>();
    for (QAction* candidate : actions) {
        if (candidate->text() == text && candidate->parent() == m_window.get())
            return candidate;
    }
    qFatal("no action %s", qPrintable(text));
    return nullptr;
}

QWidget* TestCatalogTabs::openTab(int kind, const QString& viewName)
{
    m_window->loadTab(kind);
    const int index = m_window->indexOfTab(viewName);
    return index >= 0 ? m_window->tabMain()->widget(index) : nullptr;
}

template <class Dialog>
Dialog* TestCatalogTabs::visibleDialog() const
{
    for (Dialog* candidate : m_window->findChildren<Dialog*>()) {
        if (candidate->isVisible())
            return candidate;
    }
    return nullptr;
}

void TestCatalogTabs::tabOpensOnceWithItsTitle_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("viewName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("rows");

    QTest::newRow("closing texts") << 5 << "MEndTextDbView" << "Teksty końcowe" << 2;
    QTest::newRow("currency ratings") << 10 << "MCurrencyRatingDbView" << "Notowania walutowe" << 2;
}

void TestCatalogTabs::tabOpensOnceWithItsTitle()
{
    QFETCH(int, kind);
    QFETCH(QString, viewName);
    QFETCH(QString, title);
    QFETCH(int, rows);
    MTabWidget* tabs = m_window->tabMain();
    const int before = tabs->count();
    QWidget* view = openTab(kind, viewName);
    QVERIFY(view);
    const int count = tabs->count();
    QVERIFY(count <= before + 1);
    openTab(kind, viewName);
    QCOMPARE(tabs->count(), count);
    QCOMPARE(tabs->currentWidget(), view);
    QCOMPARE(tabs->tabText(tabs->indexOf(view)), title);
    MTableView* table = view->findChild<MTableView*>();
    QCOMPARE(table->accessibleName(), viewName + QStringLiteral("_MTableView"));
    QCOMPARE(table->model()->rowCount(), rows);
    QVERIFY(MAppWnd::option(QStringLiteral("TAB_MAIN_OPENED")).contains(viewName + QStringLiteral(",0")));
}

void TestCatalogTabs::operationsFollowTheView_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("viewName");
    QTest::addColumn<QString>("enabled"); // with one row selected

    QTest::newRow("closing texts") << 5 << "MEndTextDbView" << "Dodaj|Edytuj|Usuń|Domyślny|Eksportuj do CSV";
    QTest::newRow("currency ratings") << 10 << "MCurrencyRatingDbView" << "Dodaj|Edytuj|Usuń";
}

void TestCatalogTabs::operationsFollowTheView()
{
    QFETCH(int, kind);
    QFETCH(QString, viewName);
    QFETCH(QString, enabled);
    QWidget* view = openTab(kind, viewName);
    auto* table = view->findChild<MTableView*>();
    table->selectRow(0);
    const QStringList operations = {"Dodaj", "Edytuj", "Usuń", "Domyślny", "Eksportuj do CSV"};
    const auto enabledNow = [&] {
        QStringList list;
        for (const QString& text : operations) {
            if (action(text)->isEnabled())
                list << text;
        }
        return list.join(QLatin1Char('|'));
    };
    QTRY_COMPARE(enabledNow(), enabled);

    // Two rows leave only the new record and the export.
    table->selectAll();
    QTRY_COMPARE(enabledNow(), enabled.contains(QStringLiteral("CSV")) ? QStringLiteral("Dodaj|Eksportuj do CSV")
                                                                       : QStringLiteral("Dodaj"));
}

void TestCatalogTabs::defaultCommandMarksTheCurrentText()
{
    MAppWnd::setOption(QStringLiteral("ID_RECORD_DEFAULT_ENDTEXT"), QStringLiteral("0"));
    auto* view = qobject_cast<MEndTextDbView*>(openTab(5, QStringLiteral("MEndTextDbView")));
    QVERIFY(view);
    m_window->doChangeDbObject(5, 2);
    QCOMPARE(view->currentId(), 2);
    QAction* makeDefault = action(QStringLiteral("Domyślny"));
    QTRY_VERIFY(makeDefault->isEnabled());
    QVERIFY(!makeDefault->isChecked());

    makeDefault->trigger();
    QCOMPARE(MAppWnd::option(QStringLiteral("ID_RECORD_DEFAULT_ENDTEXT")), QStringLiteral("2"));
    QCOMPARE(qobject_cast<MSqlQueryModel*>(view->tableView()->model())->rowDefault(), 1);
    QTRY_VERIFY(makeDefault->isChecked());

    // On another text the command shows unchecked again.
    view->tableView()->selectRow(0);
    QTRY_VERIFY(!makeDefault->isChecked());
    view->tableView()->selectRow(1);
    QTRY_VERIFY(makeDefault->isChecked());
    makeDefault->trigger();
    QCOMPARE(MAppWnd::option(QStringLiteral("ID_RECORD_DEFAULT_ENDTEXT")), QStringLiteral("0"));
    QTRY_VERIFY(!makeDefault->isChecked());
}

void TestCatalogTabs::newCommandOpensTheDialog_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");

    QTest::newRow("closing text") << 6 << "Tekst końcowy";
    QTest::newRow("currency rating") << 8 << "Notowanie walutowe";
}

void TestCatalogTabs::newCommandOpensTheDialog()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    m_window->newRecord(kind, 0);
    QDialog* dialog = kind == 6 ? static_cast<QDialog*>(visibleDialog<MEndTextDlg>())
                                : static_cast<QDialog*>(visibleDialog<MCurrencyRatingDlg>());
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->windowTitle(), title);
    dialog->close();
}

void TestCatalogTabs::newRatingAppearsUnderItsBankCurrencyAndMonth()
{
    m_window->loadTab(5);
    m_window->newRecord(8, 0);
    auto* dialog = visibleDialog<MCurrencyRatingDlg>();
    QVERIFY(dialog);
    dialog->findChild<QComboBox*>(QStringLiteral("currency_amount_from"))->setCurrentText(QStringLiteral("100"));
    dialog->findChild<QComboBox*>(QStringLiteral("id_currency_from"))->setCurrentText(QStringLiteral("JPY"));
    dialog->findChild<QLineEdit*>(QStringLiteral("currency_value"))->setText(QStringLiteral("2,6543"));
    dialog->findChild<QLineEdit*>(QStringLiteral("bank_name"))->setText(QStringLiteral("Bank \"Ś\""));
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String("OK"))
            QTest::mouseClick(button, Qt::LeftButton);
    }
    QVERIFY(!dialog->isVisible());

    auto* view = qobject_cast<MCurrencyRatingDbView*>(m_window->tabMain()->currentWidget());
    QVERIFY(view);
    const int id = MTestDatabase::value(QStringLiteral("SELECT MAX(id) FROM currency_rating")).toInt();
    QCOMPARE(view->currentId(), id);
    const QModelIndex current = view->tableView()->currentIndex();
    QCOMPARE(current.sibling(current.row(), 3).data().toString(), QStringLiteral("100 JPY"));

    const QAbstractItemModel* tree = view->findChild<QTreeView*>(QStringLiteral("filterTree"))->model();
    const auto child = [tree](const QModelIndex& parent, const QString& label) {
        for (int row = 0; row < tree->rowCount(parent); ++row) {
            if (tree->index(row, 0, parent).data().toString() == label)
                return tree->index(row, 0, parent);
        }
        return QModelIndex();
    };
    QVERIFY(child(child(QModelIndex(), QStringLiteral("Bank")), QStringLiteral("Bank \"Ś\"")).isValid());
    QVERIFY(child(child(QModelIndex(), QStringLiteral("Waluta")), QStringLiteral("JPY")).isValid());
    const QDate today = QDate::currentDate();
    const QString month = QLocale(QLocale::Polish).standaloneMonthName(today.month());
    const QModelIndex year =
        child(child(QModelIndex(), QStringLiteral("Data notowania")), QString::number(today.year()));
    QVERIFY(child(year, month).isValid());
}

INVOICE_TEST_MAIN(TestCatalogTabs)
#include "tst_catalogtabs.moc"
