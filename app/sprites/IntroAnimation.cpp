#include "app/sprites/IntroAnimation.h"

#include "app/sprites/IntroPictures.h"

#include <QPainter>

namespace
{

const QRgb kBlack = qRgb(0, 0, 0);

} // namespace

QImage IntroAnimation::background(const QImage &banner)
{
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(banner.pixel(2, 2));
    QPainter p(&img);
    p.setPen(Qt::black);
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    p.drawImage(8, kHeight - 2 - banner.height(), banner);
    return img;
}

IntroAnimation::IntroAnimation(SpriteTarget *target, const QRect &paintBox)
    : m_album(target, background(IntroPictures::banner()))
{
    const int w = m_album.width(), h = m_album.height();
    m_album.AddDecor(QStringLiteral("D"), IntroPictures::cloud(), 360, 120, 200, 78);
    m_album.AddDecor(QStringLiteral("D2"), IntroPictures::smallCloud(), 25, 75, 176, 74);

    m_album.AddToon(QStringLiteral("P1"), IntroPictures::largePlane(), 1, 1, 1, 135, 77, 0, kBlack);
    // The swooping plane grows from a fifth of its size while it turns.
    m_album.AddTurnedToon(QStringLiteral("P4"), IntroPictures::frontPlane(), 24, 0, 20, 100, -16, 1,
                          kBlack);
    m_album.AddMirroredToon(QStringLiteral("P5"), QStringLiteral("P4"), 0, -100, 100);
    // The small plane once round in steps of 5 degrees.
    m_album.AddTurnedToon(QStringLiteral("P2"), IntroPictures::smallPlane(), 72, 0, 100, 100, 0, 5,
                          kBlack);
    m_album.AddMirroredToon(QStringLiteral("P3"), QStringLiteral("P2"), 0, -100, 100);

    m_pool = m_album.CreatePool(3);
    TPool &pool = *m_pool;
    pool.PlaceSprite(SlotLargePlane, QStringLiteral("P1"));
    pool.SetBounds(SlotLargePlane, paintBox.left() - 220, paintBox.top(),
                   paintBox.left() + paintBox.width() + 220, paintBox.top() + paintBox.height());
    pool.SetPosition(SlotLargePlane, w / 2, h / 2 - 30);
    pool.SetVelocity(SlotLargePlane, -1.6f, 0);
    pool.SetLayer(SlotLargePlane, 2);
    pool.SetEdgeModes(SlotLargePlane, EdgeWrap, EdgeWrap, EdgeWrap, EdgeWrap);

    startCircling();
    launchSwoop();
}

void IntroAnimation::startCircling()
{
    const int w = m_album.width(), h = m_album.height();
    TPool &pool = *m_pool;
    pool.PlaceEllipseSprite(SlotSmallPlane, QStringLiteral("P2"));
    pool.SetLayer(SlotSmallPlane, -2); // behind the clouds
    pool.SetCentre(SlotSmallPlane, float(w / 2), float(h / 3 + 30));
    pool.SetRadii(SlotSmallPlane, 200, 140);
    pool.SetFrameDelay(SlotSmallPlane, 10);
    pool.SetAnimationMode(SlotSmallPlane, AnimForward);
    // Half a degree per step clockwise, from the bottom of the ellipse: a
    // lap in 720 steps, while the frames turn the plane once round.
    pool.SetOrbit(SlotSmallPlane, -50, 270);
    m_figure = Circling;
    m_passages = 0;
}

void IntroAnimation::launchSwoop()
{
    const int w = m_album.width();
    TPool &pool = *m_pool;
    if (m_swoopRight) {
        m_swoopRight = false;
        pool.PlaceSprite(SlotSwoop, QStringLiteral("P4"));
        pool.SetPosition(SlotSwoop, w - pool.HalfWidth(SlotSwoop), -16);
        pool.SetVelocity(SlotSwoop, -0.8f, 1.6f);
    } else {
        m_swoopRight = true;
        pool.PlaceSprite(SlotSwoop, QStringLiteral("P5"));
        pool.SetPosition(SlotSwoop, -pool.HalfWidth(SlotSwoop), -16);
        pool.SetVelocity(SlotSwoop, 0.8f, 1.6f);
    }
    pool.SetEdgeModes(SlotSwoop, EdgeNone, EdgeNone, EdgeNone, EdgeNone);
    pool.SetAcceleration(SlotSwoop, 0, -0.008f);
    pool.SetFrame(SlotSwoop, 0);
    pool.SetFrameDelay(SlotSwoop, 12);
    pool.SetSpeedFactors(SlotSwoop, 1.006f, 1.003f);
    pool.SetVisible(SlotSwoop, false); // until the 8-second timer
}

