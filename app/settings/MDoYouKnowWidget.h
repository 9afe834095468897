#pragma once

#include <QMap>
#include <QString>
#include <QWidget>

class QLabel;
class QTimer;

// The strip of tips under the main window's tabs: one tip at a time, turned
// by the arrows or by its own timer; the tip shown last is remembered.
class MDoYouKnowWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MDoYouKnowWidget(QWidget* parent = nullptr);

    // Applies SHOW_DO_YOU_KNOW, DO_YOU_KNOW_SPEED and DO_YOU_KNOW_LAST_ID.
    void applyOptions();

public slots:
    void clickPrev(bool checked);
    void clickNext(bool checked);
    void doTimeoutTimerPreview();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void readTips();
    void showTip();
    QString tipText(int id) const;
    QString tipHtml(int id) const;
    void fitHeightToTallestTip();
    void restartTimer();
    void step(int delta);

    int m_period = 0;
    int m_position = 0;
    int m_fittedWidth = -1;
    QLabel* m_textLabel = nullptr;
    QMap<int, QString> m_tips;
    QMap<int, int> m_ids;
    QTimer* m_timer = nullptr;
};
