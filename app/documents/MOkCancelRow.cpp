#include "MOkCancelRow.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QIcon>
#include <QPushButton>

namespace {

QPushButton* createButton(const QString& text, const QString& iconPath, QWidget* parent)
{
    auto* button = new QPushButton(QIcon(iconPath), text, parent);
    button->setFixedSize(70, 25);
    return button;
}

} // namespace

QGridLayout* createOkCancelRow(QWidget* parent, QPushButton** ok, QPushButton** cancel)
{
    *ok = createButton(QCoreApplication::translate("MOkCancelRow", "OK"), QStringLiteral(":/resource/ok_btn_16_16.png"),
                       parent);
    *cancel = createButton(QCoreApplication::translate("MOkCancelRow", "Anuluj"),
                           QStringLiteral(":/resource/cancel_btn_16_16.png"), parent);
    auto* row = new QGridLayout();
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(*ok, 0, 0, Qt::AlignRight | Qt::AlignBottom);
    row->setColumnMinimumWidth(1, 5);
    row->addWidget(*cancel, 0, 2, Qt::AlignRight | Qt::AlignBottom);
    return row;
}
