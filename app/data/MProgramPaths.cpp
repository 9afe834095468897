#include "data/MProgramPaths.h"

#include "data/MBackupFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>

QString MProgramPaths::pathConfig;
QString MProgramPaths::pathTemp;
QString MProgramPaths::pathData;
QString MProgramPaths::pathDocuments;
QString MProgramPaths::pathDbFile;

namespace {

const QString programFolder = QStringLiteral("morva/varneli2");

QString writableLocation(QStandardPaths::StandardLocation primary, QStandardPaths::StandardLocation fallback)
{
    const QString location = QStandardPaths::writableLocation(primary);
    return location.isEmpty() ? QStandardPaths::writableLocation(fallback) : location;
}

// Extends an existing base folder by the program's own folder (when that can be
// made) and makes the given subfolders below it.
QString programFolderIn(const QString& base, const QStringList& subfolders)
{
    if (base.isEmpty() || !QDir(base).exists())
        return base;

    QDir baseDir(base);
    QString folder = base;
    if (baseDir.exists(programFolder) || baseDir.mkpath(programFolder))
        folder = base + QLatin1Char('/') + programFolder + QLatin1Char('/');

    for (const QString& subfolder : subfolders) {
        if (!QDir(folder + subfolder).exists())
            baseDir.mkpath(programFolder + QLatin1Char('/') + subfolder);
    }
    return folder;
}

// A standard base folder may be missing on a fresh account; it is made rather
// than leaving the program without its folders.
QString standardProgramFolder(QStandardPaths::StandardLocation primary, QStandardPaths::StandardLocation fallback,
                              const QStringList& subfolders)
{
    const QString base = writableLocation(primary, fallback);
    if (!base.isEmpty())
        QDir().mkpath(base);
    return programFolderIn(base, subfolders);
}

QString previousInstallation(const QString& installationDir)
{
    QFile file(installationDir + QStringLiteral("/last_inst.conf"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    QString line = stream.readLine().trimmed();
    line.replace(QLatin1Char('\\'), QDir::separator());
    return line;
}

bool isReadable(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly);
}

} // namespace

void MProgramPaths::initPaths(const QString& installationDir)
{
    pathConfig = standardProgramFolder(QStandardPaths::GenericDataLocation, QStandardPaths::GenericConfigLocation,
                                       {QStringLiteral("config")});

    QSettings settings(pathConfig + QStringLiteral("config/Invoice.ini"), QSettings::IniFormat);
    const QString storedDataPath = settings.value(QStringLiteral("database/path"), QString()).toString();

    pathTemp = standardProgramFolder(QStandardPaths::GenericDataLocation, QStandardPaths::HomeLocation,
                                     {QStringLiteral("temp"), QStringLiteral("template"),
                                      QStringLiteral("template/logo")});

    if (storedDataPath.isEmpty()) {
        pathData = standardProgramFolder(QStandardPaths::GenericDataLocation, QStandardPaths::HomeLocation,
                                         {QStringLiteral("data"), QStringLiteral("data/backup")});
        if (QDir(pathData).exists())
            settings.setValue(QStringLiteral("database/path"), pathData);
    } else {
        // A folder the user chose is never made here: when it is missing (a
        // removed drive), the window reports it instead of starting on an empty one.
        pathData = storedDataPath;
        if (QDir(pathData).exists()) {
            QDir().mkpath(pathData + QStringLiteral("data"));
            QDir().mkpath(pathData + QStringLiteral("data/backup"));
        }
    }

    const QString dbFile = pathData + QStringLiteral("data/Invoice.db3");
    if (QDir(pathData).exists() && !QFile::exists(dbFile)) {
        const QString previous = previousInstallation(installationDir);
        const QString previousDbFile = previous + QStringLiteral("/data/Invoice.db3");
        if (!previous.isEmpty() && isReadable(previousDbFile))
            QFile::copy(previousDbFile, dbFile);
    }

    pathDocuments = standardProgramFolder(QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation,
                                          {QStringLiteral("pdf"), QStringLiteral("export"), QStringLiteral("backup")});
}

namespace {

QString dailyBackupName()
{
    return MProgramPaths::pathData + QStringLiteral("data/backup/Invoice_")
        + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".db3");
}

// Copies `source` to `target` under a temporary name and gives it the real
// name only once the copy is whole and on the disk.
void copyWhole(const QString& source, const QString& target)
{
    QTemporaryFile copy(MBackupFile::temporaryTemplate(target));
    QFile from(source);
    if (!copy.open() || !from.open(QIODevice::ReadOnly))
        return;
    QByteArray block;
    while (!(block = from.read(1 << 20)).isEmpty()) {
        if (copy.write(block) != block.size())
            return;
    }
    if (from.error() != QFileDevice::NoError || !copy.flush())
        return;
    copy.setPermissions(from.permissions());
    copy.close();
    if (MBackupFile::flush(copy.fileName()) && MBackupFile::replace(copy.fileName(), target))
        copy.setAutoRemove(false);
}

} // namespace

bool MProgramPaths::dailyBackupDue()
{
    const QFileInfo backup(dailyBackupName());
    return !backup.exists() || backup.size() == 0;
}

void MProgramPaths::backupDb(const QString& suffix)
{
    QStringList names = {dailyBackupName()};
    if (!suffix.isEmpty())
        names.append(pathData + QStringLiteral("data/backup/Invoice_") + suffix + QStringLiteral(".db3"));

    if (!isReadable(pathDbFile) || QFileInfo(pathDbFile).size() == 0)
        return;
    MBackupFile::removeStale(pathData + QStringLiteral("data/backup"));
    // An existing copy is never replaced: the first copy of a day (or of an
    // upgrade) is the one worth keeping. An empty file left by an earlier
    // version, which copied a database not made yet, keeps nothing.
    for (const QString& name : qAsConst(names)) {
        const QFileInfo backup(name);
        if (backup.exists() && backup.size() == 0)
            QFile::remove(name);
        if (!QFile::exists(name))
            copyWhole(pathDbFile, name);
    }
}

void MProgramPaths::cleanDisk()
{
    const QStringList folders = {
        pathTemp + QStringLiteral("temp/import_1xx/data"),
        pathTemp + QStringLiteral("temp/import_1xx"),
        pathTemp + QStringLiteral("temp"),
        pathTemp + QStringLiteral("template/logo"),
    };
    for (const QString& folder : folders) {
        QDir dir(folder);
        const QStringList files = dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
        for (const QString& file : files)
            dir.remove(file);
    }
}
