#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "documents/MInvoiceDbView.h"
#include "documents/MInvoiceDuplicateDlg.h"
#include "documents/MInvoiceErrorDlg.h"
#include "documents/MInvoicePaymentDlg.h"
#include "editor/MInvoiceDlg.h"
#include "export/MJpkDlg.h"
#include "parties/MCatalogDlg.h"
#include "parties/MRecordDbView.h"
#include "parties/MRecordDlg.h"
#include "resources/MResources.h"
#include "settings/MDbInfoDlg.h"
#include "settings/MOptionsDlg.h"
#include "views/MFileDialog.h"
#include "views/MItemRoles.h"
#include "views/MMessageBox.h"
#include "views/MSelectListModel.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>
#include <QSqlQueryModel>
#include <QtTest>

#include <memory>

// Every write of the program beside every list of the real main window, each list
// open on more than 256 rows and read only as far as its first screen: no list,
// filter panel, catalog list or quick view keeps a statement unfinished on the
// connection, so that no write (dropping the recomputation's scratch tables,
// vacuuming into a backup, rolling back) fails because a list is open.
class TestWritesBesideLists : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsKeepNoStatementUnfinished();
    void writesSucceed_data();
    void writesSucceed();

private:
    // Opens every list tab with its filter panel, the list at its first screen.
    void openEveryList();
    // A sales document with what the JPK files need of it, of its line and of its seller.
    static int jpkDocument();
    // Makes the list of view kind `viewKind` current with record `id` selected.
    MRecordDbView* list(int viewKind, int id);
    template <typename Dialog>
    Dialog* dialog() const
    {
        return m_window->findChild<Dialog*>();
    }

    std::unique_ptr<MAppWnd> m_window;
};

namespace {

// Rows in every listed table, well past the lists' first 256.
const int rowsPerList = 600;

// The view kinds of the record and document lists.
const QList<int> listKinds = {2, 3, 4, 5, 7, 8, 10};

// "OK" of a dialog, as its button calls it.
bool pressOk(QDialog* dialog)
{
    return QMetaObject::invokeMethod(dialog, "clickOk", Q_ARG(bool, false));
}

QString shownTexts()
{
    QStringList texts;
    for (const MMessageBox::Shown& shown : MMessageBox::takeShown())
        texts << QStringLiteral("%1|%2|%3").arg(int(shown.icon)).arg(shown.title, shown.text);
    return texts.join(QLatin1Char('\n'));
}

bool fillLists()
{
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                           "WHERE i < %1) ")
                                .arg(rowsPerList);
    const QString now = QStringLiteral("'2024-03-01 10:00:00'");
    const QStringList statements = {
        QStringLiteral("INSERT INTO seller (firm, nip, city, id_invoice_index_format, invoice_index_format_text, "
                       "time_create, time_modify) "
                       "SELECT 'Sprzedawca ' || i, '526-025-02-74', 'Łódź', 1, 'FV [nr]/[rrrr]', %1, %1 FROM n"),
        QStringLiteral("INSERT INTO buyer (firm, nip, city, time_create, time_modify) "
                       "SELECT 'Kontrahent ' || i, '', 'Kraków', %1, %1 FROM n"),
        QStringLiteral("INSERT INTO product (name, unit, netto_price, brutto_price, vat, count_from_netto, "
                       "time_create, time_modify) SELECT 'Produkt ' || i, 'szt.', i, i * 1.23, 23, 1, %1, %1 FROM n"),
        QStringLiteral("INSERT INTO end_text (content, time_create, time_modify) SELECT 'Tekst ' || i, %1, %1 FROM n"),
        QStringLiteral("INSERT INTO currency_rating (bank_name, id_currency_from, id_currency_to, rating_date, "
                       "currency_amount_from, currency_value, table_name, time_create, time_modify) "
                       "SELECT 'NBP', 1, 2, date('2020-01-01', '+' || i || ' days'), 1, 4.3, 'A/' || i, %1, %1 FROM n"),
        // Catalogs in the filter panels, with every other buyer and product in one.
        QStringLiteral("INSERT INTO buyer_catalog (name) SELECT 'Katalog ' || i FROM n WHERE i <= 5"),
        QStringLiteral("INSERT INTO buyer_catalog_join (id_buyer, id_catalog) SELECT i, 1 + i % 5 FROM n "
                       "WHERE i % 2 = 0"),
        QStringLiteral("INSERT INTO product_catalog (name) SELECT 'Grupa ' || i FROM n WHERE i <= 5"),
        QStringLiteral("INSERT INTO product_catalog_join (id_product, id_catalog) SELECT i, 1 + i % 5 FROM n "
                       "WHERE i % 2 = 0"),
        QStringLiteral("INSERT INTO invoice_seller (firm, nip, bank_account, invoice_index_format_text, time_create, "
                       "time_modify) VALUES ('Morva', '526-025-02-74', '61 1090 1014 0000 0712 1981 2874', "
                       "'FV [nr]/[rrrr]', %1, %1)"),
        // Sales invoices and purchase RR invoices, numbered one after another.
        QStringLiteral("INSERT INTO invoice (invoice_kind, invoice_index, id_seller, id_seller_base, id_pay_form, "
                       "global_brutto, date_put, date_sell, date_pay, time_create, time_modify) "
                       "SELECT CASE WHEN i % 2 = 0 THEN 11 ELSE 0 END, i, 1, 1, 2, 123, '2024-03-05 00:00:00', "
                       "'2024-03-05 00:00:00', '2024-03-19 00:00:00', %1, %1 FROM n"),
        QStringLiteral("INSERT INTO invoice (invoice_kind, invoice_index, id_seller, id_seller_base, id_pay_form, "
                       "global_brutto, date_put, date_sell, date_pay, time_create, time_modify) "
                       "SELECT 0, i + 10000, 1, 1, 2, 123, '2024-03-06 00:00:00', '2024-03-06 00:00:00', "
                       "'2024-03-20 00:00:00', %1, %1 FROM n"),
    };
    for (const QString& statement : statements) {
        if (!MTestDatabase::exec(numbers + statement.arg(now)))
            return false;
    }
    return true;
}

} // namespace

