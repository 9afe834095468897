#include "MTestEnvironment.h"
#include "MTestDatabase.h"
#include "data/MOptions.h"
#include "views/MHeaderTableView.h"
#include "views/MHeaderVerticalTableView.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QProxyStyle>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QtTest>

namespace {

// A parent that counts the context menus that reach it.
class MenuCounter : public QWidget
{
public:
    int menus = 0;

protected:
    void contextMenuEvent(QContextMenuEvent*) override { ++menus; }
};

// A style that notes the text of every section label it draws.
class LabelRecorder : public QProxyStyle
{
public:
    QStringList labels;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_HeaderLabel)
            if (const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option))
                const_cast<LabelRecorder*>(this)->labels << header->text;
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

} // namespace

class TestHeaderView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void viewKeyNamesTheStoredLayout_data();
    void viewKeyNamesTheStoredLayout();
    void storedWidthsAreRestored_data();
    void storedWidthsAreRestored();
    void storedPositionsAreRestored_data();
    void storedPositionsAreRestored();
    void storedSortIsRestoredOnlyWhenSound_data();
    void storedSortIsRestoredOnlyWhenSound();
    void technicalColumnsStayHiddenAndUnoffered();
    void layoutIsSavedOnReleaseAndRestoredPerViewKey();
    void viewKindWithoutKeyStoresNothing();
    void columnMenuHidesAllButTheLastColumn();
    void hiddenColumnComesBackAtDefaultWidth();
    void headerToolTipShowsTheTitle();
    void rowHeaderShowsNoMenu();
    void narrowColumnTitleEndsInAnEllipsis();

private:
    MTableView* makeTable(int viewKind, const QString& sql, const QStringList& titles, QWidget* parent = nullptr);
    QStringList triggerColumnMenu(MHeaderTableView* header, const QString& title);
    QList<QWidget*> m_widgets;
};

void TestHeaderView::init()
{
    QVERIFY(MTestDatabase::prepare(QStringLiteral(":memory:")));
    MOptions::loadOptions();
}

void TestHeaderView::cleanup()
{
    qDeleteAll(m_widgets);
    m_widgets.clear();
    MTestDatabase::close();
}

MTableView* TestHeaderView::makeTable(int viewKind, const QString& sql, const QStringList& titles, QWidget* parent)
{
    auto* table = new MTableView(parent);
    if (!parent)
        m_widgets << table;
    auto* model = new MSqlQueryModel(table);
    model->setQuery(sql);
    for (int column = 0; column < titles.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, titles.at(column), Qt::EditRole);
    table->setModel(model);
    table->setViewKind(viewKind);
    table->initHeaders();
    return table;
}


QStringList TestHeaderView::triggerColumnMenu(MHeaderTableView* header, const QString& title)
{
    QStringList offered;
    QTimer::singleShot(0, [&offered, title]() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            offered << action->text() + (action->isChecked() ? QStringLiteral(" [x]") : QString());
            if (action->text() == title)
                action->trigger();
        }
        menu->close();
    });
    const QPoint position(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, header->viewport()->mapToGlobal(position));
    QApplication::sendEvent(header->viewport(), &event);
    return offered;
}

static const QString fourColumnSql = QStringLiteral("SELECT 1, 'a', 'b', 'c'");
static const QStringList fourTitles = { "Id", "Firma", "NIP", "Miasto" };

void TestHeaderView::viewKeyNamesTheStoredLayout_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<QString>("key");
    QTest::newRow("sellers") << 2 << "SELLER_DB_VIEW";
    QTest::newRow("buyers") << 3 << "BUYER_DB_VIEW";
    QTest::newRow("products") << 4 << "PRODUCT_DB_VIEW";
    QTest::newRow("closing texts") << 5 << "ENDTEXT_DB_VIEW";
    QTest::newRow("sales documents") << 7 << "INVOICE_SELL_DB_VIEW";
    QTest::newRow("purchase documents") << 8 << "INVOICE_BUY_DB_VIEW";
    QTest::newRow("currency ratings") << 10 << "CURRENCY_RATING_DB_VIEW";
    QTest::newRow("editor lists") << 0 << "";
    QTest::newRow("VAT register") << 6 << "";
    QTest::newRow("seller bank accounts") << 9 << "";
}

void TestHeaderView::viewKeyNamesTheStoredLayout()
{
    QFETCH(int, viewKind);
    QFETCH(QString, key);
    MHeaderTableView header(Qt::Horizontal);
    QCOMPARE(header.viewKey(), QString());
    header.setViewKind(viewKind);
    QCOMPARE(header.viewKey(), key);
}

