#include "MDroppedRows.h"

#include <QDataStream>
#include <QDropEvent>
#include <QMap>
#include <QMimeData>
#include <QVariant>
#include <QWidget>

QList<int> droppedRecordIds(const QDropEvent* event, const QStringList& acceptedSources)
{
    static const QString rowFormat = QStringLiteral("application/x-qabstractitemmodeldatalist");

    QList<int> ids;
    const QMimeData* mimeData = event->mimeData();
    // A drag from another program has no source widget.
    const auto* source = qobject_cast<const QWidget*>(event->source());
    if (!mimeData || !source || !acceptedSources.contains(source->accessibleName()))
        return ids;

    for (const QString& format : mimeData->formats()) {
        if (format != rowFormat)
            continue;
        const QByteArray encoded = mimeData->data(format);
        QDataStream stream(encoded);
        while (!stream.atEnd()) {
            int row = 0;
            int column = 0;
            QMap<int, QVariant> roles;
            stream >> row >> column >> roles;
            if (stream.status() != QDataStream::Ok)
                break; // damaged data: keep what was read whole
            // The lowest role present is the display role, which shows the id.
            if (column == 0 && !roles.isEmpty())
                ids.append(roles.first().toInt());
        }
    }
    return ids;
}
