#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The MIME text that MMailSmtp hands over after DATA: a multipart/mixed message
// with one quoted-printable UTF-8 text part and one base64 part per attached
// file, with CR LF line ends and dot-stuffing already applied.
class MMailMessage
{
public:
    MMailMessage(const QString& senderName, const QString& senderAddress, const QString& recipientAddress,
                 const QString& copyAddress, const QString& subject, const QString& body);

    // The file at `path` goes under `name`; a path where no file exists is left out.
    void addAttachment(const QString& path, const QString& name);

    // Composes the text as of the local time `now`, which also seeds the
    // message id and the boundary. Returns false, with an empty text, when an
    // attached file exists but cannot be read.
    bool compose(const QDateTime& now);
    QByteArray text() const;

    // "=?utf-8?Q?...?=", for the sender name and file names. Every character but
    // letters, digits and "!*+-/" is encoded, so that no comma, bracket or quote of a
    // sender's name is read as part of an address. Never split: mail readers keep
    // the blank between two encoded words of a name.
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
    static QByteArray dateText(const QDateTime& local);
    static QByteArray messageId(const QByteArray& stamp, const QString& senderAddress);
    static QByteArray boundary(const QByteArray& stamp);

private:
    struct Attachment
    {
        QString path;
        QString name;
    };

    static QByteArray toTransport(QByteArray text);

    QString m_senderName;
    QString m_senderAddress;
    QString m_recipientAddress;
    QString m_copyAddress;
    QString m_subject;
    QString m_body;
    QList<Attachment> m_attachments;
    QByteArray m_text;
};
