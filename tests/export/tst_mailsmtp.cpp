#include "MTestEnvironment.h"
#include "MTrustedTestCa.h"
#include "export/MMailSmtp.h"

#include <QApplication>
#include <QHostInfo>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QtTest>

#include <optional>

// Hands out every connection as a QSslSocket that carries the test
// certificate, so that a scripted server can go over to TLS.
class MSslTcpServer : public QTcpServer
{
    Q_OBJECT

protected:
    void incomingConnection(qintptr socketDescriptor) override
    {
        auto* socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(socketDescriptor)) {
            delete socket;
            return;
        }
        socket->setLocalCertificate(QFINDTESTDATA("data/smtp-test.pem"));
        QFile key(QFINDTESTDATA("data/smtp-test.key"));
        if (key.open(QIODevice::ReadOnly))
            socket->setPrivateKey(QSslKey(&key, QSsl::Rsa));
        addPendingConnection(socket);
    }
};

// A one-connection SMTP server that answers from a script: the first reply is
// the greeting, each further one answers the next command line, or the whole
// message after a 354. A 220 that answers STARTTLS is followed by the TLS
// handshake, recorded among the commands as "<tls>"; a server on the implicit
// TLS port shakes hands before its greeting. Once the script has run
// out, a further command is met with silence or with the connection closed.
class MScriptedSmtpServer : public QObject
{
    Q_OBJECT

public:
    enum Ending { KeepSilent, CloseConnection };

    MScriptedSmtpServer(const QList<QByteArray>& replies, Ending ending, bool byteByByte, quint16 port = 0)
        : m_replies(replies)
        , m_ending(ending)
        , m_byteByByte(byteByByte)
        , m_implicitTls(port == kImplicitTlsPort)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &MScriptedSmtpServer::doNewConnectionServer);
        connect(&m_byteTimer, &QTimer::timeout, this, &MScriptedSmtpServer::doTimeoutByteTimer);
        m_byteTimer.setInterval(2);
        m_server.listen(QHostAddress::LocalHost, port);
    }

    static constexpr quint16 kImplicitTlsPort = 465;

    quint16 port() const { return m_server.serverPort(); }
    // The command lines without their CR LF; a message sent after DATA is one entry "<message>",
    // a finished TLS handshake one entry "<tls>".
    QList<QByteArray> commands() const { return m_commands; }
    QByteArray message() const { return m_message; }
    int connectionCount() const { return m_connectionCount; }

    // Takes at most `bytes` of the client's data every 50 ms, as a slow line would.
    void readSlowly(int bytes) { m_slowChunk = bytes; }
    // Answers the end of the message only after `milliseconds`.
    void delayAnswerToMessage(int milliseconds) { m_messageDelay = milliseconds; }
    bool peerDisconnected() const { return m_peerDisconnected; }

