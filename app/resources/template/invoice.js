// One sales or purchase document laid out as paged HTML for the run's text edit.
// Every name is declared with var: the run's context takes them away afterwards.

var PIXEL = '<img src=":/resource/pixel.gif" width="1" height="1">';

var docId = doc.getIdRecord();
var docType = doc.getInvoiceType(docId);
var isDuplicate = docType == 'DUPLICATE' || docType == 'CORRECT_DUPLICATE';
var dupId = isDuplicate ? docId : 0;
var invId = isDuplicate ? doc.getIdRecordParent(docId) : docId;
var isCorrect = docType == 'CORRECT' || docType == 'CORRECT_DUPLICATE';
var corId = isCorrect ? doc.getIdRecordParent(invId) : 0;
var isBill = doc.getInvoiceType2(invId) == 'BILL';
var type3 = doc.getInvoiceType3(invId);
var isRR = type3 == 'INVOICE_RR';
var isProfit = type3 == 'INVOICE_PROFIT';
var isAdvance = type3 == 'INVOICE_PRE' || type3 == 'INVOICE_FINAL';
var idSellerBase = doc.getInvoiceSellerBase(invId);

var pageH = doc.getPageHeight() - 10;
var pageW = doc.getPageWidth() - 10;
var mmH = doc.getMMHeight();

function sizeDiff() {
    var steps = {'0': -2, '1': -1, '2': 0, '3': 1, '4': 2};
    var d = steps[doc.getOption('FONT_SIZE_DIFF')];
    return d === undefined ? 0 : d;
}
var SIZE_DIFF = sizeDiff();

function fs(pt) {
    return 'font-size:' + (pt + SIZE_DIFF) + 'pt;';
}

function esc(text) {
    return doc.escapeHtml(String(text));
}

function money(value) {
    return doc.noWrap(doc.moneyFormat(value, 2));
}

// Rows of a statement as arrays of `columns` values each.
function queryRows(sql, columns) {
    var flat = doc.getSqlQuery(sql);
    var rows = [];
    var n = doc.getListSize(flat);
    for (var i = 0; i + columns <= n; i += columns)
        rows.push(flat.slice(i, i + columns));
    return rows;
}

function queryRow(sql, columns) {
    var rows = queryRows(sql, columns);
    if (rows.length > 0)
        return rows[0];
    var empty = [];
    for (var i = 0; i < columns; ++i)
        empty.push('');
    return empty;
}

function num(value) {
    var n = Number(value);
    return isNaN(n) ? 0 : n;
}

function dateWords(ymd) {
    var p = String(ymd).substring(0, 10).split('-');
    if (p.length != 3)
        return '';
    return p[2] + ' ' + doc.getMonthName(p[1], true) + ' ' + p[0];
}

// invoice columns every block reads
var INVOICE_COLUMNS = ['substr(date_put, 1, 10)', 'place_put', 'substr(date_sell, 1, 10)', 'date_sell_in_months',
    'substr(date_pay, 1, 10)', 'day_period', 'pay_text', 'pay_form_text', 'id_pay_form', 'id_pay_form_part', 'payed',
    'buyer_kind', 'id_buyer', 'id_buyer2', 'id_seller', 'id_end_text', 'id_end_text2', 'id_currency',
    'id_currency_rating', 'count_from_netto', 'reduct_percent', 'hide_vat', 'invoice_kind', 'brutto_part',
    'global_netto', 'global_vat', 'global_brutto', 'global_vat_rating', 'global_netto_part', 'global_vat_part',
    'global_brutto_part', 'global_vat_part_rating', 'invoice_index_string'];

function readInvoice(id) {
    var row = queryRow('SELECT ' + INVOICE_COLUMNS.join(', ') + ' FROM invoice WHERE id = ' + id,
                       INVOICE_COLUMNS.length);
    var names = ['datePut', 'placePut', 'dateSell', 'dateSellInMonths', 'datePay', 'dayPeriod', 'payText',
        'payFormText', 'idPayForm', 'idPayFormPart', 'payed', 'buyerKind', 'idBuyer', 'idBuyer2', 'idSeller',
        'idEndText', 'idEndText2', 'idCurrency', 'idCurrencyRating', 'countFromNetto', 'reductPercent', 'hideVat',
        'kind', 'bruttoPart', 'netto', 'vat', 'brutto', 'vatRating', 'nettoPart', 'vatPart', 'bruttoPart2',
        'vatPartRating', 'indexString'];
    var inv = {id: id};
    for (var i = 0; i < names.length; ++i)
        inv[names[i]] = row[i];
    inv.fromNetto = num(inv.countFromNetto) == 1;
    inv.percent = num(inv.reductPercent) == 1;
    inv.currency = num(inv.idCurrency) > 0
        ? String(queryRow('SELECT symbol FROM currency WHERE id = ' + num(inv.idCurrency), 1)[0]) : 'PLN';
    if (inv.currency === '')
        inv.currency = 'PLN';
    inv.rated = num(inv.idCurrency) > 0 && num(inv.idCurrencyRating) > 0;
    return inv;
}

var inv = readInvoice(invId);
var cor = isCorrect ? readInvoice(corId) : null;
var dup = isDuplicate ? readInvoice(dupId) : null;
var showVat = !isBill && num(inv.hideVat) == 0;
var docWord = isBill ? ['rachunku', 'rachunek'] : ['faktury', 'faktura'];
var saleWord = isRR ? 'zakupu' : 'sprzeda&#380;y';

function envelopeMode() {
    if (isRR)
        return '0';
    var mode = doc.getOption('FIT_TO_ENVELOPE_WINDOW_RIGHT');
    if (doc.isPreview()) {
        if (doc.getOption('FIT_TO_ENVELOPE_WINDOW_RIGHT_PREVIEW') == '0')
            mode = '0';
    } else if (doc.isPdf()) {
        if (doc.getOption('FIT_TO_ENVELOPE_WINDOW_RIGHT_PDF') == '0')
            mode = '0';
    } else {
        mode = doc.getOption('FIT_TO_ENVELOPE_WINDOW_RIGHT_PRINT');
    }
    return mode == '1' || mode == '2' ? mode : '0';
}
var ENVELOPE = envelopeMode();

// ---- building blocks of the page ----

// Made once: every page measured starts with it.
var HTML_HEAD = '<html><head><meta http-equiv="Content-Type" content="text/html; charset=UTF-8">' +
    '<title>' + esc(doc.getInvoiceKindName(invId)[0]) + '</title>' +
    '<style type="text/css">body, p, li, td { white-space:pre-wrap; }</style></head>' +
    '<body style="font-family:Verdana, Arial, Times; ' + fs(8) + '">';

function htmlHead() {
    return HTML_HEAD;
}

function htmlTail() {
    return '</body></html>';
}

// Blank room of `height` pixels: a table holding a line of that height rather than a
// stretched line image, which would print as a grey stripe down the page. (A paragraph's
// margin would do, but not at the top of a cell, where the layout drops it.)
function spacer(height) {
    var h = Math.max(1, Math.floor(height));
    return '<table width="' + pageW + '" cellspacing="0" cellpadding="0"><tr><td><p style="margin-top:0px; ' +
        'margin-bottom:0px; line-height:' + h + 'px; font-size:1px;">&nbsp;</p></td></tr></table>';
}

