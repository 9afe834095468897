#pragma once

#include <QSplashScreen>

// The start-up picture with the version and a message drawn over it; a click
// does not close it.
class MSplash : public QSplashScreen
{
    Q_OBJECT

public:
    explicit MSplash(const QPixmap& pixmap = QPixmap(), Qt::WindowFlags f = Qt::WindowFlags());

protected:
    void drawContents(QPainter* painter) override;
    void mousePressEvent(QMouseEvent* event) override;
};
