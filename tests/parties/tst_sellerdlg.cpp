#include "MTestDatabase.h"
#include "MTestEnvironment.h"
#include "MTestOwner.h"
#include "data/MProgramPaths.h"
#include "parties/MBankDlg.h"
#include "parties/MOptionalDateEdit.h"
#include "parties/MSellerDlg.h"
#include "parties/MSellerLogo.h"
#include "views/MFileDialog.h"
#include "views/MMessageBox.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QScrollBar>
#include <QtTest>

#include <functional>
#include <memory>

// The seller dialog in both modes: fields, numbering check, bank accounts and logo,
// against a database made by the schema script.
class TestSellerDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newSellerStartsEmptyWithoutLogo();
    void labelsOfOneLineShareTheirHeight();
    void sellerIsStoredAndLoadedField_data();
    void sellerIsStoredAndLoadedField();
    void numberPeriodFillsThePattern_data();
    void numberPeriodFillsThePattern();
    void storedPatternWinsOverThePeriodDefault();
    void checksStopTheSaveWithOneMessage_data();
    void checksStopTheSaveWithOneMessage();
    void taxOfficeCodeAndListFollowEachOther();
    void hiddenCountryAndUnlistedOfficeAreKept();
    void twoAccountsAndLogoAtX3AreStored();
    void removedLogoLeavesNoRowAndNoFiles();
    void fileThatIsNoImageKeepsTheStoredLogo();
    void logoThatFitsThePreviewShowsNoScrollBar();
    void cancelChangesNothing();
    void newSellerGetsItsAccountsOnFirstSave();
    void bankActionsFollowTheSelection();
    void bankDialogAddsAndEditsAnAccount();
    void deletingTheDefaultAccountKeepsTheSellerBank();
    void failedWriteKeepsDialogAndStoredData();
    void sellerDeletedMeanwhileIsRefused();
    void storedZoomOutsideTheDivisorsIsBounded_data();
    void storedZoomOutsideTheDivisorsIsBounded();
    void invoiceModeEditsTheWorkingCopyOnly();

private:
    MSellerDlg* openDialog(int id, bool invoiceMode = false);
    template <class T>
    T* field(const char* name) const;
    QPushButton* button(const QString& text) const;
    QAction* action(const QString& text) const;
    void clickOk();
    void clickCancel();
    void selectBankRows(const QList<int>& rows);
    void addAccount(const QString& bank, const QString& account);
    void loadLogo(int width, int height);
    void chooseZoom(int divisor);
    QString imageFile(int width, int height) const;
    static QVariant sellerValue(int id, const QString& column);
    static QStringList storedAccounts(int idSeller);
    static QStringList logoFiles();

    std::unique_ptr<MTestDatabase> m_db;
    std::unique_ptr<MTestOwner> m_owner;
    MSellerDlg* m_dialog = nullptr;
};

namespace {

const int polandId = 150;
const int hiddenCountryId = 26; // Birma

int insertSeller(const QString& firm, const QString& columns = QString(), const QString& values = QString())
{
    QSqlQuery query;
    query.exec(QStringLiteral("INSERT INTO seller (firm, time_create, time_modify") + columns
               + QStringLiteral(") VALUES ('") + firm + QStringLiteral("', '2020-01-01 10:00:00', '2020-01-01 10:00:00'")
               + values + QStringLiteral(")"));
    return query.lastInsertId().toInt();
}

void insertAccount(int idSeller, const QString& bank, const QString& account, bool isDefault)
{
    MTestDatabase::insert(QStringLiteral("seller_bank"), {{QStringLiteral("id_seller"), idSeller},
                                                          {QStringLiteral("bank"), bank},
                                                          {QStringLiteral("bank_account"), account},
                                                          {QStringLiteral("is_default"), isDefault ? 1 : 0}});
}

QString logoMessage()
{
    return QStringLiteral("Obrazek po zmniejszeniu może mieć maksymalnie 400 pikseli szerokości i 200 pikseli "
                          "wysokości.");
}

} // namespace

void TestSellerDlg::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    m_db = std::make_unique<MTestDatabase>();
    QVERIFY2(m_db->isOpen(), qPrintable(m_db->errorText()));
    MProgramPaths::pathTemp = m_db->path(QStringLiteral("temp/"));
    QVERIFY(QDir().mkpath(MProgramPaths::pathTemp + QStringLiteral("template/logo")));
}

void TestSellerDlg::init()
{
    for (const char* table : {"seller", "seller_bank", "seller_logo", "__seller_bank", "__invoice_seller"})
        QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM ") + QLatin1String(table)));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER IF EXISTS temp.refuse")));
    QDir logos(MProgramPaths::pathTemp + QStringLiteral("template/logo"));
    for (const QString& name : logos.entryList(QDir::Files))
        QVERIFY(logos.remove(name));
    m_owner = std::make_unique<MTestOwner>();
    MMessageBox::takeShown();
}

void TestSellerDlg::cleanup()
{
    m_dialog = nullptr;
    m_owner.reset();
}