function blackLine() {
    return '<table width="100%" cellspacing="0" cellpadding="0"><tr><td bgcolor="#000000" height="1">' + PIXEL +
        '</td></tr></table>';
}

// Without padding of its own: a table's cellpadding would widen the black cell beyond a pixel.
function separatorCell() {
    return '<td width="1" bgcolor="#000000">' + PIXEL + '</td>';
}

function mmToPx(mm) {
    return Math.max(0, Math.floor(mm * mmH));
}

var FOOTER_LEFT = doc.getOption('SHOW_PRINT_FOOTER') == '1' ? esc(doc.getPrintFooter()) : '';

function footer(pageText) {
    return '<table width="' + pageW + '" cellspacing="0" cellpadding="0"><tr>' +
        '<td style="' + fs(7) + '">' + FOOTER_LEFT + '</td>' +
        '<td align="right" style="' + fs(7) + '">' + pageText + '</td></tr></table>';
}

function pageStart(breakBefore) {
    return '<table width="' + pageW + '" cellspacing="0" cellpadding="0"' +
        (breakBefore ? ' style="page-break-before:always;"' : '') + '><tr><td>';
}

function pageEnd() {
    return '</td></tr></table>';
}

// ---- envelope ----

function contactAddress() {
    var buyer = queryRow('SELECT firm, address, zipcode, city, id_address_contact FROM invoice_buyer WHERE id = ' +
                         num(inv.idBuyer), 5);
    var lines = [buyer[0], buyer[1], (buyer[2] + ' ' + buyer[3]).replace(/^\s+|\s+$/g, '')];
    if (num(buyer[4]) > 0) {
        var a = queryRow('SELECT name, address, zipcode, city FROM invoice_buyer_address WHERE id = ' + num(buyer[4]), 4);
        lines = [];
        if (String(a[0]) !== '')
            lines.push(a[0]);
        lines.push(a[1]);
        lines.push((a[2] + ' ' + a[3]).replace(/^\s+|\s+$/g, ''));
    }
    var out = [];
    for (var i = 0; i < lines.length; ++i)
        if (String(lines[i]) !== '')
            out.push(esc(lines[i]));
    return '<span style="' + fs(12) + '">' + out.join('<br>') + '</span>';
}

function usedMM(content) {
    doc.setHtml(htmlHead() + content + htmlTail());
    return (doc.getDocHeight() + doc.getMarginTop()) / mmH;
}

// The address keeps this far inside every edge of the envelope's window, so that a sheet
// folded or fed a little off still shows all of it.
var WINDOW_INSET_MM = 3;
// The text document's own margin around its content, in pixels.
var DOCUMENT_MARGIN = 4;

// Where the top of the table `table` lies, in pixels from the top of the document, when it
// follows `content`: the document with it less the height the table itself adds to one.
function tableTop(content, table) {
    doc.setHtml(htmlHead() + content + table + htmlTail());
    var withContent = doc.getDocHeight();
    doc.setHtml(htmlHead() + table + htmlTail());
    return withContent - doc.getDocHeight() + DOCUMENT_MARGIN;
}

// The spacer that brings `table` after `content` down to the window's top edge, or nothing
// when the content already reaches below it.
function windowTopSpacer(content, table) {
    var target = (doc.getEnvelopeWindowTop() + WINDOW_INSET_MM) * mmH - doc.getMarginTop();
    var size = 5;
    for (var step = 0; step < 2; ++step) {
        var gap = target - tableTop(content + spacer(size), table);
        if (step == 0 && gap < -size)
            return '';
        size = Math.max(1, size + gap);
    }
    return spacer(size);
}

// The address row: `before` fills the room up to the window, the address stays inside it.
function windowRow(before) {
    var paperWidth = (doc.getPageWidth() + doc.getMarginLeft() + doc.getMarginRight()) / mmH;
    var left = doc.getEnvelopeWindowLeft() + WINDOW_INSET_MM;
    var width = paperWidth - doc.getEnvelopeWindowLeft() - doc.getEnvelopeWindowRight() - 2 * WINDOW_INSET_MM;
    var leftPx = mmToPx(left) - doc.getMarginLeft() - DOCUMENT_MARGIN;
    return '<table width="' + pageW + '" cellspacing="0" cellpadding="0"><tr>' + before(leftPx) +
        '<td width="' + mmToPx(width) + '" valign="top">' + contactAddress() + '</td><td></td></tr></table>';
}

function envelopeSheet() {
    var row = windowRow(function (leftPx) { return '<td width="' + leftPx + '"></td>'; });
    return windowTopSpacer('', row) + row;
}

function envelopeBlock(content) {
    var row = windowRow(function (leftPx) {
        return '<td width="' + Math.max(0, leftPx - mmToPx(10)) + '" valign="top" style="' + fs(10) + '">' +
            saleDateText() + '<br>' + paymentText() + '</td><td width="' + Math.min(leftPx, mmToPx(10)) + '"></td>';
    });
    var html = windowTopSpacer(content, row) + row;
    var used = usedMM(content + html);
    var bottom = doc.getEnvelopeWindowTop() + doc.getEnvelopeWindowBottom();
    if (used < bottom)
        html += spacer((bottom - used) * mmH);
    return html;
}

// ---- header ----

function headerBlock() {
    var blank = ENVELOPE != '0' ? ' ' : '';
    var left = '<span style="' + fs(9) + '">Data wystawienia: ' + dateWords(inv.datePut) + ', ' +
        esc(inv.placePut) + '</span><br>' + doc.getHtmlLogo(idSellerBase);
    var right = '';
    if (isDuplicate)
        right += '<span style="' + fs(14) + '">DUPLIKAT</span><br><span style="' + fs(11) + '">' + blank +
            'z dnia: ' + dateWords(dup.datePut) + '</span><br>';
    var kindName = doc.getInvoiceKindName(invId);
    right += '<table cellspacing="0" cellpadding="3" border="1" style="border-color:#a0a0a0; border-style:solid;">' +
        '<tr><td align="center" style="' + fs(16) + ' font-weight:bold;">' + esc(kindName[0]) +
        (kindName.length > 1 && kindName[1] !== '' ? '<br><span style="' + fs(12) + '">' + esc(kindName[1]) +
         '</span>' : '') + '</td></tr></table>';
    right += 'nr: ' + esc(doc.getInvoiceNumStr(invId));
    var contract = doc.getInvoiceContractText(invId);
    if (contract !== '')
        right += '<br><span style="' + fs(10) + ' font-weight:normal;">' + esc(contract) + '</span>';
    if (isCorrect)
        right += '<br><span style="' + fs(10) + '">do ' + docWord[0] + ' nr: ' + esc(doc.getInvoiceNumStr(corId)) +
            (ENVELOPE != '0' ? ' ' : '<br>') + 'z dnia: ' + dateWords(cor.datePut) + '</span>';
    right += '<br><span style="' + fs(12) + '">' + esc(doc.getDocViewName()) + '</span>';
    return '<table width="' + pageW + '" cellspacing="0" cellpadding="0"><tr><td width="50%" valign="top">' + left +
        '</td><td width="50%" align="right" valign="top" style="' + fs(16) + ' font-weight:bold;">' + right +
        '</td></tr></table>';
}

