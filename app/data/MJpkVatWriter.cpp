#include "data/MJpkVatWriter.h"

#include "data/MJpkDates.h"
#include "data/MJpkKinds.h"
#include "data/MJpkSeller.h"
#include "data/MJpkText.h"
#include "data/MJpkXmlFile.h"
#include "data/MNumberText.h"
#include "data/MVatRateRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <QVariant>
#include <QStringList>
#include <QVector>

#include <array>

namespace {

struct Document
{
    int id = 0;
    QString issueDate;
    QString number;
    int idBuyer = 0;
    QString saleDate;
    int kind = 0;
    int idParent = 0;
};

// The K fields of a sales row, in the order the schema wants them.
enum Field { K10, K11, K13, K15, K16, K17, K18, K19, K20, K31, FieldCount };
const std::array<const char*, FieldCount> fieldNames{"K_10", "K_11", "K_13", "K_15", "K_16",
                                                      "K_17", "K_18", "K_19", "K_20", "K_31"};

struct Fields
{
    std::array<double, FieldCount> amount{};
    std::array<bool, FieldCount> used{};

    void add(Field field, double value)
    {
        amount[field] += value;
        used[field] = true;
    }
};

// One VAT group of a document into the fields of its meaning; the output tax of
// the group is added to *tax.
void addGroup(Fields& fields, double* tax, bool reverseCharge, const QString& rate, double net, double vat)
{
    if (reverseCharge) {
        fields.add(K31, net);
        return;
    }
    auto taxed = [&](Field netField, Field vatField) {
        fields.add(netField, net);
        fields.add(vatField, vat);
        *tax += vat;
    };
    if (rate == QLatin1String("22%") || rate == QLatin1String("23%"))
        taxed(K19, K20);
    else if (rate == QLatin1String("7%") || rate == QLatin1String("8%"))
        taxed(K17, K18);
    else if (rate == QLatin1String("5%"))
        taxed(K15, K16);
    else if (rate == QLatin1String("0%"))
        fields.add(K13, net);
    else if (rate == QLatin1String("np."))
        fields.add(K11, net);
    else if (rate == QLatin1String("o.o."))
        fields.add(K31, net);
    else if (rate == QLatin1String("zw."))
        fields.add(K10, net);
    // "nd." (outside the tax) and rates that the file has no field for stay out.
}

QString idList(const QList<int>& ids)
{
    QStringList texts;
    for (int id : ids)
        texts << QString::number(id);
    return texts.isEmpty() ? QStringLiteral("0") : texts.join(QLatin1Char(','));
}

QVector<Document> exportedDocuments(const QList<int>& ids)
{
    QVector<Document> documents;
    QSqlQuery query;
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT i.id, i.date_put, i.invoice_index_string, i.id_buyer, "
                              "CASE WHEN i.date_sell_in_months = 1 THEN strftime('%Y-%m-01', i.date_sell) "
                              "ELSE strftime('%Y-%m-%d', i.date_sell) END, i.invoice_kind, i.id_parent_invoice "
                              "FROM invoice i WHERE i.id IN (")
               + idList(ids) + QStringLiteral(") AND i.id_currency = 0 ORDER BY i.id"));
    while (query.next()) {
        Document document;
        document.kind = query.value(5).toInt();
        if (!MJpkKinds::isExported(document.kind))
            continue;
        document.id = query.value(0).toInt();
        document.issueDate = query.value(1).toString().left(10);
        document.number = query.value(2).toString();
        document.idBuyer = query.value(3).toInt();
        document.saleDate = query.value(4).toString();
        document.idParent = MJpkKinds::isCorrection(document.kind) ? query.value(6).toInt() : 0;
        documents << document;
    }
    return documents;
}

class MSalesRows
{
public:
    MSalesRows(QXmlStreamWriter& xml, int version)
        : m_xml(xml)
        , m_version(version)
        , m_groups(MVatRateRows::Scope::AllRates)
    {
        m_buyer.prepare(QStringLiteral("SELECT b.firm, b.address, b.city, b.zipcode, b.nip "
                                       "FROM invoice_buyer b WHERE b.id = :id"));
    }

    void write(const Document& document, int lp)
    {
        m_xml.writeStartElement(QStringLiteral("SprzedazWiersz"));
        if (m_version == 2)
            m_xml.writeAttribute(QStringLiteral("typ"), QStringLiteral("G"));
        m_xml.writeTextElement(QStringLiteral("LpSprzedazy"), QString::number(lp));
        writeBuyer(document.idBuyer);
        m_xml.writeTextElement(QStringLiteral("DowodSprzedazy"), jpkRequiredText(document.number, 256));
        m_xml.writeTextElement(QStringLiteral("DataWystawienia"), document.issueDate);
        if (!document.saleDate.isEmpty() && document.saleDate != document.issueDate)
            m_xml.writeTextElement(QStringLiteral("DataSprzedazy"), document.saleDate);
        writeFields(document);
        m_xml.writeEndElement();
    }

