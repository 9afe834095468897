#pragma once

#include <QList>
#include <QString>
#include <QVector>

// The editor's running totals over the working lines (__invoice_product_misc
// with their product copies) and the amount that remains to be paid.
class MInvoiceSummary
{
public:
    enum Method { SumRows = 0, AtTheEnd = 1 };

    // One VAT rate of the document; vatId 0 for lines whose rate names no row of vat.
    struct Rate
    {
        int vatId = 0;
        double netto = 0.0;
        double brutto = 0.0;
        double vat = 0.0;
    };

    // The lines `lineKeys` grouped by rate: the lines' own values summed
    // (SumRows), or per rate the net (gross base) or the gross (net base)
    // computed once from the rate's sum and rounded to cents, the VAT being
    // the difference (AtTheEnd). Empty for no lines or a failing statement.
    static QVector<Rate> rates(const QList<int>& lineKeys, bool grossBase, int method);

    // The gross total of `rates`.
    static double brutto(const QVector<Rate>& rates);

    // The partial payments recorded on the joined documents `joinKeys`
    // (rows of __invoice_join); 0 for none.
    static double advanceSum(const QList<int>& joinKeys);

    // The working rows' keys as an id list for IN (...): "0", then each key.
    static QString keyList(const QList<int>& keys);

    // An amount as typed: "," or "." as decimal separator; 0 when not a number.
    static double readAmount(QString text);
};
