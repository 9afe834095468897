#include "CRecord.h"

#include "CArchiveReader.h"
#include "CRecordClass.h"
#include "CSqlText.h"

#include <QStringBuilder>

#include <cmath>

namespace {

CFieldValue defaultValue(const CField& field)
{
    switch (field.type) {
    case CFieldType::Int:
        return field.defaultInt;
    case CFieldType::Double:
        return 0.0;
    case CFieldType::Text:
        return QByteArray();
    case CFieldType::Time:
        return CTime();
    }
    return CFieldValue();
}

struct SqlValue
{
    QByteArray operator()(qint32 value) const { return SqlInt(value); }
    QByteArray operator()(double value) const { return SqlDouble(value); }
    QByteArray operator()(const QByteArray& value) const { return QuoteSQL(value); }
    QByteArray operator()(CTime value) const { return SqlTime(value); }
};

} // namespace

CRecord::CRecord(const CRecordClass& recordClass)
    : m_class(&recordClass)
{
    m_values.reserve(recordClass.fields().size());
    for (const CField& field : recordClass.fields())
        m_values.push_back(defaultValue(field));
}

void CRecord::Serialize(CArchiveReader& ar, int storedSchema)
{
    const std::vector<CField>& fields = m_class->fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].fromSchema > storedSchema)
            continue;
        switch (fields[i].type) {
        case CFieldType::Int:
            m_values[i] = ar.readInt();
            break;
        case CFieldType::Double:
            m_values[i] = ar.readDouble();
            break;
        case CFieldType::Text:
            m_values[i] = ar.readString();
            break;
        case CFieldType::Time:
            m_values[i] = ar.readTime();
            break;
        }
    }
}

std::vector<const char*> CRecord::nonFiniteFields() const
{
    std::vector<const char*> names;
    for (size_t i = 0; i < m_values.size(); ++i) {
        const double* value = std::get_if<double>(&m_values[i]);
        if (value && !std::isfinite(*value))
            names.push_back(m_class->fields()[i].name);
    }
    return names;
}

QByteArray CRecord::GetSQL(const QByteArray& table) const
{
    QByteArray sql = "INSERT INTO " + table + m_class->columnsClause();
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (i > 0)
            sql += ',';
        sql += std::visit(SqlValue(), m_values[i]);
    }
    sql += ");";
    return sql;
}