private:
    void doNewConnectionServer()
    {
        ++m_connectionCount;
        m_peer = qobject_cast<QSslSocket*>(m_server.nextPendingConnection());
        if (m_slowChunk > 0) {
            m_peer->setReadBufferSize(m_slowChunk);
            m_peer->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, m_slowChunk);
            connect(&m_readTimer, &QTimer::timeout, this, &MScriptedSmtpServer::doTimeoutReadTimer);
            m_readTimer.start(50);
        } else {
            connect(m_peer, &QSslSocket::readyRead, this, &MScriptedSmtpServer::doReadyReadPeer);
        }
        connect(m_peer, &QSslSocket::disconnected, this, [this] { m_peerDisconnected = true; });
        connect(m_peer, &QSslSocket::encrypted, this, [this] {
            m_commands.append("<tls>");
            if (m_implicitTls)
                sendNextReply();
        });
        if (m_implicitTls)
            m_peer->startServerEncryption();
        else
            sendNextReply();
    }

    void doReadyReadPeer()
    {
        m_received += m_peer->readAll();
        takeLines();
    }

    void doTimeoutReadTimer()
    {
        m_received += m_peer->read(m_slowChunk);
        takeLines();
    }

    void takeLines()
    {
        int start = 0;
        for (int end = m_received.indexOf("\r\n"); end >= 0; end = m_received.indexOf("\r\n", start)) {
            const QByteArray line = m_received.mid(start, end - start);
            start = end + 2;
            if (m_inData) {
                if (line != ".") {
                    m_message += line + "\r\n";
                    continue;
                }
                m_inData = false;
                m_commands.append("<message>");
                if (m_messageDelay > 0 && !m_replies.isEmpty()) {
                    QTimer::singleShot(m_messageDelay, this, &MScriptedSmtpServer::sendNextReply);
                    continue;
                }
            } else {
                m_commands.append(line);
            }
            if (m_replies.isEmpty()) {
                if (m_ending == CloseConnection)
                    m_peer->disconnectFromHost();
                break;
            }
            sendNextReply();
        }
        m_received.remove(0, start);
    }

    void sendNextReply()
    {
        const QByteArray reply = m_replies.takeFirst();
        m_inData = reply.startsWith("354");
        m_tlsAfterReply = reply.startsWith("220") && !m_commands.isEmpty() && m_commands.last() == "STARTTLS";
        if (!m_byteByByte) {
            m_peer->write(reply);
            replyWritten();
            return;
        }
        m_pending += reply;
        m_byteTimer.start();
    }

    void doTimeoutByteTimer()
    {
        m_peer->write(m_pending.left(1));
        m_peer->flush();
        m_pending.remove(0, 1);
        if (m_pending.isEmpty()) {
            m_byteTimer.stop();
            replyWritten();
        }
    }

    void replyWritten()
    {
        if (m_tlsAfterReply)
            m_peer->startServerEncryption();
    }

    MSslTcpServer m_server;
    QSslSocket* m_peer = nullptr;
    QList<QByteArray> m_replies;
    Ending m_ending;
    bool m_byteByByte;
    bool m_implicitTls;
    bool m_tlsAfterReply = false;
    QTimer m_byteTimer;
    int m_slowChunk = 0;
    QTimer m_readTimer;
    int m_messageDelay = 0;
    QByteArray m_pending;
    QByteArray m_received;
    bool m_inData = false;
    QList<QByteArray> m_commands;
    QByteArray m_message;
    int m_connectionCount = 0;
    bool m_peerDisconnected = false;
};

// The greeting names this machine, as the client gives it.
const QByteArray ehlo =
    "EHLO " + (QHostInfo::localHostName().isEmpty() ? QByteArray("localhost") : QHostInfo::localHostName().toUtf8());

// A login starts with the greeting, the EHLO that finds STARTTLS and the switch to TLS.
QList<QByteArray> overTls(const QList<QByteArray>& replies)
{
    return QList<QByteArray>{"220 mail.beta.pl ESMTP\r\n", "250-mail.beta.pl\r\n250-STARTTLS\r\n250 8BITMIME\r\n",
                             "220 2.0.0 Ready to start TLS\r\n"}
           + replies;
}

QList<QByteArray> commandsOverTls(const QList<QByteArray>& commands)
{
    return QList<QByteArray>{ehlo, "STARTTLS", "<tls>"} + commands;
}

class TestMailSmtp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dialogue_data();
    void dialogue();
    void encryptedDialogue_data();
    void encryptedDialogue();
    void tlsThatCannotStartEndsTheSend();
    void noLoginWithoutEncryption_data();
    void noLoginWithoutEncryption();
    void looseReplyCodesFail_data();
    void looseReplyCodesFail();
    void endlessRepliesEndTheSend_data();
    void endlessRepliesEndTheSend();
    void addressesThatCouldCarryCommandsAreRefused_data();
    void addressesThatCouldCarryCommandsAreRefused();
    void clientClosesAfterTheGoodbye();
    void plainOnlyServerGetsAuthPlain();
    void refusedStepShowsTheServersWords();
    void silentServerTimesOut();
    void slowServersAreWaitedFor_data();
    void slowServersAreWaitedFor();
    void unreachableServer_data();
    void unreachableServer();
    void unreadableAttachmentIsReported();

