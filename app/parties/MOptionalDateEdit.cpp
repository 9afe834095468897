#include "MOptionalDateEdit.h"

#include <QCalendarWidget>
#include <QKeyEvent>

MOptionalDateEdit::MOptionalDateEdit(QWidget* parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    calendarWidget()->setGridVisible(true);
    calendarWidget()->installEventFilter(this);
    setMinimumDate(emptyMark());
    setSpecialValueText(QStringLiteral(" "));
    setOptionalDate(QDate());
}

QDate MOptionalDateEdit::emptyMark()
{
    return QDate(1900, 1, 1);
}

void MOptionalDateEdit::setOptionalDate(const QDate& date)
{
    setDate(date.isValid() && date > emptyMark() ? date : emptyMark());
}

QDate MOptionalDateEdit::optionalDate() const
{
    return date() == emptyMark() ? QDate() : date();
}

void MOptionalDateEdit::setStoredDate(const QVariant& value)
{
    setOptionalDate(QDate::fromString(value.toString().left(10), QStringLiteral("yyyy-MM-dd")));
}

QVariant MOptionalDateEdit::storedDate() const
{
    const QDate date = optionalDate();
    return date.isValid() ? QVariant(date.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant(QVariant::String);
}

void MOptionalDateEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        setOptionalDate(QDate());
        event->accept();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

bool MOptionalDateEdit::eventFilter(QObject* watched, QEvent* event)
{
    // An empty field would open the calendar on its mark, a century back.
    if (watched == calendarWidget() && event->type() == QEvent::Show && !optionalDate().isValid()) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
    return QDateEdit::eventFilter(watched, event);
}
