// VAT register of sales: one row group per document and rate of the run
// doc.getIdRecord(), paged with the column heading repeated, the footer at the
// bottom of each page and the summary by rates at the end.

var runId = doc.getIdRecord();
var idSellerBase = doc.getIdSellerBase();

var sizeStep = 0;
(function () {
    var diff = doc.getOption('FONT_SIZE_DIFF');
    if (diff == '0') sizeStep = -2;
    else if (diff == '1') sizeStep = -1;
    else if (diff == '3') sizeStep = 1;
    else if (diff == '4') sizeStep = 2;
})();

function pt(size) {
    return (size + sizeStep) + 'pt';
}

var pageHeight = doc.getPageHeight() - 10;
var pageWidth = doc.getPageWidth() - 10;
var footerText = doc.getOption('SHOW_PRINT_FOOTER') == '1' ? doc.getPrintFooter() : '';
var paging = doc.isPaging();
// The printed page holds a few pixels less than the measured one (the
// document's own margins), so a page is full that much earlier and its
// footer sits that much higher; without it the footer would spill over
// onto a page of its own.
var pageSlack = 20;
var pageFull = pageHeight - 5 - pageSlack;

var lineImage = '<img src=":/resource/pixel.gif" width="1" height="1">';

function lineCell(color, colspan, rowspan) {
    return '<td bgcolor="' + color + '"' + (colspan > 1 ? ' colspan="' + colspan + '"' : '') +
        (rowspan > 1 ? ' rowspan="' + rowspan + '"' : '') + '>' + lineImage + '</td>';
}

function black(colspan, rowspan) {
    return lineCell('#000000', colspan, rowspan);
}

function lineRow(colspan) {
    return '<tr>' + black(colspan, 1) + '</tr>';
}

var docHead = '<html><head><meta name="qrichtext" content="1" />' +
    '<meta http-equiv="Content-Type" content="text/html; charset=UTF-8" />' +
    '<title>REJESTR VAT SPRZEDA&#379;Y</title>' +
    '<style type="text/css">body, p, li, td { white-space:pre-wrap; }</style></head>' +
    '<body style="font-size:' + pt(8) + '; font-weight:normal; font-style:normal; ' +
    'font-family:Verdana,Arial,Times; text-decoration:none;">';
var docEnd = '</body></html>';

function pageStart(first) {
    return '<div' + (first ? '' : ' style="page-break-before:always;"') + '>' +
        '<table border="0" cellpadding="0" cellspacing="0" width="' + pageWidth + '"><tr><td>';
}
var pageEnd = '</td></tr></table></div>';

function pageFooter(page, margin) {
    return '<p style="margin-top:' + margin + 'px;">' + lineImage + '</p>' +
        '<table border="0" cellpadding="0" cellspacing="0" width="100%"><tr>' +
        '<td style="font-size:' + pt(7) + ';">' + footerText + '</td>' +
        '<td align="right" style="font-size:' + pt(7) + ';">Strona&nbsp;' + page + '&nbsp;z&nbsp;[[PAGES]]</td>' +
        '</tr></table>';
}

// A date of the run as day, month name and year; `getter` names the slot of doc that reads it.
function dayText(getter, genitive) {
    return doc[getter]('dd') + ' ' + doc.getMonthName(doc[getter]('MM'), genitive) + ' ' + doc[getter]('yyyy');
}

function sellerBlock() {
    if (idSellerBase <= 0)
        return '';
    var s = doc.getSqlQuery('SELECT s.firm, s.address, s.zipcode, s.city, s.nip, s.regon, s.phone, s.fax, ' +
        's.email, s.www, s.bank, s.bank_account FROM seller s WHERE s.id = ' + idSellerBase);
    if (doc.getListSize(s) < 12)
        return '';
    var html = s[0] + '<br>' + s[1] + '<br>' + s[2] + ' ' + s[3] + '<br>NIP: ' + s[4];
    if (s[5] != '') html += ', REGON: ' + s[5];
    if (s[6] != '') html += '<br>tel: ' + s[6];
    if (s[7] != '') html += ', fax: ' + s[7];
    if (s[10] != '') html += '<br>' + s[10];
    if (s[11] != '') html += '<br>' + s[11];
    return html;
}

