#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestOwner.h"
#include "catalog/MProductDlg.h"
#include "data/MOptions.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

#include <memory>

// The product dialog in both modes, against a database made by the schema script: its
// price arithmetic, its guards, what it loads and what it stores.
class TestProductDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pricesFollowTheInputs_data();
    void pricesFollowTheInputs();
    void outOfRangeInputFallsBack_data();
    void outOfRangeInputFallsBack();
    void discountKindConvertsTheDiscount_data();
    void discountKindConvertsTheDiscount();
    void eachComputationWritesOneRow();
    void newLineFollowsTheDefaultKinds_data();
    void newLineFollowsTheDefaultKinds();
    void quotedNamesAreLookedUpAsTheyAre();
    void newProductProposesTheDefaultRate_data();
    void newProductProposesTheDefaultRate();
    void storedPricesAreWhatTheDialogShows_data();
    void storedPricesAreWhatTheDialogShows();
    void editedProductKeepsItsIdAndLoadsItsFields();
    void hiddenRateShowsOnlyWhenLoaded();
    void newUnitIsOfferedOnce();
    void lineIsWrittenToTheWorkingTables();
    void billLineIsExemptAndGross();
    void failedWriteChangesNothingAndStaysOpen_data();
    void failedWriteChangesNothingAndStaysOpen();
    void productDeletedMeanwhileIsRefused();

private:
    MProductDlg* openDialog(int id, bool invoiceMode = false, int idMisc = 0, int docKind = -1);
    // A working copy of a product with one document line of it; returns the line's __id.
    int insertLine(const QVariantMap& product, const QVariantMap& line, int* productId);
    template <class T>
    T* field(const char* name) const;
    void type(const char* name, const QString& text);
    void clickOk();

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MTestOwner> m_owner;
    MProductDlg* m_dialog = nullptr;
};

namespace {

QStringList lineValues(const QString& lineFields)
{
    return lineFields.isEmpty() ? QStringList() : lineFields.split(QLatin1Char('/'));
}

} // namespace

void TestProductDlg::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MOptions::loadOptions();
}

