// Loading a saved document or a new document's defaults into the editor and
// its working copies; the buyer's default terms.
#include "MInvoiceDlg.h"

#include "data/MDocKinds.h"
#include "data/MInvoiceWorkingCopies.h"
#include "data/MNumberText.h"
#include "data/MOptions.h"
#include "views/MTextEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextEdit>

namespace {

// Column numbers of the document row read by loading.
enum DocumentColumn {
    InvoiceIndex = 0,
    IndexFormat = 1,
    IndexString = 2,
    IdSeller = 3,
    IdSellerBase = 4,
    IdBuyer = 5,
    IdEndText = 6,
    Kind = 7,
    PlacePut = 8,
    IdCurrency = 9,
    CountFromNetto = 10,
    DatePut = 11,
    DateSell = 12,
    DatePay = 13,
    IdPayForm = 14,
    Payed = 15,
    DayPeriod = 16,
    PayText = 17,
    Additional = 18,
    DateSellInMonths = 19,
    IdBuyer2 = 20,
    BuyerKind = 21,
    IsPayed = 22,
    DatePayed = 23,
    ReductPercent = 24,
    SummaryCount = 25,
    HideVat = 26,
    IdEndText2 = 27,
    PayFormText = 28,
    IdPayFormPart = 29,
    BruttoPart = 30,
    IdParent = 31,
    IsCancelled = 32,
    DatePayedPart = 33,
    DatePayedAll = 34,
    IdCurrencyRating = 35,
    ContractText = 36,
};

const QString documentRowSql = QStringLiteral(
    "SELECT invoice_index, id_invoice_index_format, invoice_index_string, id_seller, id_seller_base, id_buyer, "
    "id_end_text, invoice_kind, place_put, id_currency, count_from_netto, strftime('%Y-%m-%d', date_put), "
    "strftime('%Y-%m-%d', date_sell), strftime('%Y-%m-%d', date_pay), id_pay_form, payed, day_period, pay_text, "
    "additional, date_sell_in_months, id_buyer2, buyer_kind, is_payed, IFNULL(strftime('%Y-%m-%d', date_payed), ''), "
    "reduct_percent, summary_count, hide_vat, id_end_text2, pay_form_text, id_pay_form_part, brutto_part, "
    "id_parent_invoice, is_cancelled, IFNULL(strftime('%Y-%m-%d', date_payed_part), ''), "
    "IFNULL(strftime('%Y-%m-%d', date_payed_all), ''), id_currency_rating, contract_text FROM invoice WHERE id = ");

// The first column of the first row of `sql`; invalid when there is none.
QVariant firstValue(const QString& sql)
{
    QSqlQuery query;
    if (query.exec(sql) && query.next())
        return query.value(0);
    return QVariant();
}

QDate dateOf(const QVariant& value)
{
    return QDate::fromString(value.toString(), QStringLiteral("yyyy-MM-dd"));
}

} // namespace

void MInvoiceDlg::setIdRecordParent(int id)
{
    m_idParentInvoice = id;
}

void MInvoiceDlg::setIdRecord(int id)
{
    setIdRecord(id, false);
}

void MInvoiceDlg::setIdRecord(int id, bool copy)
{
    m_idInvoice = id;
    if (id > 0)
        loadDocument(id, copy);
    else
        loadNewDocument();

    if (m_docKind != 11 && m_docKind != 12)
        updateBuyerTabs();
    if (m_docKind == 9) {
        m_priceBrutto->setChecked(true);
    } else {
        m_summaryCountLabel->show();
        m_summaryCount->show();
    }
    updatePayTermWidgets(false);
    if (m_docKind < 0)
        m_docKind = 0;
    setDocKind(m_docKind);
    // After setDocKind, whose kind widgets would enable the net base again.
    if (m_docKind == 9)
        m_priceNetto->setEnabled(false);
    if (id > 0 && copy)
        m_idInvoice = 0;
    updateInvoiceIndex(true);
    updateSellDateFormat();
    countSummary();
    doStateChangedPayed(0);
    updateCurrencyWidgets();
}

