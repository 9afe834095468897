#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestOwner.h"
#include "parties/MBuyerDlg.h"
#include "parties/MOptionalDateEdit.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <memory>

// The buyer dialog in both modes, against a database made by the schema script.
class TestBuyerDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newBuyerStartsWithDefaults();
    void createdAndEditedBuyerLandsInItsTables();
    void contactAddressFollowsAddressKind_data();
    void contactAddressFollowsAddressKind();
    void referenceBoxes_data();
    void referenceBoxes();
    void payFormRules_data();
    void payFormRules();
    void storedDefaultsWinOverPayFormRule();
    void discount_data();
    void discount();
    void documentDate_data();
    void documentDate();
    void invoiceModeWritesOnlyWorkingCopies();
    void failedWriteKeepsDialogOpen();
    void buyerDeletedMeanwhileIsRefused();

private:
    MBuyerDlg* openDialog(int id, bool invoiceMode = false);
    template <class T>
    T* field(const char* name) const;
    void clickOk();
    QVariant buyerValue(int id, const QString& column) const;

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MTestOwner> m_owner;
    MBuyerDlg* m_dialog = nullptr;
};

namespace {

const int polandId = 150;
const int hiddenCountryId = 26; // Birma

// A stored buyer named `firm`, with `values` in the other columns.
int insertBuyer(const QString& firm, const QVariantMap& values = QVariantMap())
{
    QVariantMap row = values;
    row.insert(QStringLiteral("firm"), firm);
    return int(MTestDatabase::insert(QStringLiteral("buyer"), row));
}

} // namespace

void TestBuyerDlg::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestBuyerDlg::init()
{
    for (const char* table : {"buyer", "buyer_address", "buyer_defaults", "__invoice_buyer",
                              "__invoice_buyer_address"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    m_owner = std::make_unique<MTestOwner>();
    MMessageBox::takeShown();
}

void TestBuyerDlg::cleanup()
{
    m_dialog = nullptr;
    m_owner.reset();
}

MBuyerDlg* TestBuyerDlg::openDialog(int id, bool invoiceMode)
{
    m_dialog = new MBuyerDlg(m_owner.get(), invoiceMode);
    m_dialog->setIdRecord(id);
    m_dialog->show();
    return m_dialog;
}

template <class T>
T* TestBuyerDlg::field(const char* name) const
{
    T* widget = m_dialog->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("No field %s", name);
    return widget;
}

void TestBuyerDlg::clickOk()
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

QVariant TestBuyerDlg::buyerValue(int id, const QString& column) const
{
    return MTestDatabase::value(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM buyer WHERE id = ")
                                + QString::number(id));
}

void TestBuyerDlg::newBuyerStartsWithDefaults()
{
    openDialog(0);
    QCOMPARE(field<QLineEdit>("reduct")->text(), QStringLiteral("0,00"));
    QCOMPARE(field<QComboBox>("id_country")->currentText(), QStringLiteral("Polska"));
    QCOMPARE(field<QComboBox>("id_province")->currentText(), QString());
    QCOMPARE(field<QComboBox>("person_document_id_kind")->currentText(), QString());
    QCOMPARE(field<QComboBox>("id_pay_form")->currentText(), QString());
    QVERIFY(!field<MOptionalDateEdit>("person_document_date")->optionalDate().isValid());
    QVERIFY(!field<QCheckBox>("pay_in_days")->isChecked());
    QVERIFY(field<QCheckBox>("pay_in_days")->isEnabled());
    QVERIFY(!field<QCheckBox>("payed")->isChecked());
    QVERIFY(!field<QCheckBox>("date_sell_in_months")->isChecked());
    QCOMPARE(field<QComboBox>("address_kind")->currentIndex(), 0);
    QCOMPARE(field<QTabWidget>("address_tabs")->count(), 1);
    QCOMPARE(field<QTabWidget>("pages")->count(), 6);

    clickOk();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 1);
    const int id = MTestDatabase::value(QStringLiteral("SELECT id FROM buyer")).toInt();
    QCOMPARE(buyerValue(id, QStringLiteral("firm")).toString(), QString());
    QCOMPARE(buyerValue(id, QStringLiteral("id_country")).toInt(), polandId);
    QCOMPARE(buyerValue(id, QStringLiteral("id_province")).toInt(), 0);
    QCOMPARE(buyerValue(id, QStringLiteral("reduct")).toDouble(), 0.0);
    QCOMPARE(buyerValue(id, QStringLiteral("id_address_contact")).toInt(), 0);
    QVERIFY(buyerValue(id, QStringLiteral("person_document_date")).isNull());
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_address")), 0);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id_pay_form || day_period || payed || "
                                                 "date_sell_in_months || pay_in_days FROM buyer_defaults "
                                                 "WHERE id_buyer = ")
                                  + QString::number(id))
                 .toString(),
             QStringLiteral("00000"));
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{3, id}}));
}

