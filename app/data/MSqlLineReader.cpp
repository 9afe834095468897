#include "data/MSqlLineReader.h"

#include <QIODevice>

#include <cstring>

namespace {

const int chunkSize = 256 * 1024;

// The first CR or LF at or after `from`, or -1.
int lineEnd(const QByteArray& buffer, int from)
{
    const char* data = buffer.constData();
    const int size = buffer.size();
    for (int i = from; i < size; ++i) {
        const char c = data[i];
        if (c == '\n' || c == '\r')
            return i;
    }
    return -1;
}

} // namespace

MSqlLineReader::MSqlLineReader(QIODevice* device, qint64 expectedSize, int maxLineLength)
    : m_device(device)
    , m_expectedSize(expectedSize)
    , m_maxLineLength(maxLineLength)
{
}

bool MSqlLineReader::fill()
{
    if (m_atEnd || m_failed)
        return false;
    m_buffer.remove(0, m_position);
    m_position = 0;
    const int kept = m_buffer.size();
    m_buffer.resize(kept + chunkSize);
    const qint64 read = m_device->read(m_buffer.data() + kept, chunkSize);
    if (read < 0) {
        m_buffer.resize(kept);
        m_failed = true;
        return false;
    }
    m_buffer.resize(kept + int(read));
    m_total += read;
    if (read == 0) {
        m_atEnd = true;
        m_failed = m_total < m_expectedSize;
        return false;
    }
    return true;
}

MSqlLineReader::Status MSqlLineReader::next(QByteArray* line)
{
    bool tooLong = false;
    int searchFrom = m_position;
    for (;;) {
        if (m_skipLineFeed) {
            if (m_position >= m_buffer.size() && !fill()) {
                m_skipLineFeed = false;
                continue;
            }
            if (m_position < m_buffer.size()) {
                if (m_buffer.at(m_position) == '\n')
                    ++m_position;
                m_skipLineFeed = false;
                searchFrom = m_position;
            }
        }
        const int end = lineEnd(m_buffer, searchFrom);
        if (end >= 0) {
            ++m_lineNumber;
            if (!tooLong)
                *line = m_buffer.mid(m_position, end - m_position);
            const char ending = m_buffer.at(end);
            m_position = end + 1;
            if (ending == '\r') {
                if (m_position < m_buffer.size()) {
                    if (m_buffer.at(m_position) == '\n')
                        ++m_position;
                } else {
                    m_skipLineFeed = true;
                }
            }
            return tooLong ? Status::TooLong : Status::Line;
        }
        if (m_buffer.size() - m_position > m_maxLineLength) {
            // The line's bytes so far are dropped; the search goes on for its end.
            tooLong = true;
            m_position = m_buffer.size();
        }
        searchFrom = m_buffer.size() - m_position;
        if (!fill()) {
            if (m_failed)
                return Status::ReadError;
            if (m_position < m_buffer.size() || tooLong) {
                ++m_lineNumber;
                if (!tooLong)
                    *line = m_buffer.mid(m_position);
                m_position = m_buffer.size();
                return tooLong ? Status::TooLong : Status::Line;
            }
            return Status::End;
        }
        searchFrom += m_position; // fill() moved the kept bytes to the front
    }
}
