#pragma once

#include "parties/MRecordDbView.h"

class QContextMenuEvent;

// The tab "Produkty": the products with their prices, rates and catalogs.
class MProductDbView : public MRecordDbView
{
    Q_OBJECT

public:
    MProductDbView(MAppServices* appWnd, QWidget* parent);
    ~MProductDbView() override;

    // The SQL of the list; countOnly selects only the number of rows.
    QString buildSqlQuery(bool fromOptions, bool countOnly, bool idsOnly);
    QString buildSqlQuery(bool fromOptions, bool idsOnly) override;

    using MRecordDbView::rowOfId;
    // The 0-based row of product `id` under the filter and order of the options
    // (fromOptions) or of the panel and the header; -1 when it is not listed.
    int rowOfId(int id, bool fromOptions);

public slots:
    void doDelete();
    void doCatalogAdd();
    void doCatalogEdit();
    void doCatalogDelete();
    void doCatalogJoin();
    void doCatalogCheckAll();
    void doCatalogUncheckAll();

protected:
    QString viewName() const override;
    int viewKind() const override;
    QString optionSuffix() const override;
    QStringList columnTitles() const override;
    QList<int> columnKinds() const override;
    bool hasCatalogs() const override;

    QDialog* createRecordDialog(int id) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
