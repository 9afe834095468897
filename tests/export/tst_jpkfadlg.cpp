#include "MJpkTestDialog.h"
#include "MJpkTestFile.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "export/MJpkFaDlg.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

// The JPK_FA dialog and its run, one file per currency, on a database of the
// schema script; file and message dialogs answered through the seams.
class TestJpkFaDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checkAsksForTheFullSellerAndTheOffice();
    void eachCurrencyGetsAFileOfItsOwn();
    void onlyProformaIsToldAndWritesNothing();
    void unwritableCurrencyFileIsToldAndTheOtherWritten();

private:
    MJpkFaDlg* open(const QList<int>& ids);
    int addDoc(int kind, int idCurrency, double net);
    QLabel* label(const QString& text) const;
    QPushButton* okButton() const;
    QStringList numbers(const QString& file, const QString& element, const QString& field) const;

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<QWidget> m_owner;
    MJpkFaDlg* m_dialog = nullptr;
    int m_idSeller = 0;
};

void TestJpkFaDlg::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestJpkFaDlg::init()
{
    for (const char* table : {"seller", "invoice", "invoice_buyer", "invoice_seller", "invoice_summary_vat",
                              "invoice_product", "invoice_product_misc"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    m_idSeller = int(MTestDatabase::insert(
        QStringLiteral("seller"), {{QStringLiteral("firm"), QStringLiteral("Sprzedawca S.A.")},
                                   {QStringLiteral("nip"), QStringLiteral("525-000-12-56")},
                                   {QStringLiteral("regon"), QStringLiteral("123456785")},
                                   {QStringLiteral("id_province"), 7},
                                   {QStringLiteral("province2"), QStringLiteral("warszawski")},
                                   {QStringLiteral("province3"), QStringLiteral("Warszawa")},
                                   {QStringLiteral("street"), QStringLiteral("Prosta")},
                                   {QStringLiteral("address_number1"), QStringLiteral("12")},
                                   {QStringLiteral("city"), QStringLiteral("Warszawa")},
                                   {QStringLiteral("zipcode"), QStringLiteral("00-850")},
                                   {QStringLiteral("city_post"), QStringLiteral("Warszawa")},
                                   {QStringLiteral("financial_office_code"), QStringLiteral("1403")}}));
    m_owner = std::make_unique<QWidget>();
    MMessageBox::takeShown();
}

void TestJpkFaDlg::cleanup()
{
    m_dialog = nullptr;
    m_owner.reset();
}

int TestJpkFaDlg::addDoc(int kind, int idCurrency, double net)
{
    const int idSellerCopy = int(MTestDatabase::insert(QStringLiteral("invoice_seller"),
                                                       {{QStringLiteral("firm"), QStringLiteral("Sprzedawca S.A.")},
                                                        {QStringLiteral("nip"), QStringLiteral("5250001256")},
                                                        {QStringLiteral("city"), QStringLiteral("Warszawa")}}));
    const int id = int(MTestDatabase::insert(QStringLiteral("invoice"),
                                             {{QStringLiteral("invoice_kind"), kind},
                                              {QStringLiteral("id_currency"), idCurrency},
                                              {QStringLiteral("id_seller"), idSellerCopy},
                                              {QStringLiteral("id_seller_base"), m_idSeller},
                                              {QStringLiteral("global_brutto"), net * 1.23},
                                              {QStringLiteral("date_put"), QStringLiteral("2024-05-06 00:00:00")},
                                              {QStringLiteral("date_sell"), QStringLiteral("2024-05-06")}}));
    MTestDatabase::exec(QStringLiteral("UPDATE invoice SET invoice_index_string = 'FV/%1' WHERE id = %1").arg(id));
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{QStringLiteral("id_invoice"), id},
                                                                  {QStringLiteral("id_vat"), 24},
                                                                  {QStringLiteral("netto_price"), net},
                                                                  {QStringLiteral("vat_price"), net * 0.23},
                                                                  {QStringLiteral("brutto_price"), net * 1.23}});
    const int idProduct = int(MTestDatabase::insert(QStringLiteral("invoice_product"),
                                                    {{QStringLiteral("name"), QStringLiteral("Usługa")},
                                                     {QStringLiteral("vat_text"), QStringLiteral("23%")}}));
    MTestDatabase::insert(QStringLiteral("invoice_product_misc"), {{QStringLiteral("id_invoice"), id},
                                                                   {QStringLiteral("id_product"), idProduct},
                                                                   {QStringLiteral("amount"), 1},
                                                                   {QStringLiteral("netto_price"), net},
                                                                   {QStringLiteral("brutto_price"), net * 1.23}});
    return id;
}

