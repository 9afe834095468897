#include "MFreshHome.h"

#include <QFile>

MFreshHome::MFreshHome()
{
    qputenv("HOME", QFile::encodeName(m_dir.path()));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
}

bool MFreshHome::isValid() const
{
    return m_dir.isValid();
}

QString MFreshHome::path() const
{
    return m_dir.path();
}
