#pragma once

#include "parties/MCatalogJoinDlg.h"

#include <QMap>

// Sets the catalogs of the products selected in the product list.
class MProductCatalogJoinDlg : public MCatalogJoinDlg
{
    Q_OBJECT

public:
    MProductCatalogJoinDlg(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MProductCatalogJoinDlg() override;

    // The keys are the product ids; the values are not read.
    void setIdsProduct(QMap<int, bool> ids);
};
