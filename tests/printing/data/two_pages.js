// Two pages: the second opens with a page break.
var page = '<div>Pierwsza strona</div>' +
    '<div style="page-break-before:always;">Druga strona</div>';
doc.setHtml('<html><body>' + page + '</body></html>');
