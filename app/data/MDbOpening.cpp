#include "data/MDbOpening.h"

#include "data/MInvoiceCopies.h"
#include "data/MProgramVersion.h"
#include "data/MRoundCents.h"
#include "data/MSqlitePolish.h"
#include "data/MSqlScriptRunner.h"
#include "data/MSqlValue.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

constexpr int programMajor = MProgramVersion::versionMajor;
constexpr int programMinor = MProgramVersion::versionMinor;
constexpr int programVersion = programMajor * 1000 + programMinor;

QString tr(const char* text)
{
    return QCoreApplication::translate("MAppWnd", text);
}

int versionNumber(const QString& sql)
{
    const QVariant value = sqlValue(sql);
    return value.isValid() && !value.isNull() ? value.toInt() : 0;
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
    return versionNumber(QStringLiteral("SELECT num_major FROM _version WHERE id = 1"));
}

int MDbOpening::dbNumMinor()
{
    return versionNumber(QStringLiteral("SELECT num_minor FROM _version WHERE id = 1"));
}

int MDbOpening::dbCheckNumMajor()
{
    return versionNumber(QStringLiteral("SELECT check_num_major FROM _version WHERE id = 1"));
}

int MDbOpening::dbCheckNumMinor()
{
    return versionNumber(QStringLiteral("SELECT check_num_minor FROM _version WHERE id = 1"));
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

    const int dbMajor = dbNumMajor();
    const int dbMinor = dbNumMinor();
    const int dbVersion = dbMajor * 1000 + dbMinor;
    const int checkVersion = dbCheckNumMajor() * 1000 + dbCheckNumMinor();

    if (dbVersion > programVersion) {
        m_message = {MDataMessage::Kind::Critical, tr("Błąd otwarcia bazy danych"),
                     tr("Nie można otwierać bazy stworzonej przez program w późniejszej wersji.<br>")
                         + tr("Baza danych została stworzona przez program w wersji %1.%2.<br>")
                               .arg(dbMajor)
                               .arg(dbMinor)
                         + tr("Program jest w wersji %1.%2.").arg(programMajor).arg(programMinor)};
        return Outcome::Newer;
    }

    if (checkVersion < programVersion && !upgrade(dbMajor, dbMinor))
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

    QSqlQuery query;
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
        reportUpgradeFailure(dbMajor, dbMinor, query.lastError().text());
        return false;
    }

    if (m_steps.repairDb)
        m_steps.repairDb(dbMajor * 1000 + dbMinor);
    return true;
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
