// The six pages of the editor: widgets, captions, limits, option defaults,
// the 31 actions and the eight drop targets. No document data is put in here.
#include "MInvoiceDlg.h"

#include "MInvoiceJoinItemDelegate.h"
#include "MInvoiceProductItemDelegate.h"
#include "data/MDocKinds.h"
#include "data/MNumberText.h"
#include "data/MOptions.h"
#include "views/MDateEdit.h"
#include "views/MHelpButton.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"
#include "views/MValidators.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The editor's tables select whole rows and take the records dragged onto them.
void takeRowsAndDrops(MTableView* table)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setFocusPolicy(Qt::StrongFocus);
    table->setDragDropMode(QAbstractItemView::DragDrop);
    table->setDropIndicatorShown(false);
    table->setAcceptDrops(true);
}

const QString iconDb = QStringLiteral(":/resource/open_tb_16_16.png");
const QString iconAdd = QStringLiteral(":/resource/record_add_tb_16_16.png");
const QString iconChange = QStringLiteral(":/resource/record_change_tb_16_16.png");
const QString iconEdit = QStringLiteral(":/resource/record_edit_tb_16_16.png");
const QString iconDelete = QStringLiteral(":/resource/record_delete_tb_16_16.png");

QGridLayout* pageLayout(QWidget* page)
{
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    return layout;
}

// Two radio buttons side by side, one of them checked at a time.
QHBoxLayout* exclusivePair(QRadioButton* first, QRadioButton* second)
{
    auto* group = new QButtonGroup(first->parent());
    group->addButton(first);
    group->addButton(second);
    auto* box = new QHBoxLayout;
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(5);
    box->addWidget(first);
    box->addWidget(second);
    return box;
}

QSqlQueryModel* readAll(const QString& sql, QObject* parent)
{
    auto* model = new QSqlQueryModel(parent);
    model->setQuery(sql);
    while (model->canFetchMore())
        model->fetchMore();
    return model;
}

QLabel* rule(QWidget* parent)
{
    auto* label = new QLabel(QStringLiteral("<hr>"), parent);
    label->setFixedWidth(485);
    return label;
}

} // namespace

void MInvoiceDlg::createTab(int tab)
{
    switch (tab) {
    case 1: createSellerPage(); break;
    case 2: createBuyerPage(); break;
    case 3: createProductsPage(); break;
    case 4: createTermsPage(); break;
    case 5: createTextsPage(); break;
    case 6: createInvoicesPage(); break;
    default: break;
    }
}

QLabel* MInvoiceDlg::createCaption(const QString& text, QWidget* parent)
{
    return new QLabel(QStringLiteral("<b>") + text + QStringLiteral("</b>"), parent);
}

QCheckBox* MInvoiceDlg::createCheckBox(const QString& text, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setStyleSheet(QStringLiteral("font-weight: bold;"));
    return box;
}

QDateEdit* MInvoiceDlg::createDateEdit(QWidget* parent, int width)
{
    return MDateEdit::create(parent, width);
}

QToolBar* MInvoiceDlg::createToolBar(QWidget* parent)
{
    auto* toolBar = new QToolBar(parent);
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(16, 16));
    return toolBar;
}

QAction* MInvoiceDlg::addAction(QToolBar* toolBar, const QString& key, const QString& icon, const QString& text,
                                const char* slot)
{
    auto* action = new QAction(QIcon(icon), text, this);
    if (slot)
        connect(action, SIGNAL(triggered()), this, slot);
    toolBar->addAction(action);
    m_actions.insert(key, action);
    return action;
}

MTableView* MInvoiceDlg::createPreviewTable(QWidget* parent, int width)
{
    auto* table = new MTableView(parent);
    table->setFixedSize(width, 250);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setWordWrap(true);
    takeRowsAndDrops(table);
    return table;
}

MTableView* MInvoiceDlg::createListTable(QWidget* parent)
{
    auto* table = new MTableView(parent);
    table->setFixedSize(500, 217);
    table->horizontalHeader()->hide();
    table->verticalHeader()->show();
    table->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignTop);
    table->verticalHeader()->setSectionsClickable(false);
    table->verticalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { font: normal 10pt Arial; padding-left: 5px; padding-right: 5px; padding-top: 3px; }\n"));
    table->setWordWrap(false);
    takeRowsAndDrops(table);
    return table;
}