// ---- parties ----

function partyRow(table, id) {
    return queryRow('SELECT p.firm, p.address, p.zipcode, p.city, p.nip, p.regon, p.phone, p.fax, p.email, p.www, ' +
        'p.bank, p.bank_account, IFNULL(pr.name, \'\'), IFNULL(c.name, \'\'), IFNULL(k.name, \'\'), ' +
        'p.person_document_number, p.person_document_by, IFNULL(substr(p.person_document_date, 1, 10), \'\'), ' +
        'p.permit_person_pesel, p.person_document_id_kind FROM ' + table + ' p ' +
        'LEFT JOIN province pr ON pr.id = p.id_province LEFT JOIN country c ON c.id = p.id_country ' +
        'LEFT JOIN person_document_kind k ON k.id = p.person_document_id_kind WHERE p.id = ' + num(id), 20);
}

function partyHtml(p, side, firstBuyer) {
    function shown(key, value) {
        return String(value) !== '' && doc.getOption(side + '_SHOW_FIELD_' + key) == '1';
    }
    var lines = [];
    var always = function (value) { if (String(value) !== '') lines.push(esc(value)); };
    always(p[0]);
    always(p[1]);
    always((p[2] + ' ' + p[3]).replace(/^\s+|\s+$/g, ''));
    var country = shown('COUNTRY', p[13]) ? esc(p[13]) : '';
    var province = shown('PROVINCE', p[12]) ? 'woj. ' + esc(p[12]) : '';
    if (country !== '' && province !== '')
        lines.push(country + ', ' + province);
    else if (country !== '' || province !== '')
        lines.push(country + province);
    if (isRR) {
        if (doc.getOption(side + '_SHOW_FIELD_NIP') == '1') {
            if (String(p[4]) !== '')
                lines.push('NIP: ' + esc(p[4]));
            else if (String(p[18]) !== '')
                lines.push('PESEL: ' + esc(p[18]));
        }
        if (num(p[19]) > 0) {
            lines.push(esc(p[14]) + ': seria, numer: ' + esc(p[15]));
            var issued = 'wydany';
            if (doc.getOption(side + '_SHOW_PERSON_DOCUMENT_DATE') == '1' && String(p[17]) !== '')
                issued += ' dnia: ' + esc(p[17]);
            issued += ' przez: ' + esc(p[16]);
            lines.push(issued);
        }
        if (side == 'BUYER') {
            if (shown('BANK', p[10]))
                lines.push(esc(p[10]));
            if (shown('BANK_ACCOUNT', p[11]))
                lines.push(esc(p[11]));
        }
    } else {
        if (shown('NIP', p[4]))
            lines.push('NIP: ' + esc(p[4]));
        else if (firstBuyer && String(p[4]) === '' && String(p[18]) !== '' &&
                 doc.getOption(side + '_SHOW_FIELD_NIP') == '1')
            lines.push('PESEL: ' + esc(p[18]));
        var labelled = [['REGON', 5, 'REGON: '], ['PHONE', 6, 'tel: '], ['FAX', 7, 'fax: '], ['EMAIL', 8, 'e-mail: '],
            ['WWW', 9, 'www: '], ['BANK', 10, ''], ['BANK_ACCOUNT', 11, '']];
        for (var i = 0; i < labelled.length; ++i)
            if (shown(labelled[i][0], p[labelled[i][1]]))
                lines.push(labelled[i][2] + esc(p[labelled[i][1]]));
    }
    return '<span style="' + fs(9) + '">' + lines.join('<br>') + '</span>';
}

function partyColumn(title, body) {
    return '<span style="' + fs(10) + ' font-weight:bold;">' + (title === '' ? ' ' : title) + '</span>' +
        blackLine() + body;
}

function partiesBlock() {
    var titles = ['Nabywca'];
    var second = false;
    if (num(inv.buyerKind) > 0) {
        var kind = queryRow('SELECT num, name_doc FROM invoice_buyer_kind WHERE id = ' + num(inv.buyerKind), 2);
        titles = String(kind[1]).split('|');
        second = num(kind[0]) == 2;
    }
    var seller = partyRow('invoice_seller', inv.idSeller);
    var buyer = partyRow('invoice_buyer', inv.idBuyer);
    var left = isRR ? partyHtml(buyer, 'BUYER', true) : partyHtml(seller, 'SELLER', false);
    var right = isRR ? partyHtml(seller, 'SELLER', false) : partyHtml(buyer, 'BUYER', true);
    var rightHtml = partyColumn(esc(titles[0]), right);
    if (second && titles.length > 1)
        rightHtml += '<br>' + partyColumn(esc(titles[1]), partyHtml(partyRow('invoice_buyer', inv.idBuyer2), 'BUYER',
                                                                         false));
    var half = Math.floor((pageW - 10) / 2);
    return '<br><table width="' + pageW + '" cellspacing="0" cellpadding="0"><tr>' +
        '<td width="' + half + '" valign="top">' + partyColumn('Sprzedawca', left) + '</td><td width="10"></td>' +
        '<td width="' + half + '" valign="top">' + rightHtml + '</td></tr></table><br>';
}

// ---- sale date and payment ----

function saleDateText() {
    var label = saleWord;
    if (!isRR && String(inv.datePut).substring(0, 10) >= '2013-01-01')
        label = esc(doc.getOption('TRANSLATE_DATE_SELL_20130101'));
    var p = String(inv.dateSell).split('-');
    if (num(inv.dateSellInMonths) == 1)
        return 'Miesi&#261;c ' + label + ': ' + doc.getMonthName(p[1], false) + ' ' + p[0];
    return 'Data ' + label + ': ' + dateWords(inv.dateSell);
}

function payFormName(id, column) {
    return String(queryRow('SELECT ' + column + ' FROM pay_form WHERE id = ' + num(id), 1)[0]);
}

function paymentText() {
    var lines = [];
    if (num(inv.payed) == 1) {
        lines.push('Zap&#322;acono ' + esc(inv.payFormText !== '' ? inv.payFormText :
                                                payFormName(inv.idPayForm, 'second_form')));
        var all = doc.getInvoicePayedAllDate(invId);
        if (all !== '')
            lines.push('Data otrzymania nale&#380;no&#347;ci: ' + all);
        return lines.join('<br>');
    }
    var term;
    if (String(inv.payText) !== '') {
        term = esc(inv.payText);
    } else if (num(inv.dayPeriod) == 1) {
        var days = doc.countDaysFromStrings(inv.datePut, inv.datePay);
        term = days + (days == 1 ? ' dzie&#324;' : ' dni');
    } else {
        term = dateWords(inv.datePay);
    }
    lines.push('Termin p&#322;atno&#347;ci: ' + term);
    if (num(inv.idPayForm) > 0 || String(inv.payFormText) !== '')
        lines.push('Spos&#243;b p&#322;atno&#347;ci: ' + esc(inv.payFormText !== '' ? inv.payFormText :
                                                            payFormName(inv.idPayForm, 'basic_form')));
    return lines.join('<br>');
}