private:
    std::optional<MTrustedTestCa> m_trust;

    static QList<int> codes(const QSignalSpy& spy);
    static void send(MMailSmtp& client, const QString& copyAddress = QString(),
                     const QStringList& attachmentPaths = QStringList());
};

// Every client of a test trusts the scripted servers' certificate.
void TestMailSmtp::init()
{
    m_trust.emplace(QFINDTESTDATA("data/smtp-test.pem"));
}

void TestMailSmtp::cleanup()
{
    m_trust.reset();
}

QList<int> TestMailSmtp::codes(const QSignalSpy& spy)
{
    QList<int> result;
    for (const QList<QVariant>& arguments : spy)
        result.append(arguments.at(0).toInt());
    return result;
}

void TestMailSmtp::send(MMailSmtp& client, const QString& copyAddress, const QStringList& attachmentPaths)
{
    client.sendMail(QStringLiteral("Alfa"), QStringLiteral("biuro@alfa.pl"), QStringLiteral("jan@beta.pl"),
                    copyAddress, QStringLiteral("Faktura"), QStringLiteral("W załączeniu faktura."), attachmentPaths,
                    QStringList(QStringLiteral("faktura.pdf")));
}

void TestMailSmtp::dialogue_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<bool>("byteByByte");
    QTest::addColumn<int>("ending");
    QTest::addColumn<QString>("copyAddress");
    QTest::addColumn<QList<QByteArray>>("commands");
    QTest::addColumn<QList<int>>("codes");

    const QList<QByteArray> login =
        commandsOverTls({ehlo, "AUTH LOGIN", "amFuLm5vd2FrQGFsZmEucGw=", "VGFqbmUgaGFzxYJv"});
    QList<QByteArray> loggedIn = overTls({"250-mail.beta.pl\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n",
                                          "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n",
                                          "235 2.7.0 Authentication successful\r\n"});
    loggedIn.first() = "220-mail.beta.pl ESMTP\r\n220 ready\r\n";
    const QList<QByteArray> delivered = loggedIn
                                        + QList<QByteArray>{"250 2.1.0 Ok\r\n", "250 2.1.5 Ok\r\n",
                                                            "354 End data with <CR><LF>.<CR><LF>\r\n",
                                                            "250 2.0.0 Ok: queued\r\n"};
    const QList<QByteArray> sent = login
                                   + QList<QByteArray>{"MAIL FROM:<biuro@alfa.pl>", "RCPT TO:<jan@beta.pl>", "DATA",
                                                       "<message>", "QUIT"};

    QTest::newRow("multi-line replies in one delivery each")
        << delivered << false << int(MScriptedSmtpServer::CloseConnection) << QString() << sent
        << QList<int>{10, 11, 0};
    QTest::newRow("replies split into single bytes")
        << delivered << true << int(MScriptedSmtpServer::CloseConnection) << QString() << sent
        << QList<int>{10, 11, 0};

    QList<QByteArray> withCopy = delivered;
    withCopy.insert(9, "250 2.1.5 Ok\r\n");
    QList<QByteArray> sentWithCopy = sent;
    sentWithCopy.insert(9, "RCPT TO:<kopia@alfa.pl>");
    QTest::newRow("copy address after the recipient")
        << withCopy << false << int(MScriptedSmtpServer::CloseConnection) << QStringLiteral("kopia@alfa.pl")
        << sentWithCopy << QList<int>{10, 11, 0};

    QList<QByteArray> refused = loggedIn;
    refused.last() = "535 5.7.8 Authentication failed\r\n250 2.0.0 Ok\r\n";
    QTest::newRow("refused login, later reply ignored")
        << refused << false << int(MScriptedSmtpServer::KeepSilent) << QString() << login + QList<QByteArray>{"QUIT"}
        << QList<int>{10, 50};

    QTest::newRow("greeting code in reply to EHLO")
        << QList<QByteArray>{"220 ready\r\n", "220 ready\r\n"} << false << int(MScriptedSmtpServer::KeepSilent)
        << QString() << QList<QByteArray>{ehlo, "QUIT"} << QList<int>{50};
    QTest::newRow("server closes the connection")
        << QList<QByteArray>{"220 ready\r\n"} << false << int(MScriptedSmtpServer::CloseConnection) << QString()
        << QList<QByteArray>{ehlo} << QList<int>{101};
    QTest::newRow("offered TLS that fails to start is not bypassed")
        << QList<QByteArray>{"220 ready\r\n", "250-mail.beta.pl\r\n250-STARTTLS\r\n250 AUTH LOGIN\r\n",
                             "454 4.7.0 TLS not available\r\n"}
        << false << int(MScriptedSmtpServer::KeepSilent) << QString()
        << QList<QByteArray>{ehlo, "STARTTLS", "QUIT"} << QList<int>{50};
}

