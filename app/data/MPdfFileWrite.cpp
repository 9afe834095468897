#include "data/MPdfFileWrite.h"

#include "data/MFileReplace.h"
#include "data/MFileWriteError.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The trailer of a PDF file, with startxref and %%EOF, fits in its last kilobyte.
const qint64 trailerBytes = 1024;

} // namespace

MPdfFileWrite::MPdfFileWrite(const QString& target)
    : m_target(target)
{
}

bool MPdfFileWrite::open()
{
    const QFileInfo target(m_target);
    // What would stop the rename is found before any page is laid out.
    if (target.isDir() || !QFileInfo(target.absolutePath()).isDir() || (target.exists() && !target.isWritable())) {
        fail(MFileWriteError::reason(m_target));
        return false;
    }
    m_temporary.setFileTemplate(target.absoluteFilePath() + QStringLiteral(".XXXXXX.tmp"));
    if (!m_temporary.open()) {
        fail(MFileWriteError::reason(m_target, &m_temporary));
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
    m_errorText = MFileWriteError::message(m_target, reason);
}

QString MPdfFileWrite::incompleteReason() const
{
    const QString fullDisk = MFileWriteError::fullDiskReason(m_target);
    return fullDisk.isEmpty() ? tr("zapis został przerwany przed końcem pliku") : fullDisk;
}
