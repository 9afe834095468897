#include "../parties/MTestOwner.h"
#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "catalog/MCurrencyRatingDlg.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

// The rating dialog in both modes: what a new rating starts as, what is stored, the refusal
// of a rating of 0 or less, and a write the database refuses.
class TestCurrencyRatingDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newRatingIsOneEuroInZloty();
    void ratingIsStoredAsTyped_data();
    void ratingIsStoredAsTyped();
    void valueFieldTakesOnlyAmounts_data();
    void valueFieldTakesOnlyAmounts();
    void valueNotAboveZeroIsRefused_data();
    void valueNotAboveZeroIsRefused();
    void editedRatingIsLoadedAndUpdated();
    void invoiceModeChangesOnlyItsWorkingRow();
    void refusedWriteKeepsTheDialogOpen_data();
    void refusedWriteKeepsTheDialogOpen();

private:
    MCurrencyRatingDlg* openDialog(int id, bool invoiceMode = false);
    template <class T>
    T* field(const char* name) const;
    void clickOk();
    static QStringList ratings(const QString& table = QStringLiteral("currency_rating"));

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MTestOwner> m_owner;
    MCurrencyRatingDlg* m_dialog = nullptr;
};

namespace {

const char* const storedRating =
    "INSERT INTO currency_rating (id, bank_name, id_currency_from, id_currency_to, rating_date, input_kind, "
    "currency_amount_from, currency_value, table_name, time_create, time_modify) VALUES "
    "(3, 'NBP', 2, 0, '2025-11-04', 0, 10, 40.1234, '213/A/NBP/2025', '2020-01-01 00:00:00', "
    "'2020-01-01 00:00:00')";

} // namespace

void TestCurrencyRatingDlg::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
}

void TestCurrencyRatingDlg::init()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse")));
    for (const char* table : {"currency_rating", "__invoice_currency_rating"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    QVERIFY(MTestDatabase::exec(QString::fromUtf8(storedRating)));
    m_owner = std::make_unique<MTestOwner>();
    MMessageBox::takeShown();
}

void TestCurrencyRatingDlg::cleanup()
{
    m_dialog = nullptr;
    m_owner.reset();
}

MCurrencyRatingDlg* TestCurrencyRatingDlg::openDialog(int id, bool invoiceMode)
{
    m_dialog = new MCurrencyRatingDlg(m_owner.get(), invoiceMode);
    m_dialog->setIdRecord(id);
    m_dialog->show();
    return m_dialog;
}

template <class T>
T* TestCurrencyRatingDlg::field(const char* name) const
{
    T* widget = m_dialog->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("No field %s", name);
    return widget;
}

void TestCurrencyRatingDlg::clickOk()
{
    for (QPushButton* button : m_dialog->findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String("OK")) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL("no OK button");
}

// Each rating as "date|bank|amount|from|value|to|table", by id.
QStringList TestCurrencyRatingDlg::ratings(const QString& table)
{
    return MTestDatabase::rows(QStringLiteral("SELECT r.rating_date, r.bank_name, r.currency_amount_from, c1.symbol, "
                                              "r.currency_value, c2.symbol, r.table_name FROM ")
                               + table
                               + QStringLiteral(" r LEFT JOIN currency c1 ON c1.id = r.id_currency_from "
                                                "LEFT JOIN currency c2 ON c2.id = r.id_currency_to ORDER BY r.id"));
}

void TestCurrencyRatingDlg::newRatingIsOneEuroInZloty()
{
    openDialog(0);
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Notowanie walutowe"));
    QCOMPARE(field<QDateEdit>("rating_date")->date(), QDate::currentDate());
    QCOMPARE(field<QComboBox>("currency_amount_from")->currentText(), QStringLiteral("1"));
    QCOMPARE(field<QComboBox>("id_currency_from")->currentText(), QStringLiteral("EUR"));
    QCOMPARE(field<QComboBox>("id_currency_to")->currentText(), QStringLiteral("PLN"));
    QVERIFY(!field<QComboBox>("id_currency_to")->isEnabled());
    QCOMPARE(field<QLineEdit>("currency_value")->text(), QStringLiteral("1,0000"));
    QCOMPARE(field<QLineEdit>("bank_name")->text(), QString());

    clickOk();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    QCOMPARE(ratings().last(), today + QStringLiteral("||1|EUR|1|PLN|"));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT input_kind FROM currency_rating WHERE id <> 3")).toInt(), 0);
}

void TestCurrencyRatingDlg::ratingIsStoredAsTyped_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("stored"); // amount|from|value|to

    QTest::newRow("decimal comma") << "1" << "EUR" << "2,6543" << "1|EUR|2.6543|PLN";
    QTest::newRow("decimal point") << "1" << "EUR" << "2.6543" << "1|EUR|2.6543|PLN";
    QTest::newRow("100 JPY") << "100" << "JPY" << "2,6543" << "100|JPY|2.6543|PLN";
    QTest::newRow("10000 with a leading plus") << "10000" << "GBP" << "+51234,5" << "10000|GBP|51234.5|PLN";
    QTest::newRow("smallest value") << "1000" << "SEK" << "0,0001" << "1000|SEK|0.0001|PLN";
}

