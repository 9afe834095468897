#pragma once

#include "parties/MRecordDbView.h"

class QContextMenuEvent;

// The tab "Kontrahenci": the buyers with their province, country and contact address.
class MBuyerDbView : public MRecordDbView
{
    Q_OBJECT

public:
    MBuyerDbView(MAppServices* appWnd, QWidget* parent);
    ~MBuyerDbView() override;

    QString buildSqlQuery(bool fromOptions, bool idsOnly) override;

public slots:
    void doDelete();
    void doShowDocsSell();
    void doCatalogAdd();
    void doCatalogEdit();
    void doCatalogDelete();
    void doCatalogCheckAll();
    void doCatalogUncheckAll();
    void doCatalogJoin();

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
