#include "MSellerDlg.h"

#include "parties/MFormPage.h"
#include "parties/MReferenceComboBox.h"
#include "views/MHelpButton.h"
#include "views/MListFont.h"
#include "views/MTableView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QSqlQueryModel>
#include <QTimer>
#include <QToolBar>

namespace {

// Marks the fields that the tax control files need.
QString requiredStar()
{
    return QStringLiteral("<span style=\"color: #f00000; font: normal ") + QString::number(listFontSize() + 3)
        + QStringLiteral("pt Courier;\">*</span>");
}

QString requiredLabel(const QString& text)
{
    return text + QLatin1Char(' ') + requiredStar();
}

QString numberFormatHelp()
{
    return QCoreApplication::translate(
        "MSellerDlg",
        "<b><u>Formaty numeracji dokumentów:</u></b><br><b>[nr]</b> Numer dokumentu.<br><b>[nr|szerokość]</b> Numer "
        "dokumentu. Szerokość musi byc liczbą dodatnią i wskazuje do jakiej szerokości numeru ma byc on być "
        "uzupełniony zerami. Przykład: dla [nr|4] kolejne numery to 0001, 0002, ...<br><b>[m]</b> Numer "
        "miesiąca.<br><b>[mm]</b> 2-cyfrowy numer miesiąca.<br><b>[r]</b> Ostatnia cyfra roku.<br><b>[rr]</b> 2 "
        "ostatnie cyfry roku.<br><b>[rrr]</b> 3 ostatnie cyfry roku.<br><b>[rrrr]</b> Pełny numer roku.");
}

} // namespace

MSellerDlg::MSellerDlg(QWidget* parent, bool invoiceMode, Qt::WindowFlags flags)
    : MPartyDlg(parent, 2, invoiceMode, flags)
{
    setWindowTitle(tr("Sprzedawca"));
    m_enabledActionsTimer = new QTimer(this);
    connect(m_enabledActionsTimer, &QTimer::timeout, this, &MSellerDlg::doTimeoutEnabledActionsTimer);

    createPages();
    nameFields();
}

MSellerDlg::~MSellerDlg() = default;

void MSellerDlg::nameFields()
{
    // Named after the columns they edit, as the shared pages name theirs.
    const QList<QPair<QWidget*, const char*>> fields = {
        {m_firm, "firm"}, {m_firmShort, "firm_short"}, {m_nip, "nip"}, {m_regon, "regon"}, {m_bank, "bank"},
        {m_bankAccount, "bank_account"}, {m_bankList, "seller_bank"}, {m_address, "address"},
        {m_street, "street"}, {m_addressNumber1, "address_number1"}, {m_addressNumber2, "address_number2"},
        {m_city, "city"}, {m_zipcode, "zipcode"}, {m_cityPost, "city_post"}, {m_province, "id_province"},
        {m_province2, "province2"}, {m_province3, "province3"}, {m_country, "id_country"},
        {m_numberPeriod, "id_invoice_index_format"}, {m_numberFormat, "invoice_index_format_text"},
        {m_logoPreview, "logo_preview"}, {m_logoControls, "logo_controls"}, {m_financialOfficeCode, "financial_office_code"},
        {m_financialOffice, "financial_office_static"}, {m_additional, "additional"},
    };
    for (const auto& field : fields) {
        if (field.first)
            field.first->setObjectName(QLatin1String(field.second));
    }
}

QWidget* MSellerDlg::createFirmPage()
{
    auto* page = new QWidget();
    MFormPage form(page);
    m_firm = new QLineEdit(page);
    m_firmShort = new QLineEdit(page);
    m_firmShort->setMaxLength(20);
    form.addFieldPair(tr("Nazwa firmy"), m_firm, 350, tr("Skrót nazwy firmy"), m_firmShort, 140);
    m_nip = new QLineEdit(page);
    m_regon = new QLineEdit(page);
    form.addFieldPair(tr("NIP"), m_nip, 245, tr("Regon"), m_regon, 245);
    if (isInvoiceMode()) {
        m_bank = new QLineEdit(page);
        m_bankAccount = new QLineEdit(page);
        form.addFieldPair(tr("Bank"), m_bank, 245, tr("Numer konta"), m_bankAccount, 245);
    } else {
        createBankWidgets(page);
        form.addField(tr("Banki"), m_bankToolBar);
        form.setNextGap(1);
        form.addWidget(m_bankList);
    }
    form.finish();
    return page;
}

QWidget* MSellerDlg::createAddressPage()
{
    auto* page = new QWidget();
    MFormPage form(page);
    m_address = new QLineEdit(page);
    form.addField(tr("Adres (ulica i numery)"), m_address, 500);

    m_street = new QLineEdit(page);
    m_addressNumber1 = new QLineEdit(page);
    m_addressNumber2 = new QLineEdit(page);
    form.addFields({{requiredLabel(tr("Ulica")), m_street, 280},
                    {requiredLabel(tr("Numer domu")), m_addressNumber1, 100},
                    {tr("Numer lokalu"), m_addressNumber2, 100}});

    m_city = new QLineEdit(page);
    m_zipcode = new QLineEdit(page);
    m_cityPost = new QLineEdit(page);
    form.addFields({{requiredLabel(tr("Miejscowość")), m_city, 190},
                    {requiredLabel(tr("Kod pocztowy")), m_zipcode, 100},
                    {requiredLabel(tr("Poczta")), m_cityPost, 190}});

    m_province = MReferenceComboBox::createProvinceBox(page);
    m_province2 = new QLineEdit(page);
    m_province3 = new QLineEdit(page);
    form.addFields({{requiredLabel(tr("Województwo")), m_province, 160},
                    {requiredLabel(tr("Powiat")), m_province2, 160},
                    {requiredLabel(tr("Gmina")), m_province3, 160}});

    m_country = MReferenceComboBox::createCountryBox(page);
    form.addField(requiredLabel(tr("Kraj")), m_country, 500);

    form.addWidget(new QLabel(QStringLiteral("<b>") + requiredStar() + QStringLiteral("</b> <span style=\"color: #808080;\">")
                                  + tr("Pola z gwiazdką są wymagane w dokumentach JPK.") + QStringLiteral("</span>"),
                              page));
    form.finish();
    return page;
}

