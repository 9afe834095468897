#include "MBuyerDlg.h"

#include "data/MNumberText.h"
#include "parties/MFormPage.h"
#include "parties/MReferenceComboBox.h"
#include "views/MValidators.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTabWidget>

namespace {

QCheckBox* createBoldCheckBox(const QString& text, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setStyleSheet(QStringLiteral("font-weight: bold;"));
    return box;
}

} // namespace

MBuyerDlg::MBuyerDlg(QWidget* parent, bool invoiceMode, Qt::WindowFlags flags)
    : MPartyDlg(parent, 3, invoiceMode, flags)
{
    setWindowTitle(tr("Kontrahent"));

    createPages();
    nameFields();
}

void MBuyerDlg::nameFields()
{
    // Named after the columns they edit, as the shared pages name theirs; the contact
    // address's with the prefix "contact_".
    const QList<QPair<QWidget*, const char*>> fields = {
        {m_firm, "firm"}, {m_firmShort, "firm_short"}, {m_nip, "nip"}, {m_regon, "regon"}, {m_bank, "bank"},
        {m_bankAccount, "bank_account"}, {m_address, "address"}, {m_zipcode, "zipcode"}, {m_city, "city"},
        {m_province, "id_province"}, {m_country, "id_country"}, {m_contactName, "contact_name"},
        {m_contactAddress, "contact_address"}, {m_contactZipcode, "contact_zipcode"},
        {m_contactCity, "contact_city"}, {m_contactProvince, "contact_id_province"},
        {m_contactCountry, "contact_id_country"}, {m_addressKind, "address_kind"},
        {m_addressTabs, "address_tabs"}, {m_reduct, "reduct"}, {m_payForm, "id_pay_form"},
        {m_dayPeriod, "day_period"}, {m_payFormText, "pay_form_text"}, {m_payText, "pay_text"},
        {m_payInDays, "pay_in_days"}, {m_payed, "payed"}, {m_dateSellInMonths, "date_sell_in_months"},
        {m_additional, "additional"},
    };
    for (const auto& field : fields) {
        if (field.first)
            field.first->setObjectName(QLatin1String(field.second));
    }
}

MBuyerDlg::~MBuyerDlg() = default;

QWidget* MBuyerDlg::createFirmPage()
{
    auto* page = new QWidget();
    MFormPage form(page);
    m_firm = new QLineEdit(page);
    m_firmShort = new QLineEdit(page);
    m_firmShort->setMaxLength(20);
    form.addFieldPair(tr("Nazwa firmy lub osoba"), m_firm, 350, tr("Skrót nazwy firmy"), m_firmShort, 140);
    form.setNextGap(1);
    m_nip = new QLineEdit(page);
    form.addField(tr("NIP"), m_nip, 500);
    m_regon = new QLineEdit(page);
    form.addField(tr("Regon"), m_regon, 500);
    m_bank = new QLineEdit(page);
    form.addField(tr("Bank"), m_bank, 500);
    m_bankAccount = new QLineEdit(page);
    form.addField(tr("Numer konta"), m_bankAccount, 500);
    form.finish();
    return page;
}

QWidget* MBuyerDlg::createAddressPage()
{
    auto* page = new QWidget();
    m_addressTabs = new QTabWidget(page);

    auto* mainPage = new QWidget();
    MFormPage mainForm(mainPage);
    m_address = new QLineEdit(mainPage);
    mainForm.addField(tr("Adres"), m_address, 485);
    m_zipcode = new QLineEdit(mainPage);
    m_city = new QLineEdit(mainPage);
    mainForm.addFieldPair(tr("Kod pocztowy"), m_zipcode, 150, tr("Miejscowość"), m_city, 325);
    m_province = MReferenceComboBox::createProvinceBox(mainPage);
    m_country = MReferenceComboBox::createCountryBox(mainPage);
    mainForm.addFieldPair(tr("Województwo"), m_province, 200, tr("Kraj"), m_country, 275);
    mainForm.finish();
    m_addressTabs->addTab(mainPage, tr("Adres główny"));

    // Shown as a sub-page only while the address kind says the addresses differ.
    m_contactAddressPage = new QWidget(this);
    m_contactAddressPage->hide();
    MFormPage contactForm(m_contactAddressPage);
    m_contactName = new QLineEdit(m_contactAddressPage);
    contactForm.addField(tr("Adresat (jeśli inny)"), m_contactName, 485);
    m_contactAddress = new QLineEdit(m_contactAddressPage);
    contactForm.addField(tr("Adres"), m_contactAddress, 485);
    m_contactZipcode = new QLineEdit(m_contactAddressPage);
    m_contactCity = new QLineEdit(m_contactAddressPage);
    contactForm.addFieldPair(tr("Kod pocztowy"), m_contactZipcode, 150, tr("Miejscowość"), m_contactCity, 325);
    m_contactProvince = MReferenceComboBox::createProvinceBox(m_contactAddressPage);
    m_contactCountry = MReferenceComboBox::createCountryBox(m_contactAddressPage);
    contactForm.addFieldPair(tr("Województwo"), m_contactProvince, 200, tr("Kraj"), m_contactCountry, 275);
    contactForm.finish();

    m_addressKind = new QComboBox(page);
    m_addressKind->addItem(tr("Adres korespondencyjny taki sam jak adres główny"));
    m_addressKind->addItem(tr("Adres korespondencyjny inny niż adres główny"));
    m_addressKind->setCurrentIndex(0);
    connect(m_addressKind, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MBuyerDlg::doCurrentIndexChangedAddressKind);

    MFormPage form(page);
    form.addWidget(m_addressTabs);
    form.addField(tr("Rozróżnienie adresów"), m_addressKind, 500);
    form.finish();
    return page;
}

