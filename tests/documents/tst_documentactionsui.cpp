#include "MTestContextMenu.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "documents/MInvoiceDbView.h"
#include "documents/MInvoiceDuplicateDlg.h"
#include "documents/MInvoiceErrorDlg.h"
#include "documents/MInvoicePaymentDlg.h"
#include "editor/MInvoiceDlg.h"
#include "editor/MNewDlg.h"
#include "resources/MResources.h"
#include "views/MMessageBox.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <memory>

// The document actions of the sales and purchase lists in the main window: which kinds
// each action takes and what it opens or says, the context menu, and the duplicate,
// payment and error dialogs on a schema-script database, boxes answered in advance.
class TestDocumentActionDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void kindRules_data();
    void kindRules();
    void addOffersTheListsKinds();
    void openEditorBlocksEditorActions();
    void contextMenuFollowsKindAndSelection_data();
    void contextMenuFollowsKindAndSelection();
    void editOfGoneDocumentReloadsOnly();
    void deleteRefusesReferencedDocuments_data();
    void deleteRefusesReferencedDocuments();
    void deleteOfDuplicateNamesItsParent();
    void deleteFailingLateLeavesEverything();
    void newDuplicateGoesToItsList_data();
    void newDuplicateGoesToItsList();
    void editedDuplicateKeepsItsKind();
    void duplicateOfGoneParentWritesNothing();
    void duplicateOfVanishedParentNamesTheVatInvoice();
    void dateEditsOpenACalendar();
    void failedDuplicateWriteStaysOpen();
    void paymentPresets_data();
    void paymentPresets();
    void paymentCancelledTogglesWidgets();
    void failedPaymentWriteStaysOpen();
    void errorCheckWithCodesOff();
    void errorCheckListsFindingsInIdOrder();
    void errorCheckReportsFindingsItCouldNotStore();

private:
    static int document(int kind, int idParent = 0, int index = 0, const QVariantMap& extra = {});
    MInvoiceDbView* list(int viewKind, int currentId);
    void selectRows(MInvoiceDbView* view, const QList<int>& ids);
    QString outcome(const QString& action);
    template <typename Dialog>
    Dialog* dialog() const;

    std::unique_ptr<MAppWnd> m_window;
};

namespace {

const QString validNip = QStringLiteral("526-025-02-74");
const QString validAccount = QStringLiteral("61 1090 1014 0000 0712 1981 2874");

QString everyRow()
{
    QStringList rows;
    for (const char* table : {"invoice", "invoice_correct_misc", "invoice_product_misc", "invoice_join",
                              "invoice_summary_vat"})
        rows << MTestDatabase::rows(QStringLiteral("SELECT * FROM ") + QLatin1String(table) + " ORDER BY id");
    return rows.join(QLatin1Char('\n'));
}

} // namespace

void TestDocumentActionDialogs::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
    MAppWnd::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("0"));
}

void TestDocumentActionDialogs::init()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS fail_late")));
    for (const char* table : {"invoice", "invoice_seller", "invoice_correct_misc", "invoice_product_misc",
                              "invoice_join", "invoice_summary_vat", "__invoice_error", "__invoice_error_id"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    MTestDatabase::insert(QStringLiteral("invoice_seller"),
                          {{"id", 1},
                           {"firm", "Morva"},
                           {"nip", validNip},
                           {"bank_account", validAccount},
                           {"invoice_index_format_text", "FV [nr]/[rrrr]"}});
    MAppWnd::setOption(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), QStringLiteral("0"));
    MMessageBox::takeShown();
}

void TestDocumentActionDialogs::cleanup()
{
    for (QDialog* dialog : m_window->findChildren<QDialog*>()) {
        if (dialog->inherits("MInvoiceDlg") || dialog->inherits("MInvoiceDuplicateDlg")
            || dialog->inherits("MInvoicePaymentDlg"))
            delete dialog;
    }
    while (m_window->tabMain()->count() > 0)
        delete m_window->tabMain()->widget(0);
    MMessageBox::takeShown();
}

