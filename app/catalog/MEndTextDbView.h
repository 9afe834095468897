#pragma once

#include "parties/MRecordDbView.h"

class QContextMenuEvent;

// The tab "Teksty końcowe": the free texts that close a document. One of them can be the
// default text, which a new document starts with; its id is kept in the option
// ID_RECORD_DEFAULT_ENDTEXT ("0" for none) and its row is painted as the default record
// whenever it is loaded, however the list is filtered and sorted.
class MEndTextDbView : public MRecordDbView
{
    Q_OBJECT

public:
    MEndTextDbView(MAppWnd* appWnd, QWidget* parent);
    ~MEndTextDbView() override;

    QString buildSqlQuery(bool fromOptions, bool idsOnly) override;

    // Asked by the main window when it shows the DEFAULT command checked.
    Q_INVOKABLE bool isCurrentDefault() const;

public slots:
    void doNew();
    void doEdit();
    void doDelete();
    // Switches the default mark of the current text.
    void doDefault();
    // Makes `id` the default text (0: none), stores it and paints its row.
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
