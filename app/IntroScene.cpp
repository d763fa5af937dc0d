#include "app/IntroScene.h"

#include <QPaintEvent>
#include <QPainter>

IntroScene::IntroScene(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IntroScene::showArea(const QImage &, const QRect &area)
{
    // The paint that follows copies the scene's work image there.
    update(area);
}

void IntroScene::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    if (m_handler)
        m_handler(p, event->rect());
    else
        p.fillRect(event->rect(), palette().window());
}
