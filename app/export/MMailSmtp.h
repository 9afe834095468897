#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class MMailMessage;
class QSslSocket;

// Sends one e-mail message to the user's SMTP server with AUTH LOGIN (or
// PLAIN where the server offers only that). The
// dialogue runs on the event loop: sendMail only opens the connection, every
// further step follows a reply of the server, and progress and failures
// arrive through status(). The login and password travel only encrypted: over
// TLS from the first byte on port 465, elsewhere after STARTTLS; a server that
// offers neither gets no login at all.
class MMailSmtp : public QObject
{
    Q_OBJECT

public:
    // The codes of status().
    enum SmtpStatusCode {
        MessageSent = 0,
        LoggingIn = 10,
        SendingMessage = 11,
        SendingFailed = 50,
        EncryptionUnavailable = 51,
        SocketErrorBase = 100, // plus the QAbstractSocket::SocketError
    };

    MMailSmtp(const QString& login, const QString& password, const QString& server, int port);
    ~MMailSmtp() override;

    // Composes the message and connects; the lists run in parallel (file i goes under name i).
    void sendMail(const QString& senderName, const QString& senderAddress, const QString& recipientAddress,
                  const QString& copyAddress, const QString& subject, const QString& body,
                  QStringList attachmentPaths, QStringList attachmentNames);

    // Multiplies the time limits of the dialogue (5 minutes for a reply, 3 for
    // a block of the message to leave, 10 for the answer to its end); tests
    // shorten them.
    void setTimeScale(double scale);

    // A blank and the bytes 0x21 to 0x7E but "=" stay, every other byte becomes "=XX".
    static QByteArray encodeQuotedPrintable(const QByteArray& bytes);

signals:
    void status(const int& code, const QString& str);
    // The connection has ended (after the goodbye, a failure or the time-out);
    // a status that belongs to the ending is emitted before control returns
    // to the event loop, so the client may be released with deleteLater here.
    void closed();

private slots:
    void readyRead();
    void errorReceived(QAbstractSocket::SocketError socketError);
    void stateChanged(QAbstractSocket::SocketState socketState);
    void doEncryptedSocket();
    void doTimeoutReplyTimer();
    void doBytesWrittenSocket();

private:
    enum class State {
        WaitingForGreeting,
        FirstEhloSent,
        StartTlsSent,
        Encrypting,
        SecondEhloSent,
        UserNameAsked,
        PasswordAsked,
        Authenticating,
        SenderAccepted,
        CopyToAdd,
        RecipientsComplete,
        MessageExpected,
        MessageSent,
        QuitSent,
        Finished,
    };

    void answerReply(const QList<QByteArray>& lines);
    void writeCommand(const QByteArray& command);
    void writeMessage();
    qint64 bytesToWrite() const;
    void restartReplyTimer();
    int timeLimit() const;
    void logIn(const QList<QByteArray>& ehloReply);
    void fail();
    void failWithReply(const QList<QByteArray>& lines);
    void finish(int code, const QString& reason);
    void abortDialogue();

    // What went wrong with the connection, in the user's words.
    QString socketErrorText(QAbstractSocket::SocketError socketError) const;
    static QByteArray expectedCode(State state);
    static bool offersStartTls(const QList<QByteArray>& ehloReply);
    // AUTH LOGIN is used wherever the server offers it; PLAIN where it offers only that.
    static bool offersOnlyPlainLogin(const QList<QByteArray>& ehloReply);

    QString m_login;
    QString m_password;
    QString m_server;
    int m_port = 0;
    // Until the whole message has been handed to the socket.
    std::unique_ptr<MMailMessage> m_message;
    QString m_senderAddress;
    QString m_recipientAddress;
    QString m_copyAddress;
    State m_state = State::WaitingForGreeting;
    QSslSocket* m_socket = nullptr;
    QByteArray m_received;
    QList<QByteArray> m_replyLines;
    QTimer m_replyTimer;
    double m_timeScale = 1.0;
    std::optional<QAbstractSocket::SocketError> m_reportedSocketError;
};
