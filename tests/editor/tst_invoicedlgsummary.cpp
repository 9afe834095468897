#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "editor/MInvoiceDlg.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"

#include <QAbstractItemModel>
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>
#include <QtTest>

#include <memory>

// The editor's line list, running totals and the payment, sale-date and
// currency widgets, over working rows written by SQL.
class TestInvoiceDlgSummary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void remainingToPay_data();
    void remainingToPay();
    void typedPaymentUsesLastTotal();
    void lineList();
    void payForms_data();
    void payForms();
    void payTerms_data();
    void payTerms();
    void formAddsPaidText_data();
    void formAddsPaidText();
    void paidTextDrivesPaymentControl_data();
    void paidTextDrivesPaymentControl();
    void paymentControl_data();
    void paymentControl();
    void currency_data();
    void currency();
    void saleDateInMonths();
    void marginProcedureAppends();

private:
    MInvoiceDlg* openEditor(int kind = 0, int idInvoice = 0);
    static QStringList texts(const QComboBox* combo);

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MInvoiceDlg> m_editor;
};

namespace {

// A working line with its product copy: "name|rate name|rate|net base (1/0)|line net|line gross|line VAT".
int addLine(const QString& line)
{
    const QStringList v = line.split(QLatin1Char('|'));
    const qint64 product = MTestDatabase::insert(
        QStringLiteral("__invoice_product"),
        {{"id", 1}, {"name", v.at(0)}, {"vat_text", v.at(1)}, {"vat", v.at(2)}, {"count_from_netto", v.at(3)}});
    return int(MTestDatabase::insert(QStringLiteral("__invoice_product_misc"), {{"id", 1},
                                                                                {"id_product", product},
                                                                                {"amount", 1},
                                                                                {"netto_price", v.at(4)},
                                                                                {"brutto_price", v.at(5)},
                                                                                {"vat_price", v.at(6)}}));
}

} // namespace

void TestInvoiceDlgSummary::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestInvoiceDlgSummary::init()
{
    for (const char* table : {"invoice", "__invoice_join", "__invoice_product", "__invoice_product_misc"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE pay_form SET hidden = 0, add_text_payed = 0")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM pay_form WHERE id > 8")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM currency WHERE id > 8")));
}

void TestInvoiceDlgSummary::cleanup()
{
    m_editor.reset();
}

MInvoiceDlg* TestInvoiceDlgSummary::openEditor(int kind, int idInvoice)
{
    m_editor = std::make_unique<MInvoiceDlg>(nullptr, Qt::WindowFlags(), kind);
    m_editor->setDocKind(kind);
    m_editor->m_idInvoice = idInvoice;
    return m_editor.get();
}

QStringList TestInvoiceDlgSummary::texts(const QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

void TestInvoiceDlgSummary::remainingToPay_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("grossBase");
    QTest::addColumn<int>("method");
    QTest::addColumn<double>("parentGross"); // a correction when above 0
    QTest::addColumn<QString>("paid");
    QTest::addColumn<QStringList>("advances");
    QTest::addColumn<double>("gross");
    QTest::addColumn<QString>("remaining");

    const QString net100 = QStringLiteral("Usługa|23%|23|1|100.00|123.00|23.00");
    const QStringList three {net100, net100, net100};
    const QString gross10 = QStringLiteral("Książka|8%|8|0|9.26|10.00|0.74");
    const QString gross100 = QStringLiteral("Towar|0%|0|0|100.00|100.00|0.00");

    QTest::newRow("3 x 100.00 net at 23%, at the end")
        << three << false << 1 << 0.0 << "0,00" << QStringList() << 369.0 << "369,00";
    QTest::newRow("paid with a decimal comma")
        << three << false << 1 << 0.0 << "100,5" << QStringList() << 369.0 << "268,50";
    QTest::newRow("paid with a decimal point")
        << three << false << 0 << 0.0 << "100.5" << QStringList() << 369.0 << "268,50";
    QTest::newRow("2 x 10.00 gross at 8%, at the end")
        << QStringList {gross10, gross10} << true << 1 << 0.0 << "" << QStringList() << 20.0 << "20,00";
    QTest::newRow("correction pays the difference")
        << QStringList {gross100, gross100, gross100} << true << 0 << 369.0 << "0" << QStringList() << 300.0
        << "-69,00";
    QTest::newRow("joined advances are deducted")
        << three << false << 1 << 0.0 << "100" << QStringList {"50", "19.5"} << 369.0 << "199,50";
    QTest::newRow("no lines") << QStringList() << false << 1 << 0.0 << "10" << QStringList {"5"} << 0.0 << "-15,00";
    QTest::newRow("payment not a number") << three << false << 1 << 0.0 << "," << QStringList() << 369.0 << "369,00";
}

void TestInvoiceDlgSummary::remainingToPay()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, grossBase);
    QFETCH(int, method);
    QFETCH(double, parentGross);
    QFETCH(QString, paid);
    QFETCH(QStringList, advances);
    QFETCH(double, gross);
    QFETCH(QString, remaining);

    MInvoiceDlg* editor = openEditor(parentGross > 0 ? 2 : 0);
    editor->m_bruttoGlobalParent = parentGross;
    (grossBase ? editor->m_priceBrutto : editor->m_priceNetto)->setChecked(true);
    editor->m_summaryCount->setCurrentIndex(method);
    for (const QString& line : lines) {
        const int key = addLine(line);
        QVERIFY(key > 0);
        editor->m_productIds.insert(key, key);
    }
    for (const QString& advance : advances) {
        const qint64 invoice = MTestDatabase::insert(QStringLiteral("invoice"), {{"brutto_part", advance}});
        const int key = int(MTestDatabase::insert(QStringLiteral("__invoice_join"), {{"id_invoice_join", invoice}}));
        QVERIFY(key > 0);
        editor->m_invoiceJoinIds.insert(key, key);
    }
    editor->m_bruttoPart->setText(paid);
    editor->countSummary();
    QCOMPARE(QString::number(editor->m_bruttoGlobal, 'f', 2), QString::number(gross, 'f', 2));
    QCOMPARE(editor->m_bruttoRest->text(), remaining);
}

