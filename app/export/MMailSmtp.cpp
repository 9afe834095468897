#include "MMailSmtp.h"

#include "export/MMailMessage.h"

#include <QDateTime>
#include <QHostInfo>
#include <QSslError>
#include <QSslSocket>

#include <algorithm>

namespace {

// How long the server may take, as RFC 5321 (4.5.3.2) has it: each reply,
// the go-ahead for the message, each block of the message leaving, and the
// answer to its end, which a server may take long to give.
constexpr int kReplyLimit = 5 * 60 * 1000;
constexpr int kDataStartLimit = 2 * 60 * 1000;
constexpr int kDataBlockLimit = 3 * 60 * 1000;
constexpr int kDataEndLimit = 10 * 60 * 1000;

// How much of the message may wait in the socket: more is taken from the
// message, and its files read, only as the connection drains.
constexpr qint64 kWriteAhead = 256 * 1024;

// The submission port whose servers speak TLS from the first byte (RFC 8314).
constexpr int kImplicitTlsPort = 465;

// A reply line may hold 512 octets with its CR LF; a server that sends more, or
// a reply of more lines than any real one has, is broken or hostile, and its
// reply is not kept piling up in memory.
constexpr int kMaxReplyLineLength = 512;
constexpr int kMaxReplyLines = 100;

// The machine's name where it has one: some servers refuse a greeting from "localhost".
QByteArray ehloCommand()
{
    const QString host = QHostInfo::localHostName();
    return "EHLO " + (host.isEmpty() ? QByteArray("localhost") : host.toUtf8());
}

// The code of a well-formed reply line: three digits followed by a blank, a hyphen
// or the line end; empty for anything else.
QByteArray replyCode(const QByteArray& line)
{
    const QByteArray text = line.endsWith("\r\n") ? line.chopped(2) : line.chopped(1);
    if (text.size() < 3 || !std::all_of(text.cbegin(), text.cbegin() + 3, [](char c) { return c >= '0' && c <= '9'; }))
        return QByteArray();
    if (text.size() > 3 && text.at(3) != ' ' && text.at(3) != '-')
        return QByteArray();
    return text.left(3);
}

bool isContinuationLine(const QByteArray& line)
{
    return !replyCode(line).isEmpty() && line.size() > 3 && line.at(3) == '-';
}

// An address goes into the dialogue between angle brackets on a command line of its own.
bool isSafeAddress(const QString& address)
{
    return !address.contains(QLatin1Char('\r')) && !address.contains(QLatin1Char('\n'))
        && !address.contains(QLatin1Char('<')) && !address.contains(QLatin1Char('>'));
}

} // namespace

MMailSmtp::MMailSmtp(const QString& login, const QString& password, const QString& server, int port)
    : m_login(login)
    , m_password(password)
    , m_server(server)
    , m_port(port)
    , m_socket(new QSslSocket(this))
{
    m_replyTimer.setSingleShot(true);
    connect(&m_replyTimer, &QTimer::timeout, this, &MMailSmtp::doTimeoutReplyTimer);

    connect(m_socket, &QSslSocket::readyRead, this, &MMailSmtp::readyRead);
    connect(m_socket, &QSslSocket::errorOccurred, this, &MMailSmtp::errorReceived);
    connect(m_socket, &QSslSocket::stateChanged, this, &MMailSmtp::stateChanged);
    connect(m_socket, &QSslSocket::encrypted, this, &MMailSmtp::doEncryptedSocket);
    // Progress on the wire: plain bytes, or over TLS the encrypted ones.
    connect(m_socket, &QSslSocket::bytesWritten, this, &MMailSmtp::doBytesWrittenSocket);
    connect(m_socket, &QSslSocket::encryptedBytesWritten, this, &MMailSmtp::doBytesWrittenSocket);
}

MMailSmtp::~MMailSmtp() = default;

void MMailSmtp::sendMail(const QString& senderName, const QString& senderAddress, const QString& recipientAddress,
                         const QString& copyAddress, const QString& subject, const QString& body,
                         QStringList attachmentPaths, QStringList attachmentNames)
{
    if (!isSafeAddress(senderAddress) || !isSafeAddress(recipientAddress) || !isSafeAddress(copyAddress)) {
        // Reported from the event loop: the caller connects to status() only after this call.
        QMetaObject::invokeMethod(
            this,
            [this] {
                finish(SendingFailed, tr("Adres e-mail zawiera niedozwolone znaki (nowy wiersz, \"<\" lub \">\")."));
            },
            Qt::QueuedConnection);
        return;
    }
    m_message = std::make_unique<MMailMessage>(senderName, senderAddress, recipientAddress, copyAddress, subject,
                                               body);
    for (int i = 0; i < attachmentPaths.size(); ++i)
        m_message->addAttachment(attachmentPaths.at(i), attachmentNames.value(i));
    if (!m_message->compose(QDateTime::currentDateTime(), MMailMessage::uniquifier())) {
        // Reported from the event loop: the caller connects to status() only after this call.
        QMetaObject::invokeMethod(this, &MMailSmtp::fail, Qt::QueuedConnection);
        return;
    }

    m_senderAddress = senderAddress;
    m_recipientAddress = recipientAddress;
    m_copyAddress = copyAddress;
    if (m_port == kImplicitTlsPort)
        m_socket->connectToHostEncrypted(m_server, quint16(m_port));
    else
        m_socket->connectToHost(m_server, quint16(m_port));
    restartReplyTimer();
}