void TestProductDlg::init()
{
    for (const char* table : {"product", "product_unit", "__invoice_product", "__invoice_product_misc",
                              "__count_price"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE vat SET hidden = 0")));
    MOptions::setOption(QStringLiteral("ID_DEFAULT_VAT"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("DEFAULT_PRICE_BASE"), QStringLiteral("0"));
    MOptions::setOption(QStringLiteral("DEFAULT_PRICE_REDUCT"), QStringLiteral("0"));
    m_owner = std::make_unique<MTestOwner>();
    MMessageBox::takeShown();
}

void TestProductDlg::cleanup()
{
    m_dialog = nullptr;
    m_owner.reset();
}

MProductDlg* TestProductDlg::openDialog(int id, bool invoiceMode, int idMisc, int docKind)
{
    m_dialog = new MProductDlg(m_owner.get(), invoiceMode);
    m_dialog->setIdRecord(id, idMisc, docKind);
    m_dialog->show();
    return m_dialog;
}

int TestProductDlg::insertLine(const QVariantMap& product, const QVariantMap& line, int* productId)
{
    QVariantMap copy = product;
    copy.insert(QStringLiteral("id"), 0);
    *productId = int(MTestDatabase::insert(QStringLiteral("__invoice_product"), copy));
    QVariantMap misc = line;
    misc.insert(QStringLiteral("id"), 0);
    misc.insert(QStringLiteral("id_product"), *productId);
    return int(MTestDatabase::insert(QStringLiteral("__invoice_product_misc"), misc));
}

template <class T>
T* TestProductDlg::field(const char* name) const
{
    T* widget = m_dialog->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("No field %s", name);
    return widget;
}

void TestProductDlg::type(const char* name, const QString& text)
{
    QLineEdit* edit = field<QLineEdit>(name);
    edit->setText(text);
    emit edit->editingFinished();
}

void TestProductDlg::clickOk()
{
    const QList<QPushButton*> buttons = m_dialog->findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button->text() == QLatin1String("OK")) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL("no OK button");
}

void TestProductDlg::pricesFollowTheInputs_data()
{
    QTest::addColumn<bool>("invoiceMode");
    QTest::addColumn<bool>("fromNetto");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<QString>("vat"); // empty: no rate chosen
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("reduct");
    QTest::addColumn<QString>("otherPrice");
    // Unit net after discount / total net / unit gross after discount / total gross.
    QTest::addColumn<QString>("lineFields");

    QTest::newRow("net 100 at 23%") << false << true << true << "23%" << "100" << "" << "" << "123,00" << "";
    QTest::newRow("gross 123 at 23%") << false << false << true << "23%" << "123" << "" << "" << "100,00" << "";
    QTest::newRow("net 0,50 lifted over the half") << false << true << true << "23%" << "0,50" << "" << ""
                                                   << "0,62" << "";
    QTest::newRow("no rate: gross is net") << false << true << true << "" << "100" << "" << "" << "100,00" << "";
    QTest::newRow("exempt: net is gross") << false << false << true << "zw." << "80,5" << "" << "" << "80,50" << "";
    QTest::newRow("line, net, 10 %") << true << true << true << "23%" << "100" << "3" << "10" << "123,00"
                                     << "90,00/270,00/110,70/332,10";
    QTest::newRow("line, gross, 10 %") << true << false << true << "23%" << "123" << "3" << "10" << "100,00"
                                       << "90,00/270,00/110,70/332,10";
    QTest::newRow("line, net, 5 off") << true << true << false << "23%" << "100" << "3" << "5" << "123,00"
                                      << "95,00/285,00/116,85/350,55";
    QTest::newRow("line, gross, 6,15 off") << true << false << false << "23%" << "123" << "3" << "6,15"
                                           << "100,00" << "95,00/285,00/116,85/350,55";
    QTest::newRow("line, gross totals from the rounded gross") << true << false << true << "8%" << "10,01"
                                                               << "7" << "0" << "9,27"
                                                               << "9,27/64,88/10,01/70,07";
}

void TestProductDlg::pricesFollowTheInputs()
{
    QFETCH(bool, invoiceMode);
    QFETCH(bool, fromNetto);
    QFETCH(bool, percent);
    QFETCH(QString, vat);
    QFETCH(QString, price);
    QFETCH(QString, amount);
    QFETCH(QString, reduct);
    QFETCH(QString, otherPrice);
    QFETCH(QString, lineFields);

    int productId = 0;
    const int lineId = invoiceMode ? insertLine({}, {}, &productId) : 0;
    openDialog(productId, invoiceMode, lineId, 0);
    field<QRadioButton>(fromNetto ? "base_netto" : "base_brutto")->setChecked(true);
    if (invoiceMode)
        field<QRadioButton>(percent ? "reduct_percent" : "reduct_sum")->setChecked(true);
    auto* vatBox = field<QComboBox>("vat");
    vatBox->setCurrentIndex(vat.isEmpty() ? -1 : vatBox->findText(vat));
    QCOMPARE(vatBox->currentText(), vat);
    type(fromNetto ? "netto_price" : "brutto_price", price);
    if (invoiceMode) {
        type("amount", amount);
        type("reduct", reduct);
    }

    QLineEdit* derived = field<QLineEdit>(fromNetto ? "brutto_price" : "netto_price");
    QCOMPARE(derived->text(), otherPrice);
    QVERIFY(!derived->isEnabled());
    QVERIFY(field<QLineEdit>(fromNetto ? "netto_price" : "brutto_price")->isEnabled());
    if (invoiceMode) {
        const QStringList shown = {field<QLineEdit>("netto_reduced")->text(), field<QLineEdit>("netto_total")->text(),
                                   field<QLineEdit>("brutto_reduced")->text(), field<QLineEdit>("brutto_total")->text()};
        QCOMPARE(shown, lineValues(lineFields));
    }
}

void TestProductDlg::outOfRangeInputFallsBack_data()
{
    QTest::addColumn<bool>("percent");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("bruttoTotal");

    // The line as loaded: net 100 at 23 %, quantity 3, discount 10 (5 as an amount),
    // margin 20.
    QTest::newRow("percent discount 150") << true << "reduct" << "150" << "10,00" << "332,10";
    QTest::newRow("negative percent discount") << true << "reduct" << "-1" << "10,00" << "332,10";
    QTest::newRow("amount discount above the price") << false << "reduct" << "100,01" << "5,00" << "350,55";
    QTest::newRow("quantity of 1e9, shown with 2 decimals") << true << "amount" << "1000000000" << "3,00"
                                                            << "332,10";
    QTest::newRow("quantity of -1e9") << true << "amount" << "-1000000000" << "3,00" << "332,10";
    QTest::newRow("net price of 1e9") << true << "netto_price" << "1000000000" << "100,00" << "332,10";
    QTest::newRow("margin above the gross price") << true << "profit_brutto" << "123,01" << "20,00" << "332,10";
    QTest::newRow("negative margin") << true << "profit_brutto" << "-0,01" << "20,00" << "332,10";
    QTest::newRow("margin of the whole gross price is kept") << true << "profit_brutto" << "123" << "123"
                                                             << "332,10";
}

void TestProductDlg::outOfRangeInputFallsBack()
{
    QFETCH(bool, percent);
    QFETCH(QString, fieldName);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, bruttoTotal);

    int productId = 0;
    const int lineId = insertLine({{"netto_price", 100}, {"brutto_price", 123}, {"vat", 23}, {"vat_kind", 0},
                                   {"vat_text", "23%"}, {"profit_brutto", 20}},
                                  {{"amount", 3}, {"reduct", percent ? 10 : 5}, {"reduct_percent", percent ? 1 : 0}},
                                  &productId);
    openDialog(productId, true, lineId, 0);
    QCOMPARE(field<QLineEdit>("brutto_total")->text(), QString(percent ? "332,10" : "350,55"));

    type(qPrintable(fieldName), typed);
    QCOMPARE(field<QLineEdit>(qPrintable(fieldName))->text(), shown);
    QCOMPARE(field<QLineEdit>("brutto_total")->text(), bruttoTotal);
}

void TestProductDlg::discountKindConvertsTheDiscount_data()
{
    QTest::addColumn<bool>("fromNetto");
    QTest::addColumn<bool>("toPercent");
    QTest::addColumn<QString>("reduct");
    QTest::addColumn<QString>("converted");
    QTest::addColumn<QString>("bruttoTotal");

    QTest::newRow("10 % of net 100 is 10 off") << true << false << "10" << "10,00" << "332,10";
    QTest::newRow("5 off net 100 is 5 %") << true << true << "5" << "5,00" << "350,55";
    QTest::newRow("20 % of gross 123 is 24,60 off") << false << false << "20" << "24,60" << "295,20";
    QTest::newRow("12,30 off gross 123 is 10 %") << false << true << "12,3" << "10,00" << "332,10";
}

void TestProductDlg::discountKindConvertsTheDiscount()
{
    QFETCH(bool, fromNetto);
    QFETCH(bool, toPercent);
    QFETCH(QString, reduct);
    QFETCH(QString, converted);
    QFETCH(QString, bruttoTotal);

    int productId = 0;
    const int lineId = insertLine({{"netto_price", 100}, {"brutto_price", 123}, {"vat", 23}, {"vat_kind", 0},
                                   {"vat_text", "23%"}, {"count_from_netto", fromNetto ? 1 : 0}},
                                  {{"amount", 3}, {"reduct", reduct.replace(',', '.').toDouble()},
                                   {"reduct_percent", toPercent ? 0 : 1}},
                                  &productId);
    openDialog(productId, true, lineId, 0);
    field<QRadioButton>(toPercent ? "reduct_percent" : "reduct_sum")->setChecked(true);
    QCOMPARE(field<QLineEdit>("reduct")->text(), converted);
    QCOMPARE(field<QLineEdit>("brutto_total")->text(), bruttoTotal);
}

void TestProductDlg::eachComputationWritesOneRow()
{
    openDialog(0);
    const int before = MTestDatabase::count(QStringLiteral("__count_price"));
    field<QLineEdit>("netto_price")->setText(QStringLiteral("100"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("__count_price")), before + 1);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT netto, vat FROM __count_price ORDER BY id DESC LIMIT 1")),
             QStringList{QStringLiteral("100|23")});

    // The gross field is written by the computation and starts none of its own, and
    // typing there in the net base computes nothing.
    field<QLineEdit>("brutto_price")->setText(QStringLiteral("7"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("__count_price")), before + 1);
}

