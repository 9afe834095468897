#include "export/MJpkXmlFile.h"

#include <QCoreApplication>
#include <QDir>

MJpkXmlFile::MJpkXmlFile(const QString& fileName)
    : m_file(fileName)
{
}

bool MJpkXmlFile::open()
{
    if (!m_file.open(QIODevice::WriteOnly)) {
        fail(m_file.errorString());
        return false;
    }
    m_xml.setDevice(&m_file);
    m_xml.setAutoFormatting(true);
    m_xml.setAutoFormattingIndent(4);
    m_xml.setCodec("UTF-8");
    m_xml.writeStartDocument(QStringLiteral("1.0"));
    return true;
}

QXmlStreamWriter& MJpkXmlFile::xml()
{
    return m_xml;
}

bool MJpkXmlFile::commit()
{
    m_xml.writeEndDocument();
    if (m_xml.hasError()) {
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        m_file.commit();
        fail(reason);
        return false;
    }
    if (!m_file.commit()) {
        fail(m_file.errorString());
        return false;
    }
    return true;
}

QString MJpkXmlFile::errorText() const
{
    return m_errorText;
}

void MJpkXmlFile::fail(const QString& reason)
{
    m_errorText = QCoreApplication::translate("MJpkXmlFile", "Nie można zapisać pliku %1: %2.")
                      .arg(QDir::toNativeSeparators(m_file.fileName()), reason);
}