MSellerDlg* TestSellerDlg::openDialog(int id, bool invoiceMode)
{
    m_dialog = new MSellerDlg(m_owner.get(), invoiceMode);
    m_dialog->setIdRecord(id);
    m_dialog->show();
    return m_dialog;
}

template <class T>
T* TestSellerDlg::field(const char* name) const
{
    T* widget = m_dialog->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("No field %s", name);
    return widget;
}

QPushButton* TestSellerDlg::button(const QString& text) const
{
    const QList<QPushButton*> buttons = m_dialog->findChildren<QPushButton*>();
    for (QPushButton* candidate : buttons) {
        if (candidate->text() == text)
            return candidate;
    }
    qFatal("No button %s", qPrintable(text));
    return nullptr;
}

QAction* TestSellerDlg::action(const QString& text) const
{
    const QList<QAction*> actions = m_dialog->findChildren<QAction*>();
    for (QAction* candidate : actions) {
        if (candidate->text() == text)
            return candidate;
    }
    qFatal("No action %s", qPrintable(text));
    return nullptr;
}

void TestSellerDlg::clickOk()
{
    button(QStringLiteral("OK"))->click();
}

void TestSellerDlg::clickCancel()
{
    button(QStringLiteral("Anuluj"))->click();
}

void TestSellerDlg::selectBankRows(const QList<int>& rows)
{
    auto* list = field<MTableView>("seller_bank");
    list->clearSelection();
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 1),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// Through the bank dialog that "Dodaj" opens, as the user fills it in.
void TestSellerDlg::addAccount(const QString& bank, const QString& account)
{
    bool filled = false;
    QTimer::singleShot(0, this, [&] {
        auto* bankDialog = qobject_cast<MBankDlg*>(QApplication::activeModalWidget());
        if (!bankDialog)
            return;
        bankDialog->findChild<QLineEdit*>(QStringLiteral("bank"))->setText(bank);
        bankDialog->findChild<QLineEdit*>(QStringLiteral("bank_account"))->setText(account);
        for (QPushButton* candidate : bankDialog->findChildren<QPushButton*>()) {
            if (candidate->text() == QLatin1String("OK"))
                candidate->click();
        }
        filled = true;
    });
    action(QStringLiteral("Dodaj"))->trigger();
    QVERIFY(filled);
}

QString TestSellerDlg::imageFile(int width, int height) const
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString name = m_db->path(QStringLiteral("logo_%1x%2.png").arg(width).arg(height));
    image.save(name);
    return name;
}

void TestSellerDlg::loadLogo(int width, int height)
{
    MFileDialog::setNextFileName(imageFile(width, height));
    button(QStringLiteral("Załaduj logo"))->click();
}

void TestSellerDlg::chooseZoom(int divisor)
{
    field<QRadioButton>(qPrintable(QStringLiteral("logo_zoom_%1").arg(divisor)))->click();
}

QVariant TestSellerDlg::sellerValue(int id, const QString& column)
{
    return MTestDatabase::value(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM seller WHERE id = ")
                                + QString::number(id));
}

// "bank|account|is_default" of each stored account, in bank order.
QStringList TestSellerDlg::storedAccounts(int idSeller)
{
    return MTestDatabase::rows(QStringLiteral("SELECT bank, bank_account, is_default FROM seller_bank "
                                              "WHERE id_seller = %1 ORDER BY bank")
                                   .arg(idSeller));
}

QStringList TestSellerDlg::logoFiles()
{
    return QDir(MProgramPaths::pathTemp + QStringLiteral("template/logo")).entryList(QDir::Files, QDir::Name);
}

void TestSellerDlg::newSellerStartsEmptyWithoutLogo()
{
    openDialog(0);
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Sprzedawca"));
    QCOMPARE(field<QTabWidget>("pages")->count(), 6);
    QCOMPARE(field<QLineEdit>("firm")->text(), QString());
    QCOMPARE(field<QComboBox>("id_country")->currentText(), QStringLiteral("Polska"));
    QCOMPARE(field<QComboBox>("id_province")->currentText(), QString());
    QCOMPARE(field<QComboBox>("id_invoice_index_format")->currentText(), QString());
    QVERIFY(!field<MOptionalDateEdit>("person_document_date")->optionalDate().isValid());
    QCOMPARE(field<QTextEdit>("logo_preview")->toPlainText(),
             QStringLiteral("Logo można załadować podczas edycji sprzedawcy."));
    QVERIFY(!button(QStringLiteral("Załaduj logo"))->isEnabled());
    QVERIFY(!field<QRadioButton>("logo_zoom_2")->isEnabled());
    // The note on the preview is for reading: only the controls are greyed out.
    QVERIFY(field<QTextEdit>("logo_preview")->isEnabled());
    QCOMPARE(field<MTableView>("seller_bank")->model()->rowCount(), 0);
    QVERIFY(action(QStringLiteral("Dodaj"))->isEnabled());
    QVERIFY(!action(QStringLiteral("Edytuj"))->isEnabled());
    QVERIFY(!action(QStringLiteral("Usuń"))->isEnabled());
    QVERIFY(!action(QStringLiteral("Domyślny"))->isEnabled());
}

