#include "MJpkTestDialog.h"
#include "MJpkTestFile.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "data/MOptions.h"
#include "export/MJpkVatDlg.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

// The JPK_VAT dialog on a database of the schema script, its file and message
// dialogs answered through the seams.
class TestJpkVatDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void versionFollowsTheLastIssueDate_data();
    void versionFollowsTheLastIssueDate();
    void sellerDataThatEachVersionNeeds_data();
    void sellerDataThatEachVersionNeeds();
    void officeCodeAndListFollowEachOther();
    void periodOutsideTheSchemaIsRefused_data();
    void periodOutsideTheSchemaIsRefused();
    void withoutSellerOkStaysDisabled_data();
    void withoutSellerOkStaysDisabled();
    void cancelledFileDialogClosesTheDialog();
    void okWritesTheChosenFile_data();
    void okWritesTheChosenFile();
    void onlySkippedDocumentsAreToldAndWriteNothing();
    void unwritableTargetIsToldAndWritesNothing();

private:
    MJpkVatDlg* open(const QList<int>& ids);
    int addDoc(const QString& datePut, int kind = 0, int idCurrency = 0);
    QLabel* label(const QString& text) const;
    QPushButton* okButton() const;
    template <class T>
    T* field(const char* name) const;

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<QWidget> m_owner;
    MJpkVatDlg* m_dialog = nullptr;
    int m_idSeller = 0;
};

namespace {

const QString fullLine = QStringLiteral("- dane sprzedawcy (NIP, nazwa firmy, REGON, województwo, powiat, gmina, ulica, "
                                        "numer domu, miejscowość, kod pocztowy, poczta)");
const QString shortLine = QStringLiteral("- dane sprzedawcy (NIP, nazwa firmy)");
const QString officeLine = QStringLiteral("- kod urzędu skarbowego");
const QString redHeader = QStringLiteral("Uzupełnij wymagane dane:");

} // namespace

