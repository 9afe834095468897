#pragma once

#include <QString>

class QXmlStreamWriter;

// The seller record that identifies the taxpayer of a tax control file, and
// what of it a file variant needs.
struct MJpkSeller
{
    bool found = false;
    QString nip;
    QString firm;
    QString regon;
    QString province;
    QString district;
    QString commune;
    QString street;
    QString houseNumber;
    QString flatNumber;
    QString city;
    QString zipcode;
    QString postOffice;

    // The seller with this id, every text as the files carry it (cut to the
    // schemas' lengths); found stays false for an id below 1 or without a row.
    static MJpkSeller load(int id);

    // NIP (valid, in the schemas' form) and firm: all that JPK_VAT(3) needs.
    bool hasShortData() const;
    // The short data, a REGON of 9 or 14 digits and every address field but the
    // flat number: all that JPK_VAT(2) and JPK_FA(1) need.
    bool hasFullData() const;

    // IdentyfikatorPodmiotu and AdresPodmiotu of Podmiot1, the address elements
    // named with `addressPrefix` ("" or "etd:"); no NrLokalu without a flat number.
    void writeFullSubject(QXmlStreamWriter& xml, const QString& addressPrefix) const;
};
