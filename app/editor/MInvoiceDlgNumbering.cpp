// The document number: the proposal for a document in the making and the
// printed form from the seller copy's pattern.
#include "MInvoiceDlg.h"

#include "data/MDocumentNumber.h"
#include "data/MInvoiceNumbering.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSpinBox>

void MInvoiceDlg::updateInvoiceIndex(bool lookUp)
{
    if (m_idInvoice == 0 && m_idSeller > 0 && lookUp) {
        m_invoiceIndexPeriod = MInvoiceNumbering::sellerPeriod(m_idSeller, m_invoiceIndexPeriod);
        // The kind shown decides the series, not the kind the editor was opened with.
        readShownKind();
        const int next =
            MInvoiceNumbering::nextNumber(m_idSellerBase, m_docKind, m_invoiceIndexPeriod, m_datePut->date());
        if (next > 0)
            m_firstInvoiceNumber->setValue(next);
    }

    QString text;
    if (m_idSeller > 0)
        text = invoiceNumber(m_firstInvoiceNumber->value(), m_idSeller, m_datePut->date().month(),
                             m_datePut->date().year(), false);
    m_invoiceIndexText->setText(text);
}

void MInvoiceDlg::doValueChangedFirstInvoiceNumber(int /*i*/)
{
    updateInvoiceIndex(false);
}

void MInvoiceDlg::doDateChangedDatePut(QDate /*date*/)
{
    updateInvoiceIndex(m_idInvoice == 0);
}
