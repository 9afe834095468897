#include "MInvoiceDlg.h"

#include "views/MAppServices.h"

#include <QGridLayout>
#include <QIcon>
#include <QPushButton>
#include <QSqlRecord>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

MInvoiceDlg::MInvoiceDlg(QWidget* parent, Qt::WindowFlags f, int docKind)
    : QDialog(parent, f)
    , m_docKind(docKind)
{
    m_enabledActionsTimer = new QTimer(this);
    m_tabMain = new QTabWidget(this);
    for (int tab = 1; tab <= 6; ++tab)
        createTab(tab);
    connectTermsWidgets();

    m_buttonShrink = new QPushButton(QIcon(QStringLiteral(":/resource/shrink_in_btn_16_16.png")),
                                     QStringLiteral(" ") + tr("Minimalizuj"), this);
    m_buttonShrink->setFixedSize(120, 25);
    connect(m_buttonShrink, &QPushButton::clicked, this, &MInvoiceDlg::clickShrink);
    m_buttonOk = new QPushButton(QIcon(QStringLiteral(":/resource/ok_btn_16_16.png")), tr("OK"), this);
    m_buttonOk->setFixedSize(70, 25);
    m_buttonOk->setDefault(true);
    connect(m_buttonOk, &QPushButton::clicked, this, &MInvoiceDlg::clickOk);
    m_buttonCancel = new QPushButton(QIcon(QStringLiteral(":/resource/cancel_btn_16_16.png")), tr("Anuluj"), this);
    m_buttonCancel->setFixedSize(70, 25);
    connect(m_buttonCancel, &QPushButton::clicked, this, &MInvoiceDlg::clickCancel);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->setRowMinimumHeight(1, 5);
    layout->addWidget(m_tabMain, 0, 0);
    auto* buttons = new QGridLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->setRowStretch(0, 1);
    buttons->setColumnStretch(1, 1);
    buttons->setColumnMinimumWidth(3, 5);
    buttons->addWidget(m_buttonShrink, 0, 0, Qt::AlignLeft | Qt::AlignBottom);
    buttons->addWidget(m_buttonOk, 0, 2, Qt::AlignRight | Qt::AlignBottom);
    buttons->addWidget(m_buttonCancel, 0, 4, Qt::AlignRight | Qt::AlignBottom);
    layout->addLayout(buttons, 2, 0, Qt::AlignRight | Qt::AlignBottom);
    connectIntake();

    if (MAppServices* wnd = appWnd())
        wnd->setEnabledMenuActions();
}

MInvoiceDlg::~MInvoiceDlg()
{
    // While the main window is itself being destroyed it no longer offers
    // MAppServices (the cast fails) and must not be called.
    if (MAppServices* wnd = appWnd())
        wnd->doFinishedInvoiceDlg(0);
}

MAppServices* MInvoiceDlg::appWnd() const
{
    return qobject_cast<MAppServices*>(parentWidget());
}

int MInvoiceDlg::docKind() const
{
    return m_docKind;
}

bool MInvoiceDlg::isCorrection() const
{
    return m_isCorrection;
}

void MInvoiceDlg::clickCancel(bool /*b*/)
{
    done(0);
}

void MInvoiceDlg::clickShrink(bool /*b*/)
{
    const bool folding = m_tabMain->isVisible();
    m_tabMain->setVisible(!folding);
    if (folding) {
        setMinimumSize(width(), 40);
        resize(minimumSize());
        m_buttonShrink->setIcon(QIcon(QStringLiteral(":/resource/shrink_out_btn_16_16.png")));
        m_buttonShrink->setText(QStringLiteral(" ") + tr("Maksymalizuj"));
    } else {
        adjustSize();
        m_buttonShrink->setIcon(QIcon(QStringLiteral(":/resource/shrink_in_btn_16_16.png")));
        m_buttonShrink->setText(QStringLiteral(" ") + tr(" Minimalizuj"));
    }
    m_buttonOk->setEnabled(!folding);
    m_buttonCancel->setEnabled(!folding);
}

QList<int> MInvoiceDlg::selectedIds(QTableView* view)
{
    QList<int> ids;
    auto* model = qobject_cast<QSqlQueryModel*>(view->model());
    if (!model || !view->selectionModel())
        return ids;
    const QModelIndexList rows = view->selectionModel()->selectedRows(0);
    for (const QModelIndex& index : rows) {
        const int id = model->record(index.row()).value(QStringLiteral("idx")).toInt();
        if (id > 0)
            ids << id;
    }
    return ids;
}

int MInvoiceDlg::currentRowId(QTableView* view)
{
    auto* model = qobject_cast<QSqlQueryModel*>(view->model());
    if (!model || !view->selectionModel())
        return 0;
    const QModelIndex current = view->selectionModel()->currentIndex();
    if (!current.isValid())
        return 0;
    return model->record(current.row()).value(QStringLiteral("idx")).toInt();
}
