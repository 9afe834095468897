#pragma once

#include <QList>
#include <QString>

// The HTML of the document lists' quick view. One document shows its lines, VAT summary
// and totals (a duplicate as the document it duplicates; a correction with the lines
// before and after and its difference to the corrected document; advance and final
// invoices also with their advance settlement). Several documents show the VAT summary
// and totals over all of them in Polish złoty, with a grey note on what is left out.
namespace MQuickViewHtml {

QString oneDocument(int id);
QString severalDocuments(const QList<int>& ids);

} // namespace MQuickViewHtml