void TestProductDlg::newLineFollowsTheDefaultKinds_data()
{
    QTest::addColumn<QString>("priceBase");
    QTest::addColumn<QString>("priceReduct");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("reduct");

    QTest::newRow("net and percent") << "0" << "0" << "base_netto" << "reduct_percent";
    QTest::newRow("gross and amount") << "1" << "1" << "base_brutto" << "reduct_sum";
    QTest::newRow("unset options count as 0") << "" << "" << "base_netto" << "reduct_percent";
}

void TestProductDlg::newLineFollowsTheDefaultKinds()
{
    QFETCH(QString, priceBase);
    QFETCH(QString, priceReduct);
    QFETCH(QString, base);
    QFETCH(QString, reduct);

    MOptions::setOption(QStringLiteral("DEFAULT_PRICE_BASE"), priceBase);
    MOptions::setOption(QStringLiteral("DEFAULT_PRICE_REDUCT"), priceReduct);
    m_dialog = new MProductDlg(m_owner.get(), true);
    m_dialog->show();
    QVERIFY(field<QRadioButton>(qPrintable(base))->isChecked());
    QVERIFY(field<QRadioButton>(qPrintable(reduct))->isChecked());
    // The line's values are shown, never typed.
    for (const char* name : {"netto_reduced", "netto_total", "brutto_reduced", "brutto_total"})
        QVERIFY(!field<QLineEdit>(name)->isEnabled());
}

