// The line list, the running totals with the amount left to pay, and the
// payment, sale-date and currency widgets that follow each other.
#include "MInvoiceDlg.h"

#include "data/MInvoiceSummary.h"
#include "data/MNumberText.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"
#include "views/MTextEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QVariant>
#include <QToolBar>

namespace {

// The first column of `sql` with `text` bound to :text; `fallback` when nothing is found.
int lookUp(const QString& sql, const QString& text, int fallback)
{
    QSqlQuery query;
    query.prepare(sql);
    query.bindValue(QStringLiteral(":text"), text);
    if (query.exec() && query.next())
        return query.value(0).toInt();
    return fallback;
}

// Replaces the combo's model by the complete rows of `sql` with `id` bound to :id.
void setPayFormModel(QComboBox* combo, const QString& sql, int id)
{
    QSqlQuery query;
    query.prepare(sql);
    query.bindValue(QStringLiteral(":id"), id);
    query.exec();
    auto* model = new QSqlQueryModel(combo);
    model->setQuery(query);
    while (model->canFetchMore())
        model->fetchMore();
    QAbstractItemModel* old = combo->model();
    combo->setModel(model);
    if (old && old->parent() == combo)
        old->deleteLater();
}

} // namespace

void MInvoiceDlg::connectTermsWidgets()
{
    loadPayForms(0);
    loadPartPayForms(0);
    connect(m_datePut, &QDateEdit::dateChanged, this, &MInvoiceDlg::doDateChangedDatePut);
    connect(m_firstInvoiceNumber, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MInvoiceDlg::doValueChangedFirstInvoiceNumber);
    connect(m_currency, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MInvoiceDlg::doCurrentIndexChangedPriceCurrency);
    connect(m_profitProcedure, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MInvoiceDlg::doCurrentIndexChangedProfitProcedure);
    connect(m_payInDays, &QCheckBox::stateChanged, this, &MInvoiceDlg::doStateChangedPayInDays);
    connect(m_showDatePayedAll, &QCheckBox::stateChanged, this, &MInvoiceDlg::doStateChangedNoDatePayedAll);
    connect(m_datePayedAll, &QDateEdit::dateChanged, this, &MInvoiceDlg::doDateChangedDatePayedAll);
    connect(m_dateSellInMonths, &QCheckBox::stateChanged, this, &MInvoiceDlg::doStateChangedDateSellInMonths);
    connect(m_isPayed, &QCheckBox::stateChanged, this, &MInvoiceDlg::doStateChangedIsPayed);
    connect(m_showDatePayed, &QCheckBox::stateChanged, this, &MInvoiceDlg::doStateChangedNoDatePayed);
    connect(m_isCancelled, &QCheckBox::stateChanged, this, &MInvoiceDlg::doStateChangedIsCancelled);
    connect(m_bruttoPart, &QLineEdit::textChanged, this, &MInvoiceDlg::doTextChangedBruttoPart);
    connect(m_bruttoPart, &QLineEdit::editingFinished, this, &MInvoiceDlg::doEditingFinishedPriceNetto);
    connect(m_showDatePayedPart, &QCheckBox::stateChanged, this, &MInvoiceDlg::doStateChangedNoDatePayedPart);
    connect(m_payed, &QCheckBox::stateChanged, this, &MInvoiceDlg::doStateChangedPayed);
}

