#include "data/MJpkXmlFile.h"

#include "data/MFileWriteError.h"

#include <QCoreApplication>
#include <QDateTime>


MJpkXmlFile::MJpkXmlFile(const QString& fileName)
    : m_file(fileName)
{
}

bool MJpkXmlFile::open()
{
    if (!m_file.open(QIODevice::WriteOnly)) {
        fail(fileReason());
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

void MJpkXmlFile::startRoot(const QString& structureNamespace)
{
    m_xml.writeStartElement(QStringLiteral("JPK"));
    m_xml.writeAttribute(QStringLiteral("xmlns"), structureNamespace);
    m_xml.writeAttribute(QStringLiteral("xmlns:etd"),
                         QStringLiteral("http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2016/01/25/eD/DefinicjeTypy/"));
}

void MJpkXmlFile::startHeader(const QString& form, const QString& systemCode, const QString& schemaVersion,
                              int variant, const QDate& dateFrom, const QDate& dateTo)
{
    m_xml.writeStartElement(QStringLiteral("Naglowek"));
    m_xml.writeStartElement(QStringLiteral("KodFormularza"));
    m_xml.writeAttribute(QStringLiteral("kodSystemowy"), systemCode);
    m_xml.writeAttribute(QStringLiteral("wersjaSchemy"), schemaVersion);
    m_xml.writeCharacters(form);
    m_xml.writeEndElement();
    m_xml.writeTextElement(QStringLiteral("WariantFormularza"), QString::number(variant));
    m_xml.writeTextElement(QStringLiteral("CelZlozenia"), QStringLiteral("1"));
    m_xml.writeTextElement(QStringLiteral("DataWytworzeniaJPK"),
                           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    m_xml.writeTextElement(QStringLiteral("DataOd"), dateFrom.toString(QStringLiteral("yyyy-MM-dd")));
    m_xml.writeTextElement(QStringLiteral("DataDo"), dateTo.toString(QStringLiteral("yyyy-MM-dd")));
}

bool MJpkXmlFile::commit()
{
    m_xml.writeEndDocument();
    // The buffered end of the text goes out here: QSaveFile::commit() would put a
    // file in place whose last write failed (a full disk left it empty).
    if (m_xml.hasError() || !m_file.flush()) {
        // Without an error of the file the writer met a character that XML cannot carry.
        const QString reason = m_file.error() == QFileDevice::NoError
                                   ? QCoreApplication::translate("MJpkXmlFile",
                                                                 "tekst zawiera znak, którego plik XML nie może zawierać")
                                   : fileReason();
        m_file.cancelWriting();
        m_file.commit();
        fail(reason);
        return false;
    }
    if (!m_file.commit()) {
        fail(fileReason());
        return false;
    }
    return true;
}

QString MJpkXmlFile::errorText() const
{
    return m_errorText;
}

QString MJpkXmlFile::fileReason() const
{
    return MFileWriteError::reason(m_file.fileName(), &m_file);
}

void MJpkXmlFile::fail(const QString& reason)
{
    m_errorText = MFileWriteError::message(m_file.fileName(), reason);
}
