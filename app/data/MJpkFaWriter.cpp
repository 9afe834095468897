#include "data/MJpkFaWriter.h"

#include "data/MJpkDates.h"
#include "data/MJpkFaRecords.h"
#include "data/MJpkKinds.h"
#include "data/MJpkSeller.h"
#include "data/MJpkText.h"
#include "data/MJpkXmlFile.h"
#include "data/MNumberText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QString idList(const QList<int>& ids)
{
    QStringList texts;
    for (int id : ids)
        texts << QString::number(id);
    return texts.isEmpty() ? QStringLiteral("0") : texts.join(QLatin1Char(','));
}

QVector<MJpkFaDocument> exportedDocuments(const MJpkFaRequest& request)
{
    QVector<MJpkFaDocument> documents;
    QSqlQuery query;
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT i.id, i.date_put, i.invoice_index_string, i.id_buyer, i.id_seller, "
                              "CASE WHEN i.date_sell_in_months = 1 THEN strftime('%Y-%m-01', i.date_sell) "
                              "ELSE strftime('%Y-%m-%d', i.date_sell) END, i.invoice_kind, i.id_parent_invoice, "
                              "i.id_end_text2 FROM invoice i WHERE i.id IN (")
               + idList(request.ids) + QStringLiteral(") AND i.id_currency = ")
               + QString::number(request.idCurrency) + QStringLiteral(" ORDER BY i.id"));
    while (query.next()) {
        MJpkFaDocument document;
        document.kind = query.value(6).toInt();
        if (!MJpkKinds::isExported(document.kind))
            continue;
        document.id = query.value(0).toInt();
        document.issueDate = query.value(1).toString().left(10);
        document.number = query.value(2).toString();
        document.idBuyer = query.value(3).toInt();
        document.idSeller = query.value(4).toInt();
        document.saleDate = query.value(5).toString();
        document.idParent = query.value(7).toInt();
        document.idEndText2 = query.value(8).toInt();
        documents << document;
    }
    return documents;
}

int lineCount(const QVector<MJpkFaDocument>& documents)
{
    QList<int> ids;
    for (const MJpkFaDocument& document : documents)
        ids << document.id;
    QSqlQuery query(QStringLiteral("SELECT count(*) FROM invoice_product_misc WHERE id_invoice IN (") + idList(ids)
                    + QStringLiteral(")"));
    return query.next() ? query.value(0).toInt() : 0;
}

// The rate of a row as the schema lists them; empty for every other rate.
QString rowRate(const QString& rate)
{
    static const QStringList rates{QStringLiteral("23%"), QStringLiteral("22%"), QStringLiteral("8%"),
                                   QStringLiteral("7%"),  QStringLiteral("5%"),  QStringLiteral("3%"),
                                   QStringLiteral("0%"),  QStringLiteral("zw.")};
    if (!rates.contains(rate))
        return QString();
    QString text = rate;
    return text.remove(QLatin1Char('%')).remove(QLatin1Char('.'));
}

void writeSubject(QXmlStreamWriter& xml, int idSeller)
{
    xml.writeStartElement(QStringLiteral("Podmiot1"));
    MJpkSeller::load(idSeller).writeFullSubject(xml, QStringLiteral("etd:"));
    xml.writeEndElement();
}

void writeRates(QXmlStreamWriter& xml)
{
    xml.writeStartElement(QStringLiteral("StawkiPodatku"));
    const char* const values[] = {"0.23", "0.08", "0.05", "0.00", "0.00"};
    for (int i = 0; i < 5; ++i)
        xml.writeTextElement(QStringLiteral("Stawka%1").arg(i + 1), QLatin1String(values[i]));
    xml.writeEndElement();
}

// The rows of the documents that have a record in the file; returns their count.
int writeRows(QXmlStreamWriter& xml, const QVector<MJpkFaDocument>& documents)
{
    QSqlQuery lines;
    lines.prepare(QStringLiteral("SELECT p.name, p.unit, p.vat_text, p.netto_price, p.brutto_price, pm.netto_price, "
                                 "pm.brutto_price, pm.amount FROM invoice_product_misc pm "
                                 "LEFT JOIN invoice_product p ON p.id = pm.id_product "
                                 "WHERE pm.id_invoice = :id ORDER BY pm.id"));
    int count = 0;
    double netSum = 0.0;
    for (const MJpkFaDocument& document : documents) {
        const QString number = jpkRequiredText(document.number, 256);
        lines.bindValue(QStringLiteral(":id"), document.id);
        if (!lines.exec())
            continue;
        while (lines.next()) {
            const double net = lines.value(5).toDouble();
            netSum += net;
            const QString name = jpkText(lines.value(0).toString(), 256);
            const QString unit = jpkText(lines.value(1).toString(), 256);
            const QString rate = rowRate(lines.value(2).toString());
            xml.writeStartElement(QStringLiteral("FakturaWiersz"));
            xml.writeAttribute(QStringLiteral("typ"), QStringLiteral("G"));
            xml.writeTextElement(QStringLiteral("P_2B"), number);
            if (!name.isEmpty())
                xml.writeTextElement(QStringLiteral("P_7"), name);
            xml.writeTextElement(QStringLiteral("P_8A"), unit.isEmpty() ? QStringLiteral("-") : unit);
            xml.writeTextElement(QStringLiteral("P_8B"), xmlNumberText(lines.value(7).toDouble(), 6));
            xml.writeTextElement(QStringLiteral("P_9A"), xmlNumberText(lines.value(3).toDouble(), 2));
            xml.writeTextElement(QStringLiteral("P_9B"), xmlNumberText(lines.value(4).toDouble(), 2));
            xml.writeTextElement(QStringLiteral("P_11"), xmlNumberText(net, 2));
            xml.writeTextElement(QStringLiteral("P_11A"), xmlNumberText(lines.value(6).toDouble(), 2));
            if (!rate.isEmpty())
                xml.writeTextElement(QStringLiteral("P_12"), rate);
            xml.writeEndElement();
            ++count;
        }
        lines.finish();
    }
    xml.writeStartElement(QStringLiteral("FakturaWierszCtrl"));
    xml.writeTextElement(QStringLiteral("LiczbaWierszyFaktur"), QString::number(count));
    xml.writeTextElement(QStringLiteral("WartoscWierszyFaktur"), xmlNumberText(netSum + 1e-10, 2));
    xml.writeEndElement();
    return count;
}

