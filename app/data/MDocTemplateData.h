#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

// What the print templates read about a saved document, and the number texts they
// print. No widgets: every look-up runs on the default connection and answers its
// default (0, 0.0, false, empty text or list) for an id below 1, a missing row, a
// NULL value or a statement that fails.
class MDocTemplateData
{
public:
    using OptionReader = std::function<QString(const QString&)>;

    // The payment date columns of a document.
    enum PayDate { PayDatePart, PayDateAll };

    static int idRecordParent(int idInvoice);
    static QString invoiceContractText(int idInvoice);
    // Gross total of a correction minus that of the document it corrects.
    static double invoiceCorrectTotalPrice(int idInvoice);
    // Header and suffix of the document's printed title; documents issued from
    // 2013 on take the header from the options that `option` reads.
    static QStringList invoiceKindName(int idInvoice, const OptionReader& option);
    // Day (two digits), month number and year of a payment date; empty when it is not set.
    static QStringList invoicePayDate(int idInvoice, PayDate which);
    static double invoicePartPrice(int idInvoice);
    // The part paid on the document plus the parts paid on the documents joined to it.
    static double invoicePartTotalPrice(int idInvoice);
    // The seller record of the document, or of the document a duplicate copies.
    static int invoiceSellerBase(int idInvoice);
    static double invoiceTotalPrice(int idInvoice);
    // "CORRECT", "DUPLICATE", "CORRECT_DUPLICATE" or empty.
    static QString invoiceType(int idInvoice);
    // "BILL" or "INVOICE"; empty without a document.
    static QString invoiceType2(int idInvoice);
    // "INVOICE_RR", "INVOICE_OO", "INVOICE_PRE", "INVOICE_FINAL", "INVOICE_PROFIT" or empty.
    static QString invoiceType3(int idInvoice);
    static bool isTextPayed(int idInvoice);

    // Every value of every row of the statement's result, row by row.
    static QVariantList sqlQuery(const QString& sql);

    // Default locale, exactly prec decimals, groups written as ordinary blanks.
    static QString moneyFormat(double d, int prec);
    // As moneyFormat with six decimals.
    static QString numberFormat(double d);
    // Days from date1 to date2, both yyyy-MM-dd; 0 when either is no date.
    static int countDaysFromStrings(const QString& date1, const QString& date2);
};
