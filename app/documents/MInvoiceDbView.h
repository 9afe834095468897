#pragma once

#include "parties/MRecordDbView.h"

class MFastView;
class MInvoiceDlg;
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

    // The document actions on the current row (the selection for payment control and the
    // error check), each refusing in a box what the document's kind does not allow.
    void doDocAdd();
    void doDocEdit();
    void doDocCopy();
    void doDocCorrect();
    void doDocDuplicate();
    void doDocDelete();
    void doIsPayed();
    void doCheckErrors();
    // The view choosers, which start the list's batch jobs on the selection.
    void doDocPreview();
    void doDocPrint();
    void doDocPrintPdf();
    void doFinishedInvoiceDlg(int result);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void cellDoubleClicked(QModelIndex indx) override;
    QString viewName() const override;
    int viewKind() const override;
    QString optionSuffix() const override;
    QStringList columnTitles() const override;
    QList<int> columnKinds() const override;
    bool hasCatalogs() const override;
    QWidget* createSidePane(MFilterDbView* filterView) override;
    void afterReloadView() override;

private:
    // The invoice editor, when one is open: only one may be.
    QDialog* openInvoiceDlg() const;
    // A new editor for a document of `kind`, not shown yet; null while one is open.
    MInvoiceDlg* createInvoiceDlg(int kind);
    // Shows an editor that the action has loaded, modeless, deleted on close.
    void showInvoiceDlg(MInvoiceDlg* editor);
    void editDocument(int id);

    const int m_viewKind;
    QTabWidget* m_sideTab = nullptr;
    MFastView* m_fastView = nullptr;
};
