#include "MChooserDlg.h"

#include "views/MListFont.h"

#include <QFont>
#include <QGridLayout>
#include <QIcon>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>

MChooserDlg::MChooserDlg(QWidget* parent, Qt::WindowFlags f, const QString& title)
    : QDialog(parent, f)
{
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);

    m_listView = new QListView(this);
    m_listView->setViewMode(QListView::IconMode);
    m_listView->setWordWrap(true);
    m_listView->setWrapping(true);
    m_listView->setGridSize(QSize(110, 110));
    m_listView->setDragEnabled(false);
    m_listView->setMovement(QListView::Static);
    m_listView->setFont(QFont(QStringLiteral("Arial"), listFontSize(), QFont::Normal));
    m_listView->setStyleSheet(QStringLiteral(
        "QListView::item { width: 100px; height: 100px; background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
        "stop: 0 #ffffff, stop: 1 #f0f0f0); color: #000000; border-color: #c0c0c0; border-width: 1px; "
        "border-radius: 3px; border-style: solid; padding: 5px 2px 5px 2px; margin: 5px; }\n"
        "QListView::item:selected { background-color: #2080e0; color: #ffffff; }\n"
        "QListView::item:hover { background-color: #3399ff; color: #ffffff; }\n"));

    m_buttonOk = new QPushButton(QIcon(QStringLiteral(":/resource/ok_btn_16_16.png")), tr("OK"), this);
    m_buttonOk->setFixedSize(70, 25);
    m_buttonOk->setEnabled(false);
    m_buttonCancel = new QPushButton(QIcon(QStringLiteral(":/resource/cancel_btn_16_16.png")), tr("Anuluj"), this);
    m_buttonCancel->setFixedSize(70, 25);
    connect(m_buttonCancel, &QPushButton::clicked, this, &MChooserDlg::clickCancel);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->setRowMinimumHeight(1, 5);
    layout->addWidget(m_listView, 0, 0);
    auto* buttons = new QGridLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->setRowStretch(0, 1);
    buttons->setColumnMinimumWidth(1, 5);
    buttons->addWidget(m_buttonOk, 0, 0, Qt::AlignRight | Qt::AlignBottom);
    buttons->addWidget(m_buttonCancel, 0, 2, Qt::AlignRight | Qt::AlignBottom);
    layout->addLayout(buttons, 2, 0, Qt::AlignRight | Qt::AlignBottom);
}

MChooserDlg::~MChooserDlg()
{
    if (QAbstractItemModel* model = m_listView->model()) {
        m_listView->setModel(nullptr);
        model->deleteLater();
    }
}

QListView* MChooserDlg::listView() const
{
    return m_listView;
}

QPushButton* MChooserDlg::okButton() const
{
    return m_buttonOk;
}

void MChooserDlg::clickCancel(bool /*b*/)
{
    done(0);
}

void MChooserDlg::doSelectionChangedList(QItemSelection /*selected*/, QItemSelection /*deselected*/)
{
    m_buttonOk->setEnabled(m_listView->selectionModel()->hasSelection());
}

void MChooserDlg::setListModel(QStandardItemModel* model)
{
    QAbstractItemModel* old = m_listView->model();
    m_listView->setModel(model);
    if (old)
        old->deleteLater();
    m_listView->setFixedSize(465, 225);
    connect(m_listView, &QListView::doubleClicked, this, &MChooserDlg::loadListItem, Qt::UniqueConnection);
    connect(m_listView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MChooserDlg::doSelectionChangedList);
}

void MChooserDlg::addItem(QStandardItemModel* model, const QString& text, const QString& icon, int objectKind,
                          int docKind, int group)
{
    auto* item = new QStandardItem(QIcon(icon), text);
    item->setEditable(false);
    item->setData(objectKind, ChooserRole::ObjectKind);
    if (docKind >= 0)
        item->setData(docKind, ChooserRole::DocKind);
    if (group >= 0)
        item->setData(group, ChooserRole::Group);
    model->appendRow(item);
}

QModelIndex MChooserDlg::firstSelected() const
{
    const QModelIndexList rows = m_listView->selectionModel()->selectedRows(0);
    return rows.isEmpty() ? QModelIndex() : rows.first();
}
