#pragma once

#include <QString>

// The image element that places a seller's logo on a printed document.
class MSellerLogoElement
{
public:
    // `file` at the size of the seller_logo row, width and height each divided by its
    // zoom (a zoom below 1 counts as 1); empty without a row or when the file cannot
    // be read.
    static QString html(int idSeller, const QString& file);
};
