#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestSqliteShell.h"
#include "data/MDefaultOptions.h"
#include "data/MOptions.h"
#include "data/MProgramPaths.h"
#include "data/MScrambleText.h"
#include "resources/MResources.h"
#include "settings/MOptionsDlg.h"
#include "settings/MOptionsItem.h"
#include "settings/MOptionsWidget.h"
#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QtTest>

// The options dialog on a database made by the schema script, with the
// defaults stored as at the program's start.
class TestOptionsDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void freshDatabaseShowsEveryDefault_data();
    void freshDatabaseShowsEveryDefault();
    void firstOkStoresWhatEveryControlShows_data();
    void firstOkStoresWhatEveryControlShows();
    void titlesInOrderWithTheFirstPageShown();
    void titlesShowOnePageAtATime();
    void oneChangeStoresExactlyThatValue_data();
    void oneChangeStoresExactlyThatValue();
    void unchangedOkWritesNoOptionButUpdatesTheTables();
    void storedValuesAreShown_data();
    void storedValuesAreShown();
    void hiddenRateIsStillOfferedAsTheDefault();
    void storedPortSurvivesOk_data();
    void storedPortSurvivesOk();
    void passwordIsStoredOnlyScrambledAndOnlyWhenChanged_data();
    void passwordIsStoredOnlyScrambledAndOnlyWhenChanged();
    void invertingTheRatesTwiceChangesNothing();
    void cancelWritesNothing();

private:
    // The state a control shows, by the control's object name: "1" / "0" for a
    // check box, the current text of a combo box, the checked button's text of
    // a radio pair, the text of an edit, the checked rows of a check list.
    static QString shown(const MOptionsDlg& dialog, const QString& name);
    // Makes the control show `value` as a user would (a click for check lists).
    static void change(MOptionsDlg& dialog, const QString& name, const QString& value);
    static void showPageOf(MOptionsDlg& dialog, QWidget* control);
    // A control by its object name on any page, shown or not.
    template <typename T = QWidget>
    static T* control(const MOptionsDlg& dialog, const QString& name);
    static void clickOk(MOptionsDlg& dialog);
    // _options, vat and pay_form as the sqlite3 shell reads them, one line per value.
    QStringList storedState() const;
    QString dbFile() const;
    // Counts every write to _options, vat and pay_form in table write_log.
    void logWrites();
    QStringList takeWrites();

    // Made once by the schema script with the defaults of a first start, copied for every case.
    QTemporaryDir m_template;
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestOptionsDlg::initTestCase()
{
    initInvoiceResources();
    MProgramPaths::pathDocuments = m_template.path() + QLatin1Char('/');
    const QString file = m_template.filePath(QStringLiteral("Invoice.db3"));
    QVERIFY(MTestDatabase::prepare(file));
    MOptions::loadOptions();
    MDefaultOptions::store(MProgramPaths::pathDocuments);
    MTestDatabase::close();
}

void TestOptionsDlg::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(QFile::copy(m_template.filePath(QStringLiteral("Invoice.db3")), dbFile()));
    QVERIFY(MTestDatabase::connect(dbFile()));
    MOptions::loadOptions();
}

void TestOptionsDlg::cleanup()
{
    MTestDatabase::close();
}

QString TestOptionsDlg::dbFile() const
{
    return m_dir->filePath(QStringLiteral("Invoice.db3"));
}

template <typename T>
T* TestOptionsDlg::control(const MOptionsDlg& dialog, const QString& name)
{
    for (MOptionsItem* item : dialog.findChild<MOptionsWidget*>()->items()) {
        if (T* found = item->widget()->findChild<T*>(name))
            return found;
    }
    return nullptr;
}

QString TestOptionsDlg::shown(const MOptionsDlg& dialog, const QString& name)
{
    QWidget* control = TestOptionsDlg::control(dialog, name);
    if (!control)
        return QStringLiteral("<no control>");
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* edit = qobject_cast<QTextEdit*>(control))
        return edit->toPlainText();
    if (auto* list = qobject_cast<QListView*>(control)) {
        QStringList checked;
        const QAbstractItemModel* model = list->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (index.data(ItemRole::State).toInt() == CheckItemState::Checked)
                checked.append(index.data().toString());
        }
        return checked.join(QLatin1Char(','));
    }
    const QList<QRadioButton*> radios = control->findChildren<QRadioButton*>();
    QStringList checked;
    for (QRadioButton* radio : radios) {
        if (radio->isChecked())
            checked.append(radio->text());
    }
    return radios.size() == 2 ? checked.join(QLatin1Char(',')) : QStringLiteral("<unknown control>");
}

