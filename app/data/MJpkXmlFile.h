#pragma once

#include <QDate>
#include <QSaveFile>
#include <QString>
#include <QXmlStreamWriter>

// One XML file of a tax control export, written in full or not at all: the
// text goes to a temporary file that replaces the target only when all of it
// has been written.
class MJpkXmlFile
{
public:
    explicit MJpkXmlFile(const QString& fileName);

    // Starts the document (UTF-8, four blanks of indentation); false when the
    // file cannot be created, with errorText() saying why.
    bool open();
    QXmlStreamWriter& xml();
    // Opens the root JPK in the structure's namespace, with the etd prefix bound.
    void startRoot(const QString& structureNamespace);
    // Opens Naglowek and writes its common elements up to DataDo; the caller adds
    // the rest and closes it.
    void startHeader(const QString& form, const QString& systemCode, const QString& schemaVersion, int variant,
                     const QDate& dateFrom, const QDate& dateTo);
    // Ends the document and puts the file in place; false, with nothing left
    // behind, when any of it could not be written.
    bool commit();
    // "Nie można zapisać pliku <name>: <reason>." after a failed open or commit.
    QString errorText() const;

private:
    // Why the file failed, in the user's words.
    QString fileReason() const;
    void fail(const QString& reason);

    QSaveFile m_file;
    QXmlStreamWriter m_xml;
    QString m_errorText;
};
