#pragma once

#include "CCommonMainDoc.h"
#include "CRecordMap.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QIODevice;

// The fifteen record maps of the old data, one per data file, and the
// statements that bring them into the database.
class CMainDoc : public CCommonMainDoc
{
public:
    CMainDoc(const QString& dataPath, CMessageLog& log);

    // Reads the fifteen files in the order the old data depends on.
    void LoadAll();

    // Writes one INSERT statement per record, each line ended with CR LF, the
    // tables in the order of their names. A record that several keys of a map
    // refer to is written once. Every value written as 0 because it was no
    // number goes into the log. False when the device fails.
    bool WriteSql(QIODevice& out) const;

protected:
    void SerializeFile(CArchiveReader& ar, const QString& name) override;

private:
    void logNonFinite(const QString& fileName, const QByteArray& key, const char* field) const;

    struct TableMap
    {
        QString fileName;
        QByteArray table;
        CRecordMap map;
    };

    std::vector<TableMap> m_maps;
};
