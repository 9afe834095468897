#pragma once

#include "parties/MRecordDlg.h"

#include <QList>
#include <QString>

class MSelectListModel;
class QAbstractItemView;
class QLabel;
class QTabWidget;
class QTreeView;

// Sets the catalogs of the records selected in a list (buyers, products): the ticked
// catalogs replace each record's memberships as a whole. "Przypisane" shows the catalogs
// that at least one of the records belonged to when the dialog opened; a red warning
// says when the records did not all belong to the same catalogs.
class MCatalogJoinDlg : public MRecordDlg
{
    Q_OBJECT

public:
    ~MCatalogJoinDlg() override;

    // Fills a check list from `sql`, whose rows are name, id and a flag: checkable, every
    // row with its mark set by the flag; otherwise only the rows whose flag is above 0.
    // Without sql the new model stays empty and is not shown.
    MSelectListModel* loadSelectListModel(const QString& sql, QAbstractItemView* view, bool checkable);

protected:
    // The tables of one kind of record: the records ("buyer"), their catalogs
    // ("buyer_catalog"), the join table ("buyer_catalog_join") and its record column
    // ("id_buyer").
    struct Tables
    {
        QString record;
        QString catalog;
        QString join;
        QString joinColumn;
    };

    MCatalogJoinDlg(QWidget* parent, int viewKind, const Tables& tables, Qt::WindowFlags flags);

    // Takes the selected records and fills both lists.
    void setIds(const QList<int>& ids);
    void createTab(int tab);

    bool save(int* savedId) override;

private:
    enum Tab { EditTab = 1, AssignedTab = 2 };

    bool membershipsDiffer(const QString& idList) const;
    QList<int> tickedCatalogs() const;

    const Tables m_tables;
    QList<int> m_ids;
    QLabel* m_warning = nullptr;
    QTabWidget* m_tabWidget = nullptr;
    QTreeView* m_editList = nullptr;
    QTreeView* m_assignedList = nullptr;
    MSelectListModel* m_editModel = nullptr;
};
