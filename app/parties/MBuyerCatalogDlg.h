#pragma once

#include "parties/MRecordDlg.h"

class QLineEdit;

// Adds a buyer catalog or renames one. A blank name stores nothing.
class MBuyerCatalogDlg : public MRecordDlg
{
    Q_OBJECT

public:
    MBuyerCatalogDlg(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MBuyerCatalogDlg() override;

    // `buyer_catalog.id` of the catalog to rename; without it the dialog adds one.
    void setIdRecord(int id);

protected:
    bool save(int* savedId) override;

private:
    int m_idRecord = 0;
    QLineEdit* m_name = nullptr;
};