int TestDocumentActionDialogs::document(int kind, int idParent, int index, const QVariantMap& extra)
{
    QVariantMap values{{"invoice_kind", kind},
                       {"id_parent_invoice", idParent},
                       {"invoice_index", index},
                       {"id_seller", index > 0 ? 1 : 0},
                       {"id_pay_form", 2},
                       {"global_brutto", 123},
                       {"date_put", "2024-03-05 00:00:00"},
                       {"date_sell", "2024-03-05 00:00:00"},
                       {"date_pay", "2024-03-19 00:00:00"}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        values.insert(it.key(), it.value());
    return int(MTestDatabase::insert(QStringLiteral("invoice"), values));
}

MInvoiceDbView* TestDocumentActionDialogs::list(int viewKind, int currentId)
{
    m_window->loadTab(viewKind);
    auto* view = qobject_cast<MInvoiceDbView*>(m_window->tabMain()->currentWidget());
    if (view && currentId > 0)
        view->reloadView(viewKind, currentId);
    return view;
}

void TestDocumentActionDialogs::selectRows(MInvoiceDbView* view, const QList<int>& ids)
{
    MTableView* table = view->tableView();
    table->selectionModel()->clearSelection();
    for (int id : ids) {
        const int row = view->loadedRowOfId(id);
        QVERIFY(row >= 0);
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

template <typename Dialog>
Dialog* TestDocumentActionDialogs::dialog() const
{
    return m_window->findChild<Dialog*>();
}

// What one action on the current document led to: "editor K" (with K its kind), "duplicate
// K" (a duplicate dialog of kind K), a message's title and text, or "nothing".
QString TestDocumentActionDialogs::outcome(const QString& action)
{
    auto* view = qobject_cast<MInvoiceDbView*>(m_window->tabMain()->currentWidget());
    if (!view)
        return QStringLiteral("no list");
    QMetaObject::invokeMethod(view, qPrintable(action));
    QStringList seen;
    if (auto* editor = dialog<MInvoiceDlg>()) {
        seen << QStringLiteral("editor %1").arg(editor->docKind());
        delete editor;
    }
    if (auto* duplicate = dialog<MInvoiceDuplicateDlg>()) {
        seen << QStringLiteral("duplicate %1").arg(duplicate->kind());
        delete duplicate;
    }
    const QString boxes = takeShownTexts();
    if (!boxes.isEmpty())
        seen << boxes;
    return seen.isEmpty() ? QStringLiteral("nothing") : seen.join(QLatin1Char('|'));
}

void TestDocumentActionDialogs::kindRules_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("correct");
    QTest::addColumn<QString>("duplicate");

    const QString noCopy = QStringLiteral("Kopia dokumentu: Z wybranego dokumentu nie można utworzyć kopii.");
    const QString noCorrection = QStringLiteral("Korekta dokumentu: Do wybranego dokumentu nie można wystawić korekty.");
    const QString noDuplicate =
        QStringLiteral("Duplikat dokumentu: Do wybranego dokumentu nie można wystawić duplikatu.");
    const auto editor = [](int kind) { return QStringLiteral("editor %1").arg(kind); };
    const auto duplicate = [](int kind) { return QStringLiteral("duplicate %1").arg(kind); };
    const auto row = [&](int kind, const QString& edit, const QString& copy, const QString& correct,
                         const QString& dup) {
        QTest::addRow("kind %d", kind) << kind << edit << copy << correct << dup;
    };
    // A document, its correction and their duplicates, family by family.
    const auto family = [&](int base, int correction, int duplicateOfBase, int duplicateOfCorrection,
                            bool correctable) {
        row(base, editor(base), editor(base), correctable ? editor(correction) : noCorrection,
            duplicate(duplicateOfBase));
        row(correction, editor(correction), editor(correction), noCorrection, duplicate(duplicateOfCorrection));
        for (int kind : {duplicateOfBase, duplicateOfCorrection})
            row(kind, duplicate(kind), noCopy, noCorrection, noDuplicate);
    };
    family(0, 2, 5, 6, true);
    row(1, editor(1), editor(1), noCorrection, noDuplicate);
    family(3, 4, 7, 8, true);
    row(9, editor(9), editor(9), noCorrection, duplicate(10));
    row(10, duplicate(10), noCopy, noCorrection, noDuplicate);
    family(11, 12, 13, 14, true);
    family(15, 16, 17, 18, true);
    // Advance and final invoices are not corrected from the list.
    family(19, 20, 21, 22, false);
    family(23, 24, 25, 26, false);
    family(27, 28, 29, 30, true);
}

void TestDocumentActionDialogs::kindRules()
{
    QFETCH(int, kind);
    QFETCH(QString, edit);
    QFETCH(QString, copy);
    QFETCH(QString, correct);
    QFETCH(QString, duplicate);
    const int parent = document(kind >= 11 && kind <= 14 ? 11 : 0, 0, 1);
    const int id = document(kind, parent == 0 ? 0 : parent, 2);
    QVERIFY(list(kind >= 11 && kind <= 14 ? 8 : 7, id));
    QCOMPARE(qobject_cast<MInvoiceDbView*>(m_window->tabMain()->currentWidget())->currentId(), id);

    QCOMPARE(outcome(QStringLiteral("doDocEdit")), edit);
    QCOMPARE(outcome(QStringLiteral("doDocCopy")), copy);
    QCOMPARE(outcome(QStringLiteral("doDocCorrect")), correct);
    QCOMPARE(outcome(QStringLiteral("doDocDuplicate")), duplicate);
    // Nothing of it wrote a row.
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 2);
}

void TestDocumentActionDialogs::addOffersTheListsKinds()
{
    MInvoiceDbView* view = list(8, 0);
    QVERIFY(view);
    QStringList offered;
    // The chooser runs its own loop: read and answered from within it.
    QTimer::singleShot(0, this, [this, &offered]() {
        auto* chooser = m_window->findChild<MNewDlg*>();
        if (!chooser)
            return;
        const QAbstractItemModel* model = chooser->listView()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            offered << model->index(row, 0).data().toString();
        chooser->listView()->setCurrentIndex(model->index(0, 0));
        chooser->clickOk(false);
        if (chooser->isVisible())
            chooser->done(0);
    });
    view->doDocAdd();
    QCOMPARE(offered, QStringList{QStringLiteral("Faktura RR")});
    auto* editor = dialog<MInvoiceDlg>();
    QVERIFY(editor);
    QCOMPARE(editor->docKind(), 11);
}

void TestDocumentActionDialogs::openEditorBlocksEditorActions()
{
    const int id = document(0, 0, 1);
    MInvoiceDbView* view = list(7, id);
    QVERIFY(view);
    m_window->newRecord(0, 3);
    QCOMPARE(m_window->findChildren<MInvoiceDlg*>().size(), 1);

    for (const char* action : {"doDocAdd", "doDocEdit", "doDocCopy", "doDocCorrect"}) {
        QMetaObject::invokeMethod(view, action);
        QCOMPARE(m_window->findChildren<MInvoiceDlg*>().size(), 1);
        QCOMPARE(m_window->findChild<MInvoiceDlg*>()->docKind(), 3);
        QCOMPARE(takeShownTexts(), QString());
    }
    const QStringList entries = enabledContextMenuEntries(view);
    for (const char* entry : {"Nowy", "Edytuj", "Usuń", "Kopiuj", "Korekta", "Duplikat"})
        QVERIFY2(!entries.contains(QString::fromUtf8(entry)), entry);
    QVERIFY(entries.contains(QStringLiteral("Podgląd")));
}

void TestDocumentActionDialogs::contextMenuFollowsKindAndSelection_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("enabled");

    const QStringList tail = {"Drukuj", "Generuj PDF", "Wyślij PDF e-mailem", "Sprawdź błędy", "Zestawienie",
                              "Kontrola płatności"};
    const QStringList head = {"Nowy", "Podgląd", "Edytuj", "Usuń"};
    QTest::newRow("invoice") << 7 << 0 << 1 << head + QStringList{"Kopiuj", "Korekta", "Duplikat"} + tail;
    QTest::newRow("advance") << 7 << 19 << 1 << head + QStringList{"Kopiuj", "Duplikat"} + tail;
    QTest::newRow("pro-forma") << 7 << 1 << 1 << head + QStringList{"Kopiuj"} + tail;
    QTest::newRow("duplicate") << 7 << 5 << 1 << head + tail;
    QTest::newRow("two rows") << 7 << 0 << 2
                              << QStringList{"Nowy", "Podgląd", "Drukuj", "Generuj PDF", "Sprawdź błędy",
                                             "Zestawienie", "Kontrola płatności"};
    QTest::newRow("purchase") << 8 << 11 << 1
                              << head + QStringList{"Kopiuj", "Korekta", "Duplikat", "Drukuj", "Generuj PDF",
                                                    "Wyślij PDF e-mailem", "Zestawienie", "Kontrola płatności"};
}

