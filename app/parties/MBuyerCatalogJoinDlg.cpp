#include "MBuyerCatalogJoinDlg.h"

MBuyerCatalogJoinDlg::MBuyerCatalogJoinDlg(QWidget* parent, Qt::WindowFlags flags)
    : MCatalogJoinDlg(parent, 3,
                      {QStringLiteral("buyer"), QStringLiteral("buyer_catalog"), QStringLiteral("buyer_catalog_join"),
                       QStringLiteral("id_buyer")},
                      flags)
{
}

MBuyerCatalogJoinDlg::~MBuyerCatalogJoinDlg() = default;

void MBuyerCatalogJoinDlg::setIdsBuyer(QMap<int, int> ids)
{
    setIds(ids.keys());
}
