#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>

// The row of a duplicate: only its kind, issue date and remark are its own; everything
// else is read from the document it duplicates.
class MInvoiceDuplicate
{
    Q_DECLARE_TR_FUNCTIONS(MInvoiceDuplicate)

public:
    struct Result
    {
        int id = 0;          // the written row; 0 when nothing was written
        int kind = -1;       // the kind written
        bool refused = false; // the parent is gone or cannot be duplicated
        QString errorText;   // the database's reason of a failed write
        bool ok() const { return id > 0; }
    };

    int kind = -1;
    QDate datePut;
    QString remark;

    // The stored duplicate `id`; false when it is not found.
    static bool load(int id, MInvoiceDuplicate* duplicate);
    // A new duplicate of `idParent` with the duplicate kind of the parent's kind, sale and
    // payment dates "0000-00-00 00:00:00"; refused, writing nothing, when the parent is
    // not found or its kind has no duplicate.
    static Result insert(int idParent, const QDate& datePut, const QString& remark);
    // The issue date, kind and remark of the stored duplicate `id`.
    static Result update(int id, int kind, const QDate& datePut, const QString& remark);
    // The list that shows a duplicate of `kind`: 8 purchases, 7 sales.
    static int listKind(int kind);
};