void IntroAnimation::ShowSwoop()
{
    m_pool->SetVisible(SlotSwoop, true);
}

void IntroAnimation::Tick(int speed)
{
    for (int i = 0; i < speed; ++i)
        Step();
}

void IntroAnimation::Step()
{
    const int w = m_album.width(), h = m_album.height();
    TPool &pool = *m_pool;
    pool.Step();
    if (pool.Y(SlotSwoop) > h + 100 || pool.X(SlotSwoop) < -200 || pool.X(SlotSwoop) > w + 20) {
        pool.SetVisible(SlotSwoop, false);
        launchSwoop();
    }
    advanceFigure();
}

void IntroAnimation::advanceFigure()
{
    const int w = m_album.width(), h = m_album.height();
    TPool &pool = *m_pool;
    const int s = SlotSmallPlane;
    switch (m_figure) {
    case Circling:
        // Twice per lap at the left end of the ellipse: the figure starts
        // there on the second lap.
        if (pool.Angle(s) == 180 && ++m_passages == 3) {
            const int x = pool.X(s), y = pool.Y(s);
            pool.PlaceSprite(s, QStringLiteral("P2"));
            pool.SetPosition(s, x, y);
            pool.SetBounds(s, 0, 0, w + 300, h);
            pool.SetLayer(s, -2);
            pool.SetFrame(s, 14);
            pool.SetVelocity(s, -0.05f, -1);
            pool.SetAcceleration(s, 0, 0.005f);
            pool.SetFrameDelay(s, 0);
            m_figure = Climbing;
        }
        break;
    case Climbing:
        if (pool.VelocityY(s) > 0.01f) {
            // Stalled at the top: the plane turns back over.
            pool.SetFrameDelay(s, 6);
            pool.SetAnimationMode(s, AnimBackward);
            m_figure = Falling;
        }
        break;
    case Falling:
        if (pool.VelocityY(s) > 0.8f) {
            pool.SetToon(s, QStringLiteral("P3"));
            pool.SetFrame(s, 54);
            pool.SetAnimationMode(s, AnimForward);
            pool.SetFrameDelay(s, 12);
            pool.SetVelocity(s, 0, pool.VelocityY(s));
            pool.SetAcceleration(s, 0.012f, 0.012f);
            m_figure = Diving;
        }
        break;
    case Diving:
        if (pool.VelocityY(s) > 1.5f) {
            pool.SetAcceleration(s, pool.AccelerationX(s), -pool.AccelerationY(s));
            m_figure = PullingOut;
        }
        break;
    case PullingOut:
        if (pool.VelocityY(s) < 0) {
            pool.SetVelocity(s, pool.VelocityX(s), 0);
            pool.SetAcceleration(s, 0, -0.004f);
            pool.SetFrameDelay(s, 20);
            m_figure = FlyingOff;
        }
        break;
    case FlyingOff:
        if (pool.X(s) > w + 250) {
            // Back along the bottom of the ellipse, from the right.
            pool.SetToon(s, QStringLiteral("P2"));
            pool.SetFrame(s, 0);
            pool.SetVelocity(s, -1.8f, 0);
            pool.SetAcceleration(s, 0, 0);
            pool.SetFrameDelay(s, 0);
            pool.SetPosition(s, pool.X(s), h / 3 + 170 - pool.HalfHeight(s));
            m_figure = Returning;
        }
        break;
    case Returning:
        if (pool.X(s) < w / 2 - pool.HalfWidth(s))
            startCircling();
        break;
    }
}
