#include "MTestEnvironment.h"
#include "MTestSmtpServer.h"
#include "MTrustedTestCa.h"
#include "export/MMailSmtp.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSslSocket>
#include <QtTest>

namespace {

QList<int> codes(const QSignalSpy& spy)
{
    QList<int> result;
    for (const QList<QVariant>& arguments : spy)
        result.append(arguments.at(0).toInt());
    return result;
}

} // namespace

class TestMailSend : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void deliversTheMessage_data();
    void deliversTheMessage();
    void switchesToTlsWhenOffered();
    void untrustedCertificateStopsBeforeLogin();
    void noPasswordToServerWithoutTls();

private:
    QTemporaryDir m_files;
    QString m_bigAttachment;
};

void TestMailSend::initTestCase()
{
    QVERIFY(m_files.isValid());
    // Larger than the blocks in which a file is read, so that it leaves in several.
    QByteArray bytes(200000, Qt::Uninitialized);
    quint32 seed = 12345;
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = char(seed >> 16);
    }
    m_bigAttachment = m_files.filePath(QStringLiteral("skan.bin"));
    QFile file(m_bigAttachment);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void TestMailSend::deliversTheMessage_data()
{
    QTest::addColumn<QString>("senderName");
    QTest::addColumn<QString>("copyAddress");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("pdfName");

    const QString pdfName = QStringLiteral("FV_1_2024 żółta.pdf");
    const QString subject = QStringLiteral("Faktura nr 1/2024: płatność? \"pilne\" _do_ 14 dni");
    QTest::newRow("sender name and copy") << QStringLiteral("Firma \"Alfa\" Sp. z o.o. – Łódź")
                                          << QStringLiteral("ksiegowosc@alfa.pl") << subject << pdfName;
    QTest::newRow("no sender name, no copy") << QString() << QString() << subject << pdfName;
    // A subject far past one header line, and names whose commas and brackets
    // would otherwise read as addresses.
    QTest::newRow("long Polish subject, comma in the name")
        << QStringLiteral("Usługi Remontowe, Jan Kowalski") << QString()
        << QStringLiteral("Zażółć gęślą jaźń ").repeated(11).trimmed() << pdfName;
    QTest::newRow("angle brackets in the name")
        << QStringLiteral("Bank <x@bank.pl>") << QString() << QStringLiteral("Wyciąg (marzec); \"pilne\"") << pdfName;
    // Each would make a header line past the 998 characters a line may have.
    QTest::newRow("very long sender name and file name")
        << QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe Żuraw, ").repeated(30).trimmed() << QString() << subject
        << QString(QStringLiteral("Faktura źródłowa ").repeated(80) + QStringLiteral("nr 1.pdf"));
}

