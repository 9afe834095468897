#pragma once

#include <QStringList>

#include <initializer_list>

// A write broken part-way, for tests that a function writes all or nothing:
// the write of `event` on `table` fails after `passing` of them ran, with the
// function called alone or inside a transaction its holder opened and wrote
// a working seller row in before. On the default connection.
class MTestFailedWrite
{
public:
    struct Case
    {
        const char* name;
        const char* call; // what the test calls, in its own words
        const char* event;
        const char* table;
        int passing;
    };

    // Adds the columns call, event, table, passing and inTransaction, and
    // two rows for each case: alone and in an open transaction.
    static void addRows(std::initializer_list<Case> cases);

    // For the current row: opens the holder's transaction with its write when
    // the row asks for it, takes the picture of `tables` and the working
    // sellers, then makes the row's write fail. False when a step fails.
    bool start(const QStringList& tables);

    // The picture start() took, and the same tables now.
    QStringList before() const;
    QStringList now() const;

    // Commits the holder's transaction and tells whether its write is there;
    // true without one.
    bool holderKept() const;

private:
    QStringList m_tables;
    QStringList m_before;
    bool m_inTransaction = false;
};
