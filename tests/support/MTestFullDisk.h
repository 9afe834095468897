#pragma once

#include <QString>

// A folder on a file system of its own with no free byte left: a real full
// disk for tests of failed writes. Mounting needs the right to mount (root);
// where it is missing, isMounted() is false and the test skips. Unmounted
// when the object goes.
class MTestFullDisk
{
public:
    // Mounts a tiny tmpfs on `folder` (made when missing) and fills it.
    explicit MTestFullDisk(const QString& folder);
    ~MTestFullDisk();
    MTestFullDisk(const MTestFullDisk&) = delete;
    MTestFullDisk& operator=(const MTestFullDisk&) = delete;

    bool isMounted() const;

private:
    QString m_folder;
    bool m_mounted = false;
};
