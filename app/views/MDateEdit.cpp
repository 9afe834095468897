#include "MDateEdit.h"

#include <QCalendarWidget>
#include <QDateEdit>

QDateEdit* MDateEdit::create(QWidget* parent, int width)
{
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    edit->setCalendarPopup(true);
    edit->calendarWidget()->setGridVisible(true);
    edit->setFixedWidth(width);
    return edit;
}
