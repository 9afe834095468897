#pragma once

#include <QDialog>
#include <QMap>
#include <QString>

class MTableView;
class QLabel;
class QPushButton;
class QTabWidget;

// "Informacje o błędach": the selected documents checked for what keeps their payment QR
// code off the printout; the first reason of each is listed on the page "Kod QR".
class MInvoiceErrorDlg : public QDialog
{
    Q_OBJECT
    friend class TestDocumentActionDialogs;

public:
    MInvoiceErrorDlg(QWidget* parent, Qt::WindowFlags f = Qt::WindowFlags());

    // A document to check; one added twice is checked once.
    void addDocument(int idInvoice);
    // Checks the documents and fills the dialog; true when a finding was stored.
    bool checkDocuments();
    void addGroupPage(int group);
    // The run the findings were stored under; 0 without findings.
    int runId() const;

public slots:
    void clickContinue(bool b);

private:
    QPushButton* m_buttonOk = nullptr;
    QMap<int, QString> m_findings;
    MTableView* m_table = nullptr;
    QLabel* m_note = nullptr;
    QTabWidget* m_tabs = nullptr;
    int m_runId = 0;
};
