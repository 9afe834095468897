#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// Reads PDF files back with the poppler tools, to check what was printed.
class MTestPdf
{
public:
    // A word as pdftotext places it, in points from the page's top left corner.
    struct Word
    {
        QString text;
        double left = 0.0;
        double top = 0.0;
        double right = 0.0;
        double bottom = 0.0;
    };
    using Words = QVector<Word>;

    // A field of pdfinfo ("Pages", "Title"); empty when the file cannot be read.
    static QString info(const QString& fileName, const QString& field);
    // The text of each page, white space simplified.
    static QStringList pageTexts(const QString& fileName);
    // The words of each page with their boxes (pdftotext -bbox); empty when the file cannot be read.
    static QList<Words> pageWords(const QString& fileName);
    // The characters of the whole file in the order they were drawn (pdftotext -raw), without
    // blanks and line ends, so that a text wrapped in a table cell reads whole; ligatures are
    // taken apart.
    static QString drawnLetters(const QString& fileName);
    // Each page rendered at dpi (pdftoppm); empty when the file cannot be read.
    static QList<QImage> pageImages(const QString& fileName, int dpi);
};
