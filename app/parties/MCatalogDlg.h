#pragma once

#include "parties/MRecordDlg.h"

class QLineEdit;

// Adds a catalog of one table (buyer_catalog, product_catalog) or renames one. A blank
// name stores nothing; the owner is told of a change of catalogs (the id 0) either way.
class MCatalogDlg : public MRecordDlg
{
    Q_OBJECT

public:
    ~MCatalogDlg() override;

    // The id of the catalog to rename; without it the dialog adds one.
    void setIdRecord(int id);

protected:
    // `viewKind` is the DbObjectKind of the list that shows the catalogs.
    MCatalogDlg(QWidget* parent, int viewKind, const QString& table, const QString& title, Qt::WindowFlags flags);

    bool save(int* savedId) override;

private:
    const QString m_table;
    int m_idRecord = 0;
    QLineEdit* m_name = nullptr;
};