MJpkFaDlg* TestJpkFaDlg::open(const QList<int>& ids)
{
    m_dialog = new MJpkFaDlg(m_owner.get());
    m_dialog->setIdsSelected(ids);
    m_dialog->setModal(true);
    m_dialog->show();
    return m_dialog;
}

QLabel* TestJpkFaDlg::label(const QString& text) const
{
    return childWithText<QLabel>(m_dialog, text);
}

QPushButton* TestJpkFaDlg::okButton() const
{
    return childWithText<QPushButton>(m_dialog, QStringLiteral("OK"));
}

QStringList TestJpkFaDlg::numbers(const QString& file, const QString& element, const QString& field) const
{
    QStringList values;
    for (const QString& line : MJpkTestFile::elements(file, element))
        values << MJpkTestFile::part(line, field);
    return values;
}

void TestJpkFaDlg::checkAsksForTheFullSellerAndTheOffice()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE seller SET financial_office_code = ''")));
    open({addDoc(0, 0, 100)});
    QLineEdit* code = m_dialog->findChild<QLineEdit*>(QStringLiteral("financial_office_code"));
    QVERIFY(code && code->isVisible());
    QVERIFY(!okButton()->isEnabled());
    QVERIFY(label(QStringLiteral("Uzupełnij wymagane dane:"))->isVisible());
    QVERIFY(label(QStringLiteral("- kod urzędu skarbowego"))->isVisible());
    QVERIFY(!label(QStringLiteral("- dane sprzedawcy (NIP, nazwa firmy)"))->isVisible());

    code->setText(QStringLiteral("1403"));
    emit code->editingFinished();
    QVERIFY(okButton()->isEnabled());
    QVERIFY(!label(QStringLiteral("Uzupełnij wymagane dane:"))->isVisible());

    // REGON is part of what JPK_FA needs of the seller.
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE seller SET regon = ''")));
    m_dialog->checkRequiredData();
    QVERIFY(!okButton()->isEnabled());
    QVERIFY(label(QStringLiteral("- dane sprzedawcy (NIP, nazwa firmy, REGON, województwo, powiat, gmina, ulica, "
                                 "numer domu, miejscowość, kod pocztowy, poczta)"))
                ->isVisible());
}