// Names from the tables reach the look-ups as values, whatever characters they hold.
void TestProductDlg::quotedNamesAreLookedUpAsTheyAre()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT OR REPLACE INTO vat (id, name, val, kind) "
                                               "VALUES (200, 'stawka ''specjalna''', 7, 5)")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT OR REPLACE INTO currency (id, symbol, name) "
                                               "VALUES (200, 'Z''Ł', 'próbna')")));
    openDialog(0);
    auto* vatBox = field<QComboBox>("vat");
    vatBox->setCurrentIndex(vatBox->findText(QStringLiteral("stawka 'specjalna'")));
    auto* currencyBox = field<QComboBox>("id_currency");
    currencyBox->setCurrentIndex(currencyBox->findText(QStringLiteral("Z'Ł")));
    type("netto_price", QStringLiteral("100"));
    QCOMPARE(field<QLineEdit>("brutto_price")->text(), QStringLiteral("107,00"));
    clickOk();

    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT brutto_price, vat, vat_kind, vat_text, id_currency FROM product")),
             QStringList{QStringLiteral("107|7|5|stawka 'specjalna'|200")});
    const int id = MTestDatabase::value(QStringLiteral("SELECT id FROM product")).toInt();
    openDialog(id);
    QCOMPARE(field<QComboBox>("vat")->currentText(), QStringLiteral("stawka 'specjalna'"));
    QCOMPARE(field<QComboBox>("id_currency")->currentText(), QStringLiteral("Z'Ł"));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM vat WHERE id = 200")));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM currency WHERE id = 200")));
}

void TestProductDlg::newProductProposesTheDefaultRate_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("vat");

    QTest::newRow("0: the standard rate of today") << "0" << "23%";
    QTest::newRow("empty: the standard rate of today") << "" << "23%";
    QTest::newRow("the rate of id 9") << "9" << "8%";
    QTest::newRow("exempt") << "102" << "zw.";
}

