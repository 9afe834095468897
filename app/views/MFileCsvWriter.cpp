#include "MFileCsvWriter.h"

#include <QSaveFile>

namespace {

// Held text passed on to an open file once it is this long.
const int chunkLength = 64 * 1024;

bool needsQuotes(const QString& field)
{
    for (const QChar c : field) {
        switch (c.unicode()) {
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

} // namespace

MFileCsvWriter::MFileCsvWriter(QObject* parent)
    : QObject(parent)
    , m_separator(QStringLiteral(","))
    , m_lineEnd(QStringLiteral("\n"))
    , m_quote(QStringLiteral("\""))
{
}

MFileCsvWriter::~MFileCsvWriter() = default;

void MFileCsvWriter::addField(const QString& field)
{
    // The fields go straight into the text: the current line is its unfinished tail.
    if (m_lineHasFields)
        m_text += m_separator;
    m_lineHasFields = true;

    if (needsQuotes(field)) {
        m_text += m_quote;
        if (field.contains(m_quote))
            m_text += QString(field).replace(m_quote, m_quote + m_quote);
        else
            m_text += field;
        m_text += m_quote;
    } else {
        m_text += field;
    }
}

void MFileCsvWriter::endLine()
{
    m_text += m_lineEnd;
    m_lineHasFields = false;
    if (m_file && m_text.size() >= chunkLength)
        writeHeldText();
}

bool MFileCsvWriter::save(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = m_text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
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
    writeHeldText();
    return true;
}

bool MFileCsvWriter::commit()
{
    if (!m_file)
        return false;
    writeHeldText();
    const bool written = !m_writeFailed && m_file->commit();
    m_file.reset();
    return written;
}

void MFileCsvWriter::writeHeldText()
{
    const QByteArray bytes = m_text.toUtf8();
    if (m_file->write(bytes) != bytes.size())
        m_writeFailed = true;
    // Keeps the buffer's capacity for the next chunk.
    m_text.resize(0);
}
