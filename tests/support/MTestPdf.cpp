#include "MTestPdf.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

QString MTestPdf::info(const QString& fileName, const QString& field)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {fileName});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return QString();
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    }
    return QString();
}

QStringList MTestPdf::pageTexts(const QString& fileName)
{
    QStringList texts;
    const int pages = info(fileName, QStringLiteral("Pages")).toInt();
    for (int page = 1; page <= pages; ++page) {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                                    QString::number(page), fileName, QStringLiteral("-")});
        process.waitForFinished();
        texts.append(QString::fromUtf8(process.readAllStandardOutput()).simplified());
    }
    return texts;
}

QList<MTestPdf::Words> MTestPdf::pageWords(const QString& fileName)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), fileName, QStringLiteral("-")});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression wordPattern(QStringLiteral(
        "<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>"));
    QList<Words> pages;
    const QStringList parts = html.split(QStringLiteral("<page "));
    for (int i = 1; i < parts.size(); ++i) {
        Words words;
        auto it = wordPattern.globalMatch(parts.at(i));
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            // The words are XHTML text: markup characters printed on the page come escaped.
            QString text = match.captured(5);
            text.replace(QLatin1String("&lt;"), QLatin1String("<"))
                .replace(QLatin1String("&gt;"), QLatin1String(">"))
                .replace(QLatin1String("&quot;"), QLatin1String("\""))
                .replace(QLatin1String("&apos;"), QLatin1String("'"))
                .replace(QLatin1String("&amp;"), QLatin1String("&"));
            words.append({text, match.captured(1).toDouble(), match.captured(2).toDouble(),
                          match.captured(3).toDouble(), match.captured(4).toDouble()});
        }
        pages.append(words);
    }
    return pages;
}

QString MTestPdf::drawnLetters(const QString& fileName)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), fileName, QStringLiteral("-")});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return QString();
    QString text = QString::fromUtf8(process.readAllStandardOutput());
    text.replace(QChar(0xfb01), QStringLiteral("fi")).replace(QChar(0xfb02), QStringLiteral("fl"));
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

QList<QImage> MTestPdf::pageImages(const QString& fileName, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("strona"));
    if (QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi),
                                                       QStringLiteral("-png"), fileName, prefix})
        != 0)
        return {};
    QList<QImage> images;
    // pdftoppm numbers the files with as many digits as the last page needs: they sort in page order.
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("strona-*.png")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        images.append(QImage(dir.filePath(file)));
    return images;
}
