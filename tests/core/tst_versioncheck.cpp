#include "MTestEnvironment.h"
#include "core/MVersionCheck.h"
#include "data/MProgramVersion.h"
#include "views/MMessageBox.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

// A one-shot HTTP server on 127.0.0.1: it records the request line and
// sends a fixed response in pieces, a moment apart, then closes.
class MTestHttpServer : public QObject
{
    Q_OBJECT

public:
    explicit MTestHttpServer(const QList<QByteArray>& pieces)
        : m_pieces(pieces)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &MTestHttpServer::doNewConnection);
        if (!m_server.listen(QHostAddress::LocalHost))
            qFatal("cannot listen on 127.0.0.1");
    }

    QString endpoint() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()); }
    QByteArray requestLine() const { return m_requestLine; }
    bool done() const { return m_done; }

    static QList<QByteArray> response(const QByteArray& status, const QByteArray& body, int pieces = 1)
    {
        QList<QByteArray> result{"HTTP/1.1 " + status + "\r\nContent-Type: text/plain; charset=utf-8\r\n"
                                 "Connection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"};
        const int size = (body.size() + pieces - 1) / pieces;
        for (int i = 0; i < body.size(); i += size)
            result << body.mid(i, size);
        return result;
    }

private slots:
    void doNewConnection()
    {
        m_socket = m_server.nextPendingConnection();
        connect(m_socket, &QTcpSocket::readyRead, this, &MTestHttpServer::doReadyRead);
    }

    void doReadyRead()
    {
        m_request += m_socket->readAll();
        if (!m_request.contains("\r\n\r\n") || !m_requestLine.isEmpty())
            return;
        m_requestLine = m_request.left(m_request.indexOf("\r\n"));
        sendNext();
    }

private:
    void sendNext()
    {
        if (m_pieces.isEmpty()) {
            m_socket->disconnectFromHost();
            m_done = true;
            return;
        }
        m_socket->write(m_pieces.takeFirst());
        m_socket->flush();
        QTimer::singleShot(100, this, &MTestHttpServer::sendNext);
    }

    QTcpServer m_server;
    QTcpSocket* m_socket = nullptr;
    QList<QByteArray> m_pieces;
    QByteArray m_request;
    QByteArray m_requestLine;
    bool m_done = false;
};

// The version-upgrade request: its address, the query the endpoint sees,
// and what the user is shown for an answer, a wrong body and a failure.
class TestVersionCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void versionText_data();
    void versionText();
    void requestUrl_data();
    void requestUrl();
    void endpointFromTheEnvironment();
    void answerMessage_data();
    void answerMessage();
    void serverSeesTheQuery();
    void answerIsShownOnceWhenComplete();
    void failuresAreShown_data();
    void failuresAreShown();
    void unreachableServerIsShown();

private:
    QList<MMessageBox::Shown> waitForBoxes();
    QNetworkAccessManager m_manager;
};

namespace {

const QByteArray marker("#morva-version-upgrade\n");
const QString failure = QStringLiteral("Błąd podczas sprawdzania aktualizacji wersji.");

} // namespace

void TestVersionCheck::init()
{
    m_manager.setProxy(QNetworkProxy::NoProxy);
    MMessageBox::takeShown();
}

QList<MMessageBox::Shown> TestVersionCheck::waitForBoxes()
{
    QList<MMessageBox::Shown> shown;
    // The caller checks how many boxes came; none after the timeout is a failure there.
    (void)QTest::qWaitFor(
        [&shown] {
            shown += MMessageBox::takeShown();
            return !shown.isEmpty();
        },
        10000);
    return shown;
}

void TestVersionCheck::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("special");
    QTest::addColumn<QString>("text");

    QTest::newRow("this program") << 2 << 53 << "" << "2.53";
    QTest::newRow("one-digit minor is zero-filled") << 2 << 5 << "" << "2.05";
    QTest::newRow("special text") << 2 << 53 << "beta" << "2.53-beta";
}

void TestVersionCheck::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, special);
    QFETCH(QString, text);

    QCOMPARE(MVersionCheck::versionText(major, minor, special), text);
    QCOMPARE(MProgramVersion::versionText(), QStringLiteral("2.53"));
}

void TestVersionCheck::requestUrl_data()
{
    QTest::addColumn<QString>("endpoint");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("special");
    QTest::addColumn<QString>("url");

    QTest::newRow("this program") << "https://morva.example/" << 53 << ""
                                  << "https://morva.example/get_version_upgrade?program=invoice&version_major=2"
                                     "&version_minor=53&version_special=";
    QTest::newRow("minor not zero-filled") << "https://morva.example/" << 5 << ""
                                           << "https://morva.example/get_version_upgrade?program=invoice"
                                              "&version_major=2&version_minor=5&version_special=";
    QTest::newRow("special text") << "https://morva.example/" << 53 << "beta"
                                  << "https://morva.example/get_version_upgrade?program=invoice&version_major=2"
                                     "&version_minor=53&version_special=beta";
    QTest::newRow("leading path without a slash") << "http://127.0.0.1:8080/api" << 53 << ""
                                                  << "http://127.0.0.1:8080/api/get_version_upgrade?program=invoice"
                                                     "&version_major=2&version_minor=53&version_special=";
}

