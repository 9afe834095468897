#pragma once

class QSqlDatabase;

// Makes an open QSQLITE connection what the program's own connection is:
// the Polish-language layer installed, the collation POLISH loaded, and
// the schema made by the program's schema script.
bool prepareTestDatabase(const QSqlDatabase& db);