void TestHeaderView::storedWidthsAreRestored_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<int>>("widths");
    const int d = MTableView().horizontalHeader()->defaultSectionSize();
    QTest::newRow("zero and empty become 100") << "120;0;;80" << QList<int>{ 120, 100, 100, 80 };
    QTest::newRow("short list leaves the rest") << "150;60" << QList<int>{ 150, 60, d, d };
    QTest::newRow("long list is cut") << "130;140;50;60;70;80" << QList<int>{ 130, 140, 50, 60 };
    QTest::newRow("unreadable part becomes 100") << "x;55;-;61" << QList<int>{ 100, 55, 100, 61 };
    QTest::newRow("nothing stored") << "" << QList<int>{ d, d, d, d };
}

void TestHeaderView::storedWidthsAreRestored()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, widths);
    MOptions::setOption(QStringLiteral("COLUMN_SIZE_BUYER_DB_VIEW"), stored);
    MTableView* table = makeTable(3, fourColumnSql, fourTitles);
    QList<int> restored;
    for (int column = 0; column < 4; ++column)
        restored << table->horizontalHeader()->sectionSize(column);
    QCOMPARE(restored, widths);
}

void TestHeaderView::storedPositionsAreRestored_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<int>>("visualOrder");
    QTest::newRow("rotated") << "2;0;1;3" << QList<int>{ 1, 2, 0, 3 };
    QTest::newRow("reversed") << "3;2;1;0" << QList<int>{ 3, 2, 1, 0 };
    QTest::newRow("first two only") << "1;0" << QList<int>{ 1, 0, 2, 3 };
    QTest::newRow("nothing stored") << "" << QList<int>{ 0, 1, 2, 3 };
}

void TestHeaderView::storedPositionsAreRestored()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, visualOrder);
    MOptions::setOption(QStringLiteral("COLUMN_POSITION_PRODUCT_DB_VIEW"), stored);
    MTableView* table = makeTable(4, fourColumnSql, fourTitles);
    QList<int> order;
    for (int position = 0; position < 4; ++position)
        order << table->horizontalHeader()->logicalIndex(position);
    QCOMPARE(order, visualOrder);
}

void TestHeaderView::storedSortIsRestoredOnlyWhenSound_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("order");
    QTest::newRow("column 2 descending") << "2;1" << 2 << int(Qt::DescendingOrder);
    QTest::newRow("column 3 ascending") << "3;0" << 3 << int(Qt::AscendingOrder);
    // Without a usable stored sort the list's first query sorts by id, ascending; so does
    // the header, instead of keeping an indicator that would turn the list round.
    QTest::newRow("nothing stored") << "" << 0 << int(Qt::AscendingOrder);
    QTest::newRow("one part only") << "2" << 0 << int(Qt::AscendingOrder);
    QTest::newRow("column beyond the list") << "9;1" << 0 << int(Qt::AscendingOrder);
    QTest::newRow("no indicator stored") << "-1;1" << 0 << int(Qt::AscendingOrder);
    QTest::newRow("column not a number") << "x;1" << 0 << int(Qt::AscendingOrder);
}

void TestHeaderView::storedSortIsRestoredOnlyWhenSound()
{
    QFETCH(QString, stored);
    QFETCH(int, section);
    QFETCH(int, order);
    MOptions::setOption(QStringLiteral("COLUMN_SORT_ENDTEXT_DB_VIEW"), stored);
    auto* table = new MTableView;
    m_widgets << table;
    auto* model = new MSqlQueryModel(table);
    model->setQuery(fourColumnSql);
    table->setModel(model);
    table->setViewKind(5);
    // What the header shows before the restore, so that "unchanged" is visible.
    table->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    table->initHeaders();
    // initHeaders installs a new header; set a starting indicator and restore again.
    auto* header = qobject_cast<MHeaderTableView*>(table->horizontalHeader());
    QVERIFY(header);
    header->setSortIndicator(1, Qt::DescendingOrder);
    header->restoreColumnSort();
    QCOMPARE(header->sortIndicatorSection(), section);
    QCOMPARE(int(header->sortIndicatorOrder()), order);
}

