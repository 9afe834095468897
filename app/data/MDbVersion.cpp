#include "data/MDbVersion.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace {

const int maxPart = 999;

QString tr(const char* text)
{
    return QCoreApplication::translate("MDbVersion", text);
}

// A part of the version: NULL is 0; an integer, or text or a real that is
// exactly one, from 0 to 999.
bool part(const QVariant& value, const QString& type, int* number)
{
    if (value.isNull()) {
        *number = 0;
        return true;
    }
    if (type == QLatin1String("integer")) {
        const qlonglong integer = value.toLongLong();
        if (integer < 0 || integer > maxPart)
            return false;
        *number = int(integer);
        return true;
    }
    bool ok = false;
    const double real = type == QLatin1String("real") ? value.toDouble(&ok) : value.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(real) || real < 0 || real > maxPart || real != std::floor(real))
        return false;
    *number = int(real);
    return true;
}

} // namespace

bool MDbVersion::read(MDbVersion* version, QString* error)
{
    *version = MDbVersion();
    QSqlQuery query;
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '_version'"))
        || !query.next()) {
        *error = tr("nie można odczytać spisu tabel: %1").arg(query.lastError().databaseText());
        return false;
    }
    if (query.value(0).toInt() == 0)
        return true;
    if (!query.exec(QStringLiteral("SELECT num_major, typeof(num_major), num_minor, typeof(num_minor), "
                                   "check_num_major, typeof(check_num_major), check_num_minor, "
                                   "typeof(check_num_minor) FROM _version WHERE id = 1"))) {
        *error = tr("nie można odczytać wiersza wersji: %1").arg(query.lastError().databaseText());
        return false;
    }
    if (!query.next())
        return true;
    int* const parts[] = {&version->major, &version->minor, &version->checkMajor, &version->checkMinor};
    const char* const names[] = {"num_major", "num_minor", "check_num_major", "check_num_minor"};
    for (int i = 0; i < 4; ++i) {
        if (!part(query.value(2 * i), query.value(2 * i + 1).toString(), parts[i])) {
            *error = tr("wartość %1 = \"%2\" nie jest numerem wersji")
                         .arg(QLatin1String(names[i]), query.value(2 * i).toString());
            *version = MDbVersion();
            return false;
        }
    }
    return true;
}