void TestOptionsDlg::showPageOf(MOptionsDlg& dialog, QWidget* control)
{
    for (MOptionsItem* item : dialog.findChild<MOptionsWidget*>()->items()) {
        if (item->widget()->isAncestorOf(control))
            QTest::mouseClick(item->button(), Qt::LeftButton);
    }
}

void TestOptionsDlg::change(MOptionsDlg& dialog, const QString& name, const QString& value)
{
    QWidget* control = TestOptionsDlg::control(dialog, name);
    QVERIFY2(control, qPrintable(name));
    showPageOf(dialog, control);
    QVERIFY(control->isVisible());
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        if (box->isChecked() != (value == QLatin1String("1")))
            QTest::mouseClick(box, Qt::LeftButton);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int index = combo->findText(value);
        QVERIFY2(index >= 0, qPrintable(value));
        combo->setCurrentIndex(index);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, value);
    } else if (auto* edit = qobject_cast<QTextEdit*>(control)) {
        edit->setPlainText(value);
    } else if (auto* list = qobject_cast<QListView*>(control)) {
        const QModelIndexList found =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, value, 1, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        list->scrollTo(found.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(found.first()).center());
    } else {
        for (QRadioButton* radio : control->findChildren<QRadioButton*>()) {
            if (radio->text() == value)
                QTest::mouseClick(radio, Qt::LeftButton);
        }
    }
}

void TestOptionsDlg::clickOk(MOptionsDlg& dialog)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String("OK"))
            QTest::mouseClick(button, Qt::LeftButton);
    }
}

QStringList TestOptionsDlg::storedState() const
{
    const QStringList lines = MTestSqliteShell::lines(
        dbFile(), QStringLiteral("SELECT id || '=' || replace(content, char(10), '\\n') FROM _options;"
                                 "SELECT 'vat ' || name || ' hidden=' || hidden FROM vat;"
                                 "SELECT 'pay_form ' || basic_form || ' hidden=' || hidden || ' add_text_payed=' || "
                                 "add_text_payed FROM pay_form;"));
    if (!MTestSqliteShell::lastError().isEmpty())
        qWarning("%s", qPrintable(MTestSqliteShell::lastError()));
    return lines;
}

void TestOptionsDlg::logWrites()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TABLE write_log (what TEXT)")));
    for (const char* table : {"_options", "vat", "pay_form"}) {
        for (const char* event : {"INSERT", "UPDATE"}) {
            QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TRIGGER log_%1_%2 AFTER %2 ON %1 BEGIN "
                                                       "INSERT INTO write_log VALUES ('%1'); END")
                                            .arg(QLatin1String(table), QLatin1String(event))));
        }
    }
}

QStringList TestOptionsDlg::takeWrites()
{
    const QStringList writes =
        MTestDatabase::rows(QStringLiteral("SELECT what || ' ' || count(*) FROM write_log GROUP BY what ORDER BY what"));
    MTestDatabase::exec(QStringLiteral("DELETE FROM write_log"));
    return writes;
}

