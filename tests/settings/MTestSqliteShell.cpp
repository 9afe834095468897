#include "MTestSqliteShell.h"

#include <QProcess>

namespace {

QString& errorText()
{
    static QString text;
    return text;
}

} // namespace

QStringList MTestSqliteShell::lines(const QString& file, const QString& sql)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {file, sql});
    if (!shell.waitForFinished(30000)) {
        errorText() = QStringLiteral("sqlite3 did not finish");
        return {};
    }
    errorText() = QString::fromUtf8(shell.readAllStandardError());
    if (shell.exitCode() != 0 && errorText().isEmpty())
        errorText() = QStringLiteral("sqlite3 ended with %1").arg(shell.exitCode());
    QString output = QString::fromUtf8(shell.readAllStandardOutput());
    if (output.isEmpty())
        return {};
    if (output.endsWith(QLatin1Char('\n')))
        output.chop(1);
    return output.split(QLatin1Char('\n'));
}

QString MTestSqliteShell::lastError()
{
    return errorText();
}
