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
    // Writes `bytes` to `fileName` in the folder; false when it did not fit.
    bool put(const QString& fileName, const QByteArray& bytes) const;
    // Every file of the folder, hidden ones too, with its bytes: what a failed
    // write must leave as it found.
    QMap<QString, QByteArray> files() const;

private:
    QString m_folder;
    bool m_mounted = false;
};