void TestDocumentActionDialogs::contextMenuFollowsKindAndSelection()
{
    QFETCH(int, viewKind);
    QFETCH(int, kind);
    QFETCH(int, selected);
    QFETCH(QStringList, enabled);
    const int other = document(viewKind == 8 ? 11 : 0, 0, 1);
    const int id = document(kind, kind == 5 ? other : 0, 2);
    MInvoiceDbView* view = list(viewKind, id);
    QVERIFY(view);
    if (selected > 1)
        selectRows(view, {id, other});
    QCOMPARE(view->selectedRowCount(), selected);
    QCOMPARE(view->currentId(), id);
    QCOMPARE(enabledContextMenuEntries(view), enabled);
}

void TestDocumentActionDialogs::editOfGoneDocumentReloadsOnly()
{
    const int kept = document(0, 0, 1);
    for (const char* action : {"doDocEdit", "doDocDelete"}) {
        const int gone = document(0, 0, 2);
        MInvoiceDbView* view = list(7, gone);
        QVERIFY(view);
        QCOMPARE(view->currentId(), gone);
        // Deleted behind the list's back.
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM invoice WHERE id = %1").arg(gone)));
        QMetaObject::invokeMethod(view, action);
        QVERIFY(!dialog<MInvoiceDlg>());
        QCOMPARE(takeShownTexts(), QString());
        QCOMPARE(view->loadedRowOfId(gone), -1);
        QVERIFY(view->loadedRowOfId(kept) >= 0);
    }
}

