#include "data/MInvoiceCopyStore.h"

#include "data/MInvoiceCopies.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QVariant>

MInvoiceCopyStore::Statements* MInvoiceCopyStore::statementsOf(const QString& table)
{
    const auto found = m_tables.find(table);
    if (found != m_tables.end())
        return &found.value();

    Statements statements;
    statements.columns = MInvoiceCopies::contentColumns(table);
    if (statements.columns.isEmpty())
        return nullptr;
    statements.md5Columns = MInvoiceCopies::md5Columns(table);
    const QSqlRecord record = QSqlDatabase::database().record(table);

    // IS compares NULL with NULL as equal; the column's affinity applies to
    // the bound value as it would when the value is stored.
    QStringList conditions {QStringLiteral("id_md5 = :id_md5")};
    for (const QString& column : qAsConst(statements.columns))
        conditions.append(column + QStringLiteral(" IS :") + column);
    statements.find.prepare(QStringLiteral("SELECT id FROM ") + table + QStringLiteral(" WHERE ")
                            + conditions.join(QStringLiteral(" AND ")) + QStringLiteral(" LIMIT 1"));

    // A copy is made now; its remarks, where the table has them, are empty,
    // and its times, where it has them (address copies have none), are now.
    QString names = statements.columns.join(QStringLiteral(", ")) + QStringLiteral(", id_md5");
    QString values = QLatin1Char(':') + statements.columns.join(QStringLiteral(", :")) + QStringLiteral(", :id_md5");
    if (record.contains(QStringLiteral("time_create"))) {
        names += QStringLiteral(", time_create, time_modify");
        values += QStringLiteral(", current_timestamp, current_timestamp");
    }
    if (record.contains(QStringLiteral("additional"))) {
        names += QStringLiteral(", additional");
        values += QStringLiteral(", ''");
    }
    statements.insert.prepare(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + names
                              + QStringLiteral(") VALUES (") + values + QLatin1Char(')'));
    statements.working.prepare(QStringLiteral("SELECT * FROM __") + table + QStringLiteral(" WHERE __id = :id"));
    return &m_tables.insert(table, statements).value();
}

int MInvoiceCopyStore::storeCopy(const QString& table, const QSqlRecord& copy)
{
    Statements* statements = statementsOf(table);
    if (!statements)
        return 0;
    for (const QString& column : qAsConst(statements->columns)) {
        if (copy.indexOf(column) < 0)
            return 0;
    }

    QVariantList md5Values;
    for (const QString& column : qAsConst(statements->md5Columns))
        md5Values.append(copy.value(column));
    const QString fingerprint = MInvoiceCopies::md5(md5Values);

    QSqlQuery& find = statements->find;
    find.bindValue(QStringLiteral(":id_md5"), fingerprint);
    for (const QString& column : qAsConst(statements->columns))
        find.bindValue(QLatin1Char(':') + column, copy.value(column));
    const int found = find.exec() && find.next() ? find.value(0).toInt() : 0;
    // A statement left reading would keep the recomputation from dropping its tables.
    find.finish();
    if (found > 0)
        return found;

    QSqlQuery& insert = statements->insert;
    for (const QString& column : qAsConst(statements->columns))
        insert.bindValue(QLatin1Char(':') + column, copy.value(column));
    insert.bindValue(QStringLiteral(":id_md5"), fingerprint);
    if (!insert.exec())
        return 0;
    return insert.lastInsertId().toInt();
}

int MInvoiceCopyStore::storeWorkingCopy(const QString& table, int workingId)
{
    Statements* statements = statementsOf(table);
    if (!statements)
        return 0;
    QSqlQuery& working = statements->working;
    working.bindValue(QStringLiteral(":id"), workingId);
    if (!working.exec() || !working.next())
        return 0;
    const QSqlRecord copy = working.record();
    working.finish();
    return storeCopy(table, copy);
}
