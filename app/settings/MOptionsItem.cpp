#include "MOptionsItem.h"

#include <QPushButton>

MOptionsItem::MOptionsItem(const QString& title, QWidget* page)
    : m_page(page)
    , m_button(new QPushButton(title))
{
    m_button->setCheckable(true);
    m_button->setStyleSheet(
        QStringLiteral("QPushButton { border: 1px #c0c0c0 solid; padding: 5px; background-color: "
                       "qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #ffffff, stop: 1 #f0f0f0); "
                       "font-weight: bold; text-align: left; }\n"
                       "QPushButton:checked { background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
                       "stop: 0 #3399ff, stop: 1 #2080e0); color: #ffffff; }\n"));
    connect(m_button, &QPushButton::clicked, this, &MOptionsItem::clickTitle);
}

QWidget* MOptionsItem::widget() const
{
    return m_page;
}

QPushButton* MOptionsItem::button() const
{
    return m_button;
}

void MOptionsItem::clickTitle(bool /*b*/)
{
    emit selectedWidget(m_page);
}
