#pragma once

#include "app/sprites/TAlbum.h"

#include <QWidget>

#include <functional>

// The start window's animation area: shows the parts of the scene the
// sprites have changed; its paints go to the start window's handler.
class IntroScene : public QWidget, public SpriteTarget
{
    Q_OBJECT
public:
    explicit IntroScene(QWidget *parent = nullptr);

    // Called for every paint with the area to draw.
    void setPaintHandler(std::function<void(QPainter &, const QRect &)> handler)
    {
        m_handler = std::move(handler);
    }

    void showArea(const QImage &work, const QRect &area) override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<void(QPainter &, const QRect &)> m_handler;
};