void TestJpkVatDlg::initTestCase()
{
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestJpkVatDlg::init()
{
    for (const char* table : {"seller", "invoice", "invoice_buyer", "invoice_summary_vat"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    m_idSeller = int(MTestDatabase::insert(
        QStringLiteral("seller"), {{QStringLiteral("firm"), QStringLiteral("Sprzedawca S.A.")},
                                   {QStringLiteral("nip"), QStringLiteral("525-000-12-56")},
                                   {QStringLiteral("regon"), QStringLiteral("12345678512345")},
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

void TestJpkVatDlg::cleanup()
{
    m_dialog = nullptr;
    m_owner.reset();
}

int TestJpkVatDlg::addDoc(const QString& datePut, int kind, int idCurrency)
{
    const int idBuyer = int(MTestDatabase::insert(QStringLiteral("invoice_buyer"),
                                                  {{QStringLiteral("firm"), QStringLiteral("Nabywca")},
                                                   {QStringLiteral("nip"), QStringLiteral("5260001246")},
                                                   {QStringLiteral("city"), QStringLiteral("Kraków")}}));
    const int id = int(MTestDatabase::insert(QStringLiteral("invoice"),
                                             {{QStringLiteral("invoice_kind"), kind},
                                              {QStringLiteral("id_currency"), idCurrency},
                                              {QStringLiteral("id_buyer"), idBuyer},
                                              {QStringLiteral("id_seller_base"), m_idSeller},
                                              {QStringLiteral("invoice_index_string"), QStringLiteral("FV/1")},
                                              {QStringLiteral("date_put"), QString(datePut + QStringLiteral(" 00:00:00"))},
                                              {QStringLiteral("date_sell"), datePut}}));
    MTestDatabase::insert(QStringLiteral("invoice_summary_vat"), {{QStringLiteral("id_invoice"), id},
                                                                  {QStringLiteral("id_vat"), 24},
                                                                  {QStringLiteral("netto_price"), 100},
                                                                  {QStringLiteral("vat_price"), 23},
                                                                  {QStringLiteral("brutto_price"), 123}});
    return id;
}

MJpkVatDlg* TestJpkVatDlg::open(const QList<int>& ids)
{
    m_dialog = new MJpkVatDlg(m_owner.get());
    m_dialog->setIdsSelected(ids);
    m_dialog->setModal(true);
    m_dialog->show();
    return m_dialog;
}

QLabel* TestJpkVatDlg::label(const QString& text) const
{
    return childWithText<QLabel>(m_dialog, text);
}

QPushButton* TestJpkVatDlg::okButton() const
{
    return childWithText<QPushButton>(m_dialog, QStringLiteral("OK"));
}

template <class T>
T* TestJpkVatDlg::field(const char* name) const
{
    T* widget = m_dialog->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("No field %s", name);
    return widget;
}

void TestJpkVatDlg::versionFollowsTheLastIssueDate_data()
{
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");

    QTest::newRow("ostatni dzień 2017") << QStringList{"2017-12-31"} << "Wersja 2" << QDate(2017, 12, 31)
                                        << QDate(2017, 12, 31);
    QTest::newRow("pierwszy dzień 2018") << QStringList{"2018-01-01"} << "Wersja 3" << QDate(2018, 1, 1)
                                         << QDate(2018, 1, 1);
    QTest::newRow("okres przez nowy rok") << QStringList{"2018-01-05", "2017-11-20"} << "Wersja 3"
                                          << QDate(2017, 11, 20) << QDate(2018, 1, 5);
    // Variant 3 takes no period that begins before 2016-07-01.
    QTest::newRow("od czerwca 2016 do 2018") << QStringList{"2016-06-30", "2018-02-01"} << "Wersja 2"
                                             << QDate(2016, 6, 30) << QDate(2018, 2, 1);
}

void TestJpkVatDlg::versionFollowsTheLastIssueDate()
{
    QFETCH(QStringList, dates);
    QFETCH(QString, version);
    QFETCH(QDate, from);
    QFETCH(QDate, to);

    QList<int> ids;
    for (const QString& date : dates)
        ids << addDoc(date);
    open(ids);
    QCOMPARE(field<QComboBox>("version")->currentText(), version);
    QCOMPARE(m_dialog->schemaVersion(), version == QLatin1String("Wersja 2") ? 2 : 3);
    QCOMPARE(field<QDateEdit>("date_from")->date(), from);
    QCOMPARE(field<QDateEdit>("date_to")->date(), to);
    QCOMPARE(field<QComboBox>("seller")->currentText(), QStringLiteral("%1. Sprzedawca S.A.").arg(m_idSeller));
}

void TestJpkVatDlg::sellerDataThatEachVersionNeeds_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("ok3");
    QTest::addColumn<bool>("ok2");
    QTest::addColumn<bool>("fullLine2");
    QTest::addColumn<bool>("officeLine2");

    QTest::newRow("pełne dane") << "firm" << "Sprzedawca S.A." << true << true << false << false;
    QTest::newRow("bez REGON") << "regon" << "" << true << false << true << false;
    QTest::newRow("REGON z 10 cyframi") << "regon" << "1234567890" << true << false << true << false;
    QTest::newRow("NIP z błędną cyfrą kontrolną") << "nip" << "525-000-12-55" << false << false << true << false;
    QTest::newRow("NIP od zera") << "nip" << "0250001256" << false << false << true << false;
    QTest::newRow("bez nazwy firmy") << "firm" << "" << false << false << true << false;
    QTest::newRow("bez poczty") << "city_post" << "" << true << false << true << false;
    QTest::newRow("ulica z samą spacją") << "street" << " " << true << false << true << false;
    QTest::newRow("firma z samą spacją") << "firm" << " " << false << false << true << false;
    QTest::newRow("bez kodu urzędu") << "financial_office_code" << "" << true << false << false << true;
}

void TestJpkVatDlg::sellerDataThatEachVersionNeeds()
{
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(bool, ok3);
    QFETCH(bool, ok2);
    QFETCH(bool, fullLine2);
    QFETCH(bool, officeLine2);

    QSqlQuery query;
    query.prepare(QStringLiteral("UPDATE seller SET %1 = :value").arg(column));
    query.bindValue(QStringLiteral(":value"), value);
    QVERIFY(query.exec());
    open({addDoc(QStringLiteral("2024-05-06"))});
    QComboBox* version = field<QComboBox>("version");

    QCOMPARE(version->currentIndex(), 1);
    QCOMPARE(okButton()->isEnabled(), ok3);
    QCOMPARE(label(redHeader)->isVisible(), !ok3);
    QCOMPARE(label(shortLine)->isVisible(), !ok3);
    QVERIFY(!label(fullLine)->isVisible());
    QVERIFY(!field<QLineEdit>("financial_office_code")->isVisible());

    version->setCurrentIndex(0);
    QCOMPARE(okButton()->isEnabled(), ok2);
    QCOMPARE(label(redHeader)->isVisible(), !ok2);
    QCOMPARE(label(fullLine)->isVisible(), fullLine2);
    QCOMPARE(label(officeLine)->isVisible(), officeLine2);
    QVERIFY(!label(shortLine)->isVisible());
    QVERIFY(field<QLineEdit>("financial_office_code")->isVisible());
}

void TestJpkVatDlg::officeCodeAndListFollowEachOther()
{
    open({addDoc(QStringLiteral("2017-10-02"))});
    QLineEdit* code = field<QLineEdit>("financial_office_code");
    QComboBox* offices = field<QComboBox>("financial_office_static");
    QCOMPARE(code->text(), QStringLiteral("1403"));
    QCOMPARE(offices->currentText(), QStringLiteral("Urząd Skarbowy w Ciechanowie"));

    offices->setCurrentIndex(offices->findText(QStringLiteral("Urząd Skarbowy w Białobrzegach")));
    QCOMPARE(code->text(), QStringLiteral("1402"));
    offices->setCurrentIndex(0);
    QCOMPARE(code->text(), QStringLiteral("1402"));

    code->setText(QStringLiteral("14'03' OR '1'='1"));
    emit code->editingFinished();
    QCOMPARE(offices->currentIndex(), -1);
    QCOMPARE(code->text(), QStringLiteral("14'03' OR '1'='1"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT count(*) FROM financial_office_static")).toInt(), 380);

    code->clear();
    emit code->editingFinished();
    QVERIFY(label(officeLine)->isVisible());
    QVERIFY(!okButton()->isEnabled());

    code->setText(QStringLiteral("1404"));
    emit code->editingFinished();
    QCOMPARE(offices->currentText(), QStringLiteral("Urząd Skarbowy w Garwolinie"));
    QVERIFY(okButton()->isEnabled());
}

void TestJpkVatDlg::periodOutsideTheSchemaIsRefused_data()
{
    QTest::addColumn<int>("versionIndex");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("line"); // empty: the period is taken

    const QString line3 = QStringLiteral("- okres od 2016-07-01 do 2030-01-01 (innych dat schemat pliku nie przyjmuje)");
    QTest::newRow("wersja 3 przed 2016-07-01") << 1 << QDate(2016, 6, 30) << QDate(2016, 7, 31) << line3;
    QTest::newRow("wersja 3 od 2016-07-01") << 1 << QDate(2016, 7, 1) << QDate(2016, 7, 31) << QString();
    QTest::newRow("wersja 3 po 2030-01-01") << 1 << QDate(2029, 12, 1) << QDate(2030, 1, 2) << line3;
    QTest::newRow("wersja 2 przed 2016-07-01") << 0 << QDate(2016, 6, 1) << QDate(2016, 6, 30) << QString();
    QTest::newRow("wersja 2 po 2030-12-31") << 0 << QDate(2030, 12, 1) << QDate(2031, 1, 1)
                                            << QStringLiteral("- okres od 1900-01-01 do 2030-12-31 (innych dat "
                                                              "schemat pliku nie przyjmuje)");
}

void TestJpkVatDlg::periodOutsideTheSchemaIsRefused()
{
    QFETCH(int, versionIndex);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, line);

    open({addDoc(QStringLiteral("2024-03-10"))});
    field<QComboBox>("version")->setCurrentIndex(versionIndex);
    field<QDateEdit>("date_from")->setDate(from);
    field<QDateEdit>("date_to")->setDate(to);
    QCOMPARE(okButton()->isEnabled(), line.isEmpty());
    QCOMPARE(label(redHeader)->isVisible(), !line.isEmpty());
    if (!line.isEmpty())
        QVERIFY(label(line)->isVisible());
}

void TestJpkVatDlg::withoutSellerOkStaysDisabled_data()
{
    QTest::addColumn<bool>("selected");
    QTest::newRow("sprzedawca usunięty") << true;
    QTest::newRow("nic nie zaznaczono") << false;
}

void TestJpkVatDlg::withoutSellerOkStaysDisabled()
{
    QFETCH(bool, selected);
    const int id = addDoc(QStringLiteral("2024-05-06"));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM seller")));
    open(selected ? QList<int>{id} : QList<int>{});
    QCOMPARE(field<QComboBox>("seller")->count(), 0);
    QVERIFY(!okButton()->isEnabled());
}

void TestJpkVatDlg::cancelledFileDialogClosesTheDialog()
{
    open({addDoc(QStringLiteral("2024-05-06"))});
    QVERIFY(okButton()->isEnabled());
    okButton()->click();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), 0);
    QVERIFY(MMessageBox::takeShown().isEmpty());
}

void TestJpkVatDlg::okWritesTheChosenFile_data()
{
    QTest::addColumn<int>("versionIndex");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("schema");

    QTest::newRow("bez rozszerzenia, wersja 3") << 1 << "jpk" << "jpk.xml" << "Schemat_JPK_VAT(3)_v1-1.xsd";
    QTest::newRow("z rozszerzeniem, wersja 2") << 0 << "jpk.txt" << "jpk.txt" << "Schemat_JPK_VAT(2)_v1-0.xsd";
}

void TestJpkVatDlg::okWritesTheChosenFile()
{
    QFETCH(int, versionIndex);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QString, schema);

    const QString folder = m_db->path(QStringLiteral("out_") + QString::number(versionIndex));
    QVERIFY(QDir().mkpath(folder));
    const QString earlier = m_db->path(QStringLiteral("earlier"));
    QVERIFY(QDir().mkpath(earlier));
    MOptions::setOption(QStringLiteral("EXPORT_JPK_PATH"), earlier);

    open({addDoc(QStringLiteral("2024-05-06")), addDoc(QStringLiteral("2024-05-07"))});
    field<QComboBox>("version")->setCurrentIndex(versionIndex);
    MFileDialog::setNextFileName(folder + QLatin1Char('/') + chosen);
    okButton()->click();

    QCOMPARE(MFileDialog::lastFolder(), earlier);
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(MMessageBox::takeShown().isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{written});
    const QString file = folder + QLatin1Char('/') + written;
    const QString errors = MJpkTestFile::schemaErrors(file, schema);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
    QCOMPARE(MJpkTestFile::elements(file, QStringLiteral("SprzedazCtrl")),
             QStringList{"LiczbaWierszySprzedazy=2;PodatekNalezny=46.00"});
    QCOMPARE(MOptions::option(QStringLiteral("EXPORT_JPK_PATH")), folder);
    QCOMPARE(MTestDatabase::storedOption(QStringLiteral("EXPORT_JPK_PATH")), folder);
}

void TestJpkVatDlg::onlySkippedDocumentsAreToldAndWriteNothing()
{
    const QString folder = m_db->path(QStringLiteral("skipped"));
    QVERIFY(QDir().mkpath(folder));
    open({addDoc(QStringLiteral("2024-05-06"), 1), addDoc(QStringLiteral("2024-05-06"), 6),
          addDoc(QStringLiteral("2024-05-06"), 0, 1)});
    MFileDialog::setNextFileName(folder + QStringLiteral("/jpk.xml"));
    okButton()->click();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Warning);
    QCOMPARE(shown[0].title, QStringLiteral("Eksport do JPK_VAT"));
    QVERIFY2(shown[0].text.startsWith(QStringLiteral("Żaden z zaznaczonych dokumentów nie wchodzi do JPK_VAT")),
             qPrintable(shown[0].text));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
    QVERIFY(!m_dialog->isVisible());
}

void TestJpkVatDlg::unwritableTargetIsToldAndWritesNothing()
{
    const QString folder = m_db->path(QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/jpk.xml")));
    open({addDoc(QStringLiteral("2024-05-06"))});
    MFileDialog::setNextFileName(folder + QStringLiteral("/jpk.xml"));
    okButton()->click();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, QMessageBox::Critical);
    QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(folder + QStringLiteral("/jpk.xml"))),
             qPrintable(shown[0].text));
    QVERIFY(QFileInfo(folder + QStringLiteral("/jpk.xml")).isDir());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
}

INVOICE_TEST_MAIN(TestJpkVatDlg)
#include "tst_jpkvatdlg.moc"
