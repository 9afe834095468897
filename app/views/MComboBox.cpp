#include "MComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>

MComboBox::MComboBox(QWidget* parent)
    : QComboBox(parent)
{
}

QString MComboBox::text() const
{
    if (!m_storedText.isEmpty())
        return m_storedText;
    return lineEdit() ? lineEdit()->text() : currentText();
}

void MComboBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && lineEdit())
        m_storedText = lineEdit()->text();
    QComboBox::keyPressEvent(event);
}
