#pragma once

#include <QString>
#include <QStringList>

// Reading and checking the JPK files that a test wrote, with the project's own
// copy of the official schemas and their offline catalog.
class MJpkTestFile
{
public:
    // Empty when `file` is valid against the schema file `schema` (a name in the
    // test data folder), else what xmllint says.
    static QString schemaErrors(const QString& file, const QString& schema);
    // One line per element of local name `element`: "@attr=value" and
    // "leaf=text" parts joined by ";", in document order, read with lxml.
    static QStringList elements(const QString& file, const QString& element);
    // The text of leaf `name` in a line of elements(); "<none>" when absent.
    static QString part(const QString& line, const QString& name);
};