void TestOptionsDlg::freshDatabaseShowsEveryDefault_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("state");

    QTest::newRow("date of sale wording") << "TRANSLATE_DATE_SELL_20130101" << "dostawy / wykonania usługi";
    QTest::newRow("invoice header") << "TRANSLATE_HEADER_INVOICE_20130101" << "FAKTURA VAT";
    QTest::newRow("correction header") << "TRANSLATE_HEADER_INVOICE_CORRECT_20130101" << "FAKTURA KORYGUJĄCA VAT";
    QTest::newRow("pro-forma header") << "TRANSLATE_HEADER_INVOICE_PROFORM_20130101" << "FAKTURA PROFORMA";
    QTest::newRow("issuing person") << "TRANSLATE_PERMIT_PERSON_IN"
                                    << "Osoba upoważniona do wystawienia [TYPU_DOKUMENTU]";
    QTest::newRow("receiving person") << "TRANSLATE_PERMIT_PERSON_OUT"
                                      << "Osoba upoważniona do odebrania [TYPU_DOKUMENTU]";
    QTest::newRow("code column") << "SHOW_PRODUCT_CODE_COLUMN" << "pokazuj zawsze";
    QTest::newRow("symbol column") << "SHOW_PRODUCT_SYMBOL_COLUMN" << "nie pokazuj";
    QTest::newRow("discount columns") << "SHOW_REDUCT_COLUMNS" << "pokazuj jeśli niezerowy rabat";
    QTest::newRow("price without discount") << "SHOW_REDUCT_COLUMN_NETTO_BRUTTO" << "netto";
    QTest::newRow("month names") << "SHOW_MONTH_STYLE" << "12 maja, 18 grudnia, itp.";
    QTest::newRow("print footer") << "SHOW_PRINT_FOOTER" << "1";
    QTest::newRow("gross prices text") << "SHOW_TEXT_FROM_BRUTTO" << "1";
    QTest::newRow("currency VAT column") << "SHOW_VAT_RATING_COLUMN" << "pokazuj tylko w PLN";
    QTest::newRow("paid instead of to pay") << "SHOW_TEXT_PAYED_INSTEAD_OF_TO_PAY" << "0";
    QTest::newRow("envelope fitting") << "FIT_TO_ENVELOPE_WINDOW_RIGHT" << "brak";
    QTest::newRow("fitting in PDF") << "FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF" << "1";
    QTest::newRow("fitting in preview") << "FIT_TO_ENVELOPE_WINDOW_RIGHT_PREVIEW" << "1";
    QTest::newRow("font size") << "FONT_SIZE_DIFF" << "normalna";
    QTest::newRow("code column fitted") << "FIT_COLUMN_PKWIU_TO_TEXT" << "0";
    QTest::newRow("original and copy choice") << "SHOW_VIEW_ORIGINAL_COPY" << "1";
    QTest::newRow("logo") << "SHOW_LOGO" << "1";
    QTest::newRow("orientation") << "PRINT_ORIENTATION_DOCUMENT" << "Pionowo";
    QTest::newRow("shown rates") << "vatList" << "<every rate not hidden>";
    QTest::newRow("default rate") << "ID_DEFAULT_VAT" << "23%";
    QTest::newRow("price summary") << "DEFAULT_SUMMARY_COUNT" << "sumując wiersze";
    QTest::newRow("correction summary") << "DEFAULT_SUMMARY_CORRECT_COUNT" << "odejmując wartości";
    QTest::newRow("price base") << "DEFAULT_PRICE_BASE" << "netto";
    QTest::newRow("discount kind") << "DEFAULT_PRICE_REDUCT" << "procentowy";
    QTest::newRow("table cache") << "ACTIVE_TABLE_CACHE" << "1";
    QTest::newRow("shown payment forms") << "payFormList"
                                         << "barter,bon,czek,gotówka,karta,kompensata,przelew,za pobraniem";
    QTest::newRow("payment forms marking paid") << "payedTextList" << "";
    QTest::newRow("sender") << "EMAIL_SENDER_NAME" << "";
    QTest::newRow("sender address") << "EMAIL_SENDER_EMAIL" << "";
    QTest::newRow("SMTP server") << "EMAIL_SMTP_SERVER" << "";
    QTest::newRow("SMTP port") << "EMAIL_SMTP_PORT" << "587";
    QTest::newRow("login") << "EMAIL_LOGIN" << "";
    QTest::newRow("password") << "EMAIL_PASSWORD" << "";
    QTest::newRow("signature") << "EMAIL_SENDER_SIGNATURE" << "";
    QTest::newRow("copy address") << "EMAIL_CC_EMAIL" << "";
    QTest::newRow("mail footer") << "EMAIL_PRINT_FOOTER" << "1";
    QTest::newRow("template subject") << "EMAIL_TEMPLATE_SUBJECT__INVOICE_PDF" << "";
    QTest::newRow("template content") << "EMAIL_TEMPLATE_CONTENT_INVOICE_PDF" << "";
    QTest::newRow("seller fields") << "sellerFieldList"
                                   << "NIP,REGON,bank,numer konta,telefon,fax,e-mail,www,data wystawienia dokumentu";
    QTest::newRow("issuing person printed") << "SELLER_SHOW_PERSON_ON_DOCUMENT" << "1";
    QTest::newRow("buyer fields") << "buyerFieldList" << "NIP lub PESEL,data wystawienia dokumentu";
    QTest::newRow("tips shown") << "SHOW_DO_YOU_KNOW" << "1";
    QTest::newRow("tips speed") << "DO_YOU_KNOW_SPEED" << "1 minuta";
    QTest::newRow("payment QR code") << "SHOW_QR_CODE__PAY_MOBILE" << "0";
}