void TestMailSmtp::dialogue()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(bool, byteByByte);
    QFETCH(int, ending);
    QFETCH(QString, copyAddress);
    QFETCH(QList<QByteArray>, commands);
    QFETCH(QList<int>, codes);

    MScriptedSmtpServer server(replies, MScriptedSmtpServer::Ending(ending), byteByByte);
    QVERIFY(server.port() != 0);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client, copyAddress);

    QTRY_COMPARE(TestMailSmtp::codes(spy), codes);
    QCOMPARE(server.commands(), commands);
    if (codes.contains(MMailSmtp::MessageSent)) {
        QVERIFY(server.message().startsWith("Date: "));
        QVERIFY(server.message().endsWith("--\r\n\r\n"));
    }
}

void TestMailSmtp::encryptedDialogue_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QList<QByteArray>>("commands");

    const QList<QByteArray> loggingIn = {"250-mail.beta.pl\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n",
                                         "334 VXNlcm5hbWU6\r\n",
                                         "334 UGFzc3dvcmQ6\r\n",
                                         "235 2.7.0 Authentication successful\r\n",
                                         "250 2.1.0 Ok\r\n",
                                         "250 2.1.5 Ok\r\n",
                                         "354 End data with <CR><LF>.<CR><LF>\r\n",
                                         "250 2.0.0 Ok: queued\r\n"};
    const QList<QByteArray> login = {ehlo, "AUTH LOGIN", "amFuLm5vd2FrQGFsZmEucGw=", "VGFqbmUgaGFzxYJv",
                                     "MAIL FROM:<biuro@alfa.pl>", "RCPT TO:<jan@beta.pl>", "DATA", "<message>",
                                     "QUIT"};
    const QList<QByteArray> offer = {"220 mail.beta.pl ESMTP\r\n",
                                     "250-mail.beta.pl\r\n250-STARTTLS\r\n250 8BITMIME\r\n"};

    QTest::newRow("go-ahead alone") << 0 << offer + QList<QByteArray>{"220 2.0.0 Ready to start TLS\r\n"} + loggingIn
                                    << QList<QByteArray>{ehlo, "STARTTLS", "<tls>"} + login;
    // A reply slipped in before the handshake must not count as an answer.
    QTest::newRow("plain text after the go-ahead is dropped")
        << 0 << offer + QList<QByteArray>{"220 2.0.0 Ready to start TLS\r\n334 VXNlcm5hbWU6\r\n"} + loggingIn
        << QList<QByteArray>{ehlo, "STARTTLS", "<tls>"} + login;
    // Port 465 speaks TLS from the first byte: the greeting comes encrypted and no STARTTLS is asked for.
    QTest::newRow("TLS from the first byte on port 465")
        << int(MScriptedSmtpServer::kImplicitTlsPort)
        << QList<QByteArray>{"220 mail.beta.pl ESMTP\r\n"} + loggingIn << QList<QByteArray>{"<tls>"} + login;
}

