#pragma once

#include <QDialog>

// "O programie": the product's name, version and web sites.
class MAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MAboutDlg(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

private slots:
    void clickOk(bool checked);
};
