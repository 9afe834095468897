#include "MTableView.h"

#include "data/MNumberText.h"
#include "data/MOptions.h"
#include "views/MDroppedRows.h"
#include "views/MFileCsvWriter.h"
#include "views/MFileDialog.h"
#include "views/MHeaderTableView.h"
#include "views/MHeaderVerticalTableView.h"
#include "views/MListCsvExport.h"
#include "views/MListFont.h"
#include "views/MListNames.h"
#include "views/MMessageBox.h"
#include "views/MSqlQueryModel.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QItemSelection>
#include <QScrollBar>

namespace {

const int fixedRowHeight = 22;

} // namespace

MTableView::MTableView(QWidget* parent)
    : QTableView(parent)
{
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fixedRowHeight);
    setMouseTracking(true);
    setCornerButtonEnabled(false);
}

MTableView::~MTableView() = default;

void MTableView::setViewKind(int viewKind)
{
    m_viewKind = viewKind;
}

int MTableView::viewKind() const
{
    return m_viewKind;
}

void MTableView::initHeaders()
{
    auto* header = new MHeaderTableView(Qt::Horizontal, this);
    header->setViewKind(m_viewKind);
    header->setSectionResizeMode(QHeaderView::Interactive);
    setHorizontalHeader(header);
    header->restoreColumns();

    auto* rowHeader = new MHeaderVerticalTableView(Qt::Vertical, this);
    rowHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowHeader->setDefaultSectionSize(fixedRowHeight);
    rowHeader->setSectionsClickable(false);
    rowHeader->setDefaultAlignment(Qt::AlignRight | Qt::AlignTop);
    rowHeader->setStyleSheet(QStringLiteral("QHeaderView::section { font: normal ") + QString::number(listFontSize())
                             + QStringLiteral("pt Arial; padding-left: 5px; padding-right: 5px; padding-top: 3px; }\n"));
    setVerticalHeader(rowHeader);
}

bool MTableView::isMousePressed() const
{
    return m_mousePressed;
}

void MTableView::saveHorizontalScroll()
{
    m_horizontalScroll = horizontalScrollBar()->value();
}

void MTableView::restoreHorizontalScroll()
{
    horizontalScrollBar()->setValue(m_horizontalScroll);
}

void MTableView::selectRowAt(int row)
{
    QAbstractItemModel* rows = model();
    if (row < 0 || !rows)
        return;

    const bool loadAll = loadsAllRows();
    while (rows->canFetchMore(QModelIndex())) {
        if (!loadAll && rows->rowCount() > row)
            break;
        rows->fetchMore(QModelIndex());
    }
    if (rows->rowCount() <= row)
        return;

    // The scroll bar learns of the fetched rows only at the next layout; scrolled
    // to a row past its old end it would stand at its maximum and make the view
    // fetch every remaining row.
    updateGeometries();
    selectRow(row);
    scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
}

