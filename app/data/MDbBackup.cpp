#include "data/MDbBackup.h"

#include "data/MBackupFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QVariant>

namespace {

QString samePathForm(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

QString MDbBackup::withSuffix(const QString& fileName)
{
    return QFileInfo(fileName).suffix().isEmpty() ? fileName + QStringLiteral(".db3") : fileName;
}

MDbBackup::Result MDbBackup::write(const QString& target)
{
    Result result;
    const QString shown = QDir::toNativeSeparators(target);
    auto failed = [&result, &shown](const QString& reason) {
        result.message = tr("Nie wykonano kopii zapasowej bazy danych do pliku %1.").arg(shown)
                         + QStringLiteral("<br>") + reason;
        return result;
    };

    const QSqlDatabase db = QSqlDatabase::database();
    if (!db.isOpen())
        return failed(tr("Baza danych nie jest otwarta."));
    // Replacing the open database by its own copy would pull the file from
    // under the connection.
    if (samePathForm(target) == samePathForm(db.databaseName())) {
        result.outcome = Outcome::SameFile;
        result.message = tr("Wybrany plik jest plikiem otwartej bazy danych. Kopia zapasowa nie została wykonana.");
        return result;
    }
    if (QFileInfo(target).isDir())
        return failed(tr("Pod tą nazwą istnieje katalog."));

    // VACUUM INTO writes only into a file that is new or empty, so the copy
    // goes to an empty temporary file in the target's folder (the same file
    // system, which the final rename needs).
    const QFileInfo targetInfo(target);
    MBackupFile::removeStale(targetInfo.absolutePath());
    QTemporaryFile temporary(MBackupFile::temporaryTemplate(targetInfo.absoluteFilePath()));
    if (!temporary.open())
        return failed(tr("Nie można utworzyć pliku w katalogu %1.")
                          .arg(QDir::toNativeSeparators(targetInfo.absolutePath())));
    const QString temporaryName = temporary.fileName();
    temporary.close();

    QSqlQuery query(db);
    query.prepare(QStringLiteral("VACUUM INTO :file"));
    query.bindValue(QStringLiteral(":file"), temporaryName);
    if (!query.exec())
        return failed(tr("Nie udało się zapisać kopii bazy danych: %1").arg(query.lastError().databaseText()));

    // SQLite leaves the copy in the system's buffers: under the real name it
    // must be whole even if the power goes right after.
    if (!MBackupFile::flush(temporaryName))
        return failed(tr("Nie udało się zapisać kopii bazy danych na dysk."));
    if (!MBackupFile::replace(temporaryName, target))
        return failed(tr("Nie można zastąpić pliku docelowego."));

    temporary.setAutoRemove(false);
    result.outcome = Outcome::Written;
    result.message = tr("Kopia zapasowa bazy danych została zapisana w pliku %1.").arg(shown);
    return result;
}