void MInvoiceDlg::loadDocument(int id, bool copy)
{
    QSqlQuery query;
    const bool found = query.exec(documentRowSql + QString::number(id)) && query.next();
    if (found) {
        const QSqlRecord row = query.record();
        auto value = [&row](int column) { return row.value(column); };
        m_invoiceIndexPeriod = value(IndexFormat).toInt();
        if (m_docKind < 0) {
            m_docKind = value(Kind).toInt();
            if (copy && MDocKinds::isCorrection(m_docKind))
                m_docKind = m_docKind == 12 ? 11 : 0;
        }
        if (MDocKinds::isCorrection(m_docKind))
            m_isCorrection = true;
        m_placePut->setText(value(PlacePut).toString());
        if (!copy) {
            m_datePut->setDate(dateOf(value(DatePut)));
            m_dateSell->setDate(dateOf(value(DateSell)));
            m_datePay->setDate(dateOf(value(DatePay)));
        } else if (m_isCorrection) {
            m_dateSell->setDate(dateOf(value(DateSell)));
        }
        m_payText->setText(value(PayText).toString());
        m_payFormText->setText(value(PayFormText).toString());
        m_additional->setPlainText(value(Additional).toString());

        const int idSeller = value(IdSeller).toInt();
        if (idSeller > 0) {
            m_idSeller = MInvoiceWorkingCopies::copy(QStringLiteral("__invoice_seller"),
                                                     QStringLiteral("invoice_seller"), idSeller);
            m_idSellerBase = value(IdSellerBase).toInt();
        }
        if (value(IdBuyer).toInt() > 0) {
            m_idBuyer = MInvoiceWorkingCopies::copyBuyer(QStringLiteral("invoice_buyer"),
                                                         QStringLiteral("invoice_buyer_address"),
                                                         value(IdBuyer).toInt());
            setBuyer();
        }
        if (value(IdBuyer2).toInt() > 0) {
            m_idBuyer2 = MInvoiceWorkingCopies::copyBuyer(QStringLiteral("invoice_buyer"),
                                                          QStringLiteral("invoice_buyer_address"),
                                                          value(IdBuyer2).toInt());
            setBuyer2();
        }
        if (value(IdEndText).toInt() > 0)
            m_endText->setPlainText(
                firstValue(QStringLiteral("SELECT content FROM invoice_end_text WHERE id = ") + value(IdEndText).toString())
                    .toString());
        if (value(IdEndText2).toInt() > 0)
            m_endText2->setPlainText(
                firstValue(QStringLiteral("SELECT content FROM invoice_end_text WHERE id = ") + value(IdEndText2).toString())
                    .toString());
        if (value(IdCurrencyRating).toInt() > 0) {
            m_idCurrencyRating = MInvoiceWorkingCopies::copy(QStringLiteral("__invoice_currency_rating"),
                                                             QStringLiteral("invoice_currency_rating"),
                                                             value(IdCurrencyRating).toInt());
            setCurrencyRating();
        }

        // The order matters: a handler run by one field may change a later one.
        selectComboText(m_currency, QStringLiteral("SELECT symbol FROM currency WHERE id = ")
                                        + QString::number(value(IdCurrency).toInt()));
        (value(CountFromNetto).toInt() == 0 ? m_priceBrutto : m_priceNetto)->setChecked(true);
        (value(ReductPercent).toInt() == 0 ? m_reductAmount : m_reductPercent)->setChecked(true);
        m_summaryCount->setCurrentIndex(value(SummaryCount).toInt());
        m_hideVat->setChecked(value(HideVat).toInt() != 0);
        const int idPayForm = value(IdPayForm).toInt();
        const QVariant payForm =
            firstValue(QStringLiteral("SELECT basic_form FROM pay_form WHERE id = ") + QString::number(idPayForm));
        if (payForm.isValid()) {
            loadPayForms(idPayForm);
            m_payForm->setCurrentIndex(
                m_payForm->findText(payForm.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive));
        }
        m_payed->setChecked(value(Payed).toInt() != 0);
        m_payInDays->setChecked(value(DayPeriod).toInt() != 0);
        m_dayPeriod->setValue(int(dateOf(value(DatePut)).daysTo(dateOf(value(DatePay)))));
        m_firstInvoiceNumber->setValue(value(InvoiceIndex).toInt());
        m_invoiceIndexText->setText(value(IndexString).toString());
        if (m_idSeller > 0)
            setSeller();
        m_dateSellInMonths->setChecked(value(DateSellInMonths).toInt() != 0);
        m_contractText->setText(value(ContractText).toString());
        if (m_docKind != 11 && m_docKind != 12)
            selectComboText(m_buyerKind, QStringLiteral("SELECT name FROM invoice_buyer_kind WHERE id = ")
                                             + QString::number(value(BuyerKind).toInt()));

        if (!copy)
            loadPaymentState(row);
        if (m_isCorrection) {
            const int parent = m_idParentInvoice > 0 ? m_idParentInvoice : value(IdParent).toInt();
            m_bruttoGlobalParent =
                firstValue(QStringLiteral("SELECT global_brutto FROM invoice WHERE id = ") + QString::number(parent))
                    .toDouble();
        }
    }

    const QList<int> lines = MInvoiceWorkingCopies::copyLines(id, m_docKind == 9);
    for (int line : lines)
        m_productIds.insert(line, line);
    setProducts();
    const QList<int> joins = MInvoiceWorkingCopies::copyJoins(id);
    for (int join : joins)
        m_invoiceJoinIds.insert(join, join);
    setInvoiceJoin();

    if (m_isCorrection)
        m_correctReason->setPlainText(
            firstValue(QStringLiteral("SELECT cm.correct_reason FROM invoice_correct_misc cm WHERE cm.id_invoice = ")
                       + QString::number(id))
                .toString());
}

