#include "core/MLegacyExport.h"

#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>

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

QString MLegacyExport::converterName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("mirvole.exe");
#else
    return QStringLiteral("mirvole");
#endif
}

QString MLegacyExport::run(QWidget* parent, const QString& tempPath, const QString& converterDir)
{
    const QString chosen = MFileDialog::getExistingDirectory(
        parent, tr("Otwórz katalog z plikami danych z wersji 1.xx"), QString());
    if (chosen.isEmpty())
        return QString();
    const QDir dataDir(chosen);
    if (dataDir.dirName() != QLatin1String("data")) {
        MMessageBox::critical(parent, tr("Błąd wybranego katalogu"), tr("Nie wybrano katalogu o nazwie data."));
        return QString();
    }
    const QString converterSource = QDir(converterDir).filePath(converterName());
    if (!QFileInfo(converterSource).isFile()) {
        MMessageBox::critical(parent, tr("Eksportuj z wersji 1"),
                              tr("Nie znaleziono konwertera %1.")
                                  .arg(QDir::toNativeSeparators(converterSource).toHtmlEscaped()));
        return QString();
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

    // The converter runs on its own while the user goes on working; only a start that fails is told.
    auto* process = new QProcess(parent);
    process->setWorkingDirectory(staging);
    QObject::connect(process, &QProcess::errorOccurred, process, [parent, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            MMessageBox::critical(parent, tr("Eksportuj z wersji 1"),
                                  tr("Nie można uruchomić konwertera: %1").arg(process->errorString().toHtmlEscaped()));
    });
    process->start(converter, QStringList());
    return stagingData;
}
