#pragma once

#include <QDate>
#include <QString>

// The running number proposed for a new document: one series per issuing
// seller (compared by the seller record, not its snapshot), numbering period
// and group of document kinds.
class MInvoiceNumbering
{
public:
    enum Period { Monthly = 1, Yearly = 2 };

    // The kinds that share a series with `kind`, as an id list for IN (...);
    // "-1" for kinds without a series (the duplicates).
    static QString groupKinds(int kind);

    // The period's bounds as stored dates compare: `from` the first day of the
    // period of `date`, `to` the first day of the next period, both at
    // 00:00:00. False, bounds untouched, for a period that is neither monthly
    // nor yearly.
    static bool periodBounds(int period, const QDate& date, QString* from, QString* to);

    // The numbering period of the working seller copy `sellerKey`; `fallback`
    // when there is no such copy.
    static int sellerPeriod(int sellerKey, int fallback);

    // The highest number stored for the seller record, period and group of
    // `kind`, plus one (1 when none). 0 when the period is neither monthly nor
    // yearly or the statement fails: no proposal.
    static int nextNumber(int idSellerBase, int kind, int period, const QDate& issueDate);
};