MTextEdit* MInvoiceDlg::createTextBox(QWidget* parent)
{
    auto* box = new MTextEdit(parent);
    box->setFixedSize(485, 120);
    box->setAcceptRichText(false);
    box->setLineWrapMode(QTextEdit::NoWrap);
    box->setAcceptDrops(true);
    return box;
}

void MInvoiceDlg::createSellerPage()
{
    const bool purchase = MDocKinds::isPurchase(m_docKind);
    auto* page = new QWidget(m_tabMain);
    QGridLayout* layout = pageLayout(page);
    layout->addWidget(createCaption(purchase ? tr("Kontrahent<br>(dla faktur zakupowych wybierany ze sprzedawców)")
                                             : tr("Sprzedawca"),
                                    page),
                      0, 0);
    QToolBar* toolBar = createToolBar(page);
    addAction(toolBar, QStringLiteral("SELLER_DB"), iconDb, tr("Pokaż bazę"), SLOT(doActionSellerDb()));
    addAction(toolBar, QStringLiteral("SELLER_ADD"), iconAdd, tr("Dodaj"), nullptr);
    addAction(toolBar, QStringLiteral("SELLER_EDIT"), iconEdit, tr("Edytuj"), SLOT(doActionSellerEdit()));
    addAction(toolBar, QStringLiteral("SELLER_DELETE"), iconDelete, tr("Usuń"), nullptr);
    layout->addWidget(toolBar, 0, 1);
    layout->setRowMinimumHeight(1, 1);
    m_sellerTable = createPreviewTable(page, 500);
    layout->addWidget(m_sellerTable, 2, 0, 1, 3);
    layout->setRowMinimumHeight(3, 5);
    layout->addWidget(createCaption(tr("Konto bankowe"), page), 4, 0);
    layout->setRowMinimumHeight(5, 1);
    m_sellerBank = new QComboBox(page);
    m_sellerBank->setFixedWidth(500);
    layout->addWidget(m_sellerBank, 6, 0, 1, 3);
    layout->setRowStretch(7, 1);
    m_tabMain->addTab(page, purchase ? tr("Kontrahent") : tr("Sprzedawca"));
}

