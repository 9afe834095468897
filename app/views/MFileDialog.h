#pragma once

#include <QFileDialog>
#include <QString>

// Every file dialog of the program goes through here, so that tests can
// give the chosen name in advance instead of a person.
class MFileDialog
{
public:
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir = QString(),
                                   const QString& filter = QString());
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir = QString(),
                                   const QString& filter = QString());
    static QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir = QString());

    // Test seam: while automatic, no dialog is shown; each call takes the
    // next queued name, or an empty one (a cancelled dialog) when none is queued.
    static void setAutomatic(bool automatic);
    static void setNextFileName(const QString& fileName);
    // The folder the last dialog was asked to start in.
    static QString lastFolder();

private:
    static bool takeAnswer(const QString& dir, QString* fileName);
};
