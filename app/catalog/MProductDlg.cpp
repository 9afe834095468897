#include "MProductDlg.h"

#include "data/MOptions.h"
#include "data/MSqlitePolish.h"
#include "parties/MFormPage.h"
#include "views/MComboBox.h"
#include "views/MTabOrder.h"
#include "views/MValidators.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QTextEdit>

namespace {

const int productViewKind = 4;
// '22%' and '23%' in table vat: the standard rate before and from 2011.
const int vatId22 = 23;
const int vatId23 = 24;

QLineEdit* createPriceField(QWidget* parent, const char* name, int decimals)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setValidator(signedAmountValidator(field, decimals));
    return field;
}

QLineEdit* createLineTotalField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setEnabled(false);
    return field;
}

QGridLayout* createGrid(int margin)
{
    auto* grid = new QGridLayout();
    grid->setContentsMargins(margin, margin, margin, margin);
    grid->setSpacing(0);
    return grid;
}

void addTopLeft(QGridLayout* grid, QWidget* widget, int row, int column)
{
    grid->addWidget(widget, row, column, Qt::AlignLeft | Qt::AlignTop);
}

} // namespace

MProductDlg::MProductDlg(QWidget* parent, bool invoiceMode, Qt::WindowFlags flags)
    : MRecordDlg(parent, productViewKind, invoiceMode, flags)
{
    m_idVat = MOptions::option(QStringLiteral("ID_DEFAULT_VAT")).toInt();
    if (m_idVat == 0)
        m_idVat = QDate::currentDate() >= QDate(2011, 1, 1) ? vatId23 : vatId22;

    setWindowTitle(tr("Produkt"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pages"));
    createTab(ProductTab);
    createTab(PriceTab);
    createTab(invoiceMode ? OptionTab : AdditionalTab);
    if (invoiceMode)
        m_tabs->setCurrentIndex(1);

    frameLayout()->addWidget(m_tabs, 0, 0);
    frameLayout()->setRowMinimumHeight(1, 5);
    addButtonRow(2);
}

MProductDlg::~MProductDlg() = default;

void MProductDlg::createTab(int tab)
{
    switch (tab) {
    case ProductTab:
        m_tabs->addTab(createProductPage(), tr("Produkt"));
        break;
    case PriceTab:
        m_tabs->addTab(createPricePage(), tr("Ceny"));
        break;
    case OptionTab:
        m_tabs->addTab(createOptionPage(), tr("Opcje"));
        break;
    case AdditionalTab:
        m_tabs->addTab(createAdditionalPage(), tr("Dodatkowe"));
        break;
    default:
        break;
    }
}

QWidget* MProductDlg::createProductPage()
{
    auto* page = new QWidget();
    MFormPage form(page);
    m_name = new QLineEdit(page);
    m_name->setObjectName(QStringLiteral("name"));
    form.addField(tr("Nazwa"), m_name, 500);
    m_code = new QLineEdit(page);
    m_code->setObjectName(QStringLiteral("code"));
    form.addField(tr("PKWiU/PKOB lub oznaczenie klasy/jakości"), m_code, 500);
    m_symbol = new QLineEdit(page);
    m_symbol->setObjectName(QStringLiteral("symbol"));
    form.addField(tr("Symbol"), m_symbol, 500);

    m_unit = new MComboBox(page);
    m_unit->setObjectName(QStringLiteral("unit"));
    m_unit->setEditable(true);
    auto* units = new QSqlQueryModel(m_unit);
    units->setQuery(QStringLiteral("SELECT '' AS name, 0 AS id UNION SELECT name, id FROM product_unit ORDER BY name ")
                    + MSqlitePolish::sqlCollate);
    while (units->canFetchMore())
        units->fetchMore();
    m_unit->setModel(units);
    m_unit->setCurrentIndex(0);
    form.addField(tr("Jednostka"), m_unit, 500);
    form.finish();
    return page;
}

QWidget* MProductDlg::createPricePage()
{
    auto* page = new QWidget();

    m_baseNetto = new QRadioButton(tr("netto"), page);
    m_baseNetto->setObjectName(QStringLiteral("base_netto"));
    m_baseBrutto = new QRadioButton(tr("brutto"), page);
    m_baseBrutto->setObjectName(QStringLiteral("base_brutto"));
    auto* baseGroup = new QButtonGroup(page);
    baseGroup->addButton(m_baseNetto);
    baseGroup->addButton(m_baseBrutto);
    if (MOptions::option(QStringLiteral("DEFAULT_PRICE_BASE")).toInt() == 0)
        m_baseNetto->setChecked(true);
    else
        m_baseBrutto->setChecked(true);

    m_vat = new QComboBox(page);
    m_vat->setObjectName(QStringLiteral("vat"));
    loadVat(QString());
    m_currency = new QComboBox(page);
    m_currency->setObjectName(QStringLiteral("id_currency"));
    auto* currencies = new QSqlQueryModel(m_currency);
    currencies->setQuery(QStringLiteral("SELECT symbol, id FROM currency ORDER BY symbol"));
    while (currencies->canFetchMore())
        currencies->fetchMore();
    m_currency->setModel(currencies);

    m_nettoPrice = createPriceField(page, "netto_price", 2);
    m_bruttoPrice = createPriceField(page, "brutto_price", 2);
    m_profitBrutto = createPriceField(page, "profit_brutto", 2);
    connect(m_profitBrutto, &QLineEdit::textChanged, this, &MProductDlg::doTextChangedProfitBrutto);
    connect(m_profitBrutto, &QLineEdit::editingFinished, this, &MProductDlg::doEditingFinishedProfitBrutto);

    if (isInvoiceMode()) {
        m_nettoReduced = createLineTotalField(page, "netto_reduced");
        m_bruttoReduced = createLineTotalField(page, "brutto_reduced");
        m_nettoTotal = createLineTotalField(page, "netto_total");
        m_bruttoTotal = createLineTotalField(page, "brutto_total");

        m_reductPercent = new QRadioButton(tr("procentowy"), page);
        m_reductPercent->setObjectName(QStringLiteral("reduct_percent"));
        m_reductSum = new QRadioButton(tr("kwotowy"), page);
        m_reductSum->setObjectName(QStringLiteral("reduct_sum"));
        auto* reductGroup = new QButtonGroup(page);
        reductGroup->addButton(m_reductPercent);
        reductGroup->addButton(m_reductSum);
        if (MOptions::option(QStringLiteral("DEFAULT_PRICE_REDUCT")).toInt() == 0)
            m_reductPercent->setChecked(true);
        else
            m_reductSum->setChecked(true);

        m_reduct = createPriceField(page, "reduct", 2);
        m_amount = createPriceField(page, "amount", 4);
        layOutLinePricePage(page);
    } else {
        layOutPricePage(page);
    }
    setPriceSignalsConnected(true);
    return page;
}

void MProductDlg::layOutPricePage(QWidget* page)
{
    auto* grid = createGrid(5);
    page->setLayout(grid);
    grid->setColumnStretch(0, 1);
    grid->setColumnMinimumWidth(1, 10);

    auto* base = new QHBoxLayout();
    base->setContentsMargins(0, 0, 0, 0);
    base->setSpacing(0);
    base->addWidget(MFormPage::boldLabel(tr("Podstawa cenowa"), page));
    base->addSpacing(15);
    base->addWidget(m_baseNetto);
    base->addSpacing(5);
    base->addWidget(m_baseBrutto);
    base->addStretch();
    grid->addLayout(base, 0, 0, 1, 3);
    grid->setRowMinimumHeight(1, 10);

    const QList<QPair<QPair<QString, QWidget*>, QPair<QString, QWidget*>>> rows = {
        {{tr("Netto"), m_nettoPrice}, {tr("Brutto"), m_bruttoPrice}},
        {{tr("VAT"), m_vat}, {tr("Waluta"), m_currency}},
        {{tr("Kwota marży brutto"), m_profitBrutto}, {QString(), nullptr}},
    };
    int row = 2;
    for (const auto& pair : rows) {
        addTopLeft(grid, MFormPage::boldLabel(pair.first.first, page), row, 0);
        if (pair.second.second)
            addTopLeft(grid, MFormPage::boldLabel(pair.second.first, page), row, 2);
        grid->setRowMinimumHeight(row + 1, 1);
        pair.first.second->setFixedWidth(245);
        addTopLeft(grid, pair.first.second, row + 2, 0);
        if (pair.second.second) {
            pair.second.second->setFixedWidth(245);
            addTopLeft(grid, pair.second.second, row + 2, 2);
        }
        grid->setRowMinimumHeight(row + 3, 5);
        row += 4;
    }
    grid->setRowStretch(row - 1, 100);
    MTabOrder::chain({m_baseNetto, m_baseBrutto, m_nettoPrice, m_bruttoPrice, m_vat, m_currency, m_profitBrutto});
}

void MProductDlg::layOutLinePricePage(QWidget* page)
{
    auto* grid = createGrid(5);
    page->setLayout(grid);
    grid->setColumnStretch(0, 1);

    const auto createBlock = [] {
        auto* block = createGrid(0);
        block->setColumnStretch(0, 1);
        block->setColumnMinimumWidth(0, 220);
        block->setColumnMinimumWidth(1, 10);
        block->setColumnMinimumWidth(3, 10);
        return block;
    };
    for (QWidget* field : {static_cast<QWidget*>(m_nettoPrice), static_cast<QWidget*>(m_bruttoPrice),
                           static_cast<QWidget*>(m_nettoReduced), static_cast<QWidget*>(m_bruttoReduced),
                           static_cast<QWidget*>(m_nettoTotal), static_cast<QWidget*>(m_bruttoTotal),
                           static_cast<QWidget*>(m_vat), static_cast<QWidget*>(m_currency),
                           static_cast<QWidget*>(m_amount), static_cast<QWidget*>(m_reduct),
                           static_cast<QWidget*>(m_profitBrutto)})
        field->setFixedWidth(130);

    QGridLayout* prices = createBlock();
    addTopLeft(prices, MFormPage::boldLabel(tr("Podstawa cenowa"), page), 0, 0);
    addTopLeft(prices, m_baseNetto, 0, 2);
    addTopLeft(prices, m_baseBrutto, 0, 4);
    prices->setRowMinimumHeight(1, 15);
    addTopLeft(prices, MFormPage::boldLabel(tr("Cena jednostkowa"), page), 2, 0);
    addTopLeft(prices, m_nettoPrice, 2, 2);
    addTopLeft(prices, m_bruttoPrice, 2, 4);
    prices->setRowMinimumHeight(3, 5);
    addTopLeft(prices, MFormPage::boldLabel(tr("Cena jednostkowa z rabatem"), page), 4, 0);
    addTopLeft(prices, m_nettoReduced, 4, 2);
    addTopLeft(prices, m_bruttoReduced, 4, 4);
    prices->setRowMinimumHeight(5, 5);
    addTopLeft(prices, MFormPage::boldLabel(tr("Cena sumaryczna"), page), 6, 0);
    addTopLeft(prices, m_nettoTotal, 6, 2);
    addTopLeft(prices, m_bruttoTotal, 6, 4);

    QGridLayout* line = createBlock();
    addTopLeft(line, MFormPage::boldLabel(tr("VAT"), page), 0, 0);
    addTopLeft(line, m_vat, 0, 2);
    addTopLeft(line, m_currency, 0, 4);
    line->setRowMinimumHeight(1, 5);
    addTopLeft(line, MFormPage::boldLabel(tr("Ilość"), page), 2, 0);
    addTopLeft(line, m_amount, 2, 2);
    line->setRowMinimumHeight(3, 5);
    auto* reductKind = new QHBoxLayout();
    reductKind->setContentsMargins(0, 0, 0, 0);
    reductKind->setSpacing(0);
    reductKind->addWidget(MFormPage::boldLabel(tr("Rabat"), page));
    reductKind->addSpacing(10);
    reductKind->addWidget(m_reductPercent);
    reductKind->addSpacing(5);
    reductKind->addWidget(m_reductSum);
    reductKind->addStretch();
    line->addLayout(reductKind, 4, 0);
    addTopLeft(line, m_reduct, 4, 2);
    line->setRowMinimumHeight(5, 5);
    addTopLeft(line, MFormPage::boldLabel(tr("Kwota marży brutto"), page), 6, 0);
    addTopLeft(line, m_profitBrutto, 6, 2);

    grid->addLayout(prices, 0, 0);
    grid->setRowMinimumHeight(1, 15);
    grid->addLayout(line, 2, 0);
    grid->setRowStretch(3, 100);
    MTabOrder::chain({m_baseNetto, m_baseBrutto, m_nettoPrice, m_bruttoPrice, m_nettoReduced, m_bruttoReduced, m_nettoTotal,
                 m_bruttoTotal, m_vat, m_currency, m_amount, m_reductPercent, m_reductSum, m_reduct, m_profitBrutto});
}

QWidget* MProductDlg::createOptionPage()
{
    auto* page = new QWidget();
    auto* grid = createGrid(5);
    page->setLayout(grid);
    grid->setColumnStretch(0, 1);
    m_positionHide = new QCheckBox(tr("Pomiń numer pozycji na wydruku"), page);
    m_positionHide->setObjectName(QStringLiteral("position_hide"));
    m_positionHide->setStyleSheet(QStringLiteral("font-weight: bold;"));
    addTopLeft(grid, m_positionHide, 0, 0);
    grid->setRowStretch(1, 100);
    return page;
}

QWidget* MProductDlg::createAdditionalPage()
{
    auto* page = new QWidget();
    auto* grid = createGrid(5);
    page->setLayout(grid);
    grid->setColumnStretch(0, 1);
    addTopLeft(grid, MFormPage::boldLabel(tr("Uwagi"), page), 0, 0);
    grid->setRowMinimumHeight(1, 1);
    m_additional = new QTextEdit(page);
    m_additional->setObjectName(QStringLiteral("additional"));
    m_additional->setAcceptRichText(false);
    m_additional->setLineWrapMode(QTextEdit::NoWrap);
    m_additional->setFixedSize(500, 200);
    addTopLeft(grid, m_additional, 2, 0);
    grid->setRowStretch(3, 100);
    return page;
}

void MProductDlg::setPriceSignalsConnected(bool connected)
{
    for (const QMetaObject::Connection& connection : qAsConst(m_priceConnections))
        disconnect(connection);
    m_priceConnections.clear();
    if (!connected)
        return;

    m_priceConnections << connect(m_baseNetto, &QRadioButton::toggled, this, &MProductDlg::doToggledPriceBaseNetto)
                       << connect(m_baseBrutto, &QRadioButton::toggled, this, &MProductDlg::doToggledPriceBaseBrutto)
                       << connect(m_nettoPrice, &QLineEdit::textChanged, this, &MProductDlg::doTextChangedPriceNetto)
                       << connect(m_nettoPrice, &QLineEdit::editingFinished, this,
                                  &MProductDlg::doEditingFinishedPriceNetto)
                       << connect(m_bruttoPrice, &QLineEdit::textChanged, this, &MProductDlg::doTextChangedPriceBrutto)
                       << connect(m_bruttoPrice, &QLineEdit::editingFinished, this,
                                  &MProductDlg::doEditingFinishedPriceBrutto);
    if (!isInvoiceMode())
        return;
    m_priceConnections << connect(m_reductPercent, &QRadioButton::toggled, this,
                                  &MProductDlg::doToggledPriceReductPercent)
                       << connect(m_reductSum, &QRadioButton::toggled, this, &MProductDlg::doToggledPriceReductSum)
                       << connect(m_reduct, &QLineEdit::textChanged, this, &MProductDlg::doTextChangedReduct)
                       << connect(m_reduct, &QLineEdit::editingFinished, this, &MProductDlg::doEditingFinishedReduct)
                       << connect(m_amount, &QLineEdit::textChanged, this, &MProductDlg::doTextChangedAmount)
                       << connect(m_amount, &QLineEdit::editingFinished, this, &MProductDlg::doEditingFinishedAmount);
}