void TestBuyerDlg::createdAndEditedBuyerLandsInItsTables()
{
    openDialog(0);
    field<QLineEdit>("firm")->setText(QStringLiteral("Żółta Łódź Sp. z o.o. "));
    field<QLineEdit>("firm_short")->setText(QStringLiteral("Żółta Łódź"));
    field<QLineEdit>("nip")->setText(QStringLiteral("123-456-32-18"));
    field<QLineEdit>("regon")->setText(QStringLiteral("123456785"));
    field<QLineEdit>("bank")->setText(QStringLiteral("Bank Śląski"));
    field<QLineEdit>("bank_account")->setText(QStringLiteral("61 1090 1014 0000 0712 1981 2874"));
    field<QLineEdit>("address")->setText(QStringLiteral("ul. Źródlana 5"));
    field<QLineEdit>("zipcode")->setText(QStringLiteral("40-001"));
    field<QLineEdit>("city")->setText(QStringLiteral("Katowice"));
    auto* province = field<QComboBox>("id_province");
    province->setCurrentIndex(province->findText(QStringLiteral("śląskie")));
    field<QLineEdit>("phone")->setText(QStringLiteral("32 123 45 67"));
    field<QLineEdit>("fax")->setText(QStringLiteral("32 123 45 68"));
    field<QLineEdit>("email")->setText(QStringLiteral("biuro@lodz.example"));
    field<QLineEdit>("www")->setText(QStringLiteral("lodz.example"));
    field<QLineEdit>("permit_person_firstname")->setText(QStringLiteral("Łucja"));
    field<QLineEdit>("permit_person_secondname")->setText(QStringLiteral("Ćwik"));
    field<QLineEdit>("permit_person_pesel")->setText(QStringLiteral("44051401458"));
    auto* documentKind = field<QComboBox>("person_document_id_kind");
    documentKind->setCurrentIndex(documentKind->findText(QStringLiteral("paszport")));
    field<QLineEdit>("person_document_number")->setText(QStringLiteral("AB 123456"));
    field<QLineEdit>("person_document_by")->setText(QStringLiteral("Wojewoda śląski"));
    field<MOptionalDateEdit>("person_document_date")->setOptionalDate(QDate(2019, 3, 7));
    field<QComboBox>("address_kind")->setCurrentIndex(1);
    QCOMPARE(field<QTabWidget>("address_tabs")->count(), 2);
    field<QLineEdit>("contact_name")->setText(QStringLiteral("Dział księgowości"));
    field<QLineEdit>("contact_address")->setText(QStringLiteral("ul. Polna 1"));
    field<QLineEdit>("contact_zipcode")->setText(QStringLiteral("00-950"));
    field<QLineEdit>("contact_city")->setText(QStringLiteral("Warszawa"));
    auto* contactProvince = field<QComboBox>("contact_id_province");
    contactProvince->setCurrentIndex(contactProvince->findText(QStringLiteral("mazowieckie")));
    auto* contactCountry = field<QComboBox>("contact_id_country");
    contactCountry->setCurrentIndex(contactCountry->findText(QStringLiteral("Niemcy")));
    auto* payForm = field<QComboBox>("id_pay_form");
    payForm->setCurrentIndex(payForm->findText(QStringLiteral("przelew")));
    field<QSpinBox>("day_period")->setValue(14);
    field<QLineEdit>("pay_form_text")->setText(QStringLiteral("przelewem"));
    field<QLineEdit>("pay_text")->setText(QStringLiteral("14 dni"));
    field<QCheckBox>("date_sell_in_months")->setChecked(true);
    field<QPlainTextEdit>("additional")->setPlainText(QStringLiteral("Stały klient\nbez upustów"));
    clickOk();

    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 1);
    const int id = MTestDatabase::value(QStringLiteral("SELECT id FROM buyer")).toInt();
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{3, id}}));
    const QString buyerRow = MTestDatabase::value(
        QStringLiteral("SELECT firm || '|' || firm_short || '|' || nip || '|' || regon || '|' || bank || '|' || "
                       "bank_account || '|' || address || '|' || zipcode || '|' || city || '|' || id_province || "
                       "'|' || id_country || '|' || phone || '|' || fax || '|' || email || '|' || www || '|' || "
                       "permit_person_firstname || '|' || permit_person_secondname || '|' || "
                       "permit_person_pesel || '|' || reduct || '|' || additional || '|' || "
                       "person_document_id_kind || '|' || person_document_number || '|' || "
                       "person_document_by || '|' || person_document_date FROM buyer")).toString();
    QCOMPARE(buyerRow,
             QStringLiteral("Żółta Łódź Sp. z o.o. |Żółta Łódź|123-456-32-18|123456785|Bank Śląski|"
                            "61 1090 1014 0000 0712 1981 2874|ul. Źródlana 5|40-001|Katowice|12|150|"
                            "32 123 45 67|32 123 45 68|biuro@lodz.example|lodz.example|Łucja|Ćwik|44051401458|0|"
                            "Stały klient\nbez upustów|2|AB 123456|Wojewoda śląski|2019-03-07"));
    const int contactId = buyerValue(id, QStringLiteral("id_address_contact")).toInt();
    QVERIFY(contactId > 0);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT ba.name || '|' || address || '|' || zipcode || '|' || "
                                                 "city || '|' || id_province || '|' || c.name FROM buyer_address "
                                                 "ba JOIN country c ON c.id = ba.id_country WHERE ba.id = ")
                                  + QString::number(contactId))
                 .toString(),
             QStringLiteral("Dział księgowości|ul. Polna 1|00-950|Warszawa|7|Niemcy"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id_pay_form || '|' || payed || '|' || pay_text || '|' || "
                                                 "pay_form_text || '|' || day_period || '|' || "
                                                 "date_sell_in_months || '|' || pay_in_days FROM buyer_defaults "
                                                 "WHERE id_buyer = ")
                                  + QString::number(id))
                 .toString(),
             QStringLiteral("2|0|14 dni|przelewem|14|1|1"));

    // Opened again, the form shows what was stored; a change updates the same rows.
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE buyer SET time_modify = '2000-01-01 00:00:00'")));
    m_owner->notices.clear();
    openDialog(id);
    QCOMPARE(field<QLineEdit>("firm")->text(), QStringLiteral("Żółta Łódź Sp. z o.o. "));
    QCOMPARE(field<QComboBox>("id_province")->currentText(), QStringLiteral("śląskie"));
    QCOMPARE(field<QComboBox>("person_document_id_kind")->currentText(), QStringLiteral("paszport"));
    QCOMPARE(field<MOptionalDateEdit>("person_document_date")->optionalDate(), QDate(2019, 3, 7));
    QCOMPARE(field<QTabWidget>("address_tabs")->count(), 2);
    QCOMPARE(field<QLineEdit>("contact_city")->text(), QStringLiteral("Warszawa"));
    QCOMPARE(field<QComboBox>("contact_id_country")->currentText(), QStringLiteral("Niemcy"));
    QCOMPARE(field<QComboBox>("id_pay_form")->currentText(), QStringLiteral("przelew"));
    QCOMPARE(field<QSpinBox>("day_period")->value(), 14);
    QVERIFY(field<QCheckBox>("pay_in_days")->isChecked());
    QCOMPARE(field<QPlainTextEdit>("additional")->toPlainText(), QStringLiteral("Stały klient\nbez upustów"));

    field<QLineEdit>("firm")->setText(QStringLiteral("Żółta Łódź S.A."));
    field<QLineEdit>("contact_city")->setText(QStringLiteral("Kraków"));
    field<QSpinBox>("day_period")->setValue(30);
    clickOk();
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 1);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_address")), 1);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_defaults")), 1);
    QCOMPARE(buyerValue(id, QStringLiteral("firm")).toString(), QStringLiteral("Żółta Łódź S.A."));
    QVERIFY(buyerValue(id, QStringLiteral("time_modify")).toString() > QStringLiteral("2000-01-01 00:00:00"));
    QCOMPARE(buyerValue(id, QStringLiteral("id_address_contact")).toInt(), contactId);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT city FROM buyer_address")).toString(),
             QStringLiteral("Kraków"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT day_period FROM buyer_defaults")).toInt(), 30);
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{3, id}}));
}

