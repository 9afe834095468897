#include "MOptionsDlg.h"

#include "data/MOptions.h"
#include "data/MScrambleText.h"
#include "views/MHelpButton.h"
#include "views/MItemRoles.h"
#include "views/MListFont.h"
#include "views/MSelectListModel.h"
#include "views/MValidators.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTextEdit>

namespace {

const Qt::Alignment leftTop = Qt::AlignLeft | Qt::AlignTop;

// A page in the common form: labels in column 0, a gap of at least
// `gapWidth` in column 1, controls in column 2, which stretches.
QGridLayout* newPage(QWidget** page, int gapWidth = 15)
{
    *page = new QWidget;
    auto* grid = new QGridLayout(*page);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(0);
    grid->setColumnMinimumWidth(1, gapWidth);
    grid->setColumnStretch(2, 1);
    return grid;
}

// With a width, the label wraps within it.
QLabel* richLabel(const QString& html, int wrapWidth = 0)
{
    auto* label = new QLabel(html);
    label->setTextFormat(Qt::RichText);
    if (wrapWidth > 0) {
        label->setWordWrap(true);
        label->setFixedWidth(wrapWidth);
    }
    return label;
}

QLabel* boldLabel(const QString& text, int wrapWidth = 0)
{
    return richLabel(QStringLiteral("<b>") + text + QStringLiteral("</b>"), wrapWidth);
}

QLabel* fieldListLabel(const QString& note)
{
    return richLabel(QStringLiteral("<b>") + MOptionsDlg::tr("Pokaż dane na dokumentach (jeśli są wypełnione)")
                         + QStringLiteral("</b><br>") + note,
                     300);
}

void addRow(QGridLayout* grid, int row, QLabel* label, QWidget* control)
{
    grid->addWidget(label, row, 0, leftTop);
    grid->addWidget(control, row, 2, leftTop);
}

// Items on the rows first, first + 2, ..., last: the rows between them at
// least `gap` high, the row after the last stretching.
void spaceRows(QGridLayout* grid, int first, int last, int gap = 5)
{
    for (int row = first + 1; row < last; row += 2)
        grid->setRowMinimumHeight(row, gap);
    grid->setRowStretch(last + 1, 100);
}

MHelpButton* helpButton(QWidget* dialog, const QString& text)
{
    auto* button = new MHelpButton(dialog);
    button->setHelpText(text);
    return button;
}

QString redStar()
{
    return QStringLiteral("<span style=\"color: #f00000; font: normal ") + QString::number(listFontSize() + 3)
           + QStringLiteral("pt Courier;\">*</span>");
}

} // namespace

QWidget* MOptionsDlg::pageChanges()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    grid->addWidget(boldLabel(tr("Tłumaczone tylko słowa oznaczone na <font color=\"#f00000\">czerwono</font>.")),
                    0, 0, 1, 3, leftTop);

    const QList<QPair<QString, QString>> rows = {
        {tr("Data <font color=\"#f00000\">sprzedaży</font><br>(od 1 stycznia 2013)"),
         QStringLiteral("TRANSLATE_DATE_SELL_20130101")},
        {tr("Nagłówek <font color=\"#f00000\">FAKTURA VAT</font><br>(od 1 stycznia 2013)"),
         QStringLiteral("TRANSLATE_HEADER_INVOICE_20130101")},
        {tr("Nagłówek <font color=\"#f00000\">FAKTURA KORYGUJĄCA VAT</font><br>(od 1 stycznia 2013)"),
         QStringLiteral("TRANSLATE_HEADER_INVOICE_CORRECT_20130101")},
        {tr("Nagłówek <font color=\"#f00000\">FAKTURA PROFORMA</font><br>(od 1 stycznia 2013)"),
         QStringLiteral("TRANSLATE_HEADER_INVOICE_PROFORM_20130101")},
        {tr("<font color=\"#f00000\">Osoba upoważniona do wystawienia...</font>"),
         QStringLiteral("TRANSLATE_PERMIT_PERSON_IN")},
        {tr("<font color=\"#f00000\">Osoba upoważniona do odebrania...</font>"),
         QStringLiteral("TRANSLATE_PERMIT_PERSON_OUT")},
    };
    int row = 2;
    for (const auto& item : rows) {
        QLineEdit* edit = lineEdit(item.second);
        edit->setFixedWidth(280);
        addRow(grid, row, boldLabel(item.first, row <= 8 ? 280 : 0), edit);
        row += 2;
    }
    spaceRows(grid, 0, 12);
    return page;
}

