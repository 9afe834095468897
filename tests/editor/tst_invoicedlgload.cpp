#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "core/MAppWnd.h"
#include "data/MDocumentSave.h"
#include "editor/MInvoiceDlg.h"
#include "resources/MResources.h"
#include "views/MTabWidget.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

// Saved documents, written by SQL, opened in the editor to edit, copy or
// correct them, and new documents started from the defaults.
class TestInvoiceDlgLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void editFillsWorkingCopies();
    void editShowsDocument();
    void copyStartsAnew_data();
    void copyStartsAnew();
    void correctionOfVatInvoice();
    void billLinesBecomeExempt();
    void lineNoticeSelectsLine_data();
    void lineNoticeSelectsLine();
    void missingSnapshotLeavesNoKey_data();
    void missingSnapshotLeavesNoKey();
    void newDocumentDefaults_data();
    void newDocumentDefaults();
    void creatorLoadsDefaults();
    void buyerDefaultsSetTerms_data();
    void buyerDefaultsSetTerms();

private:
    MInvoiceDlg* editor(int kind);
    static int document(int kind, const QDate& datePut, const QVariantMap& more = {});

    std::unique_ptr<MAppWnd> m_window;
    int m_seller = 0; // a seller snapshot
    int m_buyer = 0;  // a buyer snapshot with a contact address
};

namespace {

QString value(const QString& sql, int key)
{
    return MTestDatabase::value(sql.arg(key)).toString();
}

} // namespace

void TestInvoiceDlgLoad::initTestCase()
{
    initInvoiceResources();
    MAppWnd::initPaths();
    QVERIFY(MTestDatabase::build(MAppWnd::pathData + QStringLiteral("data/Invoice.db3")));
    MTestDatabase::close();
    m_window.reset(new MAppWnd);
    QVERIFY(!m_window->hasEnded());

    m_seller = int(MTestDatabase::insert(
        QStringLiteral("invoice_seller"),
        {{"firm", "Sprzedawca"}, {"city", "Gdańsk"}, {"id_invoice_index_format", 2},
         {"invoice_index_format_text", "FV/[nr]/[rrrr]"}, {"bank", "Bank A"}, {"bank_account", "11 1111"}}));
    const int address = int(MTestDatabase::insert(QStringLiteral("invoice_buyer_address"),
                                                  {{"address", "Długa 2"}, {"city", "Kraków"}}));
    m_buyer = int(MTestDatabase::insert(QStringLiteral("invoice_buyer"), {{"firm", "Klient"}, {"reduct", "5"},
                                                                          {"id_address_contact", address}}));
}

void TestInvoiceDlgLoad::cleanup()
{
    if (auto* open = m_window->findChild<MInvoiceDlg*>())
        delete open;
    MAppWnd::setOption(QStringLiteral("ID_RECORD_DEFAULT_SELLER"), QStringLiteral("0"));
}

MInvoiceDlg* TestInvoiceDlgLoad::editor(int kind)
{
    return new MInvoiceDlg(m_window.get(), Qt::WindowFlags(), kind);
}

// A document of `kind` with the seller and buyer snapshots, two lines, and
// paid, cancelled and partly paid data.
int TestInvoiceDlgLoad::document(int kind, const QDate& datePut, const QVariantMap& more)
{
    const QString put = datePut.toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    QVariantMap row {{"invoice_kind", kind},
                     {"invoice_index", 7},
                     {"id_invoice_index_format", 2},
                     {"invoice_index_string", QStringLiteral("FV/7/%1").arg(datePut.year())},
                     {"id_seller", 0},
                     {"id_buyer", 0},
                     {"place_put", "Sopot"},
                     {"id_currency", 1},
                     {"count_from_netto", 0},
                     {"date_put", put},
                     {"date_sell", datePut.addDays(-3).toString(QStringLiteral("yyyy-MM-dd 00:00:00"))},
                     {"date_pay", datePut.addDays(14).toString(QStringLiteral("yyyy-MM-dd 00:00:00"))},
                     {"id_pay_form", 2},
                     {"payed", 1},
                     {"day_period", 1},
                     {"pay_text", "do 14 dni"},
                     {"pay_form_text", "przelewem na konto"},
                     {"additional", "uwaga"},
                     {"buyer_kind", 2},
                     {"is_payed", 1},
                     {"date_payed", "2024-02-10"},
                     {"is_cancelled", 0},
                     {"id_pay_form_part", 1},
                     {"brutto_part", "100.5"},
                     {"date_payed_part", "2024-02-05"},
                     {"reduct_percent", 0},
                     {"summary_count", 1},
                     {"global_brutto", "369"}};
    for (auto it = more.cbegin(); it != more.cend(); ++it)
        row.insert(it.key(), it.value());
    const int id = int(MTestDatabase::insert(QStringLiteral("invoice"), row));
    for (const char* price : {"123", "246"}) {
        const int product = int(MTestDatabase::insert(
            QStringLiteral("invoice_product"), {{"name", "Usługa"}, {"netto_price", "100"}, {"brutto_price", price},
                                                {"vat", 23}, {"vat_text", "23%"}, {"count_from_netto", 1}}));
        MTestDatabase::insert(QStringLiteral("invoice_product_misc"),
                              {{"id_invoice", id}, {"id_product", product}, {"amount", "1"}});
    }
    return id;
}