void MInvoiceDlg::createBuyerPage()
{
    auto* page = new QWidget(m_tabMain);
    QGridLayout* layout = pageLayout(page);
    if (MDocKinds::isPurchase(m_docKind)) {
        layout->addWidget(createCaption(tr("Sprzedawca<br>(dla faktur zakupowych wybierany z kontrahentów)"), page),
                          0, 0);
        QToolBar* toolBar = createToolBar(page);
        addAction(toolBar, QStringLiteral("BUYER_DB"), iconDb, tr("Pokaż bazę"), SLOT(doActionBuyerDb()));
        addAction(toolBar, QStringLiteral("BUYER_ADD"), iconAdd, tr("Dodaj"), nullptr);
        addAction(toolBar, QStringLiteral("BUYER_EDIT"), iconEdit, tr("Edytuj"), SLOT(doActionBuyerEdit()));
        addAction(toolBar, QStringLiteral("BUYER_DELETE"), iconDelete, tr("Usuń"), nullptr);
        layout->addWidget(toolBar, 2, 0);
        m_buyerTable = createPreviewTable(page, 485);
        layout->addWidget(m_buyerTable, 4, 0);
        layout->setRowStretch(5, 1);
        m_tabMain->addTab(page, tr("Sprzedawca"));
        return;
    }

    m_buyerTabs = new QTabWidget(page);
    auto* buyerPage = new QWidget(m_buyerTabs);
    QGridLayout* buyerLayout = pageLayout(buyerPage);
    QToolBar* toolBar = createToolBar(buyerPage);
    addAction(toolBar, QStringLiteral("BUYER_DB"), iconDb, tr("Pokaż bazę"), SLOT(doActionBuyerDb()));
    addAction(toolBar, QStringLiteral("BUYER_ADD"), iconAdd, tr("Dodaj"), nullptr);
    addAction(toolBar, QStringLiteral("BUYER_EDIT"), iconEdit, tr("Edytuj"), SLOT(doActionBuyerEdit()));
    addAction(toolBar, QStringLiteral("BUYER_DELETE"), iconDelete, tr("Usuń"), nullptr);
    buyerLayout->addWidget(toolBar, 0, 0);
    m_buyerTable = createPreviewTable(buyerPage, 485);
    buyerLayout->addWidget(m_buyerTable, 1, 0);
    m_buyerTabs->addTab(buyerPage, tr("Nabywca"));

    m_buyer2Page = new QWidget(m_buyerTabs);
    QGridLayout* buyer2Layout = pageLayout(m_buyer2Page);
    QToolBar* toolBar2 = createToolBar(m_buyer2Page);
    addAction(toolBar2, QStringLiteral("BUYER2_DB"), iconDb, tr("Pokaż bazę"), SLOT(doActionBuyer2Db()));
    addAction(toolBar2, QStringLiteral("BUYER2_ADD"), iconAdd, tr("Dodaj"), nullptr);
    addAction(toolBar2, QStringLiteral("BUYER2_EDIT"), iconEdit, tr("Edytuj"), SLOT(doActionBuyer2Edit()));
    addAction(toolBar2, QStringLiteral("BUYER2_DELETE"), iconDelete, tr("Usuń"), nullptr);
    buyer2Layout->addWidget(toolBar2, 0, 0);
    m_buyer2Table = createPreviewTable(m_buyer2Page, 485);
    buyer2Layout->addWidget(m_buyer2Table, 1, 0);
    m_buyer2Page->hide();

    layout->addWidget(m_buyerTabs, 0, 0);
    layout->addWidget(createCaption(tr("Pokaż kontrahenta(ów) jako:"), page), 1, 0);
    m_buyerKind = new QComboBox(page);
    m_buyerKind->setFixedWidth(500);
    m_buyerKind->setModel(readAll(QStringLiteral("SELECT name, id FROM invoice_buyer_kind ORDER BY id"), m_buyerKind));
    m_buyerKind->setCurrentIndex(0);
    m_buyerKind->setToolTip(tr("Powoduje pokazanie się 1 lub 2 zakładek do wybrania kontrahentów.") + QStringLiteral("<br>")
                            + tr("Na dokumentach będą pokazywały się wpisy 1 lub 2 kontahentów z odpowiednio "
                                 "dobranymi tytułami i ich danymi."));
    connect(m_buyerKind, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MInvoiceDlg::doCurrentIndexChangedBuyerKind);
    layout->addWidget(m_buyerKind, 2, 0);
    layout->setRowStretch(3, 1);
    m_tabMain->addTab(page, tr("Kontrahent"));
}