QWidget* MOptionsDlg::pageLook()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    const QString notShown = tr("nie pokazuj");
    const QString shown = tr("pokazuj");
    addRow(grid, 0, boldLabel(tr("Kolumna PKWiU/PKOB")),
           numberedCombo(QStringLiteral("SHOW_PRODUCT_CODE_COLUMN"),
                         {tr("pokazuj zawsze"), tr("pokazuj jeśli nie są puste")}));
    addRow(grid, 2, boldLabel(tr("Kolumna Symbol")),
           numberedCombo(QStringLiteral("SHOW_PRODUCT_SYMBOL_COLUMN"),
                         {notShown, shown, tr("pokazuj jeśli nie są puste")}));
    addRow(grid, 4, boldLabel(tr("Kolumny rabatu"), 300),
           numberedCombo(QStringLiteral("SHOW_REDUCT_COLUMNS"),
                         {notShown, shown, tr("pokazuj jeśli niezerowy rabat")}));
    addRow(grid, 6, boldLabel(tr("Kolumna netto/brutto bez rabatu jeśli ceny z brutto"), 300),
           numberedCombo(QStringLiteral("SHOW_REDUCT_COLUMN_NETTO_BRUTTO"), {tr("netto"), tr("brutto")}));
    addRow(grid, 8, boldLabel(tr("Odmiana miesięcy"), 300),
           numberedCombo(QStringLiteral("SHOW_MONTH_STYLE"),
                         {tr("12 maj, 18 grudzień, itp."), tr("12 maja, 18 grudnia, itp.")}));
    addRow(grid, 10, boldLabel(tr("Informacje o programie w stopce"), 300),
           checkBox(QStringLiteral("SHOW_PRINT_FOOTER")));
    addRow(grid, 12,
           boldLabel(tr("Pokaż tekst <font color=\"#f00000\">** jako ceny ... zastosowano umowne ceny brutto</font>"),
                     300),
           checkBox(QStringLiteral("SHOW_TEXT_FROM_BRUTTO")));
    addRow(grid, 14, boldLabel(tr("Kolumna VAT dla dokumentów walutowych")),
           numberedCombo(QStringLiteral("SHOW_VAT_RATING_COLUMN"),
                         {tr("pokazuj tylko w PLN"), tr("pokazuj tylko w walucie"), tr("pokazuj w walucie i w PLN")}));
    addRow(grid, 16,
           boldLabel(tr("Pokaż tekst <font color=\"#f00000\">Zapłacono</font> zamiast <font color=\"#f00000\">Do "
                        "zapłaty</font> jeśli dokument został oznaczony jako zapłacony"),
                     300),
           checkBox(QStringLiteral("SHOW_TEXT_PAYED_INSTEAD_OF_TO_PAY")));
    spaceRows(grid, 0, 16);
    return page;
}