void TestOptionsDlg::freshDatabaseShowsEveryDefault()
{
    QFETCH(QString, name);
    QFETCH(QString, state);

    if (state == QLatin1String("<every rate not hidden>")) {
        state = MTestDatabase::rows(QStringLiteral("SELECT name FROM vat WHERE hidden = 0 ORDER BY val, name"))
                    .join(QLatin1Char(','));
        QVERIFY(state.contains(QStringLiteral(",23%,")));
    }

    MOptionsDlg dialog;
    QCOMPARE(shown(dialog, name), state);
}

void TestOptionsDlg::firstOkStoresWhatEveryControlShows_data()
{
    freshDatabaseShowsEveryDefault_data();
}

void TestOptionsDlg::firstOkStoresWhatEveryControlShows()
{
    QFETCH(QString, name);

    QString before;
    {
        MOptionsDlg dialog;
        before = shown(dialog, name);
        clickOk(dialog);
    }
    // A key that had no value yet is stored by the first OK; the password only when typed.
    const bool option = name == name.toUpper();
    if (option && name != QLatin1String("EMAIL_PASSWORD"))
        QVERIFY(MTestDatabase::storedOption(name) != QLatin1String("<absent>"));
    MOptions::loadOptions();
    MOptionsDlg again;
    QCOMPARE(shown(again, name), before);
}

void TestOptionsDlg::titlesInOrderWithTheFirstPageShown()
{
    MOptionsDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Opcje"));
    const QList<MOptionsItem*> items = dialog.findChild<MOptionsWidget*>()->items();
    QStringList titles;
    for (MOptionsItem* item : items)
        titles.append(item->button()->text());
    QCOMPARE(titles, (QStringList{"Zmiany", "Wygląd", "Wydruk", "VAT", "Ceny", "Optymalizacja", "Płatności", "E-mail",
                                  "Szablony e-mail", "Sprzedawca", "Kontrahent", "Porady", "Kody QR"}));
    for (MOptionsItem* item : items) {
        const bool first = item == items.first();
        QCOMPARE(item->button()->isChecked(), first);
        QCOMPARE(item->widget()->isHidden(), !first);
    }
}

void TestOptionsDlg::titlesShowOnePageAtATime()
{
    MOptionsDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QList<MOptionsItem*> items = dialog.findChild<MOptionsWidget*>()->items();
    // Forwards, then the page already shown again, then backwards.
    QList<MOptionsItem*> clicks = items;
    clicks.append(items.last());
    std::copy(items.crbegin(), items.crend(), std::back_inserter(clicks));
    for (MOptionsItem* clicked : clicks) {
        QTest::mouseClick(clicked->button(), Qt::LeftButton);
        for (MOptionsItem* item : items) {
            QCOMPARE(item->button()->isChecked(), item == clicked);
            QCOMPARE(item->widget()->isVisible(), item == clicked);
        }
    }
}

