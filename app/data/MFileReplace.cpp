#include "data/MFileReplace.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path fileSystemPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

bool MFileReplace::rename(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(fileSystemPath(from), fileSystemPath(to), error);
    return !error;
}