function saleAndPaymentBlock() {
    return '<table width="' + pageW + '" cellspacing="0" cellpadding="0"><tr><td width="50%" valign="top" style="' +
        fs(10) + '">' + saleDateText() + '</td><td width="50%" valign="top" style="' + fs(10) + '">' + paymentText() +
        '</td></tr></table><br>';
}

function grossNoteBlock() {
    if (isBill || isProfit || inv.fromNetto || doc.getOption('SHOW_TEXT_FROM_BRUTTO') != '1')
        return '';
    return '<span>** jako ceny ' + saleWord + ' zastosowano umowne ceny brutto</span><br>';
}

// ---- line tables ----

var LINE_SQL_COLUMNS = 15;

function lineRows(d) {
    var before, after;
    if (d.fromNetto) {
        before = 'p.netto_price';
        after = d.percent ? 'round(p.netto_price * (100 - m.reduct) * 0.01 + 0.0000000001, 2)'
                          : 'p.netto_price - m.reduct';
    } else {
        before = doc.getOption('SHOW_REDUCT_COLUMN_NETTO_BRUTTO') == '1' ? 'p.brutto_price'
            : 'round(m.amount * 100 * p.brutto_price / (100 + p.vat) + 0.0000000001, 2)';
        after = d.percent
            ? 'round(100 * round(p.brutto_price * (100 - m.reduct) * 0.01 + 0.0000000001, 2) / (100 + p.vat) + ' +
              '0.0000000001, 2)'
            : 'round(100 * (p.brutto_price - m.reduct) / (100 + p.vat) + 0.0000000001, 2)';
    }
    return queryRows('SELECT m.position_hide, p.name, p.symbol, p.code, m.amount, p.unit, ' + before + ', m.reduct, ' +
        after + ', m.netto_price, p.vat_text, m.vat_price, m.vat_rating_price, m.brutto_price, p.vat ' +
        'FROM invoice_product_misc m JOIN invoice_product p ON p.id = m.id_product WHERE m.id_invoice = ' + d.id +
        ' ORDER BY m.id', LINE_SQL_COLUMNS);
}

function anyValue(rowsList, index) {
    for (var t = 0; t < rowsList.length; ++t)
        for (var i = 0; i < rowsList[t].length; ++i)
            if (String(rowsList[t][i][index]) !== '' && num(rowsList[t][i][index]) !== 0 ||
                index != 7 && String(rowsList[t][i][index]) !== '')
                return true;
    return false;
}

// Which optional columns the document's tables carry, the same for every table of it.
function columnSet(rowsList) {
    var reductOption = doc.getOption('SHOW_REDUCT_COLUMNS');
    var symbolOption = doc.getOption('SHOW_PRODUCT_SYMBOL_COLUMN');
    var codeOption = doc.getOption('SHOW_PRODUCT_CODE_COLUMN');
    var ratingOption = doc.getOption('SHOW_VAT_RATING_COLUMN');
    var set = {};
    set.symbol = symbolOption == '1' || symbolOption == '2' && anyValue(rowsList, 2);
    set.code = codeOption == '0' || codeOption == '1' && anyValue(rowsList, 3);
    set.reduct = reductOption == '1' || reductOption != '0' && reductOption != '1' && anyValue(rowsList, 7);
    set.vatCurrency = true;
    set.vatPln = false;
    if (inv.rated) {
        set.vatCurrency = ratingOption != '0';
        set.vatPln = ratingOption != '1';
    }
    set.layout = isBill ? 'bill' : (num(inv.hideVat) == 1 ? 'hidden' : 'invoice');
    // A margin invoice leaves out the discount pair and the unit price in header and rows alike.
    set.unitPrice = !(isProfit && set.layout != 'bill');
    if (isProfit && set.layout != 'bill')
        set.reduct = false;
    return set;
}

// Columns as {head, width, align, value(row)}; `plain(row, rows)` gives the text of a column
// that widens to its longest value, `width` 0 marks the name, which takes the room left.
function columns(set, d) {
    var cols = [];
    var cur = esc(d.currency);
    function amountColumn(head, width, index, digits) {
        return {head: head, width: width, align: 'right',
                value: function (r) { return doc.noWrap(doc.amountFormat(r[index], digits)); },
                plain: function (r) { return doc.amountFormat(r[index], digits); }};
    }
    function moneyColumn(head, width, index) {
        return {head: head, width: width, align: 'right', value: function (r) { return money(r[index]); },
                plain: function (r) { return doc.moneyFormat(r[index], 2); }};
    }
    cols.push({head: 'Lp', width: 22, align: 'center', value: function (r, n) { return n; },
               plain: function (r, count) { return String(count); }});
    cols.push({head: 'Nazwa', width: 0, align: 'left', value: function (r) { return esc(r[1]); }});
    if (set.symbol)
        cols.push({head: 'Symbol', width: 50, align: 'left', value: function (r) { return esc(r[2]); },
                   plain: function (r) { return String(r[2]); }, most: 100});
    if (set.code) {
        var code = {head: isRR ? 'Oznaczenie<br>(opis)&nbsp;klasy<br>lub&nbsp;jako&#347;ci' : 'PKWiU /<br>PKOB',
                    width: 70, align: 'left', value: function (r) { return esc(r[3]); }};
        if (doc.getOption('FIT_COLUMN_PKWIU_TO_TEXT') != '0') {
            code.width = 40;
            code.plain = function (r) { return String(r[3]); };
            code.most = 120;
        }
        cols.push(code);
    }
    cols.push(amountColumn('Ilo&#347;&#263;', 50, 4, 4));
    cols.push({head: 'Jm', width: 28, align: 'left', value: function (r) { return esc(r[5]); },
               plain: function (r) { return String(r[5]); }, most: 60});
    var reductHead = 'Rabat<br>(' + (d.percent ? '%' : cur) + ')';
    if (set.reduct) {
        var beforeHead = set.layout == 'invoice'
            ? (!d.fromNetto && doc.getOption('SHOW_REDUCT_COLUMN_NETTO_BRUTTO') == '1' ? 'Brutto' : 'Netto')
            : 'Warto&#347;&#263;';
        cols.push(moneyColumn(beforeHead + '<br>bez&nbsp;rabatu<br>(' + cur + ')', 60, 6));
        cols.push(moneyColumn(reductHead, 45, 7));
    }
    if (set.layout == 'invoice') {
        if (set.unitPrice)
            cols.push(moneyColumn('Netto', 60, 8));
        cols.push(moneyColumn('Warto&#347;&#263;<br>netto', 65, 9));
        cols.push({head: 'VAT', width: 35, align: 'right', value: function (r) { return esc(r[10]); }});
        if (set.vatCurrency && set.vatPln) {
            cols.push(moneyColumn('Kwota<br>' + cur, 55, 11));
            cols.push(moneyColumn('&nbsp;VAT<br>(PLN)', 55, 12));
        } else {
            var pln = !set.vatCurrency;
            cols.push(moneyColumn('Kwota<br>VAT<br>(' + (pln ? 'PLN' : cur) + ')', 55, pln ? 12 : 11));
        }
        cols.push(moneyColumn('Warto&#347;&#263;<br>brutto', 70, 13));
    } else {
        if (set.unitPrice)
            cols.push(moneyColumn('Cena<br>jednostkowa', 65, 8));
        cols.push(moneyColumn('Warto&#347;&#263;', 70, 13));
    }
    return cols;
}