void TestBuyerDlg::contactAddressFollowsAddressKind_data()
{
    QTest::addColumn<bool>("storedContact");
    QTest::addColumn<QList<int>>("kinds"); // address kinds chosen in turn before OK
    QTest::addColumn<int>("addressRows");
    QTest::addColumn<bool>("referenced");

    QTest::newRow("kind 1 on a buyer without one inserts an empty row") << false << QList<int>{1} << 1 << true;
    QTest::newRow("kind 0 on a buyer with one deletes it") << true << QList<int>{0} << 0 << false;
    QTest::newRow("kind 1 and back to 0 before OK stores nothing") << false << QList<int>{1, 0} << 0 << false;
    QTest::newRow("kind 1 kept on a buyer with one updates it") << true << QList<int>{} << 1 << true;
}

void TestBuyerDlg::contactAddressFollowsAddressKind()
{
    QFETCH(bool, storedContact);
    QFETCH(QList<int>, kinds);
    QFETCH(int, addressRows);
    QFETCH(bool, referenced);

    int contactId = 0;
    if (storedContact) {
        QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO buyer_address (city) VALUES ('Gdańsk')")));
        contactId = MTestDatabase::value(QStringLiteral("SELECT MAX(id) FROM buyer_address")).toInt();
    }
    const int id = insertBuyer(QStringLiteral("Firma"), {{QStringLiteral("id_address_contact"), contactId}});
    openDialog(id);
    QCOMPARE(field<QComboBox>("address_kind")->currentIndex(), storedContact ? 1 : 0);
    for (int kind : kinds)
        field<QComboBox>("address_kind")->setCurrentIndex(kind);
    clickOk();

    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_address")), addressRows);
    const int storedId = buyerValue(id, QStringLiteral("id_address_contact")).toInt();
    QCOMPARE(storedId > 0, referenced);
    if (referenced) {
        QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT id FROM buyer_address")).toInt(), storedId);
        QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT city FROM buyer_address")).toString(),
                 storedContact ? QStringLiteral("Gdańsk") : QString());
    }
}