void MInvoiceDlg::setProducts()
{
    disconnect(m_productList, &QTableView::doubleClicked, this, &MInvoiceDlg::cellDoubleClickedProduct);
    if (m_productList->selectionModel())
        disconnect(m_productList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                   &MInvoiceDlg::doSelectionChangedProduct);

    auto* model = new MSqlQueryModel(m_productList);
    model->setQuery(QStringLiteral(
                        "SELECT pm.__id AS idx_misc, p.__id AS idx, p.name, p.symbol, p.code, p.unit, "
                        "CASE WHEN p.count_from_netto = 1 THEN 'netto' ELSE 'brutto' END, p.netto_price, "
                        "p.brutto_price, pm.netto_price, pm.brutto_price, p.vat_text, pm.amount, pm.reduct, "
                        "c.symbol, p.profit_brutto, CASE WHEN pm.reduct_percent THEN 'procentowy' ELSE 'kwotowy' END "
                        "FROM __invoice_product_misc pm "
                        "LEFT JOIN __invoice_product p ON p.__id = pm.id_product "
                        "LEFT JOIN currency c ON c.id = p.id_currency "
                        "WHERE pm.__id IN (")
                    + MInvoiceSummary::keyList(m_productIds.keys()) + QStringLiteral(") ORDER BY pm.__id"));
    while (model->canFetchMore())
        model->fetchMore();
    const QStringList headers {tr("IdMisc"),          tr("Id"),     tr("Nazwa"),    tr("Symbol"),
                               tr("PKWiU/PKOB"),      tr("Jednostka miary"),       tr("Podstawa cenowa"),
                               tr("Netto jednostkowe"), tr("Brutto jednostkowe"), tr("Netto"),
                               tr("Brutto"),          tr("VAT"),    tr("Ilość"),    tr("Rabat"),
                               tr("Waluta"),          tr("Marża brutto"),          tr("Rodzaj rabatu")};
    for (int column = 0; column < headers.size(); ++column)
        model->setHeaderData(column, Qt::Horizontal, headers.at(column));
    using namespace ColumnKind;
    model->setColumnKinds({Integer, Integer, Text, Text, Text, Text, Text, Amount, Amount, Amount, Amount, Text,
                           Decimal4, Amount, Text, Amount, Text});

    QAbstractItemModel* old = m_productList->model();
    QItemSelectionModel* oldSelection = m_productList->selectionModel();
    m_productList->setModel(model);
    if (oldSelection)
        oldSelection->deleteLater();
    if (old && old->parent() == m_productList)
        old->deleteLater();
    for (int column = 0; column < model->columnCount(); ++column)
        m_productList->setColumnHidden(column, column != 2);
    m_productList->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_productList->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    connect(m_productList, &QTableView::doubleClicked, this, &MInvoiceDlg::cellDoubleClickedProduct);
    connect(m_productList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MInvoiceDlg::doSelectionChangedProduct);
    setEnabledActions();
}

void MInvoiceDlg::countSummary()
{
    m_bruttoGlobal = MInvoiceSummary::brutto(
        MInvoiceSummary::rates(m_productIds.keys(), m_priceBrutto->isChecked(), m_summaryCount->currentIndex()));
    showRemainingToPay(m_bruttoGlobal);
}

void MInvoiceDlg::updateRemainingToPay()
{
    showRemainingToPay(m_bruttoGlobal + 0.0000000001);
}

void MInvoiceDlg::showRemainingToPay(double total)
{
    // A correction is paid or refunded by its difference to the corrected document.
    const double x = m_isCorrection ? total - m_bruttoGlobalParent : total;
    const double paid = MInvoiceSummary::readAmount(m_bruttoPart->text());
    m_bruttoRest->setText(numberText(x - paid - advanceSum(), 2));
}

double MInvoiceDlg::advanceSum() const
{
    return MInvoiceSummary::advanceSum(m_invoiceJoinIds.keys());
}

void MInvoiceDlg::loadPayForms(int id)
{
    disconnect(m_payForm, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
               &MInvoiceDlg::doCurrentIndexChangedPayForm);
    setPayFormModel(m_payForm,
                    QStringLiteral("SELECT '', 0 UNION ALL SELECT basic_form, id FROM pay_form "
                                   "WHERE hidden = 0 OR id = :id ORDER BY basic_form"),
                    id);
    connect(m_payForm, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MInvoiceDlg::doCurrentIndexChangedPayForm);
}

void MInvoiceDlg::loadPartPayForms(int id)
{
    setPayFormModel(m_payFormPart,
                    QStringLiteral("SELECT '', 0 UNION ALL SELECT second_form, id FROM pay_form "
                                   "WHERE hidden = 0 OR id = :id ORDER BY second_form"),
                    id);
}

void MInvoiceDlg::updatePayTermWidgets(bool applyFormDefaults)
{
    const bool paid = m_payed->isChecked();
    const QString formText = m_payForm->currentText();
    const int form = formText.isEmpty()
        ? 0
        : lookUp(QStringLiteral("SELECT id FROM pay_form WHERE basic_form = :text"), formText, 0);

    const bool termForm = form == 0 || form == 1 || form == 2 || form == 5 || form == 6 || form == 7;
    if (termForm && applyFormDefaults) {
        if (form == 2)
            m_payInDays->setChecked(true);
        else if (form != 0)
            m_payInDays->setChecked(false);
    }

    const bool inDays = m_payInDays->isChecked();
    m_datePayLabel->setVisible(!inDays);
    m_datePay->setVisible(!inDays);
    m_dayPeriodLabel->setVisible(inDays);
    m_dayPeriod->setVisible(inDays);
    const bool enabled = termForm && !paid;
    m_datePayLabel->setEnabled(enabled);
    m_datePay->setEnabled(enabled);
    m_dayPeriodLabel->setEnabled(enabled);
    m_dayPeriod->setEnabled(enabled);
    m_payInDays->setEnabled(enabled);
}

