#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVector>

// What one JPK_FA(1) file is made of: the selected documents of one currency
// and the header data of the dialog.
struct MJpkFaRequest
{
    QList<int> ids;            // selected sales documents, in any order
    int idCurrency = 0;
    QString currencySymbol;    // DomyslnyKodWaluty
    QDate dateFrom;
    QDate dateTo;
    QString officeCode;
    int idSeller = 0;          // seller record of the taxpayer
};

// Writes JPK_FA(1) files: the invoice records of the exported documents of one
// currency with their control record, the tax rates, the rows of those
// documents and their control record.
class MJpkFaWriter
{
public:
    enum class Outcome { Written, NothingToExport, NotWritten };

    struct Result
    {
        Outcome outcome = Outcome::NotWritten;
        int invoices = 0;
        int rows = 0;
        QString message;       // names the file and why it was not written
    };

    // One file of a run: a currency of the selection and the name of its file.
    struct CurrencyFile
    {
        int idCurrency = 0;
        QString symbol;
        QString fileName;
    };

    static Result write(const QString& fileName, const MJpkFaRequest& request);

    // The currencies of the selected documents in ascending id, each with the
    // chosen name carrying "-" and its symbol before the suffix.
    static QVector<CurrencyFile> currencyFiles(const QList<int>& ids, const QString& chosenName);

    // "jpk.xml" with "PLN" gives "jpk-PLN.xml", "a.b.c" gives "a.b-PLN.c", "jpk" gives "jpk-PLN.xml".
    static QString currencyFileName(const QString& chosenName, const QString& symbol);
};
