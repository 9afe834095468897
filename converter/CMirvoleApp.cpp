#include "CMirvoleApp.h"

#include "CMainDoc.h"
#include "CMessageLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString GetModulePath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString GetDataPath()
{
    return GetModulePath() + QLatin1String("data/");
}

namespace {

// The output of an earlier run goes before this one starts: whatever becomes
// of this run, that file must not be imported as its result. One that cannot
// be removed is at least emptied; one that cannot be emptied either ends the
// run. Anything but a file at that name is left to the write, which fails.
bool removeStaleOutput(const QString& outputPath, CMessageLog& log)
{
    QFile stale(outputPath);
    if (!QFileInfo(outputPath).isFile() || stale.remove())
        return true;
    const QString reason = stale.errorString();
    if (stale.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    log.show(QCoreApplication::translate("CMirvoleApp", "Nie można usunąć pliku %1 z poprzedniej konwersji.\n%2")
                 .arg(QDir::toNativeSeparators(outputPath), reason));
    return false;
}

} // namespace

CMirvoleApp::CMirvoleApp(const QString& dataPath)
    : m_dataPath(dataPath)
{
}

CMirvoleApp::ExitCode CMirvoleApp::Run()
{
    CMessageLog log(m_dataPath + QLatin1String("mirvole.log"));
    if (!QFileInfo(m_dataPath).isDir()) {
        log.show(QCoreApplication::translate("CMirvoleApp", "Nie znaleziono katalogu z plikami danych: %1.")
                     .arg(QDir::toNativeSeparators(QDir::cleanPath(m_dataPath))));
        return OutputFailed;
    }

    const QString outputPath = m_dataPath + QLatin1String("mirvole.sql");
    if (!removeStaleOutput(outputPath, log))
        return OutputFailed;

    CMainDoc doc(m_dataPath, log);
    doc.LoadAll();

    // Written under a temporary name and renamed only when complete, so that
    // the application never imports half a file as if it were the whole.
    QSaveFile output(outputPath);
    if (output.open(QIODevice::WriteOnly) && doc.WriteSql(output) && output.commit())
        return Converted;

    const QString reason = output.errorString();
    output.cancelWriting();
    // A file left by an earlier run must not pass for the output of this one.
    QFile::remove(outputPath);
    log.show(QCoreApplication::translate("CMirvoleApp", "Nie można zapisać pliku %1.\n%2")
                 .arg(QDir::toNativeSeparators(outputPath), reason));
    return OutputFailed;
}
