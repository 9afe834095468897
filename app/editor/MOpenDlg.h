#pragma once

#include "MChooserDlg.h"

// "Otwórz...": which list to open as a tab of the main window.
class MOpenDlg : public MChooserDlg
{
    Q_OBJECT

public:
    MOpenDlg(QWidget* parent, Qt::WindowFlags f = Qt::WindowFlags());

public slots:
    void clickOk(bool b);

protected slots:
    void loadListItem(const QModelIndex& index) override;
};