void TestInvoiceDlgSummary::typedPaymentUsesLastTotal()
{
    MInvoiceDlg* editor = openEditor();
    const int key = addLine(QStringLiteral("Usługa|23%|23|1|100.00|123.00|23.00"));
    editor->m_productIds.insert(key, key);
    editor->countSummary();
    QCOMPARE(editor->m_bruttoRest->text(), QStringLiteral("123,00"));

    // A line taken in without a new summary does not count until the next one.
    const int other = addLine(QStringLiteral("Usługa|23%|23|1|100.00|123.00|23.00"));
    editor->m_productIds.insert(other, other);
    editor->m_bruttoPart->setText(QStringLiteral("23"));
    QCOMPARE(editor->m_bruttoRest->text(), QStringLiteral("100,00"));
    editor->countSummary();
    QCOMPARE(editor->m_bruttoRest->text(), QStringLiteral("223,00"));

    // Removing the last lines leaves minus the payment.
    editor->m_productIds.clear();
    editor->countSummary();
    QCOMPARE(editor->m_bruttoRest->text(), QStringLiteral("-23,00"));
}

void TestInvoiceDlgSummary::lineList()
{
    MInvoiceDlg* editor = openEditor();
    editor->setProducts();
    QCOMPARE(editor->m_productList->model()->rowCount(), 0);

    const int first = addLine(QStringLiteral("Śruba|23%|23|1|1.00|1.23|0.23"));
    QVERIFY(addLine(QStringLiteral("Cudza|23%|23|1|1.00|1.23|0.23")) > 0);
    const int third = addLine(QStringLiteral("Młotek|8%|8|0|9.26|10.00|0.74"));
    editor->m_productIds.insert(third, third);
    editor->m_productIds.insert(first, first);
    editor->setProducts();

    QAbstractItemModel* model = editor->m_productList->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model->rowCount(), 2);
    QStringList names;
    QStringList bases;
    for (int row = 0; row < model->rowCount(); ++row) {
        names << model->index(row, 2).data().toString();
        bases << model->index(row, 6).data().toString();
    }
    QCOMPARE(names, (QStringList {"Śruba", "Młotek"}));
    QCOMPARE(bases, (QStringList {"netto", "brutto"}));
    QCOMPARE(model->headerData(10, Qt::Horizontal).toString(), QStringLiteral("Brutto"));
    QCOMPARE(model->headerData(16, Qt::Horizontal).toString(), QStringLiteral("Rodzaj rabatu"));
    for (int column = 0; column < model->columnCount(); ++column)
        QCOMPARE(editor->m_productList->isColumnHidden(column), column != 2);
}

