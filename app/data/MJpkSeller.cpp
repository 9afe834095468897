#include "data/MJpkSeller.h"

#include "data/MJpkText.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>
#include <QXmlStreamWriter>

MJpkSeller MJpkSeller::load(int id)
{
    MJpkSeller seller;
    if (id < 1)
        return seller;
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT s.nip, s.firm, s.regon, p.name, s.province2, s.province3, s.street, "
                                 "s.address_number1, s.address_number2, s.city, s.zipcode, s.city_post "
                                 "FROM seller s LEFT JOIN province p ON s.id_province = p.id WHERE s.id = :id"));
    query.bindValue(QStringLiteral(":id"), id);
    if (!query.exec() || !query.next())
        return seller;
    seller.found = true;
    struct Field
    {
        QString* value;
        int maxLength; // the longest text the schemas' type of the element takes
    };
    const Field fields[] = {{&seller.nip, 256},      {&seller.firm, 240},       {&seller.regon, 256},
                            {&seller.province, 36},  {&seller.district, 36},    {&seller.commune, 36},
                            {&seller.street, 65},    {&seller.houseNumber, 9},  {&seller.flatNumber, 10},
                            {&seller.city, 56},      {&seller.zipcode, 8},      {&seller.postOffice, 56}};
    // Blanks alone are no value: the schemas read every one of these fields as a token.
    for (int column = 0; column < 12; ++column)
        *fields[column].value = jpkText(query.value(column).toString(), fields[column].maxLength);
    return seller;
}

bool MJpkSeller::hasShortData() const
{
    return isJpkNipValid(nip) && !firm.isEmpty();
}

bool MJpkSeller::hasFullData() const
{
    static const QRegularExpression regonType(QStringLiteral("^(\\d{9}|\\d{14})$"));
    if (!hasShortData() || !regonType.match(regon).hasMatch())
        return false;
    for (const QString* field : {&province, &district, &commune, &street, &houseNumber, &city, &zipcode, &postOffice}) {
        if (field->isEmpty())
            return false;
    }
    return true;
}

void MJpkSeller::writeFullSubject(QXmlStreamWriter& xml, const QString& addressPrefix) const
{
    xml.writeStartElement(QStringLiteral("IdentyfikatorPodmiotu"));
    xml.writeTextElement(QStringLiteral("etd:NIP"), jpkDigits(nip));
    xml.writeTextElement(QStringLiteral("etd:PelnaNazwa"), firm);
    xml.writeTextElement(QStringLiteral("etd:REGON"), regon);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("AdresPodmiotu"));
    auto element = [&](const char* name, const QString& value) {
        xml.writeTextElement(addressPrefix + QLatin1String(name), value);
    };
    element("KodKraju", QStringLiteral("PL"));
    element("Wojewodztwo", province);
    element("Powiat", district);
    element("Gmina", commune);
    element("Ulica", street);
    element("NrDomu", houseNumber);
    if (!flatNumber.isEmpty())
        element("NrLokalu", flatNumber);
    element("Miejscowosc", city);
    element("KodPocztowy", zipcode);
    element("Poczta", postOffice);
    xml.writeEndElement();
}
