#pragma once

#include <QComboBox>
#include <QString>

// An editable combo box that remembers the text confirmed with Enter, even
// when completing or inserting the item changes what the line edit shows.
class MComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit MComboBox(QWidget* parent = nullptr);

    QString text() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_storedText;
};
