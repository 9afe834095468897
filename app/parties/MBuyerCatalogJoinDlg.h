#pragma once

#include "parties/MCatalogJoinDlg.h"

#include <QMap>

// Sets the catalogs of the buyers selected in the buyer list.
class MBuyerCatalogJoinDlg : public MCatalogJoinDlg
{
    Q_OBJECT

public:
    MBuyerCatalogJoinDlg(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MBuyerCatalogJoinDlg() override;

    // The keys are the buyer ids; the values are not read.
    void setIdsBuyer(QMap<int, int> ids);
};
