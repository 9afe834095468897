#include "MTestDataEnvironment.h"

#include <QDir>

MTestDataEnvironment::MTestDataEnvironment()
    : m_home(QDir::tempPath() + QStringLiteral("/invoice-test-XXXXXX"))
{
    if (!m_home.isValid())
        qFatal("Cannot create a temporary HOME for the test");

    const QByteArray home = QFile::encodeName(m_home.path());
    const QByteArray runtime = home + "/.runtime";
    QDir().mkpath(QString::fromLocal8Bit(runtime));
    QFile::setPermissions(QString::fromLocal8Bit(runtime), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                               | QFileDevice::ExeOwner);

    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_CACHE_HOME", home + "/.cache");
    qputenv("XDG_DOCUMENTS_DIR", home + "/Documents");
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("TMPDIR", home + "/.tmp");
    QDir().mkpath(m_home.path() + QStringLiteral("/.tmp"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString MTestDataEnvironment::home() const
{
    return m_home.path();
}