function headBlock() {
    return '<table border="0" cellpadding="5" cellspacing="0" width="100%"><tr>' +
        '<td width="50%" style="font-size:' + pt(9) + ';">' + sellerBlock() + '</td>' +
        '<td width="50%" align="right" style="font-size:' + pt(16) + '; font-weight:600;">' +
        '<span style="font-size:' + pt(14) + ';">REJESTR VAT SPRZEDA&#379;Y</span>' +
        '<p align="right" style="font-size:' + pt(11) + '; font-weight:300;">z dnia: ' + dayText('getDatePrintStr', true) + '</p>' +
        '<p align="right" style="font-size:' + pt(11) + '; font-weight:300;">za okres: ' + dayText('getDateFromStr', false) +
        ' - ' + dayText('getDateToStr', false) + '</p>' +
        '</td></tr></table>' +
        '<p style="font-size:1pt; margin-top:5px;">&nbsp;</p>';
}

var tableStart = '<table border="0" cellpadding="0" cellspacing="0" width="100%">';
var tableEnd = '</table>';

function headingCell(text, align, extra) {
    return '<td align="' + align + '"' + (extra ? ' ' + extra : '') + ' style="font-size:' + pt(7) +
        '; font-weight:600; padding:3px;">' + text + '</td>';
}

// 25 columns: lines at 1, 3, 7, 11, 17, 25; thin lines inside the groups at
// 5, 9, 13, 15, 19, 21, 23.
function columnHeading() {
    return lineRow(25) +
        '<tr>' + black(1, 3) + headingCell('Lp', 'center', 'rowspan="3"') + black(1, 3) +
        headingCell('Doku', 'right') + '<td></td>' + headingCell('ment', 'left') + black(1, 3) +
        headingCell('Naby', 'right') + '<td></td>' + headingCell('wca', 'left') + black(1, 3) +
        headingCell('Suma', 'center', 'colspan="5"') + black(1, 3) +
        '<td></td><td></td>' + headingCell('Stawka', 'right') + '<td></td>' + headingCell(' VAT', 'left') +
        '<td></td><td></td>' + black(1, 3) + '</tr>' +
        '<tr>' + black(3) + black(3) + black(5) + black(7) + '</tr>' +
        '<tr>' + headingCell(doc.noWrap('Rodzaj /<br>Numer'), 'center', 'width="50"') + black(1) +
        headingCell(doc.noWrap('Data wystawienia /<br>Data sprzeda&#380;y'), 'center', 'width="50"') +
        headingCell(doc.noWrap('Nazwa /<br>NIP'), 'center') + black(1) + headingCell('Adres', 'center') +
        headingCell('Netto', 'center') + black(1) + headingCell('VAT', 'center') + black(1) +
        headingCell('Brutto', 'center') +
        headingCell('Stawka', 'center') + black(1) + headingCell('Netto', 'center') + black(1) +
        headingCell('VAT', 'center') + black(1) + headingCell('Brutto', 'center') + '</tr>' +
        lineRow(25);
}

function cell(text, align, rowspan) {
    return '<td' + (align ? ' align="' + align + '"' : '') + (rowspan > 1 ? ' rowspan="' + rowspan + '"' : '') +
        ' style="font-size:' + pt(8) + '; padding:3px;">' + text + '</td>';
}

function money(value) {
    return doc.noWrap(doc.moneyFormat(value));
}

function partyCell(firm, taxId, isNip) {
    var html = firm;
    if (taxId != '')
        html += '<br>' + doc.noWrap((isNip == '1' ? 'NIP: ' : 'PESEL: ') + taxId);
    return html;
}

// The row group of one document; empty when it has no rate rows.
function documentRows(lp, d) {
    var id = d[0];
    var rates = doc.getSqlQuery('SELECT ivs.vat_text, ivs.netto, ivs.vat, ivs.brutto FROM __invoice_vat_summary ivs ' +
        'WHERE ivs.id = ' + runId + ' AND ivs.id_invoice = ' + id + ' ORDER BY ivs.vat_kind DESC, ivs.vat_val');
    var k = doc.getListSize(rates) / 4;
    if (k < 1)
        return '';
    var totals = doc.getSqlQuery('SELECT SUM(ivs.netto), SUM(ivs.vat), SUM(ivs.brutto) FROM __invoice_vat_summary ivs ' +
        'WHERE ivs.id = ' + runId + ' AND ivs.id_invoice = ' + id);
    var span = 2 * k - 1;
    var html = '';
    for (var r = 0; r < k; ++r) {
        html += '<tr>';
        if (r == 0) {
            html += black(1, span) + cell(doc.noWrap('' + lp), 'center', span) + black(1, span) +
                cell(doc.noWrap(d[2] + '<br>' + doc.getInvoiceNumStr(id)), '', span) + black(1, span) +
                cell(doc.noWrap(d[4] + '<br>' + d[5]), '', span) + black(1, span) +
                cell(partyCell(d[6], d[8], d[9]), '', span) + black(1, span) +
                cell(d[7], '', span) + black(1, span) +
                cell(money(totals[0]), 'right', span) + black(1, span) +
                cell(money(totals[1]), 'right', span) + black(1, span) +
                cell(money(totals[2]), 'right', span) + black(1, span);
        }
        html += cell(rates[4 * r], 'right') + black(1) + cell(money(rates[4 * r + 1]), 'right') + black(1) +
            cell(money(rates[4 * r + 2]), 'right') + black(1) + cell(money(rates[4 * r + 3]), 'right');
        if (r == 0)
            html += black(1, span);
        html += '</tr>';
        if (r < k - 1)
            html += '<tr>' + black(7) + '</tr>';
    }
    return html + lineRow(25);
}

