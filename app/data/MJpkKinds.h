#pragma once

// The document kinds (invoice.invoice_kind) that the tax control files take,
// in one place for every JPK writer and dialog.
class MJpkKinds
{
public:
    // VAT, VAT-MP, reverse-charge, advance, final and margin invoices with their
    // corrections; pro-forma, duplicates, bills and RR documents stay out.
    static bool isExported(int kind);
    // Corrections, whose amounts are netted against the corrected document.
    static bool isCorrection(int kind);
    // Reverse-charge invoice and its correction.
    static bool isReverseCharge(int kind);
};
