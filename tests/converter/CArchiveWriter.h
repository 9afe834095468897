#pragma once

#include <QByteArray>
#include <QString>

// Writes archives in the persistent-object format of the old data files, so
// that tests can build data folders byte by byte. It keeps the index counter
// that classes and objects share, and hands out the indexes it gives.
class CArchiveWriter
{
public:
    CArchiveWriter& count(quint32 value);
    CArchiveWriter& int32(qint32 value);
    CArchiveWriter& real(double value);
    // An 8-bit text, written exactly as given.
    CArchiveWriter& text(const QByteArray& bytes);
    // A text of 16-bit characters.
    CArchiveWriter& wideText(const QString& text);
    CArchiveWriter& time(qint32 seconds);
    // The later form: the marker 0x8000000A and 64-bit seconds.
    CArchiveWriter& wideTime(qint64 seconds);

    // Object references. The first two are followed by the new object's
    // fields and return its index; newClass also gives the class's index.
    quint32 newClass(const QByteArray& name, quint16 schemaWord, quint32* classIndex = nullptr);
    quint32 knownClass(quint32 classIndex);
    void objectRef(quint32 objectIndex);
    void nullRef();

    // Writes every later tag in the 32-bit form.
    void setBigTags(bool big) { m_bigTags = big; }

    const QByteArray& bytes() const { return m_bytes; }
    bool save(const QString& path) const;

private:
    template <typename T>
    CArchiveWriter& littleEndian(T value);
    CArchiveWriter& word(quint16 value);
    CArchiveWriter& dword(quint32 value);
    void length(quint32 value);
    void tag(quint32 index, bool isClass);

    QByteArray m_bytes;
    quint32 m_nextIndex = 1;
    bool m_bigTags = false;
};
