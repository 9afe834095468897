#include "MBuyerCatalogJoinDlg.h"

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

// The sorted catalog ids of one buyer, as GROUP_CONCAT gave them.
QString membershipKey(const QString& concatenated)
{
    QStringList ids = concatenated.split(QLatin1Char(','));
    ids.sort();
    return ids.join(QLatin1Char(','));
}

} // namespace

MBuyerCatalogJoinDlg::MBuyerCatalogJoinDlg(QWidget* parent, Qt::WindowFlags flags)
    : MRecordDlg(parent, 3, false, flags)
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

MBuyerCatalogJoinDlg::~MBuyerCatalogJoinDlg() = default;

void MBuyerCatalogJoinDlg::createTab(int tab)
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

void MBuyerCatalogJoinDlg::setIdsBuyer(QMap<int, int> ids)
{
    m_idsBuyer = ids.keys();
    // Never empty, so that the statements stay valid without a buyer.
    QString idList = QStringLiteral("0");
    for (int id : qAsConst(m_idsBuyer))
        idList += QLatin1Char(',') + QString::number(id);

    QSqlQuery memberships;
    bool differ = false;
    if (memberships.exec(QStringLiteral("SELECT b.id, GROUP_CONCAT(bcj.id_catalog) FROM buyer b "
                                        "LEFT JOIN buyer_catalog_join bcj ON bcj.id_buyer = b.id "
                                        "WHERE b.id IN (")
                         + idList + QStringLiteral(") GROUP BY b.id"))) {
        bool first = true;
        QString previous;
        while (!differ && memberships.next()) {
            const QString key = membershipKey(memberships.value(1).toString());
            differ = !first && key != previous;
            previous = key;
            first = false;
        }
    }
    if (differ) {
        m_warning->setText(tr("<font color=\"#f00000\"><b>Uwaga:</b><br>Zaznaczone wiersze nie mają tych samych "
                              "przynależności do katalogów i zostaną nadpisane.")
                           + QStringLiteral("<br></font>"));
        m_warning->show();
    }

    const QString assigned = QStringLiteral("FROM buyer_catalog bc LEFT JOIN buyer_catalog_join bcj "
                                            "ON bcj.id_catalog = bc.id WHERE bcj.id_buyer IN (")
        + idList + QStringLiteral(") GROUP BY bc.id ");
    m_editModel = loadSelectListModel(
        QStringLiteral("SELECT bc.name AS _name_, bc.id, 0 FROM buyer_catalog bc WHERE bc.id NOT IN "
                       "(SELECT bc.id ")
            + assigned
            + QStringLiteral(") UNION ALL SELECT bc.name AS _name_, bc.id, "
                             "CASE WHEN COUNT(bcj.id) > 0 THEN 1 ELSE 0 END ")
            + assigned + QStringLiteral("ORDER BY _name_ ") + MSqlitePolish::sqlCollate,
        m_editList, true);
    m_editList->setColumnWidth(0, 22);

    loadSelectListModel(QStringLiteral("SELECT bc.name, bc.id, CASE WHEN COUNT(bcj.id) > 0 THEN 1 ELSE 0 END ")
                            + assigned + QStringLiteral("ORDER BY bc.name ") + MSqlitePolish::sqlCollate,
                        m_assignedList, false);
    m_assignedList->setColumnWidth(0, 22);
}

MSelectListModel* MBuyerCatalogJoinDlg::loadSelectListModel(const QString& sql, QAbstractItemView* view,
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

QList<int> MBuyerCatalogJoinDlg::tickedCatalogs() const
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

bool MBuyerCatalogJoinDlg::save(int* savedId)
{
    *savedId = 0;
    const QList<int> catalogs = m_editModel ? tickedCatalogs() : QList<int>();
    QSqlQuery remove;
    remove.prepare(QStringLiteral("DELETE FROM buyer_catalog_join WHERE id_buyer = :id_buyer"));
    QSqlQuery insert;
    insert.prepare(QStringLiteral("INSERT INTO buyer_catalog_join (id_buyer, id_catalog) "
                                  "VALUES (:id_buyer, :id_catalog)"));
    for (int buyer : qAsConst(m_idsBuyer)) {
        remove.bindValue(QStringLiteral(":id_buyer"), buyer);
        if (!execWrite(remove))
            return false;
        for (int catalog : catalogs) {
            insert.bindValue(QStringLiteral(":id_buyer"), buyer);
            insert.bindValue(QStringLiteral(":id_catalog"), catalog);
            if (!execWrite(insert))
                return false;
        }
    }
    return true;
}
