#pragma once

#include "parties/MCatalogDlg.h"

// Adds a product catalog or renames one.
class MProductCatalogDlg : public MCatalogDlg
{
    Q_OBJECT

public:
    MProductCatalogDlg(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MProductCatalogDlg() override;
};
