#pragma once

#include <QString>

// The arithmetic of one product price: the unit price that is not entered, and on a
// document line also the unit prices after the discount and the line totals. SQLite does
// the sums (one row of the scratch table __count_price per computation, read back with
// every amount rounded to the cent by round_cents), so the dialog shows exactly what the
// rest of the program would compute.
class MProductPrice
{
public:
    struct Input
    {
        // The price entered is the unit net price (else the unit gross price).
        bool fromNetto = true;
        // A document line: the discount and the quantity take part.
        bool line = false;
        // The discount is a percent of the unit price (else an amount per unit).
        bool percentDiscount = true;
        double price = 0.0;
        // The VAT rate in percent.
        double vatRate = 0.0;
        double reduct = 0.0;
        double amount = 0.0;
    };

    struct Result
    {
        // False when the row could not be written or read back; every value is then 0.
        bool ok = false;
        // The unit gross price from a net price, or the unit net price from a gross price.
        double otherPrice = 0.0;
        // Line values only.
        double nettoReduced = 0.0;
        double nettoTotal = 0.0;
        double bruttoReduced = 0.0;
        double bruttoTotal = 0.0;
    };

    // The rate `val` of the VAT row named `name`; 0 for an empty name or a name that no
    // row has.
    static int vatRate(const QString& name);

    static Result count(const Input& input);

private:
    // The columns read back from __count_price for `input`, in the order of Result.
    static QString selectColumns(const Input& input);
};
