#include "MSplash.h"

#include "data/MProgramVersion.h"
#include "views/MListFont.h"

#include <QMouseEvent>
#include <QPainter>

MSplash::MSplash(const QPixmap& pixmap, Qt::WindowFlags f)
    : QSplashScreen(pixmap, f)
{
}

void MSplash::drawContents(QPainter* painter)
{
    painter->setPen(Qt::black);
    painter->drawRect(contentsRect().adjusted(0, 0, -1, -1));

    painter->setPen(Qt::white);

    QFont versionFont(QStringLiteral("Arial"), listFontSize() + 3, QFont::Bold);
    versionFont.setStyleStrategy(QFont::PreferAntialias);
    painter->setFont(versionFont);
    painter->drawText(QPoint(10, 135), tr("Wersja") + QLatin1Char(' ') + MProgramVersion::versionText());

    QFont messageFont(QStringLiteral("Arial"), listFontSize() - 2, QFont::Normal);
    messageFont.setStyleStrategy(QFont::PreferAntialias);
    painter->setFont(messageFont);
    painter->drawText(QRect(10, 220, 200, 50), Qt::TextWordWrap, message());
}

void MSplash::mousePressEvent(QMouseEvent* event)
{
    event->ignore();
}
