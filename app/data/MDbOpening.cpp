#include "data/MDbOpening.h"

#include "data/MDbVersion.h"
#include "data/MInvoiceCopies.h"
#include "data/MOptions.h"
#include "data/MProgramVersion.h"
#include "data/MRoundCents.h"
#include "data/MSqlitePolish.h"
#include "data/MSqlScriptRunner.h"
#include "data/MSqliteHandle.h"
#include "data/MSqlValue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

namespace {

constexpr int programMajor = MProgramVersion::versionMajor;
constexpr int programMinor = MProgramVersion::versionMinor;
constexpr int programVersion = programMajor * 1000 + programMinor;

// Qt's own wait for another connection's lock, and the short one of the start-up check.
const int busyMilliseconds = 5000;
const int busyCheckMilliseconds = 200;

QString tr(const char* text)
{
    return QCoreApplication::translate("MAppWnd", text);
}

// The version row, all 0 when it cannot be read (the opening refuses such a database).
MDbVersion versionRow()
{
    MDbVersion version;
    QString error;
    MDbVersion::read(&version, &error);
    return version;
}

QString nativeFile(const QString& path)
{
    return QDir::toNativeSeparators(path).toHtmlEscaped();
}

// Byte 18 of the database header: 1 for a rollback journal, 2 for WAL; -1
// when it cannot be read. A file too short to have a header (a new, empty
// database) counts as 1.
int headerWriteVersion(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    if (file.size() < 100)
        return 1;
    char version = 0;
    return file.seek(18) && file.getChar(&version) ? static_cast<unsigned char>(version) : -1;
}

QString backupSuffix(int major, int minor)
{
    return QStringLiteral("v") + QString::number(major) + QString::number(minor);
}

} // namespace

bool MDbOpening::createConnection(const QString& path, MDataMessage* failure)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    if (!db.open()) {
        *failure = {MDataMessage::Kind::Critical, tr("Błąd połączenia z bazą danych"),
                    tr("Nie można ustanowić połączenia z bazą danych.")};
        return false;
    }

    // A file locked by another program, or no database at all, would fail
    // below as if the Polish layer were missing (locked: after long waits).
    if (!accessible(path, failure)) {
        db.close();
        return false;
    }

    QString error;
    bool ready = MSqlitePolish::install(db, &error) && MRoundCents::install(db, &error);
    if (ready) {
        QSqlQuery query(db);
        query.exec(QStringLiteral("begin"));
        query.exec(QStringLiteral("PRAGMA encoding = 'UTF-8'"));
        query.exec(QStringLiteral("PRAGMA cache_size = 20000"));
        query.exec(QStringLiteral("PRAGMA temp_store = 2"));
        // Nobody else may open the file while the program works on it.
        query.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        ready = query.exec(QStringLiteral("SELECT icu_load_collation('pl_PL', 'POLISH')"));
        if (!ready)
            error = query.lastError().text();
        query.exec(QStringLiteral("commit"));
    }
    if (!ready) {
        db.close();
        *failure = {MDataMessage::Kind::Critical, tr("Błąd połączenia z bazą danych"),
                    tr("Nie można przygotować porównywania tekstów w języku polskim.<br>%1").arg(error.toHtmlEscaped())};
        return false;
    }
    return true;
}

int MDbOpening::dbNumMajor()
{
    return versionRow().major;
}

int MDbOpening::dbNumMinor()
{
    return versionRow().minor;
}

int MDbOpening::dbCheckNumMajor()
{
    return versionRow().checkMajor;
}

int MDbOpening::dbCheckNumMinor()
{
    return versionRow().checkMinor;
}