void MInvoiceDlg::createProductsPage()
{
    auto* page = new QWidget(m_tabMain);
    QGridLayout* layout = pageLayout(page);
    layout->addWidget(createCaption(tr("Produkty"), page), 0, 0);
    QToolBar* toolBar = createToolBar(page);
    addAction(toolBar, QStringLiteral("PRODUCT_DB"), iconDb, tr("Pokaż bazę"), SLOT(doActionProductDb()));
    addAction(toolBar, QStringLiteral("PRODUCT_ADD"), iconAdd, tr("Dodaj"), nullptr);
    addAction(toolBar, QStringLiteral("PRODUCT_CHANGE"), iconChange, tr("Zamień"), nullptr);
    addAction(toolBar, QStringLiteral("PRODUCT_EDIT"), iconEdit, tr("Edytuj"), SLOT(doActionProductEdit()));
    addAction(toolBar, QStringLiteral("PRODUCT_DELETE"), iconDelete, tr("Usuń"), nullptr);
    layout->addWidget(toolBar, 0, 1);
    auto* help = new MHelpButton(page);
    const QString row = QStringLiteral("<tr style=\"background-color: #ffffff;\">");
    help->setHelpText(
        QStringLiteral("<b><u>") + tr("Opis danych produktów na liście:") + QStringLiteral("</u></b>")
        + QStringLiteral("<table border=\"0\" cellspacing=\"1\" cellpadding=\"3\" bgcolor=\"#c0c0c0\">") + row
        + QStringLiteral("<td colspan=\"7\">") + tr("Nazwa") + QStringLiteral("</td></tr>") + row + QStringLiteral("<td>")
        + QStringList{tr("Ilość"), tr("Jednostka"), tr("Podstawa<br>cenowa"), tr("Waluta"), tr("VAT"),
                      tr("Wartość<br>netto"), tr("Wartość<br>brutto")}
              .join(QStringLiteral("</td><td>"))
        + QStringLiteral("</td></tr></table><br><br><b>")
        + tr("Szczegółowe dane produktów dostępne są po najechaniu kursorem na listę.") + QStringLiteral("</b>"));
    layout->addWidget(help, 0, 4, Qt::AlignRight);
    m_productList = createListTable(page);
    m_productList->setItemDelegateForColumn(2, new MInvoiceProductItemDelegate(m_productList));
    layout->addWidget(m_productList, 2, 0, 1, 5);

    m_productTabs = new QTabWidget(page);
    m_productTabs->setFixedWidth(500);

    auto* prices = new QWidget(m_productTabs);
    QGridLayout* pricesLayout = pageLayout(prices);
    m_priceNetto = new QRadioButton(tr("netto"), prices);
    m_priceBrutto = new QRadioButton(tr("brutto"), prices);
    pricesLayout->addWidget(createCaption(tr("Podstawa cenowa"), prices), 0, 0);
    pricesLayout->addLayout(exclusivePair(m_priceNetto, m_priceBrutto), 0, 1);
    m_reductPercent = new QRadioButton(tr("procentowy"), prices);
    m_reductAmount = new QRadioButton(tr("kwotowy"), prices);
    pricesLayout->addWidget(createCaption(tr("Rabat"), prices), 1, 0);
    pricesLayout->addLayout(exclusivePair(m_reductPercent, m_reductAmount), 1, 1);
    (MOptions::option(QStringLiteral("DEFAULT_PRICE_BASE")).toInt() == 0 ? m_priceNetto : m_priceBrutto)->setChecked(true);
    (MOptions::option(QStringLiteral("DEFAULT_PRICE_REDUCT")).toInt() == 0 ? m_reductPercent : m_reductAmount)
        ->setChecked(true);
    m_productTabs->addTab(prices, tr("Ceny"));

    auto* currencies = new QWidget(m_productTabs);
    QGridLayout* currenciesLayout = pageLayout(currencies);
    m_currencyLabel = createCaption(tr("Waluta"), currencies);
    m_currency = new QComboBox(currencies);
    m_currency->setFixedWidth(80);
    m_currency->setModel(readAll(QStringLiteral("SELECT symbol, id FROM currency ORDER BY symbol"),
                                 m_currency));
    currenciesLayout->addWidget(m_currencyLabel, 0, 0);
    currenciesLayout->addWidget(m_currency, 0, 1);
    m_currencyRatingLabel = createCaption(tr("Notowanie waluty"), currencies);
    m_currencyRatingToolBar = createToolBar(currencies);
    addAction(m_currencyRatingToolBar, QStringLiteral("CURRENCY_RATING_DB"), iconDb, tr("Pokaż bazę"),
              SLOT(doActionCurrencyRatingDb()));
    addAction(m_currencyRatingToolBar, QStringLiteral("CURRENCY_RATING_ADD"), iconAdd, tr("Dodaj"), nullptr);
    addAction(m_currencyRatingToolBar, QStringLiteral("CURRENCY_RATING_EDIT"), iconEdit, tr("Edytuj"),
              SLOT(doActionCurrencyRatingEdit()));
    addAction(m_currencyRatingToolBar, QStringLiteral("CURRENCY_RATING_DELETE"), iconDelete, tr("Usuń"), nullptr);
    currenciesLayout->addWidget(m_currencyRatingLabel, 1, 0);
    currenciesLayout->addWidget(m_currencyRatingToolBar, 1, 1);
    m_currencyRatingTable = new MTableView(currencies);
    m_currencyRatingTable->setFixedSize(485, 45);
    m_currencyRatingTable->verticalHeader()->hide();
    m_currencyRatingTable->setWordWrap(false);
    m_currencyRatingTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_currencyRatingTable->setDropIndicatorShown(false);
    m_currencyRatingTable->setAcceptDrops(true);
    currenciesLayout->addWidget(m_currencyRatingTable, 2, 0, 1, 3);
    m_productTabs->addTab(currencies, tr("Waluty"));

    // A bill has no "Opcje": its widgets exist but are placed nowhere.
    const bool bill = m_docKind == 9;
    QWidget* options = bill ? nullptr : new QWidget(m_productTabs);
    m_summaryCountLabel = createCaption(tr("Podsumowanie cen"), options ? options : page);
    m_summaryCount = new QComboBox(options ? options : page);
    m_summaryCount->addItems({tr("sumując wiersze"), tr("wyliczając na końcu")});
    const bool rowSum = bill || MDocKinds::isMargin(m_docKind);
    m_summaryCount->setCurrentIndex(rowSum ? 0 : MOptions::option(QStringLiteral("DEFAULT_SUMMARY_COUNT")).toInt());
    m_hideVat = createCheckBox(tr("Nie wykazuj VAT"), options ? options : page);
    m_summaryCountLabel->hide();
    m_summaryCount->hide();
    if (options) {
        QGridLayout* optionsLayout = pageLayout(options);
        optionsLayout->addWidget(m_summaryCountLabel, 0, 0);
        optionsLayout->addWidget(m_summaryCount, 0, 1);
        optionsLayout->addWidget(m_hideVat, 0, 2);
        m_productTabs->addTab(options, tr("Opcje"));
    } else {
        m_hideVat->hide();
    }
    layout->addWidget(m_productTabs, 4, 0, 1, 5);
    layout->setRowStretch(5, 1);
    m_tabMain->addTab(page, tr("Produkty"));
}

