#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

class QSqlRecord;

// Stores the copies of one save (MInvoiceCopies::storeCopy and
// storeWorkingCopy): each copy table's columns are read once and its
// look-up, insert and working-row statements are prepared once, however many
// copies of it the save stores. Meant to live no longer than the save, since
// a later change of a table's columns is not seen.
class MInvoiceCopyStore
{
public:
    // As MInvoiceCopies::storeCopy.
    int storeCopy(const QString& table, const QSqlRecord& copy);
    // As MInvoiceCopies::storeWorkingCopy.
    int storeWorkingCopy(const QString& table, int workingId);

private:
    struct Statements
    {
        QStringList columns;    // content columns, as MInvoiceCopies::contentColumns
        QStringList md5Columns;
        QSqlQuery find;
        QSqlQuery insert;
        QSqlQuery working;
    };

    // Null for a table that is not a copy table.
    Statements* statementsOf(const QString& table);

    QHash<QString, Statements> m_tables;
};
