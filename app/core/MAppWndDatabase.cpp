#include "MAppWnd.h"

#include "views/MMessageBox.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {

int versionNumber(const char* column)
{
    QSqlQuery query;
    if (!query.exec(QStringLiteral("SELECT %1 FROM _version WHERE id = 1").arg(QLatin1String(column)))
        || !query.next() || query.value(0).isNull())
        return 0;
    return query.value(0).toInt();
}

} // namespace

bool MAppWnd::createConnection(const QString& dbFile)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(dbFile);
    if (db.open())
        return true;
    MMessageBox::critical(nullptr, tr("Błąd połączenia z bazą danych"),
                          tr("Nie można ustanowić połączenia z bazą danych."));
    return false;
}

int MAppWnd::dbNumMajor()
{
    return versionNumber("num_major");
}

int MAppWnd::dbNumMinor()
{
    return versionNumber("num_minor");
}

int MAppWnd::dbCheckNumMajor()
{
    return versionNumber("check_num_major");
}

int MAppWnd::dbCheckNumMinor()
{
    return versionNumber("check_num_minor");
}

void MAppWnd::openDb()
{
    const int dbMajor = dbNumMajor();
    const int dbMinor = dbNumMinor();
    if (dbMajor * 1000 + dbMinor > versionMajor * 1000 + versionMinor) {
        MMessageBox::critical(this, tr("Błąd otwarcia bazy danych"),
                              tr("Nie można otwierać bazy stworzonej przez program w poźniejszej wersji.<br>")
                                  + tr("Baza danych została stworzona przez program w wersji ")
                                  + QString::number(dbMajor) + QLatin1Char('.') + QString::number(dbMinor)
                                  + QStringLiteral(".<br>") + tr("Program jest w wersji ")
                                  + QString::number(versionMajor) + QLatin1Char('.')
                                  + QString::number(versionMinor) + QLatin1Char('.'));
        m_refused = true;
        return;
    }
    doCleanDisk();
}

void MAppWnd::setDefaultOptions()
{
    const QList<QPair<QString, QString>> defaults = {
        {QStringLiteral("DRAG_AND_DROP"), QStringLiteral("0")},
        {QStringLiteral("SHOW_DO_YOU_KNOW"), QStringLiteral("1")},
        {QStringLiteral("DO_YOU_KNOW_LAST_ID"), QStringLiteral("0")},
        {QStringLiteral("DO_YOU_KNOW_SPEED"), QStringLiteral("60")},
    };
    for (const auto& entry : defaults) {
        if (option(entry.first).isEmpty())
            setOption(entry.first, entry.second);
    }

    const QString geometry = option(QStringLiteral("MAIN_WINDOW_GEOMETRY"));
    if (!geometry.isEmpty())
        restoreGeometry(QByteArray::fromHex(geometry.toLatin1()));
    const QString state = option(QStringLiteral("MAIN_WINDOW_STATE"));
    if (!state.isEmpty())
        restoreState(QByteArray::fromHex(state.toLatin1()), 0);
}