QWidget* MOptionsDlg::pagePrint()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    QComboBox* envelope = numberedCombo(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT"),
                                        {tr("brak"), tr("prawa strona"), tr("prawa strona duplex")});
    envelope->setToolTip(
        tr("<b>prawa strona</b> Drukuje adres korespondencyjny po prawej stronie wewnątrz dokumentu.")
        + QStringLiteral("<br>")
        + tr("<b>prawa strona duplex</b> Drukuje adres korespondencyjny po prawej stronie na odwrocie dokumentu jeśli "
             "jest włączone na drukarce drukowanie po obu stronach kartki. Jeśli nie ma włączonej tej opcji "
             "drukarki to jest drukowana osobna kartka z naniesionym adresem korespondencyjnym."));
    addRow(grid, 1, boldLabel(tr("Dopasowanie adresu do koperty z okienkiem"), 300), envelope);
    addRow(grid, 3, boldLabel(tr("Zastosuj dopasowanie adresu w PDF"), 300),
           checkBox(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF")));
    addRow(grid, 5, boldLabel(tr("Zastosuj dopasowanie adresu w podglądzie"), 300),
           checkBox(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PREVIEW")));
    addRow(grid, 7, boldLabel(tr("Wielkość czcionki")),
           numberedCombo(QStringLiteral("FONT_SIZE_DIFF"),
                         {tr("pomniejszona (-2 punkty)"), tr("pomniejszona (-1 punkt)"), tr("normalna"),
                          tr("powiększona (+1 punkt)"), tr("powiększona (+2 punkty)")}));
    addRow(grid, 9, boldLabel(tr("Dopasuj szerokość kolumny PKWiU/PKOB do tekstu"), 300),
           checkBox(QStringLiteral("FIT_COLUMN_PKWIU_TO_TEXT")));
    addRow(grid, 11, boldLabel(tr("Pokaż opcje wyboru: oryginał, kopia, oryginał/kopia"), 300),
           checkBox(QStringLiteral("SHOW_VIEW_ORIGINAL_COPY")));
    addRow(grid, 13, boldLabel(tr("Pokaż logo")), checkBox(QStringLiteral("SHOW_LOGO")));
    addRow(grid, 15, boldLabel(tr("Orientacja wydruku dokumentów (oprócz zestawień)"), 300),
           numberedCombo(QStringLiteral("PRINT_ORIENTATION_DOCUMENT"), {tr("Pionowo"), tr("Poziomo")}));
    spaceRows(grid, 1, 15);
    return page;
}

QWidget* MOptionsDlg::pageVat()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);

    m_vatList = tableList(QStringLiteral("SELECT name, id, hidden FROM vat ORDER BY val, name"), 1);
    addRow(grid, 0, boldLabel(tr("Pokaż stawki"), 300),
           checkList(m_vatList, QSize(150, 100), QStringLiteral("vatList")));

    auto* invert = new QPushButton(QIcon(QStringLiteral(":/resource/refresh_btn_16_16.png")),
                                   tr("Odwróć zaznaczenie"), this);
    connect(invert, &QPushButton::clicked, this, &MOptionsDlg::clickVatNegative);
    grid->addWidget(invert, 2, 2, leftTop);

    m_defaultVat = new QComboBox;
    m_defaultVat->setObjectName(QStringLiteral("ID_DEFAULT_VAT"));
    auto* rates = new QSqlQueryModel(m_defaultVat);
    rates->setQuery(QStringLiteral("SELECT name, id FROM vat ORDER BY val, name"));
    while (rates->canFetchMore())
        rates->fetchMore();
    m_defaultVat->setModel(rates);
    selectDefaultVat();
    addRow(grid, 4, boldLabel(tr("Domyślna stawka"), 300), m_defaultVat);

    spaceRows(grid, 0, 4, 3);
    return page;
}

void MOptionsDlg::selectDefaultVat()
{
    int id = MOptions::option(QStringLiteral("ID_DEFAULT_VAT")).toInt();
    if (id == 0)
        id = QDate::currentDate() >= QDate(2011, 1, 1) ? 24 : 23;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT name FROM vat WHERE id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (query.exec() && query.next()) {
        const int index = m_defaultVat->findText(query.value(0).toString(), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            m_defaultVat->setCurrentIndex(index);
    }
}

QWidget* MOptionsDlg::pagePrices()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    addRow(grid, 0, boldLabel(tr("Podsumowanie cen"), 300),
           numberedCombo(QStringLiteral("DEFAULT_SUMMARY_COUNT"), {tr("sumując wiersze"), tr("wyliczając na końcu")}));
    addRow(grid, 2, boldLabel(tr("Zmiana podsumowania na korygujących"), 300),
           numberedCombo(QStringLiteral("DEFAULT_SUMMARY_CORRECT_COUNT"),
                         {tr("odejmując wartości"), tr("wyliczając na końcu")}));
    addRow(grid, 4, boldLabel(tr("Podstawa cenowa"), 300),
           radioPair(QStringLiteral("DEFAULT_PRICE_BASE"), tr("netto"), tr("brutto")));
    addRow(grid, 6, boldLabel(tr("Rabat"), 300),
           radioPair(QStringLiteral("DEFAULT_PRICE_REDUCT"), tr("procentowy"), tr("kwotowy")));
    spaceRows(grid, 0, 6);
    return page;
}

QWidget* MOptionsDlg::pageOptimisation()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    addRow(grid, 0, boldLabel(tr("Optymalizacja ładowania tabel"), 300),
           checkBox(QStringLiteral("ACTIVE_TABLE_CACHE")));
    spaceRows(grid, 0, 0);
    return page;
}