void TestBuyerDlg::referenceBoxes_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("storedCountry");
    QTest::addColumn<QString>("shownCountry");
    QTest::addColumn<QString>("chosenProvince");
    QTest::addColumn<int>("savedCountry");
    QTest::addColumn<QString>("savedProvinceName");

    QTest::newRow("no country shows and saves Polska") << QString() << 0 << "Polska" << QString() << polandId
                                                       << QString();
    QTest::newRow("hidden country is shown as none and kept")
        << QString() << hiddenCountryId << QString() << QString() << hiddenCountryId << QString();
    QTest::newRow("a name with an apostrophe is found")
        << "INSERT INTO province (id, name) VALUES (90, 'Land O''Brien')" << polandId << "Polska"
        << "Land O'Brien" << polandId << "Land O'Brien";
    QTest::newRow("Polish letters in a name")
        << QString() << 41 << "Czechy" << "łódzkie" << 41 << "łódzkie";
}

void TestBuyerDlg::referenceBoxes()
{
    QFETCH(QString, setup);
    QFETCH(int, storedCountry);
    QFETCH(QString, shownCountry);
    QFETCH(QString, chosenProvince);
    QFETCH(int, savedCountry);
    QFETCH(QString, savedProvinceName);

    if (!setup.isEmpty())
        QVERIFY(MTestDatabase::exec(setup));
    const int id = insertBuyer(QStringLiteral("Firma"), {{QStringLiteral("id_country"), storedCountry}});
    openDialog(id);
    auto* country = field<QComboBox>("id_country");
    QCOMPARE(country->currentText(), shownCountry);
    if (!chosenProvince.isEmpty()) {
        auto* province = field<QComboBox>("id_province");
        const int index = province->findText(chosenProvince);
        QVERIFY(index > 0);
        province->setCurrentIndex(index);
    }
    clickOk();
    QCOMPARE(buyerValue(id, QStringLiteral("id_country")).toInt(), savedCountry);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT IFNULL(p.name, '') FROM buyer b LEFT JOIN province p "
                                                 "ON p.id = b.id_province WHERE b.id = ")
                                  + QString::number(id))
                 .toString(),
             savedProvinceName);
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM province WHERE id = 90")));
}

