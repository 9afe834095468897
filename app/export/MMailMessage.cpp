#include "MMailMessage.h"

#include "export/MMailSmtp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <utility>

namespace {

// A line of quoted-printable text holds at most 75 characters before its soft
// break, and an escape ("=" and two digits) is never cut by one.
constexpr int kQuotedPrintableLineLength = 75;
constexpr int kEscapeLength = 3;
constexpr int kBase64LineLength = 76;
// The bytes of one base64 line, and of the blocks in which a file is read: whole lines.
constexpr int kBase64LineBytes = 57;
constexpr int kFileBlockBytes = kBase64LineBytes * 1024;
constexpr int kEncodedWordLength = 75;
constexpr char kWordOpen[] = "=?utf-8?Q?";
constexpr char kWordClose[] = "?=";

// The "Q" encoding of a word that stands in a phrase: letters, digits and
// "!*+-/" as they are, a blank as "_", every other byte as "=XX".
QByteArray qEncoded(const QByteArray& bytes)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    QByteArray encoded;
    for (const char c : bytes) {
        const uchar byte = uchar(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')
            || byte == '!' || byte == '*' || byte == '+' || byte == '-' || byte == '/') {
            encoded += c;
        } else if (byte == ' ') {
            encoded += '_';
        } else {
            encoded += '=';
            encoded += hexDigits[byte >> 4];
            encoded += hexDigits[byte & 0x0F];
        }
    }
    return encoded;
}

// RFC 5322 allows no longer line, whatever the reader.
constexpr int kMaxLineLength = 998;
// The pieces of a long file name, short enough for any mail reader's line.
constexpr int kFileNamePieceLength = 60;

// The sender name as one encoded word, which every reader shows as it is; a name
// too long for one header line as words folded onto lines of their own. Each blank
// of the name opens a word: readers drop the space between two encoded words.
QByteArray senderPhrase(const QString& name)
{
    const QByteArray word = MMailMessage::encodedWord(name);
    if (int(sizeof("From: ")) - 1 + word.size() <= kMaxLineLength)
        return word;
    QByteArrayList words;
    const QStringList pieces = name.split(QLatin1Char(' '));
    for (int i = 0; i < pieces.size(); ++i)
        words.append(MMailMessage::encodedWords(i == 0 ? pieces.at(i) : QLatin1Char(' ') + pieces.at(i), 1));
    return words.join("\n ");
}

// The filename parameter of an attachment in its UTF-8 form; a name too long for
// one line in numbered pieces (RFC 2231), never cut inside a %XX escape.
QByteArray fileNameParameter(const QString& name)
{
    const QByteArray value = "UTF-8''" + QUrl::toPercentEncoding(name, "!#$&+^`|");
    const QByteArray whole = "\tfilename*=" + value + '\n';
    if (whole.size() - 1 <= kMaxLineLength)
        return whole;
    QByteArrayList pieces;
    for (int from = 0; from < value.size();) {
        int length = std::min(kFileNamePieceLength, int(value.size()) - from);
        const int escape = value.lastIndexOf('%', from + length - 1);
        if (escape >= from && escape + 3 > from + length && escape > from)
            length = escape - from;
        pieces.append(value.mid(from, length));
        from += length;
    }
    QByteArray parameter;
    for (int i = 0; i < pieces.size(); ++i) {
        parameter += "\tfilename*" + QByteArray::number(i) + "*=" + pieces.at(i);
        parameter += i + 1 < pieces.size() ? ";\n" : "\n";
    }
    return parameter;
}

QByteArray md5Hex(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex();
}

QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

} // namespace

MMailMessage::MMailMessage(const QString& senderName, const QString& senderAddress,
                           const QString& recipientAddress, const QString& copyAddress, const QString& subject,
                           const QString& body)
    : m_senderName(senderName)
    , m_senderAddress(senderAddress)
    , m_recipientAddress(recipientAddress)
    , m_copyAddress(copyAddress)
    , m_subject(subject)
    , m_body(body)
{
}

MMailMessage::~MMailMessage() = default;

