#pragma once

#include "parties/MDefaultRecordDbView.h"

class QContextMenuEvent;

// The tab "Sprzedawcy": the firms that issue the documents, with their province and
// country. One of them can be the default seller, which a new document starts with; its
// id is kept in the option ID_RECORD_DEFAULT_SELLER ("0" for none) and its row is marked.
class MSellerDbView : public MDefaultRecordDbView
{
    Q_OBJECT

public:
    MSellerDbView(MAppServices* appWnd, QWidget* parent);
    ~MSellerDbView() override;

    QString buildSqlQuery(bool fromOptions, bool idsOnly) override;

public slots:
    void doDelete();

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
