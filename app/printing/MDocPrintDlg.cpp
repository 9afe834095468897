#include "MDocPrintDlg.h"

#include "MDocViewList.h"
#include "data/MOptions.h"
#include "views/MTabOrder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>

MDocPrintDlg::MDocPrintDlg(QWidget* parent, Qt::WindowFlags f)
    : QDialog(parent, f)
    , m_cancelButton(new QPushButton(this))
    , m_okButton(new QPushButton(this))
    , m_envelopeList(new QComboBox(this))
    , m_personBox(new QCheckBox(this))
    , m_model(new QStandardItemModel(this))
{
    setWindowTitle(tr("Drukuj..."));
    QList<int> docViews{0, 5};
    if (MDocViewList::offersOriginalCopy())
        docViews << 1 << 2 << 3 << 4;
    m_markingList = MDocViewList::create(this, m_model, docViews);
    connect(m_markingList, &QListView::doubleClicked, this, &MDocPrintDlg::loadListItem);
    connect(m_markingList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MDocPrintDlg::doSelectionChangedList);

    m_envelopeList->addItems({tr("brak"), tr("prawa strona"), tr("prawa strona duplex")});
    m_envelopeList->setCurrentIndex(MOptions::option(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT")).toInt());
    m_envelopeRow = MDocViewList::optionRow(this, tr("Dopasowanie adresu do koperty z okienkiem"), m_envelopeList);
    m_personBox->setChecked(MOptions::option(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT")).toInt() > 0);
    m_personRow =
        MDocViewList::optionRow(this, tr("Pokaż dane osoby upoważnionej do wystawienia dokumentu"), m_personBox);
    QWidget* buttons = MDocViewList::buttonRow(this, m_okButton, m_cancelButton);
    connect(m_okButton, &QPushButton::clicked, this, &MDocPrintDlg::clickOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &MDocPrintDlg::clickCancel);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 5, 5, 5);
    grid->setSpacing(0);
    grid->addWidget(m_markingList, 0, 0);
    grid->addWidget(m_envelopeRow, 1, 0);
    grid->addWidget(m_personRow, 2, 0);
    grid->setRowMinimumHeight(3, 10);
    grid->addWidget(buttons, 4, 0, Qt::AlignRight | Qt::AlignBottom);
    MTabOrder::chain({m_markingList, m_envelopeList, m_personBox, m_okButton, m_cancelButton});
}

MDocPrintDlg::~MDocPrintDlg()
{
    m_markingList->setModel(nullptr);
    m_model->setParent(nullptr);
    m_model->deleteLater();
}

void MDocPrintDlg::setPdfMode(bool on)
{
    m_pdfMode = on;
    if (on) {
        MDocViewList::removeFirst(m_model, 5);
        m_envelopeRow->hide();
    }
}

void MDocPrintDlg::setSendMailMode(bool on)
{
    m_sendMailMode = on;
    if (on) {
        MDocViewList::removeFirst(m_model, 3);
        m_envelopeRow->hide();
    }
}

void MDocPrintDlg::clickOk(bool)
{
    const QModelIndexList selected = m_markingList->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        done(1);
        return;
    }
    loadListItem(selected.first());
}

void MDocPrintDlg::clickCancel(bool)
{
    done(0);
}

void MDocPrintDlg::doSelectionChangedList(QItemSelection, QItemSelection)
{
    m_okButton->setEnabled(m_markingList->selectionModel()->hasSelection());
}

void MDocPrintDlg::loadListItem(QModelIndex index)
{
    const int docView = index.data(Qt::UserRole + 1).toInt();
    MOptions::setOption(QStringLiteral("SELLER_SHOW_PERSON_ON_DOCUMENT_PRINT"),
                        m_personBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (m_pdfMode) {
        MDocViewList::startJob(parentWidget(), "startDocPrintPdf", docView);
    } else {
        MOptions::setOption(QStringLiteral("FIT_TO_ENVELOPE_WINDOW_RIGHT_PRINT"),
                            QString::number(m_envelopeList->currentIndex()));
        MDocViewList::startJob(parentWidget(), "startDocPrint", docView);
    }
    done(1);
}
