#pragma once

#include <QDialog>

class QDateEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;

// A duplicate of a saved document: its own issue date and a remark that is not printed.
// New for a parent (setIdRecordParent, then setIdRecord(0)) or an existing one
// (setIdRecord(id)); OK writes it and reports it to the parent window's list.
class MInvoiceDuplicateDlg : public QDialog
{
    Q_OBJECT
    friend class TestDocumentActionDialogs;

public:
    MInvoiceDuplicateDlg(QWidget* parent, Qt::WindowFlags f = Qt::WindowFlags());

    int kind() const;
    bool validate();

public slots:
    void setIdRecordParent(int id);
    void setIdRecord(int id);

private slots:
    void clickOk(bool b);
    void clickCancel(bool b);

private:
    void createTab(int tab);

    int m_kind = -1;
    int m_idParent = 0;
    int m_idRecord = 0;
    QTabWidget* m_tabs = nullptr;
    QDateEdit* m_datePut = nullptr;
    QTextEdit* m_remark = nullptr;
    QPushButton* m_buttonOk = nullptr;
    QPushButton* m_buttonCancel = nullptr;
};
