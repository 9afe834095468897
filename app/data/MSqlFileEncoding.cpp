#include "data/MSqlFileEncoding.h"

#include <QTextCodec>

namespace {

const QByteArray byteOrderMark("\xEF\xBB\xBF");

QTextCodec* utf8Codec()
{
    static QTextCodec* const codec = QTextCodec::codecForMib(106);
    return codec;
}

QTextCodec* legacyCodec()
{
#ifdef Q_OS_WIN
    static QTextCodec* const codec = QTextCodec::codecForLocale();
#else
    static QTextCodec* const codec = QTextCodec::codecForName("Windows-1250");
#endif
    return codec;
}

// Characters of Polish text and of the punctuation the program's data holds.
bool isPlausible(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x20 && u < 0x7F) || u == '\t' || (u >= 0xA0 && u <= 0x17F) || (u >= 0x2010 && u <= 0x2030)
        || u == 0x20AC || u == 0x2116 || u == 0x2122 || u == 0xFEFF;
}

bool isAscii(const QByteArray& line)
{
    for (const char c : line)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

MSqlFileEncoding::Kind MSqlFileEncoding::classify(const QByteArray& line)
{
    if (isAscii(line))
        return Kind::Ascii;
    QTextCodec::ConverterState state;
    const QString text = utf8Codec()->toUnicode(line.constData(), line.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return Kind::Legacy;
    for (const QChar c : text)
        if (!isPlausible(c))
            return Kind::Unsure;
    return Kind::Utf8;
}

void MSqlFileEncoding::add(const QByteArray& line)
{
    switch (classify(line)) {
    case Kind::Ascii:
        break;
    case Kind::Utf8:
        ++m_utf8Lines;
        break;
    case Kind::Legacy:
        ++m_legacyLines;
        break;
    case Kind::Unsure:
        ++m_unsureLines;
        break;
    }
}

MSqlFileEncoding::Kind MSqlFileEncoding::reading() const
{
    if (m_utf8Lines > m_legacyLines)
        return Kind::Utf8;
    return m_legacyLines > 0 || m_unsureLines > 0 ? Kind::Legacy : Kind::Utf8;
}

QString MSqlFileEncoding::decode(const QByteArray& line, Kind reading)
{
    if (reading == Kind::Legacy)
        return legacyCodec()->toUnicode(line);
    if (line.startsWith(byteOrderMark))
        return utf8Codec()->toUnicode(line.constData() + 3, line.size() - 3);
    return utf8Codec()->toUnicode(line);
}

QString MSqlFileEncoding::name(Kind reading)
{
    if (reading != Kind::Legacy)
        return QStringLiteral("UTF-8");
#ifdef Q_OS_WIN
    return QString::fromLatin1(legacyCodec()->name());
#else
    return QStringLiteral("Windows-1250");
#endif
}