void TestWritesBesideLists::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    QVERIFY(fillLists());
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());
    // Lists read as they are scrolled, not to their end at once.
    MAppWnd::setOption(QStringLiteral("ACTIVE_TABLE_CACHE"), QStringLiteral("1"));
    MAppWnd::setOption(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE"), QStringLiteral("0"));
}

void TestWritesBesideLists::init()
{
    openEveryList();
    MMessageBox::takeShown();
}

void TestWritesBesideLists::cleanup()
{
    // The dialogs the writes opened; the lists keep dialogs of their own.
    for (QDialog* dialog : m_window->findChildren<QDialog*>()) {
        for (const char* opened : {"MInvoiceDlg", "MInvoiceDuplicateDlg", "MInvoicePaymentDlg", "MInvoiceErrorDlg",
                                   "MRecordDlg", "MOptionsDlg", "MDbInfoDlg"}) {
            if (dialog->inherits(opened)) {
                delete dialog;
                break;
            }
        }
    }
    MMessageBox::takeShown();
}

void TestWritesBesideLists::openEveryList()
{
    for (int kind : listKinds) {
        m_window->loadTab(kind, true);
        if (auto* view = qobject_cast<MRecordDbView*>(m_window->tabMain()->currentWidget()))
            view->doShowFilter(true);
    }
}

