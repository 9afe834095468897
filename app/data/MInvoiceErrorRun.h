#pragma once

#include <QMap>
#include <QString>

// One run of the error check: the findings stored under a new run id, one row per
// document with its number (a duplicate's is its parent's) and the reason.
class MInvoiceErrorRun
{
public:
    // Stores the non-empty findings (document id to reason) in ascending id order in one
    // transaction and returns the run id; 0 when there is no finding or the write failed
    // (`errorText`, when given, then receives the database's reason).
    static int store(const QMap<int, QString>& findings, QString* errorText = nullptr);
};
