#include "MTestEnvironment.h"
#include "core/MSingleApplication.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSharedMemory>
#include <QSignalSpy>
#include <QSystemSemaphore>
#include <QtTest>

namespace {

const QString key = QStringLiteral("___morva_invoice___");

} // namespace

// This process is itself an instance holding the guard (in its private
// temporary folder); the real program is started beside it. The stale case
// runs the program in a temporary folder of its own.
class TestSingleApplication : public QObject
{
    Q_OBJECT

public:
    explicit TestSingleApplication(MSingleApplication* app)
        : m_app(app)
    {
    }

private slots:
    void firstInstanceHoldsTheGuard();
    void secondStartTellsTheRunningInstanceAndEnds();
    void startAfterAKilledInstanceTakesTheGuardOver();

private:
    QProcess* startProgram(const QString& tempDir, bool automaticDialogs);
    static bool instanceAnswers(const QString& tempDir);
    static void releaseGuard(const QString& tempDir);

    MSingleApplication* m_app;
};

QProcess* TestSingleApplication::startProgram(const QString& tempDir, bool automaticDialogs)
{
    auto* process = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tempDir);
    env.insert(QStringLiteral("HOME"), tempDir + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), tempDir + QStringLiteral("/home/.local/share"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), tempDir + QStringLiteral("/home/.config"));
    if (automaticDialogs)
        env.insert(QStringLiteral("INVOICE_AUTOMATIC_DIALOGS"), QStringLiteral("1"));
    process->setProcessEnvironment(env);
    process->start(QCoreApplication::applicationDirPath() + QStringLiteral("/Invoice"), QStringList());
    return process;
}

bool TestSingleApplication::instanceAnswers(const QString& tempDir)
{
    QLocalSocket socket;
    socket.connectToServer(tempDir + QLatin1Char('/') + key);
    if (!socket.waitForConnected(1000))
        return false;
    socket.disconnectFromServer();
    return true;
}

// A killed program leaves its segment and the segment's lock behind; the
// system keeps both until a later start takes them over, so the test releases
// them itself before its temporary folder goes.
void TestSingleApplication::releaseGuard(const QString& tempDir)
{
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tempDir));
    {
        QSharedMemory memory(key);
        if (memory.attach())
            memory.detach();
    }
    // Taking the lock over in Create mode removes it when the object goes.
    QSystemSemaphore lock(key, 1, QSystemSemaphore::Create);
    qputenv("TMPDIR", tmpdir);
}

void TestSingleApplication::firstInstanceHoldsTheGuard()
{
    QVERIFY(!m_app->isRunning());
    QVERIFY(!m_app->sendMessage(QStringLiteral("nobody listens")));
    QVERIFY(instanceAnswers(QDir::tempPath()));
}

void TestSingleApplication::secondStartTellsTheRunningInstanceAndEnds()
{
    QSignalSpy received(m_app, &MSingleApplication::messageAvailable);
    QProcess* second = startProgram(QDir::tempPath(), true);

    QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 15000);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY2(QString::fromUtf8(second->readAllStandardError())
                 .contains(QStringLiteral("morva FAKTURY: Aplikacja morva FAKTURY jest już uruchomiona.")),
             "the second start must tell the user that the program runs");
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("__morva_invoice___"));
    // No window was built: the second start made no program folders.
    QVERIFY(!QDir(QDir::tempPath() + QStringLiteral("/home/.local/share/morva")).exists());
}

void TestSingleApplication::startAfterAKilledInstanceTakesTheGuardOver()
{
    QTemporaryDir otherTemp;
    QVERIFY(otherTemp.isValid());
    const QString tempDir = otherTemp.path();

    QProcess* first = startProgram(tempDir, true);
    QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(tempDir), 15000);
    first->kill();
    QVERIFY(first->waitForFinished(5000));
    QVERIFY(!instanceAnswers(tempDir));

    QProcess* next = startProgram(tempDir, true);
    QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(tempDir), 15000);
    QCOMPARE(next->state(), QProcess::Running);

    QProcess* another = startProgram(tempDir, true);
    QTRY_COMPARE_WITH_TIMEOUT(another->state(), QProcess::NotRunning, 15000);
    QCOMPARE(another->exitCode(), 0);
    QVERIFY(QString::fromUtf8(another->readAllStandardError()).contains(QStringLiteral("jest już uruchomiona")));
    QCOMPARE(next->state(), QProcess::Running);

    next->kill();
    QVERIFY(next->waitForFinished(5000));
    releaseGuard(tempDir);
}

int main(int argc, char* argv[])
{
    MTestEnvironment environment;
    MSingleApplication app(argc, argv, key);
    TestSingleApplication test(&app);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleapplication.moc"
