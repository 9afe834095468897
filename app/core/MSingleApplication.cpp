#include "MSingleApplication.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {

const int timeout = 1000;

} // namespace

MSingleApplication::MSingleApplication(int& argc, char** argv, const QString& key)
    : QApplication(argc, argv)
    , m_key(key)
{
    m_sharedMemory.setKey(m_key);

    if (attachToLiveInstance()) {
        m_running = true;
        return;
    }
    if (m_sharedMemory.create(1, QSharedMemory::ReadWrite)) {
        listen();
        return;
    }
    // Another instance made the segment a moment ago; it is starting up.
    if (m_sharedMemory.error() == QSharedMemory::AlreadyExists && m_sharedMemory.attach(QSharedMemory::ReadWrite))
        m_running = true;
}

// A segment left behind by an instance that crashed can still be attached,
// but nobody listens on its server any more: such a guard is released here
// so that this start can take it over.
bool MSingleApplication::attachToLiveInstance()
{
    if (!m_sharedMemory.attach(QSharedMemory::ReadWrite))
        return false;
    if (instanceAnswers())
        return true;
    // The last process to detach removes the segment.
    m_sharedMemory.detach();
    return false;
}

bool MSingleApplication::instanceAnswers() const
{
    QLocalSocket socket;
    socket.connectToServer(m_key, QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeout))
        return false;
    socket.disconnectFromServer();
    return true;
}

void MSingleApplication::listen()
{
    m_localServer = new QLocalServer(this);
    connect(m_localServer, &QLocalServer::newConnection, this, &MSingleApplication::receiveMessage);
    // The socket file of a crashed instance would make listen() fail.
    QLocalServer::removeServer(m_key);
    m_localServer->listen(m_key);
}

bool MSingleApplication::isRunning() const
{
    return m_running;
}

bool MSingleApplication::sendMessage(const QString& message) const
{
    if (!m_running)
        return false;

    QLocalSocket socket;
    socket.connectToServer(m_key, QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeout))
        return false;
    socket.write(message.toUtf8());
    if (!socket.waitForBytesWritten(timeout))
        return false;
    socket.disconnectFromServer();
    return true;
}

void MSingleApplication::receiveMessage()
{
    QLocalSocket* socket = m_localServer->nextPendingConnection();
    if (!socket)
        return;
    if (!socket->waitForReadyRead(timeout))
        return;
    emit messageAvailable(QString::fromUtf8(socket->readAll()));
    socket->disconnectFromServer();
}
