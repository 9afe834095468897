#pragma once

#include <QString>
#include <QStringList>

// Where the converter tells the user what went wrong: standard error and a log
// file beside the output. The log of an earlier run is removed at the start,
// so the file exists only when this run had something to say.
class CMessageLog
{
public:
    explicit CMessageLog(const QString& logPath);

    void show(const QString& message);

    const QStringList& messages() const { return m_messages; }

private:
    QString m_logPath;
    QStringList m_messages;
};