void MInvoiceDlg::loadPaymentState(const QSqlRecord& row)
{
    if (row.value(IsPayed).toInt() == 1) {
        m_isPayed->setChecked(true);
        m_showDatePayed->setEnabled(true);
    }
    if (!row.value(DatePayed).toString().isEmpty()) {
        m_showDatePayed->setChecked(true);
        m_datePayed->setDate(dateOf(row.value(DatePayed)));
    }
    if (row.value(IsCancelled).toInt() == 1)
        m_isCancelled->setChecked(true);
    else
        m_isPayed->setEnabled(true);
    const int idPartForm = row.value(IdPayFormPart).toInt();
    const QVariant partForm =
        firstValue(QStringLiteral("SELECT second_form FROM pay_form WHERE id = ") + QString::number(idPartForm));
    if (partForm.isValid()) {
        loadPartPayForms(idPartForm);
        m_payFormPart->setCurrentIndex(
            m_payFormPart->findText(partForm.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    // Loading shows the stored amount without recomputing what remains to pay.
    disconnect(m_bruttoPart, &QLineEdit::textChanged, this, &MInvoiceDlg::doTextChangedBruttoPart);
    m_bruttoPart->setText(numberText(row.value(BruttoPart).toDouble(), 2));
    connect(m_bruttoPart, &QLineEdit::textChanged, this, &MInvoiceDlg::doTextChangedBruttoPart);
    if (!row.value(DatePayedPart).toString().isEmpty()) {
        m_showDatePayedPart->setChecked(true);
        m_datePayedPart->setDate(dateOf(row.value(DatePayedPart)));
    }
    if (!row.value(DatePayedAll).toString().isEmpty()) {
        m_showDatePayedAll->setChecked(true);
        m_datePayedAll->setDate(dateOf(row.value(DatePayedAll)));
    }
}

void MInvoiceDlg::loadNewDocument()
{
    selectComboText(m_currency,
                    QStringLiteral("SELECT symbol FROM currency WHERE id = ") + QString::number(m_idCurrency));

    const int seller = MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_SELLER")).toInt();
    if (firstValue(QStringLiteral("SELECT id FROM seller WHERE id = ") + QString::number(seller)).isValid()) {
        m_idSeller = MInvoiceWorkingCopies::copy(QStringLiteral("__invoice_seller"), QStringLiteral("seller s"),
                                                 seller, MInvoiceWorkingCopies::sellerColumns());
        m_idSellerBase = seller;
        setSeller();
        if (m_placePut->text().isEmpty())
            m_placePut->setText(firstValue(QStringLiteral("SELECT city FROM __invoice_seller WHERE __id = ")
                                           + QString::number(m_idSeller))
                                    .toString());
    }

    const int endText = MOptions::option(QStringLiteral("ID_RECORD_DEFAULT_ENDTEXT")).toInt();
    const QVariant content =
        firstValue(QStringLiteral("SELECT content FROM end_text WHERE id = ") + QString::number(endText));
    if (content.isValid())
        m_endText->setPlainText(content.toString());

    if (m_docKind == 15)
        m_hideVat->setChecked(true);
}

void MInvoiceDlg::selectComboText(QComboBox* combo, const QString& sql)
{
    const QVariant text = firstValue(sql);
    if (text.isValid())
        combo->setCurrentIndex(combo->findText(text.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void MInvoiceDlg::applyBuyerDefaults(int idBuyer)
{
    if (idBuyer <= 0)
        return;
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT id_pay_form, payed, pay_text, day_period, date_sell_in_months, pay_in_days, "
                                   "pay_form_text FROM buyer_defaults WHERE id_buyer = ")
                    + QString::number(idBuyer))
        || !query.next())
        return;
    const int idPayForm = query.value(0).toInt();
    const QVariant payForm =
        firstValue(QStringLiteral("SELECT basic_form FROM pay_form WHERE id = ") + QString::number(idPayForm));
    if (payForm.isValid()) {
        loadPayForms(idPayForm);
        m_payForm->setCurrentIndex(m_payForm->findText(payForm.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    const int days = query.value(3).toInt();
    m_payed->setChecked(query.value(1).toInt() != 0);
    m_payText->setText(query.value(2).toString());
    m_dayPeriod->setValue(days);
    m_datePay->setDate(m_datePut->date().addDays(days));
    m_dateSellInMonths->setChecked(query.value(4).toInt() != 0);
    m_payInDays->setChecked(query.value(5).toInt() != 0);
    m_payFormText->setText(query.value(6).toString());
    updatePayTermWidgets(false);
}
