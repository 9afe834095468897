#include "data/MPdfFileWrite.h"

#include "data/MFileReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

// The trailer of a PDF file, with startxref and %%EOF, fits in its last kilobyte.
const qint64 trailerBytes = 1024;
// Less free space than this after a cut-short write means the disk ran full.
const qint64 fullDiskBytes = 64 * 1024;

} // namespace

MPdfFileWrite::MPdfFileWrite(const QString& target)
    : m_target(target)
{
}

bool MPdfFileWrite::open()
{
    const QFileInfo target(m_target);
    const QFileInfo folder(target.absolutePath());
    if (target.isDir()) {
        fail(tr("pod tą nazwą istnieje katalog"));
        return false;
    }
    if (!folder.isDir()) {
        fail(tr("nie ma katalogu %1").arg(QDir::toNativeSeparators(folder.absoluteFilePath())));
        return false;
    }
    if (target.exists() && !target.isWritable()) {
        fail(tr("plik jest tylko do odczytu"));
        return false;
    }
    m_temporary.setFileTemplate(target.absoluteFilePath() + QStringLiteral(".XXXXXX.tmp"));
    if (!m_temporary.open()) {
        fail(folder.isWritable()
                 ? tr("nie można utworzyć pliku w katalogu %1").arg(QDir::toNativeSeparators(folder.absoluteFilePath()))
                 : tr("brak prawa zapisu w katalogu %1").arg(QDir::toNativeSeparators(folder.absoluteFilePath())));
        return false;
    }
    // The printer opens the file by its name.
    m_temporary.close();
    return true;
}

QString MPdfFileWrite::temporaryName() const
{
    return m_temporary.fileName();
}

bool MPdfFileWrite::commit()
{
    if (!isComplete(m_temporary.fileName())) {
        fail(incompleteReason());
        discard();
        return false;
    }
    // A temporary file is made readable by its owner only; the document is an
    // ordinary file, or keeps the permissions of the one it replaces.
    const QFileInfo target(m_target);
    m_temporary.setPermissions(target.exists() ? target.permissions()
                                               : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!MFileReplace::rename(m_temporary.fileName(), m_target)) {
        fail(tr("nie można zastąpić istniejącego pliku"));
        discard();
        return false;
    }
    m_temporary.setAutoRemove(false);
    return true;
}

void MPdfFileWrite::abandon(const QString& reason)
{
    fail(reason);
    discard();
}

void MPdfFileWrite::discard()
{
    m_temporary.remove();
}

QString MPdfFileWrite::errorText() const
{
    return m_errorText;
}

bool MPdfFileWrite::isComplete(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF-"))
        return false;
    const qint64 size = file.size();
    const qint64 tailStart = qMax<qint64>(0, size - trailerBytes);
    if (!file.seek(tailStart))
        return false;
    const QByteArray tail = file.readAll();
    if (!tail.trimmed().endsWith("%%EOF"))
        return false;
    const int startxref = tail.lastIndexOf("startxref");
    if (startxref < 0)
        return false;
    const QList<QByteArray> words = tail.mid(startxref + 9).simplified().split(' ');
    bool isNumber = false;
    const qint64 offset = words.value(0).toLongLong(&isNumber);
    return isNumber && offset > 0 && offset < size && file.seek(offset) && file.read(4) == "xref";
}

void MPdfFileWrite::fail(const QString& reason)
{
    m_errorText = tr("Nie można zapisać pliku %1: %2.").arg(QDir::toNativeSeparators(m_target), reason);
}

QString MPdfFileWrite::incompleteReason() const
{
    const QStorageInfo storage(QFileInfo(m_target).absolutePath());
    if (storage.isValid() && storage.bytesAvailable() < fullDiskBytes)
        return tr("brak miejsca na dysku");
    return tr("zapis został przerwany przed końcem pliku");
}