QWidget* MOptionsDlg::pagePayments()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);

    m_payFormList = tableList(QStringLiteral("SELECT basic_form, id, hidden FROM pay_form ORDER BY basic_form"), 1);
    addRow(grid, 0, boldLabel(tr("Pokaż rodzaje płatności"), 300),
           checkList(m_payFormList, QSize(150, 100), QStringLiteral("payFormList")));

    m_payedTextList =
        tableList(QStringLiteral("SELECT basic_form, id, add_text_payed FROM pay_form ORDER BY basic_form"), 0);
    addRow(grid, 2, boldLabel(tr("Dodaj tekst \"zapłacono\"<br>przy wybraniu rodzaju płatności"), 300),
           checkList(m_payedTextList, QSize(150, 100), QStringLiteral("payedTextList")));

    spaceRows(grid, 0, 2);
    return page;
}

MSelectListModel* MOptionsDlg::fieldList(const QString& prefix, const QString& firstText)
{
    const QList<QPair<QString, QString>> fields = {
        {firstText, QStringLiteral("SHOW_FIELD_NIP")},
        {tr("REGON"), QStringLiteral("SHOW_FIELD_REGON")},
        {tr("bank"), QStringLiteral("SHOW_FIELD_BANK")},
        {tr("numer konta"), QStringLiteral("SHOW_FIELD_BANK_ACCOUNT")},
        {tr("województwo"), QStringLiteral("SHOW_FIELD_PROVINCE")},
        {tr("kraj"), QStringLiteral("SHOW_FIELD_COUNTRY")},
        {tr("telefon"), QStringLiteral("SHOW_FIELD_PHONE")},
        {tr("fax"), QStringLiteral("SHOW_FIELD_FAX")},
        {tr("e-mail"), QStringLiteral("SHOW_FIELD_EMAIL")},
        {tr("www"), QStringLiteral("SHOW_FIELD_WWW")},
        {tr("data wystawienia dokumentu"), QStringLiteral("SHOW_PERSON_DOCUMENT_DATE")},
    };
    auto* model = new MSelectListModel(this);
    for (const auto& field : fields) {
        const QString key = prefix + field.second;
        auto* item = new QStandardItem(field.first);
        item->setData(key, ItemRole::Value);
        item->setData(MOptions::option(key) == QLatin1String("1") ? CheckItemState::Checked : CheckItemState::Unchecked,
                      ItemRole::State);
        model->appendRow(item);
    }
    return model;
}

QWidget* MOptionsDlg::pageSeller()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    m_sellerFieldList = fieldList(QStringLiteral("SELLER_"), tr("NIP"));
    addRow(grid, 0, fieldListLabel(tr("(dla dokumentów zakupowych dotyczy to danych kontrahenta)")),
           checkList(m_sellerFieldList, QSize(250, 100), QStringLiteral("sellerFieldList")));
    addRow(grid, 2, boldLabel(tr("Pokaż dane osoby upoważnionej do wystawienia dokumentu"), 300),
           checkBox(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT")));
    spaceRows(grid, 0, 2);
    return page;
}

QWidget* MOptionsDlg::pageBuyer()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    m_buyerFieldList = fieldList(QStringLiteral("BUYER_"), tr("NIP lub PESEL"));
    addRow(grid, 0, fieldListLabel(tr("(dla dokumentów zakupowych dotyczy to danych sprzedawcy)")),
           checkList(m_buyerFieldList, QSize(250, 100), QStringLiteral("buyerFieldList")));
    spaceRows(grid, 0, 0);
    return page;
}

