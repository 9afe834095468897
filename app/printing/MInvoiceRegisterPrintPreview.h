#pragma once

#include <QPrintPreviewWidget>
#include <QString>

class MAppServices;
class MDocTemplate;
class QPrinter;

// The register's pages inside its tab. The preview template is the tab's and
// holds the pages shown; print and PDF runs lay the register out anew in a
// template of the preview's own, on the run and filter values of the
// preview template.
class MInvoiceRegisterPrintPreview : public QPrintPreviewWidget
{
    Q_OBJECT

public:
    // Takes ownership of `printer`; `docTemplate` stays the caller's.
    MInvoiceRegisterPrintPreview(MAppServices* appWnd, QPrinter* printer, MDocTemplate* docTemplate, QWidget* parent);
    ~MInvoiceRegisterPrintPreview() override;

    MDocTemplate* docTemplatePreview() const;
    MDocTemplate* docTemplatePrint() const;

    // The layout of the register from the template resource onto `docTemplate`;
    // false when the template failed (reported in a box).
    static bool runTemplate(MDocTemplate* docTemplate, QWidget* parent);

public slots:
    void print(QPrinter* printer);
    void startDocPreview();
    void startDocPrint();
    void startDocPrintPdf(QString fileName);
    void doClose();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The print template set up for a run on the preview template's values.
    void preparePrintTemplate();

    MAppServices* m_appWnd = nullptr;
    MDocTemplate* m_docTemplatePreview = nullptr;
    MDocTemplate* m_docTemplatePrint = nullptr;
    QPrinter* m_printer = nullptr;
};