void TestCurrencyRatingDlg::ratingIsStoredAsTyped()
{
    QFETCH(QString, amount);
    QFETCH(QString, currency);
    QFETCH(QString, value);
    QFETCH(QString, stored);
    openDialog(0);
    field<QDateEdit>("rating_date")->setDate(QDate(2026, 3, 9));
    field<QComboBox>("currency_amount_from")->setCurrentText(amount);
    field<QComboBox>("id_currency_from")->setCurrentText(currency);
    field<QLineEdit>("currency_value")->setText(value);
    field<QLineEdit>("bank_name")->setText(QStringLiteral("Bank 'Śląski'"));
    field<QLineEdit>("table_name")->setText(QStringLiteral("12/A"));
    clickOk();

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(MMessageBox::takeShown().size(), 0);
    const QStringList rows = ratings();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.last(), QStringLiteral("2026-03-09|Bank 'Śląski'|") + stored + QStringLiteral("|12/A"));
    const int id = MTestDatabase::value(QStringLiteral("SELECT MAX(id) FROM currency_rating")).toInt();
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{qMakePair(10, id)}));
}

void TestCurrencyRatingDlg::valueFieldTakesOnlyAmounts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("four decimals") << "2,6543" << "2,6543";
    QTest::newRow("fifth decimal refused") << "2,65431" << "2,6543";
    QTest::newRow("ten integer digits") << "12345678901" << "1234567890";
    QTest::newRow("leading minus") << "-1.5" << "-1.5";
    QTest::newRow("letters refused") << "4a,1" << "4,1";
}

void TestCurrencyRatingDlg::valueFieldTakesOnlyAmounts()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    openDialog(0);
    auto* value = field<QLineEdit>("currency_value");
    value->clear();
    QTest::keyClicks(value, typed);
    QCOMPARE(value->text(), shown);
}

void TestCurrencyRatingDlg::valueNotAboveZeroIsRefused_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("value");

    QTest::newRow("new, zero") << 0 << "0";
    QTest::newRow("new, zero with decimals") << 0 << "0,0000";
    QTest::newRow("new, negative") << 0 << "-1";
    QTest::newRow("new, empty") << 0 << "";
    QTest::newRow("new, separator alone") << 0 << ",";
    QTest::newRow("edited, zero") << 3 << "0";
    QTest::newRow("edited, negative") << 3 << "-0,5";
}

void TestCurrencyRatingDlg::valueNotAboveZeroIsRefused()
{
    QFETCH(int, id);
    QFETCH(QString, value);
    const QStringList before = ratings();
    openDialog(id);
    field<QLineEdit>("currency_value")->setText(value);
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Niezgodność wprowadzonych danych"));
    QCOMPARE(shown.first().text, QStringLiteral("Kurs waluty musi być większy od zera."));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(field<QLineEdit>("currency_value")->text(), value);
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(ratings(), before);

    // Corrected, the same dialog stores it.
    field<QLineEdit>("currency_value")->setText(QStringLiteral("4,5"));
    clickOk();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(ratings().size(), id > 0 ? 1 : 2);
    QVERIFY(ratings().last().contains(QStringLiteral("|4.5|PLN|")));
}

