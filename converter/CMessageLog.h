#pragma once

#include <QString>

// Where the converter tells the user what went wrong: standard error and a log
// file beside the output. The log of an earlier run is removed at the start,
// so the file exists only when this run had something to say.
class CMessageLog
{
public:
    explicit CMessageLog(const QString& logPath);

    void show(const QString& message);

private:
    QString m_logPath;
};
