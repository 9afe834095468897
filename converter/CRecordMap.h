#pragma once

#include <QByteArray>
#include <QHash>

#include <memory>
#include <vector>

class CArchiveReader;
class CRecord;
class CRecordClass;

// The string-keyed map of records that one old data file holds. Elements keep
// the order in which their keys were first read; a later element with the same
// key replaces the value, as the map that wrote the file did.
class CRecordMap
{
public:
    struct Element
    {
        QByteArray key;
        std::shared_ptr<const CRecord> value; // may be null
    };

    explicit CRecordMap(const CRecordClass& recordClass);

    const std::vector<Element>& elements() const { return m_elements; }

    // Reads the element count, then a key and a record reference per element.
    // An element is added only once it has been read completely, so a failure
    // keeps every element before it.
    void Serialize(CArchiveReader& ar);

private:
    void setAt(const QByteArray& key, std::shared_ptr<const CRecord> value);

    const CRecordClass* m_class;
    std::vector<Element> m_elements;
    QHash<QByteArray, size_t> m_indexOfKey;
};
