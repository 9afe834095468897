// Hands its pages over one by one, with a measure between them, as the
// register does; the host puts the page count in.
doc.pages.setFrame('<html><body>', '</body></html>');
doc.pages.addPage('<div><p>Strona 1 z [[PAGES]]</p></div>');
doc.setHtml('<html><body><p>pomiar</p></body></html>');
doc.getDocHeight();
doc.pages.addPage('<div><p>Strona 2 z [[PAGES]]</p></div>');
doc.pages.finish();
