#include "MProductCatalogDlg.h"

MProductCatalogDlg::MProductCatalogDlg(QWidget* parent, Qt::WindowFlags flags)
    : MCatalogDlg(parent, 4, QStringLiteral("product_catalog"), tr("Katalog produktów"), flags)
{
}

MProductCatalogDlg::~MProductCatalogDlg() = default;
