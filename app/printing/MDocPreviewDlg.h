#pragma once

#include <QDialog>
#include <QItemSelection>
#include <QModelIndex>

class QCheckBox;
class QListView;
class QPushButton;
class QStandardItemModel;

// Asks how the documents to preview are marked and whether the authorised
// person is printed; the choice goes to the parent list's startDocPreview(int).
class MDocPreviewDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MDocPreviewDlg(QWidget* parent, Qt::WindowFlags f = Qt::WindowFlags());
    ~MDocPreviewDlg() override;

private slots:
    void clickOk(bool b);
    void clickCancel(bool b);
    void doSelectionChangedList(QItemSelection selected, QItemSelection deselected);
    void loadListItem(QModelIndex index);

private:
    QPushButton* m_cancelButton;
    QPushButton* m_okButton;
    QCheckBox* m_personBox;
    QListView* m_markingList;
    QWidget* m_personRow;
    QStandardItemModel* m_model;
};