void TestOptionsDlg::oneChangeStoresExactlyThatValue_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("check box") << "SHOW_LOGO" << "0" << QStringList{"SHOW_LOGO=0"};
    QTest::newRow("check box with no default") << "SHOW_TEXT_PAYED_INSTEAD_OF_TO_PAY" << "1"
                                               << QStringList{"SHOW_TEXT_PAYED_INSTEAD_OF_TO_PAY=1"};
    QTest::newRow("numbered combo") << "FONT_SIZE_DIFF" << "powiększona (+2 punkty)"
                                    << QStringList{"FONT_SIZE_DIFF=4"};
    QTest::newRow("radio pair") << "DEFAULT_PRICE_REDUCT" << "kwotowy" << QStringList{"DEFAULT_PRICE_REDUCT=1"};
    QTest::newRow("line edit") << "TRANSLATE_HEADER_INVOICE_20130101" << "RACHUNEK"
                               << QStringList{"TRANSLATE_HEADER_INVOICE_20130101=RACHUNEK"};
    QTest::newRow("text edit") << "EMAIL_SENDER_SIGNATURE" << "Jan Nowak\nBiuro"
                               << QStringList{"EMAIL_SENDER_SIGNATURE=Jan Nowak\\nBiuro"};
    QTest::newRow("default rate") << "ID_DEFAULT_VAT" << "8%" << QStringList{"ID_DEFAULT_VAT=9"};
    QTest::newRow("port") << "EMAIL_SMTP_PORT" << "25" << QStringList{"EMAIL_SMTP_PORT=25"};
    QTest::newRow("speed") << "DO_YOU_KNOW_SPEED" << "10 minut" << QStringList{"DO_YOU_KNOW_SPEED=600"};
    QTest::newRow("speed off") << "DO_YOU_KNOW_SPEED" << "nie przewijaj" << QStringList{"DO_YOU_KNOW_SPEED=0"};
    QTest::newRow("rate list") << "vatList" << "5%" << QStringList{"vat 5% hidden=1"};
    QTest::newRow("payment form list") << "payFormList" << "barter"
                                       << QStringList{"pay_form barter hidden=1 add_text_payed=0"};
    QTest::newRow("paid text list") << "payedTextList" << "gotówka"
                                    << QStringList{"pay_form gotówka hidden=0 add_text_payed=1"};
    QTest::newRow("seller field list") << "sellerFieldList" << "NIP" << QStringList{"SELLER_SHOW_FIELD_NIP=0"};
    QTest::newRow("buyer field list") << "buyerFieldList" << "data wystawienia dokumentu"
                                      << QStringList{"BUYER_SHOW_PERSON_DOCUMENT_DATE=0"};
}

void TestOptionsDlg::oneChangeStoresExactlyThatValue()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QStringList, stored);

    // A first OK stores the keys that have no default; from then on only changes show.
    {
        MOptionsDlg dialog;
        clickOk(dialog);
    }
    const QStringList before = storedState();
    QVERIFY(!before.isEmpty());

    QString changed;
    {
        MOptionsDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QString initial = shown(dialog, name);
        change(dialog, name, value);
        if (QTest::currentTestFailed())
            return;
        changed = shown(dialog, name);
        QVERIFY(changed != initial);
        clickOk(dialog);
        QVERIFY(dialog.isHidden());
    }
    const QStringList after = storedState();

    QStringList added;
    for (const QString& line : after) {
        if (!before.contains(line))
            added.append(line);
    }
    QCOMPARE(added, stored);
    QCOMPARE(after.size(), before.size());

    // Opened again, the dialog shows what was stored.
    MOptionsDlg again;
    QCOMPARE(shown(again, name), changed);
}

void TestOptionsDlg::unchangedOkWritesNoOptionButUpdatesTheTables()
{
    logWrites();
    {
        MOptionsDlg dialog;
        clickOk(dialog);
    }
    // The first OK on a fresh database stores the keys that have no default.
    QVERIFY(takeWrites().first().startsWith(QStringLiteral("_options ")));
    const QStringList before = storedState();

    MOptionsDlg dialog;
    clickOk(dialog);
    const int rates = MTestDatabase::count(QStringLiteral("vat"));
    const int forms = MTestDatabase::count(QStringLiteral("pay_form"));
    QVERIFY(rates > 0 && forms > 0);
    QCOMPARE(takeWrites(), (QStringList{QStringLiteral("pay_form %1").arg(2 * forms), QStringLiteral("vat %1").arg(rates)}));
    QCOMPARE(storedState(), before);
}

