#include "MTestContextMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

QStringList enabledContextMenuEntries(QWidget* widget)
{
    QStringList seen;
    // The menu runs its own event loop: it is read and closed from within it.
    QTimer::singleShot(0, widget, [&seen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            if (action->isEnabled() && !action->isSeparator())
                seen.append(action->text());
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &event);
    return seen;
}
