#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTemporaryFile>

// A PDF file written in full or not at all. The pages go to a temporary file in
// the target's folder, which takes the target's place only once it ends in a
// complete cross-reference table: Qt's PDF writer says nothing of a write that
// failed, so a file cut short by a full disk is caught here. On any failure the
// temporary file is removed and an older file of the target's name is kept.
class MPdfFileWrite
{
    Q_DECLARE_TR_FUNCTIONS(MPdfFileWrite)

public:
    explicit MPdfFileWrite(const QString& target);

    // Creates the temporary file; false, with errorText(), when the target's
    // folder takes none or the target may not be replaced.
    bool open();
    // The file the pages are to be written to, once open.
    QString temporaryName() const;
    // Puts the written file in the target's place; false, with errorText() and
    // nothing left behind, when it is not a complete PDF or cannot be moved.
    bool commit();
    // Drops the temporary file, the pages having failed for `reason`.
    void abandon(const QString& reason);
    // "Nie można zapisać pliku <target>: <reason>." after a failure.
    QString errorText() const;

    // True when fileName holds a whole PDF: a header, and a trailer whose
    // cross-reference offset points at the cross-reference table.
    static bool isComplete(const QString& fileName);

private:
    void fail(const QString& reason);
    void discard();
    QString incompleteReason() const;

    QString m_target;
    QTemporaryFile m_temporary;
    QString m_errorText;
};
