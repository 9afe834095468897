#pragma once

#include <QString>

// Brings the content of the database in line with the current program, in
// one transaction on the default connection (within the caller's, when one
// is open): the values older releases left
// empty (numbering pattern texts, document numbers, VAT names, one-sided
// prices, units, default bank rows), the document amounts recomputed, and the
// one-time migrations of databases older than a given version (seller logos
// and bank accounts moved into their tables, stored column layouts shifted,
// the document font size scale). It reloads the options cache.
//
// A failing statement is skipped and the repair goes on; everything that
// succeeded is committed.
class MDataRepair
{
public:
    struct Result
    {
        int failed = 0;     // statements (or "commit") that failed
        QString firstError; // the database's message of the first failure
        bool ok() const { return failed == 0; }
    };

    // lastVersion: the database version before the caller's upgrade, as
    // major * 1000 + minor; 0 runs no version-bound step. tempPath: the
    // folder of temporary and template files, ending in "/", where the
    // logos of databases up to 2.07 are found.
    static Result run(int lastVersion, const QString& tempPath);
};
