#pragma once

#include <QDate>
#include <QList>
#include <QString>

// What the invoice editor hands over when a document is saved: its state
// (document, parent and copy keys of the working tables) and the values of
// its form as the user left them.
struct MDocumentSaveState
{
    int idInvoice = 0;      // 0: a new document, a copy or a correction in the making
    int idParent = 0;
    bool correction = false;
    int kind = 0;
    int sellerKey = 0;      // __invoice_seller.__id
    int buyerKey = 0;       // __invoice_buyer.__id
    int buyer2Key = 0;
    int ratingKey = 0;      // __invoice_currency_rating.__id
    int idSellerBase = 0;
    int idCurrency = 0;     // 0 is PLN
    int number = 0;
    QString numberText;     // kept when there is no seller copy
    QList<int> lines;       // __invoice_product_misc.__id
    QList<int> joins;       // __invoice_join.__id

    QString endText;        // plain text of the closing text box
    QString endText2;       // plain text of the additional text box
    QString place;
    QDate datePut;
    QDate dateSell;
    QDate datePay;
    bool termInDays = false; // "Termin płatności w dniach"
    int termDays = 0;
    bool grossBase = false;  // the "brutto" price base
    bool payedText = false;  // 'Tekst "zapłacono"'
    QString payText;
    QString payFormText;
    QString payForm;         // payment-form combo text (pay_form.basic_form)
    bool dateSellInMonths = false;
    QString remarks;
    QString buyerKind;       // buyer-kind combo text
    bool isPayed = false;    // "Zapłacone"
    bool choosePayedDate = false; // "Wybierz datę zapłaty"
    QDate datePayed;
    bool cancelled = false;
    bool amountDiscount = false; // "kwotowy"
    int summaryCount = 0;
    bool hideVat = false;
    QString payFormPart;     // partial-payment form combo text (pay_form.second_form)
    QString bruttoPart;      // "Kwota wpłaty" as typed
    bool payedPartDate = false;
    QDate datePayedPart;
    bool payedAllDate = false;
    QDate datePayedAll;
    QString contractText;    // "Do umowy/zlecenia"
    QString correctReason;
};

// Stores the editor's document: the snapshots of its seller, buyers, rating,
// closing texts and products, the document row, its lines and joined
// invoices, the computed amounts and the reason of a correction, all in one
// transaction on the default connection. Any failure rolls everything back,
// the working rows included, so the editor can save again. The connection
// must have round_cents (MRoundCents). No widget is involved.
class MDocumentSave
{
public:
    struct Result
    {
        int id = 0;          // the saved document's id; 0 on failure
        int notice = 0;      // DbObjectKind of the list showing it: 8 purchase, 7 sales
        QString numberText;  // the number text stored
        QString errorText;   // Polish message for a critical box; empty on success
        bool ok() const { return id > 0; }
    };

    static Result save(const MDocumentSaveState& state);

    // The share of the partial payment typed in "Kwota wpłaty": "," or "."
    // as decimal separator, 0 when it is no number.
    static double amountOf(const QString& text);
};
