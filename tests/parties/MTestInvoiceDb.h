#pragma once

#include <QString>
#include <QTemporaryDir>

// A database made by the program's own schema script in a temporary folder, opened as
// the default connection with the Polish-language layer and the collation POLISH.
class MTestInvoiceDb
{
public:
    MTestInvoiceDb();
    ~MTestInvoiceDb();

    bool isOpen() const;
    QString errorText() const;
    // A path inside the database's temporary folder.
    QString path(const QString& name) const;
    // Closes the connection and opens the same file again, as a restart of the program
    // does (the options cache is the caller's to reload).
    bool reopen();

    // The first value of the first row of `sql`; an invalid QVariant when there is none.
    static QVariant value(const QString& sql);
    static int count(const QString& table);
    // Runs `sql`; fails the calling test when it does not run.
    static bool exec(const QString& sql);

private:
    bool connect();

    QTemporaryDir m_dir;
    QString m_errorText;
    bool m_open = false;
};
