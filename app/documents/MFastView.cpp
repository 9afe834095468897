#include "MFastView.h"

#include "data/MQuickViewHtml.h"
#include "parties/MRecordDbView.h"
#include "views/MTableView.h"

#include <QAbstractItemModel>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QStringList>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

MFastView::MFastView(QWidget* parent)
    : QWidget(parent)
    , m_owner(parent)
{
}

MFastView::~MFastView()
{
    if (m_refreshTimer) {
        m_refreshTimer->disconnect();
        m_refreshTimer->stop();
    }
}

void MFastView::initWidget()
{
    m_pane = new QTextEdit(this);
    m_pane->setReadOnly(true);
    m_pane->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_pane->setUndoRedoEnabled(false);
    m_pane->setFixedWidth(270);
    m_refreshTimer = new QTimer(m_pane);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(m_pane, 0, 0);
}

QString MFastView::html() const
{
    return m_pane ? m_pane->toHtml() : QString();
}

void MFastView::reloadView()
{
    m_ids.clear();
    m_previousIds.clear();
    m_count = 0;
    restartRefreshTimer();
}

void MFastView::restartRefreshTimer()
{
    if (!m_refreshTimer)
        return;
    disconnect(m_refreshTimer, &QTimer::timeout, this, &MFastView::doTimeoutRefreshTimer);
    m_refreshTimer->stop();
    connect(m_refreshTimer, &QTimer::timeout, this, &MFastView::doTimeoutRefreshTimer);
    m_refreshTimer->start(1000);
}

void MFastView::doTimeoutRefreshTimer()
{
    const QString ownerName = m_owner ? m_owner->accessibleName() : QString();
    MTableView* table = nullptr;
    if (ownerName == QLatin1String("MInvoiceDbView_Sell") || ownerName == QLatin1String("MInvoiceDbView_Buy"))
        if (auto* view = qobject_cast<MRecordDbView*>(m_owner))
            table = view->tableView();
    if (table && table->model() && table->selectionModel()) {
        QList<int> ids;
        const QModelIndexList rows = table->selectionModel()->selectedRows(0);
        for (const QModelIndex& row : rows)
            ids << table->model()->index(row.row(), 0).data(Qt::EditRole).toInt();
        std::sort(ids.begin(), ids.end());
        QStringList texts;
        for (int id : ids)
            texts << QString::number(id);
        m_previousIds = m_ids;
        m_ids = texts.join(QLatin1Char(','));
        m_count = ids.size();

        if (m_count == 0)
            m_pane->clear();
        else if (m_count == 1 && m_ids != m_previousIds)
            m_pane->setHtml(MQuickViewHtml::oneDocument(ids.first()));
        else if (m_count > 1)
            m_pane->setHtml(MQuickViewHtml::severalDocuments(ids));
    }
    restartRefreshTimer();
}