void MMailMessage::addAttachment(const QString& path, const QString& name)
{
    m_attachments.append({path, name});
}

bool MMailMessage::compose(const QDateTime& now, const QByteArray& uniquifier)
{
    m_parts.clear();
    m_nextPart = 0;
    m_readFailed = false;

    const QByteArray stamp = QByteArray::number(now.toMSecsSinceEpoch()) + uniquifier;
    const QByteArray delimiter = "--" + boundary(stamp);

    QByteArray text;
    text += "Date: " + dateText(now) + '\n';
    text += "Message-Id: <" + messageId(stamp, m_senderAddress) + ">\n";
    text += "To: " + m_recipientAddress.toUtf8() + '\n';
    if (!m_copyAddress.isEmpty())
        text += "CC: " + m_copyAddress.toUtf8() + '\n';
    if (m_senderName.isEmpty())
        text += "From: <" + m_senderAddress.toUtf8() + ">\n";
    else
        text += "From: " + senderPhrase(m_senderName) + "\n\t<" + m_senderAddress.toUtf8() + ">\n";
    text += "Subject: " + encodedWords(m_subject, 9) + '\n';
    text += "MIME-Version: 1.0\n";
    text += "Content-Type: multipart/mixed;\n";
    text += "\tboundary=\"" + boundary(stamp) + "\"\n";
    text += '\n';

    text += delimiter + '\n';
    text += "Content-Type: text/plain;\n";
    text += "\tcharset=UTF-8\n";
    text += "Content-Transfer-Encoding: quoted-printable\n";
    text += '\n';
    text += quotedPrintableBody(m_body);
    text += '\n';

    std::vector<Part> parts;
    for (const Attachment& attachment : qAsConst(m_attachments)) {
        if (!QFileInfo::exists(attachment.path))
            continue;
        auto file = std::make_unique<QFile>(attachment.path);
        if (!file->open(QIODevice::ReadOnly))
            return false;
        text += delimiter + '\n';
        const bool pdf = attachment.name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
        text += pdf ? "Content-Type: application/pdf\n" : "Content-Type: application/octet-stream\n";
        text += "Content-Disposition: attachment;\n";
        // A parameter value takes no encoded word: its own form carries the UTF-8 name.
        text += fileNameParameter(attachment.name);
        text += "Content-Transfer-Encoding: base64\n";
        text += '\n';
        parts.push_back({toTransport(std::exchange(text, QByteArray())), std::move(file)});
    }
    text += delimiter + "--\n";
    parts.push_back({toTransport(text), nullptr});

    m_parts = std::move(parts);
    return true;
}

QByteArray MMailMessage::nextBlock()
{
    for (; m_nextPart < m_parts.size(); ++m_nextPart) {
        Part& part = m_parts[m_nextPart];
        if (!part.text.isEmpty())
            return std::exchange(part.text, QByteArray());
        if (part.file)
            return fileBlock(part);
    }
    return QByteArray();
}

bool MMailMessage::atEnd() const
{
    return std::all_of(std::next(m_parts.cbegin(), std::ptrdiff_t(m_nextPart)), m_parts.cend(),
                       [](const Part& part) { return part.text.isEmpty() && !part.file; });
}

bool MMailMessage::readFailed() const
{
    return m_readFailed;
}

QByteArray MMailMessage::uniquifier()
{
    static std::atomic<quint64> counter{0};
    return '.' + QByteArray::number(++counter) + '.'
           + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
}

// Base64 lines never begin with a full stop, so only the line ends change on the way.
QByteArray MMailMessage::fileBlock(Part& part)
{
    const QByteArray bytes = part.file->read(kFileBlockBytes);
    if (bytes.size() == kFileBlockBytes)
        return base64Block(bytes).replace("\n", "\r\n");
    // A block short of a whole one is the last: the file's lines are closed.
    m_readFailed = part.file->error() != QFileDevice::NoError;
    part.file.reset();
    return base64Lines(bytes).replace("\n", "\r\n");
}

QByteArray MMailMessage::encodedWord(const QString& text)
{
    return kWordOpen + qEncoded(text.toUtf8()) + kWordClose;
}

