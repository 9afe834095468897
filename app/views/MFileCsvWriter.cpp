#include "MFileCsvWriter.h"

#include <QSaveFile>

namespace {

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