void TestOptionsDlg::storedValuesAreShown_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("state");

    QTest::newRow("font size 0") << "FONT_SIZE_DIFF" << "0" << "FONT_SIZE_DIFF" << "pomniejszona (-2 punkty)";
    QTest::newRow("font size 2") << "FONT_SIZE_DIFF" << "2" << "FONT_SIZE_DIFF" << "normalna";
    QTest::newRow("index past the items") << "FONT_SIZE_DIFF" << "9" << "FONT_SIZE_DIFF" << "pomniejszona (-2 punkty)";
    QTest::newRow("check box from 2") << "SHOW_LOGO" << "2" << "SHOW_LOGO" << "1";
    QTest::newRow("check box from text") << "SHOW_LOGO" << "tak" << "SHOW_LOGO" << "0";
    QTest::newRow("check box from empty") << "SHOW_LOGO" << "" << "SHOW_LOGO" << "0";
    QTest::newRow("radio pair from 5") << "DEFAULT_PRICE_BASE" << "5" << "DEFAULT_PRICE_BASE" << "brutto";
    QTest::newRow("radio pair from text") << "DEFAULT_PRICE_BASE" << "x" << "DEFAULT_PRICE_BASE" << "netto";
    QTest::newRow("speed of no item") << "DO_YOU_KNOW_SPEED" << "45" << "DO_YOU_KNOW_SPEED" << "nie przewijaj";
    QTest::newRow("speed of 10 minutes") << "DO_YOU_KNOW_SPEED" << "600" << "DO_YOU_KNOW_SPEED" << "10 minut";
    QTest::newRow("empty port") << "EMAIL_SMTP_PORT" << "" << "EMAIL_SMTP_PORT" << "587";
    QTest::newRow("default rate by id") << "ID_DEFAULT_VAT" << "23" << "ID_DEFAULT_VAT" << "22%";
    QTest::newRow("default rate of no row") << "ID_DEFAULT_VAT" << "9999" << "ID_DEFAULT_VAT" << "0%";
    QTest::newRow("seller field other than 1")
        << "SELLER_SHOW_FIELD_NIP" << "2" << "sellerFieldList"
        << "REGON,bank,numer konta,telefon,fax,e-mail,www,data wystawienia dokumentu";
    QTest::newRow("buyer field set") << "BUYER_SHOW_FIELD_WWW" << "1" << "buyerFieldList"
                                     << "NIP lub PESEL,www,data wystawienia dokumentu";
    QTest::newRow("date row of its own") << "SELLER_SHOW_PERSON_DOCUMENT_DATE" << "0" << "sellerFieldList"
                                         << "NIP,REGON,bank,numer konta,telefon,fax,e-mail,www";
    QTest::newRow("text as it was stored") << "EMAIL_TEMPLATE_CONTENT_INVOICE_PDF" << "<b>Dzień dobry</b>\n"
                                           << "EMAIL_TEMPLATE_CONTENT_INVOICE_PDF" << "<b>Dzień dobry</b>\n";
}

void TestOptionsDlg::storedValuesAreShown()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, control);
    QFETCH(QString, state);

    MOptions::setOption(key, stored);
    MOptionsDlg dialog;
    QCOMPARE(shown(dialog, control), state);
}

void TestOptionsDlg::hiddenRateIsStillOfferedAsTheDefault()
{
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE vat SET hidden = 1 WHERE id = 24")));
    MOptionsDlg dialog;
    QVERIFY(!shown(dialog, QStringLiteral("vatList")).split(QLatin1Char(',')).contains(QStringLiteral("23%")));
    QCOMPARE(shown(dialog, QStringLiteral("ID_DEFAULT_VAT")), QStringLiteral("23%"));
    clickOk(dialog);
    QCOMPARE(MTestSqliteShell::lines(dbFile(), QStringLiteral("SELECT content FROM _options WHERE id = 'ID_DEFAULT_VAT';"
                                                             "SELECT hidden FROM vat WHERE id = 24;")),
             (QStringList{"24", "1"}));
}

void TestOptionsDlg::storedPortSurvivesOk_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("port");

    QTest::newRow("none yet") << "" << "587";
    QTest::newRow("25") << "25" << "25";
    QTest::newRow("587") << "587" << "587";
    QTest::newRow("465") << "465" << "465";
    QTest::newRow("2525") << "2525" << "2525";
}

void TestOptionsDlg::storedPortSurvivesOk()
{
    QFETCH(QString, stored);
    QFETCH(QString, port);

    if (!stored.isEmpty())
        MOptions::setOption(QStringLiteral("EMAIL_SMTP_PORT"), stored);
    {
        MOptionsDlg dialog;
        QCOMPARE(shown(dialog, QStringLiteral("EMAIL_SMTP_PORT")), port);
        clickOk(dialog);
    }
    QCOMPARE(MTestSqliteShell::lines(dbFile(), QStringLiteral("SELECT content FROM _options WHERE id = 'EMAIL_SMTP_PORT'")),
             QStringList{port});

    // The two ports offered stay offered, and the stored one only once.
    MOptionsDlg dialog;
    auto* combo = control<QComboBox>(dialog, QStringLiteral("EMAIL_SMTP_PORT"));
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    QStringList expected{QStringLiteral("25"), QStringLiteral("587")};
    if (!expected.contains(port))
        expected.append(port);
    QCOMPARE(items, expected);
}

