#pragma once

#include <QDate>
#include <QList>
#include <QString>

// What a JPK_VAT file is made of: the variant, the documents chosen and the
// header data of the dialog.
struct MJpkVatRequest
{
    int version = 3;           // schema variant: 2 or 3
    QList<int> ids;            // selected sales documents, in any order
    int idSeller = 0;          // seller record of the taxpayer
    QDate dateFrom;
    QDate dateTo;
    QString officeCode;        // tax office code, written by variant 2 only
};

// Writes the sales part of a JPK_VAT(2) or JPK_VAT(3) file: one row per
// exported PLN document in ascending id, its VAT groups as K fields, and the
// control sums.
class MJpkVatWriter
{
public:
    enum class Outcome { Written, NothingToExport, NotWritten };

    struct Result
    {
        Outcome outcome = Outcome::NotWritten;
        int rows = 0;
        QString message;       // what the user is told when no file was written
    };

    static Result write(const QString& fileName, const MJpkVatRequest& request);
};
