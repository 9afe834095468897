#pragma once

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtTest>

// The SMTP server of the e-mail tests and readers of what it received; the
// including test defines INVOICE_PYTHON3 and finds the scripts beside itself.

const QString kLogin = QStringLiteral("jan.nowak@alfa.pl");
const QString kPassword = QStringLiteral("Tajne hasło");

// aiosmtpd on 127.0.0.1, started by smtp_server.py and killed with this object.
class MAiosmtpdServer
{
public:
    ~MAiosmtpdServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // With `tls` the server offers STARTTLS with the test certificate and requires it before AUTH.
    bool start(const QString& folder, bool tls = true)
    {
        const QStringList extraArguments =
            tls ? QStringList{QStringLiteral("--tls"), QFINDTESTDATA("data/smtp-test.pem"),
                              QFINDTESTDATA("data/smtp-test.key")}
                : QStringList();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(INVOICE_PYTHON3),
                        QStringList{QFINDTESTDATA("smtp_server.py"), QStringLiteral("--folder"), folder,
                                    QStringLiteral("--login"), kLogin, QStringLiteral("--password"), kPassword,
                                    QStringLiteral("--lifetime"), QStringLiteral("120")}
                            + extraArguments);
        while (m_process.waitForReadyRead(15000)) {
            if (m_process.canReadLine()) {
                m_port = quint16(m_process.readLine().trimmed().toUInt());
                break;
            }
        }
        return m_port != 0;
    }

    quint16 port() const { return m_port; }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

inline QJsonObject readJson(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(bytes, &error).object();
    if (error.error != QJsonParseError::NoError)
        qWarning("Not JSON: %s", bytes.constData());
    return object;
}

// What Python's email package reads from a received message.
inline QJsonObject parsedMessage(const QString& path)
{
    QProcess parser;
    parser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    parser.start(QStringLiteral(INVOICE_PYTHON3), {QFINDTESTDATA("parse_message.py"), path});
    if (!parser.waitForFinished(15000) || parser.exitCode() != 0)
        return QJsonObject();
    return readJson(parser.readAllStandardOutput());
}

inline QJsonObject envelope(const QString& folder)
{
    QFile file(folder + QStringLiteral("/1.json"));
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return readJson(file.readAll());
}

