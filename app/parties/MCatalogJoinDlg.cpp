#include "MCatalogJoinDlg.h"

#include "data/MSqlitePolish.h"
#include "views/ItemDelegateCatalogListView.h"
#include "views/MItemRoles.h"
#include "views/MSelectListModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QSqlQuery>
#include <QStandardItem>
#include <QTabWidget>
#include <QTreeView>

#include <algorithm>

namespace {

// The sorted catalog ids of one record, as GROUP_CONCAT gave them.
QString membershipKey(const QString& concatenated)
{
    QStringList ids = concatenated.split(QLatin1Char(','));
    ids.sort();
    return ids.join(QLatin1Char(','));
}

} // namespace

MCatalogJoinDlg::MCatalogJoinDlg(QWidget* parent, int viewKind, const Tables& tables, Qt::WindowFlags flags)
    : MRecordDlg(parent, viewKind, false, flags)
    , m_tables(tables)
{
    setWindowTitle(tr("Przynależność do katalogów"));

    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("warning"));
    m_warning->setFixedWidth(300);
    m_warning->setWordWrap(true);
    m_warning->hide();

    m_tabWidget = new QTabWidget(this);
    createTab(EditTab);
    createTab(AssignedTab);

    frameLayout()->addWidget(m_warning, 0, 0);
    frameLayout()->addWidget(m_tabWidget, 1, 0);
    frameLayout()->setRowMinimumHeight(2, 5);
    addButtonRow(3);
}

MCatalogJoinDlg::~MCatalogJoinDlg() = default;

