#include "CCommonMainDoc.h"

#include "CArchiveReader.h"
#include "CLoadError.h"
#include "CMessageLog.h"

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
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;

    CArchiveReader ar(&file);
    try {
        SerializeFile(ar, name);
    } catch (const CLoadError& error) {
        m_log.show(error.message(QDir::toNativeSeparators(path)));
    } catch (const std::bad_alloc&) {
        m_log.show(CLoadError(CLoadError::Memory, 0).message(QDir::toNativeSeparators(path)));
    }
}