void TestBuyerDlg::payFormRules_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<bool>("payInDaysBefore");
    QTest::addColumn<bool>("payInDays");
    QTest::addColumn<bool>("payInDaysEnabled");
    QTest::addColumn<bool>("payed");

    QTest::newRow("przelew ticks the term in days") << QStringList{"przelew"} << false << true << true << false;
    QTest::newRow("gotówka clears it") << QStringList{"gotówka"} << true << false << true << false;
    QTest::newRow("barter disables it unchanged") << QStringList{"barter"} << true << true << false << false;
    QTest::newRow("back to empty enables it unchanged")
        << QStringList{"barter", ""} << true << true << true << false;
    QTest::newRow("a form with the paid text ticks it") << QStringList{"karta"} << false << false << true << true;
    QTest::newRow("the paid text stays ticked after another form")
        << QStringList{"karta", "czek"} << false << false << true << true;
}

void TestBuyerDlg::payFormRules()
{
    QFETCH(QStringList, choices);
    QFETCH(bool, payInDaysBefore);
    QFETCH(bool, payInDays);
    QFETCH(bool, payInDaysEnabled);
    QFETCH(bool, payed);

    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE pay_form SET add_text_payed = (id = 5)")));
    openDialog(0);
    field<QCheckBox>("pay_in_days")->setChecked(payInDaysBefore);
    auto* payForm = field<QComboBox>("id_pay_form");
    for (const QString& choice : choices) {
        const int index = payForm->findText(choice);
        QVERIFY(index >= 0);
        payForm->setCurrentIndex(index);
    }
    QCOMPARE(field<QCheckBox>("pay_in_days")->isChecked(), payInDays);
    QCOMPARE(field<QCheckBox>("pay_in_days")->isEnabled(), payInDaysEnabled);
    QCOMPARE(field<QCheckBox>("payed")->isChecked(), payed);
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE pay_form SET add_text_payed = 0")));
}