void TestInvoiceDlgLoad::editFillsWorkingCopies()
{
    const int rating = int(MTestDatabase::insert(QStringLiteral("invoice_currency_rating"),
                                                 {{"bank_name", "NBP"}, {"id_currency_from", 1},
                                                  {"rating_date", "2024-01-29"}, {"currency_amount_from", 1},
                                                  {"currency_value", "4.25"}}));
    const int id = document(0, QDate(2024, 1, 30),
                            {{"id_seller", m_seller}, {"id_buyer", m_buyer}, {"id_buyer2", m_buyer},
                             {"id_currency_rating", rating}});
    MInvoiceDlg* dlg = editor(0);
    dlg->setIdRecord(id, false);

    QCOMPARE(value("SELECT firm FROM __invoice_seller WHERE __id = %1", dlg->m_idSeller), QStringLiteral("Sprzedawca"));
    for (int key : {dlg->m_idBuyer, dlg->m_idBuyer2}) {
        QVERIFY(key > 0);
        QCOMPARE(value("SELECT b.firm || '|' || a.city FROM __invoice_buyer b JOIN __invoice_buyer_address a ON "
                       "a.__id = b.id_address_contact WHERE b.__id = %1",
                       key),
                 QStringLiteral("Klient|Kraków"));
    }
    QVERIFY(dlg->m_idBuyer != dlg->m_idBuyer2);
    QCOMPARE(value("SELECT bank_name FROM __invoice_currency_rating WHERE __id = %1", dlg->m_idCurrencyRating),
             QStringLiteral("NBP"));
    QStringList prices;
    for (int line : dlg->m_productIds)
        prices << value("SELECT p.brutto_price FROM __invoice_product_misc pm JOIN __invoice_product p ON p.__id = "
                        "pm.id_product WHERE pm.__id = %1",
                        line);
    QCOMPARE(prices, QStringList({"123", "246"}));
    QCOMPARE(dlg->m_buyerReduct, 5.0);
    QCOMPARE(dlg->m_idInvoice, id);
}

