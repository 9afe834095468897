#include "MTestFullDisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

MTestFullDisk::MTestFullDisk(const QString& folder, int kilobytes)
    : m_folder(QDir(folder).absolutePath())
{
    m_mounted = QDir().mkpath(m_folder)
                && run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                 QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"),
                                                 m_folder});
}

MTestFullDisk::~MTestFullDisk()
{
    if (m_mounted)
        run(QStringLiteral("umount"), {m_folder});
}

bool MTestFullDisk::isMounted() const
{
    return m_mounted;
}

void MTestFullDisk::fill()
{
    QFile filler(QDir(m_folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly))
        return;
    while (filler.write(QByteArray(1024, 'x')) > 0 && filler.flush()) {
    }
}

bool MTestFullDisk::holdOlderFile(const QString& fileName)
{
    const QByteArray older("%PDF-1.4 starsza wersja");
    QFile file(QDir(m_folder).filePath(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(older) != older.size() || !file.flush())
        return false;
    file.close();
    m_before = files();
    return true;
}

QMap<QString, QByteArray> MTestFullDisk::files() const
{
    QMap<QString, QByteArray> files;
    const QDir dir(m_folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(nieczytelny)"));
    }
    return files;
}

QMap<QString, QByteArray> MTestFullDisk::before() const
{
    return m_before;
}

QString MTestFullDisk::message(const QString& target)
{
    return QStringLiteral("Nie można zapisać pliku %1: brak miejsca na dysku.").arg(target);
}
