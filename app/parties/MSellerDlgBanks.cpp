// The bank accounts of MSellerDlg: a toolbar and a list over the dialog's working rows.
#include "MSellerDlg.h"

#include "parties/MBankDlg.h"
#include "views/MMessageBox.h"
#include "views/MSqlQueryModel.h"
#include "views/MTableView.h"

#include <QAction>
#include <QHeaderView>
#include <QIcon>
#include <QTimer>
#include <QToolBar>

void MSellerDlg::createBankWidgets(QWidget* parent)
{
    const auto createAction = [this](const QString& text, const char* icon, void (MSellerDlg::*slot)()) {
        auto* action = new QAction(QIcon(QLatin1String(icon)), text, this);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_actionBankDefault = createAction(tr("Domyślny"), ":/resource/record_default_tb_16_16.png",
                                       &MSellerDlg::doActionBankDefault);
    m_actionBankDefault->setCheckable(true);
    m_actionBankAdd = createAction(tr("Dodaj"), ":/resource/record_add_tb_16_16.png", &MSellerDlg::doActionBankAdd);
    m_actionBankEdit = createAction(tr("Edytuj"), ":/resource/record_edit_tb_16_16.png",
                                    &MSellerDlg::doActionBankEdit);
    m_actionBankDelete = createAction(tr("Usuń"), ":/resource/record_delete_tb_16_16.png",
                                      &MSellerDlg::doActionBankDelete);

    m_bankToolBar = new QToolBar(parent);
    m_bankToolBar->setMovable(false);
    m_bankToolBar->setIconSize(QSize(16, 16));
    m_bankToolBar->addAction(m_actionBankDefault);
    m_bankToolBar->addAction(m_actionBankAdd);
    m_bankToolBar->addAction(m_actionBankEdit);
    m_bankToolBar->addAction(m_actionBankDelete);

    m_bankList = new MTableView(parent);
    m_bankList->verticalHeader()->setDefaultSectionSize(25);
    m_bankList->horizontalHeader()->setDefaultSectionSize(240);
    m_bankList->horizontalHeader()->setStretchLastSection(true);
    m_bankList->setWordWrap(false);
    m_bankList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_bankList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_bankList->setFocusPolicy(Qt::StrongFocus);
    // Rows can be dragged out of the list, but a drop on it changes nothing.
    m_bankList->setDragDropMode(QAbstractItemView::DragDrop);
    m_bankList->setDropIndicatorShown(false);
    m_bankList->setFixedSize(500, 130);
    connect(m_bankList, &QAbstractItemView::doubleClicked, this, &MSellerDlg::cellDoubleClickedBank);
}

void MSellerDlg::copyBankRows()
{
    QString error;
    if (!m_bankRows.copyIn(m_idRecord, &error)) {
        MMessageBox::critical(this, tr("Błąd odczytu"),
                              tr("Nie udało się wczytać kont bankowych sprzedawcy. Zapisanie sprzedawcy nie zmieni "
                                 "jego kont.")
                                  + QStringLiteral("\n\n") + error);
    }
}

void MSellerDlg::reloadBankList()
{
    QAbstractItemModel* oldModel = m_bankList->model();
    if (oldModel) {
        disconnect(m_bankList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                   &MSellerDlg::doSelectionChangedBank);
    }

    auto* model = new MSqlQueryModel(this);
    model->setQuery(QStringLiteral("SELECT sb.__id AS idx, sb.bank, sb.bank_account FROM __seller_bank sb "
                                   "WHERE sb.__id IN (")
                    + m_bankRows.idText() + QStringLiteral(") ORDER BY sb.__id"));
    model->setHeaderData(0, Qt::Horizontal, tr("Id"));
    model->setHeaderData(1, Qt::Horizontal, tr("Bank"));
    model->setHeaderData(2, Qt::Horizontal, tr("Numer konta"));
    while (model->canFetchMore())
        model->fetchMore();
    model->setColumnKinds({1, 0, 0});
    m_bankList->setModel(model);
    m_bankList->hideColumn(0);
    if (oldModel)
        oldModel->deleteLater();

    setIdBankDefault(m_bankRows.defaultId());
    connect(m_bankList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MSellerDlg::doSelectionChangedBank);
    enableBankActions();
}

void MSellerDlg::setIdBankDefault(int id)
{
    if (auto* model = qobject_cast<MSqlQueryModel*>(m_bankList->model()))
        model->setRowDefault(bankRowOfId(id));
}

int MSellerDlg::bankRowOfId(int id) const
{
    const QAbstractItemModel* model = m_bankList->model();
    for (int row = 0; id > 0 && row < model->rowCount(); ++row) {
        if (model->index(row, 0).data(Qt::UserRole).toInt() == id)
            return row;
    }
    return -1;
}

QList<int> MSellerDlg::selectedBankIds() const
{
    QList<int> ids;
    if (!m_bankList->selectionModel())
        return ids;
    const QModelIndexList rows = m_bankList->selectionModel()->selectedRows(0);
    for (const QModelIndex& row : rows)
        ids.append(row.data(Qt::UserRole).toInt());
    return ids;
}

void MSellerDlg::restartEnabledActionsTimer()
{
    m_enabledActionsTimer->start(300);
}

void MSellerDlg::doTimeoutEnabledActionsTimer()
{
    m_enabledActionsTimer->stop();
    enableBankActions();
}

void MSellerDlg::doSelectionChangedBank(QItemSelection /*selected*/, QItemSelection /*deselected*/)
{
    restartEnabledActionsTimer();
}

void MSellerDlg::enableBankActions()
{
    const QList<int> selected = selectedBankIds();
    const bool any = !m_bankRows.isEmpty() && !selected.isEmpty();
    const bool one = any && selected.size() == 1;
    const bool isDefault = one && selected.first() == m_bankRows.defaultId();

    m_actionBankDefault->setEnabled(one && !isDefault);
    m_actionBankDefault->setChecked(isDefault);
    m_actionBankAdd->setEnabled(true);
    m_actionBankEdit->setEnabled(one);
    m_actionBankDelete->setEnabled(any);
}

void MSellerDlg::openBankDialog(int id)
{
    MBankDlg dialog(this, MBankDlg::ModeSellerBank);
    dialog.setIdRecord(id);
    dialog.setModal(true);
    dialog.exec();
}

void MSellerDlg::doActionBankAdd()
{
    openBankDialog(0);
}

void MSellerDlg::doActionBankEdit()
{
    const QList<int> selected = selectedBankIds();
    if (!selected.isEmpty() && selected.first() > 0)
        openBankDialog(selected.first());
}

void MSellerDlg::cellDoubleClickedBank(QModelIndex /*indx*/)
{
    doActionBankEdit();
}

void MSellerDlg::doActionBankDefault()
{
    const QList<int> selected = selectedBankIds();
    if (selected.size() != 1 || selected.first() < 1)
        return;
    QString error;
    if (selected.first() != m_bankRows.defaultId() && !m_bankRows.setDefault(selected.first(), &error))
        showBankError(error);
    reloadBankList();
}

void MSellerDlg::doActionBankDelete()
{
    const QList<int> selected = selectedBankIds();
    if (selected.isEmpty()) {
        enableBankActions();
        return;
    }
    QString error;
    if (!m_bankRows.remove(selected, &error))
        showBankError(error);
    reloadBankList();
}

void MSellerDlg::doChangeDbObject(int i, int id)
{
    if (i != 9)
        return;
    m_bankRows.add(id);
    reloadBankList();
    if (id < 1)
        return;
    const int row = bankRowOfId(id);
    if (row >= 0) {
        const QModelIndex index = m_bankList->model()->index(row, 1);
        m_bankList->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        m_bankList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    m_bankList->scrollTo(m_bankList->currentIndex(), QAbstractItemView::PositionAtTop);
}

void MSellerDlg::showBankError(const QString& detail)
{
    MMessageBox::critical(this, tr("Błąd zapisu"),
                          tr("Nie udało się zmienić kont bankowych. Konta pozostały bez zmian.")
                              + QStringLiteral("\n\n") + detail);
}
