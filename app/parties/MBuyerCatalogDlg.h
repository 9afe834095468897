#pragma once

#include "parties/MCatalogDlg.h"

// Adds a buyer catalog or renames one.
class MBuyerCatalogDlg : public MCatalogDlg
{
    Q_OBJECT

public:
    MBuyerCatalogDlg(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MBuyerCatalogDlg() override;
};