void TestMailSmtp::encryptedDialogue()
{
    QFETCH(int, port);
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QList<QByteArray>, commands);
    QVERIFY(QSslSocket::supportsSsl());

    MScriptedSmtpServer server(replies, MScriptedSmtpServer::CloseConnection, false, quint16(port));
    if (port != 0 && server.port() != port)
        QSKIP("this port of the loopback interface cannot be taken here");
    QVERIFY(server.port() != 0);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_COMPARE(codes(spy), (QList<int>{10, 11, 0}));
    QCOMPARE(server.commands(), commands);
    QVERIFY(server.message().startsWith("Date: "));
}

void TestMailSmtp::tlsThatCannotStartEndsTheSend()
{
    MScriptedSmtpServer server({"220 ready\r\n", "250-mail.beta.pl\r\n250 STARTTLS\r\n", "220 go ahead\r\n"},
                               MScriptedSmtpServer::KeepSilent, false);
    // A protocol that no TLS library offers any more keeps the switch from starting at all.
    const QSslConfiguration original = QSslConfiguration::defaultConfiguration();
    QSslConfiguration unusable = original;
    unusable.setProtocol(QSsl::SslV2);
    QSslConfiguration::setDefaultConfiguration(unusable);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSslConfiguration::setDefaultConfiguration(original);
    client.setTimeScale(0.001);
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_VERIFY(server.peerDisconnected());
    QCOMPARE(codes(spy), QList<int>{MMailSmtp::SocketErrorBase + QAbstractSocket::SslInvalidUserDataError});
    QVERIFY(!spy.at(0).at(1).toString().isEmpty());
    QCOMPARE(server.commands(), (QList<QByteArray>{ehlo, "STARTTLS"}));
    // Past the reply time-out: the failed switch stays the only report.
    QTest::qWait(500);
    QCOMPARE(spy.size(), 1);
}

void TestMailSmtp::noLoginWithoutEncryption_data()
{
    QTest::addColumn<QByteArray>("ehloReply");

    QTest::newRow("logins offered, no STARTTLS") << QByteArray("250-mail.beta.pl\r\n250 AUTH LOGIN PLAIN\r\n");
    QTest::newRow("no extensions at all") << QByteArray("250 mail.beta.pl\r\n");
    // Only a keyword line of its own offers the switch.
    QTest::newRow("STARTTLS named in the greeting text")
        << QByteArray("250-mail.beta.pl wants STARTTLS\r\n250 AUTH LOGIN\r\n");
}

// Without an encrypted connection neither the login nor the password leaves
// the machine: the send ends before AUTH with a report of its own.
void TestMailSmtp::noLoginWithoutEncryption()
{
    QFETCH(QByteArray, ehloReply);

    MScriptedSmtpServer server({"220 ready\r\n", ehloReply, "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n"},
                               MScriptedSmtpServer::KeepSilent, false);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_COMPARE(codes(spy), QList<int>{MMailSmtp::EncryptionUnavailable});
    QCOMPARE(spy.at(0).at(1).toString(),
             QStringLiteral("Serwer poczty nie oferuje szyfrowanego połączenia (STARTTLS); hasło nie zostało wysłane."));
    QTRY_VERIFY(server.peerDisconnected());
    QCOMPARE(server.commands(), (QList<QByteArray>{ehlo, "QUIT"}));
}

void TestMailSmtp::looseReplyCodesFail_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QList<QByteArray>>("commands");
    QTest::addColumn<QList<int>>("codes");

    const QByteArray ehloReply = "250-mail.beta.pl\r\n250 AUTH LOGIN\r\n";
    QTest::newRow("four digits in the greeting") << QList<QByteArray>{"2201 weird\r\n"} << QList<QByteArray>{"QUIT"}
                                                 << QList<int>{50};
    QTest::newRow("code run into text") << QList<QByteArray>{"220 ready\r\n", "250garbage\r\n"}
                                        << QList<QByteArray>{ehlo, "QUIT"} << QList<int>{50};
    QTest::newRow("code followed by a digit") << QList<QByteArray>{"220 ready\r\n", "2509\r\n"}
                                              << QList<QByteArray>{ehlo, "QUIT"} << QList<int>{50};
    QTest::newRow("lines of a reply with different codes")
        << overTls({ehloReply, "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n", "235 ok\r\n", "250 ok\r\n",
                    "550-5.1.1 no such user\r\n250 ok\r\n"})
        << commandsOverTls({ehlo, "AUTH LOGIN", "amFuLm5vd2FrQGFsZmEucGw=", "VGFqbmUgaGFzxYJv",
                            "MAIL FROM:<biuro@alfa.pl>", "RCPT TO:<jan@beta.pl>", "QUIT"})
        << QList<int>{10, 50};
}