function summaryBlock() {
    var rows = doc.getSqlQuery('SELECT ivs.vat_text, SUM(ivs.netto), SUM(ivs.vat), SUM(ivs.brutto) ' +
        'FROM __invoice_vat_summary ivs WHERE ivs.id = ' + runId + ' GROUP BY ivs.vat_text ' +
        'ORDER BY ivs.vat_kind DESC, ivs.vat_val');
    var total = doc.getSqlQuery('SELECT SUM(ivs.netto), SUM(ivs.vat), SUM(ivs.brutto) FROM __invoice_vat_summary ivs ' +
        'WHERE ivs.id = ' + runId);
    var html = '<p align="right" style="font-weight:600;">Podsumowanie w/g stawek VAT</p>' +
        '<table border="0" cellpadding="0" cellspacing="0" width="100%"><tr>' +
        '<td valign="bottom"><table border="0" cellpadding="0" cellspacing="0" width="100%">' +
        '<tr><td>&nbsp;</td></tr><tr><td align="right" style="font-weight:600; padding:3px;">Razem</td></tr></table></td>' +
        '<td width="40%"><table border="0" cellpadding="0" cellspacing="0" width="100%">' +
        lineRow(9) +
        '<tr>' + black(1) + headingCell('Stawka&nbsp;VAT', 'center') + black(1) + headingCell('Netto', 'center') +
        black(1) + headingCell('VAT', 'center') + black(1) + headingCell('Brutto', 'center') + black(1) + '</tr>' +
        lineRow(9);
    var n = doc.getListSize(rows) / 4;
    for (var r = 0; r < n; ++r) {
        html += '<tr>' + black(1) + cell(rows[4 * r], 'right') + black(1) + cell(money(rows[4 * r + 1]), 'right') +
            black(1) + cell(money(rows[4 * r + 2]), 'right') + black(1) + cell(money(rows[4 * r + 3]), 'right') +
            black(1) + '</tr>' + lineRow(9);
    }
    html += '<tr>' + black(1) + cell('', '') + black(1) + cell(money(total[0]), 'right') + black(1) +
        cell(money(total[1]), 'right') + black(1) + cell(money(total[2]), 'right') + black(1) + '</tr>' +
        lineRow(9) + '</table></td></tr></table>';
    return html;
}

// The last pages measured, newest first: the page closed is the probe that
// fitted last, so its height is not laid out again.
var recentHeights = [];

function measure(first, content, page) {
    var html = docHead + pageStart(first) + content + pageFooter(page, 5) + pageEnd + docEnd;
    for (var i = 0; i < recentHeights.length; ++i)
        if (recentHeights[i].html === html)
            return recentHeights[i].height;
    doc.setHtml(html);
    var height = doc.getDocHeight();
    recentHeights.unshift({html: html, height: height});
    if (recentHeights.length > 3)
        recentHeights.pop();
    return height;
}

var output = '';
var page = 1;
var firstPage = true;
doc.setPageGenerated(page);

// Closes the page holding `content` with the footer at the bottom.
function closePage(content) {
    var height = measure(firstPage, content, page);
    var margin = pageHeight - height - pageSlack;
    output += pageStart(firstPage) + content + pageFooter(page, margin > 0 ? margin : 0) + pageEnd;
    firstPage = false;
}

function nextPage() {
    ++page;
    doc.setPageGenerated(page);
}

