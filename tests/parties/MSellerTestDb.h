#pragma once

#include <QString>
#include <QTemporaryDir>

// A database made by the program's own schema script in a temporary folder, opened as
// the default connection with the Polish layer, the options loaded, and the temporary
// program folder (MAppWnd::pathTemp, with template/logo/) inside the same folder.
class MSellerTestDb
{
public:
    MSellerTestDb();
    ~MSellerTestDb();

    // False, with the reason in errorText(), when the database could not be made.
    bool open();
    QString errorText() const;
    QString path(const QString& name) const;

    // Closes the connection and opens the same file again with freshly loaded options,
    // as a restart of the program does.
    bool reopen();

    // The first column of the first row of `sql`, as text; empty without a row.
    static QString value(const QString& sql);
    static int count(const QString& sql);

private:
    bool connect();

    QTemporaryDir m_dir;
    QString m_errorText;
};