void TestHeaderView::technicalColumnsStayHiddenAndUnoffered()
{
    MOptions::setOption(QStringLiteral("COLUMN_VISIBLE_INVOICE_SELL_DB_VIEW"), QStringLiteral("1;1;1;1"));
    MTableView* table = makeTable(7, QStringLiteral("SELECT 1, 'a', 0, 'b'"), { "Id", "Numer", "_is_payed_", "Nabywca" });
    auto* header = qobject_cast<MHeaderTableView*>(table->horizontalHeader());
    QVERIFY(header);
    QVERIFY(header->isSectionHidden(2));
    QVERIFY(!header->isSectionHidden(0) && !header->isSectionHidden(1) && !header->isSectionHidden(3));

    const QStringList offered = triggerColumnMenu(header, QString());
    QCOMPARE(offered, QStringList({ "Id [x]", "Numer [x]", "Nabywca [x]" }));
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_VISIBLE_INVOICE_SELL_DB_VIEW")), QStringLiteral("1;1;1;1"));
}

void TestHeaderView::layoutIsSavedOnReleaseAndRestoredPerViewKey()
{
    MTableView* table = makeTable(3, fourColumnSql, fourTitles);
    QHeaderView* header = table->horizontalHeader();
    header->resizeSection(1, 250);
    header->resizeSection(3, 40);
    header->moveSection(header->visualIndex(3), 0); // order 3, 0, 1, 2
    header->setSortIndicator(1, Qt::DescendingOrder);
    QVERIFY(MOptions::option(QStringLiteral("COLUMN_SIZE_BUYER_DB_VIEW")).isEmpty());

    QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    const QString sizes = MOptions::option(QStringLiteral("COLUMN_SIZE_BUYER_DB_VIEW"));
    QCOMPARE(sizes.split(';').at(1), QStringLiteral("250"));
    QCOMPARE(sizes.split(';').at(3), QStringLiteral("40"));
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_POSITION_BUYER_DB_VIEW")), QStringLiteral("1;2;3;0"));
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_SORT_BUYER_DB_VIEW")), QStringLiteral("1;1"));

    // The options reach the database: a fresh cache restores the same layout.
    MOptions::loadOptions();
    MTableView* again = makeTable(3, fourColumnSql, fourTitles);
    QHeaderView* restored = again->horizontalHeader();
    QCOMPARE(restored->sectionSize(1), 250);
    QCOMPARE(restored->sectionSize(3), 40);
    QCOMPARE(restored->logicalIndex(0), 3);
    QCOMPARE(restored->sortIndicatorSection(), 1);
    QCOMPARE(restored->sortIndicatorOrder(), Qt::DescendingOrder);

    // Another view kind keeps its own layout.
    MTableView* sellers = makeTable(2, fourColumnSql, fourTitles);
    QCOMPARE(sellers->horizontalHeader()->sectionSize(1), sellers->horizontalHeader()->defaultSectionSize());
    QCOMPARE(sellers->horizontalHeader()->logicalIndex(0), 0);
}

void TestHeaderView::viewKindWithoutKeyStoresNothing()
{
    MOptions::setOption(QStringLiteral("COLUMN_SIZE_"), QStringLiteral("300;300;300;300"));
    MTableView* table = makeTable(0, fourColumnSql, fourTitles);
    QHeaderView* header = table->horizontalHeader();
    QCOMPARE(header->sectionSize(0), header->defaultSectionSize());
    header->resizeSection(0, 77);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id FROM _options ORDER BY id")),
             QStringList({ "COLUMN_SIZE_" }));
}

void TestHeaderView::columnMenuHidesAllButTheLastColumn()
{
    MTableView* table = makeTable(8, QStringLiteral("SELECT 1, 'a', 'b'"), { "Id", "Numer", "Kwota" });
    auto* header = qobject_cast<MHeaderTableView*>(table->horizontalHeader());
    QVERIFY(header);

    QCOMPARE(triggerColumnMenu(header, QStringLiteral("Id")), QStringList({ "Id [x]", "Numer [x]", "Kwota [x]" }));
    QVERIFY(header->isSectionHidden(0));
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_VISIBLE_INVOICE_BUY_DB_VIEW")), QStringLiteral("0;1;1"));
    triggerColumnMenu(header, QStringLiteral("Kwota"));
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_VISIBLE_INVOICE_BUY_DB_VIEW")), QStringLiteral("0;1;0"));
    // The last shown column stays, and the option is written anyway.
    QCOMPARE(triggerColumnMenu(header, QStringLiteral("Numer")), QStringList({ "Id", "Numer [x]", "Kwota" }));
    QVERIFY(!header->isSectionHidden(1));
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_VISIBLE_INVOICE_BUY_DB_VIEW")), QStringLiteral("0;1;0"));

    // Stored visibility is restored with the layout.
    MTableView* again = makeTable(8, QStringLiteral("SELECT 1, 'a', 'b'"), { "Id", "Numer", "Kwota" });
    QVERIFY(again->horizontalHeader()->isSectionHidden(0));
    QVERIFY(!again->horizontalHeader()->isSectionHidden(1));
    QVERIFY(again->horizontalHeader()->isSectionHidden(2));
}