void MDbOpening::cleanDb()
{
    static const char* const tables[] = {
        "__count_price",       "__invoice_buyer",       "__invoice_buyer_address", "__invoice_correct_misc",
        "__invoice_currency_rating", "__invoice_join",  "__invoice_product",       "__invoice_product_misc",
        "__invoice_seller",    "__invoice_vat_summary", "__invoice_vat_summary_id", "__invoice_error",
        "__invoice_error_id",  "__seller_bank",
    };
    QSqlQuery query;
    query.exec(QStringLiteral("begin"));
    for (const char* table : tables)
        query.exec(QStringLiteral("DELETE FROM ") + QLatin1String(table));
    query.exec(QStringLiteral("commit"));

    // VACUUM rewrites the whole file, which takes seconds once the database
    // holds years of documents; it runs only when a tenth of the file or
    // more lies unused, so that the file never grows far beyond its content.
    const qlonglong freePages = sqlValue(QStringLiteral("PRAGMA freelist_count")).toLongLong();
    const qlonglong pages = sqlValue(QStringLiteral("PRAGMA page_count")).toLongLong();
    if (freePages * 10 >= pages && freePages > 0)
        query.exec(QStringLiteral("vacuum"));
}

void MDbOpening::writeSellerLogos(const QString& pathTemp)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT s.id, sl.zoom, sl.width, sl.height, sl.data FROM seller s "
                              "LEFT JOIN seller_logo sl ON sl.id_seller = s.id WHERE sl.id_seller IS NOT NULL"));
    while (query.next()) {
        const QString id = query.value(0).toString();
        // The seller dialog offers the divisors 1 to 4; anything else stored
        // would divide by zero or scale the preview to nothing.
        const int zoom = qBound(1, query.value(1).toInt(), 4);
        const int width = query.value(2).toInt();
        const int height = query.value(3).toInt();
        const QByteArray data = query.value(4).toByteArray();

        QFile file(pathTemp + QStringLiteral("template/logo/seller_") + id + QStringLiteral(".png"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            continue;
        file.write(data);
        file.close();

        QImage image;
        if (image.loadFromData(data))
            image.scaled(width / zoom, height / zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .save(pathTemp + QStringLiteral("template/logo/seller_preview_") + id + QStringLiteral(".png"));
    }
}

MDbOpening::MDbOpening(const QString& pathTemp, const Steps& steps)
    : m_pathTemp(pathTemp)
    , m_steps(steps)
{
}

MDbOpening::Outcome MDbOpening::open()
{
    // Asked without opening: a connection that createConnection closed again
    // (no Polish collation) must not be reopened here without it.
    if (!QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).isOpen())
        return Outcome::NoConnection;

    const QString path = QSqlDatabase::database().databaseName();
    if (!checkFile(path))
        return Outcome::Unusable;

    MDbVersion version;
    QString error;
    if (!MDbVersion::read(&version, &error)) {
        m_message = {MDataMessage::Kind::Critical, tr("Błąd otwarcia bazy danych"),
                     tr("Nie można odczytać wersji bazy danych z pliku %1: %2.<br>"
                        "Program nie zmienił pliku i nie otworzy go.")
                         .arg(nativeFile(path), error.toHtmlEscaped())};
        return Outcome::Unusable;
    }
    const int dbMajor = version.major;
    const int dbMinor = version.minor;
    const int dbVersion = version.number();
    const int checkVersion = version.checkNumber();

    if (dbVersion > programVersion) {
        m_message = {MDataMessage::Kind::Critical, tr("Błąd otwarcia bazy danych"),
                     tr("Nie można otwierać bazy stworzonej przez program w późniejszej wersji.<br>")
                         + tr("Baza danych została stworzona przez program w wersji %1.%2.<br>")
                               .arg(dbMajor)
                               .arg(dbMinor)
                         + tr("Program jest w wersji %1.%2.").arg(programMajor).arg(programMinor)};
        return Outcome::Newer;
    }

    // A damaged file is neither copied over a good backup nor upgraded; the
    // whole check reads every page, so it runs only when one of them is due.
    const bool upgradeDue = checkVersion < programVersion;
    const bool dailyBackupDue = m_steps.dailyBackupDue && m_steps.dailyBackupDue();
    if ((upgradeDue || dailyBackupDue) && !checkPages(path))
        return Outcome::Unusable;
    if (dailyBackupDue && m_steps.backupDb)
        m_steps.backupDb(QString());

    if (upgradeDue && !upgrade(dbMajor, dbMinor))
        return Outcome::UpgradeFailed;

    cleanDb();
    if (m_steps.cleanDisk)
        m_steps.cleanDisk();
    writeSellerLogos(m_pathTemp);
    MInvoiceCopies::updateMd5();
    return Outcome::Opened;
}

bool MDbOpening::upgrade(int dbMajor, int dbMinor)
{
    if (m_steps.backupDb)
        m_steps.backupDb(backupSuffix(dbMajor, dbMinor));

    // Every block up to the program's version runs, as if the version row
    // already held it; the row itself is written only once the script has
    // run without a real error, so that a failed upgrade is retried.
    const MSqlScriptRunner::Versions versions { programVersion, programVersion, programVersion };
    const MSqlScriptRunner::Result result = MSqlScriptRunner::run(QStringLiteral(":/sql/invoice.sql"), false,
                                                                  versions);
    if (!result.ok()) {
        reportUpgradeFailure(dbMajor, dbMinor,
                             result.opened ? result.firstError : tr("Nie można odczytać skryptu bazy danych."));
        return false;
    }

    // The version row and the repair's migrations are one transaction: a
    // program killed during the repair leaves the old version, and the next
    // start runs the whole upgrade again rather than skipping the migrations.
    QSqlQuery query;
    if (!query.exec(QStringLiteral("begin"))) {
        reportUpgradeFailure(dbMajor, dbMinor, query.lastError().text());
        return false;
    }
    query.prepare(QStringLiteral("UPDATE _version SET num_major = :num_major, num_minor = :num_minor, "
                                 "num_special = :num_special, check_num_major = :check_num_major, "
                                 "check_num_minor = :check_num_minor WHERE id = 1"));
    query.bindValue(QStringLiteral(":num_major"), programMajor);
    query.bindValue(QStringLiteral(":num_minor"), programMinor);
    // Empty text, not a null QString: that would bind NULL to a NOT NULL column.
    query.bindValue(QStringLiteral(":num_special"), QStringLiteral(""));
    query.bindValue(QStringLiteral(":check_num_major"), programMajor);
    query.bindValue(QStringLiteral(":check_num_minor"), programMinor);
    if (!query.exec() || query.numRowsAffected() != 1) {
        const QString error = query.lastError().text();
        query.exec(QStringLiteral("rollback"));
        reportUpgradeFailure(dbMajor, dbMinor, error);
        return false;
    }

    if (m_steps.repairDb)
        m_steps.repairDb(dbMajor * 1000 + dbMinor);
    if (!query.exec(QStringLiteral("commit"))) {
        const QString error = query.lastError().text();
        query.exec(QStringLiteral("rollback"));
        MOptions::loadOptions();
        reportUpgradeFailure(dbMajor, dbMinor, error);
        return false;
    }
    return true;
}

bool MDbOpening::accessible(const QString& path, MDataMessage* failure)
{
    const QSqlDatabase connection = QSqlDatabase::database();
    sqlite3* db = MSqliteHandle::of(connection);
    // Another program's lock is told at once rather than after every statement's wait.
    sqlite3_busy_timeout(db, busyCheckMilliseconds);
    QSqlQuery query(connection);
    const bool read = query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && query.next();
    const int code = query.lastError().nativeErrorCode().toInt() & 0xFF;
    query.finish();
    sqlite3_busy_timeout(db, busyMilliseconds);
    if (read)
        return true;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        *failure = {MDataMessage::Kind::Critical, tr("Błąd połączenia z bazą danych"),
                    tr("Plik bazy danych %1 jest używany przez inny program.<br>"
                       "Zamknij tamten program i uruchom ten ponownie.")
                        .arg(nativeFile(path))};
    else
        *failure = damaged(path, query.lastError().databaseText());
    return false;
}

bool MDbOpening::checkFile(const QString& path)
{
    const QString title = tr("Błąd otwarcia bazy danych");
    sqlite3* db = MSqliteHandle::of(QSqlDatabase::database());

    // A file cut short is told by its size before any page beyond its end is needed.
    const qint64 pageSize = sqlValue(QStringLiteral("PRAGMA page_size")).toLongLong();
    const qint64 pages = sqlValue(QStringLiteral("PRAGMA page_count")).toLongLong();
    const qint64 size = QFileInfo(path).size();
    if (pageSize > 0 && size < pages * pageSize) {
        reportDamaged(path, tr("plik ma %1 bajtów, a jego strony zajmują %2").arg(size).arg(pages * pageSize));
        return false;
    }

    // SQLite also opens read-only a file whose header names a write version
    // it does not know (byte 18), which no program ever writes.
    const int writeVersion = headerWriteVersion(path);
    if (writeVersion != 1 && writeVersion != 2) {
        reportDamaged(path, tr("nagłówek pliku podaje nieznaną wersję zapisu %1").arg(writeVersion));
        return false;
    }

    // SQLite opens a file it may not write read-only; a folder it may not
    // write takes the journal, so every change would fail.
    const QFileInfo file(path);
    if (sqlite3_db_readonly(db, "main") == 1 || !QFileInfo(file.absolutePath()).isWritable()) {
        m_message = {MDataMessage::Kind::Critical, title,
                     tr("Plik bazy danych %1 albo jego katalog jest tylko do odczytu.<br>"
                        "Program potrzebuje prawa zapisu do pliku i do katalogu, w którym leży.")
                         .arg(nativeFile(path))};
        return false;
    }
    return true;
}

bool MDbOpening::checkPages(const QString& path)
{
    QSqlQuery query;
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
        reportDamaged(path, query.lastError().databaseText());
        return false;
    }
    QStringList problems;
    while (query.next() && problems.size() < 3)
        problems << query.value(0).toString();
    if (problems != QStringList{QStringLiteral("ok")}) {
        reportDamaged(path, problems.join(QStringLiteral("; ")));
        return false;
    }
    return true;
}