// A reply line is three digits and a blank, a hyphen or the line end, and every
// line of a reply carries one code; anything looser ends the send at that step.
void TestMailSmtp::looseReplyCodesFail()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QList<QByteArray>, commands);
    QFETCH(QList<int>, codes);

    MScriptedSmtpServer server(replies, MScriptedSmtpServer::KeepSilent, false);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_COMPARE(TestMailSmtp::codes(spy), codes);
    QTRY_COMPARE(server.commands(), commands);
    QTRY_VERIFY(server.peerDisconnected());
}

void TestMailSmtp::endlessRepliesEndTheSend_data()
{
    QTest::addColumn<QByteArray>("greeting");

    QTest::newRow("greeting without a line end") << QByteArray(200000, 'x');
    QByteArray continuation;
    for (int i = 0; i < 5000; ++i)
        continuation += "220-still greeting\r\n";
    QTest::newRow("flood of continuation lines") << continuation;
}

// However much a server sends, a reply line or a reply that no real server
// sends ends the send instead of growing without bound.
void TestMailSmtp::endlessRepliesEndTheSend()
{
    QFETCH(QByteArray, greeting);

    MScriptedSmtpServer server({greeting}, MScriptedSmtpServer::KeepSilent, false);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_COMPARE(codes(spy), QList<int>{MMailSmtp::SendingFailed});
    QTRY_VERIFY(server.peerDisconnected());
    QCOMPARE(server.commands(), QList<QByteArray>());
}

void TestMailSmtp::addressesThatCouldCarryCommandsAreRefused_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("recipient");
    QTest::addColumn<QString>("copy");

    const QString sender = QStringLiteral("biuro@alfa.pl");
    const QString recipient = QStringLiteral("jan@beta.pl");
    QTest::newRow("second transaction in the sender")
        << sender + QStringLiteral(">\r\nRCPT TO:<obcy@gamma.pl") << recipient << QString();
    QTest::newRow("extra recipient after a line feed")
        << sender << recipient + QStringLiteral("\nRCPT TO:<obcy@gamma.pl>") << QString();
    QTest::newRow("carriage return in the copy") << sender << recipient << QStringLiteral("kopia@alfa.pl\r");
    QTest::newRow("angle bracket in the copy") << sender << recipient << QStringLiteral("kopia>@alfa.pl");
}

// An address that could end its command line is refused before any connection is made.
void TestMailSmtp::addressesThatCouldCarryCommandsAreRefused()
{
    QFETCH(QString, sender);
    QFETCH(QString, recipient);
    QFETCH(QString, copy);

    MScriptedSmtpServer server({"220 ready\r\n"}, MScriptedSmtpServer::KeepSilent, false);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    client.sendMail(QStringLiteral("Alfa"), sender, recipient, copy, QStringLiteral("Faktura"),
                    QStringLiteral("W załączeniu faktura."), QStringList(), QStringList());
    QSignalSpy spy(&client, &MMailSmtp::status);

    QTRY_COMPARE(codes(spy), QList<int>{MMailSmtp::SendingFailed});
    QVERIFY2(spy.at(0).at(1).toString().startsWith(QStringLiteral("Adres e-mail zawiera niedozwolone znaki")),
             qPrintable(spy.at(0).at(1).toString()));
    QTest::qWait(100);
    QCOMPARE(server.connectionCount(), 0);
}

