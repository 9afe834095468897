#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>

// A second connection to the default connection's database file that keeps a
// read transaction open, as another program reading the file would: a commit
// on the default connection fails until release() (at once when that
// connection was opened with QSQLITE_BUSY_TIMEOUT=0).
class MTestReadLock
{
public:
    // Takes the lock by reading `table` inside a transaction.
    explicit MTestReadLock(const QString& table);
    ~MTestReadLock();

    bool isHeld() const;

    // Ends the read transaction; false when that fails.
    bool release();

    // The first column of the first row of `sql`, read on this connection,
    // or an invalid value.
    QVariant value(const QString& sql);

private:
    QSqlQuery m_query;
    bool m_held = false;
};
