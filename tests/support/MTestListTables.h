#pragma once

class QSqlDatabase;

// The tables that the list tests and benchmarks read, with the program's column lists:
// _options, province, country, buyer_address and buyer. Also registers COLLATE POLISH.
bool createTestListTables(const QSqlDatabase& db);
