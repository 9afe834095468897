#include "CMainDoc.h"

#include "CRecord.h"
#include "CRecordClass.h"

#include "CMessageLog.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QSet>

namespace {

struct DataFile
{
    const char* fileName;
    const char* table;
    const char* className;
};

// In the order of the table names, which is the order of writing.
const DataFile dataFiles[] = {
    {"Buyer.dat", "buyer", "CBuyer"},
    {"Country.dat", "country", "CCountry"},
    {"EndText.dat", "end_text", "CEndText"},
    {"Invoice.dat", "invoice", "CInvoice"},
    {"InvoiceBuyer.dat", "invoice_buyer", "CBuyer"},
    {"InvoiceCorrectMisc.dat", "invoice_correct_misc", "CInvoiceCorrectMisc"},
    {"InvoiceEndText.dat", "invoice_end_text", "CEndText"},
    {"InvoiceIndexFormat.dat", "invoice_index_format", "CInvoiceIndexFormat"},
    {"InvoiceProduct.dat", "invoice_product", "CProduct"},
    {"InvoiceProductMisc.dat", "invoice_product_misc", "CInvoiceProductMisc"},
    {"InvoiceSeller.dat", "invoice_seller", "CSeller"},
    {"PayForm.dat", "pay_form", "CPayForm"},
    {"Product.dat", "product", "CProduct"},
    {"Province.dat", "province", "CProvince"},
    {"Seller.dat", "seller", "CSeller"},
};

const char* const loadOrder[] = {
    "Buyer.dat",
    "EndText.dat",
    "InvoiceBuyer.dat",
    "InvoiceCorrectMisc.dat",
    "InvoiceEndText.dat",
    "Invoice.dat",
    "InvoiceProduct.dat",
    "InvoiceSeller.dat",
    "InvoiceProductMisc.dat",
    "Product.dat",
    "Seller.dat",
    "Country.dat",
    "InvoiceIndexFormat.dat",
    "PayForm.dat",
    "Province.dat",
};

} // namespace

CMainDoc::CMainDoc(const QString& dataPath, CMessageLog& log)
    : CCommonMainDoc(dataPath, log)
{
    m_maps.reserve(std::size(dataFiles));
    for (const DataFile& file : dataFiles) {
        const CRecordClass* recordClass = CRecordClass::find(file.className);
        Q_ASSERT(recordClass);
        m_maps.push_back(TableMap{QString::fromLatin1(file.fileName), file.table, CRecordMap(*recordClass)});
    }
}

void CMainDoc::LoadAll()
{
    for (const char* fileName : loadOrder)
        LoadFile(QString::fromLatin1(fileName));
}

void CMainDoc::SerializeFile(CArchiveReader& ar, const QString& name)
{
    for (TableMap& tableMap : m_maps) {
        if (tableMap.fileName == name) {
            tableMap.map.Serialize(ar);
            return;
        }
    }
}

void CMainDoc::logNonFinite(const QString& fileName, const QByteArray& key, const char* field) const
{
    log().show(QCoreApplication::translate("CMainDoc", "Plik %1, rekord %2: pole %3 nie zawiera liczby; zapisano 0.")
                   .arg(fileName, QString::fromLatin1(key), QString::fromLatin1(field)));
}

bool CMainDoc::WriteSql(QIODevice& out) const
{
    for (const TableMap& tableMap : m_maps) {
        // A key may refer back to a record read earlier in the same file: the
        // record is one row, however many keys lead to it.
        QSet<const CRecord*> written;
        for (const CRecordMap::Element& element : tableMap.map.elements()) {
            const CRecord* record = element.value.get();
            if (!record || written.contains(record))
                continue;
            written.insert(record);
            for (const char* field : record->nonFiniteFields())
                logNonFinite(tableMap.fileName, element.key, field);
            if (out.write(record->GetSQL(tableMap.table) + "\r\n") < 0)
                return false;
        }
    }
    return true;
}