    double tax() const { return m_tax; }

private:
    void writeBuyer(int idBuyer)
    {
        QString nip, firm, address;
        if (idBuyer > 0) {
            m_buyer.bindValue(QStringLiteral(":id"), idBuyer);
            if (m_buyer.exec() && m_buyer.next()) {
                nip = jpkDigits(m_buyer.value(4).toString());
                firm = m_buyer.value(0).toString();
                const QString street = m_buyer.value(1).toString();
                const QString city = m_buyer.value(2).toString();
                const QString zipcode = m_buyer.value(3).toString();
                if (!QString(street + city + zipcode).trimmed().isEmpty())
                    address = city + QLatin1Char(' ') + zipcode + QStringLiteral(", ") + street;
            }
            m_buyer.finish();
        }
        m_xml.writeTextElement(QStringLiteral("NrKontrahenta"), jpkRequiredText(nip, 30));
        m_xml.writeTextElement(QStringLiteral("NazwaKontrahenta"), jpkRequiredText(firm, 256));
        m_xml.writeTextElement(QStringLiteral("AdresKontrahenta"), jpkRequiredText(address, 256));
    }

    void writeFields(const Document& document)
    {
        Fields fields;
        const bool reverseCharge = MJpkKinds::isReverseCharge(document.kind);
        // Advance and final documents count by their part amounts, as in the VAT register.
        QSqlQuery& groups = m_groups.rows(document.id, document.kind, document.idParent);
        if (groups.exec()) {
            while (groups.next()) {
                addGroup(fields, &m_tax, reverseCharge, groups.value(0).toString(), groups.value(3).toDouble(),
                         groups.value(4).toDouble());
            }
        }
        groups.finish();
        for (int field = 0; field < FieldCount; ++field) {
            if (fields.used[field])
                m_xml.writeTextElement(QLatin1String(fieldNames[field]), xmlNumberText(fields.amount[field], 2));
        }
    }

    QXmlStreamWriter& m_xml;
    int m_version;
    QSqlQuery m_buyer;
    MVatRateRows m_groups;
    double m_tax = 0.0;
};

void writeSubject(QXmlStreamWriter& xml, const MJpkVatRequest& request)
{
    const MJpkSeller seller = MJpkSeller::load(request.idSeller);
    xml.writeStartElement(QStringLiteral("Podmiot1"));
    if (request.version == 2) {
        seller.writeFullSubject(xml, QString());
    } else {
        xml.writeTextElement(QStringLiteral("NIP"), jpkDigits(seller.nip));
        xml.writeTextElement(QStringLiteral("PelnaNazwa"), seller.firm);
    }
    xml.writeEndElement();
}

} // namespace

MJpkVatWriter::Result MJpkVatWriter::write(const QString& fileName, const MJpkVatRequest& request)
{
    Result result;
    const QVector<Document> documents = exportedDocuments(request.ids);
    if (documents.isEmpty()) {
        // The schema wants at least one sales row; an empty file would be refused.
        result.outcome = Outcome::NothingToExport;
        result.message = QCoreApplication::translate(
            "MJpkVatWriter", "Żaden z zaznaczonych dokumentów nie wchodzi do JPK_VAT (faktury proforma, duplikaty, "
                             "rachunki, faktury RR i dokumenty walutowe są pomijane). Plik nie został zapisany.");
        return result;
    }

    const QString refusal = MJpkDates::vat(request.version).refusal(request.dateFrom, request.dateTo, documents);
    if (!refusal.isEmpty()) {
        result.message = QCoreApplication::translate("MJpkVatWriter", "Plik %1 nie został zapisany: %2.")
                             .arg(QDir::toNativeSeparators(fileName), refusal);
        return result;
    }

    MJpkXmlFile file(fileName);
    if (!file.open()) {
        result.message = file.errorText();
        return result;
    }
    QXmlStreamWriter& xml = file.xml();
    const bool two = request.version == 2;
    file.startRoot(two ? QStringLiteral("http://jpk.mf.gov.pl/wzor/2016/10/26/10261/")
                       : QStringLiteral("http://jpk.mf.gov.pl/wzor/2017/11/13/1113/"));
    file.startHeader(QStringLiteral("JPK_VAT"), two ? QStringLiteral("JPK_VAT (2)") : QStringLiteral("JPK_VAT (3)"),
                     two ? QStringLiteral("1-0") : QStringLiteral("1-1"), request.version, request.dateFrom,
                     request.dateTo);
    if (two) {
        xml.writeTextElement(QStringLiteral("DomyslnyKodWaluty"), QStringLiteral("PLN"));
        xml.writeTextElement(QStringLiteral("KodUrzedu"), jpkText(request.officeCode, 256));
    } else {
        xml.writeTextElement(QStringLiteral("NazwaSystemu"), QStringLiteral("morva FAKTURY"));
    }
    xml.writeEndElement();
    writeSubject(xml, request);

    MSalesRows rows(xml, request.version);
    for (const Document& document : documents)
        rows.write(document, ++result.rows);

    xml.writeStartElement(QStringLiteral("SprzedazCtrl"));
    xml.writeTextElement(QStringLiteral("LiczbaWierszySprzedazy"), QString::number(result.rows));
    xml.writeTextElement(QStringLiteral("PodatekNalezny"), xmlNumberText(rows.tax() + 1e-10, 2));
    xml.writeEndElement();
    xml.writeEndElement();

    if (!file.commit()) {
        result.message = file.errorText();
        return result;
    }
    result.outcome = Outcome::Written;
    return result;
}
