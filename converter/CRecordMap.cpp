#include "CRecordMap.h"

#include "CArchiveReader.h"
#include "CRecord.h"

#include <utility>

CRecordMap::CRecordMap(const CRecordClass& recordClass)
    : m_class(&recordClass)
{
}

void CRecordMap::Serialize(CArchiveReader& ar)
{
    const quint32 count = ar.readCount();
    for (quint32 i = 0; i < count; ++i) {
        const QByteArray key = ar.readString();
        std::shared_ptr<const CRecord> value = ar.readObject(*m_class);
        setAt(key, std::move(value));
    }
}

void CRecordMap::setAt(const QByteArray& key, std::shared_ptr<const CRecord> value)
{
    const auto found = m_indexOfKey.constFind(key);
    if (found != m_indexOfKey.constEnd()) {
        m_elements[*found].value = std::move(value);
        return;
    }
    m_indexOfKey.insert(key, m_elements.size());
    m_elements.push_back(Element{key, std::move(value)});
}
