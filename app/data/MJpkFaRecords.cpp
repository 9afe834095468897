#include "data/MJpkFaRecords.h"

#include "data/MJpkKinds.h"
#include "data/MJpkText.h"
#include "data/MNumberText.h"

#include <QMap>
#include <QVariant>
#include <QXmlStreamWriter>

#include <array>

namespace {

// The fields of a record in the order the schema wants them. P_13_4 / P_14_4
// and P_13_5 / P_14_5 are reserved by the schema and never written.
const std::array<const char*, 36> fieldOrder{
    "P_1",      "P_2A",      "P_3A",          "P_3B",           "P_3C",            "P_3D",      "P_4A",
    "P_4B",     "P_5A",      "P_5B",          "P_6",            "P_13_1",          "P_14_1",    "P_13_2",
    "P_14_2",   "P_13_3",    "P_14_3",        "P_13_6",         "P_13_7",          "P_15",      "P_16",
    "P_17",     "P_18",      "P_19",          "P_20",           "P_21",            "P_23",      "P_106E_2",
    "P_106E_3", "P_106E_3A", "RodzajFaktury", "PrzyczynaKorekty", "NrFaKorygowanej", "OkresFaKorygowanej",
    "ZALZaplata", "ZALPodatek"};

struct MarginScheme
{
    const char* text;
    const char* field;
};

// The first scheme whose text the closing text holds decides.
const std::array<MarginScheme, 4> marginSchemes{{{"procedura marży dla biur podróży", "P_106E_2"},
                                                 {"procedura marży - towary używane", "P_106E_3"},
                                                 {"procedura marży - dzieła sztuki", "P_106E_3"},
                                                 {"procedura marży - przedmioty kolekcjonerskie i antyki", "P_106E_3"}}};

QString kindName(int kind)
{
    if (MJpkKinds::isCorrection(kind))
        return QStringLiteral("KOREKTA");
    if (kind == 19)
        return QStringLiteral("ZAL");
    if (kind == 0)
        return QStringLiteral("VAT");
    return QStringLiteral("POZ");
}

// "city zipcode<separator>street", or nothing when all three are empty.
QString address(const QString& city, const QString& zipcode, const QString& separator, const QString& street)
{
    if (QString(city + zipcode + street).trimmed().isEmpty())
        return QString();
    return city + QLatin1Char(' ') + zipcode + separator + street;
}

QString flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Amounts per field, summed when several rates meet in one field.
class MAmounts
{
public:
    void add(const char* field, double value) { m_values[QLatin1String(field)] += value; }
    void putInto(QMap<QString, QString>& fields) const
    {
        for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
            fields.insert(it.key(), xmlNumberText(it.value(), 2));
    }

private:
    QMap<QString, double> m_values;
};

// One VAT group into the fields of its meaning. A margin document has its tax
// inside the margin, so only its exempt and 0% sales have a field.
void addGroup(MAmounts& amounts, bool margin, const QString& rate, double net, double vat)
{
    if (rate == QLatin1String("0%")) {
        amounts.add("P_13_6", net);
    } else if (rate == QLatin1String("zw.")) {
        amounts.add("P_13_7", net);
    } else if (!margin) {
        if (rate == QLatin1String("22%") || rate == QLatin1String("23%")) {
            amounts.add("P_13_1", net);
            amounts.add("P_14_1", vat);
        } else if (rate == QLatin1String("7%") || rate == QLatin1String("8%")) {
            amounts.add("P_13_2", net);
            amounts.add("P_14_2", vat);
        } else if (rate == QLatin1String("5%")) {
            amounts.add("P_13_3", net);
            amounts.add("P_14_3", vat);
        }
    }
    // "np.", "nd.", "o.o." and other rates have no field; they count in P_15 only.
}

} // namespace

MJpkFaRecords::MJpkFaRecords(QXmlStreamWriter& xml)
    : m_xml(xml)
{
    m_buyer.prepare(QStringLiteral("SELECT b.firm, b.address, b.city, b.zipcode, b.nip FROM invoice_buyer b "
                                   "WHERE b.id = :id"));
    m_seller.prepare(QStringLiteral("SELECT s.firm, s.address, s.city, s.zipcode, s.nip FROM invoice_seller s "
                                    "WHERE s.id = :id"));
    m_endText.prepare(QStringLiteral("SELECT content FROM invoice_end_text WHERE id = :id"));
    // A correction brings its parent's groups and totals in with the opposite sign.
    m_groups.prepare(QStringLiteral("SELECT v.name, sum(s.netto_price), sum(s.vat_price) FROM ("
                                    "SELECT id_vat, netto_price, vat_price FROM invoice_summary_vat "
                                    "WHERE id_invoice = :id UNION ALL "
                                    "SELECT id_vat, -netto_price, -vat_price FROM invoice_summary_vat "
                                    "WHERE id_invoice = :parent) s "
                                    "LEFT JOIN vat v ON v.id = s.id_vat GROUP BY v.name"));
    m_totals.prepare(QStringLiteral("SELECT sum(gross) FROM (SELECT global_brutto AS gross FROM invoice WHERE id = :id "
                                    "UNION ALL SELECT -global_brutto FROM invoice WHERE id = :parent)"));
    m_correctReason.prepare(QStringLiteral("SELECT correct_reason FROM invoice_correct_misc WHERE id_invoice = :id "
                                           "ORDER BY id DESC LIMIT 1"));
    m_parentNumber.prepare(QStringLiteral("SELECT invoice_index_string FROM invoice WHERE id = :id"));
    m_advance.prepare(QStringLiteral("SELECT global_brutto_part, global_vat_part FROM invoice WHERE id = :id"));
}

int MJpkFaRecords::count() const
{
    return m_count;
}

