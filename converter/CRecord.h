#pragma once

#include "CTime.h"

#include <QByteArray>

#include <variant>
#include <vector>

class CArchiveReader;
class CRecordClass;

using CFieldValue = std::variant<qint32, double, QByteArray, CTime>;

// One record of an old data file: the values of its class's fields, read from
// an archive and written as one INSERT statement.
class CRecord
{
public:
    // A record holding the defaults of every field.
    explicit CRecord(const CRecordClass& recordClass);

    const CRecordClass& recordClass() const { return *m_class; }

    // Reads the fields stored with the given schema in archive order; the
    // fields of later schemas keep their defaults.
    void Serialize(CArchiveReader& ar, int storedSchema);

    // The statement of this record for the table, without a line end.
    QByteArray GetSQL(const QByteArray& table) const;

    // The names of the double fields that hold no finite number; the
    // statement writes 0 for each.
    std::vector<const char*> nonFiniteFields() const;

private:
    const CRecordClass* m_class;
    std::vector<CFieldValue> m_values;
};
