#include "data/MSqlScriptRunner.h"

#include "data/MDbVersion.h"
#include "data/MProgramVersion.h"
#include "data/MSqlFileEncoding.h"
#include "data/MSqlLineReader.h"
#include "data/MSqliteHandle.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextCodec>
#include <QVariant>

#include <sqlite3.h>

namespace {

const QLatin1String versionKeyword("VERSION");

// Longer lines are no statements of the format; their bytes are never held.
const int maxLineLength = 32 * 1024 * 1024;

QString tr(const char* text)
{
    return QCoreApplication::translate("MSqlScriptRunner", text);
}

// The failures a repeated run of the schema script causes by design.
bool isRepeatFailure(const QSqlError& error)
{
    const QString text = error.databaseText();
    return text.startsWith(QLatin1String("duplicate column name"))
        || text.startsWith(QLatin1String("UNIQUE constraint failed"))
        || text.endsWith(QLatin1String(" already exists"));
}

bool gateOpen(int block, const MSqlScriptRunner::Versions& versions)
{
    return block <= versions.program
        && (versions.database == 0 || block <= versions.database)
        && (versions.check == 0 || block <= versions.check);
}

bool isProtectedTable(const char* table)
{
    return table
        && (sqlite3_strnicmp(table, "sqlite_", 7) == 0 || sqlite3_stricmp(table, "_version") == 0);
}

// No line of a script may end, open or nest the run's transaction, nor
// attach another file. An imported file may besides only read and change
// rows, and not those of the version row or of SQLite's own tables.
int scriptAuthorizer(void* rights, int action, const char* first, const char*, const char*, const char*)
{
    switch (action) {
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
        return SQLITE_DENY;
    default:
        break;
    }
    if (*static_cast<const MSqlScriptRunner::Rights*>(rights) == MSqlScriptRunner::Rights::Schema)
        return SQLITE_OK;
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
        return isProtectedTable(first) ? SQLITE_DENY : SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

// The authorizer for the lines of one run; the runner's own begin and commit run without it.
class ScriptGuard
{
public:
    ScriptGuard(sqlite3* db, const MSqlScriptRunner::Rights& rights)
        : m_db(db)
    {
        if (m_db)
            sqlite3_set_authorizer(m_db, scriptAuthorizer, const_cast<MSqlScriptRunner::Rights*>(&rights));
    }
    ~ScriptGuard()
    {
        if (m_db)
            sqlite3_set_authorizer(m_db, nullptr, nullptr);
    }
    ScriptGuard(const ScriptGuard&) = delete;
    ScriptGuard& operator=(const ScriptGuard&) = delete;

    // False once SQLite has ended the transaction: a failing statement with
    // ON CONFLICT ROLLBACK, or an error that rolls back by itself (disk full).
    bool transactionOpen() const { return !m_db || sqlite3_get_autocommit(m_db) == 0; }

private:
    sqlite3* m_db;
};

} // namespace

const int MSqlScriptRunner::programVersion = MProgramVersion::versionNumber;

MSqlScriptRunner::Versions MSqlScriptRunner::databaseVersions(int program)
{
    Versions versions;
    versions.program = program;
    MDbVersion row;
    QString error;
    MDbVersion::read(&row, &error);
    versions.database = row.number();
    versions.check = row.checkNumber();
    return versions;
}

MSqlScriptRunner::Result MSqlScriptRunner::run(const QString& path, bool localEncoding)
{
    return runFile(path, localEncoding, std::nullopt, Rights::Schema);
}

MSqlScriptRunner::Result MSqlScriptRunner::run(const QString& path, bool localEncoding, const Versions& versions)
{
    return runFile(path, localEncoding, versions, Rights::Schema);
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

MSqlScriptRunner::Result MSqlScriptRunner::runImport(const QString& path)
{
    return runFile(path, true, std::nullopt, Rights::Import);
}

MSqlScriptRunner::Result MSqlScriptRunner::runFile(const QString& path, bool localEncoding,
                                                   std::optional<Versions> versions, Rights rights)
{
    Result result;
    if (path.isEmpty())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.opened = true;
    const qint64 size = file.size();

    // The encoding is told from the whole file before any line runs.
    MSqlFileEncoding encoding;
    if (localEncoding) {
        MSqlLineReader reader(&file, size, maxLineLength);
        QByteArray line;
        MSqlLineReader::Status status;
        while ((status = reader.next(&line)) != MSqlLineReader::Status::End) {
            if (status == MSqlLineReader::Status::ReadError) {
                result.readFailed = true;
                result.firstError = tr("nie można odczytać pliku: %1").arg(file.errorString());
                return result;
            }
            if (status == MSqlLineReader::Status::Line && !line.trimmed().startsWith("--"))
                encoding.add(line);
        }
        if (!file.seek(0)) {
            result.readFailed = true;
            result.firstError = tr("nie można odczytać pliku: %1").arg(file.errorString());
            return result;
        }
    }
    const MSqlFileEncoding::Kind reading = localEncoding ? encoding.reading() : MSqlFileEncoding::Kind::Utf8;
    if (localEncoding)
        result.reading = MSqlFileEncoding::name(reading);
    result.readingGuessed = encoding.isGuessed();

    QSqlQuery query;
    auto recordError = [&result](const QString& text) {
        if (result.errors++ == 0)
            result.firstError = text;
    };
    auto lineError = [&recordError](qint64 lineNumber, const QString& sentence, const QString& detail) {
        recordError(tr("wiersz %1: %2").arg(lineNumber).arg(sentence)
                    + (detail.isEmpty() ? QString() : QStringLiteral(": ") + detail));
    };

    if (!query.exec(QStringLiteral("begin")))
        recordError(tr("nie można rozpocząć transakcji: %1").arg(query.lastError().databaseText()));
    if (!versions)
        versions = databaseVersions();

    QString lost; // why SQLite ended the transaction
    {
        const ScriptGuard guard(MSqliteHandle::of(QSqlDatabase::database()), rights);
        MSqlLineReader reader(&file, size, maxLineLength);
        QByteArray bytes;
        bool open = true;
        for (;;) {
            const MSqlLineReader::Status status = reader.next(&bytes);
            if (status == MSqlLineReader::Status::End)
                break;
            if (status == MSqlLineReader::Status::ReadError) {
                result.readFailed = true;
                ++result.errors;
                result.firstError = tr("nie można odczytać pliku do końca (wiersz %1): %2")
                                        .arg(reader.lineNumber() + 1)
                                        .arg(file.errorString());
                break;
            }
            if (status == MSqlLineReader::Status::TooLong) {
                if (open)
                    lineError(reader.lineNumber(), tr("wiersz jest za długi, pominięto go"), QString());
                continue;
            }
            const QByteArray trimmed = bytes.trimmed();
            if (trimmed.isEmpty())
                continue;
            if (trimmed.startsWith("--") || trimmed.startsWith("\xEF\xBB\xBF--")) {
                const int block = headerVersion(MSqlFileEncoding::decode(trimmed, MSqlFileEncoding::Kind::Utf8).trimmed());
                if (block >= 0)
                    open = gateOpen(block, *versions);
                continue;
            }
            if (!open)
                continue;
            if (localEncoding && MSqlFileEncoding::isUnreadable(MSqlFileEncoding::classify(trimmed), reading)) {
                lineError(reader.lineNumber(),
                          tr("nie można odczytać tekstu wiersza w kodowaniu %1, w którym odczytano plik; "
                             "pominięto go")
                              .arg(MSqlFileEncoding::name(reading)),
                          QString());
                continue;
            }
            const QString statement = MSqlFileEncoding::decode(trimmed, reading).trimmed();
            if (statement.isEmpty())
                continue;
            if (query.exec(statement)) {
                ++result.executed;
            } else if (query.lastError().nativeErrorCode() == QString::number(SQLITE_AUTH)) {
                lineError(reader.lineNumber(),
                          rights == Rights::Import
                              ? tr("plik importu nie może zmieniać budowy bazy, transakcji ani wiersza wersji; "
                                   "polecenie pominięto")
                              : tr("skrypt nie może sterować transakcją; polecenie pominięto"),
                          query.lastError().databaseText());
            } else if (isRepeatFailure(query.lastError())) {
                ++result.repeatFailures;
            } else {
                lineError(reader.lineNumber(), tr("polecenie nie zostało wykonane"), query.lastError().databaseText());
            }
            if (!guard.transactionOpen()) {
                lost = tr("wiersz %1: baza danych wycofała przy tym poleceniu całą transakcję: %2")
                           .arg(reader.lineNumber())
                           .arg(query.lastError().databaseText());
                break;
            }
        }
        query.finish();
    }
    file.close();

    if (!lost.isEmpty() || result.readFailed) {
        // SQLite rolled the whole run back by itself, or the file could not
        // be read to its end: nothing of it stays, which is what the user
        // must read first.
        if (!lost.isEmpty()) {
            ++result.errors;
            result.firstError = lost;
        } else {
            query.exec(QStringLiteral("rollback"));
        }
        result.committed = false;
        return result;
    }

    result.committed = query.exec(QStringLiteral("commit"));
    if (!result.committed) {
        recordError(tr("nie można zatwierdzić zmian: %1").arg(query.lastError().databaseText()));
        query.exec(QStringLiteral("rollback"));
    }
    return result;
}