void MMailSmtp::setTimeScale(double scale)
{
    m_timeScale = scale;
}

QByteArray MMailSmtp::encodeQuotedPrintable(const QByteArray& bytes)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    QByteArray encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const uchar byte = uchar(c);
        if (byte == ' ' || (byte >= 0x21 && byte <= 0x7E && byte != '=')) {
            encoded += c;
        } else {
            encoded += '=';
            encoded += hexDigits[byte >> 4];
            encoded += hexDigits[byte & 0x0F];
        }
    }
    return encoded;
}

// Replies are judged only when complete: the buffer keeps what has arrived of
// a line, and the lines of a reply are gathered up to its last line, the one
// whose code is not followed by a hyphen. Only what arrived since the last
// read is searched for a line end.
void MMailSmtp::readyRead()
{
    int searchFrom = m_received.size();
    m_received += m_socket->readAll();
    int start = 0;
    for (int end = m_received.indexOf('\n', searchFrom); end >= 0; end = m_received.indexOf('\n', start)) {
        const QByteArray line = m_received.mid(start, end + 1 - start);
        start = end + 1;
        if (line.size() > kMaxReplyLineLength || m_replyLines.size() >= kMaxReplyLines) {
            abortDialogue();
            return;
        }
        m_replyLines.append(line);
        // A server still answering is alive, however long its reply.
        restartReplyTimer();
        if (isContinuationLine(line))
            continue;

        const QList<QByteArray> reply = m_replyLines;
        m_replyLines.clear();
        answerReply(reply);
        if (m_state == State::Encrypting) {
            // Whatever came in clear after the go-ahead for TLS is not trusted.
            m_received.clear();
            return;
        }
    }
    m_received.remove(0, start);
    if (m_received.size() > kMaxReplyLineLength)
        abortDialogue();
}

void MMailSmtp::errorReceived(QAbstractSocket::SocketError socketError)
{
    // The message is delivered: how the connection ends after QUIT is no failure.
    if (m_state == State::QuitSent)
        return;
    // A TLS connection that the server ends reports the closing twice: once
    // for its close notification and once for the socket underneath.
    if (m_reportedSocketError == socketError)
        return;
    m_reportedSocketError = socketError;
    const QString text = socketErrorText(socketError);
    if (m_state == State::Encrypting) {
        // The switch to TLS has failed: nothing more may pass over this
        // connection, and the error below is the whole report of it.
        m_state = State::Finished;
        m_replyTimer.stop();
        m_socket->abort();
    }
    emit status(int(SocketErrorBase) + int(socketError), text);
}

QString MMailSmtp::socketErrorText(QAbstractSocket::SocketError socketError) const
{
    switch (socketError) {
    case QAbstractSocket::ConnectionRefusedError:
        return tr("Serwer poczty %1 nie przyjął połączenia na porcie %2. Sprawdź adres serwera i port w opcjach.")
            .arg(m_server)
            .arg(m_port);
    case QAbstractSocket::RemoteHostClosedError:
        return tr("Serwer poczty zakończył połączenie.");
    case QAbstractSocket::HostNotFoundError:
        return tr("Nie znaleziono serwera poczty %1. Sprawdź adres serwera w opcjach.").arg(m_server);
    case QAbstractSocket::SocketTimeoutError:
        return tr("Serwer poczty nie odpowiada.");
    case QAbstractSocket::NetworkError:
        return tr("Błąd sieci: połączenie z serwerem poczty zostało przerwane.");
    case QAbstractSocket::SslHandshakeFailedError:
        break;
    default:
        return tr("Nie udało się połączyć z serwerem poczty %1.").arg(m_server);
    }
    for (const QSslError& error : m_socket->sslHandshakeErrors()) {
        switch (error.error()) {
        case QSslError::HostNameMismatch:
            return tr("Certyfikat serwera poczty wystawiono dla innej nazwy niż %1.").arg(m_server);
        case QSslError::CertificateExpired:
            return tr("Certyfikat serwera poczty wygasł.");
        case QSslError::CertificateNotYetValid:
            return tr("Certyfikat serwera poczty nie jest jeszcze ważny.");
        default:
            break;
        }
    }
    if (!m_socket->sslHandshakeErrors().isEmpty())
        return tr("Certyfikat serwera poczty nie jest zaufany w magazynie certyfikatów tego komputera.");
    return tr("Nie udało się nawiązać szyfrowanego połączenia z serwerem poczty.");
}