void TestProductDlg::newProductProposesTheDefaultRate()
{
    QFETCH(QString, option);
    QFETCH(QString, vat);

    MOptions::setOption(QStringLiteral("ID_DEFAULT_VAT"), option);
    openDialog(0);
    QCOMPARE(field<QComboBox>("vat")->currentText(), vat);
    QCOMPARE(field<QComboBox>("id_currency")->currentText(), QStringLiteral("PLN"));
    QCOMPARE(field<QLineEdit>("netto_price")->text(), QStringLiteral("0,00"));
    QCOMPARE(field<QLineEdit>("brutto_price")->text(), QStringLiteral("0,00"));
    auto* pages = field<QTabWidget>("pages");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(2), QStringLiteral("Dodatkowe"));
    QVERIFY(!m_dialog->findChild<QLineEdit*>(QStringLiteral("amount")));
}

void TestProductDlg::storedPricesAreWhatTheDialogShows_data()
{
    QTest::addColumn<bool>("fromNetto");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("stored"); // netto_price|brutto_price|vat|vat_kind|vat_text|count_from_netto

    QTest::newRow("net 100 at 23%") << true << "23%" << "100" << "100|123|23|0|23%|1";
    QTest::newRow("gross 123 at 8%") << false << "8%" << "123" << "113.89|123|8|0|8%|0";
    QTest::newRow("net with cents") << true << "23%" << "0,5" << "0.5|0.62|23|0|23%|1";
    QTest::newRow("exempt") << true << "zw." << "10" << "10|10|0|1|zw.|1";
}

void TestProductDlg::storedPricesAreWhatTheDialogShows()
{
    QFETCH(bool, fromNetto);
    QFETCH(QString, vat);
    QFETCH(QString, price);
    QFETCH(QString, stored);

    openDialog(0);
    field<QLineEdit>("name")->setText(QStringLiteral("Śruba M8 'ocynk'"));
    field<QRadioButton>(fromNetto ? "base_netto" : "base_brutto")->setChecked(true);
    auto* vatBox = field<QComboBox>("vat");
    vatBox->setCurrentIndex(vatBox->findText(vat));
    // Still being typed: OK takes it as it stands.
    field<QLineEdit>(fromNetto ? "netto_price" : "brutto_price")->setText(price);
    clickOk();

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT netto_price, brutto_price, vat, vat_kind, vat_text, "
                                                "count_from_netto FROM product")),
             QStringList{stored});
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT name FROM product")).toString(),
             QStringLiteral("Śruba M8 'ocynk'"));
    const int id = MTestDatabase::value(QStringLiteral("SELECT id FROM product")).toInt();
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{4, id}}));
}

void TestProductDlg::editedProductKeepsItsIdAndLoadsItsFields()
{
    const int id = int(MTestDatabase::insert(
        QStringLiteral("product"),
        {{"name", "Kabel"}, {"code", "27.32"}, {"symbol", "K-1"}, {"unit", "mb"}, {"netto_price", 10},
         {"brutto_price", 12.3}, {"vat", 23}, {"vat_kind", 0}, {"vat_text", "23%"}, {"count_from_netto", 0},
         {"profit_brutto", 2.5}, {"additional", "na bębnie"}, {"id_currency", 1}}));
    openDialog(id);
    QCOMPARE(field<QLineEdit>("name")->text(), QStringLiteral("Kabel"));
    QCOMPARE(field<QLineEdit>("code")->text(), QStringLiteral("27.32"));
    QCOMPARE(field<QLineEdit>("symbol")->text(), QStringLiteral("K-1"));
    QCOMPARE(field<QComboBox>("unit")->currentText(), QStringLiteral("mb"));
    QVERIFY(field<QRadioButton>("base_brutto")->isChecked());
    QCOMPARE(field<QLineEdit>("brutto_price")->text(), QStringLiteral("12,30"));
    QCOMPARE(field<QLineEdit>("netto_price")->text(), QStringLiteral("10,00"));
    QCOMPARE(field<QLineEdit>("profit_brutto")->text(), QStringLiteral("2,50"));
    QCOMPARE(field<QTextEdit>("additional")->toPlainText(), QStringLiteral("na bębnie"));
    const QString currency = MTestDatabase::value(QStringLiteral("SELECT symbol FROM currency WHERE id = 1")).toString();
    QCOMPARE(field<QComboBox>("id_currency")->currentText(), currency);

    type("brutto_price", QStringLiteral("24,6"));
    clickOk();
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT id, name, netto_price, brutto_price, profit_brutto, "
                                                "id_currency, additional FROM product")),
             QStringList{QString::number(id) + QStringLiteral("|Kabel|20|24.6|2.5|1|na bębnie")});
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{4, id}}));
}

