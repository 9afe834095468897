#include "MTestFailedWrite.h"

#include "MTestDatabase.h"

#include <QSqlDatabase>
#include <QtTest>

void MTestFailedWrite::addRows(std::initializer_list<Case> cases)
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("passing");
    QTest::addColumn<bool>("inTransaction");
    for (const Case& c : cases)
        for (bool inTransaction : {false, true})
            QTest::addRow("%s%s", c.name, inTransaction ? ", in an open transaction" : "")
                << QString::fromUtf8(c.call) << QString::fromLatin1(c.event) << QString::fromLatin1(c.table)
                << c.passing << inTransaction;
}

bool MTestFailedWrite::start(const QStringList& tables)
{
    QFETCH(QString, event);
    QFETCH(QString, table);
    QFETCH(int, passing);
    QFETCH(bool, inTransaction);
    m_inTransaction = inTransaction;
    m_tables = tables + QStringList{QStringLiteral("__invoice_seller")};
    if (inTransaction
        && (!QSqlDatabase::database().transaction()
            || !MTestDatabase::exec(QStringLiteral("INSERT INTO __invoice_seller (id, time_create, time_modify) "
                                                   "VALUES (7, '2024-01-01', '2024-01-01')"))))
        return false;
    m_before = now();
    return MTestDatabase::failWritesAfter(event, table, passing);
}

QStringList MTestFailedWrite::before() const
{
    return m_before;
}

QStringList MTestFailedWrite::now() const
{
    return MTestDatabase::tableRows(m_tables);
}

bool MTestFailedWrite::holderKept() const
{
    if (!m_inTransaction)
        return true;
    return QSqlDatabase::database().commit()
        && MTestDatabase::value(QStringLiteral("SELECT count(*) FROM __invoice_seller WHERE id = 7")).toInt() == 1;
}
