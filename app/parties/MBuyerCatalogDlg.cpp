#include "MBuyerCatalogDlg.h"

MBuyerCatalogDlg::MBuyerCatalogDlg(QWidget* parent, Qt::WindowFlags flags)
    : MCatalogDlg(parent, 3, QStringLiteral("buyer_catalog"), tr("Katalog kontrahentów"), flags)
{
}

MBuyerCatalogDlg::~MBuyerCatalogDlg() = default;
