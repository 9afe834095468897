#include "MJpkTestFile.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace {

const QString dataFolder = QStringLiteral(INVOICE_JPK_TEST_DATA);

QString run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
            bool* ok)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    *ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput()) + QString::fromUtf8(process.readAllStandardError());
}

} // namespace

QString MJpkTestFile::schemaErrors(const QString& file, const QString& schema)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XML_CATALOG_FILES"), dataFolder + QStringLiteral("/catalog.xml"));
    bool ok = false;
    const QString output = run(QStringLiteral("xmllint"),
                               {QStringLiteral("--noout"), QStringLiteral("--nonet"), QStringLiteral("--catalogs"),
                                QStringLiteral("--schema"), dataFolder + QLatin1Char('/') + schema, file},
                               environment, &ok);
    return ok ? QString() : output;
}

QStringList MJpkTestFile::elements(const QString& file, const QString& element)
{
    bool ok = false;
    const QString output = run(QStringLiteral(INVOICE_PYTHON3),
                               {QStringLiteral(INVOICE_JPK_ELEMENTS_SCRIPT), file, element},
                               QProcessEnvironment::systemEnvironment(), &ok);
    if (!ok)
        return {QStringLiteral("<lxml failed> ") + output};
    return output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString MJpkTestFile::part(const QString& line, const QString& name)
{
    const QString key = name + QLatin1Char('=');
    for (const QString& piece : line.split(QLatin1Char(';'))) {
        if (piece.startsWith(key))
            return piece.mid(key.size());
    }
    return QStringLiteral("<none>");
}
