#pragma once

#include <QString>

// The SQL of the document lists (sales and purchases): one UNION ALL over the four
// families of documents. Corrections show their amounts as the difference to the
// document they correct; duplicates show the data of the document they duplicate.
// A sorted list has one arm per kind of document, each sorted on its own and merged
// with the others, so that the first rows of the list do not wait for the whole
// union: by id, number, issue, sale or due date every arm reads its rows in the order
// of an index; the duplicates, whose sale and due dates are their parents', through
// their parents when they are many.
struct MInvoiceListSql
{
    enum Head { FullList, IdsOnly, CountOnly };

    int viewKind = 7;             // 7 sales, 8 purchases
    QString mainCondition;        // on the inner names, for every family
    // A LIKE term on `p.name` (the product-name search): only documents with a line
    // of such a product are listed, a correction also for the lines of the document
    // it corrects, a duplicate for those of the document it duplicates.
    QString productTerm;
    int sortColumn = 0;
    bool descending = false;
    // The whole union built and sorted before its first row: the plain form of the
    // list's order, which the merged form must give row for row (tests and benchmarks).
    bool sortWholeUnion = false;
    // By sale or due date, the duplicates of a family of at least this many are read
    // from their parents; fewer are sorted whole.
    int parentFirstFrom = 1000;

    // The ids-only and count forms select only the columns that their conditions and
    // order name.
    QString statement(Head head) const;

    // The kind sets of one list: documents, corrections, duplicates, duplicates of corrections.
    static QString kindSet(int viewKind, int family);
    // The inner name of list column `column` (0-18), empty outside.
    static QString columnName(int column);
    // Today's date in local time as SQL; stored due dates are compared with it.
    static QString localToday();

private:
    QString orderBy() const;
    // The documents of the kinds (a list of numbers) in the database, 0 when they cannot be counted.
    static int rowsOfKinds(const QString& kinds);
};
