// Statement of selected documents: one row group per document and rate of the
// run doc.getIdRecord(), with both parties of each document in the order the
// list names them (doc.getDocOpenName()), paged with the column heading
// repeated, the footer at the bottom of each page and the summary by rates at
// the end.

var runId = doc.getIdRecord();
var openName = doc.getDocOpenName();

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

// A line one pixel wide: without the width, the table's spare width would
// widen the line columns along with the others.
function lineCell(color, colspan, rowspan) {
    return '<td bgcolor="' + color + '"' + (colspan > 1 ? ' colspan="' + colspan + '"' : ' width="1"') +
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
    '<title>ZESTAWIENIE WYBRANYCH DOKUMENT&#211;W</title>' +
    '<style type="text/css">body, p, li, td { white-space:pre-wrap; }</style></head>' +
    '<body style="font-size:' + pt(8) + '; font-weight:normal; font-style:normal; ' +
    'font-family:Verdana,Arial,Times; text-decoration:none;">';
var docEnd = '</body></html>';

// The tables of a page take its width themselves: a table nested in a page-wide
// one would be laid out several times over, once for each pass of the outer one.
var fullWidth = 'width="' + pageWidth + '"';

function pageStart(first) {
    return '<div' + (first ? '' : ' style="page-break-before:always;"') + '>';
}
var pageEnd = '</div>';

function pageFooter(page, margin) {
    return '<p style="margin-top:' + margin + 'px;">&nbsp;</p>' +
        '<table border="0" cellpadding="0" cellspacing="0" ' + fullWidth + '><tr>' +
        '<td style="font-size:' + pt(7) + ';">' + footerText + '</td>' +
        '<td align="right" style="font-size:' + pt(7) + ';">Strona&nbsp;' + page + '&nbsp;z&nbsp;[[PAGES]]</td>' +
        '</tr></table>';
}

function headBlock() {
    return '<table border="0" cellpadding="5" cellspacing="0" ' + fullWidth + '><tr>' +
        '<td width="100%" align="right" style="font-size:' + pt(16) + '; font-weight:600;">' +
        '<span style="font-size:' + pt(14) + ';">ZESTAWIENIE WYBRANYCH DOKUMENT&#211;W</span>' +
        '</td></tr></table>' +
        '<p style="font-size:1pt; margin-top:5px;">&nbsp;</p>';
}

var tableStart = '<table border="0" cellpadding="0" cellspacing="0" ' + fullWidth + '>';
var tableEnd = '</table>';

// Widths of the document's kind and number, of its dates and of a party's (and the address's)
// columns: enough for "Faktura korygujaca VAT" on a line and for a date; longer texts wrap
// inside them.
var KIND_WIDTH = 112;
var DATE_WIDTH = 80;
var PARTY_WIDTH = Math.floor(pageWidth * 0.15);

function headingCell(text, align, extra, padding) {
    return '<td align="' + align + '"' + (extra ? ' ' + extra : '') + ' style="font-size:' + pt(7) +
        '; font-weight:600; padding:' + (padding || '3px') + ';">' + text + '</td>';
}

// A heading over a group whose middle column is a line's: its halves meet at that
// column, without the cells' padding between them.
function splitHeading(left, right) {
    return headingCell(left, 'right', '', '3px 0px 3px 3px') + '<td></td>' +
        headingCell(right, 'left', '', '3px 3px 3px 0px');
}

// The two party groups' headings, in the order of the cells.
var partyHeadings = openName == 'INVOICE_BUY' ? ['Nabywca', 'Sprzedawca'] : ['Sprzedawca', 'Nabywca'];

// 25 columns: lines at 1, 3, 7, 9, 11, 17, 25; thin lines inside the groups
// at 5, 13, 15, 19, 21, 23.
// "Suma" stands in the middle column of its group rather than across it: a cell
// spanning the line columns 13 and 15 would take their one-pixel width away.
function columnHeading() {
    return lineRow(25) +
        '<tr>' + black(1, 3) + headingCell('Lp', 'center', 'rowspan="3"') + black(1, 3) +
        splitHeading('Doku', 'ment') + black(1, 3) +
        headingCell(partyHeadings[0], 'center', 'width="' + PARTY_WIDTH + '"') + black(1, 3) +
        headingCell(partyHeadings[1], 'center', 'width="' + PARTY_WIDTH + '"') + black(1, 3) +
        '<td></td><td></td>' + headingCell('Suma', 'center') + '<td></td><td></td>' + black(1, 3) +
        '<td></td><td></td>' + splitHeading('Stawka', '&nbsp;VAT') +
        '<td></td><td></td>' + black(1, 3) + '</tr>' +
        '<tr>' + black(3) + black(1) + black(1) + black(5) + black(7) + '</tr>' +
        '<tr>' + headingCell(doc.noWrap('Rodzaj /<br>Numer'), 'center', 'width="' + KIND_WIDTH + '"') + black(1) +
        headingCell('Data wystawienia /<br>Data sprzeda&#380;y', 'center', 'width="' + DATE_WIDTH + '"') +
        headingCell(doc.noWrap('Nazwa /<br>NIP'), 'center', 'width="' + PARTY_WIDTH + '"') +
        headingCell(doc.noWrap('Nazwa /<br>NIP'), 'center', 'width="' + PARTY_WIDTH + '"') +
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

// Database text as text, whatever markup it holds.
function esc(text) {
    return doc.escapeHtml(String(text));
}

function partyCell(firm, taxId, isNip) {
    var html = esc(firm);
    if (taxId != '')
        html += '<br>' + (isNip == '1' ? 'NIP: ' : 'PESEL: ') + esc(taxId);
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
                cell(esc(d[2]) + '<br>' + esc(doc.getInvoiceNumStr(id)), '', span) + black(1, span) +
                cell(esc(d[4]) + '<br>' + esc(d[5]), '', span) + black(1, span) +
                cell(esc(d[6]) + '<br>NIP: ' + esc(d[7]), '', span) + black(1, span) +
                cell(partyCell(d[8], d[9], d[10]), '', span) + black(1, span) +
                cell(money(totals[0]), 'right', span) + black(1, span) +
                cell(money(totals[1]), 'right', span) + black(1, span) +
                cell(money(totals[2]), 'right', span) + black(1, span);
        }
        html += cell(esc(rates[4 * r]), 'right') + black(1) + cell(money(rates[4 * r + 1]), 'right') + black(1) +
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
    var html = '<table border="0" cellpadding="0" cellspacing="0" ' + fullWidth + '>' +
        '<tr><td colspan="2" align="right" style="font-weight:600; padding-top:12px; padding-bottom:6px;">' +
        'Podsumowanie w/g stawek VAT</td></tr><tr>' +
        '<td valign="bottom"><table border="0" cellpadding="0" cellspacing="0" width="100%">' +
        '<tr><td>&nbsp;</td></tr><tr><td align="right" style="font-weight:600; padding:3px;">Razem</td></tr></table></td>' +
        '<td width="40%"><table border="0" cellpadding="0" cellspacing="0" width="100%">' +
        lineRow(9) +
        '<tr>' + black(1) + headingCell('Stawka&nbsp;VAT', 'center') + black(1) + headingCell('Netto', 'center') +
        black(1) + headingCell('VAT', 'center') + black(1) + headingCell('Brutto', 'center') + black(1) + '</tr>' +
        lineRow(9);
    var n = doc.getListSize(rows) / 4;
    for (var r = 0; r < n; ++r) {
        html += '<tr>' + black(1) + cell(esc(rows[4 * r]), 'right') + black(1) + cell(money(rows[4 * r + 1]), 'right') +
            black(1) + cell(money(rows[4 * r + 2]), 'right') + black(1) + cell(money(rows[4 * r + 3]), 'right') +
            black(1) + '</tr>' + lineRow(9);
    }
    html += '<tr>' + black(1) + cell('', '') + black(1) + cell(money(total[0]), 'right') + black(1) +
        cell(money(total[1]), 'right') + black(1) + cell(money(total[2]), 'right') + black(1) + '</tr>' +
        lineRow(9) + '</table></td></tr></table>';
    return html;
}

// A page is measured without its page break: in the paged document that
// measures it, the break would move the whole page down by a page.
function measure(content, page) {
    doc.setHtml(docHead + pageStart(true) + content + pageFooter(page, 5) + pageEnd + docEnd);
    return doc.getDocHeight();
}

var output = '';
var page = 1;
var firstPage = true;
doc.setPageGenerated(page);

// Closes the page holding `content` with the footer at the bottom.
function closePage(content) {
    var height = measure(content, page);
    var margin = pageHeight - height - pageSlack;
    output += pageStart(firstPage) + content + pageFooter(page, margin > 0 ? margin : 0) + pageEnd;
    firstPage = false;
}

function nextPage() {
    ++page;
    doc.setPageGenerated(page);
}

// Ten columns of the document, then the second party's name, tax id and whether it is a NIP.
var secondParty = {
    'INVOICE_SELL': "b.firm, CASE WHEN b.nip <> '' THEN b.nip ELSE b.permit_person_pesel END, " +
        "CASE WHEN b.nip <> '' THEN 1 ELSE 0 END ",
    'INVOICE_BUY': "b.firm, b.nip, 1 "
};
var documents = [];
if (secondParty.hasOwnProperty(openName)) {
    documents = doc.getSqlQuery("SELECT i.id, i.id_parent_invoice, ik.basic_form, i.count_from_netto, " +
        "strftime('%Y-%m-%d', i.date_put), CASE WHEN i.date_sell_in_months = 1 THEN strftime('%Y-%m', i.date_sell) " +
        "ELSE strftime('%Y-%m-%d', i.date_sell) END, s.firm, s.nip, " + secondParty[openName] +
        "FROM __invoice_vat_summary ivs LEFT JOIN invoice i ON ivs.id_invoice = i.id " +
        "LEFT JOIN invoice_seller s ON i.id_seller = s.id " +
        "LEFT JOIN invoice_buyer b ON i.id_buyer = b.id LEFT JOIN invoice_kind ik ON i.invoice_kind = ik.id " +
        "WHERE ivs.id = " + runId + " AND i.id > 0 GROUP BY i.id " +
        "ORDER BY strftime('%Y-%m-%d', i.date_put), i.invoice_index ");
}
var documentCount = doc.getListSize(documents) / 11;

var content = headBlock() + tableStart + columnHeading();
var lp = 0;
for (var n = 0; n < documentCount; ++n) {
    var d = documents.slice(11 * n, 11 * n + 11);
    var rows = documentRows(lp + 1, d);
    if (rows != '') {
        ++lp;
        var before = content;
        content += rows;
        if (paging && measure(content + tableEnd, page) >= pageFull) {
            closePage(before + tableEnd);
            content = tableStart + columnHeading() + rows;
            nextPage();
        }
    }
    if (doc.isDocAborted())
        break;
}

content += tableEnd;
if (doc.isDocAborted()) {
    output = '';
} else if (paging) {
    var summary = summaryBlock();
    if (measure(content + summary, page) >= pageFull) {
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
