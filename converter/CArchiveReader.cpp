#include "CArchiveReader.h"

#include "CLoadError.h"
#include "CRecord.h"
#include "CRecordClass.h"

#include <QIODevice>
#include <QTextCodec>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace {

constexpr quint16 nullTag = 0;
constexpr quint16 newClassTag = 0xFFFF;
constexpr quint16 classTag = 0x8000;
constexpr quint16 bigObjectTag = 0x7FFF;
constexpr quint32 bigClassTag = 0x80000000;
constexpr quint16 versionableSchema = 0x8000;
constexpr quint16 wideStringMark = 0xFFFE;
constexpr quint32 wideTimeMark = 0x8000000A;

[[noreturn]] void fail(int cause)
{
    throw CLoadError(CLoadError::Archive, cause);
}

} // namespace

CArchiveReader::CArchiveReader(QIODevice* device)
    : m_device(device)
    , m_codec(QTextCodec::codecForName("Windows-1250"))
    , m_size(device->isSequential() ? -1 : device->size())
    , m_loaded(1)
{
}

CArchiveReader::~CArchiveReader() = default;

qint64 CArchiveReader::remaining() const
{
    if (m_size < 0)
        return std::numeric_limits<qint64>::max();
    return m_size - m_device->pos();
}

void CArchiveReader::readRaw(char* data, qint64 size)
{
    const qint64 read = m_device->read(data, size);
    if (read < 0)
        throw CLoadError(CLoadError::File, 1);
    if (read < size)
        fail(CLoadError::EndOfFile);
}

// Checked before a buffer is made for a length taken from the file, so that a
// damaged length ends in a clean end-of-file failure rather than a huge allocation.
void CArchiveReader::ensureAvailable(qint64 size)
{
    if (remaining() < size)
        fail(CLoadError::EndOfFile);
    if (size > std::numeric_limits<int>::max())
        throw CLoadError(CLoadError::Memory, 0);
}

template <typename T>
T CArchiveReader::readLittleEndian()
{
    uchar bytes[sizeof(T)];
    readRaw(reinterpret_cast<char*>(bytes), sizeof bytes);
    return qFromLittleEndian<T>(bytes);
}

quint8 CArchiveReader::readByte()
{
    return readLittleEndian<quint8>();
}

quint16 CArchiveReader::readWord()
{
    return readLittleEndian<quint16>();
}

quint32 CArchiveReader::readDword()
{
    return readLittleEndian<quint32>();
}

qint32 CArchiveReader::readInt()
{
    return qint32(readDword());
}

double CArchiveReader::readDouble()
{
    const quint64 bits = readLittleEndian<quint64>();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

quint32 CArchiveReader::readCount()
{
    const quint16 count = readWord();
    return count == 0xFFFF ? readDword() : count;
}

quint32 CArchiveReader::readStringLength(bool* wide)
{
    const quint8 byteLength = readByte();
    if (byteLength < 0xFF)
        return byteLength;
    const quint16 wordLength = readWord();
    // Only the first 16-bit prefix can carry the mark; in the prefix that
    // follows it, 0xFFFE is an ordinary length.
    if (wordLength == wideStringMark && !*wide) {
        *wide = true;
        return readStringLength(wide);
    }
    if (wordLength < 0xFFFF)
        return wordLength;
    return readDword();
}

QByteArray CArchiveReader::readString()
{
    bool wide = false;
    const quint32 length = readStringLength(&wide);
    if (!wide) {
        ensureAvailable(length);
        QByteArray text(int(length), Qt::Uninitialized);
        readRaw(text.data(), length);
        const int nul = text.indexOf('\0');
        if (nul >= 0)
            text.truncate(nul);
        return text;
    }

    const qint64 size = qint64(length) * 2;
    ensureAvailable(size);
    QByteArray bytes(int(size), Qt::Uninitialized);
    readRaw(bytes.data(), size);
    QString text(int(length), Qt::Uninitialized);
    qFromLittleEndian<quint16>(bytes.constData(), length, text.data());
    const int nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return m_codec->fromUnicode(text);
}

CTime CArchiveReader::readTime()
{
    const quint32 seconds = readDword();
    if (seconds != wideTimeMark)
        return CTime{qint32(seconds)};
    return CTime{readLittleEndian<qint64>()};
}

int CArchiveReader::readNewClass(const CRecordClass& expected)
{
    const quint16 schemaWord = readWord();
    const quint16 nameLength = readWord();
    ensureAvailable(nameLength);
    QByteArray name(nameLength, Qt::Uninitialized);
    readRaw(name.data(), nameLength);

    if (name != expected.name())
        fail(CLoadError::BadClass);
    const int schema = schemaWord & ~versionableSchema;
    if (!expected.readsSchema(schema))
        fail(CLoadError::BadSchema);

    m_loaded.push_back(Loaded{&expected, schema, nullptr});
    return schema;
}

int CArchiveReader::loadedClassSchema(quint32 index, const CRecordClass& expected) const
{
    if (index == 0 || index >= m_loaded.size() || !m_loaded[index].recordClass)
        fail(CLoadError::BadIndex);
    if (m_loaded[index].recordClass != &expected)
        fail(CLoadError::BadClass);
    return m_loaded[index].schema;
}

std::shared_ptr<CRecord> CArchiveReader::loadedObject(quint32 index, const CRecordClass& expected) const
{
    // A 32-bit tag can name entry 0 too: the null object, like the 16-bit null tag.
    if (index == 0)
        return nullptr;
    if (index >= m_loaded.size() || !m_loaded[index].record)
        fail(CLoadError::BadIndex);
    if (&m_loaded[index].record->recordClass() != &expected)
        fail(CLoadError::BadClass);
    return m_loaded[index].record;
}

std::shared_ptr<CRecord> CArchiveReader::readNewObject(const CRecordClass& recordClass, int schema)
{
    auto record = std::make_shared<CRecord>(recordClass);
    m_loaded.push_back(Loaded{nullptr, 0, record});
    record->Serialize(*this, schema);
    return record;
}

std::shared_ptr<CRecord> CArchiveReader::readObject(const CRecordClass& expected)
{
    const quint16 tag = readWord();
    if (tag == nullTag)
        return nullptr;
    if (tag == newClassTag)
        return readNewObject(expected, readNewClass(expected));

    bool isClass = tag & classTag;
    quint32 index = tag & ~classTag;
    if (tag == bigObjectTag) {
        const quint32 bigTag = readDword();
        isClass = bigTag & bigClassTag;
        index = bigTag & ~bigClassTag;
    }
    if (isClass)
        return readNewObject(expected, loadedClassSchema(index, expected));
    return loadedObject(index, expected);
}
