// Sends an e-mail message with a 20 MB attachment through an SMTP server on
// the loopback interface (in this process, STARTTLS with the test certificate)
// and prints the growth of the process's peak memory over the file's size and
// the longest time the event loop was held, which is how long the window
// would stop answering.
#include "export/MMailSmtp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

const QString kCertificate = QStringLiteral(INVOICE_BENCH_DATA "/smtp-test.pem");
const QString kKey = QStringLiteral(INVOICE_BENCH_DATA "/smtp-test.key");

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
qint64 statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Answers one client as a willing server would and throws the message away.
class MSinkSmtpServer : public QTcpServer
{
public:
    MSinkSmtpServer() { listen(QHostAddress::LocalHost); }

protected:
    void incomingConnection(qintptr socketDescriptor) override
    {
        m_peer = new QSslSocket(this);
        m_peer->setSocketDescriptor(socketDescriptor);
        m_peer->setLocalCertificate(kCertificate);
        QFile key(kKey);
        if (key.open(QIODevice::ReadOnly))
            m_peer->setPrivateKey(QSslKey(&key, QSsl::Rsa));
        connect(m_peer, &QSslSocket::readyRead, this, [this] { take(m_peer->readAll()); });
        m_peer->write("220 ready\r\n");
    }

private:
    void take(const QByteArray& bytes)
    {
        if (m_inData) {
            // Only the end of the data matters, and it may be split between reads.
            m_tail = QByteArray(m_tail + bytes).right(5);
            if (m_tail == "\r\n.\r\n") {
                m_inData = false;
                m_peer->write("250 queued\r\n");
            }
            return;
        }
        m_received += bytes;
        for (int end = m_received.indexOf("\r\n"); end >= 0 && !m_inData; end = m_received.indexOf("\r\n")) {
            const QByteArray command = m_received.left(end);
            m_received.remove(0, end + 2);
            answer(command);
        }
    }

    void answer(const QByteArray& command)
    {
        // AUTH LOGIN: the user name and the password are asked for, then the login is accepted.
        if (m_loginStep > 0) {
            m_peer->write(++m_loginStep < 3 ? "334 ok\r\n" : "235 ok\r\n");
            if (m_loginStep == 3)
                m_loginStep = 0;
        } else if (command == "AUTH LOGIN") {
            m_loginStep = 1;
            m_peer->write("334 ok\r\n");
        } else if (command.startsWith("EHLO")) {
            m_peer->write(m_peer->isEncrypted() ? "250-localhost\r\n250 AUTH LOGIN\r\n"
                                                : "250-localhost\r\n250 STARTTLS\r\n");
        } else if (command == "STARTTLS") {
            m_peer->write("220 go ahead\r\n");
            m_peer->startServerEncryption();
        } else if (command == "DATA") {
            m_peer->write("354 go on\r\n");
            m_inData = true;
        } else if (command == "QUIT") {
            m_peer->write("221 bye\r\n");
            m_peer->disconnectFromHost();
        } else {
            m_peer->write("250 ok\r\n");
        }
    }

    QSslSocket* m_peer = nullptr;
    QByteArray m_received;
    QByteArray m_tail;
    bool m_inData = false;
    int m_loginStep = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    constexpr qint64 fileSize = 20 * 1024 * 1024;

    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("skan.pdf")));
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write the attachment\n");
        return 1;
    }
    QRandomGenerator random(39);
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    for (qint64 written = 0; written < fileSize; written += chunk.size()) {
        random.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
        file.write(chunk);
    }
    file.close();
    chunk = QByteArray();

    QSslConfiguration trusting = QSslConfiguration::defaultConfiguration();
    trusting.addCaCertificates(kCertificate);
    QSslConfiguration::setDefaultConfiguration(trusting);
    MSinkSmtpServer server;
    MMailSmtp client(QStringLiteral("jan"), QStringLiteral("hasło"), QStringLiteral("127.0.0.1"),
                     server.serverPort());

    // A tick every 5 ms: the longest gap between two is the longest hold of the loop.
    // Logging in loads the TLS library and shakes hands; the transfer is counted on its own.
    QElapsedTimer sinceTick;
    qint64 longestHold = 0;
    qint64 longestHoldInTransfer = 0;
    bool transferring = false;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 hold = sinceTick.nsecsElapsed();
        longestHold = std::max(longestHold, hold);
        if (transferring)
            longestHoldInTransfer = std::max(longestHoldInTransfer, hold);
        sinceTick.restart();
    });

    int result = 1;
    QObject::connect(&client, &MMailSmtp::status, [&](int code, const QString& text) {
        transferring = code == MMailSmtp::SendingMessage;
        if (code == MMailSmtp::MessageSent)
            result = 0;
        else if (code != MMailSmtp::LoggingIn && code != MMailSmtp::SendingMessage)
            std::fprintf(stderr, "status %d: %s\n", code, qPrintable(text));
        if (code != MMailSmtp::LoggingIn && code != MMailSmtp::SendingMessage)
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });

    const qint64 before = statusKilobytes("VmHWM");
    QElapsedTimer total;
    total.start();
    sinceTick.start();
    ticker.start(5);
    client.sendMail(QStringLiteral("Firma Alfa"), QStringLiteral("biuro@alfa.pl"), QStringLiteral("jan@beta.pl"),
                    QString(), QStringLiteral("Faktura 1/2024"), QStringLiteral("W załączeniu faktura."),
                    {file.fileName()}, {QStringLiteral("skan.pdf")});
    app.exec();
    const qint64 elapsed = total.elapsed();
    const qint64 peak = statusKilobytes("VmHWM");

    std::printf("attachment                 %8lld kB\n", fileSize / 1024);
    std::printf("peak memory growth         %8lld kB (%.2f x the file; client and server together)\n",
                peak - before, double(peak - before) * 1024 / double(fileSize));
    std::printf("longest hold of the loop   %8.2f ms\n", double(longestHold) / 1e6);
    std::printf("  while the message went   %8.2f ms\n", double(longestHoldInTransfer) / 1e6);
    std::printf("whole send                 %8lld ms\n", elapsed);
    return result;
}
