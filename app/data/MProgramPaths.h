#pragma once

#include <QCoreApplication>
#include <QString>

// The program's folders and its database file; each folder ends in "/" once found.
class MProgramPaths
{
public:
    static QString pathConfig;
    static QString pathTemp;
    static QString pathData;
    static QString pathDocuments;
    static QString pathDbFile;

    // Finds and creates the program folders and reads config/Invoice.ini;
    // a database of an earlier installation named in last_inst.conf of
    // installationDir is copied in when there is none yet.
    static void initPaths(const QString& installationDir = QCoreApplication::applicationDirPath());

    // Copies the database file to data/backup once a day and, with a suffix,
    // once per suffix; an existing copy is never replaced, but an empty one
    // is no copy. An empty database file (not made yet) is never copied.
    static void backupDb(const QString& suffix);
    // True when today's copy is still to be made.
    static bool dailyBackupDue();
    // Empties the temporary folders, keeping the folders themselves.
    static void cleanDisk();
};