void TestVersionCheck::requestUrl()
{
    QFETCH(QString, endpoint);
    QFETCH(int, minor);
    QFETCH(QString, special);
    QFETCH(QString, url);

    QCOMPARE(MVersionCheck::requestUrl(endpoint, 2, minor, special).toString(), url);
}

void TestVersionCheck::endpointFromTheEnvironment()
{
    qunsetenv("INVOICE_VERSION_ENDPOINT");
    QCOMPARE(MVersionCheck::endpoint(), QStringLiteral("https://morva.example/"));
    qputenv("INVOICE_VERSION_ENDPOINT", "http://127.0.0.1:4321/");
    QCOMPARE(MVersionCheck::endpoint(), QStringLiteral("http://127.0.0.1:4321/"));
    qunsetenv("INVOICE_VERSION_ENDPOINT");
}

void TestVersionCheck::answerMessage_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("message");

    QTest::newRow("answer") << QByteArray(marker + "  Dostępna jest wersja 2.60.\n") << "Dostępna jest wersja 2.60.";
    QTest::newRow("answer with CR LF") << QByteArray("#morva-version-upgrade\r\nMasz najnowszą wersję.\r\n")
                                       << "Masz najnowszą wersję.";
    QTest::newRow("web page") << QByteArray("<html><body>404</body></html>") << "";
    QTest::newRow("marker later in the body") << QByteArray("Hello\n" + marker + "x") << "";
    QTest::newRow("marker without message") << marker << "";
    QTest::newRow("empty body") << QByteArray() << "";
}

void TestVersionCheck::answerMessage()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, message);

    QCOMPARE(MVersionCheck::answerMessage(body), message);
}

void TestVersionCheck::serverSeesTheQuery()
{
    MTestHttpServer server(MTestHttpServer::response("200 OK", QByteArray(marker + "Masz najnowszą wersję.")));
    MVersionCheck check(&m_manager, nullptr);
    check.start(server.endpoint(), 2, 53, QString());

    QCOMPARE(waitForBoxes().size(), 1);
    QCOMPARE(server.requestLine(), QByteArray("GET /get_version_upgrade?program=invoice&version_major=2"
                                              "&version_minor=53&version_special= HTTP/1.1"));
}

void TestVersionCheck::answerIsShownOnceWhenComplete()
{
    const QByteArray body = marker + "Dostępna jest nowa wersja 2.60.<br>Pobierz ją ze strony https://morva.example/.";
    MTestHttpServer server(MTestHttpServer::response("200 OK", body, 4));
    MVersionCheck check(&m_manager, nullptr);
    check.start(server.endpoint(), 2, 53, QString());

    QList<MMessageBox::Shown> shown = waitForBoxes();
    QTRY_VERIFY(server.done());
    QCoreApplication::processEvents();
    shown += MMessageBox::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Information);
    QCOMPARE(shown.first().title, QStringLiteral("Aktualizacja wersji"));
    QCOMPARE(shown.first().text,
             QStringLiteral("Dostępna jest nowa wersja 2.60.<br>Pobierz ją ze strony https://morva.example/."));
}

void TestVersionCheck::failuresAreShown_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("not the endpoint's answer") << QByteArray("200 OK") << QByteArray("<html>Witaj</html>");
    QTest::newRow("server error with an answer-like body") << QByteArray("500 Internal Server Error")
                                                           << QByteArray(marker + "Masz najnowszą wersję.");
    QTest::newRow("not found without a body") << QByteArray("404 Not Found") << QByteArray();
}

void TestVersionCheck::failuresAreShown()
{
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, body);

    MTestHttpServer server(MTestHttpServer::response(status, body, 2));
    MVersionCheck check(&m_manager, nullptr);
    check.start(server.endpoint(), 2, 53, QString());

    const QList<MMessageBox::Shown> shown = waitForBoxes();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QCOMPARE(shown.first().title, QStringLiteral("Aktualizacja wersji"));
    QVERIFY2(shown.first().text.startsWith(failure), qPrintable(shown.first().text));
}

void TestVersionCheck::unreachableServerIsShown()
{
    // A port that was free a moment ago: nobody listens there now.
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    MVersionCheck check(&m_manager, nullptr);
    check.start(QStringLiteral("http://127.0.0.1:%1/").arg(port), 2, 53, QString());

    const QList<MMessageBox::Shown> shown = waitForBoxes();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, QMessageBox::Warning);
    QVERIFY2(shown.first().text.startsWith(failure + QStringLiteral("<br>")), qPrintable(shown.first().text));
    QVERIFY(shown.first().text.size() > failure.size() + 4);
}

INVOICE_TEST_MAIN(TestVersionCheck)
#include "tst_versioncheck.moc"