void MMailSmtp::stateChanged(QAbstractSocket::SocketState socketState)
{
    // Without a connection no reply can come, so there is nothing to wait for.
    if (socketState == QAbstractSocket::UnconnectedState) {
        m_replyTimer.stop();
        emit closed();
    }
}

void MMailSmtp::doEncryptedSocket()
{
    // On port 465 the connection is encrypted before the greeting, which is awaited as usual.
    if (m_state != State::Encrypting)
        return;
    writeCommand(ehloCommand());
    m_state = State::SecondEhloSent;
    restartReplyTimer();
}

// A server slow to take a long message is not given up while it keeps taking it.
void MMailSmtp::doBytesWrittenSocket()
{
    if (m_state == State::MessageSent && m_message)
        writeMessage();
    if (m_replyTimer.isActive())
        restartReplyTimer();
}

void MMailSmtp::doTimeoutReplyTimer()
{
    m_socket->abort();
    fail();
}

void MMailSmtp::abortDialogue()
{
    m_received.clear();
    m_replyLines.clear();
    m_socket->abort();
    fail();
}

void MMailSmtp::answerReply(const QList<QByteArray>& lines)
{
    if (m_state == State::Finished)
        return;
    // The goodbye: the dialogue is over and the client closes the connection.
    if (m_state == State::QuitSent) {
        m_socket->disconnectFromHost();
        return;
    }
    // Every line of a reply carries the code of its last line, which decides.
    const QByteArray code = replyCode(lines.last());
    const bool wellFormed = std::all_of(lines.cbegin(), lines.cend(),
                                        [&code](const QByteArray& line) { return replyCode(line) == code; });
    if (!wellFormed || code != expectedCode(m_state)) {
        failWithReply(lines);
        return;
    }

    switch (m_state) {
    case State::WaitingForGreeting:
        writeCommand(ehloCommand());
        m_state = State::FirstEhloSent;
        break;
    case State::FirstEhloSent:
        if (m_socket->isEncrypted()) {
            logIn(lines);
        } else if (offersStartTls(lines)) {
            writeCommand("STARTTLS");
            m_state = State::StartTlsSent;
        } else {
            finish(EncryptionUnavailable, tr("Serwer poczty nie oferuje szyfrowanego połączenia (STARTTLS); "
                                             "hasło nie zostało wysłane."));
        }
        break;
    case State::StartTlsSent:
        m_state = State::Encrypting;
        restartReplyTimer();
        m_socket->startClientEncryption();
        break;
    case State::SecondEhloSent:
        logIn(lines);
        break;
    case State::UserNameAsked:
        writeCommand(m_login.toUtf8().toBase64());
        m_state = State::PasswordAsked;
        break;
    case State::PasswordAsked:
        writeCommand(m_password.toUtf8().toBase64());
        m_state = State::Authenticating;
        break;
    case State::Authenticating:
        writeCommand("MAIL FROM:<" + m_senderAddress.toUtf8() + '>');
        m_state = State::SenderAccepted;
        break;
    case State::SenderAccepted:
        writeCommand("RCPT TO:<" + m_recipientAddress.toUtf8() + '>');
        m_state = m_copyAddress.isEmpty() ? State::RecipientsComplete : State::CopyToAdd;
        break;
    case State::CopyToAdd:
        writeCommand("RCPT TO:<" + m_copyAddress.toUtf8() + '>');
        m_state = State::RecipientsComplete;
        break;
    case State::RecipientsComplete:
        writeCommand("DATA");
        m_state = State::MessageExpected;
        emit status(SendingMessage, tr("Wysyłanie wiadomości."));
        break;
    case State::MessageExpected:
        m_state = State::MessageSent;
        writeMessage();
        break;
    case State::MessageSent:
        writeCommand("QUIT");
        m_state = State::QuitSent;
        m_replyTimer.stop();
        emit status(MessageSent, tr("Wiadomość została wysłana."));
        break;
    case State::Encrypting:
    case State::QuitSent:
    case State::Finished:
        break;
    }
    restartReplyTimer();
}

