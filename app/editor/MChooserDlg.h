#pragma once

#include <QDialog>
#include <QItemSelection>

// Item-data roles of the icon choosers.
namespace ChooserRole {
// "Nowy...": the kind of object to create; "Otwórz...": the list to open.
constexpr int ObjectKind = Qt::UserRole + 1;
// "Nowy...": the document kind the editor starts with.
constexpr int DocKind = Qt::UserRole + 2;
// 1 on an item that opens a further list instead of creating anything.
constexpr int Group = Qt::UserRole + 3;
} // namespace ChooserRole

class QListView;
class QPushButton;
class QStandardItemModel;

// The frame both icon choosers share: a list of large icons with "OK",
// enabled only while an item is selected, and "Anuluj".
class MChooserDlg : public QDialog
{
    Q_OBJECT

public:
    MChooserDlg(QWidget* parent, Qt::WindowFlags f, const QString& title);
    ~MChooserDlg() override;

    QListView* listView() const;
    QPushButton* okButton() const;

protected slots:
    virtual void loadListItem(const QModelIndex& index) = 0;
    void clickCancel(bool b);
    void doSelectionChangedList(QItemSelection selected, QItemSelection deselected);

protected:
    // Puts a new model on the list and connects its signals.
    void setListModel(QStandardItemModel* model);
    void addItem(QStandardItemModel* model, const QString& text, const QString& icon, int objectKind,
                 int docKind = -1, int group = -1);
    // The first selected row, invalid when none is selected.
    QModelIndex firstSelected() const;

private:
    QPushButton* m_buttonCancel = nullptr;
    QPushButton* m_buttonOk = nullptr;
    QListView* m_listView = nullptr;
};