void TestInvoiceDlgSummary::payForms_data()
{
    QTest::addColumn<int>("hidden");
    QTest::addColumn<int>("own");
    QTest::addColumn<QStringList>("basic");
    QTest::addColumn<QStringList>("second");

    const QStringList all {"", "barter", "bon", "czek", "gotówka", "karta", "kompensata", "przelew", "za pobraniem"};
    const QStringList allSecond {"",        "barterem",   "bonem",     "czekiem",     "gotówką",
                                 "kartą",   "kompensatą", "przelewem", "za pobraniem"};
    QStringList noBarter = all;
    noBarter.removeAll(QStringLiteral("barter"));
    QStringList noBarterSecond = allSecond;
    noBarterSecond.removeAll(QStringLiteral("barterem"));

    QTest::newRow("all visible") << 0 << 0 << all << allSecond;
    QTest::newRow("hidden form left out") << 3 << 0 << noBarter << noBarterSecond;
    QTest::newRow("hidden form of the document kept") << 3 << 3 << all << allSecond;
    QTest::newRow("another form of the document") << 3 << 2 << noBarter << noBarterSecond;
}

void TestInvoiceDlgSummary::payForms()
{
    QFETCH(int, hidden);
    QFETCH(int, own);
    QFETCH(QStringList, basic);
    QFETCH(QStringList, second);

    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE pay_form SET hidden = 1 WHERE id = %1").arg(hidden)));
    MInvoiceDlg* editor = openEditor();
    editor->loadPayForms(own);
    editor->loadPartPayForms(own);
    QCOMPARE(texts(editor->m_payForm), basic);
    QCOMPARE(texts(editor->m_payFormPart), second);

    // The reloaded combo still drives the term widgets.
    editor->m_payInDays->setChecked(false);
    editor->m_payForm->setCurrentText(QStringLiteral("przelew"));
    QVERIFY(editor->m_payInDays->isChecked());
}

void TestInvoiceDlgSummary::payTerms_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("paid");
    QTest::addColumn<bool>("inDaysBefore");
    QTest::addColumn<bool>("inDays");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("przelew ticks days") << "przelew" << false << false << true << true;
    QTest::newRow("gotówka unticks days") << "gotówka" << false << true << false << true;
    QTest::newRow("karta unticks days") << "karta" << false << true << false << true;
    QTest::newRow("czek unticks days") << "czek" << false << true << false << true;
    QTest::newRow("no form keeps days") << "" << false << true << true << true;
    QTest::newRow("no form keeps date") << "" << false << false << false << true;
    QTest::newRow("barter disables, keeps days") << "barter" << false << true << true << false;
    QTest::newRow("barter disables, keeps date") << "barter" << false << false << false << false;
    QTest::newRow("za pobraniem disables") << "za pobraniem" << false << false << false << false;
    QTest::newRow("kompensata disables") << "kompensata" << false << true << true << false;
    QTest::newRow("paid disables przelew's days") << "przelew" << true << false << true << false;
    QTest::newRow("paid disables gotówka's date") << "gotówka" << true << true << false << false;
}

void TestInvoiceDlgSummary::payTerms()
{
    QFETCH(QString, form);
    QFETCH(bool, paid);
    QFETCH(bool, inDaysBefore);
    QFETCH(bool, inDays);
    QFETCH(bool, enabled);

    MInvoiceDlg* editor = openEditor();
    editor->m_payForm->setCurrentText(QStringLiteral("bon"));
    editor->m_payed->setChecked(paid);
    editor->m_payInDays->setChecked(inDaysBefore);
    editor->m_payForm->setCurrentText(form);
    QCOMPARE(editor->m_payForm->currentText(), form);

    QCOMPARE(editor->m_payInDays->isChecked(), inDays);
    QCOMPARE(editor->m_dayPeriod->isHidden(), !inDays);
    QCOMPARE(editor->m_dayPeriodLabel->isHidden(), !inDays);
    QCOMPARE(editor->m_datePay->isHidden(), inDays);
    QCOMPARE(editor->m_datePayLabel->isHidden(), inDays);
    QCOMPARE(editor->m_payInDays->isEnabled(), enabled);
    QCOMPARE((inDays ? static_cast<QWidget*>(editor->m_dayPeriod) : editor->m_datePay)->isEnabled(), enabled);
    QCOMPARE(editor->m_payTextLabel->isEnabled(), !paid);
    QCOMPARE(editor->m_payText->isEnabled(), !paid);

    // Switching the days box by hand swaps the fields but keeps the form's rule.
    editor->m_payInDays->setChecked(!inDays);
    QCOMPARE(editor->m_dayPeriod->isHidden(), inDays);
    QCOMPARE(editor->m_datePay->isHidden(), !inDays);
    QCOMPARE(editor->m_payInDays->isChecked(), !inDays);
}

