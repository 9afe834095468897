#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlRecord;

// The per-document copies of sellers, buyers, buyer addresses, products,
// closing texts and exchange rates ("invoice_seller", "invoice_buyer", ...).
// Documents whose copies are identical share one row; each row carries the
// fingerprint id_md5 of its content by which an identical copy is found.
class MInvoiceCopies
{
public:
    // The copy tables, in the order in which fingerprints are refreshed.
    static const QStringList& tables();

    // The columns a table's fingerprint is made of, in their order; empty for
    // a table that is not a copy table.
    static QStringList md5Columns(const QString& table);

    // The values as text (NULL as empty text, reals with at most 15
    // significant digits, anything else by QVariant::toString), joined
    // without separator, as the lower-case hexadecimal MD5 of their UTF-8.
    static QString md5(const QVariantList& values);

    // Deletes the copies that no document refers to.
    static void deleteUnused();

    // Deletes the unused copies, then recomputes the fingerprint of every
    // remaining copy in one transaction.
    static void updateMd5();

    // Stores `copy` as a row of `table` and returns its id, or 0 when it could
    // not be stored. An existing row is reused only when its fingerprint and
    // every one of its content columns (all but id, time_create, time_modify,
    // additional and id_md5) equal the copy's; the fingerprint alone joins
    // values without a separator and leaves columns out, so it can match a
    // copy with other data. `copy` must hold every content column, with the
    // values typed as the database returns them (as read from the working
    // table), since the fingerprint is computed from them.
    static int storeCopy(const QString& table, const QSqlRecord& copy);

    // Reads the working copy __id = workingId of "__" + table and stores it
    // with storeCopy. A buyer's id_address_contact must already hold the id
    // of its stored address copy, as it takes part in the buyer's fingerprint.
    // A save that stores many copies keeps one MInvoiceCopyStore instead.
    static int storeWorkingCopy(const QString& table, int workingId);

    // The content columns of a copy table, read from the database.
    static QStringList contentColumns(const QString& table);
};
