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
    // when given, receives why it gets none (empty when it gets one or there is no document).
    static QString text(int idInvoice, QString* reason = nullptr);

    // The amount to pay in grosze: the gross total (for a correction its difference to the
    // document it corrects) less the parts already paid, each rounded half up.
    static qint64 amountInGrosze(int idInvoice);
};
