#pragma once

#include <QByteArray>

#include <vector>

enum class CFieldType { Int, Double, Text, Time };

// One stored field of a record class, in archive order. The field is stored
// from schema fromSchema on; a record of an older schema keeps defaultInt (an
// int) or zero, 0.0, an empty text or time 0.
struct CField
{
    const char* name;
    CFieldType type;
    int fromSchema = 1;
    qint32 defaultInt = 0;
};

// A record class of the old data files: the name under which the archive
// stores it, its current schema and its fields. Its fields name the columns
// of the statements written for its records.
class CRecordClass
{
public:
    CRecordClass(const char* name, quint16 schema, bool versionable, std::vector<CField> fields);

    // One of the eleven classes by its stored name; nullptr for any other name.
    static const CRecordClass* find(const QByteArray& name);

    const QByteArray& name() const { return m_name; }
    const std::vector<CField>& fields() const { return m_fields; }

    // Whether records stored with this schema can be read: a versionable class
    // reads every schema from 1 up to its own, any other class only its own.
    bool readsSchema(int storedSchema) const;

    // "(id, name) VALUES (": what follows the table name in an INSERT statement.
    const QByteArray& columnsClause() const { return m_columnsClause; }

private:
    QByteArray m_name;
    quint16 m_schema;
    bool m_versionable;
    std::vector<CField> m_fields;
    QByteArray m_columnsClause;
};