var CELL_PADDING = 2;

// Every column gets a width in pixels, the same in all rows: each row is a table of its own,
// and the rows' separators line up only when no width depends on a row's content. A column
// with `plain` widens to its longest text (of every table of the document, `rowsList`), and
// every column to the longest line of its heading, estimated from the characters at the
// widest digit's advance; the name takes what is left.
function fixWidths(cols, rowsList) {
    var charWidth = 7 * (8 + SIZE_DIFF) / 8;
    var headCharWidth = 6.3 * (7 + SIZE_DIFF) / 7;
    var left = pageW - (cols.length + 1);
    var name = null;
    for (var c = 0; c < cols.length; ++c) {
        var col = cols[c];
        if (col.plain) {
            var longest = 0;
            for (var t = 0; t < rowsList.length; ++t)
                for (var i = 0; i < rowsList[t].length; ++i)
                    longest = Math.max(longest, String(col.plain(rowsList[t][i], rowsList[t].length)).length);
            col.width = Math.max(col.width, Math.ceil(longest * charWidth) + 2 * CELL_PADDING);
            if (col.most)
                col.width = Math.min(col.width, col.most);
        }
        if (col.width > 0) {
            var heads = col.head.replace(/&[^;]+;/g, 'x').split('<br>');
            for (var h = 0; h < heads.length; ++h)
                col.width = Math.max(col.width, Math.ceil(heads[h].length * headCharWidth) + 2 * CELL_PADDING);
        }
        if (col.width == 0)
            name = col;
        else
            left -= col.width;
    }
    if (name)
        name.width = Math.max(40, left);
}

function tableRow(cols, cells, style) {
    var html = '<table width="' + pageW + '" cellspacing="0" cellpadding="0" style="' + style + '"><tr>' +
        separatorCell();
    for (var i = 0; i < cols.length; ++i) {
        html += '<td width="' + cols[i].width + '" align="' + cols[i].align + '" valign="top" style="padding:' +
            CELL_PADDING + 'px;">' + cells[i] + '</td>' + separatorCell();
    }
    return html + '</tr></table>';
}

function headerRow(cols) {
    var heads = [];
    for (var i = 0; i < cols.length; ++i)
        heads.push(cols[i].head);
    return blackLine() + tableRow(cols, heads, fs(7) + ' font-weight:bold;') + blackLine();
}

// One block per line: the row and the rule under it.
function lineBlocks(cols, rows) {
    var blocks = [];
    var position = 0;
    for (var i = 0; i < rows.length; ++i) {
        var r = rows[i];
        var hidden = num(r[0]) == 1;
        if (!hidden)
            ++position;
        var cells = [];
        for (var c = 0; c < cols.length; ++c)
            cells.push(c == 0 ? (hidden ? '' : String(position)) : cols[c].value(r, position));
        var html = tableRow(cols, cells, fs(8));
        if (!(i + 1 < rows.length && num(rows[i + 1][0]) == 1))
            html += blackLine();
        blocks.push(html);
    }
    return blocks;
}

// ---- VAT summary ----

function signedSum(column) {
    return isCorrect
        ? 'sum(CASE WHEN s.id_invoice = ' + invId + ' THEN s.' + column + ' ELSE -s.' + column + ' END)'
        : 'sum(s.' + column + ')';
}

function summaryRows(part) {
    var sfx = part ? '_part' : '';
    return queryRows('SELECT v.name, ' + signedSum('netto' + sfx + '_price') + ', ' + signedSum('vat' + sfx + '_price') +
        ', ' + signedSum('vat' + sfx + '_rating_price') + ', ' + signedSum('brutto' + sfx + '_price') +
        ' FROM invoice_summary_vat s JOIN vat v ON v.id = s.id_vat WHERE s.id_invoice IN (' + invId +
        (isCorrect ? ', ' + corId : '') + ') GROUP BY v.name ORDER BY max(v.kind) DESC, max(v.val)', 5);
}

function totals(part) {
    var t = part ? [num(inv.nettoPart), num(inv.vatPart), num(inv.vatPartRating), num(inv.bruttoPart2)]
                 : [num(inv.netto), num(inv.vat), num(inv.vatRating), num(inv.brutto)];
    if (isCorrect) {
        var c = part ? [num(cor.nettoPart), num(cor.vatPart), num(cor.vatPartRating), num(cor.bruttoPart2)]
                     : [num(cor.netto), num(cor.vat), num(cor.vatRating), num(cor.brutto)];
        for (var i = 0; i < 4; ++i)
            t[i] -= c[i];
    }
    return t;
}

function ratingText(d) {
    if (!d.rated)
        return '';
    var r = queryRow('SELECT r.currency_amount_from, IFNULL(cf.symbol, \'\'), r.currency_value, IFNULL(ct.symbol, ' +
        '\'PLN\'), substr(r.rating_date, 1, 10), r.bank_name, r.table_name FROM invoice_currency_rating r ' +
        'LEFT JOIN currency cf ON cf.id = r.id_currency_from LEFT JOIN currency ct ON ct.id = r.id_currency_to ' +
        'WHERE r.id = ' + num(d.idCurrencyRating), 7);
    var text = esc(r[0]) + ' ' + esc(r[1]) + ' = ' + doc.noWrap(doc.moneyFormat(num(r[2]), 4)) + ' ' + esc(r[3]) +
        '<br>kurs z dnia: ' + esc(r[4]);
    if (String(r[5]) !== '' || String(r[6]) !== '')
        text += '<br>' + esc(r[5]) + (String(r[5]) !== '' && String(r[6]) !== '' ? ', ' : '') + esc(r[6]);
    return text;
}

function ratingBlock() {
    var now = ratingText(inv);
    if (isCorrect && now !== ratingText(cor))
        return 'By&#322;o:<br>' + ratingText(cor) + '<br>Powinno by&#263;:<br>' + now;
    return now;
}

