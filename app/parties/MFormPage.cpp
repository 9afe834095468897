#include "MFormPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QWidget>

namespace {

const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;
const int labelGap = 1;
const int fieldGap = 5;

void fixWidth(QWidget* widget, int width)
{
    if (width > 0)
        widget->setFixedWidth(width);
}

} // namespace

MFormPage::MFormPage(QWidget* page)
    : m_layout(new QGridLayout(page))
{
    m_layout->setContentsMargins(5, 5, 5, 5);
    m_layout->setSpacing(0);
    m_layout->setColumnStretch(0, 1);
}

QLabel* MFormPage::boldLabel(const QString& text, QWidget* parent)
{
    return new QLabel(QStringLiteral("<b>") + text + QStringLiteral("</b>"), parent);
}

void MFormPage::addField(const QString& label, QWidget* field, int width)
{
    startItem();
    m_layout->addWidget(boldLabel(label), takeRow(), 0, topLeft);
    m_layout->setRowMinimumHeight(takeRow(), labelGap);
    fixWidth(field, width);
    m_layout->addWidget(field, takeRow(), 0, topLeft);
}

void MFormPage::addFields(const QList<Field>& fields, int gap)
{
    startItem();
    auto* line = new QGridLayout();
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(0);
    line->setRowMinimumHeight(1, labelGap);
    QList<QLabel*> labels;
    for (int i = 0; i < fields.size(); ++i) {
        const Field& field = fields.at(i);
        if (i > 0)
            line->setColumnMinimumWidth(2 * i - 1, gap);
        labels.append(boldLabel(field.label));
        line->addWidget(labels.last(), 0, 2 * i, topLeft);
        fixWidth(field.widget, field.width);
        line->addWidget(field.widget, 2, 2 * i, topLeft);
    }
    alignLabelTexts(labels);
    m_layout->addLayout(line, takeRow(), 0, topLeft);
}

void MFormPage::alignLabelTexts(const QList<QLabel*>& labels)
{
    // A label with a larger mark (the red star of a required field) is taller than its
    // neighbours; the shorter ones take its height with their text centred in it,
    // so that the texts of one line stand on one line.
    int height = 0;
    for (const QLabel* label : labels)
        height = qMax(height, label->sizeHint().height());
    for (QLabel* label : labels) {
        if (label->sizeHint().height() < height) {
            label->setMinimumHeight(height);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
}

void MFormPage::addFieldPair(const QString& label1, QWidget* field1, int width1, const QString& label2,
                             QWidget* field2, int width2, int gap)
{
    addFields({{label1, field1, width1}, {label2, field2, width2}}, gap);
}

void MFormPage::addWidget(QWidget* widget, int width)
{
    startItem();
    fixWidth(widget, width);
    m_layout->addWidget(widget, takeRow(), 0, topLeft);
}

void MFormPage::setNextGap(int height)
{
    m_nextGap = height;
}

void MFormPage::finish()
{
    m_layout->setRowStretch(takeRow(), 100);
}

void MFormPage::startItem()
{
    if (m_row > 0)
        m_layout->setRowMinimumHeight(takeRow(), m_nextGap);
    m_nextGap = fieldGap;
}

int MFormPage::takeRow()
{
    return m_row++;
}
