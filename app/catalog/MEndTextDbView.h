#pragma once

#include "parties/MDefaultRecordDbView.h"

class QContextMenuEvent;

// The tab "Teksty końcowe": the free texts that close a document. One of them can be the
// default text, which a new document starts with; its id is kept in the option
// ID_RECORD_DEFAULT_ENDTEXT ("0" for none).
class MEndTextDbView : public MDefaultRecordDbView
{
    Q_OBJECT

public:
    MEndTextDbView(MAppServices* appWnd, QWidget* parent);
    ~MEndTextDbView() override;

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
