#include "MTestPdf.h"

#include <QProcess>

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
