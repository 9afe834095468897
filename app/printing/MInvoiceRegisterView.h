#pragma once

#include <QString>
#include <QWidget>

class MAppServices;
class MDocTemplate;
class MFilterRegisterView;
class MGenerateDlg;
class MInvoiceRegisterPrintPreview;
class QTimer;

// The tab of the VAT register of sales: the filter on the left, the register's
// pages on the right. Showing, printing and saving each compute a new run of
// register data and lay it out in a timed job: a slot that opens the modal
// progress box, a slot that runs the template inside the box's event loop and
// a time-out slot that shows the page being laid out and closes the box when
// the run is over.
class MInvoiceRegisterView : public QWidget
{
    Q_OBJECT

public:
    MInvoiceRegisterView(MAppServices* appWnd, QWidget* parent);
    ~MInvoiceRegisterView() override;

public slots:
    void initWidget();
    // Draws the last register again; the main window calls it by name when
    // the tab becomes current.
    void updatePreview();
    void doShowFilter(bool show);
    void reloadView();
    void startDocPrint();
    void startDocPrintPdf();

private slots:
    void startDocPreviewMessageBox();
    void startDocPreviewRun();
    void startDocPreviewTimeOut();
    void startDocPrintMessageBox();
    void startDocPrintRun();
    void startDocPrintTimeOut();
    void startDocPrintPdfMessageBox();
    void startDocPrintPdfRun();
    void startDocPrintPdfTimeOut();

private:
    using TimeOutSlot = void (MInvoiceRegisterView::*)();

    // Computes a new run and hands it and the filter values to the preview template.
    void loadRunIntoPreviewTemplate();
    // The job's progress box, modal, until the run is over or stopped.
    void execGenerateDlg(const QString& title, const QString& text, MDocTemplate* job);
    // One tick of a job: shows a higher page number and waits again, or closes the box.
    void timeOut(TimeOutSlot slot, MDocTemplate* job);
    void prepareForPrint();

    MFilterRegisterView* m_filter = nullptr;
    MDocTemplate* m_docTemplate = nullptr;
    MGenerateDlg* m_generateDlg = nullptr;
    QString m_pdfFileName;
    int m_runFinished = 0;
    QTimer* m_timer = nullptr;
    MInvoiceRegisterPrintPreview* m_preview = nullptr;
    MAppServices* m_appWnd = nullptr;
};