QWidget* MSellerDlg::createInvoicesPage()
{
    auto* page = new QWidget();
    MFormPage form(page);
    m_numberPeriod = new MReferenceComboBox(QStringLiteral("invoice_index_format"), QStringLiteral("period"), page);
    m_numberPeriod->loadList(
        QStringLiteral("SELECT '', '', 0 UNION ALL SELECT period, name, id FROM invoice_index_format ORDER BY id"));
    form.addField(tr("Automatyczna numeracja faktur względem okresu"), m_numberPeriod, 500);

    auto* formatLabel = new QWidget(page);
    auto* formatLabelLayout = new QHBoxLayout(formatLabel);
    formatLabelLayout->setContentsMargins(0, 0, 0, 0);
    formatLabelLayout->setSpacing(0);
    formatLabelLayout->addWidget(MFormPage::boldLabel(tr("Format numeru faktur"), formatLabel));
    formatLabelLayout->addSpacing(10);
    auto* help = new MHelpButton(formatLabel);
    help->setHelpText(numberFormatHelp());
    formatLabelLayout->addWidget(help);
    form.addWidget(formatLabel);
    form.setNextGap(1);
    m_numberFormat = new QLineEdit(page);
    form.addWidget(m_numberFormat, 500);

    form.addWidget(createLogoWidgets(page));
    form.finish();

    connect(m_numberPeriod, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MSellerDlg::doCurrentIndexChangedNumberPeriod);
    return page;
}

QWidget* MSellerDlg::createAdditionalPage()
{
    auto* page = new QWidget();
    MFormPage form(page);

    // The prompt spans the code and the list of offices.
    auto* office = new QWidget(page);
    auto* officeLayout = new QGridLayout(office);
    officeLayout->setContentsMargins(0, 0, 0, 0);
    officeLayout->setSpacing(0);
    officeLayout->addWidget(MFormPage::boldLabel(tr("Wpisz kod urzędu skarbowego lub wybierz urząd z listy"), office),
                            0, 0, 1, 3, Qt::AlignLeft | Qt::AlignTop);
    officeLayout->setRowMinimumHeight(1, 1);
    m_financialOfficeCode = new QLineEdit(office);
    m_financialOfficeCode->setFixedWidth(100);
    officeLayout->addWidget(m_financialOfficeCode, 2, 0, Qt::AlignLeft | Qt::AlignTop);
    officeLayout->setColumnMinimumWidth(1, 10);
    m_financialOffice = new QComboBox(office);
    m_financialOffice->setFixedWidth(390);
    auto* offices = new QSqlQueryModel(m_financialOffice);
    offices->setQuery(QStringLiteral("SELECT '' AS name, '', '' UNION SELECT name, code, city "
                                     "FROM financial_office_static ORDER BY city, code"));
    while (offices->canFetchMore())
        offices->fetchMore();
    m_financialOffice->setModel(offices);
    m_financialOffice->setCurrentIndex(0);
    officeLayout->addWidget(m_financialOffice, 2, 2, Qt::AlignLeft | Qt::AlignTop);
    form.addWidget(office);

    m_additional = new QPlainTextEdit(page);
    m_additional->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_additional->setFixedSize(500, 200);
    form.addField(tr("Uwagi"), m_additional);
    form.finish();

    connect(m_financialOfficeCode, &QLineEdit::editingFinished, this,
            &MSellerDlg::doEditingFinishedFinancialOfficeCode);
    connect(m_financialOffice, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MSellerDlg::doCurrentIndexChangedFinancialOfficeStatic);
    return page;
}

void MSellerDlg::doCurrentIndexChangedNumberPeriod(int index)
{
    // Column 1 of the period list is the period's default pattern.
    const QString pattern = m_numberPeriod->model()->index(index, 1).data().toString();
    if (index > 0 && !pattern.isEmpty())
        m_numberFormat->setText(pattern);
}

void MSellerDlg::doCurrentIndexChangedFinancialOfficeStatic(int index)
{
    // Column 1 of the office list is the office's code.
    const QString code = m_financialOffice->model()->index(index, 1).data().toString();
    if (!code.isEmpty())
        m_financialOfficeCode->setText(code);
}

void MSellerDlg::doEditingFinishedFinancialOfficeCode()
{
    const QString code = m_financialOfficeCode->text();
    int row = -1;
    if (!code.isEmpty()) {
        const QAbstractItemModel* offices = m_financialOffice->model();
        const QModelIndexList found = offices->match(offices->index(1, 1), Qt::DisplayRole, code, 1,
                                                     Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!found.isEmpty())
            row = found.first().row();
    }
    m_financialOffice->setCurrentIndex(row);
}

QString MSellerDlg::sellerTable() const
{
    return tableName(QStringLiteral("seller"), QStringLiteral("__invoice_seller"));
}
