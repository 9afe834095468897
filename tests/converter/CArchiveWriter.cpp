#include "CArchiveWriter.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

template <typename T>
CArchiveWriter& CArchiveWriter::littleEndian(T value)
{
    uchar bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    m_bytes.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
    return *this;
}

CArchiveWriter& CArchiveWriter::word(quint16 value)
{
    return littleEndian(value);
}

CArchiveWriter& CArchiveWriter::dword(quint32 value)
{
    return littleEndian(value);
}

CArchiveWriter& CArchiveWriter::count(quint32 value)
{
    if (value < 0xFFFF)
        return word(quint16(value));
    return word(0xFFFF).dword(value);
}

CArchiveWriter& CArchiveWriter::int32(qint32 value)
{
    return dword(quint32(value));
}

CArchiveWriter& CArchiveWriter::real(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return littleEndian(bits);
}

void CArchiveWriter::length(quint32 value)
{
    if (value < 0xFF) {
        m_bytes.append(char(value));
    } else if (value < 0xFFFE) {
        m_bytes.append(char(0xFF));
        word(quint16(value));
    } else {
        m_bytes.append(char(0xFF));
        word(0xFFFF).dword(value);
    }
}

CArchiveWriter& CArchiveWriter::text(const QByteArray& bytes)
{
    length(quint32(bytes.size()));
    m_bytes.append(bytes);
    return *this;
}

CArchiveWriter& CArchiveWriter::wideText(const QString& text)
{
    m_bytes.append(char(0xFF));
    word(0xFFFE);
    length(quint32(text.size()));
    for (QChar c : text)
        word(c.unicode());
    return *this;
}

CArchiveWriter& CArchiveWriter::time(qint32 seconds)
{
    return dword(quint32(seconds));
}

CArchiveWriter& CArchiveWriter::wideTime(qint64 seconds)
{
    return dword(0x8000000A).littleEndian(seconds);
}

void CArchiveWriter::tag(quint32 index, bool isClass)
{
    if (m_bigTags || index >= 0x7FFF) {
        word(0x7FFF);
        dword(isClass ? (index | 0x80000000) : index);
    } else {
        word(quint16(isClass ? (index | 0x8000) : index));
    }
}

quint32 CArchiveWriter::newClass(const QByteArray& name, quint16 schemaWord, quint32* classIndex)
{
    word(0xFFFF).word(schemaWord).word(quint16(name.size()));
    m_bytes.append(name);
    if (classIndex)
        *classIndex = m_nextIndex;
    ++m_nextIndex;
    return m_nextIndex++;
}

quint32 CArchiveWriter::knownClass(quint32 classIndex)
{
    tag(classIndex, true);
    return m_nextIndex++;
}

void CArchiveWriter::objectRef(quint32 objectIndex)
{
    tag(objectIndex, false);
}

void CArchiveWriter::nullRef()
{
    word(0);
}

bool CArchiveWriter::save(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(m_bytes) == m_bytes.size();
}
