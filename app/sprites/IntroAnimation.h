#pragma once

#include "app/sprites/TAlbum.h"

#include <QRect>

#include <memory>

// The start window's sky: a large plane crossing from right to left, a
// small plane flying loops on an ellipse and now and then an aerobatic
// figure, and every 8 seconds a plane swooping down from a top corner.
class IntroAnimation
{
public:
    // Builds the scene for a paint box placed at `paintBox` in its window
    // (the large plane turns back beyond the paint box's sides).
    IntroAnimation(SpriteTarget *target, const QRect &paintBox);

    static constexpr int kWidth = 600;
    static constexpr int kHeight = 375;
    enum Slot { SlotLargePlane = 1, SlotSmallPlane = 2, SlotSwoop = 3 };
    enum Figure { Circling, Climbing, Falling, Diving, PullingOut, FlyingOff, Returning };

    // The scene background: the sky in a black frame, the banner along the bottom.
    static QImage background(const QImage &banner);

    TAlbum &album() { return m_album; }
    TPool &pool() { return *m_pool; }
    int figureState() const { return m_figure; }
    int passages() const { return m_passages; }
    // Whether the next swoop starts from the top right corner.
    bool swoopFromRight() const { return m_swoopRight; }

    // One timer tick: `speed` steps (none at 0 or below).
    void Tick(int speed);
    // One step: the sprites move, the swoop and the figure follow.
    void Step();
    // Lets the waiting swooping plane go.
    void ShowSwoop();

private:
    void startCircling();
    void launchSwoop();
    void advanceFigure();

    TAlbum m_album;
    TPool *m_pool = nullptr;
    int m_figure = Circling;
    int m_passages = 0;
    bool m_swoopRight = true;
};
