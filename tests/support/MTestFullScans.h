#pragma once

#include <QStringList>

struct sqlite3;

// Collects, while it lives, the statements of the default connection that stepped
// through more than `limit` rows of a table in full scans, each as "count rows: SQL".
class MTestFullScans
{
public:
    explicit MTestFullScans(int limit);
    ~MTestFullScans();
    MTestFullScans(const MTestFullScans&) = delete;
    MTestFullScans& operator=(const MTestFullScans&) = delete;

    QStringList found() const { return m_found; }

private:
    static int profiled(unsigned event, void* context, void* statement, void* elapsed);

    int m_limit;
    sqlite3* m_db;
    QStringList m_found;
};
