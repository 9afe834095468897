#include "MFileCsvWriter.h"

#include <QSaveFile>

#include <cstring>

namespace {

// Held text passed on to an open file once it is this long.
const int chunkLength = 64 * 1024;

bool needsQuotes(const char* data, int size)
{
    for (int i = 0; i < size; ++i) {
        switch (data[i]) {
        case ',':
        case '"':
        case ' ':
        case '\t':
        case '\r':
        case '\n':
            return true;
        default:
            break;
        }
    }
    return false;
}

// A signed number such as -12,50 or +3.5: a spreadsheet reads it as the number it is.
bool isPlainNumber(const char* data, int size)
{
    int i = (data[0] == '-' || data[0] == '+') ? 1 : 0;
    const int digitsFrom = i;
    while (i < size && data[i] >= '0' && data[i] <= '9')
        ++i;
    if (i == digitsFrom)
        return false;
    if (i < size && (data[i] == ',' || data[i] == '.')) {
        const int fractionFrom = ++i;
        while (i < size && data[i] >= '0' && data[i] <= '9')
            ++i;
        if (i == fractionFrom)
            return false;
    }
    return i == size;
}

} // namespace

MFileCsvWriter::MFileCsvWriter(QObject* parent)
    : QObject(parent)
{
}

MFileCsvWriter::~MFileCsvWriter() = default;

void MFileCsvWriter::addField(const QString& field)
{
    const QByteArray bytes = field.toUtf8();
    addUtf8Field(bytes.constData(), bytes.size());
}

void MFileCsvWriter::addUtf8Field(const char* data, int size)
{
    // The fields go straight into the text: the current line is its unfinished tail.
    if (m_lineHasFields)
        m_text += separator;
    m_lineHasFields = true;

    if (!needsQuotes(data, size)) {
        m_text.append(data, size);
        return;
    }
    m_text += quote;
    for (const char* end = data + size; data < end;) {
        const char* next = static_cast<const char*>(memchr(data, quote, size_t(end - data)));
        if (!next) {
            m_text.append(data, int(end - data));
            break;
        }
        m_text.append(data, int(next - data) + 1);
        m_text += quote;
        data = next + 1;
    }
    m_text += quote;
}

void MFileCsvWriter::addTextField(const QString& field)
{
    const QByteArray bytes = field.toUtf8();
    addUtf8TextField(bytes.constData(), bytes.size());
}

void MFileCsvWriter::addUtf8TextField(const char* data, int size)
{
    static const char formulaStarts[] = {'=', '+', '-', '@', '\t', '\r'};
    if (size == 0 || !std::memchr(formulaStarts, data[0], sizeof(formulaStarts)) || isPlainNumber(data, size)) {
        addUtf8Field(data, size);
        return;
    }
    QByteArray text;
    text.reserve(size + 1);
    text += '\'';
    text.append(data, size);
    addUtf8Field(text.constData(), text.size());
}

void MFileCsvWriter::endLine()
{
    m_text += lineEnd;
    m_lineHasFields = false;
    if (m_file && m_text.size() >= chunkLength)
        writeHeldText();
}

bool MFileCsvWriter::save(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // QSaveFile::commit() puts a file in place whose buffered end could not be
    // written: the end goes out here, where a failure is seen.
    if (file.write(m_text) != m_text.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool MFileCsvWriter::open(const QString& fileName)
{
    m_file = std::make_unique<QSaveFile>(fileName);
    m_writeFailed = false;
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_file.reset();
        return false;
    }
    // Reserved, the buffer keeps its capacity from one chunk to the next.
    m_text.reserve(chunkLength + chunkLength / 4);
    writeHeldText();
    return true;
}

bool MFileCsvWriter::commit()
{
    if (!m_file)
        return false;
    writeHeldText();
    if (!m_file->flush())
        m_writeFailed = true;
    if (m_writeFailed)
        m_file->cancelWriting();
    const bool written = !m_writeFailed && m_file->commit();
    m_file.reset();
    return written;
}

void MFileCsvWriter::writeHeldText()
{
    if (m_file->write(m_text) != m_text.size())
        m_writeFailed = true;
    m_text.resize(0);
}