// After the server's goodbye the client closes the connection itself.
void TestMailSmtp::clientClosesAfterTheGoodbye()
{
    const QByteArray ehloReply = "250-mail.beta.pl\r\n250 AUTH LOGIN\r\n";
    MScriptedSmtpServer server(overTls({ehloReply, "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n", "235 ok\r\n",
                                        "250 ok\r\n", "250 ok\r\n", "354 go on\r\n", "250 queued\r\n",
                                        "221 bye\r\n"}),
                               MScriptedSmtpServer::KeepSilent, false);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_COMPARE(codes(spy), (QList<int>{10, 11, 0}));
    QTRY_VERIFY(server.peerDisconnected());
    QCOMPARE(server.commands().last(), QByteArray("QUIT"));
}

// A server that offers PLAIN and not LOGIN is logged in with PLAIN, in one step.
void TestMailSmtp::plainOnlyServerGetsAuthPlain()
{
    const QByteArray ehloReply = "250-mail.beta.pl\r\n250 AUTH PLAIN\r\n";
    MScriptedSmtpServer server(overTls({ehloReply, "235 ok\r\n", "250 ok\r\n", "250 ok\r\n", "354 go on\r\n",
                                        "250 queued\r\n"}),
                               MScriptedSmtpServer::CloseConnection, false);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_COMPARE(codes(spy), (QList<int>{10, 11, 0}));
    const QByteArray credentials = QByteArray("\0jan.nowak@alfa.pl\0", 19) + QStringLiteral("Tajne hasło").toUtf8();
    QCOMPARE(server.commands(),
             commandsOverTls({ehlo, "AUTH PLAIN " + credentials.toBase64(), "MAIL FROM:<biuro@alfa.pl>",
                              "RCPT TO:<jan@beta.pl>", "DATA", "<message>", "QUIT"}));
}

void TestMailSmtp::refusedStepShowsTheServersWords()
{
    const QByteArray ehloReply = "250-mail.beta.pl\r\n250 AUTH LOGIN\r\n";
    MScriptedSmtpServer server(overTls({ehloReply, "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n",
                                        "535 5.7.8 Authentication failed\r\n"}),
                               MScriptedSmtpServer::KeepSilent, false);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_COMPARE(codes(spy), (QList<int>{10, 50}));
    QCOMPARE(spy.at(1).at(1).toString(), QStringLiteral("Błąd podczas wysyłania wiadomości.\n"
                                                        "Odpowiedź serwera: 535 5.7.8 Authentication failed"));
}

void TestMailSmtp::silentServerTimesOut()
{
    MScriptedSmtpServer server({"220 ready\r\n"}, MScriptedSmtpServer::KeepSilent, false);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    // Five minutes for the greeting, cut to 300 ms.
    client.setTimeScale(0.001);
    QSignalSpy spy(&client, &MMailSmtp::status);
    QElapsedTimer clock;
    clock.start();
    send(client);

    QTRY_COMPARE(codes(spy), QList<int>{MMailSmtp::SendingFailed});
    QVERIFY(clock.elapsed() >= 300);
    QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("Błąd podczas wysyłania wiadomości."));
    QCOMPARE(server.commands(), QList<QByteArray>{ehlo});
    QTRY_VERIFY(server.peerDisconnected());
}

void TestMailSmtp::slowServersAreWaitedFor_data()
{
    QTest::addColumn<double>("timeScale");
    QTest::addColumn<int>("attachmentSize");
    QTest::addColumn<int>("readChunk");
    QTest::addColumn<int>("messageDelay");
    QTest::addColumn<QList<int>>("codes");

    // At a scale of 0.01 five minutes for a reply are 3 s and three for a block
    // of the message 1.8 s. The message is far larger than what the loopback
    // connection buffers (some 4 MB), so it leaves for as long as the reader takes.
    QTest::newRow("slow but steady reader past five minutes")
        << 0.01 << 12000000 << 200000 << 0 << QList<int>{10, 11, 0};
    // At a scale of 0.004 ten minutes for the answer to the end are 2.4 s.
    QTest::newRow("answer to the end after seven and a half minutes")
        << 0.004 << 1000 << 0 << 1800 << QList<int>{10, 11, 0};
    QTest::newRow("no answer to the end within ten minutes")
        << 0.004 << 1000 << 0 << 3600 << QList<int>{10, 11, 50};
}