// A label without the required-field star stands beside starred ones: it takes their
// height, so that its text does not ride above theirs.
void TestSellerDlg::labelsOfOneLineShareTheirHeight()
{
    openDialog(0);
    auto* pages = field<QTabWidget>("pages");
    pages->setCurrentIndex(1);
    QCOMPARE(pages->tabText(1), QStringLiteral("Adres"));
    QMap<QString, QLabel*> labels;
    const QList<QLabel*> all = pages->widget(1)->findChildren<QLabel*>();
    for (QLabel* label : all) {
        if (label->text().contains(QLatin1String("Numer domu")))
            labels.insert(QStringLiteral("house"), label);
        else if (label->text().contains(QLatin1String("Numer lokalu")))
            labels.insert(QStringLiteral("flat"), label);
    }
    QCOMPARE(labels.size(), 2);
    QTRY_VERIFY(labels.value(QStringLiteral("flat"))->isVisible());
    QVERIFY(labels.value(QStringLiteral("house"))->height() > labels.value(QStringLiteral("flat"))->fontMetrics().height());
    QCOMPARE(labels.value(QStringLiteral("flat"))->geometry().bottom(),
             labels.value(QStringLiteral("house"))->geometry().bottom());
}

void TestSellerDlg::sellerIsStoredAndLoadedField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("name kept untrimmed") << "firm" << " Firma ABC " << " Firma ABC ";
    QTest::newRow("short name") << "firm_short" << "ABC" << "ABC";
    QTest::newRow("NIP as typed") << "nip" << "123-456-32-18" << "123-456-32-18";
    QTest::newRow("address line") << "address" << "ul. Długa 5/2" << "ul. Długa 5/2";
    QTest::newRow("street") << "street" << "Długa" << "Długa";
    QTest::newRow("house number") << "address_number1" << "5" << "5";
    QTest::newRow("flat number") << "address_number2" << "2a" << "2a";
    QTest::newRow("city") << "city" << "Łódź" << "Łódź";
    QTest::newRow("postal code") << "zipcode" << "90-001" << "90-001";
    QTest::newRow("post office") << "city_post" << "Łódź 1" << "Łódź 1";
    QTest::newRow("district") << "province2" << "łódzki" << "łódzki";
    QTest::newRow("commune") << "province3" << "Łódź" << "Łódź";
    QTest::newRow("phone") << "phone" << "42 123 45 67" << "42 123 45 67";
    QTest::newRow("fax") << "fax" << "42 123 45 68" << "42 123 45 68";
    QTest::newRow("e-mail") << "email" << "biuro@abc.pl" << "biuro@abc.pl";
    QTest::newRow("web address") << "www" << "abc.pl" << "abc.pl";
    QTest::newRow("first name") << "permit_person_firstname" << "Łucja" << "Łucja";
    QTest::newRow("surname") << "permit_person_secondname" << "Źdźbło" << "Źdźbło";
    QTest::newRow("PESEL as typed") << "permit_person_pesel" << "440514 01458" << "440514 01458";
    QTest::newRow("document number") << "person_document_number" << "ABC 123" << "ABC 123";
    QTest::newRow("document issuer") << "person_document_by" << "Prezydent Łodzi" << "Prezydent Łodzi";
    QTest::newRow("tax office code") << "financial_office_code" << "1061" << "1061";
}

void TestSellerDlg::sellerIsStoredAndLoadedField()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    openDialog(0);
    field<QComboBox>("id_invoice_index_format")->setCurrentIndex(1);
    field<QLineEdit>(qPrintable(name))->setText(typed);
    clickOk();

    QCOMPARE(m_owner->notices.size(), 1);
    const int id = m_owner->notices.first().second;
    QCOMPARE(m_owner->notices.first().first, 2);
    QVERIFY(id > 0);
    QCOMPARE(sellerValue(id, name).toString(), stored);
    QCOMPARE(sellerValue(id, QStringLiteral("id_country")).toInt(), polandId);
    QCOMPARE(sellerValue(id, QStringLiteral("id_invoice_index_format")).toInt(), 1);
    QCOMPARE(sellerValue(id, QStringLiteral("time_create")), sellerValue(id, QStringLiteral("time_modify")));
    QVERIFY(sellerValue(id, QStringLiteral("person_document_date")).isNull());

    openDialog(id);
    QCOMPARE(field<QLineEdit>(qPrintable(name))->text(), stored);
}

void TestSellerDlg::numberPeriodFillsThePattern_data()
{
    QTest::addColumn<QString>("period");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("month") << "miesiąc" << "[nr]/[mm]/[rrrr]";
    QTest::newRow("year") << "rok" << "[nr]/[rrrr]";
}

void TestSellerDlg::numberPeriodFillsThePattern()
{
    QFETCH(QString, period);
    QFETCH(QString, pattern);
    openDialog(0);
    field<QLineEdit>("invoice_index_format_text")->setText(QStringLiteral("FV/[nr]"));
    auto* periods = field<QComboBox>("id_invoice_index_format");
    periods->setCurrentIndex(periods->findText(period));
    QCOMPARE(field<QLineEdit>("invoice_index_format_text")->text(), pattern);
}

