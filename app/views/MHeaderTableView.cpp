#include "MHeaderTableView.h"

#include "data/MOptions.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMap>
#include <QMenu>
#include <QMouseEvent>

namespace {

const QString sizePrefix = QStringLiteral("COLUMN_SIZE_");
const QString positionPrefix = QStringLiteral("COLUMN_POSITION_");
const QString sortPrefix = QStringLiteral("COLUMN_SORT_");
const QString visiblePrefix = QStringLiteral("COLUMN_VISIBLE_");

const int defaultColumnWidth = 100;

} // namespace

MHeaderTableView::MHeaderTableView(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
    // A header draws its titles centred and unelided by default: a title wider than its
    // column lost its first and last letters.
    setTextElideMode(Qt::ElideRight);
}

MHeaderTableView::~MHeaderTableView() = default;

void MHeaderTableView::setViewKind(int viewKind)
{
    m_viewKind = viewKind;
}

int MHeaderTableView::viewKind() const
{
    return m_viewKind;
}

QString MHeaderTableView::viewKey() const
{
    switch (m_viewKind) {
    case 2:
        return QStringLiteral("SELLER_DB_VIEW");
    case 3:
        return QStringLiteral("BUYER_DB_VIEW");
    case 4:
        return QStringLiteral("PRODUCT_DB_VIEW");
    case 5:
        return QStringLiteral("ENDTEXT_DB_VIEW");
    case 7:
        return QStringLiteral("INVOICE_SELL_DB_VIEW");
    case 8:
        return QStringLiteral("INVOICE_BUY_DB_VIEW");
    case 10:
        return QStringLiteral("CURRENCY_RATING_DB_VIEW");
    default:
        return QString();
    }
}

void MHeaderTableView::restoreColumns()
{
    for (int logical = 0; logical < count(); ++logical) {
        if (isTechnicalColumn(logical))
            hideSection(logical);
    }
    restoreColumnSizes();
    restoreColumnVisible();
    restoreColumnPositions();
    restoreColumnSort();
}

void MHeaderTableView::restoreColumnSizes()
{
    const QStringList parts = storedParts(sizePrefix);
    for (int logical = 0; logical < parts.size() && logical < count(); ++logical) {
        const int width = parts.at(logical).toInt();
        resizeSection(logical, width != 0 ? width : defaultColumnWidth);
    }
}

void MHeaderTableView::restoreColumnVisible()
{
    const QStringList parts = storedParts(visiblePrefix);
    for (int logical = 0; logical < parts.size() && logical < count(); ++logical) {
        if (parts.at(logical).toInt() == 0)
            hideSection(logical);
    }
}

void MHeaderTableView::restoreColumnPositions()
{
    const QStringList parts = storedParts(positionPrefix);
    QMap<int, int> logicalAtPosition;
    for (int logical = 0; logical < parts.size() && logical < count(); ++logical)
        logicalAtPosition.insert(parts.at(logical).toInt(), logical);
    for (int position = 0; position < logicalAtPosition.size() && position < count(); ++position)
        moveSection(visualIndex(logicalAtPosition.value(position, 0)), position);
}

void MHeaderTableView::restoreColumnSort()
{
    const QStringList parts = storedParts(sortPrefix);
    bool columnRead = false;
    const int column = parts.value(0).toInt(&columnRead);
    if (parts.size() != 2 || !columnRead || column < 0 || column >= count()) {
        // As the list's first query reads no usable stored sort: by id, ascending. The
        // header's own default (descending) would turn the list round at its first re-query.
        setSortIndicator(0, Qt::AscendingOrder);
        return;
    }
    const int order = parts.at(1).toInt();
    setSortIndicator(column, order == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void MHeaderTableView::saveColumnSizes()
{
    QStringList parts;
    for (int logical = 0; logical < count(); ++logical)
        parts << QString::number(sectionSize(logical));
    store(sizePrefix, parts);
}

void MHeaderTableView::saveColumnPositions()
{
    QStringList parts;
    for (int logical = 0; logical < count(); ++logical)
        parts << QString::number(visualIndex(logical));
    store(positionPrefix, parts);
}

void MHeaderTableView::saveColumnSort()
{
    // The section is -1 when the header carries no sort indicator.
    const int order = sortIndicatorOrder() == Qt::AscendingOrder ? 0 : 1;
    store(sortPrefix, { QString::number(sortIndicatorSection()), QString::number(order) });
}

void MHeaderTableView::saveColumnVisible()
{
    QStringList parts;
    for (int logical = 0; logical < count(); ++logical)
        parts << (isSectionHidden(logical) ? QStringLiteral("0") : QStringLiteral("1"));
    store(visiblePrefix, parts);
}

void MHeaderTableView::doVisibleCol()
{
    const auto* action = qobject_cast<QAction*>(sender());
    const int column = action ? action->data().toInt() : -1;
    if (column >= 0 && column < count()) {
        const bool shown = !isSectionHidden(column);
        const int visibleCount = shown ? count() - hiddenSectionCount() : count();
        if (visibleCount > 1) {
            setSectionHidden(column, shown);
            if (shown)
                resizeSection(column, defaultColumnWidth); // the width it comes back with
        }
    }
    saveColumnVisible();
}

void MHeaderTableView::mouseReleaseEvent(QMouseEvent* event)
{
    // After a resize, a move or a click on a title alike.
    QHeaderView::mouseReleaseEvent(event);
    saveColumnSizes();
    saveColumnPositions();
    saveColumnSort();
}

void MHeaderTableView::mouseMoveEvent(QMouseEvent* event)
{
    const int logical = logicalIndexAt(event->pos());
    const QString title = logical >= 0 ? columnTitle(logical) : QString();
    setToolTip(title.isEmpty() ? QString() : QStringLiteral("<p>") + title.toHtmlEscaped() + QStringLiteral("</p>"));
    QHeaderView::mouseMoveEvent(event);
}

void MHeaderTableView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    for (int logical = 0; logical < count(); ++logical) {
        if (isTechnicalColumn(logical))
            continue;
        QAction* action = menu.addAction(columnTitle(logical));
        action->setCheckable(true);
        action->setChecked(!isSectionHidden(logical));
        action->setData(logical);
        connect(action, &QAction::triggered, this, &MHeaderTableView::doVisibleCol);
    }
    menu.exec(event->globalPos() + QPoint(2, 2));
}

QString MHeaderTableView::columnTitle(int logicalIndex) const
{
    return model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
}

bool MHeaderTableView::isTechnicalColumn(int logicalIndex) const
{
    return columnTitle(logicalIndex).startsWith(QLatin1Char('_'));
}

QStringList MHeaderTableView::storedParts(const QString& prefix) const
{
    const QString key = viewKey();
    if (key.isEmpty())
        return QStringList();
    const QString value = MOptions::option(prefix + key);
    return value.isEmpty() ? QStringList() : value.split(QLatin1Char(';'));
}

void MHeaderTableView::store(const QString& prefix, const QStringList& parts)
{
    const QString key = viewKey();
    if (!key.isEmpty())
        MOptions::setOption(prefix + key, parts.join(QLatin1Char(';')));
}
