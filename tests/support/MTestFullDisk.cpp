#include "MTestFullDisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>

MTestFullDisk::MTestFullDisk(const QString& folder)
    : m_folder(folder)
{
    QDir().mkpath(folder);
    m_mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                            QStringLiteral("-o"), QStringLiteral("size=8k"),
                                                            QStringLiteral("tmpfs"), folder})
                == 0;
    if (!m_mounted)
        return;
    QFile filler(folder + QStringLiteral("/filler"));
    if (filler.open(QIODevice::WriteOnly)) {
        while (filler.write(QByteArray(1024, 'x')) > 0 && filler.flush()) {
        }
    }
}

MTestFullDisk::~MTestFullDisk()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), {m_folder});
}

bool MTestFullDisk::isMounted() const
{
    return m_mounted;
}