QByteArray MMailMessage::encodedWords(const QString& text, int headerUsed)
{
    const QByteArray open = kWordOpen;
    const QByteArray close = kWordClose;
    QByteArrayList words;
    QByteArray current;
    int room = kEncodedWordLength - headerUsed;
    // One character's bytes stay in one word: a word must decode on its own.
    for (const uint codePoint : text.toUcs4()) {
        const QByteArray unit = qEncoded(QString::fromUcs4(&codePoint, 1).toUtf8());
        if (!current.isEmpty() && open.size() + current.size() + unit.size() + close.size() > room) {
            words.append(open + current + close);
            current.clear();
            room = kEncodedWordLength - 1; // the folded line opens with a blank
        }
        current += unit;
    }
    words.append(open + current + close);
    return words.join("\n ");
}

// Each line of the text is a line of the body: a line break travels as a line
// end, not as an encoded "=0A", which mail readers may show as it is.
QByteArray MMailMessage::quotedPrintableBody(const QString& body)
{
    QByteArray lines;
    for (const QString& textLine : QString(body).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'))) {
        QByteArray encoded = MMailSmtp::encodeQuotedPrintable(textLine.toUtf8());
        // A blank at the end of a line may be lost on the way.
        if (encoded.endsWith(' ')) {
            encoded.chop(1);
            encoded += "=20";
        }
        int column = 0;
        for (const char c : qAsConst(encoded)) {
            ++column;
            if (column > kQuotedPrintableLineLength
                || (c == '=' && column > kQuotedPrintableLineLength - kEscapeLength + 1)) {
                lines += "=\n";
                column = 1;
            }
            lines += c;
        }
        lines += '\n';
    }
    return lines;
}

QByteArray MMailMessage::base64Lines(const QByteArray& data)
{
    // After a short last line the closing line feed ends it; after whole lines it makes an empty one.
    QByteArray lines = base64Block(data);
    if (data.size() % kBase64LineBytes == 0)
        lines += '\n';
    return lines;
}

QByteArray MMailMessage::base64Block(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray lines;
    lines.reserve(encoded.size() + encoded.size() / kBase64LineLength + 1);
    for (int from = 0; from < encoded.size(); from += kBase64LineLength)
        lines += encoded.mid(from, kBase64LineLength) + '\n';
    return lines;
}

QByteArray MMailMessage::dateText(const QDateTime& local)
{
    static const char* const dayNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const monthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = local.date();
    const QTime time = local.time();
    const int offset = local.offsetFromUtc();
    const int offsetMinutes = qAbs(offset) / 60;

    return QByteArray(dayNames[date.dayOfWeek() - 1]) + ", " + twoDigits(date.day()) + ' '
           + monthNames[date.month() - 1] + ' ' + QByteArray::number(date.year()).rightJustified(4, '0') + ' '
           + twoDigits(time.hour()) + ':' + twoDigits(time.minute()) + ':' + twoDigits(time.second()) + ' '
           + (offset < 0 ? '-' : '+') + twoDigits(offsetMinutes / 60) + twoDigits(offsetMinutes % 60);
}

QByteArray MMailMessage::messageId(const QByteArray& stamp, const QString& senderAddress)
{
    // An identifier needs a right-hand side even when the sender's address has none.
    const QByteArray domain = senderAddress.section(QLatin1Char('@'), 1, 1).toUtf8();
    return md5Hex(stamp + "Id") + '@' + (domain.isEmpty() ? QByteArray("localhost") : domain);
}

QByteArray MMailMessage::boundary(const QByteArray& stamp)
{
    const QByteArray hex = md5Hex(stamp).toUpper();
    return "----_=_NextPart_001_" + hex.left(8) + '.' + hex.mid(8, 8);
}

// CR LF line ends, and one more full stop before every line that begins with
// one, so that no line of the message can end the data early.
QByteArray MMailMessage::toTransport(QByteArray text)
{
    text.replace("\n", "\r\n");
    text.replace("\r\n.", "\r\n..");
    if (text.startsWith('.'))
        text.prepend('.');
    return text;
}
