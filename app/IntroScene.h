#pragma once

#include <QWidget>

// The start window's picture: a sky with two clouds and the title banner
// along the bottom, 600 x 375 pixels. The planes fly over it later.
class IntroScene : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 375;
    static const QColor kSky;

    explicit IntroScene(QWidget *parent = nullptr);

    // The background alone: sky, clouds and banner.
    static QImage background();
    static void drawCloud(QPainter &p, const QRectF &box);
    static void drawBanner(QPainter &p, const QRect &box);

protected:
    void paintEvent(QPaintEvent *) override;
};
