#pragma once

#include <QString>

// Document numbers made from the seller's numbering pattern. Tokens
// (case-sensitive, each may appear more than once): [nr] the sequence number,
// [nr|width] the number padded with leading zeros, [m] / [mm] the month,
// [r] / [rr] / [rrr] / [rrrr] the last one to four digits of the year.
// Every other character is copied unchanged.

// The pattern with its tokens replaced; no database access.
QString formatInvoiceNumber(QString pattern, int index, int month, int year);

// The number from the pattern of the document's seller snapshot (`saved`
// true: invoice_seller.id) or of the editor's working copy (`saved` false:
// __invoice_seller.__id). Empty when index or idSeller is below 1 or the
// seller is not found.
QString invoiceNumber(int index, int idSeller, int month, int year, bool saved);

// The number of the saved document, from its sequence number, seller
// snapshot and issue date; empty when idInvoice is below 1 or not found.
QString invoiceNumberById(int idInvoice);
