#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QFile;

// The MIME text that MMailSmtp hands over after DATA: a multipart/mixed message
// with one quoted-printable UTF-8 text part and one base64 part per attached
// file, with CR LF line ends and dot-stuffing already applied. The text is
// taken block by block: an attached file is read only as far as its text is
// taken, so no file ever sits in memory whole.
class MMailMessage
{
public:
    MMailMessage(const QString& senderName, const QString& senderAddress, const QString& recipientAddress,
                 const QString& copyAddress, const QString& subject, const QString& body);
    ~MMailMessage();
    MMailMessage(const MMailMessage&) = delete;
    MMailMessage& operator=(const MMailMessage&) = delete;

    // The file at `path` goes under `name`; a path where no file exists is left out.
    void addAttachment(const QString& path, const QString& name);

    // Composes the text as of the local time `now`, which together with
    // `uniquifier` seeds the message id and the boundary, and opens the
    // attached files. Returns false, with nothing to take, when an attached
    // file exists but cannot be opened.
    bool compose(const QDateTime& now, const QByteArray& uniquifier = QByteArray());
    // The next piece of the text, at most some 80 kB; empty once all is taken.
    QByteArray nextBlock();
    bool atEnd() const;
    // An attached file failed while being read: the text taken is incomplete.
    bool readFailed() const;

    // A value of its own at every call, so that two messages composed within
    // one millisecond get different ids and boundaries.
    static QByteArray uniquifier();

    // "=?utf-8?Q?...?=", for the sender name and file names. Every character but
    // letters, digits and "!*+-/" is encoded, so that no comma, bracket or quote of a
    // sender's name is read as part of an address. Not split: some mail readers keep
    // the blank between two encoded words of a name, so only a name too long for one
    // header line goes into the From header as several words.
    static QByteArray encodedWord(const QString& text);
    // The subject as such words of at most 75 characters, folded with a line feed and
    // a blank between them; the first word leaves room for the `headerUsed`
    // characters of its line before it.
    static QByteArray encodedWords(const QString& text, int headerUsed);
    // The body as one quoted-printable stream cut by soft breaks into lines
    // of at most 76 characters, each ending in a line feed.
    static QByteArray quotedPrintableBody(const QString& body);
    // Base64 in lines of 76 characters, each ending in a line feed, plus one more line feed.
    static QByteArray base64Lines(const QByteArray& data);
    // The same for a block of a longer file: whole lines only, no closing line feed.
    static QByteArray base64Block(const QByteArray& data);
    static QByteArray dateText(const QDateTime& local);
    static QByteArray messageId(const QByteArray& stamp, const QString& senderAddress);
    static QByteArray boundary(const QByteArray& stamp);

private:
    struct Attachment
    {
        QString path;
        QString name;
    };
    // A piece of the text, then, for an attachment, its file's content.
    struct Part
    {
        QByteArray text;
        std::unique_ptr<QFile> file;
    };

    static QByteArray toTransport(QByteArray text);
    QByteArray fileBlock(Part& part);

    QString m_senderName;
    QString m_senderAddress;
    QString m_recipientAddress;
    QString m_copyAddress;
    QString m_subject;
    QString m_body;
    QList<Attachment> m_attachments;
    std::vector<Part> m_parts;
    size_t m_nextPart = 0;
    bool m_readFailed = false;
};
