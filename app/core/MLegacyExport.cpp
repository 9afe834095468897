#include "core/MLegacyExport.h"

#include "views/MFileDialog.h"
#include "views/MMessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MLegacyExport", text);
}

} // namespace

QString MLegacyExport::run(QWidget* parent, const QString& tempPath, const QString& converterDir)
{
    const QString chosen = MFileDialog::getExistingDirectory(
        parent, tr("Otwórz katalog z plikami danych z wersji 1.xx"), QString());
    if (chosen.isEmpty())
        return QString();
    const MLegacyStaging::Result staged = MLegacyStaging::stage(chosen, tempPath, converterDir);
    if (staged.stagedData.isEmpty()) {
        MMessageBox::show(parent, staged.message);
        return QString();
    }

    // The converter runs on its own while the user goes on working; only a start that fails is told.
    auto* process = new QProcess(parent);
    process->setWorkingDirectory(QFileInfo(staged.converter).absolutePath());
    QObject::connect(process, &QProcess::errorOccurred, process, [parent, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            MMessageBox::critical(parent, tr("Eksportuj z wersji 1"),
                                  tr("Nie można uruchomić konwertera: %1").arg(process->errorString().toHtmlEscaped()));
    });
    process->start(staged.converter, QStringList());
    return staged.stagedData;
}
