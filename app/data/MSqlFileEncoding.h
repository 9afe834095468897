#pragma once

#include <QByteArray>
#include <QString>

// Tells how an imported SQL file is written: UTF-8 or the legacy 8-bit
// encoding the converter writes (the system's ANSI code page on Windows,
// Windows-1250 elsewhere). Each statement line that is not plain ASCII is
// evidence: a line that is not valid UTF-8 is legacy text; valid UTF-8 of
// Polish letters and punctuation is UTF-8; valid UTF-8 with characters Polish
// text never has (such as "ӣ" from the legacy bytes of "ÓŁ") is unsure. The
// file is read the way most of its sure lines are (legacy on a tie, and when
// every line is unsure, as the converter's files of capitals such as "CZÓŁNO"
// are); a sure line of the other kind cannot be read and is not run.
class MSqlFileEncoding
{
public:
    enum class Kind
    {
        Ascii,
        Utf8,
        Legacy,
        Unsure,
    };

    static Kind classify(const QByteArray& line);

    // Counts one line of the file.
    void add(const QByteArray& line);

    // The reading of the whole file: Utf8 or Legacy (Utf8 for plain ASCII).
    Kind reading() const;
    // True when the file held text beyond ASCII but no line that tells its encoding for sure.
    bool isGuessed() const { return m_utf8Lines == 0 && m_legacyLines == 0 && m_unsureLines > 0; }
    // True when a line of this kind cannot be read in the file's reading.
    static bool isUnreadable(Kind line, Kind reading) { return line != reading && line != Kind::Ascii && line != Kind::Unsure; }

    // A line in the given reading; a UTF-8 byte order mark is dropped.
    static QString decode(const QByteArray& line, Kind reading);
    // "UTF-8" or the legacy encoding's name.
    static QString name(Kind reading);

private:
    qint64 m_utf8Lines = 0;
    qint64 m_legacyLines = 0;
    qint64 m_unsureLines = 0;
};