void TestSellerDlg::storedPatternWinsOverThePeriodDefault()
{
    const int id = insertSeller(QStringLiteral("Wzór"), QStringLiteral(", id_invoice_index_format, invoice_index_format_text"),
                                QStringLiteral(", 2, 'FV/[nr|4]/[rr]'"));
    openDialog(id);
    QCOMPARE(field<QComboBox>("id_invoice_index_format")->currentText(), QStringLiteral("rok"));
    QCOMPARE(field<QLineEdit>("invoice_index_format_text")->text(), QStringLiteral("FV/[nr|4]/[rr]"));
}

void TestSellerDlg::checksStopTheSaveWithOneMessage_data()
{
    QTest::addColumn<QString>("period");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QSize>("logo");
    QTest::addColumn<QString>("message");

    const QString noPeriod = QStringLiteral("Wybierz okres numeracyjny faktur.");
    const QString badFormat
        = QStringLiteral("Błędny format numeracji faktur. Brak symbolu numeracji faktur: [nr] lub [nr|...].");
    QTest::newRow("no period") << "" << "[nr]" << QSize() << noPeriod;
    QTest::newRow("no number token") << "rok" << "FV/[rrrr]" << QSize() << badFormat;
    QTest::newRow("token in capitals") << "rok" << "[NR]/[rrrr]" << QSize() << badFormat;
    QTest::newRow("width token never closed") << "rok" << "[rrrr]/[nr|4" << QSize() << badFormat;
    QTest::newRow("width token closed") << "rok" << "[nr|4]/[rrrr]" << QSize() << QString();
    QTest::newRow("reference pattern") << "rok" << "[nr]/[rrrr]" << QSize() << QString();
    QTest::newRow("preview of 400 x 200 fits") << "rok" << "[nr]" << QSize(400, 200) << QString();
    QTest::newRow("bad format and large preview: only the logo")
        << "rok" << "FV" << QSize(401, 100) << logoMessage();
    QTest::newRow("no period and large preview: only the logo") << "" << "[nr]" << QSize(100, 201) << logoMessage();
}

void TestSellerDlg::checksStopTheSaveWithOneMessage()
{
    QFETCH(QString, period);
    QFETCH(QString, pattern);
    QFETCH(QSize, logo);
    QFETCH(QString, message);
    const int id = insertSeller(QStringLiteral("Sprawdzany"));
    openDialog(id);
    auto* periods = field<QComboBox>("id_invoice_index_format");
    periods->setCurrentIndex(periods->findText(period));
    field<QLineEdit>("invoice_index_format_text")->setText(pattern);
    if (logo.isValid())
        loadLogo(logo.width(), logo.height());
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    if (message.isEmpty()) {
        QVERIFY2(shown.isEmpty(), qPrintable(shown.value(0).text));
        QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{qMakePair(2, id)}));
        QCOMPARE(sellerValue(id, QStringLiteral("invoice_index_format_text")).toString(), pattern);
        return;
    }
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Niezgodność wprowadzonych danych"));
    QCOMPARE(shown.first().text, message);
    QVERIFY(m_owner->notices.isEmpty());
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(sellerValue(id, QStringLiteral("invoice_index_format_text")).toString(), QString());
    QCOMPARE(MTestDatabase::count(QStringLiteral("seller_logo")), 0);
}

void TestSellerDlg::taxOfficeCodeAndListFollowEachOther()
{
    openDialog(0);
    auto* code = field<QLineEdit>("financial_office_code");
    auto* offices = field<QComboBox>("financial_office_static");

    code->setText(QStringLiteral("0202"));
    emit code->editingFinished();
    QCOMPARE(offices->currentText(), QStringLiteral("Urząd Skarbowy w Bolesławcu"));

    code->setText(QStringLiteral("9999"));
    emit code->editingFinished();
    QCOMPARE(offices->currentIndex(), -1);
    QCOMPARE(code->text(), QStringLiteral("9999"));

    offices->setCurrentIndex(offices->findText(QStringLiteral("Urząd Skarbowy w Bystrzycy Kłodzkiej")));
    QCOMPARE(code->text(), QStringLiteral("0203"));

    code->clear();
    emit code->editingFinished();
    QCOMPARE(offices->currentIndex(), -1);
}