void TestMailSend::deliversTheMessage()
{
    QFETCH(QString, senderName);
    QFETCH(QString, copyAddress);
    QFETCH(QString, subject);
    QFETCH(QString, pdfName);

    QTemporaryDir received;
    QVERIFY(received.isValid());
    MAiosmtpdServer server;
    QVERIFY2(server.start(received.path()), "aiosmtpd (python3-aiosmtpd) did not start");

    // 75 plain characters fill the first encoded line, so the second one opens with a full stop.
    const QString opening = QStringLiteral("Faktura VAT nr 1/2024 z dnia 05-03-2024 dla firmy Beta sp. z o.o. z Gdyni, ");
    QCOMPARE(opening.size(), 75);
    const QString body = opening
                         + QStringLiteral(".\nDzień dobry,\n\nw załączeniu faktura na kwotę 1 230,00 zł "
                                          "(= tysiąc dwieście trzydzieści złotych), płatna w ciągu 14 dni.\n"
                                          ".\n\tWcięcie tabulatorem\r\nZażółć gęślą jaźń. Spacja na końcu ");
    QFile pdf(QFINDTESTDATA("data/faktura.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QFile big(m_bigAttachment);
    QVERIFY(big.open(QIODevice::ReadOnly));

    const MTrustedTestCa trust(QFINDTESTDATA("data/smtp-test.pem"));
    MMailSmtp client(kLogin, kPassword, QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    client.sendMail(senderName, QStringLiteral("biuro@alfa.pl"), QStringLiteral("jan.kowalski@example.com"),
                    copyAddress, subject, body,
                    {pdf.fileName(), m_files.filePath(QStringLiteral("brak.pdf")), m_bigAttachment},
                    {pdfName, QStringLiteral("brak.pdf"), QStringLiteral("skan.bin")});

    QTRY_COMPARE(codes(spy), (QList<int>{10, 11, 0}));
    QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("Logowanie."));
    QCOMPARE(spy.at(1).at(1).toString(), QStringLiteral("Wysyłanie wiadomości."));
    QCOMPARE(spy.at(2).at(1).toString(), QStringLiteral("Wiadomość została wysłana."));

    const QJsonObject delivery = envelope(received.path());
    QCOMPARE(delivery.value("mail_from").toString(), QStringLiteral("biuro@alfa.pl"));
    QStringList recipients{QStringLiteral("jan.kowalski@example.com")};
    if (!copyAddress.isEmpty())
        recipients.append(copyAddress);
    QCOMPARE(delivery.value("rcpt_tos").toVariant().toStringList(), recipients);
    QCOMPARE(delivery.value("login").toString(), kLogin);
    QCOMPARE(delivery.value("tls").toBool(), true);

    QFile raw(received.filePath(QStringLiteral("1.eml")));
    QVERIFY(raw.open(QIODevice::ReadOnly));
    for (const QByteArray& line : raw.readAll().split('\n'))
        QVERIFY2(line.size() <= 999, line.left(80).constData()); // 998 and the CR

    const QJsonObject message = parsedMessage(received.filePath(QStringLiteral("1.eml")));
    QVERIFY(!message.isEmpty());
    QCOMPARE(message.value("subject").toString(), subject);
    // Python keeps the space between the encoded words of a long name, which mail
    // programs drop (RFC 2047): each of its blanks then reads as two.
    QCOMPARE(message.value("from_name").toString().replace(QStringLiteral("  "), QStringLiteral(" ")), senderName);
    QCOMPARE(message.value("from_address").toString(), QStringLiteral("biuro@alfa.pl"));
    QCOMPARE(message.value("to").toString(), QStringLiteral("jan.kowalski@example.com"));
    QCOMPARE(message.value("cc").toString(), copyAddress);
    QCOMPARE(message.value("content_type").toString(), QStringLiteral("multipart/mixed"));
    QCOMPARE(message.value("body_charset").toString(), QStringLiteral("utf-8"));
    QCOMPARE(message.value("body_encoding").toString(), QStringLiteral("quoted-printable"));
    // The line end before the empty line that closes the text part is part of the text.
    QCOMPARE(message.value("body").toString(), QString(body).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QLatin1Char('\n'));
    QVERIFY(QRegularExpression(QStringLiteral("^<[0-9a-f]{32}@alfa\\.pl>$"))
                .match(message.value("message_id").toString())
                .hasMatch());
    const QDateTime date = QDateTime::fromString(message.value("date").toString(), Qt::ISODate);
    QVERIFY(qAbs(date.secsTo(QDateTime::currentDateTime())) < 120);

    const QJsonArray attachments = message.value("attachments").toArray();
    QCOMPARE(attachments.size(), 2);
    QCOMPARE(attachments.at(0).toObject().value("name").toString(), pdfName);
    QCOMPARE(attachments.at(0).toObject().value("content_type").toString(), QStringLiteral("application/pdf"));
    QCOMPARE(attachments.at(1).toObject().value("content_type").toString(),
             QStringLiteral("application/octet-stream"));
    QCOMPARE(QByteArray::fromBase64(attachments.at(0).toObject().value("data").toString().toLatin1()),
             pdf.readAll());
    QCOMPARE(attachments.at(1).toObject().value("name").toString(), QStringLiteral("skan.bin"));
    QCOMPARE(QByteArray::fromBase64(attachments.at(1).toObject().value("data").toString().toLatin1()),
             big.readAll());
}

void TestMailSend::switchesToTlsWhenOffered()
{
    QVERIFY(QSslSocket::supportsSsl());
    QTemporaryDir received;
    QVERIFY(received.isValid());
    MAiosmtpdServer server;
    QVERIFY(server.start(received.path()));

    const MTrustedTestCa trust(QFINDTESTDATA("data/smtp-test.pem"));
    MMailSmtp client(kLogin, kPassword, QStringLiteral("127.0.0.1"), server.port());

    QSignalSpy spy(&client, &MMailSmtp::status);
    client.sendMail(QStringLiteral("Alfa"), QStringLiteral("biuro@alfa.pl"), QStringLiteral("jan@beta.pl"), QString(),
                    QStringLiteral("Faktura przez TLS"), QStringLiteral("Treść."), {}, {});

    QTRY_COMPARE(codes(spy), (QList<int>{10, 11, 0}));
    const QJsonObject delivery = envelope(received.path());
    QCOMPARE(delivery.value("tls").toBool(), true);
    QCOMPARE(delivery.value("login").toString(), kLogin);
    QCOMPARE(parsedMessage(received.filePath(QStringLiteral("1.eml"))).value("subject").toString(),
             QStringLiteral("Faktura przez TLS"));
}

void TestMailSend::untrustedCertificateStopsBeforeLogin()
{
    QTemporaryDir received;
    QVERIFY(received.isValid());
    MAiosmtpdServer server;
    QVERIFY(server.start(received.path()));

    MMailSmtp client(kLogin, kPassword, QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    client.sendMail(QStringLiteral("Alfa"), QStringLiteral("biuro@alfa.pl"), QStringLiteral("jan@beta.pl"), QString(),
                    QStringLiteral("Temat"), QStringLiteral("Treść."), {}, {});

    QTRY_VERIFY(!spy.isEmpty());
    QCOMPARE(spy.at(0).at(0).toInt(), MMailSmtp::SocketErrorBase + QAbstractSocket::SslHandshakeFailedError);
    QVERIFY(!codes(spy).contains(MMailSmtp::LoggingIn));
    QVERIFY(QDir(received.path()).isEmpty());
}

// A server without STARTTLS would take the password in clear: it gets none.
void TestMailSend::noPasswordToServerWithoutTls()
{
    QTemporaryDir received;
    QVERIFY(received.isValid());
    MAiosmtpdServer server;
    QVERIFY(server.start(received.path(), false));

    MMailSmtp client(kLogin, kPassword, QStringLiteral("127.0.0.1"), server.port());
    QSignalSpy spy(&client, &MMailSmtp::status);
    client.sendMail(QStringLiteral("Alfa"), QStringLiteral("biuro@alfa.pl"), QStringLiteral("jan@beta.pl"), QString(),
                    QStringLiteral("Temat"), QStringLiteral("Treść."), {}, {});

    QTRY_COMPARE(codes(spy), QList<int>{MMailSmtp::EncryptionUnavailable});
    QCOMPARE(spy.at(0).at(1).toString(),
             QStringLiteral("Serwer poczty nie oferuje szyfrowanego połączenia (STARTTLS); hasło nie zostało wysłane."));
    QVERIFY(QDir(received.path()).isEmpty());
}

INVOICE_TEST_MAIN(TestMailSend)
#include "tst_mailsend.moc"
