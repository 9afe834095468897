#pragma once

#include "parties/MRecordDbView.h"

class QContextMenuEvent;

// The tab "Sprzedawcy": the firms that issue the documents, with their province and
// country. One of them can be the default seller, which a new document starts with; its
// id is kept in the option ID_RECORD_DEFAULT_SELLER ("0" for none) and its row is marked.
class MSellerDbView : public MRecordDbView
{
    Q_OBJECT

public:
    MSellerDbView(MAppWnd* appWnd, QWidget* parent);
    ~MSellerDbView() override;

    QString buildSqlQuery(bool fromOptions, bool idsOnly) override;

    // Asked by the main window when it shows the DEFAULT command checked.
    Q_INVOKABLE bool isCurrentDefault() const;

public slots:
    void doNew();
    void doEdit();
    void doDelete();
    // Switches the default mark of the current seller.
    void doDefault();
    // Makes `id` the default seller (0: none), stores it and marks its row.
    void setIdRecordDefault(int id);

protected:
    QString viewName() const override;
    int viewKind() const override;
    QString optionSuffix() const override;
    QStringList columnTitles() const override;
    QList<int> columnKinds() const override;
    bool hasCatalogs() const override;
    void renewRowMarks() override;

    void contextMenuEvent(QContextMenuEvent* event) override;

protected slots:
    void cellDoubleClicked(QModelIndex indx) override;

private:
    void openDialog(int id, bool nestedLoop);

    int m_idRecordDefault = 0;
};
