#include "MTestCsvReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

QList<QStringList> readCsvWithPython(const QString& fileName)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 { QStringLiteral("-c"),
                   QStringLiteral("import csv, json, sys\n"
                                  "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                  "    print(json.dumps(list(csv.reader(f, strict=True))))\n"),
                   fileName });
    QList<QStringList> rows;
    if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0)
        return rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& field : row.toArray())
            fields << field.toString();
        rows << fields;
    }
    return rows;
}
