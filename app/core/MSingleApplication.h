#pragma once

#include <QApplication>
#include <QSharedMemory>
#include <QString>

class QLocalServer;

// The application object, which is also the guard against a second running
// instance and the channel over which a second start speaks to the first.
// The key names both a shared-memory segment and a local server.
class MSingleApplication : public QApplication
{
    Q_OBJECT

public:
    MSingleApplication(int& argc, char** argv, const QString& key);

    bool isRunning() const;
    bool sendMessage(const QString& message) const;

public slots:
    void receiveMessage();

signals:
    void messageAvailable(QString message);

private:
    bool attachToLiveInstance();
    bool instanceAnswers() const;
    void listen();

    QString m_key;
    QSharedMemory m_sharedMemory;
    QLocalServer* m_localServer = nullptr;
    bool m_running = false;
};