void TestInvoiceDlgLoad::editShowsDocument()
{
    const int id = document(0, QDate(2024, 1, 30), {{"id_seller", m_seller}, {"id_seller_base", 0}});
    MInvoiceDlg* dlg = editor(0);
    dlg->setIdRecord(id);

    QCOMPARE(dlg->m_placePut->text(), QStringLiteral("Sopot"));
    QCOMPARE(dlg->m_datePut->date(), QDate(2024, 1, 30));
    QCOMPARE(dlg->m_dateSell->date(), QDate(2024, 1, 27));
    QCOMPARE(dlg->m_datePay->date(), QDate(2024, 2, 13));
    QCOMPARE(dlg->m_firstInvoiceNumber->value(), 7);
    QCOMPARE(dlg->m_currency->currentText(), QStringLiteral("EUR"));
    QVERIFY(dlg->m_priceBrutto->isChecked());
    QVERIFY(dlg->m_reductAmount->isChecked());
    QCOMPARE(dlg->m_summaryCount->currentIndex(), 1);
    QCOMPARE(dlg->m_payForm->currentText(), QStringLiteral("przelew"));
    QVERIFY(dlg->m_payed->isChecked());
    QVERIFY(dlg->m_payInDays->isChecked());
    QCOMPARE(dlg->m_dayPeriod->value(), 14);
    QCOMPARE(dlg->m_payText->text(), QStringLiteral("do 14 dni"));
    QCOMPARE(dlg->m_payFormText->text(), QStringLiteral("przelewem na konto"));
    QCOMPARE(dlg->m_additional->toPlainText(), QStringLiteral("uwaga"));
    QCOMPARE(dlg->m_buyerKind->currentText(), QStringLiteral("Nabywca + Odbiorca"));
    QVERIFY(dlg->m_isPayed->isChecked());
    QVERIFY(dlg->m_showDatePayed->isChecked());
    QCOMPARE(dlg->m_datePayed->date(), QDate(2024, 2, 10));
    QVERIFY(!dlg->m_isCancelled->isChecked());
    QCOMPARE(dlg->m_payFormPart->currentText(), QStringLiteral("gotówką"));
    QCOMPARE(MDocumentSave::amountOf(dlg->m_bruttoPart->text()), 100.5);
    QVERIFY(dlg->m_showDatePayedPart->isChecked());
    QCOMPARE(dlg->m_datePayedPart->date(), QDate(2024, 2, 5));
    QVERIFY(!dlg->m_showDatePayedAll->isChecked());
}

void TestInvoiceDlgLoad::copyStartsAnew_data()
{
    QTest::addColumn<bool>("payedText");
    QTest::newRow("with 'zapłacono'") << true;
    QTest::newRow("without 'zapłacono'") << false;
}

void TestInvoiceDlgLoad::copyStartsAnew()
{
    QFETCH(bool, payedText);
    const QDate today = QDate::currentDate();
    const int id = document(0, today,
                            {{"id_seller", m_seller}, {"id_buyer", m_buyer}, {"payed", payedText ? 1 : 0},
                             {"is_cancelled", 1}, {"date_payed_all", "2024-02-11"}});
    MInvoiceDlg* dlg = editor(0);
    dlg->setIdRecord(id, true);

    QCOMPARE(dlg->m_idInvoice, 0);
    QCOMPARE(dlg->m_dateSell->date(), today);
    QCOMPARE(dlg->m_datePay->date(), today);
    QVERIFY(!dlg->m_isCancelled->isChecked());
    QVERIFY(!dlg->m_showDatePayed->isChecked());
    QVERIFY(!dlg->m_showDatePayedPart->isChecked());
    QVERIFY(!dlg->m_showDatePayedAll->isChecked());
    QCOMPARE(MDocumentSave::amountOf(dlg->m_bruttoPart->text()), 0.0);
    QCOMPARE(dlg->m_payed->isChecked(), payedText);
    QCOMPARE(dlg->m_isPayed->isChecked(), payedText);
    QCOMPARE(dlg->m_placePut->text(), QStringLiteral("Sopot"));
    QCOMPARE(dlg->m_productIds.size(), 2);
    QVERIFY(dlg->m_idBuyer > 0);
    // The source keeps its number 7; the copy takes the next one of the year.
    QCOMPARE(dlg->m_firstInvoiceNumber->value(), 8);
}

void TestInvoiceDlgLoad::correctionOfVatInvoice()
{
    const QDate put(2024, 3, 10);
    const int id = document(0, put, {{"id_seller", m_seller}, {"global_brutto", "369"}});
    MInvoiceDlg* dlg = editor(2);
    dlg->setDocKind(2);
    dlg->setIdRecordParent(id);
    dlg->setIdRecord(id, true);

    QCOMPARE(dlg->docKind(), 2);
    QVERIFY(dlg->isCorrection());
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Faktura korygująca VAT"));
    QCOMPARE(dlg->m_dateSell->date(), put.addDays(-3));
    QCOMPARE(dlg->m_datePut->date(), QDate::currentDate());
    QCOMPARE(dlg->m_bruttoGlobalParent, 369.0);
    QCOMPARE(dlg->m_idParentInvoice, id);
    QCOMPARE(dlg->m_idInvoice, 0);
    QCOMPARE(dlg->m_productIds.size(), 2);
}

