#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class MOptionsItem;
class QButtonGroup;
class QScrollArea;
class QVBoxLayout;

// The options dialog's frame: a column of page titles on the left, exactly
// one of them checked, and the page of the checked title on the right.
class MOptionsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MOptionsWidget(QWidget* parent = nullptr);
    ~MOptionsWidget() override;

    void setListWidth(int width);
    void addItem(const QString& title, QWidget* page);
    const QList<MOptionsItem*>& items() const;

public slots:
    void selectedItemWidget(QWidget* widget);

private:
    QList<MOptionsItem*> m_items;
    QButtonGroup* m_titleGroup = nullptr;
    QWidget* m_titleList = nullptr;
    QVBoxLayout* m_titleLayout = nullptr;
    QScrollArea* m_scrollArea = nullptr;
    QWidget* m_pageArea = nullptr;
    QVBoxLayout* m_pageLayout = nullptr;
};
