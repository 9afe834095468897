#pragma once

class QSqlDatabase;

// Registers the collation POLISH (ICU, locale pl_PL) on an open QSQLITE connection, for
// tests and benchmarks that sort or search with COLLATE POLISH.
bool registerTestPolishCollation(const QSqlDatabase& db);