QString notWritten(const QString& fileName, const QString& reason)
{
    return QCoreApplication::translate("MJpkFaWriter", "Plik %1 nie został zapisany: %2.")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

} // namespace

QString MJpkFaWriter::currencyFileName(const QString& chosenName, const QString& symbol)
{
    const QFileInfo chosen(chosenName);
    const QString suffix = chosen.suffix();
    if (suffix.isEmpty())
        return chosenName + QLatin1Char('-') + symbol + QStringLiteral(".xml");
    return chosenName.left(chosenName.size() - suffix.size() - 1) + QLatin1Char('-') + symbol + QLatin1Char('.')
           + suffix;
}

QVector<MJpkFaWriter::CurrencyFile> MJpkFaWriter::currencyFiles(const QList<int>& ids, const QString& chosenName)
{
    QVector<CurrencyFile> files;
    QSqlQuery query(QStringLiteral("SELECT i.id_currency, c.symbol FROM invoice i "
                                   "LEFT JOIN currency c ON c.id = i.id_currency WHERE i.id IN (")
                    + idList(ids) + QStringLiteral(") GROUP BY i.id_currency ORDER BY i.id_currency"));
    while (query.next()) {
        CurrencyFile file;
        file.idCurrency = query.value(0).toInt();
        file.symbol = query.value(1).toString();
        file.fileName = currencyFileName(chosenName, file.symbol);
        files << file;
    }
    return files;
}

MJpkFaWriter::Result MJpkFaWriter::write(const QString& fileName, const MJpkFaRequest& request)
{
    Result result;
    result.outcome = Outcome::NothingToExport;
    // DomyslnyKodWaluty, Faktura and FakturaWiersz are required: a file without them would be refused.
    if (request.currencySymbol.isEmpty()) {
        result.message = notWritten(fileName, QCoreApplication::translate("MJpkFaWriter", "waluta nie ma symbolu"));
        return result;
    }
    const QVector<MJpkFaDocument> documents = exportedDocuments(request);
    if (documents.isEmpty()) {
        result.message = notWritten(fileName, QCoreApplication::translate(
                                                  "MJpkFaWriter", "żaden z zaznaczonych dokumentów w tej walucie nie "
                                                                  "wchodzi do JPK_FA"));
        return result;
    }
    if (lineCount(documents) == 0) {
        result.message = notWritten(fileName, QCoreApplication::translate(
                                                  "MJpkFaWriter", "dokumenty w tej walucie nie mają pozycji"));
        return result;
    }

    result.outcome = Outcome::NotWritten;
    const QString refusal = MJpkDates::fa().refusal(request.dateFrom, request.dateTo, documents);
    if (!refusal.isEmpty()) {
        result.message = notWritten(fileName, refusal);
        return result;
    }

    MJpkXmlFile file(fileName);
    if (!file.open()) {
        result.message = file.errorText();
        return result;
    }
    QXmlStreamWriter& xml = file.xml();
    file.startRoot(QStringLiteral("http://jpk.mf.gov.pl/wzor/2016/03/09/03095/"));
    file.startHeader(QStringLiteral("JPK_FA"), QStringLiteral("JPK_FA (1)"), QStringLiteral("1-0"), 1,
                     request.dateFrom, request.dateTo);
    xml.writeTextElement(QStringLiteral("DomyslnyKodWaluty"), jpkText(request.currencySymbol, 256));
    xml.writeTextElement(QStringLiteral("KodUrzedu"), jpkText(request.officeCode, 256));
    xml.writeEndElement();
    writeSubject(xml, request.idSeller);

    MJpkFaRecords records(xml);
    for (const MJpkFaDocument& document : documents)
        records.write(document);
    xml.writeStartElement(QStringLiteral("FakturaCtrl"));
    xml.writeTextElement(QStringLiteral("LiczbaFaktur"), QString::number(records.count()));
    xml.writeTextElement(QStringLiteral("WartoscFaktur"), xmlNumberText(records.grossSum() + 1e-10, 2));
    xml.writeEndElement();

    writeRates(xml);
    result.rows = writeRows(xml, documents);
    xml.writeEndElement();
    result.invoices = records.count();

    if (!file.commit()) {
        result.message = file.errorText();
        return result;
    }
    result.outcome = Outcome::Written;
    return result;
}
