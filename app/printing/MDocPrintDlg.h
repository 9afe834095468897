#pragma once

#include <QDialog>
#include <QItemSelection>
#include <QModelIndex>

class QCheckBox;
class QComboBox;
class QListView;
class QPushButton;
class QStandardItemModel;

// Asks how the documents to print, save as PDF or mail are marked, whether the
// authorised person is printed and, for printing, how the address fits an
// envelope window; the choice goes to the parent list's startDocPrint(int) or
// startDocPrintPdf(int).
class MDocPrintDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MDocPrintDlg(QWidget* parent, Qt::WindowFlags f = Qt::WindowFlags());
    ~MDocPrintDlg() override;

    // PDF output offers no marking twice unmarked.
    void setPdfMode(bool on);
    // A mailed PDF is one file: no original and copy as two files.
    void setSendMailMode(bool on);

private slots:
    void clickOk(bool b);
    void clickCancel(bool b);
    void doSelectionChangedList(QItemSelection selected, QItemSelection deselected);
    void loadListItem(QModelIndex index);

private:
    QPushButton* m_cancelButton;
    QPushButton* m_okButton;
    QComboBox* m_envelopeList;
    QCheckBox* m_personBox;
    QListView* m_markingList;
    QWidget* m_envelopeRow;
    QWidget* m_personRow;
    bool m_sendMailMode = false;
    bool m_pdfMode = false;
    QStandardItemModel* m_model;
};