void TestBuyerDlg::storedDefaultsWinOverPayFormRule()
{
    // A hidden pay form stays choosable for the buyer that uses it; its rule would tick
    // the term in days and the paid text, the stored flags say otherwise.
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE pay_form SET hidden = 1, add_text_payed = 1 WHERE id = 2")));
    const int id = insertBuyer(QStringLiteral("Firma"));
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO buyer_defaults (id_buyer, id_pay_form, payed, "
                                               "pay_text, pay_form_text, day_period, date_sell_in_months, "
                                               "pay_in_days) VALUES (")
                                + QString::number(id) + QStringLiteral(", 2, 0, 'termin', 'forma', 21, 1, 0)")));
    openDialog(id);
    QCOMPARE(field<QComboBox>("id_pay_form")->currentText(), QStringLiteral("przelew"));
    QVERIFY(!field<QCheckBox>("pay_in_days")->isChecked());
    QVERIFY(field<QCheckBox>("pay_in_days")->isEnabled());
    QVERIFY(!field<QCheckBox>("payed")->isChecked());
    QVERIFY(field<QCheckBox>("date_sell_in_months")->isChecked());
    QCOMPARE(field<QSpinBox>("day_period")->value(), 21);
    QCOMPARE(field<QLineEdit>("pay_text")->text(), QStringLiteral("termin"));
    QCOMPARE(field<QLineEdit>("pay_form_text")->text(), QStringLiteral("forma"));
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE pay_form SET hidden = 0, add_text_payed = 0")));
}

void TestBuyerDlg::discount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("stored");

    QTest::newRow("decimal comma") << "12,5" << "12,50" << 12.5;
    QTest::newRow("decimal point") << "7.25" << "7,25" << 7.25;
    QTest::newRow("negative") << "-3" << "-3,00" << -3.0;
    QTest::newRow("empty") << "" << "0,00" << 0.0;
}

void TestBuyerDlg::discount()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, stored);

    openDialog(0);
    auto* reduct = field<QLineEdit>("reduct");
    reduct->clear();
    QTest::keyClicks(reduct, typed);
    QTest::keyClick(reduct, Qt::Key_Return);
    QCOMPARE(reduct->text(), shown);
    clickOk();
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT reduct FROM buyer")).toDouble(), stored);
}

void TestBuyerDlg::documentDate_data()
{
    QTest::addColumn<QString>("storedDate"); // empty: NULL
    QTest::addColumn<QDate>("shownDate");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QVariant>("savedDate");

    QTest::newRow("no date stays empty") << QString() << QDate() << false << QVariant();
    QTest::newRow("a date is kept") << "2015-11-30" << QDate(2015, 11, 30) << false
                                    << QVariant(QStringLiteral("2015-11-30"));
    QTest::newRow("Delete empties a date") << "2015-11-30" << QDate(2015, 11, 30) << true << QVariant();
}

void TestBuyerDlg::documentDate()
{
    QFETCH(QString, storedDate);
    QFETCH(QDate, shownDate);
    QFETCH(bool, clear);
    QFETCH(QVariant, savedDate);

    const QVariant date = storedDate.isEmpty() ? QVariant() : QVariant(storedDate);
    const int id = insertBuyer(QStringLiteral("Firma"), {{QStringLiteral("person_document_date"), date}});
    openDialog(id);
    auto* dateEdit = field<MOptionalDateEdit>("person_document_date");
    QCOMPARE(dateEdit->optionalDate(), shownDate);
    if (clear)
        QTest::keyClick(dateEdit, Qt::Key_Delete);
    clickOk();
    const QVariant saved = buyerValue(id, QStringLiteral("person_document_date"));
    QCOMPARE(saved.isNull(), savedDate.isNull());
    if (!savedDate.isNull())
        QCOMPARE(saved.toString(), savedDate.toString());
}