void TestInvoiceDlgLoad::billLinesBecomeExempt()
{
    const int id = document(9, QDate(2024, 1, 30));
    MInvoiceDlg* dlg = editor(9);
    dlg->setIdRecord(id);
    QCOMPARE(dlg->m_productIds.size(), 2);
    for (int line : dlg->m_productIds)
        QCOMPARE(value("SELECT p.vat_text || '|' || p.vat || '|' || p.count_from_netto || '|' || (p.netto_price = "
                       "p.brutto_price) FROM __invoice_product_misc pm JOIN __invoice_product p ON p.__id = "
                       "pm.id_product WHERE pm.__id = %1",
                       line),
                 QStringLiteral("zw.|0|0|1"));
    QVERIFY(dlg->m_priceBrutto->isChecked());
    QVERIFY(!dlg->m_priceNetto->isEnabled());
}

void TestInvoiceDlgLoad::lineNoticeSelectsLine_data()
{
    QTest::addColumn<bool>("known");
    QTest::newRow("line of the list") << true;
    QTest::newRow("line no longer listed") << false;
}

void TestInvoiceDlgLoad::lineNoticeSelectsLine()
{
    QFETCH(bool, known);
    const int id = document(0, QDate(2024, 1, 30));
    MInvoiceDlg* dlg = editor(0);
    dlg->setIdRecord(id);
    const double before = dlg->m_bruttoGlobal;
    const int line = dlg->m_productIds.lastKey();
    // The product dialog has written the line's new amount and values.
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE __invoice_product_misc SET amount = 3, netto_price = 300, brutto_price = 369, vat_price = 69 WHERE __id = %1")
                                    .arg(line)));
    dlg->doChangeDbObject(4, known ? line : line + 1000);
    QVERIFY(dlg->m_bruttoGlobal > before);
    const QModelIndexList selected = dlg->m_productList->selectionModel()->selectedRows();
    if (known) {
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().row(), dlg->m_productIds.size() - 1);
    } else {
        QVERIFY(selected.isEmpty());
    }
}

void TestInvoiceDlgLoad::missingSnapshotLeavesNoKey_data()
{
    QTest::addColumn<QString>("column");
    QTest::newRow("seller") << "id_seller";
    QTest::newRow("buyer") << "id_buyer";
    QTest::newRow("second buyer") << "id_buyer2";
    QTest::newRow("rating") << "id_currency_rating";
}

void TestInvoiceDlgLoad::missingSnapshotLeavesNoKey()
{
    QFETCH(QString, column);
    // Working rows of an earlier editor must not be taken for this one's.
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO __invoice_seller (id, time_create, time_modify) VALUES "
                                               "(1, '', '')")));
    const int id = document(0, QDate(2024, 1, 30), {{column, 9999}});
    MInvoiceDlg* dlg = editor(0);
    dlg->setIdRecord(id);
    QCOMPARE(dlg->m_idSeller, 0);
    QCOMPARE(dlg->m_idBuyer, 0);
    QCOMPARE(dlg->m_idBuyer2, 0);
    QCOMPARE(dlg->m_idCurrencyRating, 0);
}

void TestInvoiceDlgLoad::newDocumentDefaults_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("withSeller");
    QTest::addColumn<bool>("sellerDeleted");
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("hideVat");
    QTest::newRow("seller of the option") << 0 << true << false << "Toruń" << false;
    QTest::newRow("option 0") << 0 << false << false << "" << false;
    QTest::newRow("deleted seller") << 0 << true << true << "" << false;
    QTest::newRow("reverse charge") << 15 << false << false << "" << true;
}

