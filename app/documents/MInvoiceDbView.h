#pragma once

#include "parties/MRecordDbView.h"

class MFastView;
class QTabWidget;

// The tabs "Faktury sprzedaży" (view kind 7) and "Faktury zakupu" (view kind 8): the saved
// documents with corrections as differences, duplicates under their parent's data and the
// payment state, beside a side tab with the filter panel and the quick view.
class MInvoiceDbView : public MRecordDbView
{
    Q_OBJECT

public:
    MInvoiceDbView(MAppWnd* appWnd, QWidget* parent, int viewKind);
    ~MInvoiceDbView() override;

    QString buildSqlQuery(bool fromOptions, bool countOnly, bool idsOnly);
    QString buildSqlQuery(bool fromOptions, bool idsOnly) override;

    using MRecordDbView::rowOfId;
    // The 0-based row of document `id` under the stored (fromOptions) or the panel's
    // filter and order; -1 when it is not listed.
    int rowOfId(int id, bool fromOptions);

    // The ids of the selected documents in the order of their rows.
    QList<int> collectSelectedIds() const;
    MFastView* fastView() const;

public slots:
    // The selected documents of the sales list, in row order, into a JPK export dialog.
    void doExportJpkFa();
    void doExportJpkVat();

protected:
    QString viewName() const override;
    int viewKind() const override;
    QString optionSuffix() const override;
    QStringList columnTitles() const override;
    QList<int> columnKinds() const override;
    bool hasCatalogs() const override;
    QWidget* createSidePane(MFilterDbView* filterView) override;
    void afterReloadView() override;

private:
    const int m_viewKind;
    QTabWidget* m_sideTab = nullptr;
    MFastView* m_fastView = nullptr;
};