void TestCurrencyRatingDlg::editedRatingIsLoadedAndUpdated()
{
    openDialog(3);
    QCOMPARE(field<QDateEdit>("rating_date")->date(), QDate(2025, 11, 4));
    QCOMPARE(field<QLineEdit>("bank_name")->text(), QStringLiteral("NBP"));
    QCOMPARE(field<QComboBox>("currency_amount_from")->currentText(), QStringLiteral("10"));
    QCOMPARE(field<QComboBox>("id_currency_from")->currentText(), QStringLiteral("USD"));
    QCOMPARE(field<QComboBox>("id_currency_to")->currentText(), QStringLiteral("PLN"));
    QCOMPARE(field<QLineEdit>("currency_value")->text(), QStringLiteral("40,1234"));
    QCOMPARE(field<QLineEdit>("table_name")->text(), QStringLiteral("213/A/NBP/2025"));

    field<QComboBox>("id_currency_from")->setCurrentText(QStringLiteral("CHF"));
    field<QLineEdit>("currency_value")->setText(QStringLiteral("45,9"));
    clickOk();

    QCOMPARE(ratings(), QStringList{QStringLiteral("2025-11-04|NBP|10|CHF|45.9|PLN|213/A/NBP/2025")});
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT time_create FROM currency_rating")).toString(),
             QStringLiteral("2020-01-01 00:00:00"));
    QVERIFY(MTestDatabase::value(QStringLiteral("SELECT time_modify FROM currency_rating")).toString()
            != QStringLiteral("2020-01-01 00:00:00"));
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{qMakePair(10, 3)}));
}

void TestCurrencyRatingDlg::invoiceModeChangesOnlyItsWorkingRow()
{
    // Two editors' copies of the same rating.
    for (int copy = 0; copy < 2; ++copy) {
        QVERIFY(MTestDatabase::exec(QStringLiteral(
            "INSERT INTO __invoice_currency_rating (id, bank_name, id_currency_from, id_currency_to, rating_date, "
            "input_kind, currency_amount_from, currency_value, table_name, time_create, time_modify) "
            "SELECT id, bank_name, id_currency_from, id_currency_to, rating_date, input_kind, currency_amount_from, "
            "currency_value, table_name, time_create, time_modify FROM currency_rating")));
    }
    const QStringList model = ratings();
    const int first = MTestDatabase::value(QStringLiteral("SELECT MIN(__id) FROM __invoice_currency_rating")).toInt();
    const int second = first + 1;

    openDialog(second, true);
    QCOMPARE(field<QComboBox>("id_currency_from")->currentText(), QStringLiteral("USD"));
    QCOMPARE(field<QLineEdit>("currency_value")->text(), QStringLiteral("40,1234"));
    field<QLineEdit>("currency_value")->setText(QStringLiteral("39,5"));
    field<QLineEdit>("bank_name")->setText(QStringLiteral("Pekao"));
    clickOk();

    QCOMPARE(ratings(), model);
    QCOMPARE(ratings(QStringLiteral("__invoice_currency_rating")),
             (QStringList{QStringLiteral("2025-11-04|NBP|10|USD|40.1234|PLN|213/A/NBP/2025"),
                          QStringLiteral("2025-11-04|Pekao|10|USD|39.5|PLN|213/A/NBP/2025")}));
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{qMakePair(10, second)}));
}

void TestCurrencyRatingDlg::refusedWriteKeepsTheDialogOpen_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason");

    QTest::newRow("insert refused") << 0
                                    << "CREATE TRIGGER refuse BEFORE INSERT ON currency_rating BEGIN SELECT "
                                       "RAISE(ABORT, 'dysk pełny'); END"
                                    << "dysk pełny";
    QTest::newRow("update refused") << 3
                                    << "CREATE TRIGGER refuse BEFORE UPDATE ON currency_rating BEGIN SELECT "
                                       "RAISE(ABORT, 'baza zablokowana'); END"
                                    << "baza zablokowana";
    QTest::newRow("rating deleted while the dialog was open")
        << 3 << "DELETE FROM currency_rating"
        << "Notowanie walutowe o identyfikatorze 3 nie istnieje już w bazie danych.";
}

void TestCurrencyRatingDlg::refusedWriteKeepsTheDialogOpen()
{
    QFETCH(int, id);
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    openDialog(id);
    QVERIFY(MTestDatabase::exec(cause));
    const QStringList stored = ratings();
    field<QLineEdit>("currency_value")->setText(QStringLiteral("3,3"));
    field<QLineEdit>("bank_name")->setText(QStringLiteral("Wpisany bank"));
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY2(shown.first().text.contains(reason), qPrintable(shown.first().text));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(field<QLineEdit>("bank_name")->text(), QStringLiteral("Wpisany bank"));
    QCOMPARE(field<QLineEdit>("currency_value")->text(), QStringLiteral("3,3"));
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(ratings(), stored);
}

INVOICE_TEST_MAIN(TestCurrencyRatingDlg)
#include "tst_currencyratingdlg.moc"
