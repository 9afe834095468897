#include "MTestListTables.h"

#include "MTestPolishCollation.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

bool createTestListTables(const QSqlDatabase& db)
{
    if (!registerTestPolishCollation(db))
        return false;

    const QStringList statements = {
        QStringLiteral("CREATE TABLE _options (id VARCHAR(255) PRIMARY KEY, content TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE province (id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
                       "name VARCHAT(255) NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE country (id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
                       "name TEXT NOT NULL DEFAULT '', hidden BOOLEAN NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE buyer_address (id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
                       "address TEXT NOT NULL DEFAULT '', city VARCHAR(256) NOT NULL DEFAULT '', "
                       "zipcode VARCHAR(10) NOT NULL DEFAULT '', id_province INTEGER NOT NULL DEFAULT 0, "
                       "id_country INTEGER NOT NULL DEFAULT 0, name TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE buyer (id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
                       "firm TEXT NOT NULL DEFAULT '', nip VARCHAR(20) NOT NULL DEFAULT '', "
                       "regon VARCHAR(20) NOT NULL DEFAULT '', address TEXT NOT NULL DEFAULT '', "
                       "city VARCHAR(256) NOT NULL DEFAULT '', zipcode VARCHAR(10) NOT NULL DEFAULT '', "
                       "id_province INTEGER NOT NULL DEFAULT 0, id_country INTEGER NOT NULL DEFAULT 0, "
                       "bank VARCHAR(256) NOT NULL DEFAULT '', bank_account VARCHAR(256) NOT NULL DEFAULT '', "
                       "phone VARCHAR(256) NOT NULL DEFAULT '', fax VARCHAR(256) NOT NULL DEFAULT '', "
                       "email VARCHAR(256) NOT NULL DEFAULT '', www TEXT NOT NULL DEFAULT '', "
                       "permit_person_firstname VARCHAR(256) NOT NULL DEFAULT '', "
                       "permit_person_secondname VARCHAR(256) NOT NULL DEFAULT '', "
                       "permit_person_pesel VARCHAR(256) NOT NULL DEFAULT '', "
                       "reduct NUMBER(12, 4) NOT NULL DEFAULT 0, time_create DATETIME NOT NULL, "
                       "time_modify DATETIME NOT NULL, additional TEXT NOT NULL DEFAULT '', "
                       "person_document_id_kind INTEGER NOT NULL DEFAULT 0, "
                       "person_document_number VARCHAR(256) NOT NULL DEFAULT '', "
                       "person_document_by TEXT NOT NULL DEFAULT '', person_document_date DATE, "
                       "id_address_contact INTEGER NOT NULL DEFAULT 0, "
                       "firm_short VARCHAR(20) NOT NULL DEFAULT '')"),
    };
    QSqlQuery query(db);
    for (const QString& statement : statements) {
        if (!query.exec(statement))
            return false;
    }
    return true;
}
