#pragma once

#include <QString>
#include <QWidget>

class QPushButton;

// One page of the options dialog: the page and the title button, which
// carries the title and shows the page. Never shown itself.
class MOptionsItem : public QWidget
{
    Q_OBJECT

public:
    // The title button is made without parent; the options widget's title list adopts it.
    MOptionsItem(const QString& title, QWidget* page);

    QWidget* widget() const;
    QPushButton* button() const;

signals:
    void selectedWidget(QWidget* widget);

public slots:
    void clickTitle(bool b);

private:
    QWidget* m_page = nullptr;
    QPushButton* m_button = nullptr;
};
