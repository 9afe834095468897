#pragma once

#include <QString>

class CArchiveReader;
class CMessageLog;

// Reads old data files from the data folder, one archive per file, and reports
// a failure of one file without keeping the others from being read.
class CCommonMainDoc
{
public:
    // dataPath ends with a separator; file names are appended to it.
    CCommonMainDoc(const QString& dataPath, CMessageLog& log);
    virtual ~CCommonMainDoc();

    CCommonMainDoc(const CCommonMainDoc&) = delete;
    CCommonMainDoc& operator=(const CCommonMainDoc&) = delete;

    // Reads the file with this name, whatever the letter case of its name on
    // disk. A missing file is passed over silently; one that is not a regular
    // file or cannot be opened is passed over with a line in the log.
    void LoadFile(const QString& name);

protected:
    virtual void SerializeFile(CArchiveReader& ar, const QString& name) = 0;

    CMessageLog& log() const { return m_log; }

private:
    QString findFile(const QString& name) const;

    QString m_dataPath;
    CMessageLog& m_log;
};