void TestDocumentActionDialogs::deleteRefusesReferencedDocuments_data()
{
    QTest::addColumn<QString>("reference");
    QTest::newRow("corrected") << QStringLiteral("correction");
    QTest::newRow("duplicated") << QStringLiteral("duplicate");
    QTest::newRow("joined") << QStringLiteral("join");
}

void TestDocumentActionDialogs::deleteRefusesReferencedDocuments()
{
    QFETCH(QString, reference);
    const int id = document(19, 0, 4);
    if (reference == QLatin1String("correction"))
        document(20, id, 5);
    else if (reference == QLatin1String("duplicate"))
        document(21, id);
    else
        MTestDatabase::insert(QStringLiteral("invoice_join"),
                              {{"id_invoice", document(23, 0, 6)}, {"id_invoice_join", id}});
    const QString before = everyRow();
    MInvoiceDbView* view = list(7, id);
    QVERIFY(view);
    MMessageBox::setNextAnswer(QMessageBox::Yes);
    view->doDocDelete();
    QCOMPARE(takeShownTexts(), QStringLiteral("Błąd usunięcia dokumentu: Dokumentu nr FV 4/2024 nie można usunąć, "
                                          "ponieważ inne dokumenty odwołują się do niej."));
    QCOMPARE(everyRow(), before);
}

