#pragma once

#include <QDialog>

// "Informacje o bazie danych": where the database lives, its size, how many
// records of six kinds it holds and when they last changed; opens the
// database folder and makes a backup copy to a file the user chooses.
class MDbInfoDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MDbInfoDlg(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

public slots:
    void clickPathData(bool checked);
    void clickBackup(bool checked);
    void clickClose(bool checked);
};
