#include "MTextEdit.h"

#include "views/MDroppedRows.h"
#include "views/MListNames.h"

#include <QDropEvent>

MTextEdit::MTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
}

MTextEdit::~MTextEdit() = default;

void MTextEdit::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
}

void MTextEdit::dragMoveEvent(QDragMoveEvent* event)
{
    event->acceptProposedAction();
}

void MTextEdit::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
}

void MTextEdit::dropEvent(QDropEvent* event)
{
    if (!event->mimeData())
        return;
    static const QStringList acceptedSources = { MListNames::tableName(QStringLiteral("MEndTextDbView")) };
    const QList<int> ids = droppedRecordIds(event, acceptedSources);
    if (!ids.isEmpty())
        emit dropIndexes(qobject_cast<QWidget*>(event->source()), ids);
    event->acceptProposedAction();
}
