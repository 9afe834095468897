#include "CMessageLog.h"

#include <QFile>

#include <cstdio>

CMessageLog::CMessageLog(const QString& logPath)
    : m_logPath(logPath)
{
    QFile::remove(m_logPath);
}

void CMessageLog::show(const QString& message)
{
    std::fputs((message + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);

    QFile log(m_logPath);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        log.write((message + QLatin1Char('\n')).toUtf8());
}