function summaryTable(heading, rows, total, totalLabel, onlyGross) {
    var pln = inv.rated && doc.getOption('SHOW_VAT_RATING_COLUMN') != '1';
    var cur = inv.rated && doc.getOption('SHOW_VAT_RATING_COLUMN') != '0' || !inv.rated;
    var cols = onlyGross ? [['Warto&#347;&#263;', 3]]
                         : [['Stawka', -1], ['Warto&#347;&#263;<br>netto', 0]];
    if (!onlyGross) {
        if (cur)
            cols.push(['Kwota<br>VAT' + (pln ? '<br>(' + esc(inv.currency) + ')' : ''), 1]);
        if (pln)
            cols.push(['Kwota<br>VAT<br>(PLN)', 2]);
        cols.push(['Warto&#347;&#263;<br>brutto', 3]);
    }
    var html = '<table cellspacing="0" cellpadding="2" style="' + fs(8) + '"><tr><td></td>';
    for (var i = 0; i < cols.length; ++i)
        html += '<td align="right" style="' + fs(7) + ' font-weight:bold;">' + cols[i][0] + '</td>';
    html += '</tr>';
    var all = onlyGross ? [] : rows;
    for (var r = 0; r < all.length; ++r) {
        html += '<tr><td></td>';
        for (var c = 0; c < cols.length; ++c)
            html += '<td align="right">' + (cols[c][1] < 0 ? esc(all[r][0]) : money(all[r][cols[c][1] + 1])) +
                '</td>';
        html += '</tr>';
    }
    html += '<tr><td align="right" style="font-weight:bold;">' + totalLabel + '</td>';
    for (var t = 0; t < cols.length; ++t)
        html += '<td align="right" style="font-weight:bold;">' + (cols[t][1] < 0 ? '-' : money(total[cols[t][1]])) +
            '</td>';
    html += '</tr></table>';
    return '<table width="' + pageW + '" cellspacing="0" cellpadding="0"><tr><td valign="bottom" style="' + fs(8) +
        '">' + ratingBlock() + '</td><td align="right">' + heading + html + '</td></tr></table>';
}

function summaryBlock() {
    var total = isCorrect ? 'Zmiana razem' : 'Razem';
    if (isRR)
        return '<br>' + summaryTable('', [], totals(false), total, false);
    if (!showVat)
        return '<br>' + summaryTable('<br>', [], totals(false), total, true);
    var heading = '<span style="' + fs(9) + ' font-weight:bold;">' +
        (isCorrect ? 'Zmiana podsumowania w/g stawek VAT' : 'Podsumowanie w/g stawek VAT') + '</span>';
    return '<br>' + summaryTable(heading, summaryRows(false), totals(false), total, false);
}

// ---- advance settlement ----

function advanceBlock() {
    var kind = num(inv.kind);
    if (!isAdvance)
        return '';
    var html = '';
    if (kind == 19 || kind == 20 || kind == 23 || kind == 24) {
        var joined = queryRows('SELECT j2.invoice_index_string, substr(j2.date_put, 1, 10), j2.brutto_part ' +
            'FROM invoice_join j JOIN invoice j2 ON j2.id = j.id_invoice_join WHERE j.id_invoice = ' + invId +
            ' AND j2.invoice_kind IN (19, 20) ORDER BY j2.date_put, j.id', 3);
        if (joined.length > 0) {
            html += '<br><span style="' + fs(9) + ' font-weight:bold;">Poprzednie zaliczki</span>' +
                '<table cellspacing="0" cellpadding="2"><tr><td style="' + fs(7) + ' font-weight:bold;">Numer<br>' +
                'faktury</td><td style="' + fs(7) + ' font-weight:bold;">Data<br>wystawienia</td>' +
                '<td align="right" style="' + fs(7) + ' font-weight:bold;">Kwota<br>zaliczki<br>(' +
                esc(inv.currency) + ')</td></tr>';
            for (var i = 0; i < joined.length; ++i)
                html += '<tr><td>' + esc(joined[i][0]) + '</td><td>' + esc(joined[i][1]) + '</td><td align="right">' +
                    money(joined[i][2]) + '</td></tr>';
            html += '</table>';
        }
    }
    if (num(inv.bruttoPart) > 0 && showVat) {
        var heading = '<span style="' + fs(9) + ' font-weight:bold;">' +
            (isCorrect ? 'Zmiana rozliczenia zaliczki w/g stawek VAT' : 'Rozliczenie zaliczki w/g stawek VAT') +
            '</span>';
        html += '<br>' + summaryTable(heading, summaryRows(true), totals(true), isCorrect ? 'Zmiana razem' : 'Razem',
                                      false);
    }
    return html;
}

// ---- amount to pay ----

function amountBlock() {
    var html = '';
    var partPaid = num(inv.bruttoPart) > 0;
    if (partPaid) {
        html += 'Zap&#322;acono' + (isAdvance ? ' zaliczk&#281;' : '') +
            (num(inv.idPayFormPart) > 0 ? ' ' + esc(payFormName(inv.idPayFormPart, 'second_form')) : '') + ': ' +
            money(doc.getInvoicePartPrice(invId)) + ' ' + esc(inv.currency) + '<br>';
        var partDate = doc.getInvoicePartDate(invId);
        if (partDate !== '')
            html += 'Data otrzymania nale&#380;no&#347;ci: ' + partDate + '<br>';
    }
    var amount = (isCorrect ? doc.getInvoiceCorrectTotalPrice(invId) : doc.getInvoiceTotalPrice(invId)) -
        doc.getInvoicePartTotalPrice(invId);
    amount = Math.round(amount * 100) / 100;
    var labels = ['Pozosta&#322;o do zap&#322;aty: ', 'Zap&#322;acono: ', 'Do zap&#322;aty: '];
    if (isCorrect && amount < 0) {
        amount = -amount;
        labels = ['Pozosta&#322;o do zwrotu: ', 'Zwr&#243;cono: ', 'Do zwrotu: '];
    }
    var label = labels[2];
    if (partPaid || isAdvance)
        label = labels[0];
    else if (num(inv.payed) == 1 && doc.getOption('SHOW_TEXT_PAYED_INSTEAD_OF_TO_PAY') == '1')
        label = labels[1];
    var qr = doc.getQrcodeHtmlImage(doc.getQrcodeStringPayment(invId), 20, 20, 8);
    var text = '<span style="font-weight:bold;">' + label + money(amount) + ' ' + esc(inv.currency) + '</span><br>' +
        's&#322;ownie: ' + esc(doc.priceToWords(amount, true, false, inv.currency));
    // The code image has no quiet zone of its own: four modules of white around it. A payment
    // text needs at most 41 modules on the image's 20 mm, so 12 px hold four of them.
    var qrCell = qr === '' ? '' : '<td valign="middle" style="padding:12px;" width="1">' + qr + '</td>';
    return '<br><span style="' + fs(10) + '">' + html + '</span>' +
        '<table cellspacing="0" cellpadding="0"><tr>' + qrCell + '<td valign="middle" style="' + fs(10) + '">' + text +
        '</td></tr></table>';
}

function reasonBlock() {
    if (!isCorrect)
        return '';
    var reason = String(queryRow('SELECT correct_reason FROM invoice_correct_misc WHERE id_invoice = ' + invId, 1)[0]);
    if (reason === '')
        return '';
    return '<br><span style="' + fs(10) + ' font-weight:bold;">Pow&#243;d korekty: </span><span style="' + fs(10) +
        '">' + esc(reason) + '</span>';
}

// ---- signatures and closing text ----

function permitLabel(key) {
    return esc(doc.getOption(key)).replace('[TYPU_DOKUMENTU]', docWord[0]).replace('[TYP_DOKUMENTU]', docWord[1]);
}