void TestInvoiceDlgSummary::formAddsPaidText_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("adds");
    QTest::addColumn<bool>("termEnabled");

    QTest::newRow("marked form") << "gotówka" << true << false;
    QTest::newRow("unmarked form") << "przelew" << false << true;
    QTest::newRow("name with a quote") << "kredyt 'kupiecki'" << true << false;
}

void TestInvoiceDlgSummary::formAddsPaidText()
{
    QFETCH(QString, form);
    QFETCH(bool, adds);
    QFETCH(bool, termEnabled);

    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE pay_form SET add_text_payed = 1 WHERE id = 1")));
    QVERIFY(MTestDatabase::insert(QStringLiteral("pay_form"), {{"id", 9},
                                                               {"basic_form", "kredyt 'kupiecki'"},
                                                               {"second_form", "kredytem"},
                                                               {"add_text_payed", 1}})
            > 0);
    MInvoiceDlg* editor = openEditor();
    editor->loadPayForms(0);
    editor->m_payForm->setCurrentText(form);
    QCOMPARE(editor->m_payForm->currentText(), form);
    QCOMPARE(editor->m_payed->isChecked(), adds);
    QCOMPARE(editor->m_isPayed->isChecked(), adds);
    QCOMPARE(editor->m_payInDays->isEnabled(), termEnabled);
}

void TestInvoiceDlgSummary::paidTextDrivesPaymentControl_data()
{
    QTest::addColumn<int>("idInvoice");
    QTest::addColumn<bool>("follows");

    QTest::newRow("new document") << 0 << true;
    QTest::newRow("saved document") << 12 << false;
}

void TestInvoiceDlgSummary::paidTextDrivesPaymentControl()
{
    QFETCH(int, idInvoice);
    QFETCH(bool, follows);

    MInvoiceDlg* editor = openEditor(0, idInvoice);
    const QDate payed(2026, 4, 9);
    editor->m_datePayed->setDate(QDate(2026, 1, 2));
    editor->m_payed->setChecked(true);
    QVERIFY(editor->m_showDatePayedAll->isEnabled());
    QVERIFY(!editor->m_datePayedAll->isEnabled());
    editor->m_showDatePayedAll->setChecked(true);
    QVERIFY(editor->m_datePayedAll->isEnabled());
    editor->m_datePayedAll->setDate(payed);

    QCOMPARE(editor->m_isPayed->isChecked(), follows);
    QCOMPARE(editor->m_showDatePayed->isChecked(), follows);
    QCOMPARE(editor->m_datePayed->date() == payed, follows);

    editor->m_payed->setChecked(false);
    QVERIFY(!editor->m_showDatePayedAll->isEnabled());
    QVERIFY(!editor->m_datePayedAll->isEnabled());
    QVERIFY(editor->m_payText->isEnabled());
    QCOMPARE(editor->m_isPayed->isChecked(), false);
}

void TestInvoiceDlgSummary::paymentControl_data()
{
    QTest::addColumn<bool>("payed");
    QTest::addColumn<bool>("showDate");
    QTest::addColumn<bool>("partDate");

    QTest::newRow("nothing") << false << false << false;
    QTest::newRow("paid") << true << false << false;
    QTest::newRow("paid with date") << true << true << true;
    QTest::newRow("part date only") << false << false << true;
}

