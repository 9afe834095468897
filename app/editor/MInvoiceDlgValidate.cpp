// The document as the form would save it, and the checks before saving.
#include "MInvoiceDlg.h"

#include "data/MDocumentSave.h"
#include "data/MInvoiceValidation.h"
#include "views/MMessageBox.h"
#include "views/MTextEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>

MDocumentSaveState MInvoiceDlg::saveState() const
{
    MDocumentSaveState state;
    state.idInvoice = m_idInvoice;
    state.idParent = m_idParentInvoice;
    state.correction = m_isCorrection;
    state.kind = m_docKind;
    state.sellerKey = m_idSeller;
    state.buyerKey = m_idBuyer;
    state.buyer2Key = m_idBuyer2;
    state.ratingKey = m_idCurrencyRating;
    state.idSellerBase = m_idSellerBase;
    state.idCurrency = m_idCurrency;
    state.number = m_firstInvoiceNumber->value();
    state.numberText = m_invoiceIndexText->text();
    state.lines = m_productIds.keys();
    state.joins = m_invoiceJoinIds.keys();

    state.endText = m_endText->toPlainText();
    state.endText2 = m_endText2->toPlainText();
    state.place = m_placePut->text();
    state.datePut = m_datePut->date();
    state.dateSell = m_dateSell->date();
    state.datePay = m_datePay->date();
    state.termInDays = m_payInDays->isChecked();
    state.termDays = m_dayPeriod->value();
    state.grossBase = m_priceBrutto->isChecked();
    state.payedText = m_payed->isChecked();
    state.payText = m_payText->text();
    state.payFormText = m_payFormText->text();
    state.payForm = m_payForm->currentText();
    state.dateSellInMonths = m_dateSellInMonths->isChecked();
    state.remarks = m_additional->toPlainText();
    state.buyerKind = m_buyerKind ? m_buyerKind->currentText() : QString();
    state.isPayed = m_isPayed->isChecked();
    state.choosePayedDate = m_showDatePayed->isChecked();
    state.datePayed = m_datePayed->date();
    state.cancelled = m_isCancelled->isChecked();
    state.amountDiscount = m_reductAmount->isChecked();
    state.summaryCount = m_summaryCount->currentIndex();
    state.hideVat = m_hideVat->isChecked();
    state.payFormPart = m_payFormPart->currentText();
    state.bruttoPart = m_bruttoPart->text();
    state.payedPartDate = m_showDatePayedPart->isChecked();
    state.datePayedPart = m_datePayedPart->date();
    state.payedAllDate = m_showDatePayedAll->isChecked();
    state.datePayedAll = m_datePayedAll->date();
    state.contractText = m_contractText->text();
    state.correctReason = m_correctReason->toPlainText();
    return state;
}

bool MInvoiceDlg::validate()
{
    // The save uses these as they are left here; the number is read from its field.
    m_invoiceIndexPeriod = MInvoiceValidation::numberingPeriod(m_idSeller);
    m_docKind = MInvoiceValidation::kindByName(m_docKindCombo->currentText(), m_docKind);
    m_idCurrency = MInvoiceValidation::currencyBySymbol(m_currency->currentText(), m_idCurrency);

    MInvoiceValidation::Figures figures;
    figures.numberingPeriod = m_invoiceIndexPeriod;
    figures.grossTotal = m_bruttoGlobal;
    figures.parentGrossTotal = m_bruttoGlobalParent;
    figures.advances = advanceSum();
    const QString problem = MInvoiceValidation::firstProblem(saveState(), figures);
    if (problem.isEmpty())
        return true;
    MMessageBox::warning(this, tr("Niezgodność wprowadzonych danych"), problem);
    return false;
}
