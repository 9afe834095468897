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
    '<title>REJESTR VAT SPRZEDA&#379;Y</title>' +
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
    var html = esc(s[0]) + '<br>' + esc(s[1]) + '<br>' + esc(s[2]) + ' ' + esc(s[3]) + '<br>NIP: ' + esc(s[4]);
    if (s[5] != '') html += ', REGON: ' + esc(s[5]);
    if (s[6] != '') html += '<br>tel: ' + esc(s[6]);
    if (s[7] != '') html += ', fax: ' + esc(s[7]);
    if (s[10] != '') html += '<br>' + esc(s[10]);
    if (s[11] != '') html += '<br>' + esc(s[11]);
    return html;
}

function headBlock() {
    return '<table border="0" cellpadding="5" cellspacing="0" ' + fullWidth + '><tr>' +
        '<td width="50%" style="font-size:' + pt(9) + ';">' + sellerBlock() + '</td>' +
        '<td width="50%" align="right" style="font-size:' + pt(16) + '; font-weight:600;">' +
        '<span style="font-size:' + pt(14) + ';">REJESTR VAT SPRZEDA&#379;Y</span>' +
        '<p align="right" style="font-size:' + pt(11) + '; font-weight:300;">z dnia: ' + dayText('getDatePrintStr', true) + '</p>' +
        '<p align="right" style="font-size:' + pt(11) + '; font-weight:300;">za okres: ' + dayText('getDateFromStr', true) +
        ' - ' + dayText('getDateToStr', true) + '</p>' +
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
var PARTY_WIDTH = Math.floor(pageWidth * 0.14);

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

// 25 columns: lines at 1, 3, 7, 11, 17, 25; thin lines inside the groups at
// 5, 9, 13, 15, 19, 21, 23.
// "Suma" stands in the middle column of its group rather than across it: a cell
// spanning the line columns 13 and 15 would take their one-pixel width away.
function columnHeading() {
    return lineRow(25) +
        '<tr>' + black(1, 3) + headingCell('Lp', 'center', 'rowspan="3"') + black(1, 3) +
        splitHeading('Doku', 'ment') + black(1, 3) +
        splitHeading('Naby', 'wca') + black(1, 3) +
        '<td></td><td></td>' + headingCell('Suma', 'center') + '<td></td><td></td>' + black(1, 3) +
        '<td></td><td></td>' + splitHeading('Stawka', '&nbsp;VAT') +
        '<td></td><td></td>' + black(1, 3) + '</tr>' +
        '<tr>' + black(3) + black(3) + black(5) + black(7) + '</tr>' +
        '<tr>' + headingCell(doc.noWrap('Rodzaj /<br>Numer'), 'center', 'width="' + KIND_WIDTH + '"') + black(1) +
        headingCell('Data wystawienia /<br>Data sprzeda&#380;y', 'center', 'width="' + DATE_WIDTH + '"') +
        headingCell(doc.noWrap('Nazwa /<br>NIP'), 'center', 'width="' + PARTY_WIDTH + '"') + black(1) +
        headingCell('Adres', 'center', 'width="' + PARTY_WIDTH + '"') +
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

// The row group of one document for its k rates, 2k - 1 rows: `texts` are the
// cells that span the group (number, dates, party, address).
function groupRows(lp, texts, totals, rates) {
    var k = rates.length / 4;
    var span = 2 * k - 1;
    var html = '';
    for (var r = 0; r < k; ++r) {
        html += '<tr>';
        if (r == 0) {
            html += black(1, span) + cell(doc.noWrap('' + lp), 'center', span) + black(1, span) +
                cell(texts[0], '', span) + black(1, span) + cell(texts[1], '', span) + black(1, span) +
                cell(texts[2], '', span) + black(1, span) + cell(texts[3], '', span) + black(1, span) +
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

// The row group of one document; empty when it has no rate rows.
function documentRows(lp, d) {
    var id = d[0];
    var rates = doc.getSqlQuery('SELECT ivs.vat_text, ivs.netto, ivs.vat, ivs.brutto FROM __invoice_vat_summary ivs ' +
        'WHERE ivs.id = ' + runId + ' AND ivs.id_invoice = ' + id + ' ORDER BY ivs.vat_kind DESC, ivs.vat_val');
    if (doc.getListSize(rates) < 4)
        return '';
    var totals = doc.getSqlQuery('SELECT SUM(ivs.netto), SUM(ivs.vat), SUM(ivs.brutto) FROM __invoice_vat_summary ivs ' +
        'WHERE ivs.id = ' + runId + ' AND ivs.id_invoice = ' + id);
    return groupRows(lp, [esc(d[2]) + '<br>' + esc(doc.getInvoiceNumStr(id)), esc(d[4]) + '<br>' + esc(d[5]),
        partyCell(d[6], d[8], d[9]), esc(d[7]) + '<br>' + esc(d[10])], totals, rates);
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

// Pages measured lately, newest first, so that a page laid out once is not
// laid out again for the same question.
var recentHeights = [];

// A page is measured without its page break: in the paged document that
// measures it, the break would move the whole page down by a page.
function measure(content, page) {
    var html = docHead + pageStart(true) + content + pageFooter(page, 5) + pageEnd + docEnd;
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

// Each finished page goes to the host at once, so that a long register is never
// held whole here; the host puts the number of pages in for "[[PAGES]]" and
// the page breaks between the pages.
doc.pages.setFrame(docHead, docEnd);

var page = 1;
var firstPage = true;
doc.setPageGenerated(page);

// Closes the page holding `content` with the footer at the bottom; `height` is
// the page's measured height when it is known.
function closePage(content, height) {
    if (height === undefined)
        height = measure(content, page);
    var margin = pageHeight - height - pageSlack;
    doc.pages.addPage(pageStart(true) + content + pageFooter(page, margin > 0 ? margin : 0) + pageEnd);
    firstPage = false;
}

function nextPage() {
    ++page;
    doc.setPageGenerated(page);
}

var documents = doc.getSqlQuery("SELECT i.id, i.id_parent_invoice, ik.basic_form, i.count_from_netto, " +
    "strftime('%Y-%m-%d', i.date_put), CASE WHEN i.date_sell_in_months = 1 THEN strftime('%Y-%m', i.date_sell) " +
    "ELSE strftime('%Y-%m-%d', i.date_sell) END, b.firm, b.address, " +
    "CASE WHEN b.nip <> '' THEN b.nip ELSE b.permit_person_pesel END, CASE WHEN b.nip <> '' THEN 1 ELSE 0 END, " +
    "TRIM(b.zipcode || ' ' || b.city) FROM __invoice_vat_summary ivs LEFT JOIN invoice i ON ivs.id_invoice = i.id " +
    "LEFT JOIN invoice_buyer b ON i.id_buyer = b.id LEFT JOIN invoice_kind ik ON i.invoice_kind = ik.id " +
    "WHERE ivs.id = " + runId + " AND i.id > 0 GROUP BY i.id " +
    "ORDER BY strftime('%Y-%m-%d', i.date_put), i.invoice_index ");
// Eleven values a document: the address's second line comes last.
var documentCount = doc.getListSize(documents) / 11;

// The row groups of the documents with rate rows, built only as far as the
// paging asks for them, with the abort check after each document; and the
// number of rates of each.
var blocks = [];
var blockRates = [];
var nextDocument = 0;
var aborted = false;

function blocksAvailable(wanted) {
    while (blocks.length < wanted && nextDocument < documentCount && !aborted) {
        var d = documents.slice(11 * nextDocument, 11 * nextDocument + 11);
        ++nextDocument;
        var rows = documentRows(blocks.length + 1, d);
        if (rows != '') {
            blocks.push(rows);
            blockRates.push((rows.split('<tr>').length - 1) / 2);
        }
        if (doc.isDocAborted())
            aborted = true;
    }
    return blocks.length;
}

function pageContent(head, start, count) {
    return head + blocks.slice(start, start + count).join('');
}

// The least height a row group of k rates adds to a page: the group with the
// shortest texts, measured once for each k. Real texts only make a group
// taller, so a page without room for this group has no room for the real one.
// Measured heights are whole pixels rounded up, so the difference of two may
// exceed the true one by a pixel; one is taken off to keep it a lower bound.
var leastHeights = {};

function leastHeight(k) {
    if (!leastHeights.hasOwnProperty(k)) {
        var rates = [];
        for (var r = 0; r < k; ++r)
            rates.push('0%', 0, 0, 0);
        var head = tableStart + columnHeading();
        var group = groupRows(1, ['A<br>1', '1<br>1', 'A', 'A<br>1'], [0, 0, 0], rates);
        leastHeights[k] = measure(head + group + tableEnd, 1) - measure(head + tableEnd, 1) - 1;
    }
    return leastHeights[k];
}

// The height of a page holding only its head, for the first page and the others.
var headHeights = {};

function headHeight(head) {
    if (!headHeights.hasOwnProperty(firstPage))
        headHeights[firstPage] = measure(head + tableEnd, page);
    return headHeights[firstPage];
}

// The measured height of the page fittingCount settled on; -1 when it was not measured.
var fittingHeight = -1;

// The number of blocks from `start` the page takes: the most for which the page
// stays below the full height. The page takes `least` blocks unmeasured (the
// block that did not fit on the page before). Returns -1 when every remaining
// block fits.
//
// A page grows by at least a block's least height when the block is added, so
// the search steps from a measured height by least heights: the first guess is
// the most blocks whose least heights fit, a fitting page whose next block would
// not fit even at its least height is settled without laying that block out, and
// a page too full drops as many blocks as their least heights need to fit.
function fittingCount(head, start, least) {
    var lo = least;
    var hi = -1;
    var loHeight = -1;
    var probe = least;
    // The least height of the page with `probe` blocks; below zero when the
    // probe is already chosen.
    var estimate = headHeight(head) + leastOfBlocks(start, least);
    for (;;) {
        if (estimate >= 0) {
            if (blocksAvailable(start + probe + 1) <= start + probe)
                return -1;
            do {
                estimate += leastHeight(blockRates[start + probe]);
                ++probe;
            } while (blocksAvailable(start + probe + 1) > start + probe && (hi < 0 || probe + 1 < hi) &&
                     estimate + leastHeight(blockRates[start + probe]) < pageFull);
        }
        var available = blocksAvailable(start + probe + 1) - start;
        if (aborted || available <= lo)
            return -1;
        if (probe > available)
            probe = available;
        var height = measure(pageContent(head, start, probe) + tableEnd, page);
        if (height < pageFull) {
            lo = probe;
            loHeight = height;
            if (lo == available)
                return -1;
            if (hi == lo + 1 || height + leastHeight(blockRates[start + lo]) >= pageFull)
                break;
            estimate = height;
        } else {
            hi = probe;
            if (hi == lo + 1)
                break;
            probe = hi - 1;
            var upper = height - leastHeight(blockRates[start + probe]);
            while (probe - 1 > lo && upper >= pageFull) {
                --probe;
                upper -= leastHeight(blockRates[start + probe]);
            }
            estimate = -1;
        }
    }
    fittingHeight = loHeight;
    return lo;
}

function leastOfBlocks(start, count) {
    var height = 0;
    for (var i = start; i < start + count; ++i)
        height += leastHeight(blockRates[i]);
    return height;
}

var head = headBlock() + tableStart + columnHeading();
var start = 0;
if (paging) {
    var least = 0;
    for (;;) {
        var count = fittingCount(head, start, least);
        if (count < 0)
            break;
        closePage(pageContent(head, start, count) + tableEnd, fittingHeight < 0 ? undefined : fittingHeight);
        // The page's row groups are in the output now.
        for (var i = start; i < start + count; ++i)
            blocks[i] = null;
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
    doc.pages.clear();
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
    doc.pages.addPage(pageStart(true) + content + summaryBlock() + pageEnd);
}

if (doc.isDocAborted()) {
    doc.pages.clear();
    doc.setHtml('');
} else {
    doc.pages.finish();
}
doc.setDocGenerated(true);