void TestProductDlg::hiddenRateShowsOnlyWhenLoaded()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE vat SET hidden = 1 WHERE name = '22%'")));
    const int id = int(MTestDatabase::insert(QStringLiteral("product"), {{"name", "Stary"}, {"netto_price", 100},
                                                                         {"vat", 22}, {"vat_text", "22%"}}));
    openDialog(id);
    QCOMPARE(field<QComboBox>("vat")->currentText(), QStringLiteral("22%"));
    QCOMPARE(field<QLineEdit>("brutto_price")->text(), QStringLiteral("122,00"));
    m_dialog->close();

    openDialog(0);
    QCOMPARE(field<QComboBox>("vat")->findText(QStringLiteral("22%")), -1);
    QVERIFY(field<QComboBox>("vat")->findText(QStringLiteral("23%")) >= 0);
}

void TestProductDlg::newUnitIsOfferedOnce()
{
    for (int i = 0; i < 2; ++i) {
        openDialog(0);
        QCOMPARE(field<QComboBox>("unit")->findText(QStringLiteral("skrzynka")), i == 0 ? -1 : 1);
        field<QComboBox>("unit")->setEditText(QStringLiteral("skrzynka"));
        clickOk();
    }
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT name FROM product_unit")), QStringList{"skrzynka"});
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT unit FROM product")), (QStringList{"skrzynka", "skrzynka"}));

    // An empty unit adds nothing.
    openDialog(0);
    clickOk();
    QCOMPARE(MTestDatabase::count(QStringLiteral("product_unit")), 1);
}

void TestProductDlg::lineIsWrittenToTheWorkingTables()
{
    int productId = 0;
    const int lineId = insertLine({{"name", "Usługa"}, {"netto_price", 100}, {"brutto_price", 123}, {"vat", 23},
                                   {"vat_kind", 0}, {"vat_text", "23%"}, {"additional", "kopia"}},
                                  {{"amount", 3}, {"reduct", 10}, {"reduct_percent", 1}}, &productId);
    openDialog(productId, true, lineId, 0);
    auto* pages = field<QTabWidget>("pages");
    QCOMPARE(pages->tabText(2), QStringLiteral("Opcje"));
    QCOMPARE(pages->currentIndex(), 1);
    QVERIFY(!m_dialog->findChild<QTextEdit*>(QStringLiteral("additional")));
    QCOMPARE(field<QLineEdit>("amount")->text(), QStringLiteral("3,0000"));

    field<QCheckBox>("position_hide")->setChecked(true);
    type("amount", QStringLiteral("2,5"));
    clickOk();

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT reduct, amount, reduct_percent, netto_price, brutto_price, "
                                                "vat_price, position_hide FROM __invoice_product_misc")),
             QStringList{QStringLiteral("10|2.5|1|225|276.75|51.75|1")});
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT name, netto_price, brutto_price, additional "
                                                "FROM __invoice_product")),
             QStringList{QStringLiteral("Usługa|100|123|kopia")});
    QCOMPARE(MTestDatabase::count(QStringLiteral("product")), 0);
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{4, lineId}}));
}

void TestProductDlg::billLineIsExemptAndGross()
{
    int productId = 0;
    const int lineId = insertLine({{"name", "Porada"}, {"netto_price", 100}, {"brutto_price", 123}, {"vat", 23},
                                   {"vat_kind", 0}, {"vat_text", "23%"}, {"count_from_netto", 1}},
                                  {{"amount", 1}, {"reduct", 0}}, &productId);
    openDialog(productId, true, lineId, 9);
    QCOMPARE(field<QComboBox>("vat")->currentText(), QStringLiteral("zw."));
    QVERIFY(!field<QComboBox>("vat")->isEnabled());
    QVERIFY(field<QRadioButton>("base_brutto")->isChecked());
    QVERIFY(!field<QRadioButton>("base_netto")->isEnabled());
    // The net price stays the price: without VAT it is the gross price as well.
    QCOMPARE(field<QLineEdit>("brutto_price")->text(), QStringLiteral("100,00"));
    QCOMPARE(field<QLineEdit>("netto_price")->text(), QStringLiteral("100,00"));
    clickOk();

    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT vat, vat_kind, vat_text, count_from_netto, netto_price, "
                                                "brutto_price FROM __invoice_product")),
             QStringList{QStringLiteral("0|1|zw.|0|100|100")});
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT netto_price, brutto_price, vat_price "
                                                "FROM __invoice_product_misc")),
             QStringList{QStringLiteral("100|100|0")});
}

