#include "CRecordClass.h"

#include <QByteArrayList>
#include <QStringBuilder>

#include <utility>

namespace {

constexpr CFieldType Int = CFieldType::Int;
constexpr CFieldType Double = CFieldType::Double;
constexpr CFieldType Text = CFieldType::Text;
constexpr CFieldType Time = CFieldType::Time;

// The texts shared by buyers and sellers, in archive order.
std::vector<CField> partyTexts()
{
    return {
        {"firm", Text},
        {"nip", Text},
        {"regon", Text},
        {"bank", Text},
        {"bank_account", Text},
        {"address", Text},
        {"city", Text},
        {"zipcode", Text},
        {"phone", Text},
        {"fax", Text},
        {"email", Text},
        {"www", Text},
        {"permit_person_firstname", Text},
        {"permit_person_secondname", Text},
        {"permit_person_pesel", Text},
        {"additional", Text},
    };
}

std::vector<CField> joined(std::vector<CField> head, const std::vector<CField>& middle, const std::vector<CField>& tail)
{
    head.insert(head.end(), middle.begin(), middle.end());
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

const std::vector<CRecordClass>& recordClasses()
{
    static const std::vector<CRecordClass> classes = {
        {"CCountry", 1, false, {{"id", Int}, {"name", Text}}},
        {"CProvince", 1, false, {{"id", Int}, {"name", Text}}},
        {"CBuyer", 2, true,
         joined({{"id", Int}, {"id_province", Int}, {"id_country", Int}, {"time_create", Time}, {"time_modify", Time}},
                partyTexts(), {{"reduct", Double, 2}})},
        {"CSeller", 2, true,
         joined({{"id", Int},
                 {"id_invoice_index_format", Int},
                 {"id_province", Int},
                 {"id_country", Int},
                 {"id_kind", Int},
                 {"time_create", Time},
                 {"time_modify", Time}},
                partyTexts(), {{"invoice_index_format_text", Text, 2}})},
        {"CEndText", 1, false, {{"id", Int}, {"time_create", Time}, {"time_modify", Time}, {"content", Text}}},
        {"CInvoice", 6, true,
         {{"id", Int},
          {"id_seller", Int},
          {"id_seller_base", Int},
          {"id_buyer", Int},
          {"id_pay_form", Int},
          {"id_end_text", Int},
          {"invoice_index", Int},
          {"id_invoice_index_format", Int},
          {"time_create", Time},
          {"time_modify", Time},
          {"date_put", Time},
          {"date_sell", Time},
          {"date_pay", Time},
          {"place_put", Text},
          {"payed", Int},
          {"global_netto", Double},
          {"global_brutto", Double},
          {"invoice_kind", Int, 2},
          {"id_parent_invoice", Int, 2},
          {"id_currency", Int, 3},
          {"day_period", Int, 4},
          {"pay_text", Text, 5},
          {"count_from_netto", Int, 6, 1}}},
        {"CInvoiceCorrectMisc", 1, false, {{"id", Int}, {"id_invoice", Int}, {"correct_reason", Text}}},
        {"CInvoiceIndexFormat", 2, true, {{"id", Int}, {"name", Text}, {"period", Text, 2}}},
        {"CInvoiceProductMisc", 2, true,
         {{"id", Int}, {"id_invoice", Int}, {"id_product", Int}, {"amount", Double}, {"reduct", Double, 2}}},
        {"CPayForm", 2, true, {{"id", Int}, {"basic_form", Text}, {"second_form", Text, 2}}},
        {"CProduct", 5, true,
         {{"id", Int},
          {"netto_price", Double},
          {"vat", Int},
          {"vat_text", Text},
          {"time_create", Time},
          {"time_modify", Time},
          {"name", Text},
          {"code", Text},
          {"unit", Text},
          {"additional", Text},
          {"symbol", Text, 2},
          {"vat_kind", Int, 3},
          {"id_currency", Int, 4},
          {"count_from_netto", Int, 5, 1},
          {"brutto_price", Double, 5}}},
    };
    return classes;
}

} // namespace

CRecordClass::CRecordClass(const char* name, quint16 schema, bool versionable, std::vector<CField> fields)
    : m_name(name)
    , m_schema(schema)
    , m_versionable(versionable)
    , m_fields(std::move(fields))
{
    QByteArrayList names;
    for (const CField& field : m_fields)
        names.append(field.name);
    m_columnsClause = '(' + names.join(", ") + ") VALUES (";
}

const CRecordClass* CRecordClass::find(const QByteArray& name)
{
    for (const CRecordClass& recordClass : recordClasses()) {
        if (recordClass.name() == name)
            return &recordClass;
    }
    return nullptr;
}

bool CRecordClass::readsSchema(int storedSchema) const
{
    if (m_versionable)
        return storedSchema >= 1 && storedSchema <= m_schema;
    return storedSchema == m_schema;
}