void TestHeaderView::hiddenColumnComesBackAtDefaultWidth()
{
    MTableView* table = makeTable(10, fourColumnSql, fourTitles);
    auto* header = qobject_cast<MHeaderTableView*>(table->horizontalHeader());
    header->resizeSection(2, 333);
    triggerColumnMenu(header, QStringLiteral("NIP"));
    QVERIFY(header->isSectionHidden(2));
    header->saveColumnSizes();
    QCOMPARE(MOptions::option(QStringLiteral("COLUMN_SIZE_CURRENCY_RATING_DB_VIEW")).split(';').at(2),
             QStringLiteral("0"));
    triggerColumnMenu(header, QStringLiteral("NIP"));
    QVERIFY(!header->isSectionHidden(2));
    QCOMPARE(header->sectionSize(2), 100);
}

void TestHeaderView::headerToolTipShowsTheTitle()
{
    MTableView* table = makeTable(3, fourColumnSql, { "Id", "Firma / Osoba", "", "Miasto" });
    table->resize(600, 200);
    QHeaderView* header = table->horizontalHeader();
    const auto moveTo = [header](int column) {
        const QPoint position(header->sectionViewportPosition(column) + 3, 3);
        QMouseEvent move(QEvent::MouseMove, position, header->viewport()->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &move);
    };
    moveTo(1);
    QCOMPARE(header->toolTip(), QStringLiteral("<p>Firma / Osoba</p>"));
    moveTo(2);
    QCOMPARE(header->toolTip(), QString());
    moveTo(3);
    QCOMPARE(header->toolTip(), QStringLiteral("<p>Miasto</p>"));
}

// A title wider than its column keeps its beginning and ends in "…", instead of being
// centred and cut off at both ends.
void TestHeaderView::narrowColumnTitleEndsInAnEllipsis()
{
    MTableView* table = makeTable(3, fourColumnSql, {"Id", "Rodzaj dokumentu", "NIP", "Miasto"});
    table->resize(400, 200);
    table->show();
    QVERIFY(QTest::qWaitForWindowExposed(table));
    QHeaderView* header = table->horizontalHeader();
    header->resizeSection(1, header->fontMetrics().horizontalAdvance(QStringLiteral("Rodzaj dokumentu")) / 2);
    LabelRecorder recorder;
    header->setStyle(&recorder);
    header->viewport()->repaint();
    header->setStyle(nullptr);
    QVERIFY(!recorder.labels.isEmpty());
    QString drawn;
    for (const QString& label : qAsConst(recorder.labels))
        if (label.startsWith(QStringLiteral("Rod")))
            drawn = label;
    QVERIFY2(drawn.endsWith(QChar(0x2026)), qPrintable(recorder.labels.join(QLatin1Char('|'))));
}

void TestHeaderView::rowHeaderShowsNoMenu()
{
    auto* owner = new MenuCounter;
    m_widgets << owner;
    MTableView* table = makeTable(3, fourColumnSql, fourTitles, owner);
    auto* rowHeader = qobject_cast<MHeaderVerticalTableView*>(table->verticalHeader());
    QVERIFY(rowHeader);
    // 22 pixels, unless the toolkit needs more for the row header's font.
    QCOMPARE(rowHeader->defaultSectionSize(), qMax(22, rowHeader->minimumSectionSize()));
    QCOMPARE(rowHeader->sectionResizeMode(0), QHeaderView::Fixed);
    QVERIFY(!rowHeader->sectionsClickable());
    QCOMPARE(rowHeader->defaultAlignment(), Qt::AlignRight | Qt::AlignTop);

    const QPoint position(2, 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, rowHeader->viewport()->mapToGlobal(position));
    QApplication::sendEvent(rowHeader->viewport(), &event);
    QVERIFY(event.isAccepted());
    QCOMPARE(owner->menus, 0);
    QVERIFY(!QApplication::activePopupWidget());

    // The same click on the table itself does reach the owner.
    QContextMenuEvent onTable(QContextMenuEvent::Mouse, position, table->viewport()->mapToGlobal(position));
    QApplication::sendEvent(table->viewport(), &onTable);
    QCOMPARE(owner->menus, 1);
}

INVOICE_TEST_MAIN(TestHeaderView)
#include "tst_headerview.moc"