void TestSellerDlg::hiddenCountryAndUnlistedOfficeAreKept()
{
    // A name with an apostrophe reaches the look-ups as a bound value.
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO province (id, name) VALUES (90, 'Ziemia O''Brien')")));
    const int id = insertSeller(QStringLiteral("Ukryty"),
                                QStringLiteral(", id_country, id_province, financial_office_code, id_invoice_index_format, "
                                               "invoice_index_format_text, person_document_date"),
                                QStringLiteral(", %1, 90, 'X1', 1, '[nr]', '2019-05-17'").arg(hiddenCountryId));
    openDialog(id);
    QCOMPARE(field<QComboBox>("id_country")->currentIndex(), -1);
    QCOMPARE(field<QComboBox>("id_province")->currentText(), QStringLiteral("Ziemia O'Brien"));
    QCOMPARE(field<QLineEdit>("financial_office_code")->text(), QStringLiteral("X1"));
    QCOMPARE(field<QComboBox>("financial_office_static")->currentIndex(), -1);
    QCOMPARE(field<MOptionalDateEdit>("person_document_date")->optionalDate(), QDate(2019, 5, 17));
    clickOk();

    QCOMPARE(sellerValue(id, QStringLiteral("id_country")).toInt(), hiddenCountryId);
    QCOMPARE(sellerValue(id, QStringLiteral("id_province")).toInt(), 90);
    QCOMPARE(sellerValue(id, QStringLiteral("financial_office_code")).toString(), QStringLiteral("X1"));
    QCOMPARE(sellerValue(id, QStringLiteral("person_document_date")).toString(), QStringLiteral("2019-05-17"));
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM province WHERE id = 90")));
}

void TestSellerDlg::twoAccountsAndLogoAtX3AreStored()
{
    const int id = insertSeller(QStringLiteral("Z logo"), QStringLiteral(", id_invoice_index_format, invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]/[mm]/[rrrr]'"));
    openDialog(id);
    addAccount(QStringLiteral("Bank Pierwszy"), QStringLiteral("11 1111"));
    addAccount(QStringLiteral("Bank Drugi"), QStringLiteral("22 2222"));
    QCOMPARE(field<MTableView>("seller_bank")->model()->rowCount(), 2);
    selectBankRows({1});
    QTRY_VERIFY(action(QStringLiteral("Domyślny"))->isEnabled());
    action(QStringLiteral("Domyślny"))->trigger();
    QCOMPARE(qobject_cast<MSqlQueryModel*>(field<MTableView>("seller_bank")->model())->rowDefault(), 1);

    loadLogo(1200, 500);
    QCOMPARE(QImageReader(MSellerLogo::workingPreviewPath(id)).size(), QSize(1200, 500));
    chooseZoom(3);
    QCOMPARE(QImageReader(MSellerLogo::workingPreviewPath(id)).size(), QSize(400, 166));
    QVERIFY(field<QTextEdit>("logo_preview")->toHtml().contains(MSellerLogo::workingPreviewPath(id)));
    clickOk();

    QVERIFY(MMessageBox::takeShown().isEmpty());
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{qMakePair(2, id)}));
    QCOMPARE(storedAccounts(id), QStringList({QStringLiteral("Bank Drugi|22 2222|1"),
                                              QStringLiteral("Bank Pierwszy|11 1111|0")}));
    QCOMPARE(sellerValue(id, QStringLiteral("bank")).toString(), QStringLiteral("Bank Drugi"));
    QCOMPARE(sellerValue(id, QStringLiteral("bank_account")).toString(), QStringLiteral("22 2222"));

    QSqlQuery logo(QStringLiteral("SELECT zoom, width, height, data FROM seller_logo WHERE id_seller = %1").arg(id));
    QVERIFY(logo.next());
    QCOMPARE(logo.value(0).toInt(), 3);
    QCOMPARE(logo.value(1).toInt(), 1200);
    QCOMPARE(logo.value(2).toInt(), 500);
    QCOMPARE(QImage::fromData(logo.value(3).toByteArray()).size(), QSize(1200, 500));
    QCOMPARE(logoFiles(), QStringList({QStringLiteral("seller_%1.png").arg(id),
                                       QStringLiteral("seller_preview_%1.png").arg(id)}));
    QCOMPARE(QImageReader(MSellerLogo::savedPath(id)).size(), QSize(1200, 500));
    QCOMPARE(QImageReader(MSellerLogo::savedPreviewPath(id)).size(), QSize(400, 166));

    // Opened again: the stored logo, its divisor and the default account come back.
    openDialog(id);
    QVERIFY(field<QRadioButton>("logo_zoom_3")->isChecked());
    QVERIFY(button(QStringLiteral("Usuń logo"))->isEnabled());
    QCOMPARE(QImageReader(MSellerLogo::workingPreviewPath(id)).size(), QSize(400, 166));
    QCOMPARE(qobject_cast<MSqlQueryModel*>(field<MTableView>("seller_bank")->model())->rowDefault(), 1);
}