void MTableView::selectIds(QMap<int, int> ids, int currentId)
{
    QAbstractItemModel* rows = model();
    if (!rows)
        return;
    const bool loadAll = loadsAllRows();
    if (ids.isEmpty() && !loadAll)
        return;

    QItemSelection selection;
    int found = 0;
    int currentRow = -1;
    int walked = 0;
    const auto walkLoadedRows = [&]() {
        for (const int loaded = rows->rowCount(); walked < loaded; ++walked) {
            const QModelIndex index = rows->index(walked, 0);
            const int id = index.data().toInt();
            if (ids.value(id) != 1)
                continue;
            selection.select(index, index);
            ++found;
            if (id == currentId)
                currentRow = walked;
        }
    };

    walkLoadedRows();
    while (rows->canFetchMore(QModelIndex()) && (loadAll || found < ids.size())) {
        rows->fetchMore(QModelIndex());
        walkLoadedRows();
    }

    if (rows->rowCount() == 0)
        return;
    if (currentRow >= 0)
        selectionModel()->setCurrentIndex(rows->index(currentRow, 0), QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    scrollTo(currentRow >= 0 ? currentIndex() : rows->index(0, 0), QAbstractItemView::PositionAtCenter);
}

void MTableView::exportCsv(QString sql)
{
    if (!model())
        return;
    QString folder = MOptions::option(QStringLiteral("EXPORT_CSV_PATH"));
    if (!QFileInfo(folder).isDir())
        folder = QFileInfo(QStringLiteral("export")).isDir() ? QStringLiteral("export") : QString();

    QString fileName = MFileDialog::getSaveFileName(this, tr("Eksport CSV"), folder, QStringLiteral("*.csv"));
    if (fileName.isEmpty())
        return;
    MOptions::setOption(QStringLiteral("EXPORT_CSV_PATH"), QFileInfo(fileName).absolutePath());
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".csv");

    const QList<int> columns = exportedColumns();
    MFileCsvWriter writer;
    // The rows go to the file as they are read; the file is replaced only at the end.
    if (!writer.open(fileName)) {
        MMessageBox::critical(this, tr("Eksport CSV"), tr("Nie można zapisać pliku:\n%1").arg(fileName));
        return;
    }
    for (const int column : columns)
        writer.addField(model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    writer.endLine();

    const QList<int> kinds = queryModel() ? queryModel()->columnKinds() : QList<int>();
    QString error;
    if (!MListCsvExport::writeRows(sql, columns, kinds, writer, &error)) {
        // A file with the titles alone, or with some rows, would pass for the list.
        MMessageBox::critical(this, tr("Eksport CSV"), tr("Nie udało się odczytać danych listy:\n%1").arg(error));
        return;
    }

    if (!writer.commit())
        MMessageBox::critical(this, tr("Eksport CSV"), tr("Nie można zapisać pliku:\n%1").arg(fileName));
}

void MTableView::mousePressEvent(QMouseEvent* event)
{
    m_mousePressed = true;
    QTableView::mousePressEvent(event);
}

void MTableView::mouseMoveEvent(QMouseEvent* event)
{
    const QModelIndex index = model() ? indexAt(event->pos()) : QModelIndex();
    const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
    // The paragraph keeps a long text wrapped; the text itself is shown as typed.
    setToolTip(text.isEmpty() ? QString() : QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>"));
    QTableView::mouseMoveEvent(event);
}

void MTableView::focusInEvent(QFocusEvent* event)
{
    // Qt makes the first row current and selected when a table without a current
    // row gets the focus; after a deletion that would offer another record to the
    // next "Usuń". A list with no current row keeps none.
    if (!selectionModel() || !selectionModel()->currentIndex().isValid()) {
        QAbstractScrollArea::focusInEvent(event);
        viewport()->update();
        return;
    }
    QTableView::focusInEvent(event);
    // The current row shows selected whenever the table has the focus.
    selectionModel()->setCurrentIndex(selectionModel()->currentIndex(),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void MTableView::contextMenuEvent(QContextMenuEvent* event)
{
    m_mousePressed = false;
    QTableView::contextMenuEvent(event);
}

void MTableView::dragEnterEvent(QDragEnterEvent* event)
{
    // Any drag shows as allowed; the drop decides what it takes.
    event->acceptProposedAction();
}

void MTableView::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
}

void MTableView::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
}

void MTableView::dropEvent(QDropEvent* event)
{
    if (!event->mimeData())
        return;
    static const QStringList acceptedSources = {
        MListNames::tableName(QStringLiteral("MBuyerDbView")),
        MListNames::tableName(QStringLiteral("MCurrencyRatingDbView")),
        MListNames::tableName(QStringLiteral("MInvoiceDbView_Sell")),
        MListNames::tableName(QStringLiteral("MInvoiceDbView_Buy")),
        MListNames::tableName(QStringLiteral("MProductDbView")),
        MListNames::tableName(QStringLiteral("MSellerDbView")),
    };
    const QList<int> ids = droppedRecordIds(event, acceptedSources);
    if (!ids.isEmpty())
        emit dropIndexes(qobject_cast<QWidget*>(event->source()), ids);
    // The rows are the receiver's to copy: the model is never asked to insert them.
    event->acceptProposedAction();
}

MSqlQueryModel* MTableView::queryModel() const
{
    return qobject_cast<MSqlQueryModel*>(model());
}

bool MTableView::loadsAllRows() const
{
    return MOptions::option(QStringLiteral("ACTIVE_TABLE_CACHE")) == QLatin1String("0");
}

QList<int> MTableView::exportedColumns() const
{
    QList<int> columns;
    const QHeaderView* header = horizontalHeader();
    for (int position = 0; position < header->count(); ++position) {
        const int column = header->logicalIndex(position);
        if (header->isSectionHidden(column)
            || model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().startsWith(QLatin1Char('_')))
            continue;
        columns << column;
    }
    return columns;
}
