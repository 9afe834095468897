#include "MProductCatalogJoinDlg.h"

MProductCatalogJoinDlg::MProductCatalogJoinDlg(QWidget* parent, Qt::WindowFlags flags)
    : MCatalogJoinDlg(parent, 4,
                      {QStringLiteral("product"), QStringLiteral("product_catalog"),
                       QStringLiteral("product_catalog_join"), QStringLiteral("id_product")},
                      flags)
{
}

MProductCatalogJoinDlg::~MProductCatalogJoinDlg() = default;

void MProductCatalogJoinDlg::setIdsProduct(QMap<int, bool> ids)
{
    setIds(ids.keys());
}
