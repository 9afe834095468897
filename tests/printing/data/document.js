// A document read through doc only, as the document template does.
var id = doc.getIdRecord();
var title = doc.getInvoiceKindName(id);
doc.setHtml('<html><body><p>' + title[0] + ' ' + doc.getInvoiceNumStr(id) + '</p>' +
    '<p>Razem ' + doc.moneyFormat(doc.getInvoiceTotalPrice(id)) + ' ' + doc.getDocViewName() + '</p>' +
    '<p>Koperta ' + doc.getOption('ENVELOPE_WINDOW_MARGINS') + '</p></body></html>');
