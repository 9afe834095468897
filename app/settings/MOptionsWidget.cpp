#include "MOptionsWidget.h"

#include "settings/MOptionsItem.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

MOptionsWidget::MOptionsWidget(QWidget* parent)
    : QWidget(parent)
    , m_titleGroup(new QButtonGroup)
{
    m_titleGroup->setExclusive(true);

    // The 1-pixel gaps between the title buttons show the grey background as lines.
    m_titleList = new QWidget;
    m_titleList->setStyleSheet(QStringLiteral("QWidget { background-color: #c0c0c0; }\n"));
    m_titleLayout = new QVBoxLayout(m_titleList);
    m_titleLayout->setContentsMargins(0, 0, 0, 0);
    m_titleLayout->setSpacing(1);

    m_scrollArea = new QScrollArea;
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setWidget(m_titleList);

    m_pageArea = new QWidget(this);
    m_pageLayout = new QVBoxLayout(m_pageArea);
    m_pageLayout->setContentsMargins(0, 0, 0, 0);
    m_pageLayout->setSpacing(0);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->setColumnMinimumWidth(1, 10);
    layout->addWidget(m_scrollArea, 0, 0);
    layout->addWidget(m_pageArea, 0, 2);
}

MOptionsWidget::~MOptionsWidget()
{
    // Pages not shown at the moment sit in no layout; the items and the group own nothing.
    for (MOptionsItem* item : qAsConst(m_items)) {
        if (!item->widget()->parent())
            delete item->widget();
        delete item;
    }
    delete m_titleGroup;
}

void MOptionsWidget::setListWidth(int width)
{
    m_scrollArea->setFixedWidth(width);
}

void MOptionsWidget::addItem(const QString& title, QWidget* page)
{
    page->hide();
    auto* item = new MOptionsItem(title, page);
    connect(item, &MOptionsItem::selectedWidget, this, &MOptionsWidget::selectedItemWidget);
    m_items.append(item);

    // The stretch at the end keeps the titles packed at the top.
    if (m_titleLayout->count() > 1)
        delete m_titleLayout->takeAt(m_titleLayout->count() - 1);
    m_titleLayout->addWidget(item->button());
    m_titleLayout->addStretch(100);
    m_titleGroup->addButton(item->button());

    if (m_pageLayout->count() == 0) {
        m_pageLayout->addWidget(page);
        page->show();
        item->button()->setChecked(true);
    }
}

const QList<MOptionsItem*>& MOptionsWidget::items() const
{
    return m_items;
}

void MOptionsWidget::selectedItemWidget(QWidget* widget)
{
    if (m_pageLayout->count() > 0) {
        QLayoutItem* shown = m_pageLayout->takeAt(m_pageLayout->count() - 1);
        if (shown->widget())
            shown->widget()->hide();
        delete shown;
    }
    m_pageLayout->addWidget(widget);
    widget->show();
}