void TestDocumentActionDialogs::deleteOfDuplicateNamesItsParent()
{
    const int parent = document(0, 0, 8);
    const int duplicate = document(5, parent);
    const int other = document(0, 0, 9);
    MInvoiceDbView* view = list(7, duplicate);
    QVERIFY(view);

    // No (the default) keeps it.
    view->doDocDelete();
    QCOMPARE(takeShownTexts(), QStringLiteral("Potwierdzenie usunięcia dokumentu: Na pewno usunąć dokument nr FV 8/2024?"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 3);

    // Yes deletes it; the other selected row stays selected.
    selectRows(view, {duplicate, other});
    view->tableView()->selectionModel()->setCurrentIndex(
        view->tableView()->model()->index(view->loadedRowOfId(duplicate), 0), QItemSelectionModel::NoUpdate);
    MMessageBox::setNextAnswer(QMessageBox::Yes);
    view->doDocDelete();
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT COUNT(*) FROM invoice WHERE id = %1").arg(duplicate)).toInt(), 0);
    QCOMPARE(view->loadedRowOfId(duplicate), -1);
    QCOMPARE(view->collectSelectedIds(), QList<int>{other});
}

void TestDocumentActionDialogs::deleteFailingLateLeavesEverything()
{
    const int id = document(0, 0, 3);
    MTestDatabase::insert(QStringLiteral("invoice_product_misc"), {{"id_invoice", id}, {"id_product", 1}});
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{"id_invoice", id}, {"id_vat", 1}});
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "CREATE TRIGGER fail_late BEFORE DELETE ON invoice_summary_vat BEGIN SELECT RAISE(ABORT, 'zablokowane'); END")));
    const QString before = everyRow();
    MInvoiceDbView* view = list(7, id);
    QVERIFY(view);
    MMessageBox::setNextAnswer(QMessageBox::Yes);
    view->doDocDelete();
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).icon, QMessageBox::Critical);
    QVERIFY2(shown.at(1).text.contains(QStringLiteral("FV 3/2024")), qPrintable(shown.at(1).text));
    QVERIFY2(shown.at(1).text.contains(QStringLiteral("zablokowane")), qPrintable(shown.at(1).text));
    QCOMPARE(everyRow(), before);
    QVERIFY(view->loadedRowOfId(id) >= 0);
}

void TestDocumentActionDialogs::newDuplicateGoesToItsList_data()
{
    QTest::addColumn<int>("viewKind");
    QTest::addColumn<int>("parentKind");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::newRow("VAT invoice") << 7 << 0 << 5 << QStringLiteral("Duplikat - Faktura VAT");
    QTest::newRow("RR invoice") << 8 << 11 << 13 << QStringLiteral("Duplikat - Faktura VAT RR");
    QTest::newRow("RR correction") << 8 << 12 << 14 << QStringLiteral("Duplikat - Faktura korygująca VAT RR");
    QTest::newRow("margin correction") << 7 << 28 << 30 << QStringLiteral("Duplikat - Faktura korygująca VAT marża");
}

void TestDocumentActionDialogs::newDuplicateGoesToItsList()
{
    QFETCH(int, viewKind);
    QFETCH(int, parentKind);
    QFETCH(int, kind);
    QFETCH(QString, title);
    const int parent = document(parentKind, 0, 2);
    // The other list is open too and in front when the dialog reports.
    list(viewKind == 7 ? 8 : 7, 0);
    MInvoiceDbView* view = list(viewKind, parent);
    QVERIFY(view);
    view->doDocDuplicate();
    auto* dialog = this->dialog<MInvoiceDuplicateDlg>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(dialog->kind(), kind);
    QCOMPARE(dialog->windowTitle(), title);
    m_window->loadTab(viewKind == 7 ? 8 : 7);

    dialog->m_datePut->setDate(QDate(2024, 6, 7));
    dialog->m_remark->setPlainText(QStringLiteral("Zgubiony oryginał"));
    dialog->clickOk(false);
    const int id = MTestDatabase::value(QStringLiteral("SELECT MAX(id) FROM invoice")).toInt();
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT invoice_kind, id_parent_invoice, date_put, additional FROM invoice "
                                                "WHERE id = %1").arg(id)),
             QStringList{QStringLiteral("%1|%2|2024-06-07 00:00:00|Zgubiony oryginał").arg(kind).arg(parent)});
    auto* current = qobject_cast<MInvoiceDbView*>(m_window->tabMain()->currentWidget());
    QCOMPARE(current, view);
    QCOMPARE(current->currentId(), id);
}

