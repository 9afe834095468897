#pragma once

#include "parties/MRecordDbView.h"

class QContextMenuEvent;

// The tab "Notowania walutowe": exchange-rate quotations, each an amount of one currency
// worth a value in PLN on a date in a bank's table. The filter tree groups them by bank,
// quoted currency and month of the date. No catalogs, no default record, no CSV export.
class MCurrencyRatingDbView : public MRecordDbView
{
    Q_OBJECT

public:
    MCurrencyRatingDbView(MAppServices* appWnd, QWidget* parent);
    ~MCurrencyRatingDbView() override;

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