function personName(table, id) {
    var p = queryRow('SELECT permit_person_firstname, permit_person_secondname FROM ' + table + ' WHERE id = ' +
                     num(id), 2);
    return esc((p[0] + ' ' + p[1]).replace(/^\s+|\s+$/g, ''));
}

function endText(id) {
    return num(id) > 0 ? String(queryRow('SELECT content FROM invoice_end_text WHERE id = ' + num(id), 1)[0]) : '';
}

function signatureBlock() {
    var sellerName = doc.getOption('SELLER_SHOW_PERSON_ON_DOCUMENT_PRINT') == '1'
        ? personName('invoice_seller', inv.idSeller) : ' ';
    var left, right, leftName, rightName;
    if (isRR) {
        left = 'O&#347;wiadczam, &#380;e jestem rolnikiem rycza&#322;towym zwolnionym od podatku od towar&#243;w i ' +
            'us&#322;ug na podstawie art. 43 ust. 1 pkt 3 ustawy o podatku od towar&#243;w i us&#322;ug.<br><br>' +
            permitLabel('TRANSLATE_PERMIT_PERSON_OUT');
        right = permitLabel('TRANSLATE_PERMIT_PERSON_IN');
        leftName = personName('invoice_buyer', inv.idBuyer);
        rightName = sellerName;
    } else {
        var text2 = endText(inv.idEndText2);
        left = (text2 !== '' ? esc(text2) + '<br><br>' : '') + permitLabel('TRANSLATE_PERMIT_PERSON_IN');
        right = isBill ? ' ' : permitLabel('TRANSLATE_PERMIT_PERSON_OUT');
        leftName = sellerName;
        rightName = isBill ? ' ' : personName('invoice_buyer', inv.idBuyer);
    }
    // The lines are tables of their own in their cells: a black cell in a row with an empty
    // neighbour would be as tall as the neighbour's empty line of text.
    return '<br><br><table width="' + pageW + '" cellspacing="0" cellpadding="0" style="' + fs(7) + '"><tr>' +
        '<td width="45%" valign="bottom" align="center">' + left + '</td><td width="10%"></td>' +
        '<td width="45%" valign="bottom" align="center">' + right + '</td></tr>' +
        '<tr><td>' + blackLine() + '</td><td></td><td>' + blackLine() + '</td></tr>' +
        '<tr><td align="center">' + leftName + '</td><td></td><td align="center">' + rightName + '</td></tr></table>';
}

function closingTextBlock() {
    var text = endText(inv.idEndText);
    return '<table width="' + pageW + '" cellspacing="0" cellpadding="0"><tr><td align="center" style="' + fs(7) +
        '">' + esc(text) + '</td></tr></table>';
}

// ---- pagination ----

var pages = [];
var current = '';
var pageNumber = 1;

function pageFooter() {
    return footer('Strona ' + pageNumber + ' z [[PAGES]]');
}

// The last pages measured, newest first: the probe that fitted last is the page that is
// measured again when it is closed.
var recentHeights = [];

