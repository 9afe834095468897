#pragma once

#include <QList>
#include <QString>

// The editor's working copies: rows of the document snapshots or of the base
// records copied into the working tables ("__" + table name), whose columns
// are the snapshot table's in the same order after the key __id. Every
// function returns the __id of the working row it made, or 0 when nothing was
// copied (the source row is missing or the statement failed); a key is never
// taken from an earlier, unrelated insert. No widget is involved.
class MInvoiceWorkingCopies
{
public:
    // Copies the row `id` of `source` into `working` position by position;
    // `columns` is the select list of the source row, "*" for all of them.
    // `errorText` (when given) receives the database's reason when the
    // statement fails, else empty text.
    static int copy(const QString& working, const QString& source, int id,
                    const QString& columns = QStringLiteral("*"), QString* errorText = nullptr);

    // Copies a buyer (from "invoice_buyer" or "buyer") with its contact address
    // (from "invoice_buyer_address" or "buyer_address"); the copy's
    // id_address_contact then holds the address copy's __id, or 0. Buyer and
    // address are copied together or not at all.
    static int copyBuyer(const QString& buyerSource, const QString& addressSource, int id);

    // The columns of "seller" in the order of "__invoice_seller".
    static QString sellerColumns();

    // Copies every line of the saved document `idInvoice` with its product
    // copy, the line's id_product pointing at the product copy's __id; the
    // lines of a bill (`bill`) become gross-based lines at the rate of VAT row
    // 102 ("zw."). Returns the line copies' __id, in the order of the lines;
    // when a statement fails nothing is copied and the list is empty.
    static QList<int> copyLines(int idInvoice, bool bill);

    // Makes the product copy `productKey` a bill's: gross based at the rate of
    // VAT row 102 ("zw."). Empty text when it was written, else the reason.
    static QString makeExempt(int productKey);

    // Copies the joined documents of the saved document `idInvoice`, all of
    // them or, when a statement fails, none.
    static QList<int> copyJoins(int idInvoice);
};