// The time limits run from the last sign of life: bytes the server took, or
// a reply line it sent. A server that is slow but working is not given up.
void TestMailSmtp::slowServersAreWaitedFor()
{
    QFETCH(double, timeScale);
    QFETCH(int, attachmentSize);
    QFETCH(int, readChunk);
    QFETCH(int, messageDelay);
    QFETCH(QList<int>, codes);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString attachment = folder.filePath(QStringLiteral("skan.bin"));
    QFile file(attachment);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray bytes(attachmentSize, Qt::Uninitialized);
    for (int i = 0; i < attachmentSize; ++i)
        bytes[i] = char((i * 7919) >> 3);
    QCOMPARE(file.write(bytes), qint64(attachmentSize));
    file.close();

    const QByteArray ehloReply = "250-mail.beta.pl\r\n250 AUTH LOGIN\r\n";
    MScriptedSmtpServer server(overTls({ehloReply, "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n", "235 ok\r\n",
                                        "250 ok\r\n", "250 ok\r\n", "354 go on\r\n", "250 queued\r\n"}),
                               MScriptedSmtpServer::CloseConnection, false);
    server.readSlowly(readChunk);
    server.delayAnswerToMessage(messageDelay);
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    client.setTimeScale(timeScale);
    QSignalSpy spy(&client, &MMailSmtp::status);
    QElapsedTimer clock;
    clock.start();
    send(client, QString(), QStringList(attachment));

    QTRY_COMPARE_WITH_TIMEOUT(TestMailSmtp::codes(spy), codes, 30000);
    // The slow reader must outlast the limit of a reply, or it proves nothing.
    if (readChunk > 0)
        QVERIFY2(clock.elapsed() > 5 * 60 * 1000 * timeScale, QByteArray::number(clock.elapsed()).constData());
    if (codes.last() == MMailSmtp::MessageSent)
        QVERIFY(server.message().size() > attachmentSize * 4 / 3);
}

void TestMailSmtp::unreachableServer_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("code");

    QTest::newRow("connection refused") << QStringLiteral("127.0.0.1")
                                        << MMailSmtp::SocketErrorBase + QAbstractSocket::ConnectionRefusedError;
    // An empty label makes the name invalid before any name server is asked.
    QTest::newRow("server name that cannot be resolved")
        << QStringLiteral("serwer..alfa.pl") << MMailSmtp::SocketErrorBase + QAbstractSocket::HostNotFoundError;
    QTest::newRow("no server name") << QString() << MMailSmtp::SocketErrorBase + QAbstractSocket::HostNotFoundError;
}

void TestMailSmtp::unreachableServer()
{
    QFETCH(QString, server);
    QFETCH(int, code);

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();

    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"), server, port);
    client.setTimeScale(0.002);
    QSignalSpy spy(&client, &MMailSmtp::status);
    send(client);

    QTRY_COMPARE(codes(spy), QList<int>{code});
    QVERIFY(!spy.at(0).at(1).toString().isEmpty());
    // The connection is gone, so the time-out must not report the send a second time.
    QTest::qWait(700);
    QCOMPARE(spy.size(), 1);
}

void TestMailSmtp::unreadableAttachmentIsReported()
{
    MScriptedSmtpServer server({"220 ready\r\n"}, MScriptedSmtpServer::KeepSilent, false);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MMailSmtp client(QStringLiteral("jan.nowak@alfa.pl"), QStringLiteral("Tajne hasło"),
                     QStringLiteral("127.0.0.1"), server.port());
    // The caller connects to the status only after sendMail has returned.
    send(client, QString(), QStringList(folder.path()));
    QSignalSpy spy(&client, &MMailSmtp::status);

    QTRY_COMPARE(codes(spy), QList<int>{MMailSmtp::SendingFailed});
    QCOMPARE(server.connectionCount(), 0);
}

INVOICE_TEST_MAIN(TestMailSmtp)
#include "tst_mailsmtp.moc"