void TestDocumentActionDialogs::editedDuplicateKeepsItsKind()
{
    const int parent = document(2, 0, 2);
    const int id = document(6, parent, 0, {{"date_put", "2024-02-03 00:00:00"}, {"additional", "Pierwsza\nuwaga"}});
    MInvoiceDbView* view = list(7, id);
    QVERIFY(view);
    view->doDocEdit();
    auto* dialog = this->dialog<MInvoiceDuplicateDlg>();
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QVERIFY(!dialog->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Duplikat - Faktura korygująca VAT"));
    QCOMPARE(dialog->m_datePut->date(), QDate(2024, 2, 3));
    QCOMPARE(dialog->m_remark->toPlainText(), QStringLiteral("Pierwsza\nuwaga"));
    dialog->m_remark->setPlainText(QStringLiteral("Druga"));
    dialog->clickOk(false);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT invoice_kind, id_parent_invoice, date_put, additional FROM invoice "
                                                "WHERE id = %1").arg(id)),
             QStringList{QStringLiteral("6|%1|2024-02-03 00:00:00|Druga").arg(parent)});
}

void TestDocumentActionDialogs::duplicateOfGoneParentWritesNothing()
{
    const int parent = document(0, 0, 2);
    MInvoiceDbView* view = list(7, parent);
    QVERIFY(view);
    view->doDocDuplicate();
    auto* dialog = this->dialog<MInvoiceDuplicateDlg>();
    QVERIFY(dialog);
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM invoice")));
    dialog->clickOk(false);
    QCOMPARE(takeShownTexts(), QStringLiteral("Duplikat dokumentu: Do wybranego dokumentu nie można wystawić duplikatu."));
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 0);
}

void TestDocumentActionDialogs::duplicateOfVanishedParentNamesTheVatInvoice()
{
    MInvoiceDuplicateDlg dialog(m_window.get());
    dialog.setIdRecordParent(4711);
    dialog.setIdRecord(0);
    QCOMPARE(dialog.kind(), 0);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Duplikat - Faktura VAT"));
}

void TestDocumentActionDialogs::dateEditsOpenACalendar()
{
    const int id = document(0, 0, 1);
    MInvoiceDbView* view = list(7, id);
    QVERIFY(view);
    view->doDocDuplicate();
    auto* duplicate = dialog<MInvoiceDuplicateDlg>();
    QVERIFY(duplicate);
    view->doIsPayed();
    auto* payment = dialog<MInvoicePaymentDlg>();
    QVERIFY(payment);
    for (const QDateEdit* edit : {duplicate->m_datePut, payment->m_datePayed}) {
        QVERIFY(edit->calendarPopup());
        QVERIFY(edit->calendarWidget()->isGridVisible());
        QCOMPARE(edit->displayFormat(), QStringLiteral("dd-MM-yyyy"));
    }
}

void TestDocumentActionDialogs::failedDuplicateWriteStaysOpen()
{
    const int parent = document(0, 0, 2);
    MInvoiceDbView* view = list(7, parent);
    QVERIFY(view);
    view->doDocDuplicate();
    auto* dialog = this->dialog<MInvoiceDuplicateDlg>();
    QVERIFY(dialog);
    QVERIFY(MTestDatabase::exec(QStringLiteral(
        "CREATE TRIGGER fail_late BEFORE INSERT ON invoice BEGIN SELECT RAISE(ABORT, 'zablokowane'); END")));
    dialog->clickOk(false);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QVERIFY2(shown.at(0).text.contains(QStringLiteral("zablokowane")), qPrintable(shown.at(0).text));
    QVERIFY(dialog->isVisible());
    QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), 1);
}

