#pragma once

#include <QPushButton>
#include <QString>

// A small flat button that shows its help text as a tool tip while the mouse
// is over it and when it is clicked.
class MHelpButton : public QPushButton
{
    Q_OBJECT

public:
    explicit MHelpButton(QWidget* parent = nullptr);

    void setHelpText(const QString& text);

public slots:
    void clickedButton(bool b);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_helpText;
};
