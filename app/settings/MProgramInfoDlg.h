#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

// "Katalogi programu": shows the folders the program works with, opens them in
// the file manager and lets the user choose another database folder, which
// takes effect at the next start.
class MProgramInfoDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MProgramInfoDlg(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

public slots:
    void clickPathInstallation(bool checked);
    void clickPathData(bool checked);
    void clickPathConfig(bool checked);
    void clickPathDocuments(bool checked);
    void clickPathDataChange(bool checked);
    void clickClose(bool checked);

private:
    QPushButton* m_dataButton = nullptr;
    QString m_pathInstallation;
};
