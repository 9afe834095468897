#pragma once

#include <QCoreApplication>
#include <QString>

// The text of a domestic bank transfer to the seller that a document's QR code carries,
// and the checks that decide whether the document gets a code at all.
class MPaymentQr
{
    Q_DECLARE_TR_FUNCTIONS(MPaymentQr)

public:
    // "NIP|PL|account|grosze|name|number|||" for the document (for a duplicate: the
    // document it duplicates), or empty text when the document gets no code; `reason`,
    // when given, receives why it gets none (empty when it gets one or the id is below 1;
    // a missing row reads as a seller without tax number and fails that check).
    static QString text(int idInvoice, QString* reason = nullptr);

private:
    struct Payment;

    static Payment read(int idInvoice);
    // Why the payment cannot be coded: the first check that fails; empty when all pass.
    static QString refusal(const Payment& payment);
};