void MInvoiceDlg::updateSellDateFormat()
{
    if (m_dateSellInMonths->isChecked()) {
        m_dateSell->setDisplayFormat(QStringLiteral("MM-yyyy"));
        const QDate date = m_dateSell->date();
        m_dateSell->setDate(QDate(date.year(), date.month(), 1));
    } else {
        m_dateSell->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    }
}

void MInvoiceDlg::updateCurrencyWidgets()
{
    const bool foreign = m_idCurrency != 0;
    m_currencyRatingLabel->setVisible(foreign);
    m_currencyRatingToolBar->setVisible(foreign);
    m_currencyRatingTable->setVisible(foreign);
    m_currencyLabel->setEnabled(!m_isCorrection);
    m_currency->setEnabled(!m_isCorrection);
}

void MInvoiceDlg::doCurrentIndexChangedPayForm(int /*index*/)
{
    const QString text = m_payForm->currentText();
    if (!text.isEmpty() && !m_payed->isChecked()
        && lookUp(QStringLiteral("SELECT add_text_payed FROM pay_form WHERE basic_form = :text"), text, 0) != 0)
        m_payed->setChecked(true);
    updatePayTermWidgets(true);
}

void MInvoiceDlg::doStateChangedPayInDays(int /*state*/)
{
    updatePayTermWidgets(false);
}

void MInvoiceDlg::doStateChangedPayed(int /*state*/)
{
    updatePayTermWidgets(false);
    const bool paid = m_payed->isChecked();
    m_payTextLabel->setEnabled(!paid);
    m_payText->setEnabled(!paid);
    m_showDatePayedAll->setEnabled(paid);
    m_datePayedAll->setEnabled(paid && m_showDatePayedAll->isChecked());
    if (m_idInvoice == 0)
        m_isPayed->setChecked(paid);
}

void MInvoiceDlg::doStateChangedNoDatePayedAll(int /*state*/)
{
    m_datePayedAll->setEnabled(m_showDatePayedAll->isChecked());
    if (m_idInvoice != 0)
        return;
    m_isPayed->setChecked(m_payed->isChecked());
    m_showDatePayed->setChecked(m_showDatePayedAll->isChecked());
    if (m_showDatePayedAll->isChecked())
        m_datePayed->setDate(m_datePayedAll->date());
}

void MInvoiceDlg::doDateChangedDatePayedAll(QDate /*date*/)
{
    if (m_idInvoice == 0)
        m_datePayed->setDate(m_datePayedAll->date());
}

void MInvoiceDlg::doStateChangedIsCancelled(int /*state*/)
{
    if (m_isCancelled->isChecked()) {
        m_isPayed->setEnabled(false);
        m_showDatePayed->setEnabled(false);
        m_datePayed->setEnabled(false);
        return;
    }
    m_isPayed->setEnabled(true);
    m_showDatePayed->setEnabled(m_isPayed->isChecked());
    m_datePayed->setEnabled(m_isPayed->isChecked() && m_showDatePayed->isChecked());
}

void MInvoiceDlg::doStateChangedIsPayed(int /*state*/)
{
    m_showDatePayed->setEnabled(m_isPayed->isChecked());
    m_datePayed->setEnabled(m_isPayed->isChecked() && m_showDatePayed->isChecked());
}

void MInvoiceDlg::doStateChangedNoDatePayed(int /*state*/)
{
    m_datePayed->setEnabled(m_showDatePayed->isChecked());
}

void MInvoiceDlg::doStateChangedNoDatePayedPart(int /*state*/)
{
    m_datePayedPart->setEnabled(m_showDatePayedPart->isChecked());
}

void MInvoiceDlg::doStateChangedDateSellInMonths(int /*state*/)
{
    updateSellDateFormat();
}

void MInvoiceDlg::doCurrentIndexChangedPriceCurrency(int /*index*/)
{
    const QString text = m_currency->currentText();
    if (!text.isEmpty())
        m_idCurrency = lookUp(QStringLiteral("SELECT id FROM currency WHERE symbol = :text"), text, m_idCurrency);
    updateCurrencyWidgets();
}

void MInvoiceDlg::doCurrentIndexChangedProfitProcedure(int /*index*/)
{
    if (m_profitProcedure->currentData().toInt() > 0)
        m_endText2->setPlainText(m_endText2->toPlainText() + m_profitProcedure->currentText());
}

void MInvoiceDlg::doTextChangedBruttoPart(QString /*text*/)
{
    updateRemainingToPay();
}

void MInvoiceDlg::doEditingFinishedPriceNetto()
{
    updateRemainingToPay();
}