void TestProductDlg::failedWriteChangesNothingAndStaysOpen_data()
{
    QTest::addColumn<bool>("invoiceMode");
    QTest::addColumn<QString>("trigger");

    QTest::newRow("product refused") << false << "BEFORE INSERT ON product";
    QTest::newRow("unit refused after the product") << false << "BEFORE INSERT ON product_unit";
    QTest::newRow("line refused after its product") << true << "BEFORE UPDATE ON __invoice_product_misc";
    QTest::newRow("unit refused after the line") << true << "BEFORE INSERT ON product_unit";
}

void TestProductDlg::failedWriteChangesNothingAndStaysOpen()
{
    QFETCH(bool, invoiceMode);
    QFETCH(QString, trigger);

    int productId = 0;
    const int lineId = invoiceMode ? insertLine({{"name", "Stara nazwa"}}, {{"amount", 1}}, &productId) : 0;
    const QStringList before = {
        MTestDatabase::rows(QStringLiteral("SELECT * FROM product")).join('\n'),
        MTestDatabase::rows(QStringLiteral("SELECT * FROM product_unit")).join('\n'),
        MTestDatabase::rows(QStringLiteral("SELECT * FROM __invoice_product")).join('\n'),
        MTestDatabase::rows(QStringLiteral("SELECT * FROM __invoice_product_misc")).join('\n'),
    };
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse ") + trigger
                                + QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'dysk pełny'); END")));
    openDialog(productId, invoiceMode, lineId, 0);
    field<QLineEdit>("name")->setText(QStringLiteral("Nowa nazwa"));
    field<QComboBox>("unit")->setEditText(QStringLiteral("paleta"));
    type("netto_price", QStringLiteral("100"));
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY(shown.first().text.contains(QStringLiteral("dysk pełny")));
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(field<QLineEdit>("name")->text(), QStringLiteral("Nowa nazwa"));
    const QStringList after = {
        MTestDatabase::rows(QStringLiteral("SELECT * FROM product")).join('\n'),
        MTestDatabase::rows(QStringLiteral("SELECT * FROM product_unit")).join('\n'),
        MTestDatabase::rows(QStringLiteral("SELECT * FROM __invoice_product")).join('\n'),
        MTestDatabase::rows(QStringLiteral("SELECT * FROM __invoice_product_misc")).join('\n'),
    };
    QCOMPARE(after, before);

    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER refuse")));
    clickOk();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT name FROM product UNION ALL SELECT name FROM __invoice_product")),
             QStringList{"Nowa nazwa"});
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT name FROM product_unit")), QStringList{"paleta"});
    QCOMPARE(m_owner->notices.size(), 1);
}

void TestProductDlg::productDeletedMeanwhileIsRefused()
{
    const int id = int(MTestDatabase::insert(QStringLiteral("product"), {{"name", "Wiertło"}}));
    openDialog(id);
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM product")));
    field<QLineEdit>("name")->setText(QStringLiteral("Wiertło 8 mm"));
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY2(shown.first().text.contains(
                 QStringLiteral("Produkt o identyfikatorze %1 nie istnieje już w bazie danych.").arg(id)),
             qPrintable(shown.first().text));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(field<QLineEdit>("name")->text(), QStringLiteral("Wiertło 8 mm"));
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(MTestDatabase::count(QStringLiteral("product")), 0);
}

INVOICE_TEST_MAIN(TestProductDlg)
#include "tst_productdlg.moc"