// Only ever reached over an encrypted connection.
void MMailSmtp::logIn(const QList<QByteArray>& ehloReply)
{
    emit status(LoggingIn, tr("Logowanie."));
    if (offersOnlyPlainLogin(ehloReply)) {
        const QByteArray credentials = '\0' + m_login.toUtf8() + '\0' + m_password.toUtf8();
        writeCommand("AUTH PLAIN " + credentials.toBase64());
        m_state = State::Authenticating;
    } else {
        writeCommand("AUTH LOGIN");
        m_state = State::UserNameAsked;
    }
}

void MMailSmtp::writeCommand(const QByteArray& command)
{
    m_socket->write(command + "\r\n");
    m_socket->flush();
}

// The message already ends its lines in CR LF and carries its dot-stuffing;
// it goes out in blocks as the socket drains, then the end of data.
void MMailSmtp::writeMessage()
{
    while (m_message && bytesToWrite() < kWriteAhead) {
        if (m_message->atEnd()) {
            m_socket->write("\r\n.\r\n");
            m_message.reset();
            break;
        }
        const QByteArray block = m_message->nextBlock();
        if (m_message->readFailed()) {
            m_message.reset();
            abortDialogue();
            return;
        }
        m_socket->write(block);
    }
}

// Over TLS the socket holds the text still to encrypt and the encrypted bytes still to send.
qint64 MMailSmtp::bytesToWrite() const
{
    return m_socket->bytesToWrite() + m_socket->encryptedBytesToWrite();
}

// Each step has its own limit; once the dialogue is over nothing more is awaited.
void MMailSmtp::restartReplyTimer()
{
    if (m_state == State::QuitSent || m_state == State::Finished)
        return;
    m_replyTimer.start(qMax(1, int(timeLimit() * m_timeScale)));
}

int MMailSmtp::timeLimit() const
{
    switch (m_state) {
    case State::MessageExpected:
        return kDataStartLimit;
    case State::MessageSent:
        return m_message || bytesToWrite() > 0 ? kDataBlockLimit : kDataEndLimit;
    default:
        return kReplyLimit;
    }
}

void MMailSmtp::fail()
{
    finish(SendingFailed, tr("Błąd podczas wysyłania wiadomości."));
}

// The server's own words say why it refused a step ("535 5.7.8 Authentication
// failed"): they go beneath the message, as plain text.
void MMailSmtp::failWithReply(const QList<QByteArray>& lines)
{
    QStringList reply;
    for (const QByteArray& line : lines)
        reply.append(QString::fromUtf8(line).trimmed());
    finish(SendingFailed, tr("Błąd podczas wysyłania wiadomości.") + QStringLiteral("\n")
           + tr("Odpowiedź serwera: %1").arg(reply.join(QLatin1Char(' '))));
}

// Ends the dialogue as failed: a server still listening is told so with QUIT and
// the connection is closed instead of being left open.
void MMailSmtp::finish(int code, const QString& reason)
{
    const bool talking = m_state != State::Encrypting && m_socket->state() == QAbstractSocket::ConnectedState;
    m_state = State::Finished;
    m_replyTimer.stop();
    m_message.reset();
    if (talking) {
        m_socket->write("QUIT\r\n");
        m_socket->disconnectFromHost();
    }
    emit status(code, reason);
}

QByteArray MMailSmtp::expectedCode(State state)
{
    switch (state) {
    case State::WaitingForGreeting:
    case State::StartTlsSent:
        return "220";
    case State::UserNameAsked:
    case State::PasswordAsked:
        return "334";
    case State::Authenticating:
        return "235";
    case State::MessageExpected:
        return "354";
    case State::FirstEhloSent:
    case State::SecondEhloSent:
    case State::SenderAccepted:
    case State::CopyToAdd:
    case State::RecipientsComplete:
    case State::MessageSent:
        return "250";
    case State::Encrypting:
    case State::QuitSent:
    case State::Finished:
        break;
    }
    // No reply is awaited while the TLS handshake runs.
    return QByteArray();
}

bool MMailSmtp::offersOnlyPlainLogin(const QList<QByteArray>& ehloReply)
{
    QList<QByteArray> mechanisms;
    for (const QByteArray& line : ehloReply) {
        const QByteArray keyword = line.mid(4).trimmed().toUpper();
        if (keyword.startsWith("AUTH ") || keyword.startsWith("AUTH="))
            mechanisms += keyword.mid(5).simplified().split(' ');
    }
    return mechanisms.contains("PLAIN") && !mechanisms.contains("LOGIN");
}

bool MMailSmtp::offersStartTls(const QList<QByteArray>& ehloReply)
{
    for (const QByteArray& line : ehloReply) {
        if (line.mid(4).trimmed().toUpper() == "STARTTLS")
            return true;
    }
    return false;
}
