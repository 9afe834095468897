#include "MDocViewList.h"

#include "data/MOptions.h"
#include "views/MListFont.h"

#include <QFont>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>

namespace MDocViewList {

QString itemText(int docView)
{
    switch (docView) {
    case 1:
        return QObject::tr("Oryginał");
    case 2:
        return QObject::tr("Kopia");
    case 3:
        return QObject::tr("Oryginał i Kopia");
    case 4:
        return QObject::tr("Oryginał / Kopia");
    case 5:
        return QObject::tr("Bez opisu x2");
    default:
        return QObject::tr("Bez opisu");
    }
}

bool offersOriginalCopy()
{
    return MOptions::option(QStringLiteral("SHOW_VIEW_ORIGINAL_COPY")).toInt() != 0;
}

QListView* create(QWidget* parent, QStandardItemModel* model, const QList<int>& docViews)
{
    for (int docView : docViews) {
        auto* item = new QStandardItem(QIcon(QStringLiteral(":/resource/invoice_32_32.png")), itemText(docView));
        item->setData(docView, Qt::UserRole + 1);
        model->appendRow(item);
    }
    auto* list = new QListView(parent);
    list->setViewMode(QListView::IconMode);
    list->setWordWrap(true);
    list->setWrapping(true);
    list->setGridSize(QSize(110, 110));
    list->setDragEnabled(false);
    list->setFont(QFont(QStringLiteral("Arial"), listFontSize(), QFont::Normal));
    list->setFixedSize(465, 225);
    list->setStyleSheet(QStringLiteral(
        "QListView::item { width: 100px; height: 100px; background-color: qlineargradient(x1: 0, y1: 0, x2: 0, "
        "y2: 1, stop: 0 #ffffff, stop: 1 #f0f0f0); color: #000000; border-color: #c0c0c0; border-width: 1px; "
        "border-radius: 3px; border-style: solid; padding: 5px 2px 5px 2px; margin: 5px; }\n"
        "QListView::item:selected { background-color: #2080e0; color: #ffffff; }\n"
        "QListView::item:hover { background-color: #3399ff; color: #ffffff; }\n"));
    list->setModel(model);
    return list;
}

void removeFirst(QStandardItemModel* model, int docView)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->item(row)->data(Qt::UserRole + 1).toInt() == docView) {
            model->removeRow(row);
            return;
        }
    }
}

QWidget* optionRow(QWidget* parent, const QString& label, QWidget* box)
{
    auto* row = new QWidget(parent);
    auto* text = new QLabel(QStringLiteral("<b>") + label + QStringLiteral("</b>"), row);
    text->setTextFormat(Qt::RichText);
    text->setFixedWidth(250);
    text->setWordWrap(true);
    // The grid would give the label the height of its text on one line; wrapped, it ran
    // into the row above at larger font sizes.
    text->setMinimumHeight(text->heightForWidth(text->width()));
    box->setParent(row);
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(text, 1, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(box, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    grid->setColumnMinimumWidth(1, 15);
    grid->setColumnStretch(2, 1);
    grid->setRowMinimumHeight(0, 5);
    return row;
}

QWidget* buttonRow(QWidget* parent, QPushButton* ok, QPushButton* cancel)
{
    auto* row = new QWidget(parent);
    ok->setParent(row);
    cancel->setParent(row);
    ok->setText(QObject::tr("OK"));
    ok->setIcon(QIcon(QStringLiteral(":/resource/ok_btn_16_16.png")));
    cancel->setText(QObject::tr("Anuluj"));
    cancel->setIcon(QIcon(QStringLiteral(":/resource/cancel_btn_16_16.png")));
    ok->setFixedSize(70, 25);
    cancel->setFixedSize(70, 25);
    ok->setEnabled(false);
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->setRowStretch(0, 1);
    grid->setColumnMinimumWidth(1, 5);
    grid->addWidget(ok, 1, 0, Qt::AlignRight | Qt::AlignBottom);
    grid->addWidget(cancel, 1, 2, Qt::AlignRight | Qt::AlignBottom);
    return row;
}

void startJob(QWidget* list, const char* job, int docView)
{
    if (!list || !QMetaObject::invokeMethod(list, job, Q_ARG(int, docView)))
        qWarning("The document chooser's list has no slot %s(int)", job);
}

} // namespace MDocViewList