void TestSellerDlg::removedLogoLeavesNoRowAndNoFiles()
{
    const int id = insertSeller(QStringLiteral("Bez logo"), QStringLiteral(", id_invoice_index_format, invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    openDialog(id);
    loadLogo(300, 100);
    clickOk();
    QCOMPARE(MTestDatabase::count(QStringLiteral("seller_logo")), 1);

    openDialog(id);
    button(QStringLiteral("Usuń logo"))->click();
    QCOMPARE(field<QTextEdit>("logo_preview")->toPlainText(), QStringLiteral("Brak obrazka logo."));
    QVERIFY(!button(QStringLiteral("Usuń logo"))->isEnabled());
    clickOk();

    QCOMPARE(MTestDatabase::count(QStringLiteral("seller_logo")), 0);
    QCOMPARE(logoFiles(), QStringList());
}

// Picking a file that is no image says so and changes nothing: OK keeps the stored logo.
void TestSellerDlg::fileThatIsNoImageKeepsTheStoredLogo()
{
    const int id = insertSeller(QStringLiteral("Z logo"), QStringLiteral(", id_invoice_index_format, invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    openDialog(id);
    loadLogo(300, 100);
    clickOk();
    const QVariant logoData = MTestDatabase::value(QStringLiteral("SELECT data FROM seller_logo"));
    QVERIFY(!logoData.toByteArray().isEmpty());

    openDialog(id);
    const QString notAnImage = m_db->path(QStringLiteral("notatki.png"));
    QFile text(notAnImage);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("to nie jest obrazek");
    text.close();
    MMessageBox::takeShown();
    MFileDialog::setNextFileName(notAnImage);
    button(QStringLiteral("Załaduj logo"))->click();
    QCOMPARE(MFileDialog::lastFolder(), MProgramPaths::pathDocuments);

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QVERIFY2(shown.first().text.startsWith(QStringLiteral("Nie można odczytać obrazka z pliku ")), qPrintable(shown.first().text));
    QVERIFY(button(QStringLiteral("Usuń logo"))->isEnabled());
    clickOk();
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT data FROM seller_logo WHERE id_seller = ") + QString::number(id)),
             logoData);
}

void TestSellerDlg::logoThatFitsThePreviewShowsNoScrollBar()
{
    const int id = insertSeller(QStringLiteral("Z logo"), QStringLiteral(", id_invoice_index_format, invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    openDialog(id);
    auto* preview = field<QTextEdit>("logo_preview");
    auto* pages = field<QTabWidget>("pages");
    for (int page = 0; page < pages->count(); ++page) {
        if (pages->widget(page)->isAncestorOf(preview))
            pages->setCurrentIndex(page);
    }
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    const int viewHeight = preview->viewport()->height();
    loadLogo(300, viewHeight);
    QApplication::processEvents();
    QVERIFY(!preview->verticalScrollBar()->isVisible());
    loadLogo(300, viewHeight + 20);
    QApplication::processEvents();
    QVERIFY(preview->verticalScrollBar()->isVisible());
}

void TestSellerDlg::cancelChangesNothing()
{
    const int id = insertSeller(QStringLiteral("Bez zmian"), QStringLiteral(", id_invoice_index_format, invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    insertAccount(id, QStringLiteral("Bank A"), QStringLiteral("1"), true);
    insertAccount(id, QStringLiteral("Bank B"), QStringLiteral("2"), false);
    openDialog(id);
    loadLogo(200, 100);
    clickOk();
    const QStringList files = logoFiles();
    const QVariant logoData = MTestDatabase::value(QStringLiteral("SELECT data FROM seller_logo"));

    openDialog(id);
    field<QLineEdit>("firm")->setText(QStringLiteral("Inna nazwa"));
    addAccount(QStringLiteral("Bank C"), QStringLiteral("3"));
    selectBankRows({0});
    action(QStringLiteral("Usuń"))->trigger();
    chooseZoom(2);
    loadLogo(300, 300);
    clickCancel();

    QCOMPARE(m_owner->notices.size(), 1);
    QCOMPARE(sellerValue(id, QStringLiteral("firm")).toString(), QStringLiteral("Bez zmian"));
    QCOMPARE(storedAccounts(id), QStringList({QStringLiteral("Bank A|1|1"), QStringLiteral("Bank B|2|0")}));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT zoom FROM seller_logo")).toInt(), 1);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT data FROM seller_logo")), logoData);
    QCOMPARE(logoFiles(), files);
    QCOMPARE(QImageReader(MSellerLogo::savedPath(id)).size(), QSize(200, 100));
}

void TestSellerDlg::newSellerGetsItsAccountsOnFirstSave()
{
    openDialog(0);
    field<QComboBox>("id_invoice_index_format")->setCurrentIndex(2);
    addAccount(QStringLiteral("Bank Nowy"), QStringLiteral("77"));
    clickOk();

    QCOMPARE(m_owner->notices.size(), 1);
    const int id = m_owner->notices.first().second;
    QVERIFY(id > 0);
    QCOMPARE(storedAccounts(id), QStringList({QStringLiteral("Bank Nowy|77|0")}));
    QCOMPARE(sellerValue(id, QStringLiteral("bank")).toString(), QStringLiteral("Bank Nowy"));
    QCOMPARE(MTestDatabase::count(QStringLiteral("seller_logo")), 0);
    QCOMPARE(logoFiles(), QStringList());
}

void TestSellerDlg::bankActionsFollowTheSelection()
{
    const int id = insertSeller(QStringLiteral("Konta"));
    insertAccount(id, QStringLiteral("Bank A"), QStringLiteral("1"), false);
    insertAccount(id, QStringLiteral("Bank B"), QStringLiteral("2"), true);
    insertAccount(id, QStringLiteral("Bank C"), QStringLiteral("3"), false);
    openDialog(id);
    QAction* makeDefault = action(QStringLiteral("Domyślny"));

    selectBankRows({1});
    QTRY_VERIFY(makeDefault->isChecked());
    QVERIFY(!makeDefault->isEnabled());
    QVERIFY(action(QStringLiteral("Edytuj"))->isEnabled());

    selectBankRows({2});
    QTRY_VERIFY(makeDefault->isEnabled());
    QVERIFY(!makeDefault->isChecked());

    selectBankRows({0, 2});
    QTRY_VERIFY(!makeDefault->isEnabled());
    QVERIFY(!action(QStringLiteral("Edytuj"))->isEnabled());
    QVERIFY(action(QStringLiteral("Usuń"))->isEnabled());
    QVERIFY(action(QStringLiteral("Dodaj"))->isEnabled());

    action(QStringLiteral("Usuń"))->trigger();
    QCOMPARE(field<MTableView>("seller_bank")->model()->rowCount(), 1);
    QVERIFY(MMessageBox::takeShown().isEmpty());
    QVERIFY(!action(QStringLiteral("Usuń"))->isEnabled());
}

void TestSellerDlg::bankDialogAddsAndEditsAnAccount()
{
    const int id = insertSeller(QStringLiteral("Edycja konta"), QStringLiteral(", id_invoice_index_format, "
                                                                               "invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    insertAccount(id, QStringLiteral("Bank A"), QStringLiteral("1"), true);
    openDialog(id);
    auto* list = field<MTableView>("seller_bank");
    const int workingId = list->model()->index(0, 0).data(Qt::UserRole).toInt();

    MBankDlg edit(m_dialog, MBankDlg::ModeSellerBank);
    QCOMPARE(edit.windowTitle(), QStringLiteral("Bank"));
    edit.setIdRecord(workingId);
    QCOMPARE(edit.findChild<QLineEdit*>(QStringLiteral("bank"))->text(), QStringLiteral("Bank A"));
    edit.findChild<QLineEdit*>(QStringLiteral("bank_account"))->setText(QStringLiteral("1 0000"));
    for (QPushButton* candidate : edit.findChildren<QPushButton*>()) {
        if (candidate->text() == QLatin1String("OK"))
            candidate->click();
    }
    QCOMPARE(list->model()->index(0, 2).data().toString(), QStringLiteral("1 0000"));
    QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(storedAccounts(id), QStringList({QStringLiteral("Bank A|1|1")}));

    addAccount(QStringLiteral("Bank B"), QStringLiteral("2"));
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(list->selectionModel()->selectedRows().first().row(), 1);
    clickOk();
    QCOMPARE(storedAccounts(id), QStringList({QStringLiteral("Bank A|1 0000|1"), QStringLiteral("Bank B|2|0")}));
}

void TestSellerDlg::deletingTheDefaultAccountKeepsTheSellerBank()
{
    const int id = insertSeller(QStringLiteral("Domyślne konto"), QStringLiteral(", id_invoice_index_format, "
                                                                                 "invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    insertAccount(id, QStringLiteral("Bank A"), QStringLiteral("1"), false);
    insertAccount(id, QStringLiteral("Bank B"), QStringLiteral("2"), true);
    insertAccount(id, QStringLiteral("Bank C"), QStringLiteral("3"), false);
    openDialog(id);
    selectBankRows({1});
    action(QStringLiteral("Usuń"))->trigger();
    QCOMPARE(qobject_cast<MSqlQueryModel*>(field<MTableView>("seller_bank")->model())->rowDefault(), 0);
    clickOk();

    QCOMPARE(sellerValue(id, QStringLiteral("bank")).toString(), QStringLiteral("Bank A"));
    QCOMPARE(sellerValue(id, QStringLiteral("bank_account")).toString(), QStringLiteral("1"));
    QCOMPARE(storedAccounts(id), QStringList({QStringLiteral("Bank A|1|1"), QStringLiteral("Bank C|3|0")}));
}

void TestSellerDlg::failedWriteKeepsDialogAndStoredData()
{
    const int id = insertSeller(QStringLiteral("Stara nazwa"), QStringLiteral(", id_invoice_index_format, "
                                                                              "invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    insertAccount(id, QStringLiteral("Bank A"), QStringLiteral("1"), true);
    insertAccount(id, QStringLiteral("Bank B"), QStringLiteral("2"), false);
    QVERIFY(MTestDatabase::exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE INSERT ON seller_bank "
                                               "WHEN NEW.bank = 'Bank C' BEGIN SELECT RAISE(ABORT, 'odmowa'); END")));
    openDialog(id);
    field<QLineEdit>("firm")->setText(QStringLiteral("Nowa nazwa"));
    addAccount(QStringLiteral("Bank C"), QStringLiteral("3"));
    loadLogo(100, 50);
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY(shown.first().text.contains(QStringLiteral("odmowa")));
    QVERIFY(m_owner->notices.isEmpty());
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(field<QLineEdit>("firm")->text(), QStringLiteral("Nowa nazwa"));
    QCOMPARE(sellerValue(id, QStringLiteral("firm")).toString(), QStringLiteral("Stara nazwa"));
    QCOMPARE(storedAccounts(id), QStringList({QStringLiteral("Bank A|1|1"), QStringLiteral("Bank B|2|0")}));
    QCOMPARE(MTestDatabase::count(QStringLiteral("seller_logo")), 0);

    // Once the cause is gone, the same dialog stores everything that was typed.
    QVERIFY(MTestDatabase::exec(QStringLiteral("DROP TRIGGER temp.refuse")));
    clickOk();
    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{qMakePair(2, id)}));
    QCOMPARE(sellerValue(id, QStringLiteral("firm")).toString(), QStringLiteral("Nowa nazwa"));
    QCOMPARE(storedAccounts(id).size(), 3);
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT width FROM seller_logo")).toInt(), 100);
    QCOMPARE(QImageReader(MSellerLogo::savedPath(id)).size(), QSize(100, 50));
}

void TestSellerDlg::sellerDeletedMeanwhileIsRefused()
{
    const int id = insertSeller(QStringLiteral("Stara nazwa"), QStringLiteral(", id_invoice_index_format, "
                                                                              "invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    openDialog(id);
    QVERIFY(MTestDatabase::exec(QStringLiteral("DELETE FROM seller")));
    field<QLineEdit>("firm")->setText(QStringLiteral("Nowa nazwa"));
    clickOk();

    const QList<MMessageBox::Shown> shown = MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Critical);
    QVERIFY2(shown.first().text.contains(
                 QStringLiteral("Sprzedawca o identyfikatorze %1 nie istnieje już w bazie danych.").arg(id)),
             qPrintable(shown.first().text));
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_owner->notices.isEmpty());
    QCOMPARE(MTestDatabase::count(QStringLiteral("seller")), 0);
}

void TestSellerDlg::storedZoomOutsideTheDivisorsIsBounded_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QSize>("preview");

    QTest::newRow("zoom 0") << 0 << "logo_zoom_1" << QSize(120, 80);
    QTest::newRow("zoom 6") << 6 << "logo_zoom_4" << QSize(30, 20);
}

void TestSellerDlg::storedZoomOutsideTheDivisorsIsBounded()
{
    QFETCH(int, stored);
    QFETCH(QString, checked);
    QFETCH(QSize, preview);
    const int id = insertSeller(QStringLiteral("Powiększenie"), QStringLiteral(", id_invoice_index_format, "
                                                                               "invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    openDialog(id);
    loadLogo(120, 80);
    clickOk();
    QVERIFY(MTestDatabase::exec(QStringLiteral("UPDATE seller_logo SET zoom = %1").arg(stored)));

    openDialog(id);
    QVERIFY(field<QRadioButton>(qPrintable(checked))->isChecked());
    field<QRadioButton>(qPrintable(checked))->toggled(true);
    QCOMPARE(QImageReader(MSellerLogo::workingPreviewPath(id)).size(), preview);
}

void TestSellerDlg::invoiceModeEditsTheWorkingCopyOnly()
{
    const int id = insertSeller(QStringLiteral("Wzorzec"), QStringLiteral(", id_invoice_index_format, "
                                                                          "invoice_index_format_text"),
                                QStringLiteral(", 1, '[nr]'"));
    QVERIFY(MTestDatabase::exec(QStringLiteral("INSERT INTO __invoice_seller (id, firm, bank, bank_account, "
                                               "id_invoice_index_format, invoice_index_format_text, time_create, "
                                               "time_modify) SELECT id, firm, 'Bank K', '55', 2, '[nr]/[rrrr]', "
                                               "time_create, time_modify FROM seller WHERE id = %1")
                                    .arg(id)));
    const int workingId = MTestDatabase::value(QStringLiteral("SELECT MAX(__id) FROM __invoice_seller")).toInt();
    const QStringList filesBefore = logoFiles();

    openDialog(workingId, true);
    QCOMPARE(field<QTabWidget>("pages")->count(), 5);
    QVERIFY(!m_dialog->findChild<QPlainTextEdit*>(QStringLiteral("additional")));
    QVERIFY(!m_dialog->findChild<MTableView*>(QStringLiteral("seller_bank")));
    QVERIFY(field<QWidget>("logo_controls")->isHidden());
    QCOMPARE(field<QLineEdit>("bank")->text(), QStringLiteral("Bank K"));
    QCOMPARE(field<QComboBox>("id_invoice_index_format")->currentText(), QStringLiteral("rok"));
    field<QLineEdit>("firm")->setText(QStringLiteral("Kopia"));
    field<QLineEdit>("bank_account")->setText(QStringLiteral("66"));
    clickOk();

    QCOMPARE(m_owner->notices, (QList<QPair<int, int>>{qMakePair(2, workingId)}));
    QCOMPARE(MTestDatabase::value(QStringLiteral("SELECT firm || '|' || bank_account FROM __invoice_seller")).toString(),
             QStringLiteral("Kopia|66"));
    QCOMPARE(sellerValue(id, QStringLiteral("firm")).toString(), QStringLiteral("Wzorzec"));
    QCOMPARE(logoFiles(), filesBefore);
}

INVOICE_TEST_MAIN(TestSellerDlg)
#include "tst_sellerdlg.moc"
