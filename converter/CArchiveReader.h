#pragma once

#include "CTime.h"

#include <QByteArray>

#include <memory>
#include <vector>

class CRecord;
class CRecordClass;
class QIODevice;
class QTextCodec;

// Reads the persistent-object archive format of the old data files from a
// device, little-endian throughout. Every failure throws a CLoadError: the
// archive kind for a short or malformed stream, the file kind when the device
// cannot be read.
class CArchiveReader
{
public:
    explicit CArchiveReader(QIODevice* device);
    ~CArchiveReader();

    CArchiveReader(const CArchiveReader&) = delete;
    CArchiveReader& operator=(const CArchiveReader&) = delete;

    qint32 readInt();
    double readDouble();

    // An element count: 16 bits, or 0xFFFF and 32 bits.
    quint32 readCount();

    // Bytes left to read; the largest count for a device of unknown size.
    qint64 remaining() const;

    // A text as 8-bit Windows-1250 bytes, cut at its first NUL character.
    // Texts stored with 16-bit characters are converted; a character that
    // the code page lacks becomes '?'.
    QByteArray readString();

    // 32-bit seconds, or the marker 0x8000000A followed by 64-bit seconds.
    CTime readTime();

    // An object reference whose object must be a record of the expected class:
    // a new record read with its stored schema, a record read before in this
    // archive, or nullptr for the null reference. A record of another class,
    // or of a schema that the class cannot read, fails with the class and
    // schema causes, since its fields could not be told apart from what follows.
    std::shared_ptr<CRecord> readObject(const CRecordClass& expected);

private:
    struct Loaded
    {
        const CRecordClass* recordClass = nullptr; // set for a class entry
        int schema = 0;
        std::shared_ptr<CRecord> record; // set for an object entry
    };

    void readRaw(char* data, qint64 size);
    void ensureAvailable(qint64 size);
    template <typename T>
    T readLittleEndian();
    quint8 readByte();
    quint16 readWord();
    quint32 readDword();
    quint32 readStringLength(bool* wide);
    // The schema of the objects that follow a class tag.
    int readNewClass(const CRecordClass& expected);
    int loadedClassSchema(quint32 index, const CRecordClass& expected) const;

    std::shared_ptr<CRecord> loadedObject(quint32 index, const CRecordClass& expected) const;
    std::shared_ptr<CRecord> readNewObject(const CRecordClass& recordClass, int schema);

    QIODevice* m_device;
    QTextCodec* m_codec;
    qint64 m_size; // -1 for a sequential device
    // Classes and objects in the order they were met; entry 0 is the null object.
    std::vector<Loaded> m_loaded;
};