QWidget* MOptionsDlg::pageEmail()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(0);
    grid->setColumnMinimumWidth(1, 15);
    grid->setColumnMinimumWidth(3, 5);
    grid->setColumnMinimumWidth(5, 5);
    grid->setColumnStretch(7, 1);

    auto label = [](const QString& text, bool required) {
        return boldLabel(required ? text + QLatin1Char(' ') + redStar() : text);
    };
    auto wide = [grid](int row, QWidget* control) { grid->addWidget(control, row, 2, 1, 3, leftTop); };

    QLineEdit* sender = lineEdit(QStringLiteral("EMAIL_SENDER_NAME"));
    sender->setFixedWidth(300);
    grid->addWidget(label(tr("Nadawca"), false), 0, 0, leftTop);
    wide(0, sender);
    grid->addWidget(helpButton(this, tr("<b>Nadawca</b> to krótka nazwa osoby wysyłającej.<br>Najczęściej wpisuje się "
                                        "tu imię i nazwisko lub nazwę firmy nadawcy.<br>To pole nie musi być "
                                        "wypełnione.")),
                    0, 6, leftTop);

    QLineEdit* email = lineEdit(QStringLiteral("EMAIL_SENDER_EMAIL"));
    email->setFixedWidth(300);
    email->setValidator(emailValidator(email));
    grid->addWidget(label(tr("E-mail"), true), 2, 0, leftTop);
    wide(2, email);

    QLineEdit* server = lineEdit(QStringLiteral("EMAIL_SMTP_SERVER"));
    server->setFixedWidth(230);
    m_smtpPort = new QComboBox;
    m_smtpPort->setObjectName(QStringLiteral("EMAIL_SMTP_PORT"));
    m_smtpPort->setFixedWidth(65);
    m_smtpPort->addItems({QStringLiteral("25"), QStringLiteral("587")});
    selectSmtpPort();
    grid->addWidget(label(tr("Adres serwera poczty"), true), 4, 0, leftTop);
    grid->addWidget(server, 4, 2, leftTop);
    grid->addWidget(m_smtpPort, 4, 4, leftTop);

    QLineEdit* login = lineEdit(QStringLiteral("EMAIL_LOGIN"));
    login->setFixedWidth(300);
    grid->addWidget(label(tr("Login"), true), 6, 0, leftTop);
    wide(6, login);

    // Not a control of the common kinds: it shows the clear text of the stored form.
    m_password = new QLineEdit(unscrambleText(MOptions::option(QStringLiteral("EMAIL_PASSWORD"))));
    m_password->setObjectName(QStringLiteral("EMAIL_PASSWORD"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setFixedWidth(300);
    grid->addWidget(label(tr("Hasło"), false), 8, 0, leftTop);
    wide(8, m_password);
    grid->addWidget(helpButton(this, tr("<b>Hasło do konta e-mail</b> nie musi być tutaj zapisane.<br>Hasło jest "
                                        "zapisywane w postaci zaszyfrowanej, jednak dla większego bezpieczeństwa "
                                        "można je wprowadzać za każdym razem kiedy wysyła się e-mail.")),
                    8, 6, leftTop);

    QTextEdit* signature = textEdit(QStringLiteral("EMAIL_SENDER_SIGNATURE"));
    signature->setFixedSize(300, 80);
    grid->addWidget(label(tr("Podpis nadawcy"), false), 10, 0, leftTop);
    wide(10, signature);
    grid->addWidget(helpButton(this, tr("<b>Podpis nadawcy</b> jest z założenia rozdzielany od pozostałego tekstu "
                                        "następująco:<br><br>Treść wiadomości<br><br>----------<br>Podpis nadawcy.")),
                    10, 6, leftTop);

    QLineEdit* copy = lineEdit(QStringLiteral("EMAIL_CC_EMAIL"));
    copy->setFixedWidth(300);
    copy->setValidator(emailValidator(copy));
    grid->addWidget(label(tr("Wyślij kopię na e-mail"), false), 12, 0, leftTop);
    wide(12, copy);
    grid->addWidget(helpButton(this, tr("<b>Kopia wiadomości</b> jest szczególnie przydatna, gdy chcemy mieć "
                                        "pewność, że e-mail został wysłany z programu.")),
                    12, 6, leftTop);

    grid->addWidget(label(tr("Informacje o programie w stopce"), false), 14, 0, leftTop);
    wide(14, checkBox(QStringLiteral("EMAIL_PRINT_FOOTER")));

    auto* note = new QLabel(QStringLiteral("<b>") + redStar() + QStringLiteral("</b> <span style=\"color: #808080;\">")
                            + tr("Pola z gwiazdką muszą być wypełnione aby wysyłać e-maile.")
                            + QStringLiteral("</span>"));
    note->setTextFormat(Qt::RichText);
    grid->addWidget(note, 16, 0, 1, 5, leftTop);
    spaceRows(grid, 0, 16);
    return page;
}

void MOptionsDlg::selectSmtpPort()
{
    QString port = MOptions::option(QStringLiteral("EMAIL_SMTP_PORT"));
    if (port.isEmpty())
        port = QStringLiteral("587");
    // A port other than the two offered is kept as it was stored.
    if (m_smtpPort->findText(port, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        m_smtpPort->addItem(port);
    m_smtpPort->setCurrentIndex(m_smtpPort->findText(port, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QWidget* MOptionsDlg::pageTips()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    grid->setColumnStretch(2, 0);
    grid->setColumnMinimumWidth(3, 5);
    grid->setColumnStretch(5, 1);
    addRow(grid, 0, boldLabel(tr("Pokaż okno porad i podpowiedzi")), checkBox(QStringLiteral("SHOW_DO_YOU_KNOW")));

    m_doYouKnowSpeed = new QComboBox;
    m_doYouKnowSpeed->setObjectName(QStringLiteral("DO_YOU_KNOW_SPEED"));
    const QList<QPair<QString, int>> speeds = {
        {tr("nie przewijaj"), 0}, {tr("30 sekund"), 30}, {tr("1 minuta"), 60},   {tr("2 minuty"), 120},
        {tr("3 minuty"), 180},    {tr("5 minut"), 300},  {tr("10 minut"), 600},
    };
    for (const auto& speed : speeds)
        m_doYouKnowSpeed->addItem(speed.first, speed.second);
    selectDoYouKnowSpeed();
    addRow(grid, 2, boldLabel(tr("Prędkość przewijania tekstów")), m_doYouKnowSpeed);
    spaceRows(grid, 0, 2);
    return page;
}

void MOptionsDlg::selectDoYouKnowSpeed()
{
    const int index = m_doYouKnowSpeed->findData(MOptions::option(QStringLiteral("DO_YOU_KNOW_SPEED")).toInt());
    if (index >= 0)
        m_doYouKnowSpeed->setCurrentIndex(index);
}

QWidget* MOptionsDlg::pageQrCodes()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page, 10);
    grid->setColumnStretch(2, 0);
    grid->setColumnMinimumWidth(3, 10);
    grid->setColumnStretch(5, 1);
    addRow(grid, 0, boldLabel(tr("Pokaż kod QR dla płatności mobilnych")),
           checkBox(QStringLiteral("SHOW_QR_CODE__PAY_MOBILE")));
    grid->addWidget(
        helpButton(this,
                   tr("<b>Kod QR</b> generuje się na fakturach tuż przed tekstem do zapłaty lub pozostało do zapłaty, "
                      "w których <b>spełnione są wszystkie poniższe warunki</b>:<ul><li>sprzedawca ma prawidłowo "
                      "wpisany NIP</li><li>sprzedawca ma prawidłowo wpisane polskie konto bankowe</li><li>nazwa lub "
                      "skrócona nazwa sprzedawcy nie przekracza 20 znaków</li><li>numer faktury nie przekracza 32 "
                      "znaków (numer faktury wpisany jest jako tytuł zapłaty)</li><li>wybrano sposób płatności "
                      "przelewem</li><li>wystawiona faktura jest w walucie PLN</li><li>wystawiona faktura nie jest "
                      "fakturą RR</li><li>nie ma zaznaczonej opcji zapłacono</li><li>kwota do zapłaty jest większa "
                      "niż 0 i mniejsza niż 10 milionów PLN</li></ul>")),
        0, 4, leftTop);
    spaceRows(grid, 0, 0);
    return page;
}

QWidget* MOptionsDlg::pageEmailTemplates()
{
    QWidget* page = nullptr;
    QGridLayout* grid = newPage(&page);
    grid->setColumnStretch(2, 0);
    grid->setColumnMinimumWidth(3, 5);
    grid->setColumnStretch(5, 1);

    // The one template there is; its name ends the two keys below.
    auto* templates = new QComboBox;
    templates->setFixedWidth(400);
    templates->addItem(tr("Faktura w PDF"), QStringLiteral("INVOICE_PDF"));
    addRow(grid, 0, boldLabel(tr("Szablon")), templates);

    QLineEdit* subject = lineEdit(QStringLiteral("EMAIL_TEMPLATE_SUBJECT__INVOICE_PDF"));
    subject->setFixedWidth(400);
    addRow(grid, 2, boldLabel(tr("Temat")), subject);
    QTextEdit* content = textEdit(QStringLiteral("EMAIL_TEMPLATE_CONTENT_INVOICE_PDF"));
    content->setFixedSize(400, 100);
    addRow(grid, 4, boldLabel(tr("Treść")), content);
    spaceRows(grid, 0, 4);
    return page;
}
