#pragma once

#include <QString>
#include <QStringList>

// Reads PDF files back with the poppler tools, to check what was printed.
class MTestPdf
{
public:
    // A field of pdfinfo ("Pages", "Title"); empty when the file cannot be read.
    static QString info(const QString& fileName, const QString& field);
    // The text of each page, white space simplified.
    static QStringList pageTexts(const QString& fileName);
};