void TestInvoiceDlgSummary::paymentControl()
{
    QFETCH(bool, payed);
    QFETCH(bool, showDate);
    QFETCH(bool, partDate);

    MInvoiceDlg* editor = openEditor(0, 5);
    editor->m_isPayed->setChecked(payed);
    editor->m_showDatePayed->setChecked(showDate);
    editor->m_showDatePayedPart->setChecked(partDate);
    QCOMPARE(editor->m_showDatePayed->isEnabled(), payed);
    QCOMPARE(editor->m_datePayed->isEnabled(), showDate);
    QCOMPARE(editor->m_datePayedPart->isEnabled(), partDate);

    editor->m_isCancelled->setChecked(true);
    QVERIFY(!editor->m_isPayed->isEnabled());
    QVERIFY(!editor->m_showDatePayed->isEnabled());
    QVERIFY(!editor->m_datePayed->isEnabled());

    editor->m_isCancelled->setChecked(false);
    QVERIFY(editor->m_isPayed->isEnabled());
    QCOMPARE(editor->m_showDatePayed->isEnabled(), payed);
    QCOMPARE(editor->m_datePayed->isEnabled(), payed && showDate);
}

void TestInvoiceDlgSummary::currency_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("rating");

    QTest::newRow("EUR") << 0 << "EUR" << 1 << true;
    QTest::newRow("PLN") << 0 << "PLN" << 0 << false;
    QTest::newRow("symbol with a quote") << 0 << "P'X" << 9 << true;
    QTest::newRow("correction in EUR") << 2 << "EUR" << 1 << true;
    QTest::newRow("correction in PLN") << 2 << "PLN" << 0 << false;
}

void TestInvoiceDlgSummary::currency()
{
    QFETCH(int, kind);
    QFETCH(QString, symbol);
    QFETCH(int, id);
    QFETCH(bool, rating);

    QVERIFY(MTestDatabase::insert(QStringLiteral("currency"), {{"id", 9}, {"symbol", "P'X"}, {"name", "próba"}}) > 0);
    MInvoiceDlg* editor = openEditor(kind);
    // Start from another currency so that the choice is a change.
    editor->m_currency->setCurrentText(symbol == QLatin1String("USD") ? QStringLiteral("CHF") : QStringLiteral("USD"));
    editor->m_currency->setCurrentText(symbol);
    QCOMPARE(editor->m_currency->currentText(), symbol);
    QCOMPARE(editor->m_idCurrency, id);
    QCOMPARE(editor->m_currencyRatingLabel->isHidden(), !rating);
    QCOMPARE(editor->m_currencyRatingToolBar->isHidden(), !rating);
    QCOMPARE(editor->m_currencyRatingTable->isHidden(), !rating);
    QCOMPARE(editor->m_currency->isEnabled(), kind != 2);
    QCOMPARE(editor->m_currencyLabel->isEnabled(), kind != 2);
}

void TestInvoiceDlgSummary::saleDateInMonths()
{
    MInvoiceDlg* editor = openEditor();
    editor->m_dateSell->setDate(QDate(2026, 3, 17));
    editor->m_dateSellInMonths->setChecked(true);
    QCOMPARE(editor->m_dateSell->displayFormat(), QStringLiteral("MM-yyyy"));
    QCOMPARE(editor->m_dateSell->date(), QDate(2026, 3, 1));
    editor->m_dateSellInMonths->setChecked(false);
    QCOMPARE(editor->m_dateSell->displayFormat(), QStringLiteral("dd-MM-yyyy"));
    QCOMPARE(editor->m_dateSell->date(), QDate(2026, 3, 1));
}

void TestInvoiceDlgSummary::marginProcedureAppends()
{
    MInvoiceDlg* editor = openEditor(27);
    editor->m_endText2->setPlainText(QStringLiteral("Uwaga: "));
    editor->m_profitProcedure->setCurrentIndex(2);
    QCOMPARE(editor->m_endText2->toPlainText(), QStringLiteral("Uwaga: Procedura marży - towary używane."));
    editor->m_profitProcedure->setCurrentIndex(0);
    QCOMPARE(editor->m_endText2->toPlainText(), QStringLiteral("Uwaga: Procedura marży - towary używane."));
    editor->m_profitProcedure->setCurrentIndex(1);
    QCOMPARE(editor->m_endText2->toPlainText(),
             QStringLiteral("Uwaga: Procedura marży - towary używane.Procedura marży dla biur podróży."));
}

INVOICE_TEST_MAIN(TestInvoiceDlgSummary)
#include "tst_invoicedlgsummary.moc"