// A page is measured without the table that holds it when printed: that table adds nothing
// to the height, as everything on the page is as wide as it or narrower, but the layout
// would pass over the whole page again to size its one cell.
function measurePage(content, footerHtml) {
    var html = htmlHead() + content + footerHtml + htmlTail();
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

function measure(content) {
    return measurePage(content + spacer(5), pageFooter());
}

// Heights of a page holding nothing but a spacer, by the spacer's drawn height. A spacer's
// own height is not linear in small sizes, but swapping one spacer for another changes any
// page by exactly as much as it changes this small one, which lays out in no time.
var spacerPageHeights = {};

function spacerPageHeight(size) {
    var h = Math.max(1, Math.floor(size));
    if (!spacerPageHeights.hasOwnProperty(h)) {
        doc.setHtml(htmlHead() + spacer(h) + htmlTail());
        spacerPageHeights[h] = doc.getDocHeight();
    }
    return spacerPageHeights[h];
}

// The spacer between `before` and `after` that brings the page's end, footer included,
// to the bottom of the usable height: a first guess from the page with a small spacer,
// corrected by how far the guessed spacer's height differs from the small one's.
function fillSpacer(before, after, footerHtml) {
    var target = pageH - 5;
    var small = measurePage(before + spacer(5) + after, footerHtml);
    var size = target - small + 5;
    size -= small + spacerPageHeight(size) - spacerPageHeight(5) - target;
    return spacer(size);
}

function closePage() {
    pages.push(pageStart(pages.length > 0) + current + fillSpacer(current, '', pageFooter()) + pageFooter() +
               pageEnd());
    current = '';
    ++pageNumber;
}

// Blocks wait here until the closing part and are then laid on the pages together: a page
// is measured a few times while it fills rather than once for every block.
var queued = [];
// Height of one more block as the last page measured showed it, in pixels: the average over the
// blocks the page took, as one block's measure is off by the rounding of both heights, and past
// the page's first measure when enough blocks followed it, as the first block is often a heading;
// 0 before any.
var blockHeight = 0;

// Appends a block; when it overflows the page, it opens the next page with `repeatHead` before it.
function addBlock(block, repeatHead) {
    if (!doc.isPaging())
        current += block;
    else
        queued.push({html: block, head: repeatHead || ''});
}

// The measured page: the current content followed by `count` queued blocks from `start`.
function measureQueued(start, count) {
    var html = current;
    for (var i = start; i < start + count; ++i)
        html += queued[i].html;
    return measure(html);
}

// What each queued block adds to a page, by its index: measured on a page of its own against
// the empty page, which lays out in no time. Blocks lie one under another and none reaches
// into the one before it, so a block adds at least this much to any page.
var ownHeights = [];
var emptyPageHeight = -1;

function bareHeight(content) {
    doc.setHtml(htmlHead() + content + spacer(5) + pageFooter() + htmlTail());
    return doc.getDocHeight();
}

function ownHeight(index) {
    if (emptyPageHeight < 0)
        emptyPageHeight = bareHeight('');
    if (ownHeights[index] === undefined)
        ownHeights[index] = bareHeight(queued[index].html) - emptyPageHeight;
    return ownHeights[index];
}

// Blocks followed past `count` while their own heights keep the page of height `h` below
// `limit`: the next count worth measuring, or `count` itself when the next block cannot fit.
// Heights are whole pixels rounded up, so an own height may come out up to a pixel above what
// the block adds: a block overflows for sure only from a pixel past the limit.
function countAfter(start, count, hi, h, limit) {
    var n = count;
    while (n + 1 < hi && n - count < 12 && h + ownHeight(start + n) <= limit) {
        h += ownHeight(start + n);
        ++n;
    }
    return n;
}

// Blocks left out from `count`, whose page of height `h` overflows, until their own heights
// bring it below `limit`: the count worth measuring, or -1 without one.
function countBefore(start, lo, count, h, limit) {
    var n = count;
    while (n - 1 > lo && count - n < 8 && h >= limit) {
        h -= ownHeight(start + n - 1);
        --n;
    }
    return n < count && h < limit ? n : -1;
}

// How many queued blocks from `start` still fit on the current page. Adding a block never
// makes a page shorter, so this is a search for the last count below the limit: after each
// measure the blocks' own heights name the next count to measure, else it is guessed from
// the block height seen so far; after four guesses the range is halved. Without a height
// seen yet, up to 32 blocks are tried at once. A page that fits ends the search when the
// next block's own height alone would overflow it.
function fittingCount(start) {
    var limit = pageH - 5;
    // A block taller than a page fills the pages it spans alone: it neither joins the page
    // before nor, below, takes another block after it.
    if (ownHeight(start) >= limit)
        return 0;
    var lo = 0;
    var hi = queued.length - start + 1;
    var hHi = -1;
    var probes = 0;
    var next = -1;
    // The height at `lo`; the page without queued blocks is measured only when a guess needs it.
    var hLo = blockHeight > 0 || hi > 33 ? measure(current) : -1;
    var hStart = hLo;
    var firstFit = -1;
    var hFirstFit = -1;
    while (hi - lo > 1) {
        if (hLo < 0 && probes > 0) {
            hLo = measure(current);
            hStart = hLo;
            if (hHi > hLo)
                blockHeight = (hHi - hLo) / hi;
            continue;
        }
        var probe;
        if (probes >= 4)
            probe = Math.floor((lo + hi) / 2);
        else if (next > lo)
            probe = next;
        else if (blockHeight <= 0 || hLo < 0)
            probe = lo + 32;
        else
            probe = lo + Math.floor((limit - 1 - hLo) / blockHeight);
        probe = Math.max(lo + 1, Math.min(hi - 1, probe));
        var h = measureQueued(start, probe);
        ++probes;
        if (h < limit && firstFit > 0 && probe - firstFit >= 8)
            blockHeight = (h - hFirstFit) / (probe - firstFit);
        else if (h < limit && hStart >= 0 && h > hStart)
            blockHeight = (h - hStart) / probe;
        else if (blockHeight <= 0 && hLo >= 0 && h > hLo)
            blockHeight = (h - hLo) / (probe - lo);
        if (h < limit) {
            if (firstFit < 0) {
                firstFit = probe;
                hFirstFit = h;
            }
            lo = probe;
            hLo = h;
            next = countAfter(start, lo, hi, h, limit);
            if (next == lo)
                hi = lo + 1;
        } else {
            hi = probe;
            hHi = h;
            next = countBefore(start, lo, hi, h, limit);
        }
    }
    return lo;
}

// Whether the current page takes every queued block from `start` and the closing part `last`
// after them. Tried when they may fit: none of the first two is taller than a page, and the
// block height seen so far, if any, leaves room for them all besides the page's first blocks
// and the closing part. The one measure then mostly settles the last page (closingFits), and
// the closing part's own check finds it measured already.
function takesAllLeft(start, last) {
    var rest = queued.length - start;
    var limit = pageH - 5;
    if (rest > 32 || (blockHeight > 0 && (rest + 8) * blockHeight >= limit))
        return false;
    if (ownHeight(start) >= limit || (rest > 1 && ownHeight(start + 1) >= limit))
        return false;
    var all = current;
    for (var i = start; i < queued.length; ++i)
        all += queued[i].html;
    return closingFits(all, last);
}

function layQueued(last) {
    var i = 0;
    while (i < queued.length) {
        if (current === '') {
            current = queued[i].html;
            ++i;
            continue;
        }
        var count = takesAllLeft(i, last) ? queued.length - i : ownHeight(i - 1) >= pageH - 5 ? 0 : fittingCount(i);
        for (var k = 0; k < count; ++k)
            current += queued[i + k].html;
        i += count;
        if (i < queued.length) {
            closePage();
            current = queued[i].head + queued[i].html;
            ++i;
        }
    }
    queued = [];
    ownHeights = [];
}

// Whether the closing part `last` still fits on the page after `content`: measured, like every
// block, with the footer's spacer of 5 px after it. The page without that spacer is measured
// first, as it is the page the closing spacer is computed from (fillSpacer); the spacer adds at
// most the height of a page holding only it and nothing when it is left out, so the page with
// it needs measuring only when the height is within that much of the limit.
function closingFits(content, last) {
    var limit = pageH - 5;
    var h = measurePage(content + last, pageFooter());
    if (h + spacerPageHeight(5) < limit)
        return true;
    if (h >= limit)
        return false;
    return measure(content + last) < limit;
}

function addClosing(signatures, closing) {
    if (!doc.isPaging()) {
        current += signatures + spacer(5) + closing;
        return;
    }
    var last = signatures + spacer(5) + closing;
    layQueued(last);
    if (current !== '' && !closingFits(current, last))
        closePage();
    current += signatures + fillSpacer(current + signatures, closing, pageFooter()) + closing;
}

// ---- the document ----

function buildEnvelopeSheet() {
    if (ENVELOPE != '2')
        return '';
    var sheet = envelopeSheet();
    return pageStart(false) + sheet + fillSpacer(sheet, '', footer('&nbsp;')) + footer('&nbsp;') + pageEnd();
}

function buildDocument() {
    var envelope = buildEnvelopeSheet();
    var head = headerBlock();
    if (ENVELOPE == '1')
        head += envelopeBlock(head);
    head += partiesBlock();
    if (ENVELOPE != '1')
        head += saleAndPaymentBlock();
    head += grossNoteBlock();
    addBlock(head, '');

    var rowsMain = lineRows(inv);
    var rowsOld = isCorrect ? lineRows(cor) : [];
    var set = columnSet(isCorrect ? [rowsMain, rowsOld] : [rowsMain]);
    var tables = isCorrect ? [['By&#322;o:', cor, rowsOld], ['Powinno by&#263;:', inv, rowsMain]]
                           : [['', inv, rowsMain]];
    for (var t = 0; t < tables.length; ++t) {
        var cols = columns(set, tables[t][1]);
        fixWidths(cols, isCorrect ? [rowsMain, rowsOld] : [rowsMain]);
        var header = headerRow(cols);
        var title = tables[t][0] !== '' ? '<span style="' + fs(10) + ' font-weight:bold;">' + tables[t][0] +
            '</span><br>' : '';
        addBlock(title + header, '');
        var blocks = lineBlocks(cols, tables[t][2]);
        for (var b = 0; b < blocks.length; ++b)
            addBlock(blocks[b], header);
    }
    addBlock(summaryBlock(), '');
    var advance = advanceBlock();
    if (advance !== '')
        addBlock(advance, '');
    addBlock(amountBlock(), '');
    var reason = reasonBlock();
    if (reason !== '')
        addBlock(reason, '');
    addClosing(signatureBlock(), closingTextBlock());
    pages.push(pageStart(pages.length > 0) + current + pageFooter() + pageEnd());

    var html = pages.join('');
    html = html.split('[[PAGES]]').join(String(pages.length));
    if (envelope !== '')
        html = envelope + html.replace(pageStart(false), pageStart(true));
    doc.setHtml(htmlHead() + html + htmlTail());
}

buildDocument();
