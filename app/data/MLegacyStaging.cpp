#include "data/MLegacyStaging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MLegacyExport", text);
}

// Removes the plain files of a folder; its subfolders stay.
void removeFiles(const QString& folder)
{
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
}

} // namespace

QString MLegacyStaging::converterName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("mirvole.exe");
#else
    return QStringLiteral("mirvole");
#endif
}

MLegacyStaging::Result MLegacyStaging::stage(const QString& dataFolder, const QString& tempPath,
                                             const QString& converterDir)
{
    Result result;
    const QDir dataDir(dataFolder);
    if (dataDir.dirName() != QLatin1String("data")) {
        result.message = {MDataMessage::Kind::Critical, tr("Błąd wybranego katalogu"),
                          tr("Nie wybrano katalogu o nazwie data.")};
        return result;
    }
    const QString converterSource = QDir(converterDir).filePath(converterName());
    if (!QFileInfo(converterSource).isFile()) {
        result.message = {MDataMessage::Kind::Critical, tr("Eksportuj z wersji 1"),
                          tr("Nie znaleziono konwertera %1.")
                              .arg(QDir::toNativeSeparators(converterSource).toHtmlEscaped())};
        return result;
    }

    const QString staging = tempPath + QStringLiteral("temp/import_1xx");
    const QString stagingData = staging + QStringLiteral("/data");
    QDir().mkpath(stagingData);
    removeFiles(stagingData);
    removeFiles(staging);

    for (const QString& name : dataDir.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Unsorted))
        QFile::copy(dataDir.filePath(name), stagingData + QLatin1Char('/') + name);
    const QString converter = staging + QLatin1Char('/') + converterName();
    if (QFile::copy(converterSource, converter))
        QFile::setPermissions(converter, QFile::permissions(converterSource));

    result.stagedData = stagingData;
    result.converter = converter;
    return result;
}