int TestWritesBesideLists::jpkDocument()
{
    const int seller = int(MTestDatabase::insert(
        QStringLiteral("seller"),
        {{"firm", "Sprzedawca S.A."}, {"nip", "525-000-12-56"}, {"regon", "12345678512345"}, {"id_province", 7},
         {"province2", "warszawski"}, {"province3", "Warszawa"}, {"street", "Prosta"}, {"address_number1", "12"},
         {"city", "Warszawa"}, {"zipcode", "00-850"}, {"city_post", "Warszawa"}, {"financial_office_code", "1403"}}));
    const int buyer = int(MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                                                {{"firm", "Nabywca"}, {"nip", "5260001246"}, {"city", "Kraków"}}));
    const int id = int(MTestDatabase::insert(
        QStringLiteral("invoice"), {{"invoice_kind", 0}, {"id_buyer", buyer}, {"id_seller_base", seller},
                                    {"invoice_index_string", "FV/1"}, {"date_put", "2024-05-06 00:00:00"},
                                    {"date_sell", "2024-05-06"}}));
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{"id_invoice", id},
                                                                  {"id_vat", 24},
                                                                  {"netto_price", 100},
                                                                  {"vat_price", 23},
                                                                  {"brutto_price", 123}});
    const int line =
        int(MTestDatabase::insert(QStringLiteral("invoice_product"), {{"name", "Usługa"}, {"vat_text", "23%"}}));
    MTestDatabase::insert(QStringLiteral("invoice_product_misc"),
                          {{"id_invoice", id}, {"id_product", line}, {"amount", 1}, {"netto_price", 100},
                           {"brutto_price", 123}});
    return id;
}

MRecordDbView* TestWritesBesideLists::list(int viewKind, int id)
{
    m_window->loadTab(viewKind);
    auto* view = qobject_cast<MRecordDbView*>(m_window->tabMain()->currentWidget());
    if (view && id > 0)
        view->reloadView(viewKind, id);
    return view;
}

void TestWritesBesideLists::listsKeepNoStatementUnfinished()
{
    // Every list is open past its first screen's rows, not read to its end.
    for (int kind : listKinds) {
        MRecordDbView* view = list(kind, 0);
        QVERIFY(view);
        QAbstractItemModel* model = view->tableView()->model();
        QVERIFY2(model->canFetchMore(QModelIndex()), qPrintable(view->accessibleName()));
        QCOMPARE(MTestDatabase::unfinishedStatements(), QStringList());
        // Scrolled a screen further, searched, sorted: still nothing left open.
        model->fetchMore(QModelIndex());
        QVERIFY(model->rowCount() > 256);
        QCOMPARE(MTestDatabase::unfinishedStatements(), QStringList());
        view->doSortIndicatorChanged(1, Qt::DescendingOrder);
        QCOMPARE(MTestDatabase::unfinishedStatements(), QStringList());
    }
    // A document selected shows its quick view.
    MRecordDbView* sales = list(7, 0);
    sales->tableView()->selectRow(300);
    QTest::qWait(400);
    QCOMPARE(MTestDatabase::unfinishedStatements(), QStringList());
}

void TestWritesBesideLists::writesSucceed_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("kind"); // a document kind, or a record list's view kind
    QTest::addColumn<QString>("table");
    // A document of each kind family saved from the editor, opened from its list.
    for (int kind : {0, 1, 3, 9, 11, 15, 19, 23, 27})
        QTest::addRow("zapis dokumentu rodzaju %d", kind) << QStringLiteral("zapis dokumentu") << kind << QString();
    // Each record list's dialog saved, and a record deleted, from the list.
    const QList<QPair<int, const char*>> records = {
        {4, "product"}, {3, "buyer"}, {2, "seller"}, {5, "end_text"}, {10, "currency_rating"}};
    for (const auto& record : records) {
        for (const char* path : {"zapis rekordu", "usunięcie rekordu"})
            QTest::addRow("%s: %s", record.second, path)
                << QString::fromUtf8(path) << record.first << QString::fromLatin1(record.second);
    }
    for (const char* path :
         {"zapis poprawionej faktury VAT", "zapis poprawionej faktury RR", "zapis kopii faktury jako nowej",
          "zapis korekty", "usunięcie dokumentu", "duplikat", "kontrola płatności", "sprawdzenie błędów",
          "zestawienie", "rejestr VAT", "JPK_VAT", "JPK_FA", "katalog kontrahentów dodany",
          "katalog produktów usunięty", "opcje", "kopia zapasowa", "import SQL", "Napraw bazę"})
        QTest::newRow(path) << QString::fromUtf8(path) << -1 << QString();
}