void MDbOpening::reportDamaged(const QString& path, const QString& error)
{
    m_message = damaged(path, error);
}

MDataMessage MDbOpening::damaged(const QString& path, const QString& error)
{
    return {MDataMessage::Kind::Critical, tr("Błąd otwarcia bazy danych"),
                 tr("Plik bazy danych %1 jest uszkodzony.<br>"
                    "Program nie zmienił go, nie zrobił z niego kopii zapasowej i nie otworzy go. "
                    "Kopie zapasowe z wcześniejszych dni są w katalogu data/backup.<br>Błąd: %2")
                     .arg(nativeFile(path), error.toHtmlEscaped())};
}

MDataMessage MDbOpening::message() const
{
    return m_message;
}

void MDbOpening::reportUpgradeFailure(int dbMajor, int dbMinor, const QString& error)
{
    m_message = {
        MDataMessage::Kind::Critical, tr("Błąd aktualizacji bazy danych"),
        tr("Nie można zaktualizować bazy danych do wersji %1.%2.<br>").arg(programMajor).arg(programMinor)
            + tr("Baza danych pozostaje w wersji %1.%2, a jej kopia sprzed aktualizacji jest w pliku %3.<br>")
                  .arg(dbMajor)
                  .arg(dbMinor)
                  .arg(QStringLiteral("Invoice_") + backupSuffix(dbMajor, dbMinor) + QStringLiteral(".db3"))
            + tr("Błąd: %1").arg(error.toHtmlEscaped())};
}
