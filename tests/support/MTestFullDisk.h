#pragma once

#include <QMap>
#include <QString>

// A folder on a small file system of its own (tmpfs) for the object's life, so
// that a test can run a write out of space. Mounting needs the right to mount
// (root, on a system that allows it); a test skips when isMounted() is false.
class MTestFullDisk
{
public:
    // Mounts `kilobytes` of space on `folder`, which is made when missing.
    MTestFullDisk(const QString& folder, int kilobytes);
    ~MTestFullDisk();
    MTestFullDisk(const MTestFullDisk&) = delete;
    MTestFullDisk& operator=(const MTestFullDisk&) = delete;

    bool isMounted() const;
    // Takes every byte left on the disk with a filler file.
    void fill();
    // Puts an older file of `fileName` in the folder and keeps the folder's
    // files as they then are in before(); false when it did not fit.
    bool holdOlderFile(const QString& fileName);
    // Every file of the folder, hidden ones too, with its bytes: after a
    // failed write, the same as before().
    QMap<QString, QByteArray> files() const;
    QMap<QString, QByteArray> before() const;

    // What the user is told when `target` runs out of space.
    static QString message(const QString& target);

private:
    QString m_folder;
    bool m_mounted = false;
    QMap<QString, QByteArray> m_before;
};
