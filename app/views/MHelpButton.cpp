#include "MHelpButton.h"

#include <QCursor>
#include <QIcon>
#include <QToolTip>

MHelpButton::MHelpButton(QWidget* parent)
    : QPushButton(parent)
{
    setIcon(QIcon(QStringLiteral(":/resource/help_tooltip_16_16.png")));
    setFixedSize(16, 16);
    setMouseTracking(true);
    setFlat(true);
    connect(this, &QPushButton::clicked, this, &MHelpButton::clickedButton);
}

void MHelpButton::setHelpText(const QString& text)
{
    m_helpText = text;
}

void MHelpButton::clickedButton(bool /*b*/)
{
    QToolTip::showText(QCursor::pos(), m_helpText);
}

void MHelpButton::enterEvent(QEvent* event)
{
    QPushButton::enterEvent(event);
    QToolTip::showText(QCursor::pos(), m_helpText, this);
}

void MHelpButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    QToolTip::hideText();
}
