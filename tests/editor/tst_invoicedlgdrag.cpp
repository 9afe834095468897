#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestRecordList.h"
#include "core/MAppWnd.h"
#include "editor/MInvoiceDlg.h"
#include "parties/MRecordDbView.h"
#include "resources/MResources.h"
#include "views/MMessageBox.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

// Rows dragged with the mouse from the real lists of the main window onto the pages of
// the invoice editor. Runs under the minimal platform: the offscreen one has no drag
// and drop, and these tests drive real drags through the toolkit's own drag loop.
class TestInvoiceDlgDrag : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void rowsDraggedOntoTheEditor_data();
    void rowsDraggedOntoTheEditor();

private:
    QWidget* target(MInvoiceDlg* editor, const QString& name) const;
    // Drags the list's row of `id` with the mouse and drops it on `target`.
    static void dragRow(MTableView* list, int id, QWidget* target);
    // What the editor took in, as "kind: what".
    static QString takenIn(MInvoiceDlg* editor);

    std::unique_ptr<MAppWnd> m_window;
    QMap<int, int> m_records; // view kind → the id of the one record dragged from its list
};

void TestInvoiceDlgDrag::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() != QLatin1String("offscreen"),
             "run under the minimal platform: offscreen has no drag and drop");
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    m_records.insert(2, int(MTestDatabase::insert(QStringLiteral("seller"), {{"firm", "Morva"}, {"city", "Gdańsk"}})));
    m_records.insert(3, int(MTestDatabase::insert(QStringLiteral("buyer"), {{"firm", "Klient"}})));
    m_records.insert(4, int(MTestDatabase::insert(QStringLiteral("product"), {{"name", "Zasuwa"},
                                                                             {"netto_price", 10},
                                                                             {"brutto_price", 12.3},
                                                                             {"vat", 23},
                                                                             {"count_from_netto", 1}})));
    m_records.insert(5, int(MTestDatabase::insert(QStringLiteral("end_text"), {{"content", "Dziękujemy"}})));
    const QVariantMap document{{"invoice_index_string", "FZ 1/2024"},
                               {"date_put", "2024-01-05 00:00:00"},
                               {"date_sell", "2024-01-05 00:00:00"},
                               {"date_pay", "2024-01-05 00:00:00"}};
    QVariantMap advance = document;
    advance.insert(QStringLiteral("invoice_kind"), 19);
    m_records.insert(7, int(MTestDatabase::insert(QStringLiteral("invoice"), advance)));
    QVariantMap purchase = document;
    purchase.insert(QStringLiteral("invoice_kind"), 11);
    m_records.insert(8, int(MTestDatabase::insert(QStringLiteral("invoice"), purchase)));
    MTestDatabase::close();

    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
    MAppWnd::setOption(QStringLiteral("DRAG_AND_DROP"), QStringLiteral("1"));
    m_window->resize(900, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    MMessageBox::takeShown();
}

void TestInvoiceDlgDrag::cleanup()
{
    delete m_window->findChild<MInvoiceDlg*>();
    while (m_window->tabMain()->count() > 0)
        delete m_window->tabMain()->widget(0);
    MMessageBox::takeShown();
}

QWidget* TestInvoiceDlgDrag::target(MInvoiceDlg* editor, const QString& name) const
{
    QAbstractScrollArea* area = nullptr;
    if (name == QLatin1String("seller"))
        area = editor->m_sellerTable;
    else if (name == QLatin1String("buyer"))
        area = editor->m_buyerTable;
    else if (name == QLatin1String("lines"))
        area = editor->m_productList;
    else if (name == QLatin1String("closing text"))
        area = editor->m_endText;
    else if (name == QLatin1String("documents"))
        area = editor->m_invoiceList;
    if (!area)
        return nullptr;
    for (int page = 0; page < editor->m_tabMain->count(); ++page)
        if (editor->m_tabMain->widget(page)->isAncestorOf(area))
            editor->m_tabMain->setCurrentIndex(page);
    return area->viewport();
}