void TestDocumentActionDialogs::paymentPresets_data()
{
    QTest::addColumn<QList<QVariantMap>>("documents");
    QTest::addColumn<QString>("widgets"); // the warning shown (+), the check boxes and the date edit
    QTest::addColumn<QString>("written"); // rows after OK without changes: is_payed|date_payed|is_cancelled

    const QVariantMap paid{{"is_payed", 1}, {"date_payed", "2024-05-01"}};
    const QVariantMap unpaid{{"is_payed", 0}};
    const QVariantMap paidNoDate{{"is_payed", 1}};
    const QVariantMap cancelled{{"is_cancelled", 1}};
    QTest::newRow("same date") << QList<QVariantMap>{paid, paid, paid} << "warning- payed+e withDate+e datee cancelled-e"
                               << "1|2024-05-01|0;1|2024-05-01|0;1|2024-05-01|0";
    QTest::newRow("paid and unpaid") << QList<QVariantMap>{paid, unpaid} << "warning+ payed-e withDate- date cancelled-e"
                                     << "0|NULL|0;0|NULL|0";
    QTest::newRow("paid without a date") << QList<QVariantMap>{paidNoDate, paidNoDate}
                                         << "warning- payed+e withDate-e date cancelled-e" << "1|NULL|0;1|NULL|0";
    QTest::newRow("cancelled") << QList<QVariantMap>{cancelled, cancelled} << "warning- payed- withDate- date cancelled+e"
                               << "0|NULL|1;0|NULL|1";
}

void TestDocumentActionDialogs::paymentPresets()
{
    QFETCH(QList<QVariantMap>, documents);
    QFETCH(QString, widgets);
    QFETCH(QString, written);
    QList<int> ids;
    for (const QVariantMap& values : documents)
        ids << document(0, 0, ids.size() + 1, values);
    MInvoiceDbView* view = list(7, ids.first());
    QVERIFY(view);
    selectRows(view, ids);
    view->doIsPayed();
    auto* dialog = this->dialog<MInvoicePaymentDlg>();
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Kontrola płatności"));

    // A check box as its name, "+" or "-" for its check state and "e" when enabled.
    const auto state = [](const QString& name, const QCheckBox* box) -> QString {
        return name + (box->isChecked() ? "+" : "-") + (box->isEnabled() ? "e" : "");
    };
    const QString seen = QStringList{QStringLiteral("warning") + (dialog->m_warning->isVisible() ? "+" : "-"),
                                     state("payed", dialog->m_isPayed), state("withDate", dialog->m_withDate),
                                     QStringLiteral("date") + (dialog->m_datePayed->isEnabled() ? "e" : ""),
                                     state("cancelled", dialog->m_isCancelled)}
                             .join(QLatin1Char(' '));
    QCOMPARE(seen, widgets);
    if (dialog->m_withDate->isChecked())
        QCOMPARE(dialog->m_datePayed->date(), QDate(2024, 5, 1));

    dialog->clickOk(false);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT is_payed, IFNULL(date_payed, 'NULL'), is_cancelled FROM invoice "
                                                "ORDER BY id"))
                 .join(QLatin1Char(';')),
             written);
}

void TestDocumentActionDialogs::paymentCancelledTogglesWidgets()
{
    const int id = document(0, 0, 1, {{"is_cancelled", 1}, {"is_payed", 1}, {"date_payed", "2024-05-01"}});
    MInvoiceDbView* view = list(7, id);
    QVERIFY(view);
    view->doIsPayed();
    auto* dialog = this->dialog<MInvoicePaymentDlg>();
    QVERIFY(dialog);
    QVERIFY(dialog->m_isCancelled->isChecked());
    QVERIFY(!dialog->m_isPayed->isEnabled());
    QVERIFY(!dialog->m_datePayed->isEnabled());
    dialog->m_isCancelled->setChecked(false);
    QVERIFY(dialog->m_isPayed->isEnabled());
    QVERIFY(dialog->m_withDate->isEnabled());
    QVERIFY(dialog->m_datePayed->isEnabled());
    dialog->m_isPayed->setChecked(false);
    QVERIFY(!dialog->m_withDate->isEnabled());
    QVERIFY(!dialog->m_datePayed->isEnabled());
}

