#include "MProductDlg.h"

#include "data/MProductPrice.h"
#include "data/MNumberText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace {

bool outOfRange(double value)
{
    return value >= maxAmount() || value <= -maxAmount();
}

} // namespace

double MProductDlg::fieldNumber(const QLineEdit* field)
{
    QString text = field->text();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.toDouble();
}

// Writing a fallback into a connected field starts a nested computation with it; this one
// then goes on with the values it had already read.
void MProductDlg::countPrice()
{
    const bool line = isInvoiceMode();
    double amount = 0.0;
    if (line) {
        amount = fieldNumber(m_amount);
        if (outOfRange(amount)) {
            amount = m_lastAmount;
            m_amount->setText(numberText(amount, 2));
        }
    }

    MProductPrice::Input input;
    input.fromNetto = m_baseNetto->isChecked();
    input.line = line;
    input.percentDiscount = line && m_reductPercent->isChecked();
    input.vatRate = MProductPrice::vatRate(m_vat->currentText());

    QLineEdit* priceField = input.fromNetto ? m_nettoPrice : m_bruttoPrice;
    QLineEdit* derivedField = input.fromNetto ? m_bruttoPrice : m_nettoPrice;
    double price = fieldNumber(priceField);
    if (outOfRange(price)) {
        price = input.fromNetto ? m_lastNetto : m_lastBrutto;
        priceField->setText(numberText(price, 2));
    }

    double reduct = 0.0;
    if (line) {
        reduct = fieldNumber(m_reduct);
        const bool invalid = input.percentDiscount ? (reduct > 100.0 || reduct < 0.0) : (reduct > price || reduct < 0.0);
        if (invalid) {
            reduct = std::min(m_lastReduct, price);
            m_reduct->setText(numberText(reduct, 2));
        }
    }

    derivedField->setEnabled(false);
    priceField->setEnabled(true);

    input.price = price;
    input.reduct = reduct;
    input.amount = amount;
    const MProductPrice::Result result = MProductPrice::count(input);
    derivedField->setText(numberText(result.otherPrice, 2));
    const double netto = input.fromNetto ? price : result.otherPrice;
    const double brutto = input.fromNetto ? result.otherPrice : price;

    double profit = fieldNumber(m_profitBrutto);
    if (profit > brutto || profit < 0.0) {
        profit = std::min(m_lastProfit, brutto);
        m_profitBrutto->setText(numberText(profit, 2));
    }

    if (line) {
        m_nettoReduced->setText(numberText(result.nettoReduced, 2));
        m_nettoTotal->setText(numberText(result.nettoTotal, 2));
        m_bruttoReduced->setText(numberText(result.bruttoReduced, 2));
        m_bruttoTotal->setText(numberText(result.bruttoTotal, 2));
    }

    m_lastNetto = netto;
    m_lastBrutto = brutto;
    m_lastProfit = profit;
    m_lastReduct = reduct;
    m_lastAmount = amount;
}

double MProductDlg::conversionPrice() const
{
    const bool fromNetto = m_baseNetto->isChecked();
    const double price = fieldNumber(fromNetto ? m_nettoPrice : m_bruttoPrice);
    if (outOfRange(price))
        return fromNetto ? m_lastNetto : m_lastBrutto;
    return price;
}

void MProductDlg::doEditingFinishedPriceNetto()
{
    countPrice();
}

void MProductDlg::doEditingFinishedPriceBrutto()
{
    countPrice();
}

void MProductDlg::doEditingFinishedProfitBrutto()
{
    countPrice();
}

void MProductDlg::doEditingFinishedAmount()
{
    countPrice();
}

void MProductDlg::doEditingFinishedReduct()
{
    countPrice();
}

void MProductDlg::doTextChangedAmount(QString /*text*/)
{
    countPrice();
}

void MProductDlg::doTextChangedProfitBrutto(QString /*text*/)
{
    countPrice();
}

void MProductDlg::doTextChangedReduct(QString /*text*/)
{
    countPrice();
}

// The derived price is written into the other field; only the entered side recomputes.
void MProductDlg::doTextChangedPriceNetto(const QString& /*text*/)
{
    if (m_baseNetto->isChecked())
        countPrice();
}

void MProductDlg::doTextChangedPriceBrutto(const QString& /*text*/)
{
    if (m_baseBrutto->isChecked())
        countPrice();
}

void MProductDlg::doCurrentIndexChangedPriceVat(int /*index*/)
{
    countPrice();
}

void MProductDlg::doToggledPriceBaseNetto(bool /*checked*/)
{
    countPrice();
}

void MProductDlg::doToggledPriceBaseBrutto(bool /*checked*/)
{
    countPrice();
}

// Both buttons of the pair report a change; only the one now checked converts.
void MProductDlg::doToggledPriceReductPercent(bool /*checked*/)
{
    if (m_reductPercent->isChecked()) {
        const double price = conversionPrice();
        if (price != 0.0)
            m_reduct->setText(numberText(fieldNumber(m_reduct) / price * 100.0, 2));
    }
    countPrice();
}

void MProductDlg::doToggledPriceReductSum(bool /*checked*/)
{
    if (m_reductSum->isChecked()) {
        const double price = conversionPrice();
        if (price != 0.0)
            m_reduct->setText(numberText(price * fieldNumber(m_reduct) * 0.01, 2));
    }
    countPrice();
}
