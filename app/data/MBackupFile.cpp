#include "data/MBackupFile.h"

#include "data/MFileReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool syncHandle(int handle)
{
#ifdef Q_OS_WIN
    return _commit(handle) == 0;
#else
    return ::fsync(handle) == 0;
#endif
}

// A rename is on the disk only once its folder is; Windows has no such step.
void flushFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder)
#else
    const int handle = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (handle < 0)
        return;
    ::fsync(handle);
    ::close(handle);
#endif
}

// The temporary copy itself; its journal adds "-journal".
const QRegularExpression& temporaryName()
{
    static const QRegularExpression name(QStringLiteral("^.+\\.[A-Za-z0-9]{6}\\.tmp$"));
    return name;
}

bool isDatabaseOrEmpty(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray header("SQLite format 3", 16);
    return file.size() == 0 || file.read(header.size()) == header;
}

} // namespace

QString MBackupFile::temporaryTemplate(const QString& target)
{
    return target + QStringLiteral(".XXXXXX.tmp");
}

bool MBackupFile::flush(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && syncHandle(file.handle());
}

bool MBackupFile::replace(const QString& temporary, const QString& target)
{
    if (!MFileReplace::rename(temporary, target))
        return false;
    flushFolder(QFileInfo(target).absolutePath());
    return true;
}

void MBackupFile::removeStale(const QString& folder)
{
    if (folder.isEmpty())
        return;
    QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.tmp"), QStringLiteral("*.tmp-journal")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& file : files) {
        const bool journal = file.endsWith(QLatin1String("-journal"));
        const QString copy = journal ? file.chopped(int(qstrlen("-journal"))) : file;
        if (!temporaryName().match(copy).hasMatch())
            continue;
        // A journal goes with its copy, or alone once the copy is gone.
        if (journal ? !dir.exists(copy) || isDatabaseOrEmpty(dir.filePath(copy))
                    : isDatabaseOrEmpty(dir.filePath(file)))
            dir.remove(file);
    }
}