void TestInvoiceDlgLoad::newDocumentDefaults()
{
    QFETCH(int, kind);
    QFETCH(bool, withSeller);
    QFETCH(bool, sellerDeleted);
    QFETCH(QString, place);
    QFETCH(bool, hideVat);
    int seller = 0;
    if (withSeller) {
        seller = int(MTestDatabase::insert(QStringLiteral("seller"), {{"firm", "Domyślny"}, {"city", "Toruń"},
                                                                       {"street", "Szeroka"}}));
        if (sellerDeleted)
            QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM seller WHERE id = %1").arg(seller)));
    }
    MAppWnd::setOption(QStringLiteral("ID_RECORD_DEFAULT_SELLER"), QString::number(seller));
    const int endText = int(MTestDatabase::insert(QStringLiteral("end_text"), {{"content", "Dziękujemy"}}));
    MAppWnd::setOption(QStringLiteral("ID_RECORD_DEFAULT_ENDTEXT"), QString::number(endText));

    MInvoiceDlg* dlg = editor(kind);
    dlg->setDocKind(kind);
    dlg->setIdRecord(0, false);
    QCOMPARE(dlg->m_currency->currentText(), QStringLiteral("PLN"));
    QCOMPARE(dlg->m_placePut->text(), place);
    const bool loaded = withSeller && !sellerDeleted;
    QCOMPARE(dlg->m_idSeller > 0, loaded);
    QCOMPARE(dlg->m_idSellerBase, loaded ? seller : 0);
    if (loaded)
        QCOMPARE(value("SELECT firm || '|' || street || '|' || id FROM __invoice_seller WHERE __id = %1",
                       dlg->m_idSeller),
                 QStringLiteral("Domyślny|Szeroka|%1").arg(seller));
    QCOMPARE(dlg->m_endText->toPlainText(), QStringLiteral("Dziękujemy"));
    QCOMPARE(dlg->m_hideVat->isChecked(), hideVat);
    QCOMPARE(dlg->m_idInvoice, 0);
    QCOMPARE(dlg->m_datePut->date(), QDate::currentDate());
}

void TestInvoiceDlgLoad::creatorLoadsDefaults()
{
    const int seller = int(MTestDatabase::insert(QStringLiteral("seller"), {{"firm", "Z menu"}, {"city", "Łódź"}}));
    MAppWnd::setOption(QStringLiteral("ID_RECORD_DEFAULT_SELLER"), QString::number(seller));
    m_window->newRecord(0, 0);
    auto* dlg = m_window->findChild<MInvoiceDlg*>();
    QVERIFY(dlg);
    QCOMPARE(dlg->m_idSellerBase, seller);
    QCOMPARE(dlg->m_placePut->text(), QStringLiteral("Łódź"));
}

void TestInvoiceDlgLoad::buyerDefaultsSetTerms_data()
{
    QTest::addColumn<int>("payForm");
    QTest::addColumn<QString>("formText");
    QTest::addColumn<int>("days");
    QTest::addColumn<bool>("inDays");
    QTest::newRow("przelew, 14 days") << 2 << "przelew" << 14 << true;
    QTest::newRow("gotówka, 0 days") << 1 << "gotówka" << 0 << false;
    QTest::newRow("barter, 30 days") << 3 << "barter" << 30 << false;
}

void TestInvoiceDlgLoad::buyerDefaultsSetTerms()
{
    QFETCH(int, payForm);
    QFETCH(QString, formText);
    QFETCH(int, days);
    QFETCH(bool, inDays);
    const int buyer = int(MTestDatabase::insert(QStringLiteral("buyer"), {{"firm", "Stały klient"}}));
    MTestDatabase::insert(QStringLiteral("buyer_defaults"),
                          {{"id_buyer", buyer}, {"id_pay_form", payForm}, {"payed", 1}, {"pay_text", "termin"},
                           {"day_period", days}, {"pay_in_days", inDays ? 1 : 0}, {"pay_form_text", "tekst"}});
    MInvoiceDlg* dlg = editor(0);
    dlg->setDocKind(0);
    dlg->setIdRecord(0, false);
    dlg->m_datePut->setDate(QDate(2024, 5, 10));
    dlg->applyBuyerDefaults(buyer);
    QCOMPARE(dlg->m_payForm->currentText(), formText);
    QCOMPARE(dlg->m_payInDays->isChecked(), inDays);
    QCOMPARE(dlg->m_dayPeriod->value(), days);
    QCOMPARE(dlg->m_datePay->date(), QDate(2024, 5, 10).addDays(days));
    QVERIFY(dlg->m_payed->isChecked());
    QCOMPARE(dlg->m_payText->text(), QStringLiteral("termin"));
    QCOMPARE(dlg->m_payFormText->text(), QStringLiteral("tekst"));
}

INVOICE_TEST_MAIN(TestInvoiceDlgLoad)
#include "tst_invoicedlgload.moc"
