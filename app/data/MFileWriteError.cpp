#include "data/MFileWriteError.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>

namespace {

// Less free space than this after a failed write means the disk ran full.
const qint64 fullDiskBytes = 64 * 1024;

} // namespace

QString MFileWriteError::fullDiskReason(const QString& target, const QFileDevice* file)
{
    const QStorageInfo storage(QFileInfo(target).absolutePath());
    // The system's own text of a full disk, or a disk with next to nothing left, whatever the call that failed.
    if ((file && file->errorString() == qt_error_string(ENOSPC))
        || (storage.isValid() && storage.bytesAvailable() < fullDiskBytes))
        return tr("brak miejsca na dysku");
    return QString();
}

QString MFileWriteError::reason(const QString& target, const QFileDevice* file)
{
    const QString fullDisk = fullDiskReason(target, file);
    if (!fullDisk.isEmpty())
        return fullDisk;
    const QFileInfo info(target);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    if (info.isDir())
        return tr("pod tą nazwą istnieje katalog");
    if (!QFileInfo(info.absolutePath()).isDir())
        return tr("nie ma katalogu %1").arg(folder);
    if (info.exists() && !info.isWritable())
        return tr("plik jest tylko do odczytu");
    if (!QFileInfo(info.absolutePath()).isWritable())
        return tr("brak prawa zapisu w katalogu %1").arg(folder);
    if (file && file->error() == QFileDevice::RenameError)
        return tr("nie można zastąpić istniejącego pliku");
    return tr("błąd zapisu na dysku");
}

QString MFileWriteError::message(const QString& target, const QString& reason)
{
    return tr("Nie można zapisać pliku %1: %2.").arg(QDir::toNativeSeparators(target), reason);
}
