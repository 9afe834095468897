#pragma once

#include <QString>
#include <QTemporaryDir>

// An empty HOME, as on a fresh account, for the life of the object: the
// standard data, configuration and documents folders all follow it.
class MFreshHome
{
public:
    MFreshHome();

    bool isValid() const;
    QString path() const;

private:
    QTemporaryDir m_dir;
};