var documents = doc.getSqlQuery("SELECT i.id, i.id_parent_invoice, ik.basic_form, i.count_from_netto, " +
    "strftime('%Y-%m-%d', i.date_put), CASE WHEN i.date_sell_in_months = 1 THEN strftime('%Y-%m', i.date_sell) " +
    "ELSE strftime('%Y-%m-%d', i.date_sell) END, b.firm, b.address || '<br>' || b.zipcode || ' ' || b.city, " +
    "CASE WHEN b.nip <> '' THEN b.nip ELSE b.permit_person_pesel END, CASE WHEN b.nip <> '' THEN 1 ELSE 0 END " +
    "FROM __invoice_vat_summary ivs LEFT JOIN invoice i ON ivs.id_invoice = i.id " +
    "LEFT JOIN invoice_buyer b ON i.id_buyer = b.id LEFT JOIN invoice_kind ik ON i.invoice_kind = ik.id " +
    "WHERE ivs.id = " + runId + " AND i.id > 0 GROUP BY i.id " +
    "ORDER BY strftime('%Y-%m-%d', i.date_put), i.invoice_index ");
var documentCount = doc.getListSize(documents) / 10;

// The row groups of the documents with rate rows, built only as far as the
// paging asks for them, with the abort check after each document.
var blocks = [];
// The rough height of each block in text lines: its rate rows, at least the
// two lines of the party cells.
var blockLines = [];
var nextDocument = 0;
var aborted = false;

function blocksAvailable(wanted) {
    while (blocks.length < wanted && nextDocument < documentCount && !aborted) {
        var d = documents.slice(10 * nextDocument, 10 * nextDocument + 10);
        ++nextDocument;
        var rows = documentRows(blocks.length + 1, d);
        if (rows != '') {
            blocks.push(rows);
            blockLines.push(Math.max(2, (rows.split('<tr>').length - 1) / 2));
        }
        if (doc.isDocAborted())
            aborted = true;
    }
    return blocks.length;
}

function pageContent(head, start, count) {
    return head + blocks.slice(start, start + count).join('');
}

// The number of blocks from `start` the page takes: it grows while the page
// with one block more stays below the full height. The page takes `least`
// blocks unmeasured (the block that did not fit on the page before). Since a
// page only grows with its blocks, any order of probes finds the same count:
// the first probe takes as many lines as the page before (`lines`), the next
// ones step by one, then double the step up or halve the range down.
// Returns -1 when every remaining block fits.
function fittingCount(head, start, least, lines) {
    function fits(count) {
        return measure(firstPage, pageContent(head, start, count) + tableEnd, page) < pageFull;
    }
    var probe = least + 1;
    while (lines > 0 && blocksAvailable(start + probe + 1) > start + probe && linesOf(start, probe + 1) <= lines)
        ++probe;
    var lo = least;
    var hi = -1;
    var step = 1;
    while (hi < 0) {
        var available = blocksAvailable(start + probe) - start;
        if (aborted)
            return -1;
        if (available <= lo)
            return -1;
        if (probe > available)
            probe = available;
        if (fits(probe)) {
            lo = probe;
            probe = lo + step;
            step *= 2;
        } else {
            hi = probe;
        }
    }
    var below = true;
    while (hi - lo > 1) {
        var middle = below ? hi - 1 : Math.floor((lo + hi) / 2);
        below = false;
        if (fits(middle))
            lo = middle;
        else
            hi = middle;
    }
    return lo;
}

function linesOf(start, count) {
    var lines = 0;
    for (var i = start; i < start + count; ++i)
        lines += blockLines[i];
    return lines;
}

var head = headBlock() + tableStart + columnHeading();
var start = 0;
var count = 0;
var lines = 0;
if (paging) {
    var least = 0;
    for (;;) {
        var fitting = fittingCount(head, start, least, lines);
        if (fitting < 0)
            break;
        count = fitting;
        lines = linesOf(start, count);
        closePage(pageContent(head, start, count) + tableEnd);
        start += count;
        head = tableStart + columnHeading();
        least = 1;
        nextPage();
    }
}
blocksAvailable(documentCount);
var content = pageContent(head, start, blocks.length - start);

content += tableEnd;
if (doc.isDocAborted()) {
    output = '';
} else if (paging) {
    var summary = summaryBlock();
    if (measure(firstPage, content + summary, page) >= pageFull) {
        closePage(content);
        nextPage();
        content = summary;
    } else {
        content += summary;
    }
    closePage(content);
} else {
    output = pageStart(true) + content + summaryBlock() + pageEnd;
}

if (doc.isDocAborted())
    doc.setHtml('');
else
    doc.setHtml(docHead + output.replace(/\[\[PAGES\]\]/g, '' + page) + docEnd);
doc.setDocGenerated(true);
