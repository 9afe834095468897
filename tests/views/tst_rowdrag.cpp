#include "MTestEnvironment.h"
#include "MTestDatabase.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"

#include <QApplication>
#include <QDrag>
#include <QHBoxLayout>
#include <QMimeData>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

// Runs under the minimal platform: the offscreen one has no drag and drop, and these
// tests drive real drags through the toolkit's own drag loop.

namespace {

// Opens startDrag to the test: the drag a user starts by pulling selected rows.
class DragSourceTable : public MTableView
{
public:
    using MTableView::MTableView;
    void dragSelectedRows() { startDrag(Qt::CopyAction | Qt::MoveAction); }
};

// Counts the drops that reach a widget.
class DropCounter : public QObject
{
public:
    int drops = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Drop)
            ++drops;
        return false;
    }
};

} // namespace

class TestRowDrag : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void droppedRowsArriveAsRecordIds_data();
    void droppedRowsArriveAsRecordIds();
    void droppedPlainTextInsertsNothing();

private:
    // Moves the mouse onto `target` and releases it there once the drag loop runs.
    static void dropOnceDragging(QWidget* target);

    MTestDatabase m_db;
    QWidget* m_window = nullptr;
};

void TestRowDrag::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() != QLatin1String("offscreen"),
             "run under the minimal platform: offscreen has no drag and drop");
    QVERIFY2(m_db.isOpen(), qPrintable(m_db.errorText()));
    QSqlQuery query;
    QVERIFY(query.exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
        "INSERT INTO buyer (id, firm, time_create, time_modify) "
        "SELECT i * 10, 'Firma nr ' || i, current_timestamp, current_timestamp FROM n")));
}

void TestRowDrag::init()
{
    m_window = new QWidget;
    m_window->setLayout(new QHBoxLayout);
    m_window->resize(900, 400);
}

void TestRowDrag::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestRowDrag::dropOnceDragging(QWidget* target)
{
    QTimer::singleShot(0, target, [target]() {
        const QPoint position = target->rect().center();
        const QPoint global = target->mapToGlobal(position);
        QMouseEvent move(QEvent::MouseMove, position, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, position, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    });
    // Should the drag loop miss the release, Escape ends it instead of hanging the test.
    QTimer::singleShot(5000, target, [target]() { QTest::keyClick(target, Qt::Key_Escape); });
}

void TestRowDrag::droppedRowsArriveAsRecordIds_data()
{
    QTest::addColumn<QString>("sourceName");
    QTest::addColumn<bool>("ontoTextEdit");
    QTest::addColumn<bool>("delivered");
    QTest::newRow("buyers onto a list") << "MBuyerDbView_MTableView" << false << true;
    QTest::newRow("sellers onto a list") << "MSellerDbView_MTableView" << false << true;
    QTest::newRow("documents onto a list") << "MInvoiceDbView_MTableView" << false << true;
    QTest::newRow("products onto a list") << "MProductDbView_MTableView" << false << true;
    QTest::newRow("currency ratings onto a list") << "MCurrencyRatingDbView_MTableView" << false << true;
    QTest::newRow("buyers onto a text box") << "MBuyerDbView_MTableView" << true << false;
    QTest::newRow("closing texts onto a text box") << "MEndTextDbView_MTableView" << true << true;
    QTest::newRow("closing texts onto a list") << "MEndTextDbView_MTableView" << false << false;
    QTest::newRow("unnamed source onto a list") << "" << false << false;
}

void TestRowDrag::droppedRowsArriveAsRecordIds()
{
    QFETCH(QString, sourceName);
    QFETCH(bool, ontoTextEdit);
    QFETCH(bool, delivered);

    auto* source = new DragSourceTable(m_window);
    m_window->layout()->addWidget(source);
    source->setAccessibleName(sourceName);
    auto* model = new MSqlQueryModel(source);
    model->setColumnKinds({ 1, 0 });
    model->setQuery(QStringLiteral("SELECT b.id AS idx, b.firm FROM buyer b ORDER BY b.id"));
    source->setModel(model);
    source->initHeaders();
    source->setSelectionBehavior(QAbstractItemView::SelectRows);
    source->setSelectionMode(QAbstractItemView::ExtendedSelection);
    source->setDragEnabled(true);

    QWidget* target = nullptr;
    QScopedPointer<QSignalSpy> spy;
    MTextEdit* edit = nullptr;
    if (ontoTextEdit) {
        edit = new MTextEdit(m_window);
        m_window->layout()->addWidget(edit);
        edit->setHtml(QStringLiteral("<p>Dziękujemy</p>"));
        spy.reset(new QSignalSpy(edit, &MTextEdit::dropIndexes));
        target = edit->viewport();
    } else {
        auto* list = new MTableView(m_window);
        m_window->layout()->addWidget(list);
        list->setAcceptDrops(true);
        spy.reset(new QSignalSpy(list, &MTableView::dropIndexes));
        target = list->viewport();
    }
    DropCounter counter;
    target->installEventFilter(&counter);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));

    // Rows 300, 5 and 2; the first lies beyond the first block of loaded rows.
    source->clearSelection();
    source->selectRowAt(300);
    QItemSelection rows;
    for (const int row : { 5, 2 })
        rows.select(model->index(row, 0), model->index(row, 0));
    source->selectionModel()->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(source->selectionModel()->selectedRows().size(), 3);

    dropOnceDragging(target);
    source->dragSelectedRows();

    QCOMPARE(counter.drops, 1);
    if (!delivered) {
        QCOMPARE(spy->size(), 0);
    } else {
        QCOMPARE(spy->size(), 1);
        QCOMPARE(spy->first().at(0).value<QWidget*>(), source);
        // The ids arrive in the order the drag carries its rows, which is the order
        // in which they were selected.
        QCOMPARE(spy->first().at(1).value<QList<int>>(), QList<int>({ 3010, 60, 30 }));
    }
    // The dragged data is never pasted into the text box.
    if (edit)
        QCOMPARE(edit->toPlainText(), QStringLiteral("Dziękujemy"));
}

void TestRowDrag::droppedPlainTextInsertsNothing()
{
    auto* edit = new MTextEdit(m_window);
    m_window->layout()->addWidget(edit);
    auto* source = new QWidget(m_window);
    source->setAccessibleName(QStringLiteral("MEndTextDbView_MTableView"));
    m_window->layout()->addWidget(source);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QSignalSpy spy(edit, &MTextEdit::dropIndexes);
    DropCounter counter;
    edit->viewport()->installEventFilter(&counter);

    auto* drag = new QDrag(source);
    auto* mimeData = new QMimeData;
    mimeData->setText(QStringLiteral("wklejony tekst"));
    drag->setMimeData(mimeData);
    dropOnceDragging(edit->viewport());
    drag->exec(Qt::CopyAction);

    QCOMPARE(counter.drops, 1);
    QCOMPARE(spy.size(), 0);
    QCOMPARE(edit->toPlainText(), QString());
}

INVOICE_TEST_MAIN(TestRowDrag)
#include "tst_rowdrag.moc"