void TestOptionsDlg::passwordIsStoredOnlyScrambledAndOnlyWhenChanged_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("rewritten");

    QTest::newRow("left as shown") << "Tajne#Hasło1" << false;
    QTest::newRow("changed") << "Nowe hasło 2" << true;
    QTest::newRow("cleared") << "" << true;
}

void TestOptionsDlg::passwordIsStoredOnlyScrambledAndOnlyWhenChanged()
{
    QFETCH(QString, typed);
    QFETCH(bool, rewritten);

    const QString key = QStringLiteral("EMAIL_PASSWORD");
    const QString storedForm = scrambleText(QStringLiteral("Tajne#Hasło1"));
    MOptions::setOption(key, storedForm);
    {
        MOptionsDlg dialog;
        QCOMPARE(shown(dialog, key), QStringLiteral("Tajne#Hasło1"));
        control<QLineEdit>(dialog, key)->setText(typed);
        clickOk(dialog);
    }
    const QStringList stored =
        MTestSqliteShell::lines(dbFile(), QStringLiteral("SELECT content FROM _options WHERE id = 'EMAIL_PASSWORD'"));
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first() != storedForm, rewritten);
    QCOMPARE(unscrambleText(stored.first()), typed);
    if (!typed.isEmpty())
        QVERIFY(!stored.first().contains(typed));

    MOptionsDlg again;
    QCOMPARE(shown(again, key), typed);
}

void TestOptionsDlg::invertingTheRatesTwiceChangesNothing()
{
    MTestDatabase::exec(QStringLiteral("UPDATE vat SET hidden = 1 WHERE name IN ('5%', 'zw.')"));
    const QStringList before = storedState();

    MOptionsDlg dialog;
    const QString initial = shown(dialog, QStringLiteral("vatList"));
    QVERIFY(!initial.split(QLatin1Char(',')).contains(QStringLiteral("5%")));
    QPushButton* invert = nullptr;
    for (MOptionsItem* item : dialog.findChild<MOptionsWidget*>()->items()) {
        for (QPushButton* button : item->widget()->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Odwróć zaznaczenie"))
                invert = button;
        }
    }
    QVERIFY(invert);

    QTest::mouseClick(invert, Qt::LeftButton);
    QCOMPARE(shown(dialog, QStringLiteral("vatList")), QStringLiteral("zw.,5%"));
    QTest::mouseClick(invert, Qt::LeftButton);
    QCOMPARE(shown(dialog, QStringLiteral("vatList")), initial);
    // Nothing reaches the table before OK.
    QCOMPARE(storedState(), before);
    clickOk(dialog);
    QCOMPARE(MTestDatabase::rows(QStringLiteral("SELECT name FROM vat WHERE hidden = 1 ORDER BY val, name")),
             (QStringList{"zw.", "5%"}));
}

void TestOptionsDlg::cancelWritesNothing()
{
    logWrites();
    MOptionsDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    change(dialog, QStringLiteral("SHOW_LOGO"), QStringLiteral("0"));
    change(dialog, QStringLiteral("vatList"), QStringLiteral("23%"));
    change(dialog, QStringLiteral("payedTextList"), QStringLiteral("przelew"));
    change(dialog, QStringLiteral("EMAIL_SMTP_PORT"), QStringLiteral("25"));
    change(dialog, QStringLiteral("TRANSLATE_PERMIT_PERSON_IN"), QStringLiteral("Wystawca"));
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String("Anuluj"))
            QTest::mouseClick(button, Qt::LeftButton);
    }
    QVERIFY(dialog.isHidden());
    QCOMPARE(takeWrites(), QStringList());

    MOptionsDlg again;
    QCOMPARE(shown(again, QStringLiteral("SHOW_LOGO")), QStringLiteral("1"));
    QVERIFY(shown(again, QStringLiteral("vatList")).contains(QStringLiteral("23%")));
    QCOMPARE(shown(again, QStringLiteral("EMAIL_SMTP_PORT")), QStringLiteral("587"));
}

INVOICE_TEST_MAIN(TestOptionsDlg)
#include "tst_optionsdlg.moc"