QWidget* MBuyerDlg::createInvoicesPage()
{
    auto* page = new QWidget();
    MFormPage form(page);
    m_reduct = new QLineEdit(page);
    m_reduct->setValidator(signedAmountValidator(m_reduct, 2));
    connect(m_reduct, &QLineEdit::editingFinished, this, &MBuyerDlg::doEditingFinishedReduct);
    form.addField(tr("Rabat (%)"), m_reduct, 160);

    form.setNextGap(1);
    form.addWidget(new QLabel(QStringLiteral("<hr>"), page), 500);
    form.setNextGap(2);

    m_payForm = new MReferenceComboBox(QStringLiteral("pay_form"), QStringLiteral("basic_form"), page);
    m_dayPeriod = new QSpinBox(page);
    m_dayPeriod->setRange(0, 1000000000);
    form.addFieldPair(tr("Forma płatności"), m_payForm, 160, tr("Termin płatności (dni)"), m_dayPeriod, 160);
    m_payFormText = new QLineEdit(page);
    m_payText = new QLineEdit(page);
    form.addFieldPair(tr("Tekst formy płatności"), m_payFormText, 160, tr("Tekst terminu płatności"), m_payText,
                      160);

    m_payInDays = createBoldCheckBox(tr("Termin płatności w dniach"), page);
    form.addWidget(m_payInDays);
    m_payed = createBoldCheckBox(tr("Tekst \"zapłacono\""), page);
    form.addWidget(m_payed);
    m_dateSellInMonths = createBoldCheckBox(tr("Data sprzedaży w miesiącach"), page);
    form.addWidget(m_dateSellInMonths);
    form.finish();

    loadPayForms(0);
    connect(m_payForm, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MBuyerDlg::doCurrentIndexChangedPayForm);
    return page;
}

QWidget* MBuyerDlg::createAdditionalPage()
{
    auto* page = new QWidget();
    MFormPage form(page);
    m_additional = new QPlainTextEdit(page);
    m_additional->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_additional->setFixedSize(500, 200);
    form.addField(tr("Uwagi"), m_additional);
    form.finish();
    return page;
}

void MBuyerDlg::doCurrentIndexChangedAddressKind(int /*index*/)
{
    updateAddressTab();
}

void MBuyerDlg::updateAddressTab()
{
    const int kind = m_addressKind->currentIndex();
    if (kind < 0)
        return;
    const int contactTab = m_addressTabs->indexOf(m_contactAddressPage);
    if (kind == 0 && contactTab >= 0)
        m_addressTabs->removeTab(contactTab);
    else if (kind == 1 && contactTab < 0)
        m_addressTabs->addTab(m_contactAddressPage, tr("Adres korespondencyjny"));
}

void MBuyerDlg::loadPayForms(int idCurrent)
{
    // A hidden pay form stays choosable for the buyer that already uses it.
    m_payForm->loadList(QStringLiteral("SELECT '', 0 UNION ALL SELECT basic_form, id FROM pay_form "
                                       "WHERE hidden = 0 OR id = ")
                        + QString::number(idCurrent) + QStringLiteral(" ORDER BY basic_form"));
}

void MBuyerDlg::doCurrentIndexChangedPayForm(int /*index*/)
{
    const int idPayForm = m_payForm->id();
    if (idPayForm > 0 && !m_payed->isChecked()) {
        QSqlQuery query;
        query.prepare(QStringLiteral("SELECT add_text_payed FROM pay_form WHERE id = :id"));
        query.bindValue(QStringLiteral(":id"), idPayForm);
        if (query.exec() && query.next() && query.value(0).toInt() != 0)
            m_payed->setChecked(true);
    }
    updatePayInDaysCheck(true);
}

void MBuyerDlg::updatePayInDaysCheck(bool onChange)
{
    enum { None = 0, Cash = 1, Transfer = 2, Card = 5, Cheque = 6, Voucher = 7 };
    const int idPayForm = m_payForm->id();
    switch (idPayForm) {
    case None:
        break;
    case Cash:
    case Card:
    case Cheque:
    case Voucher:
        if (onChange)
            m_payInDays->setChecked(false);
        break;
    case Transfer:
        if (onChange)
            m_payInDays->setChecked(true);
        break;
    default:
        // Barter, cash on delivery, compensation and forms added later have no term in days.
        m_payInDays->setEnabled(false);
        return;
    }
    m_payInDays->setEnabled(true);
}

double MBuyerDlg::reductValue() const
{
    return m_reduct->text().replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

void MBuyerDlg::doEditingFinishedReduct()
{
    m_reduct->setText(numberText(reductValue(), 2));
}

QString MBuyerDlg::buyerTable() const
{
    return tableName(QStringLiteral("buyer"), QStringLiteral("__invoice_buyer"));
}

QString MBuyerDlg::addressTable() const
{
    return tableName(QStringLiteral("buyer_address"), QStringLiteral("__invoice_buyer_address"));
}