void TestInvoiceDlgDrag::dragRow(MTableView* list, int id, QWidget* target)
{
    list->selectIds({{id, 1}}, id);
    const QPoint start = list->visualRect(list->currentIndex()).center();
    QWidget* viewport = list->viewport();
    auto send = [](QWidget* widget, QEvent::Type type, const QPoint& position, Qt::MouseButtons buttons) {
        QMouseEvent event(type, position, widget->mapToGlobal(position), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    // Once the drag loop runs, the mouse moves onto the target and lets go there.
    QTimer::singleShot(0, target, [target, send]() {
        const QPoint position = target->rect().center();
        send(target, QEvent::MouseMove, position, Qt::LeftButton);
        send(target, QEvent::MouseButtonRelease, position, Qt::NoButton);
    });
    // Should the drag loop miss the release, Escape ends it instead of hanging the test.
    QTimer::singleShot(5000, target, [target]() { QTest::keyClick(target, Qt::Key_Escape); });
    send(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(viewport, QEvent::MouseMove, start + QPoint(1, 0), Qt::LeftButton);
    send(viewport, QEvent::MouseMove, start + QPoint(4 * QApplication::startDragDistance(), 0), Qt::LeftButton);
}

QString TestInvoiceDlgDrag::takenIn(MInvoiceDlg* editor)
{
    QStringList taken;
    if (editor->m_idSeller > 0)
        taken << QStringLiteral("seller");
    if (editor->m_idBuyer > 0)
        taken << QStringLiteral("buyer");
    if (!editor->m_productIds.isEmpty())
        taken << QStringLiteral("lines: %1").arg(editor->m_productIds.size());
    if (!editor->m_endText->toPlainText().isEmpty())
        taken << QStringLiteral("closing text: ") + editor->m_endText->toPlainText();
    if (!editor->m_invoiceJoinIds.isEmpty())
        taken << QStringLiteral("documents: %1").arg(editor->m_invoiceJoinIds.size());
    for (const MMessageBox::Shown& box : MMessageBox::takeShown())
        taken << box.text;
    return taken.join(QStringLiteral("; "));
}

void TestInvoiceDlgDrag::rowsDraggedOntoTheEditor_data()
{
    QTest::addColumn<int>("list");       // view kind of the list dragged from
    QTest::addColumn<QString>("target"); // where in the editor it is dropped
    QTest::addColumn<QString>("taken");

    const QString refusal = QStringLiteral("Do faktur zaliczkowych i końcowych można załączać tylko faktury zaliczkowe.");
    QTest::newRow("seller") << 2 << "seller" << "seller";
    QTest::newRow("buyer") << 3 << "buyer" << "buyer";
    QTest::newRow("product onto the lines") << 4 << "lines" << "lines: 1";
    QTest::newRow("closing text") << 5 << "closing text" << "closing text: Dziękujemy";
    QTest::newRow("advance from the sales list") << 7 << "documents" << "documents: 1";
    QTest::newRow("purchase refused aloud") << 8 << "documents" << refusal;
    QTest::newRow("buyer onto the lines ignored") << 3 << "lines" << "";
    QTest::newRow("closing text onto the lines ignored") << 5 << "lines" << "";
    QTest::newRow("buyer onto the closing text ignored") << 3 << "closing text" << "";
}

void TestInvoiceDlgDrag::rowsDraggedOntoTheEditor()
{
    QFETCH(int, list);
    QFETCH(QString, target);
    QFETCH(QString, taken);

    MRecordDbView* view = openListTab(m_window.get(), list);
    QVERIFY(view);
    MTableView* table = view->tableView();
    QVERIFY(table->dragEnabled());

    m_window->newRecord(0, 23);
    auto* editor = m_window->findChild<MInvoiceDlg*>();
    QVERIFY(editor);
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    QWidget* drop = this->target(editor, target);
    QVERIFY(drop);
    MMessageBox::takeShown();

    dragRow(table, m_records.value(list), drop);
    QCOMPARE(takenIn(editor), taken);
}

INVOICE_TEST_MAIN(TestInvoiceDlgDrag)
#include "tst_invoicedlgdrag.moc"
