#pragma once

#include <QCoreApplication>
#include <QString>

class QFileDevice;

// Why a file could not be written, in the user's words, for every writer of
// the program's output files (PDF, JPK): one set of reasons, one message.
class MFileWriteError
{
    Q_DECLARE_TR_FUNCTIONS(MFileWriteError)

public:
    // The reason `target` could not be written, from the state of the disk and
    // the target's folder and, when given, the device whose write failed.
    static QString reason(const QString& target, const QFileDevice* file = nullptr);
    // The reason when the target's disk is full, else an empty text.
    static QString fullDiskReason(const QString& target, const QFileDevice* file = nullptr);
    // "Nie można zapisać pliku <target>: <reason>."
    static QString message(const QString& target, const QString& reason);
};
