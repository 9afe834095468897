#pragma once

#include <QPrintPreviewWidget>
#include <QList>
#include <QString>

class MAppServices;
class MDocTemplate;
class QTextEdit;

// The tab with the laid-out pages of one document. Printing, PDF output and
// e-mail lay the document out anew for each marking run; the tab's own pages
// stay as they are.
class MInvoicePrintPreview : public QPrintPreviewWidget
{
    Q_OBJECT

public:
    // Takes ownership of printer and textEdit.
    MInvoicePrintPreview(MAppServices* appWnd, QPrinter* printer, QTextEdit* textEdit, QWidget* parent);
    ~MInvoicePrintPreview() override;

    void setDocView(int iDocView);
    void setIdRecord(int id);
    // The template resource of the runs; the document template unless changed.
    void setTemplate(const QString& resource);

public slots:
    void print(QPrinter* printer);
    // A negative marking stands for the one the preview was made with.
    void startDocPrint(int iDocView);
    void startDocPrintPdf(int iDocView);
    void doSendMailPdf();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private slots:
    void doClose();
    void doPrint();
    void doPrintPdf();

private:
    // A template object set up for one run on its own printer.
    MDocTemplate* createRun(bool pdf, int docView);
    // Lays out every run; false when one failed or was stopped.
    bool layOut(const QList<MDocTemplate*>& runs);
    // Prints or writes every run on its printer, up to the first that fails,
    // which is told to the user; false then.
    bool printRuns(const QList<MDocTemplate*>& runs);
    static void release(const QList<MDocTemplate*>& runs);

    bool m_sendMailMode = false;
    int m_docView = 0;
    int m_idRecord = 0;
    QString m_attachmentPath;
    QString m_attachmentName;
    MAppServices* m_appWnd;
    QPrinter* m_printer;
    QTextEdit* m_textEdit;
    QString m_template;
};