void MCatalogJoinDlg::createTab(int tab)
{
    auto* page = new QWidget();
    auto* view = new QTreeView(page);
    view->setHeaderHidden(true);
    view->setRootIsDecorated(false);
    view->setFixedSize(270, 300);
    view->setItemDelegate(new ItemDelegateCatalogListView(view));

    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->setColumnStretch(0, 1);
    layout->addWidget(view, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->setRowStretch(1, 100);

    if (tab == EditTab) {
        view->setObjectName(QStringLiteral("catalogs_edit"));
        m_editList = view;
        m_tabWidget->addTab(page, tr("Edycja"));
    } else {
        view->setObjectName(QStringLiteral("catalogs_assigned"));
        m_assignedList = view;
        m_tabWidget->addTab(page, tr("Przypisane"));
    }
}

void MCatalogJoinDlg::setIds(const QList<int>& ids)
{
    m_ids = ids;
    std::sort(m_ids.begin(), m_ids.end());
    // Never empty, so that the statements stay valid without a record.
    QString idList = QStringLiteral("0");
    for (int id : qAsConst(m_ids))
        idList += QLatin1Char(',') + QString::number(id);

    if (membershipsDiffer(idList)) {
        m_warning->setText(tr("<font color=\"#f00000\"><b>Uwaga:</b><br>Zaznaczone wiersze nie mają tych samych "
                              "przynależności do katalogów i zostaną nadpisane.")
                           + QStringLiteral("<br></font>"));
        m_warning->show();
    }

    const QString assigned = QStringLiteral("FROM ") + m_tables.catalog + QStringLiteral(" c LEFT JOIN ")
        + m_tables.join + QStringLiteral(" cj ON cj.id_catalog = c.id WHERE cj.") + m_tables.joinColumn
        + QStringLiteral(" IN (") + idList + QStringLiteral(") GROUP BY c.id ");
    m_editModel = loadSelectListModel(
        QStringLiteral("SELECT c.name AS _name_, c.id, 0 FROM ") + m_tables.catalog
            + QStringLiteral(" c WHERE c.id NOT IN (SELECT c.id ") + assigned
            + QStringLiteral(") UNION ALL SELECT c.name AS _name_, c.id, CASE WHEN COUNT(cj.id) > 0 THEN 1 ELSE 0 END ")
            + assigned + QStringLiteral("ORDER BY _name_ ") + MSqlitePolish::sqlCollate,
        m_editList, true);
    m_editList->setColumnWidth(0, 22);

    loadSelectListModel(QStringLiteral("SELECT c.name, c.id, CASE WHEN COUNT(cj.id) > 0 THEN 1 ELSE 0 END ") + assigned
                            + QStringLiteral("ORDER BY c.name ") + MSqlitePolish::sqlCollate,
                        m_assignedList, false);
    m_assignedList->setColumnWidth(0, 22);
}

bool MCatalogJoinDlg::membershipsDiffer(const QString& idList) const
{
    QSqlQuery memberships;
    if (!memberships.exec(QStringLiteral("SELECT r.id, GROUP_CONCAT(cj.id_catalog) FROM ") + m_tables.record
                          + QStringLiteral(" r LEFT JOIN ") + m_tables.join + QStringLiteral(" cj ON cj.")
                          + m_tables.joinColumn + QStringLiteral(" = r.id WHERE r.id IN (") + idList
                          + QStringLiteral(") GROUP BY r.id")))
        return false;
    bool first = true;
    QString previous;
    while (memberships.next()) {
        const QString key = membershipKey(memberships.value(1).toString());
        if (!first && key != previous)
            return true;
        previous = key;
        first = false;
    }
    return false;
}

MSelectListModel* MCatalogJoinDlg::loadSelectListModel(const QString& sql, QAbstractItemView* view,
                                                            bool checkable)
{
    if (auto* previous = qobject_cast<MSelectListModel*>(view->model()))
        disconnect(view, &QAbstractItemView::clicked, previous, &MSelectListModel::itemClicked);

    auto* model = new MSelectListModel(this);
    if (!sql.isEmpty()) {
        QSqlQuery query;
        if (query.exec(sql)) {
            while (query.next()) {
                const int assignedCount = query.value(2).toInt();
                if (checkable) {
                    auto* check = new QStandardItem();
                    check->setData(assignedCount >= 1 ? CheckItemState::Checked : CheckItemState::Unchecked,
                                   ItemRole::State);
                    check->setData(query.value(1), ItemRole::Value);
                    model->appendRow({check, new QStandardItem(query.value(0).toString())});
                } else if (assignedCount > 0) {
                    auto* name = new QStandardItem(query.value(0).toString());
                    name->setData(query.value(1), ItemRole::Value);
                    model->appendRow(name);
                }
            }
        }
    }
    view->setModel(model);
    connect(view, &QAbstractItemView::clicked, model, &MSelectListModel::itemClicked);
    return model;
}

QList<int> MCatalogJoinDlg::tickedCatalogs() const
{
    QList<int> catalogs;
    for (int row = 0; row < m_editModel->rowCount(); ++row) {
        const QModelIndex check = m_editModel->index(row, 0);
        const int catalog = check.data(ItemRole::Value).toInt();
        if (check.data(ItemRole::State).toInt() == CheckItemState::Checked && catalog > 0)
            catalogs.append(catalog);
    }
    return catalogs;
}

bool MCatalogJoinDlg::save(int* savedId)
{
    *savedId = 0;
    const QList<int> catalogs = m_editModel ? tickedCatalogs() : QList<int>();
    QSqlQuery remove;
    remove.prepare(QStringLiteral("DELETE FROM ") + m_tables.join + QStringLiteral(" WHERE ") + m_tables.joinColumn
                   + QStringLiteral(" = :id_record"));
    QSqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO ") + m_tables.join + QStringLiteral(" (") + m_tables.joinColumn
                   + QStringLiteral(", id_catalog) VALUES (:id_record, :id_catalog)"));
    for (int record : qAsConst(m_ids)) {
        remove.bindValue(QStringLiteral(":id_record"), record);
        if (!execWrite(remove))
            return false;
        for (int catalog : catalogs) {
            insert.bindValue(QStringLiteral(":id_record"), record);
            insert.bindValue(QStringLiteral(":id_catalog"), catalog);
            if (!execWrite(insert))
                return false;
        }
    }
    return true;
}