void MInvoiceDlg::createTermsPage()
{
    const QString x = MDocKinds::isPurchase(m_docKind) ? tr("zakupu") : tr("sprzedaży");
    auto* page = new QWidget(m_tabMain);
    QGridLayout* pageGrid = pageLayout(page);
    auto* tabs = new QTabWidget(page);
    pageGrid->addWidget(tabs, 0, 0);

    auto* terms = new QWidget(tabs);
    QGridLayout* layout = pageLayout(terms);
    // A correction's longer captions ("Data wystawienia korekty") widen their column up to the next one.
    layout->setHorizontalSpacing(10);
    auto* kindRow = new QHBoxLayout;
    kindRow->setContentsMargins(0, 0, 0, 0);
    kindRow->addWidget(createCaption(tr("Rodzaj dokumentu"), terms));
    kindRow->addSpacing(10);
    m_docKindCombo = new QComboBox(terms);
    m_docKindCombo->setFixedWidth(240);
    kindRow->addWidget(m_docKindCombo);
    kindRow->addStretch(1);
    layout->addLayout(kindRow, 0, 0, 1, 3);
    layout->addWidget(rule(terms), 2, 0, 1, 3);

    m_placePut = new QLineEdit(terms);
    m_placePut->setFixedWidth(155);
    m_datePutLabel = createCaption(tr("Data wystawienia"), terms);
    m_datePut = createDateEdit(terms, 155);
    m_dateSellLabel = createCaption(tr("Data ") + x, terms);
    m_dateSell = createDateEdit(terms, 155);
    layout->addWidget(createCaption(tr("Miejsce wystawienia"), terms), 4, 0);
    layout->addWidget(m_datePutLabel, 4, 1);
    layout->addWidget(m_dateSellLabel, 4, 2);
    layout->addWidget(m_placePut, 5, 0);
    layout->addWidget(m_datePut, 5, 1);
    layout->addWidget(m_dateSell, 5, 2);

    m_payForm = new QComboBox(terms);
    m_payForm->setFixedWidth(155);
    m_datePayLabel = createCaption(tr("Termin płatności"), terms);
    m_dayPeriodLabel = createCaption(tr("Termin płatności (dni)"), terms);
    m_datePay = createDateEdit(terms, 155);
    m_dayPeriod = new QSpinBox(terms);
    m_dayPeriod->setFixedWidth(155);
    m_dayPeriod->setRange(0, 1000000000);
    m_showDatePayedAll = createCheckBox(tr("Pokaż datę zapłaty"), terms);
    m_showDatePayedAll->setEnabled(false);
    m_datePayedAll = createDateEdit(terms, 160);
    m_datePayedAll->setEnabled(false);
    layout->addWidget(createCaption(tr("Forma płatności"), terms), 6, 0, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(m_datePayLabel, 6, 1, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(m_dayPeriodLabel, 6, 1, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(m_showDatePayedAll, 6, 2, Qt::AlignLeft | Qt::AlignBottom);
    layout->addWidget(m_payForm, 7, 0);
    layout->addWidget(m_datePay, 7, 1);
    layout->addWidget(m_dayPeriod, 7, 1);
    layout->addWidget(m_datePayedAll, 7, 2);

    m_payFormText = new QLineEdit(terms);
    m_payFormText->setFixedWidth(155);
    m_payTextLabel = createCaption(tr("Tekst terminu płatności"), terms);
    m_payText = new QLineEdit(terms);
    m_payText->setFixedWidth(155);
    layout->addWidget(createCaption(tr("Tekst formy płatności"), terms), 8, 0);
    layout->addWidget(m_payTextLabel, 8, 1);
    layout->addWidget(m_payFormText, 9, 0);
    layout->addWidget(m_payText, 9, 1);

    m_payInDays = createCheckBox(tr("Termin płatności w dniach"), terms);
    m_payed = createCheckBox(tr("Tekst \"zapłacono\""), terms);
    m_dateSellInMonths = createCheckBox(tr("Data ") + x + tr(" w miesiącach"), terms);
    m_contractTextLabel = createCaption(tr("Do umowy/zlecenia"), terms);
    m_contractTextHelp = new MHelpButton(terms);
    m_contractTextHelp->setHelpText(tr("<p>Tekst zamieszczany pod nagłówkiem faktury zaliczkowej lub końcowej dotyczący "
                                       "dokumentu, na którego podstawie wystawiona jest faktura.</p>"));
    m_contractText = new QLineEdit(terms);
    m_contractText->setFixedWidth(240);
    layout->addWidget(m_payInDays, 10, 0);
    layout->addWidget(m_payed, 11, 0);
    auto* contractRow = new QHBoxLayout;
    contractRow->setContentsMargins(0, 0, 0, 0);
    contractRow->addWidget(m_contractTextLabel);
    contractRow->addWidget(m_contractTextHelp);
    contractRow->addStretch(1);
    layout->addLayout(contractRow, 11, 1, 1, 2);
    layout->addWidget(m_dateSellInMonths, 12, 0);
    layout->addWidget(m_contractText, 12, 1, 2, 3);
    layout->addWidget(rule(terms), 14, 0, 1, 3);

    m_invoiceIndexText = new QLineEdit(terms);
    m_invoiceIndexText->setFixedWidth(235);
    m_invoiceIndexText->setEnabled(false);
    m_firstInvoiceNumber = new QSpinBox(terms);
    m_firstInvoiceNumber->setFixedWidth(240);
    m_firstInvoiceNumber->setRange(1, 1000000000);
    layout->addWidget(createCaption(tr("Numer dokumentu"), terms), 16, 0, 1, 2);
    layout->addWidget(createCaption(tr("Początkowy numer dokumentu"), terms), 16, 2);
    layout->addWidget(m_invoiceIndexText, 17, 0, 1, 2);
    layout->addWidget(m_firstInvoiceNumber, 17, 2);
    layout->setRowStretch(18, 1);
    tabs->addTab(terms, tr("Terminy i numeracja"));
    tabs->addTab(createPaymentControlPage(), tr("Kontrola płatności"));
    m_tabMain->addTab(page, tr("Terminy"));
}

QWidget* MInvoiceDlg::createPaymentControlPage()
{
    auto* page = new QWidget;
    QGridLayout* layout = pageLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("<b>") + tr("Kontrola płatności") + QStringLiteral("</b> (")
                                     + tr("dokumentuje wpływy płatności") + QStringLiteral(")"),
                                 page),
                      0, 0, 1, 3);
    layout->setRowMinimumHeight(1, 10);
    m_isPayed = createCheckBox(tr("Zapłacone"), page);
    m_showDatePayed = createCheckBox(tr("Wybierz datę zapłaty"), page);
    m_showDatePayed->setEnabled(false);
    m_datePayed = createDateEdit(page, 160);
    m_datePayed->setEnabled(false);
    auto* payedBox = new QVBoxLayout;
    payedBox->setContentsMargins(0, 0, 0, 0);
    payedBox->addWidget(m_isPayed);
    payedBox->addWidget(m_showDatePayed);
    payedBox->addWidget(m_datePayed);
    layout->addLayout(payedBox, 2, 0, 1, 3);
    layout->setRowMinimumHeight(3, 2);
    layout->addWidget(rule(page), 4, 0, 1, 3);
    layout->setRowMinimumHeight(5, 2);
    m_isCancelled = createCheckBox(tr("Anulowane"), page);
    layout->addWidget(m_isCancelled, 6, 0, 1, 3);
    layout->setRowMinimumHeight(7, 2);
    layout->addWidget(rule(page), 8, 0, 1, 3);
    layout->setRowMinimumHeight(9, 2);
    layout->addWidget(new QLabel(QStringLiteral("<b>") + tr("Częściowa zapłata/zaliczka") + QStringLiteral("</b> (")
                                     + tr("widoczna na dokumencie") + QStringLiteral(")"),
                                 page),
                      10, 0, 1, 3);
    layout->setRowMinimumHeight(11, 10);

    m_payFormPart = new QComboBox(page);
    m_payFormPart->setFixedWidth(155);
    m_bruttoPart = new QLineEdit(numberText(0.0, 2), page);
    m_bruttoPart->setFixedWidth(155);
    m_bruttoPart->setValidator(amountValidator(m_bruttoPart, 2));
    m_bruttoRest = new QLineEdit(numberText(0.0, 2), page);
    m_bruttoRest->setFixedWidth(155);
    m_bruttoRest->setEnabled(false);
    m_showDatePayedPart = createCheckBox(tr("Pokaż datę zapłaty"), page);
    m_datePayedPart = createDateEdit(page, 160);
    m_datePayedPart->setEnabled(false);
    layout->addWidget(createCaption(tr("Forma płatności"), page), 12, 0);
    layout->addWidget(createCaption(tr("Kwota wpłaty"), page), 12, 1);
    layout->addWidget(createCaption(tr("Pozostało do zapłaty"), page), 12, 2);
    layout->addWidget(m_payFormPart, 13, 0);
    layout->addWidget(m_bruttoPart, 13, 1);
    layout->addWidget(m_bruttoRest, 13, 2);
    layout->addWidget(m_showDatePayedPart, 14, 0, 1, 3);
    layout->addWidget(m_datePayedPart, 15, 0, 1, 3);
    layout->setRowStretch(16, 1);
    return page;
}

void MInvoiceDlg::createTextsPage()
{
    auto* page = new QWidget(m_tabMain);
    QGridLayout* layout = pageLayout(page);
    m_textTabs = new QTabWidget(page);

    auto* endTextPage = new QWidget(m_textTabs);
    QGridLayout* endTextLayout = pageLayout(endTextPage);
    QToolBar* toolBar = createToolBar(endTextPage);
    addAction(toolBar, QStringLiteral("ENDTEXT_DB"), iconDb, tr("Pokaż bazę"), SLOT(doActionEndTextDb()));
    addAction(toolBar, QStringLiteral("ENDTEXT_ADD"), iconAdd, tr("Dodaj"), nullptr);
    addAction(toolBar, QStringLiteral("ENDTEXT_DELETE"), iconDelete, tr("Usuń"), nullptr);
    endTextLayout->addWidget(toolBar, 0, 0);
    m_endText = createTextBox(endTextPage);
    endTextLayout->addWidget(m_endText, 1, 0);
    m_textTabs->addTab(endTextPage, tr("Tekst końcowy"));

    auto* endText2Page = new QWidget(m_textTabs);
    QGridLayout* endText2Layout = pageLayout(endText2Page);
    QToolBar* toolBar2 = createToolBar(endText2Page);
    addAction(toolBar2, QStringLiteral("ENDTEXT2_DB"), iconDb, tr("Pokaż bazę"), SLOT(doActionEndText2Db()));
    addAction(toolBar2, QStringLiteral("ENDTEXT2_ADD"), iconAdd, tr("Dodaj"), nullptr);
    addAction(toolBar2, QStringLiteral("ENDTEXT2_DELETE"), iconDelete, tr("Usuń"), nullptr);
    endText2Layout->addWidget(toolBar2, 0, 0);
    m_profitProcedure = new QComboBox(endText2Page);
    m_profitProcedure->setFixedWidth(350);
    const QStringList procedures = {tr("Wybierz procedurę marży do tekstu dodatkowego."),
                                    tr("Procedura marży dla biur podróży."), tr("Procedura marży - towary używane."),
                                    tr("Procedura marży - dzieła sztuki."),
                                    tr("Procedura marży - przedmioty kolekcjonerskie i antyki.")};
    for (int i = 0; i < procedures.size(); ++i)
        m_profitProcedure->addItem(procedures.at(i), i);
    endText2Layout->addWidget(m_profitProcedure, 0, 2, Qt::AlignRight);
    m_endText2 = createTextBox(endText2Page);
    endText2Layout->addWidget(m_endText2, 1, 0, 1, 3);
    m_textTabs->addTab(endText2Page, tr("Tekst dodatkowy"));
    layout->addWidget(m_textTabs, 0, 0);

    m_correctReasonSection = new QWidget(page);
    auto* reasonBox = new QVBoxLayout(m_correctReasonSection);
    reasonBox->setContentsMargins(0, 0, 0, 0);
    reasonBox->setSpacing(0);
    reasonBox->addWidget(createCaption(tr("Powód korekty"), m_correctReasonSection));
    reasonBox->addSpacing(1);
    m_correctReason = new QTextEdit(m_correctReasonSection);
    m_correctReason->setFixedSize(500, 75);
    m_correctReason->setAcceptRichText(false);
    m_correctReason->setLineWrapMode(QTextEdit::NoWrap);
    reasonBox->addWidget(m_correctReason);
    reasonBox->addSpacing(5);
    m_correctReasonSection->hide();
    layout->addWidget(m_correctReasonSection, 1, 0);

    layout->addWidget(createCaption(tr("Uwagi (nie zamieszczane na wydruku)"), page), 2, 0);
    m_additional = new QTextEdit(page);
    m_additional->setFixedSize(500, 120);
    m_additional->setAcceptRichText(false);
    m_additional->setLineWrapMode(QTextEdit::NoWrap);
    layout->addWidget(m_additional, 3, 0);
    layout->setRowStretch(4, 1);
    m_tabMain->addTab(page, tr("Teksty"));
}

void MInvoiceDlg::createInvoicesPage()
{
    m_invoicesPage = new QWidget(m_tabMain);
    QGridLayout* layout = pageLayout(m_invoicesPage);
    layout->addWidget(createCaption(tr("Poprzednie faktury"), m_invoicesPage), 0, 0);
    QToolBar* toolBar = createToolBar(m_invoicesPage);
    addAction(toolBar, QStringLiteral("INVOICE_DB"), iconDb, tr("Pokaż bazę"), SLOT(doActionInvoiceDb()));
    addAction(toolBar, QStringLiteral("INVOICE_ADD"), iconAdd, tr("Dodaj"), nullptr);
    addAction(toolBar, QStringLiteral("INVOICE_CHANGE"), iconChange, tr("Zamień"), nullptr);
    addAction(toolBar, QStringLiteral("INVOICE_DELETE"), iconDelete, tr("Usuń"), nullptr);
    layout->addWidget(toolBar, 0, 1);
    auto* help = new MHelpButton(m_invoicesPage);
    const QString row = QStringLiteral("<tr style=\"background-color: #ffffff;\"><td>");
    help->setHelpText(QStringLiteral("<b><u>") + tr("Opis danych faktur na liście:") + QStringLiteral("</u></b>")
                      + QStringLiteral("<table border=\"0\" cellspacing=\"1\" cellpadding=\"3\" bgcolor=\"#c0c0c0\">")
                      + row
                      + QStringList{tr("Numer"), tr("Data wystawienia"), tr("Kwota brutto"), tr("Waluta")}.join(
                          QStringLiteral("</td><td>"))
                      + QStringLiteral("</td></tr></table><br><br><b>")
                      + tr("Szczegółowe dane faktur dostępne są po najechaniu kursorem na listę.")
                      + QStringLiteral("</b>"));
    layout->addWidget(help, 0, 4, Qt::AlignRight);
    m_invoiceList = createListTable(m_invoicesPage);
    m_invoiceList->setItemDelegateForColumn(2, new MInvoiceJoinItemDelegate(m_invoiceList));
    layout->addWidget(m_invoiceList, 2, 0, 1, 5);
    layout->setRowStretch(3, 1);
    if (MDocKinds::hasJoinedDocuments(m_docKind))
        m_tabMain->addTab(m_invoicesPage, tr("Faktury"));
    else
        m_invoicesPage->hide();
}