void TestJpkFaDlg::eachCurrencyGetsAFileOfItsOwn()
{
    const QString folder = m_db->path(QStringLiteral("currencies"));
    QVERIFY(QDir().mkpath(folder));
    const int euro = addDoc(0, 1, 200);
    const int pln = addDoc(0, 0, 100);
    const int pln2 = addDoc(0, 0, 10);
    open({euro, pln2, pln});
    MFileDialog::setNextFileName(folder + QStringLiteral("/jpk"));
    okButton()->click();

    QVERIFY(MMessageBox::takeShown().isEmpty());
    QVERIFY(!m_dialog->isVisible());
    QStringList files = QDir(folder).entryList(QDir::Files);
    files.sort();
    QCOMPARE(files, QStringList({"jpk-EUR.xml", "jpk-PLN.xml"}));
    const QString plnFile = folder + QStringLiteral("/jpk-PLN.xml");
    const QString euroFile = folder + QStringLiteral("/jpk-EUR.xml");
    for (const QString& file : {plnFile, euroFile}) {
        const QString errors = MJpkTestFile::schemaErrors(file, QStringLiteral("Schemat_JPK_FA(1)_v1-0.xsd"));
        QVERIFY2(errors.isEmpty(), qPrintable(errors));
    }
    QCOMPARE(numbers(plnFile, QStringLiteral("Faktura"), QStringLiteral("P_2A")),
             QStringList({QStringLiteral("FV/%1").arg(pln), QStringLiteral("FV/%1").arg(pln2)}));
    QCOMPARE(numbers(plnFile, QStringLiteral("FakturaWiersz"), QStringLiteral("P_2B")),
             QStringList({QStringLiteral("FV/%1").arg(pln), QStringLiteral("FV/%1").arg(pln2)}));
    QCOMPARE(numbers(plnFile, QStringLiteral("Naglowek"), QStringLiteral("DomyslnyKodWaluty")), QStringList{"PLN"});
    QCOMPARE(MJpkTestFile::elements(plnFile, QStringLiteral("FakturaCtrl")),
             QStringList{"LiczbaFaktur=2;WartoscFaktur=135.30"});
    QCOMPARE(MJpkTestFile::elements(plnFile, QStringLiteral("FakturaWierszCtrl")),
             QStringList{"LiczbaWierszyFaktur=2;WartoscWierszyFaktur=110.00"});
    QCOMPARE(numbers(euroFile, QStringLiteral("Faktura"), QStringLiteral("P_2A")),
             QStringList{QStringLiteral("FV/%1").arg(euro)});
    QCOMPARE(numbers(euroFile, QStringLiteral("Naglowek"), QStringLiteral("DomyslnyKodWaluty")), QStringList{"EUR"});
    QCOMPARE(numbers(euroFile, QStringLiteral("Naglowek"), QStringLiteral("KodUrzedu")), QStringList{"1403"});
    QCOMPARE(MJpkTestFile::elements(euroFile, QStringLiteral("FakturaWierszCtrl")),
             QStringList{"LiczbaWierszyFaktur=1;WartoscWierszyFaktur=200.00"});
    QCOMPARE(MOptions::option(QStringLiteral("EXPORT_JPK_PATH")), folder);
}

void TestJpkFaDlg::onlyProformaIsToldAndWritesNothing()
{
    const QString folder = m_db->path(QStringLiteral("proforma"));
    QVERIFY(QDir().mkpath(folder));
    open({addDoc(1, 0, 100), addDoc(1, 0, 50)});
    MFileDialog::setNextFileName(folder + QStringLiteral("/jpk.xml"));
    okButton()->click();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, QStringLiteral("Eksport do JPK_FA"));
    QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(folder + QStringLiteral("/jpk-PLN.xml"))),
             qPrintable(shown[0].text));
    QVERIFY2(shown[0].text.contains(QStringLiteral("nie wchodzi do JPK_FA")), qPrintable(shown[0].text));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
}

void TestJpkFaDlg::unwritableCurrencyFileIsToldAndTheOtherWritten()
{
    const QString folder = m_db->path(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/jpk-PLN.xml")));
    open({addDoc(0, 0, 100), addDoc(0, 1, 100)});
    MFileDialog::setNextFileName(folder + QStringLiteral("/jpk.xml"));
    okButton()->click();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(folder + QStringLiteral("/jpk-PLN.xml"))),
             qPrintable(shown[0].text));
    QVERIFY(!shown[0].text.contains(QStringLiteral("jpk-EUR.xml")));
    QVERIFY(QFileInfo(folder + QStringLiteral("/jpk-PLN.xml")).isDir());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"jpk-EUR.xml"});
    const QString errors = MJpkTestFile::schemaErrors(folder + QStringLiteral("/jpk-EUR.xml"),
                                                      QStringLiteral("Schemat_JPK_FA(1)_v1-0.xsd"));
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

INVOICE_TEST_MAIN(TestJpkFaDlg)
#include "tst_jpkfadlg.moc"
