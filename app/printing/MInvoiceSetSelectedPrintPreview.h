#pragma once

#include <QPrintPreviewWidget>
#include <QString>

class MAppServices;
class MDocTemplate;
class MGenerateDlg;
class QTextEdit;
class QTimer;

// The tab "Zestawienie wybranych dokumentów": the pages of a statement of the
// documents chosen in a list. The statement's figures were stored once, as a
// run of VAT summary rows; printing and saving lay the statement out anew on
// that run in a template of the preview's own, each in a timed job: the
// progress box, the run inside its event loop and a time-out slot that shows
// the page being laid out and closes the box when the run is over.
class MInvoiceSetSelectedPrintPreview : public QPrintPreviewWidget
{
    Q_OBJECT

public:
    // Takes ownership of printer, textEdit and docTemplate (the template of the shown pages).
    MInvoiceSetSelectedPrintPreview(MAppServices* appWnd, QPrinter* printer, QTextEdit* textEdit,
                                    MDocTemplate* docTemplate, QWidget* parent);
    ~MInvoiceSetSelectedPrintPreview() override;

    MDocTemplate* docTemplatePreview() const;
    MDocTemplate* docTemplatePrint() const;
    // The progress box of the print and PDF jobs; made once the statement is shown.
    void createGenerateDlg();

public slots:
    void print(QPrinter* printer);
    // Lays the statement out on the preview template; false when the template failed.
    bool startDocPreview();
    void startDocPrint();
    void startDocPrintPdf();
    void doClose();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private slots:
    void startDocPrint2();
    void startDocPrintPdf2(QString fileName);
    void startDocPrintMessageBox();
    void startDocPrintRun();
    void startDocPrintTimeOut();
    void startDocPrintPdfMessageBox();
    void startDocPrintPdfRun();
    void startDocPrintPdfTimeOut();

private:
    using TimeOutSlot = void (MInvoiceSetSelectedPrintPreview::*)();

    // Landscape, the program's margins and the shown statement's run on the print template.
    void setUpPrintTemplate();
    // Ready for a new job on the print template: flags and page counter reset.
    void resetPrintTemplate();
    // The print template laid out anew; false when it failed or was stopped.
    bool layOutPrintTemplate();
    void execGenerateDlg(const QString& title, const QString& text);
    void timeOut(TimeOutSlot slot);

    MAppServices* m_appWnd = nullptr;
    QPrinter* m_printer = nullptr;
    QTextEdit* m_textEdit = nullptr;
    MGenerateDlg* m_generateDlg = nullptr;
    MDocTemplate* m_docTemplatePreview = nullptr;
    MDocTemplate* m_docTemplatePrint = nullptr;
    int m_runFinished = 0;
    QTimer* m_timer = nullptr;
    QString m_pdfFileName;
};
