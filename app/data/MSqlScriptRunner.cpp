#include "data/MSqlScriptRunner.h"

#include "data/MProgramVersion.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextCodec>
#include <QVariant>
#include <QVector>

namespace {

const QLatin1String versionKeyword("VERSION");

// The failures a repeated run of the schema script causes by design.
bool isRepeatFailure(const QSqlError& error)
{
    const QString text = error.databaseText();
    return text.startsWith(QLatin1String("duplicate column name"))
        || text.startsWith(QLatin1String("UNIQUE constraint failed"))
        || text.endsWith(QLatin1String(" already exists"));
}

// A script's own BEGIN, COMMIT (or END) and ROLLBACK would end the run's one
// transaction part-way: what came before would stay whatever failed after.
bool isTransactionControl(const QString& statement)
{
    static const QRegularExpression keyword(QStringLiteral("^(BEGIN|COMMIT|END|ROLLBACK)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    return keyword.match(statement).hasMatch();
}

bool gateOpen(int block, const MSqlScriptRunner::Versions& versions)
{
    return block <= versions.program
        && (versions.database == 0 || block <= versions.database)
        && (versions.check == 0 || block <= versions.check);
}

} // namespace

const int MSqlScriptRunner::programVersion = MProgramVersion::versionNumber;

MSqlScriptRunner::Versions MSqlScriptRunner::databaseVersions(int program)
{
    Versions versions;
    versions.program = program;
    QSqlQuery query;
    if (query.exec(QStringLiteral(
            "SELECT num_major, num_minor, check_num_major, check_num_minor FROM _version WHERE id = 1"))
        && query.next()) {
        versions.database = query.value(0).toInt() * 1000 + query.value(1).toInt();
        versions.check = query.value(2).toInt() * 1000 + query.value(3).toInt();
    }
    return versions;
}

MSqlScriptRunner::Result MSqlScriptRunner::run(const QString& path, bool localEncoding)
{
    return runFile(path, localEncoding, std::nullopt);
}

MSqlScriptRunner::Result MSqlScriptRunner::run(const QString& path, bool localEncoding, const Versions& versions)
{
    return runFile(path, localEncoding, versions);
}

int MSqlScriptRunner::headerVersion(const QString& trimmedLine)
{
    if (!trimmedLine.startsWith(QLatin1String("--")))
        return -1;
    const QString comment = trimmedLine.mid(2).trimmed();
    if (!comment.startsWith(versionKeyword))
        return -1;
    const QString version = comment.mid(versionKeyword.size()).trimmed();
    const int dot = version.indexOf(QLatin1Char('.'));
    const int major = version.left(dot).toInt();
    const int minor = dot < 0 ? 0 : version.mid(dot + 1).toInt();
    return major * 1000 + minor;
}

QString MSqlScriptRunner::decode(const QByteArray& bytes, bool localEncoding)
{
    QTextCodec* utf8 = QTextCodec::codecForMib(106);
    if (!localEncoding)
        return utf8->toUnicode(bytes);

    QTextCodec::ConverterState state;
    const QString text = utf8->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
#ifdef Q_OS_WIN
    QTextCodec* legacy = QTextCodec::codecForLocale();
#else
    QTextCodec* legacy = QTextCodec::codecForName("Windows-1250");
#endif
    return legacy->toUnicode(bytes);
}

MSqlScriptRunner::Result MSqlScriptRunner::runFile(const QString& path, bool localEncoding,
                                                   std::optional<Versions> versions)
{
    Result result;
    if (path.isEmpty())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QString text = decode(file.readAll(), localEncoding);
    file.close();
    result.opened = true;

    QSqlQuery query;
    auto recordError = [&result, &query](const QString& where, const QString& message = QString()) {
        if (result.errors++ == 0)
            result.firstError =
                where + QStringLiteral(": ") + (message.isNull() ? query.lastError().databaseText() : message);
    };

    if (!query.exec(QStringLiteral("begin")))
        recordError(QStringLiteral("begin"));
    if (!versions)
        versions = databaseVersions();

    bool open = true;
    int lineNumber = 0;
    const QVector<QStringRef> lines = text.splitRef(QLatin1Char('\n'));
    for (const QStringRef& rawLine : lines) {
        ++lineNumber;
        const QStringRef line = rawLine.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("--"))) {
            const int block = headerVersion(line.toString());
            if (block >= 0)
                open = gateOpen(block, *versions);
            continue;
        }
        if (!open)
            continue;
        const QString statement = line.toString();
        if (isTransactionControl(statement))
            recordError(QStringLiteral("line %1").arg(lineNumber),
                        QCoreApplication::translate("MSqlScriptRunner", "polecenie transakcji pominięte"));
        else if (query.exec(statement))
            ++result.executed;
        else if (isRepeatFailure(query.lastError()))
            ++result.repeatFailures;
        else
            recordError(QStringLiteral("line %1").arg(lineNumber));
    }
    query.finish();

    result.committed = query.exec(QStringLiteral("commit"));
    if (!result.committed) {
        recordError(QStringLiteral("commit"));
        query.exec(QStringLiteral("rollback"));
    }
    return result;
}
