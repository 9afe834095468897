// Lengths a template sets in pixels of the page and of millimetres, and the
// payment code of 20 mm: a row across the page's width, a mark 100 mm to the
// right of the page's left edge and the code below them.
var mm = doc.getMMHeight();
var width = doc.getPageWidth() - 8;
doc.setHtml('<html><body style="font-size:10pt;">' +
    '<table width="' + width + '" cellpadding="0" cellspacing="0" border="0"><tr>' +
    '<td>Lewo</td><td align="right">Prawo</td></tr></table>' +
    '<table cellpadding="0" cellspacing="0" border="0"><tr>' +
    '<td width="' + Math.round(100 * mm) + '">Start</td><td>Znacznik</td></tr></table>' +
    '<p>' + doc.getQrcodeHtmlImage('Kod platnosci', 20, 20, 8) + '</p>' +
    '</body></html>');
