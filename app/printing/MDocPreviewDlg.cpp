#include "MDocPreviewDlg.h"

#include "MDocViewList.h"
#include "data/MOptions.h"
#include "views/MTabOrder.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>

MDocPreviewDlg::MDocPreviewDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
    , m_cancelButton(new QPushButton(this))
    , m_okButton(new QPushButton(this))
    , m_personBox(new QCheckBox(this))
    , m_model(new QStandardItemModel(this))
{
    setWindowTitle(tr("Podgląd..."));
    QList<int> docViews{0};
    if (MDocViewList::offersOriginalCopy())
        docViews << 1 << 2 << 4;
    m_markingList = MDocViewList::create(this, m_model, docViews);
    connect(m_markingList, &QListView::doubleClicked, this, &MDocPreviewDlg::loadListItem);
    connect(m_markingList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MDocPreviewDlg::doSelectionChangedList);

    m_personBox->setChecked(MOptions::option(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT")).toInt() > 0);
    m_personRow =
        MDocViewList::optionRow(this, tr("Pokaż dane osoby upoważnionej do wystawienia dokumentu"), m_personBox);
    QWidget* buttons = MDocViewList::buttonRow(this, m_okButton, m_cancelButton);
    connect(m_okButton, &QPushButton::clicked, this, &MDocPreviewDlg::clickOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &MDocPreviewDlg::clickCancel);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(0);
    grid->addWidget(m_markingList, 0, 0);
    grid->addWidget(m_personRow, 1, 0);
    grid->setRowMinimumHeight(2, 10);
    grid->addWidget(buttons, 3, 0, Qt::AlignRight | Qt::AlignBottom);
    MTabOrder::chain({m_markingList, m_personBox, m_okButton, m_cancelButton});
}

MDocPreviewDlg::~MDocPreviewDlg()
{
    m_markingList->setModel(nullptr);
    m_model->setParent(nullptr);
    m_model->deleteLater();
}

void MDocPreviewDlg::clickOk(bool)
{
    const QModelIndexList selected = m_markingList->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        done(0);
        return;
    }
    loadListItem(selected.first());
}

void MDocPreviewDlg::clickCancel(bool)
{
    done(0);
}

void MDocPreviewDlg::doSelectionChangedList(QItemSelection, QItemSelection)
{
    m_okButton->setEnabled(m_markingList->selectionModel()->hasSelection());
}

void MDocPreviewDlg::loadListItem(QModelIndex index)
{
    const int docView = index.data(Qt::UserRole + 1).toInt();
    MOptions::setOption(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT_PRINT"),
                        m_personBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    MDocViewList::startJob(parentWidget(), "startDocPreview", docView);
    done(0);
}
