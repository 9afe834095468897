#pragma once

#include <QSqlQuery>

// The amounts per VAT rate of single documents, as the VAT register, the
// statement's VAT summary and JPK_VAT all count them, on the default
// connection. Advance and final documents and their corrections count by
// their part amounts, every other document by its whole amounts; a sales
// correction counts as its difference to the document it corrects, summed
// per rate name, so a rate that only the parent has gives negative amounts.
// Only documents in PLN count, the corrected one included.
class MVatRateRows
{
public:
    enum class Scope {
        // Every summary row; a row whose rate is missing from table vat keeps a null name.
        AllRates,
        // The register's: percentage and exempt rates only, documents not
        // cancelled, hidden VAT only on margin invoices (and, inside a
        // difference, on a margin correction of a margin invoice).
        Register
    };

    explicit MVatRateRows(Scope scope);

    // The query of document `id` of `kind` (with `idParent`, the document it
    // corrects), bound and ready to run; its columns are the rate's name, kind
    // and value, then net, VAT and gross. The caller runs it and finishes it.
    QSqlQuery& rows(int id, int kind, int idParent);

private:
    QSqlQuery m_whole;
    QSqlQuery m_wholeCorrection;
    QSqlQuery m_part;
    QSqlQuery m_partCorrection;
};