void TestDocumentActionDialogs::failedPaymentWriteStaysOpen()
{
    const int first = document(0, 0, 1);
    const int second = document(0, 0, 2);
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER fail_late BEFORE UPDATE OF is_payed ON invoice WHEN "
                                               "NEW.id = %1 BEGIN SELECT RAISE(ABORT, 'zablokowane'); END")
                                    .arg(second)));
    const QString before = everyRow();
    MInvoiceDbView* view = list(7, first);
    QVERIFY(view);
    selectRows(view, {first, second});
    view->doIsPayed();
    auto* dialog = this->dialog<MInvoicePaymentDlg>();
    QVERIFY(dialog);
    dialog->m_isCancelled->setChecked(true);
    dialog->clickOk(false);
    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, QMessageBox::Critical);
    QVERIFY(dialog->isVisible());
    QCOMPARE(everyRow(), before);
}

void TestDocumentActionDialogs::errorCheckWithCodesOff()
{
    const int id = document(0, 0, 1, {{"id_currency", 1}});
    MInvoiceDbView* view = list(7, id);
    QVERIFY(view);
    view->doCheckErrors();
    auto* dialog = view->findChild<MInvoiceErrorDlg*>();
    QVERIFY(dialog);
    QVERIFY(dialog->isModal());
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->m_tabs->count(), 0);
    QVERIFY(dialog->m_note->text().contains(QStringLiteral("Nie znaleziono problemów w zaznaczonych dokumentach.")));
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_error_id")), 0);
    delete dialog;
}

void TestDocumentActionDialogs::errorCheckListsFindingsInIdOrder()
{
    MAppWnd::setOption(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), QStringLiteral("1"));
    const int foreign = document(0, 0, 1, {{"id_currency", 1}});
    const int clean = document(0, 0, 2);
    const int cash = document(0, 0, 3, {{"id_pay_form", 1}});
    const int duplicate = document(5, foreign);
    MInvoiceDbView* view = list(7, clean);
    QVERIFY(view);
    selectRows(view, {duplicate, cash, clean});
    view->doCheckErrors();
    auto* dialog = view->findChild<MInvoiceErrorDlg*>();
    QVERIFY(dialog);
    QCOMPARE(dialog->m_tabs->count(), 1);
    QCOMPARE(dialog->m_tabs->tabText(0), QStringLiteral("Kod QR"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_error_id")), 1);
    const QAbstractItemModel* model = dialog->m_table->model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString() + "|" + model->index(row, 1).data().toString() + "|"
                    + model->index(row, 2).data().toString();
    QCOMPARE(rows, (QStringList{QStringLiteral("%1|FV 3/2024|Wybrana forma płatności nie jest pusta lub nie jest "
                                               "przelewem.").arg(cash),
                                QStringLiteral("%1|FV 1/2024|Dokument nie jest w walucie PLN.").arg(duplicate)}));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Powód"));
    delete dialog;
}

void TestDocumentActionDialogs::errorCheckReportsFindingsItCouldNotStore()
{
    MAppWnd::setOption(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), QStringLiteral("1"));
    const int foreign = document(0, 0, 1, {{"id_currency", 1}});
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER fail_late BEFORE INSERT ON __invoice_error BEGIN "
                                               "SELECT RAISE(ABORT, 'dysk pełny'); END")));
    MInvoiceDbView* view = list(7, foreign);
    QVERIFY(view);
    view->doCheckErrors();
    auto* dialog = view->findChild<MInvoiceErrorDlg*>();
    QVERIFY(dialog);
    const QString note = dialog->m_note->text();
    QVERIFY2(!note.contains(QStringLiteral("Nie znaleziono problemów")), qPrintable(note));
    QVERIFY2(note.contains(QStringLiteral("Nie udało się zapisać wyników sprawdzania: dysk pełny")), qPrintable(note));
    QCOMPARE(dialog->m_tabs->count(), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("__invoice_error_id")), 0);
    delete dialog;
}

INVOICE_TEST_MAIN(TestDocumentActionDialogs)
#include "tst_documentactionsui.moc"
