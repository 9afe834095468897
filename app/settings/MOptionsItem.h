#pragma once

#include <QString>
#include <QWidget>

class QPushButton;

// One page of the options dialog: its title, the page and the title button
// that shows it. Never shown itself.
class MOptionsItem : public QWidget
{
    Q_OBJECT

public:
    MOptionsItem(const QString& title, QWidget* page);
    ~MOptionsItem() override;

    QString title() const;
    QWidget* widget() const;
    QPushButton* button() const;

signals:
    void selectedWidget(QWidget* widget);

public slots:
    void clickTitle(bool b);

private:
    QString m_title;
    QWidget* m_page = nullptr;
    QPushButton* m_button = nullptr;
};
