#include "MOkCancelLayout.h"

#include <QDialog>
#include <QGridLayout>
#include <QIcon>
#include <QPushButton>

void layOutOkCancel(QDialog* dialog, QWidget* content, QPushButton** ok, QPushButton** cancel)
{
    *ok = new QPushButton(QIcon(QStringLiteral(":/resource/ok_btn_16_16.png")), QDialog::tr("OK"), dialog);
    (*ok)->setFixedSize(70, 25);
    *cancel = new QPushButton(QIcon(QStringLiteral(":/resource/cancel_btn_16_16.png")), QDialog::tr("Anuluj"), dialog);
    (*cancel)->setFixedSize(70, 25);

    auto* buttons = new QGridLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->setRowStretch(0, 1);
    buttons->setColumnMinimumWidth(1, 5);
    buttons->addWidget(*ok, 0, 0, Qt::AlignRight | Qt::AlignBottom);
    buttons->addWidget(*cancel, 0, 2, Qt::AlignRight | Qt::AlignBottom);

    auto* layout = new QGridLayout(dialog);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(content, 0, 0);
    layout->setRowMinimumHeight(1, 5);
    layout->addLayout(buttons, 2, 0, Qt::AlignRight | Qt::AlignBottom);
}
