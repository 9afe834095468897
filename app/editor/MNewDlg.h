#pragma once

#include "MChooserDlg.h"

// "Nowy...": what to create; hands the choice to the main window's newRecord.
class MNewDlg : public MChooserDlg
{
    Q_OBJECT

public:
    MNewDlg(QWidget* parent, Qt::WindowFlags f = Qt::WindowFlags());

public slots:
    // viewKind 7 or 8: the kinds of that document list; otherwise the top
    // list (group below 0) or the invoice kinds (group 0).
    void loadList(int viewKind, int group);
    void clickOk(bool b);

protected slots:
    void loadListItem(const QModelIndex& index) override;

private:
    int m_viewKind = -1;
};
