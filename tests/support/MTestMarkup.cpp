#include "MTestMarkup.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <sys/inotify.h>
#include <unistd.h>

MTestMarkup::MTestMarkup(const QString& folder)
{
    const QString picture = QDir(folder).filePath(QStringLiteral("logo.png"));
    m_text = QStringLiteral("<b>Gruba</b> </td></tr> &amp; <img src=\"file://%1\">").arg(picture);
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::red);
    if (!QDir().mkpath(folder) || !image.save(picture))
        return;
    m_watch = inotify_init1(IN_NONBLOCK);
    if (m_watch >= 0 && inotify_add_watch(m_watch, QFile::encodeName(folder).constData(), IN_OPEN) < 0) {
        close(m_watch);
        m_watch = -1;
    }
}

MTestMarkup::~MTestMarkup()
{
    if (m_watch >= 0)
        close(m_watch);
}

QString MTestMarkup::text() const
{
    return m_text;
}

bool MTestMarkup::nothingOpened() const
{
    if (m_watch < 0)
        return false;
    char events[4096];
    return read(m_watch, events, sizeof events) < 0;
}
