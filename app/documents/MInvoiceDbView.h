#pragma once

#include "parties/MRecordDbView.h"
#include "views/MPrinterChoice.h"

#include <QMap>

class MDocTemplate;
class MFastView;
class MGenerateDlg;
class MInvoiceSetSelectedPrintPreview;
class MInvoiceDlg;
class QTabWidget;
class QTimer;

// The tabs "Faktury sprzedaży" (view kind 7) and "Faktury zakupu" (view kind 8): the saved
// documents with corrections as differences, duplicates under their parent's data and the
// payment state, beside a side tab with the filter panel and the quick view.
class MInvoiceDbView : public MRecordDbView
{
    Q_OBJECT

public:
    MInvoiceDbView(MAppServices* appWnd, QWidget* parent, int viewKind);
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

    // The VAT summary of documents `ids` as a new statement run; its id, 0 for no ids.
    static int buildVatSummary(QList<int> ids);
    // The next PDF job writes temporary files and ends in the e-mail dialog of its last document.
    void setSendMailMode(bool on);

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
    void doDocSendMailPdf();
    void doFinishedInvoiceDlg(int result);

    // Batch jobs over the selected documents, in row order, one document per tick
    // inside the modal progress box; each document gets its own template run.
    void startDocPreview(int iDocView);
    void startDocPrint(int iDocView);
    void startDocPrintPdf(int iDocView);

    // The statement of the selected documents, opened as a tab of its own.
    void doSetSelected();
    void startDocSetSelected();

private slots:
    void startDocPreviewMessageBox();
    void startDocPrintMessageBox();
    void startDocPrintPdfMessageBox();
    void startDocPreviewTimeOut();
    void startDocPrintTimeOut();
    void startDocPrintPdfTimeOut();
    void startDocSetSelectedMessageBox();
    void startDocSetSelectedRun();
    void startDocSetSelectedTimeOut();

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
    using TickSlot = void (MInvoiceDbView::*)();
    enum class JobKind { Preview, Print, Pdf };

    // Steps 1 to 4 of every job: the marking, the selection and the first tick.
    void startJob(int iDocView, TickSlot tick, TickSlot box);
    // A job's state anew, over the selected documents in list order.
    void takeSelectionForJob();
    void execJobBox(const QString& title, const QString& message);
    void jobTick(JobKind kind, TickSlot tick);
    // A template object set up for one pass of document `id` with marking `docView`.
    MDocTemplate* createPass(JobKind kind, int id, int docView) const;
    // Each makes document `id`, false when a run failed or its output could not
    // be printed or written; the failure has then been told to the user.
    bool makePreview(int id);
    bool makePrint(int id);
    bool makePdf(int id);
    void endPdfJob(bool completed);
    QString remainingText(const QString& message) const;
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

    bool m_sendMailMode = false;
    MGenerateDlg* m_generateDlg = nullptr;
    QString m_attachmentPath;
    QString m_attachmentName;
    int m_docView = 0;
    int m_position = 0;
    QString m_chosenFile;
    QMap<int, int> m_jobIds;
    MPrinterChoice m_printerChoice;
    bool m_finished = false;
    QTimer* m_jobTimer = nullptr;
    MInvoiceSetSelectedPrintPreview* m_setSelectedPreview = nullptr;
};
