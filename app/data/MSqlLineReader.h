#pragma once

#include <QByteArray>
#include <QtGlobal>

class QIODevice;

// Reads a text file line by line without holding more of it than one line
// and one chunk: CR, LF and CR LF all end a line. A line longer than the
// limit is skipped (its bytes are not kept) and told as such.
class MSqlLineReader
{
public:
    enum class Status
    {
        Line,      // *line holds the next line, without its end
        TooLong,   // the next line was longer than the limit and was skipped
        End,       // every byte up to the size at the start was read
        ReadError, // reading failed, or the file ended before its size at the start
    };

    MSqlLineReader(QIODevice* device, qint64 expectedSize, int maxLineLength);

    Status next(QByteArray* line);
    // The number of the line last returned, from 1.
    qint64 lineNumber() const { return m_lineNumber; }

private:
    bool fill();

    QIODevice* m_device;
    qint64 m_expectedSize;
    int m_maxLineLength;
    QByteArray m_buffer;
    int m_position = 0;
    qint64 m_total = 0;
    qint64 m_lineNumber = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_skipLineFeed = false; // the last line ended in CR at the end of a chunk
};
