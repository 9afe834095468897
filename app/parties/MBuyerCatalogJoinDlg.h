#pragma once

#include "parties/MRecordDlg.h"

#include <QList>
#include <QMap>

class MSelectListModel;
class QAbstractItemView;
class QLabel;
class QTabWidget;
class QTreeView;

// Sets the catalogs of the buyers selected in a list: the ticked catalogs replace each
// buyer's memberships as a whole. "Przypisane" shows the catalogs that at least one of
// the buyers belonged to when the dialog opened.
class MBuyerCatalogJoinDlg : public MRecordDlg
{
    Q_OBJECT

public:
    MBuyerCatalogJoinDlg(QWidget* parent, Qt::WindowFlags flags = Qt::WindowFlags());
    ~MBuyerCatalogJoinDlg() override;

    // The keys are the buyer ids; the values are not read.
    void setIdsBuyer(QMap<int, int> ids);

protected:
    bool save(int* savedId) override;

private:
    enum Tab { EditTab = 1, AssignedTab = 2 };

    void createTab(int tab);
    MSelectListModel* loadSelectListModel(const QString& sql, QAbstractItemView* view, bool checkable);
    QList<int> tickedCatalogs() const;

    QList<int> m_idsBuyer;
    QLabel* m_warning = nullptr;
    QTabWidget* m_tabWidget = nullptr;
    QTreeView* m_editList = nullptr;
    QTreeView* m_assignedList = nullptr;
    MSelectListModel* m_editModel = nullptr;
};