void TestWritesBesideLists::writesSucceed()
{
    QFETCH(QString, path);
    QFETCH(int, kind);
    QFETCH(QString, table);
    const int documents = MTestDatabase::count(QStringLiteral("invoice"));
    // The last sales invoice that no other document names.
    const int sale = MTestDatabase::value(QStringLiteral("SELECT max(id) FROM invoice i WHERE invoice_kind = 0 AND "
                                                         "NOT EXISTS (SELECT 1 FROM invoice c WHERE "
                                                         "c.id_parent_invoice = i.id)"))
                         .toInt();
    const int purchase =
        MTestDatabase::value(QStringLiteral("SELECT max(id) FROM invoice WHERE invoice_kind = 11")).toInt();
    const auto lastId = [](const QString& table) {
        return MTestDatabase::value(QStringLiteral("SELECT max(id) FROM ") + table).toInt();
    };
    // The sales list with the last unreferenced sales invoice current.
    const auto salesList = [this, sale] { return qobject_cast<MInvoiceDbView*>(list(7, sale)); };
    const auto editor = [this](const char* action, int viewKind, int id) {
        MRecordDbView* view = list(viewKind, id);
        QMetaObject::invokeMethod(view, action);
        auto* dialog = this->dialog<MInvoiceDlg>();
        if (dialog)
            dialog->clickOk(false);
        return dialog != nullptr;
    };
    const auto recordDialog = [this](int viewKind, int id) {
        list(viewKind, id)->doEdit();
        auto* dialog = this->dialog<MRecordDlg>();
        // A saved record closes its dialog; a failed write keeps it open.
        return dialog && dialog->isVisible() && pressOk(dialog) && !dialog->isVisible();
    };
    const auto deletion = [this](int viewKind, int id) {
        MRecordDbView* view = list(viewKind, id);
        MMessageBox::setNextAnswer(QMessageBox::Yes);
        return QMetaObject::invokeMethod(view, "doDelete");
    };

    if (path == QStringLiteral("zapis dokumentu")) {
        const int id = int(MTestDatabase::insert(
            QStringLiteral("invoice"),
            {{"invoice_kind", kind}, {"invoice_index", 900 + kind}, {"id_seller", 1}, {"id_seller_base", 1},
             {"id_pay_form", 2}, {"date_put", "2024-04-02 00:00:00"}, {"date_sell", "2024-04-02 00:00:00"},
             {"date_pay", "2024-04-16 00:00:00"}}));
        QVERIFY(editor("doDocEdit", kind >= 11 && kind <= 14 ? 8 : 7, id));
        QCOMPARE(shownTexts(), QString());
        QVERIFY(!dialog<MInvoiceDlg>() || !dialog<MInvoiceDlg>()->isVisible());
    } else if (path == QStringLiteral("zapis poprawionej faktury VAT")) {
        QVERIFY(editor("doDocEdit", 7, sale));
        QCOMPARE(shownTexts(), QString());
        QVERIFY(!dialog<MInvoiceDlg>() || !dialog<MInvoiceDlg>()->isVisible());
    } else if (path == QStringLiteral("zapis poprawionej faktury RR")) {
        QVERIFY(editor("doDocEdit", 8, purchase));
        QCOMPARE(shownTexts(), QString());
    } else if (path == QStringLiteral("zapis kopii faktury jako nowej")) {
        QVERIFY(editor("doDocCopy", 7, sale));
        QCOMPARE(shownTexts(), QString());
        QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), documents + 1);
    } else if (path == QStringLiteral("zapis korekty")) {
        QVERIFY(editor("doDocCorrect", 7, sale));
        QCOMPARE(shownTexts(), QString());
        QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), documents + 1);
    } else if (path == QStringLiteral("usunięcie dokumentu")) {
        MInvoiceDbView* view = salesList();
        MMessageBox::setNextAnswer(QMessageBox::Yes);
        view->doDocDelete();
        QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), documents - 1);
        QVERIFY(!shownTexts().contains(QStringLiteral("Błąd")));
    } else if (path == QStringLiteral("duplikat")) {
        salesList()->doDocDuplicate();
        QVERIFY(dialog<MInvoiceDuplicateDlg>());
        QVERIFY(pressOk(dialog<MInvoiceDuplicateDlg>()));
        QCOMPARE(shownTexts(), QString());
        QCOMPARE(MTestDatabase::count(QStringLiteral("invoice")), documents + 1);
    } else if (path == QStringLiteral("kontrola płatności")) {
        salesList()->doIsPayed();
        QVERIFY(dialog<MInvoicePaymentDlg>());
        QVERIFY(pressOk(dialog<MInvoicePaymentDlg>()));
        QCOMPARE(shownTexts(), QString());
    } else if (path == QStringLiteral("sprawdzenie błędów")) {
        salesList()->doCheckErrors();
        QVERIFY(m_window->findChild<MInvoiceErrorDlg*>());
        QCOMPARE(shownTexts(), QString());
    } else if (path == QStringLiteral("zestawienie")) {
        const int tabs = m_window->tabMain()->count();
        salesList()->doSetSelected();
        QCOMPARE(shownTexts(), QString());
        QTRY_COMPARE(m_window->tabMain()->count(), tabs + 1);
    } else if (path == QStringLiteral("rejestr VAT")) {
        const int runs = MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id"));
        m_window->loadTab(6);
        // "Odśwież" of its panel builds the register's data again.
        QVERIFY(QMetaObject::invokeMethod(m_window->tabMain()->currentWidget(), "reloadView"));
        QCOMPARE(shownTexts(), QString());
        QVERIFY(MTestDatabase::count(QStringLiteral("__invoice_vat_summary_id")) > runs);
        // Closed before its preview starts: only the register's data was the write.
        m_window->doCloseActiveTab();
    } else if (path == QStringLiteral("JPK_VAT") || path == QStringLiteral("JPK_FA")) {
        MRecordDbView* view = list(7, jpkDocument());
        const char* action = path == QStringLiteral("JPK_VAT") ? "doExportJpkVat" : "doExportJpkFa";
        QVERIFY(QMetaObject::invokeMethod(view, action));
        MJpkDlg* jpk = nullptr;
        for (MJpkDlg* shown : view->findChildren<MJpkDlg*>()) {
            if (shown->isVisible())
                jpk = shown;
        }
        QVERIFY(jpk);
        const QString folder = MAppWnd::pathTemp + QStringLiteral("temp/") + path;
        QVERIFY(QDir().mkpath(folder));
        MFileDialog::setNextFileName(folder + QStringLiteral("/jpk.xml"));
        QVERIFY(pressOk(jpk));
        QCOMPARE(shownTexts(), QString());
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
    } else if (path == QStringLiteral("zapis rekordu")) {
        const bool saved = recordDialog(kind, lastId(table));
        QCOMPARE(shownTexts(), QString());
        QVERIFY(saved);
    } else if (path == QStringLiteral("usunięcie rekordu")) {
        const int before = MTestDatabase::count(table);
        QVERIFY(deletion(kind, lastId(table)));
        QVERIFY(!shownTexts().contains(QStringLiteral("Błąd")));
        QCOMPARE(MTestDatabase::count(table), before - 1);
    } else if (path == QStringLiteral("katalog kontrahentów dodany")) {
        const int catalogs = MTestDatabase::count(QStringLiteral("buyer_catalog"));
        // The catalog dialog runs its own loop: filled and confirmed from within it.
        QTimer::singleShot(0, this, [this]() {
            auto* catalog = dialog<MCatalogDlg>();
            if (!catalog)
                return;
            catalog->findChild<QLineEdit*>()->setText(QStringLiteral("Stali klienci"));
            pressOk(catalog);
            if (catalog->isVisible())
                catalog->done(0);
        });
        QVERIFY(QMetaObject::invokeMethod(list(3, 0), "doCatalogAdd"));
        QCOMPARE(shownTexts(), QString());
        QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_catalog")), catalogs + 1);
    } else if (path == QStringLiteral("katalog produktów usunięty")) {
        const int catalogs = MTestDatabase::count(QStringLiteral("product_catalog"));
        MRecordDbView* view = list(4, 0);
        QTreeView* catalogList = nullptr;
        for (QTreeView* tree : view->findChildren<QTreeView*>()) {
            if (qobject_cast<MSelectListModel*>(tree->model()))
                catalogList = tree;
        }
        QVERIFY(catalogList);
        // The first row that stands for a catalog of the table.
        const QAbstractItemModel* catalogModel = catalogList->model();
        int row = 0;
        while (row < catalogModel->rowCount() && catalogModel->index(row, 0).data(ItemRole::Value).toInt() < 1)
            ++row;
        QVERIFY(row < catalogModel->rowCount());
        catalogList->selectionModel()->select(catalogModel->index(row, 1), QItemSelectionModel::Select);
        MMessageBox::setNextAnswer(QMessageBox::Yes);
        QVERIFY(QMetaObject::invokeMethod(view, "doCatalogDelete"));
        QVERIFY(!shownTexts().contains(QStringLiteral("Błąd")));
        QCOMPARE(MTestDatabase::count(QStringLiteral("product_catalog")), catalogs - 1);
    } else if (path == QStringLiteral("opcje")) {
        QVERIFY(QMetaObject::invokeMethod(m_window.get(), "doOptions"));
        QVERIFY(dialog<MOptionsDlg>());
        QVERIFY(dialog<MOptionsDlg>()->isVisible());
        QVERIFY(pressOk(dialog<MOptionsDlg>()));
        QCOMPARE(shownTexts(), QString());
        QVERIFY(!dialog<MOptionsDlg>()->isVisible());
    } else if (path == QStringLiteral("kopia zapasowa")) {
        QVERIFY(QMetaObject::invokeMethod(m_window.get(), "doDbInfo"));
        QVERIFY(dialog<MDbInfoDlg>());
        const QString copy = MAppWnd::pathTemp + QStringLiteral("temp/kopia.db3");
        QFile::remove(copy);
        MFileDialog::setNextFileName(copy);
        dialog<MDbInfoDlg>()->clickBackup(false);
        const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().icon == QMessageBox::Information, qPrintable(shown.first().text));
        QVERIFY(QFileInfo(copy).size() > 0);
    } else if (path == QStringLiteral("import SQL")) {
        const QString file = MAppWnd::pathTemp + QStringLiteral("temp/import.sql");
        QFile sql(file);
        QVERIFY(sql.open(QIODevice::WriteOnly));
        sql.write("INSERT INTO buyer (firm, time_create, time_modify) VALUES ('Importowany', '2024-05-01', "
                  "'2024-05-01');\n");
        sql.close();
        const int buyers = MTestDatabase::count(QStringLiteral("buyer"));
        MFileDialog::setNextFileName(file);
        QVERIFY(QMetaObject::invokeMethod(m_window.get(), "doImport"));
        const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().icon == QMessageBox::Information, qPrintable(shown.first().text));
        QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), buyers + 1);
    } else if (path == QStringLiteral("Napraw bazę")) {
        QVERIFY(QMetaObject::invokeMethod(m_window.get(), "doRepairDb2"));
        QCOMPARE(shownTexts(), QString());
    } else {
        QFAIL("no such write path");
    }
    // The lists were read again where the write told them to, and still hold nothing open.
    QCOMPARE(MTestDatabase::unfinishedStatements(), QStringList());
}

INVOICE_TEST_MAIN(TestWritesBesideLists)
#include "tst_writesbesidelists.moc"