double MJpkFaRecords::grossSum() const
{
    return m_grossSum;
}

void MJpkFaRecords::write(const MJpkFaDocument& document)
{
    QMap<QString, QString> fields;
    auto set = [&fields](const char* field, const QString& value) { fields.insert(QLatin1String(field), value); };

    set("P_1", document.issueDate);
    set("P_2A", jpkRequiredText(document.number, 256));

    QString buyerNip;
    if (document.idBuyer > 0) {
        m_buyer.bindValue(QStringLiteral(":id"), document.idBuyer);
        if (m_buyer.exec() && m_buyer.next()) {
            set("P_3A", jpkText(m_buyer.value(0).toString(), 256));
            set("P_3B", jpkText(address(m_buyer.value(2).toString(), m_buyer.value(3).toString(),
                                        QStringLiteral(", "), m_buyer.value(1).toString()),
                                256));
            buyerNip = jpkDigits(m_buyer.value(4).toString());
        }
        m_buyer.finish();
    }

    // The seller's name and address are required: "brak" where the snapshot has none.
    QString sellerFirm, sellerAddress, sellerNip;
    if (document.idSeller > 0) {
        m_seller.bindValue(QStringLiteral(":id"), document.idSeller);
        if (m_seller.exec() && m_seller.next()) {
            sellerFirm = m_seller.value(0).toString();
            sellerAddress = address(m_seller.value(2).toString(), m_seller.value(3).toString(), QStringLiteral(","),
                                    m_seller.value(1).toString());
            sellerNip = jpkDigits(m_seller.value(4).toString());
        }
        m_seller.finish();
        set("P_4A", QStringLiteral("PL"));
        if (fitsJpkNipType(sellerNip))
            set("P_4B", sellerNip);
    }
    set("P_3C", jpkRequiredText(sellerFirm, 256));
    set("P_3D", jpkRequiredText(sellerAddress, 256));
    if (document.idBuyer > 0) {
        set("P_5A", QStringLiteral("PL"));
        if (fitsJpkNipType(buyerNip))
            set("P_5B", buyerNip);
    }
    set("P_6", document.saleDate);

    const int idParent = MJpkKinds::isCorrection(document.kind) ? document.idParent : 0;

    bool margin = false;
    set("P_106E_2", flag(false));
    set("P_106E_3", flag(false));
    if (document.kind == 27 || document.kind == 28) {
        m_endText.bindValue(QStringLiteral(":id"), document.idEndText2);
        if (m_endText.exec() && m_endText.next()) {
            const QString content = m_endText.value(0).toString();
            for (const MarginScheme& scheme : marginSchemes) {
                const QString text = QString::fromUtf8(scheme.text);
                if (content.contains(text, Qt::CaseInsensitive)) {
                    set(scheme.field, flag(true));
                    if (QLatin1String(scheme.field) == QLatin1String("P_106E_3"))
                        set("P_106E_3A", text);
                    margin = true;
                    break;
                }
            }
        }
        m_endText.finish();
    }

    MAmounts amounts;
    m_groups.bindValue(QStringLiteral(":id"), document.id);
    m_groups.bindValue(QStringLiteral(":parent"), idParent);
    if (m_groups.exec()) {
        while (m_groups.next())
            addGroup(amounts, margin, m_groups.value(0).toString(), m_groups.value(1).toDouble(),
                     m_groups.value(2).toDouble());
    }
    m_groups.finish();
    amounts.putInto(fields);

    m_totals.bindValue(QStringLiteral(":id"), document.id);
    m_totals.bindValue(QStringLiteral(":parent"), idParent);
    double gross = 0.0;
    if (m_totals.exec() && m_totals.next())
        gross = m_totals.value(0).toDouble();
    m_totals.finish();
    set("P_15", xmlNumberText(gross, 2));
    m_grossSum += gross;

    set("P_16", flag(document.kind == 3 || document.kind == 4));
    set("P_17", flag(false));
    set("P_18", flag(MJpkKinds::isReverseCharge(document.kind)));
    for (const char* field : {"P_19", "P_20", "P_21", "P_23"})
        set(field, flag(false));

    const QString kind = kindName(document.kind);
    set("RodzajFaktury", kind);
    if (kind == QLatin1String("KOREKTA") && document.idParent > 0) {
        // The three correction fields come together or not at all.
        m_parentNumber.bindValue(QStringLiteral(":id"), document.idParent);
        if (m_parentNumber.exec() && m_parentNumber.next()) {
            QString reason;
            m_correctReason.bindValue(QStringLiteral(":id"), document.id);
            if (m_correctReason.exec() && m_correctReason.next())
                reason = m_correctReason.value(0).toString();
            m_correctReason.finish();
            set("PrzyczynaKorekty", jpkRequiredText(reason, 256));
            set("NrFaKorygowanej", jpkRequiredText(m_parentNumber.value(0).toString(), 256));
            set("OkresFaKorygowanej", QStringLiteral("-"));
        }
        m_parentNumber.finish();
    } else if (kind == QLatin1String("ZAL")) {
        m_advance.bindValue(QStringLiteral(":id"), document.id);
        if (m_advance.exec() && m_advance.next()) {
            set("ZALZaplata", xmlNumberText(m_advance.value(0).toDouble(), 2));
            set("ZALPodatek", xmlNumberText(m_advance.value(1).toDouble(), 2));
        }
        m_advance.finish();
    }

    m_xml.writeStartElement(QStringLiteral("Faktura"));
    m_xml.writeAttribute(QStringLiteral("typ"), QStringLiteral("G"));
    for (const char* name : fieldOrder) {
        const QString value = fields.value(QLatin1String(name));
        if (!value.isEmpty())
            m_xml.writeTextElement(QLatin1String(name), value);
    }
    m_xml.writeEndElement();
    ++m_count;
}
