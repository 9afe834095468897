#include "CCommonMainDoc.h"

#include "CArchiveReader.h"
#include "CLoadError.h"
#include "CMessageLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <new>

CCommonMainDoc::CCommonMainDoc(const QString& dataPath, CMessageLog& log)
    : m_dataPath(dataPath)
    , m_log(log)
{
}

CCommonMainDoc::~CCommonMainDoc() = default;

// The old program ran where file names ignore letter case, and data folders
// copied from there keep names such as BUYER.DAT.
QString CCommonMainDoc::findFile(const QString& name) const
{
    const QString exact = m_dataPath + name;
    if (QFileInfo(exact).isFile())
        return exact;
    const QDir folder(m_dataPath);
    // Folders, pipes and devices too, so that they can be named when passed over.
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return m_dataPath + entry;
    }
    return QString();
}

void CCommonMainDoc::LoadFile(const QString& name)
{
    const QString path = findFile(name);
    if (path.isEmpty())
        return;
    const QString shownPath = QDir::toNativeSeparators(path);
    // Opening a pipe would wait for a writer for ever; a folder or a device
    // holds no records.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        m_log.show(QCoreApplication::translate("CCommonMainDoc", "Pominięto %1: to nie jest zwykły plik danych.")
                       .arg(shownPath));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_log.show(QCoreApplication::translate("CCommonMainDoc", "Pominięto %1: nie można otworzyć pliku.\n%2")
                       .arg(shownPath, file.errorString()));
        return;
    }

    CArchiveReader ar(&file);
    try {
        SerializeFile(ar, name);
    } catch (const CLoadError& error) {
        m_log.show(error.message(shownPath));
    } catch (const std::bad_alloc&) {
        m_log.show(CLoadError(CLoadError::Memory, 0).message(shownPath));
    }
}