void TestBuyerDlg::invoiceModeWritesOnlyWorkingCopies()
{
    const int buyerId = insertBuyer(QStringLiteral("Oryginał"), {{QStringLiteral("additional"), QStringLiteral("uwagi")}});
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO __invoice_buyer_address (id, city) VALUES (0, 'Opole')")));
    const int addressCopy = MTestDatabase::value(QStringLiteral("SELECT MAX(__id) FROM __invoice_buyer_address")).toInt();
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO __invoice_buyer (id, firm, reduct, additional, "
                                               "id_address_contact, time_create, time_modify) VALUES (")
                                + QString::number(buyerId) + QStringLiteral(", 'Kopia', 5, 'notatka', ")
                                + QString::number(addressCopy)
                                + QStringLiteral(", current_timestamp, current_timestamp)")));
    const int copyId = MTestDatabase::value(QStringLiteral("SELECT MAX(__id) FROM __invoice_buyer")).toInt();
    const int defaultsBefore = MTestDatabase::count(QStringLiteral("buyer_defaults"));

    openDialog(copyId, true);
    QCOMPARE(field<QTabWidget>("pages")->count(), 5);
    QVERIFY(!m_dialog->findChild<QPlainTextEdit*>(QStringLiteral("additional")));
    QCOMPARE(field<QLineEdit>("firm")->text(), QStringLiteral("Kopia"));
    QCOMPARE(field<QLineEdit>("reduct")->text(), QStringLiteral("5,00"));
    QCOMPARE(field<QLineEdit>("contact_city")->text(), QStringLiteral("Opole"));
    QCOMPARE(field<QComboBox>("id_pay_form")->currentText(), QString());

    field<QLineEdit>("firm")->setText(QStringLiteral("Kopia poprawiona"));
    field<QLineEdit>("contact_city")->setText(QStringLiteral("Nysa"));
    field<QLineEdit>("reduct")->setText(QStringLiteral("7,5"));
    auto* payForm = field<QComboBox>("id_pay_form");
    payForm->setCurrentIndex(payForm->findText(QStringLiteral("przelew")));
    clickOk();

    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{{3, copyId}}));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT firm || '|' || reduct || '|' || additional FROM "
                                                 "__invoice_buyer"))
                 .toString(),
             QStringLiteral("Kopia poprawiona|7.5|notatka"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT city FROM __invoice_buyer_address")).toString(),
             QStringLiteral("Nysa"));
    QCOMPARE(buyerValue(buyerId, QStringLiteral("firm || additional")).toString(), QStringLiteral("Oryginałuwagi"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 1);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_address")), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_defaults")), defaultsBefore);
}

void TestBuyerDlg::failedWriteKeepsDialogOpen()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER refuse_buyer BEFORE INSERT ON buyer "
                                               "BEGIN SELECT RAISE(ABORT, 'dysk pełny'); END")));
    openDialog(0);
    field<QLineEdit>("firm")->setText(QStringLiteral("Nowa firma"));
    field<QComboBox>("address_kind")->setCurrentIndex(1);
    field<QLineEdit>("contact_city")->setText(QStringLiteral("Radom"));
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY(shown.first().text.contains(QStringLiteral("dysk pełny")));
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(field<QLineEdit>("firm")->text(), QStringLiteral("Nowa firma"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_address")), 0);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_defaults")), 0);

    // Once the cause is gone, OK again stores the buyer once, with one contact address.
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER refuse_buyer")));
    clickOk();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 1);
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer_address")), 1);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT ba.city FROM buyer b JOIN buyer_address ba ON "
                                                 "ba.id = b.id_address_contact"))
                 .toString(),
             QStringLiteral("Radom"));
    QCOMPARE(m_owner->notices.size(), 1);
}

void TestBuyerDlg::buyerDeletedMeanwhileIsRefused()
{
    const int id = insertBuyer(QStringLiteral("Stara firma"));
    openDialog(id);
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM buyer")));
    field<QLineEdit>("firm")->setText(QStringLiteral("Nowa firma"));
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY2(shown.first().text.contains(
                 QStringLiteral("Kontrahent o identyfikatorze %1 nie istnieje już w bazie danych.").arg(id)),
             qPrintable(shown.first().text));
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(MTestDatabase::count(QStringLiteral("buyer")), 0);
}

INVOICE_TEST_MAIN(TestBuyerDlg)
#include "tst_buyerdlg.moc"
