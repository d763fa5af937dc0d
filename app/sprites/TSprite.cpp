#include "app/sprites/TSprite.h"

#include "geometry/Trig.h"

#include <algorithm>
#include <cmath>

void TSprite::setToon(std::shared_ptr<const TToon> t)
{
    toon = std::move(t);
    hasImage = toon && toon->frameCount() > 0;
    if (!hasImage)
        toon.reset();
    frame = 0;
    halfWidth = frameWidth() / 2;
    halfHeight = frameHeight() / 2;
    sizePending = true;
    updateEffectiveBounds();
}

void TSprite::setBounds(const TEdges &b)
{
    bounds = b;
    updateEffectiveBounds();
}

void TSprite::setEdgeModes(int left, int top, int right, int bottom)
{
    const int modes[4] = {left, top, right, bottom};
    for (int i = 0; i < 4; ++i)
        edgeModes[i] = modes[i] >= EdgeWrap && modes[i] <= EdgeNone ? modes[i] : EdgeWrap;
    updateEffectiveBounds();
}

void TSprite::setPosition(int px, int py)
{
    x = float(px);
    y = float(py);
    ix = px;
    iy = py;
}

void TSprite::setFrame(int f)
{
    const int last = toon ? toon->frameCount() - 1 : 0;
    frame = std::clamp(f, 0, std::max(0, last));
    tick = 1;
}

void TSprite::setAnimationMode(int mode)
{
    animationMode = mode == AnimBackAndForth || mode == AnimBackward ? mode : AnimForward;
    direction = 1;
}

const TFrame *TSprite::currentFrame() const
{
    if (!toon || frame < 0 || frame >= toon->frameCount())
        return nullptr;
    return &toon->frames[size_t(frame)];
}

void TSprite::updateEffectiveBounds()
{
    const int w = frameWidth(), h = frameHeight();
    effective = bounds;
    if (edgeModes[0] != EdgeBounce)
        effective.left -= w;
    if (edgeModes[1] != EdgeBounce)
        effective.top -= h;
    if (edgeModes[2] == EdgeBounce)
        effective.right -= w;
    if (edgeModes[3] == EdgeBounce)
        effective.bottom -= h;
}

void TSprite::move()
{
    vx = vx * fx + ax;
    vy = vy * fy + ay;
    x += vx;
    y += vy;
    ix = int(x);
    iy = int(y);
    applyEdges();
}

namespace
{

float bounced(float v, float elasticity)
{
    const float r = -v * elasticity;
    return std::fabs(r) < 0.0001f ? 0.0f : r;
}

} // namespace

void TSprite::applyEdges()
{
    // Only the first edge crossed acts, in the order left, top, right, bottom.
    int edge = -1;
    if (ix < effective.left)
        edge = 0;
    else if (iy < effective.top)
        edge = 1;
    else if (ix > effective.right)
        edge = 2;
    else if (iy > effective.bottom)
        edge = 3;
    if (edge < 0)
        return;
    const bool horizontal = edge == 0 || edge == 2;
    const float here[4] = {float(effective.left), float(effective.top), float(effective.right),
                           float(effective.bottom)};
    switch (edgeModes[edge]) {
    case EdgeWrap: {
        const float opposite = here[(edge + 2) % 4];
        if (horizontal) {
            x = opposite;
            ix = int(x);
        } else {
            y = opposite;
            iy = int(y);
        }
        break;
    }
    case EdgeBounce:
        if (horizontal) {
            x = here[edge];
            ix = int(x);
            vx = bounced(vx, elasticity[edge]);
        } else {
            y = here[edge];
            iy = int(y);
            vy = bounced(vy, elasticity[edge]);
        }
        break;
    case EdgeStop:
        vx = vy = 0;
        ax = ay = 0;
        fx = fy = 1;
        break;
    default:
        break;
    }
}

void TSprite::animate()
{
    if (frameDelay <= 0 || !toon)
        return;
    if (++tick <= frameDelay)
        return;
    tick = 1;
    const int last = toon->frameCount() - 1;
    switch (animationMode) {
    case AnimBackAndForth: {
        const int next = frame + direction;
        if (next < 0 || next > last)
            direction = -direction; // the frame stays at that end
        else
            frame = next;
        break;
    }
    case AnimBackward:
        frame = frame > 0 ? frame - 1 : last;
        break;
    default:
        frame = frame < last ? frame + 1 : 0;
        break;
    }
}

void TEllipse::move()
{
    // The edges of the area play no part: the centre stays where it is put.
    cx += vx;
    cy += vy;
    angle += angularSpeed;
    if (angle > 360.0f || angle < 0.0f) {
        angle = std::fmod(angle, 360.0f);
        if (angle < 0.0f)
            angle += 360.0f;
    }
    const int a = int(angle);
    x = cx - float(halfWidth) + rx * Trig::cosDeg(a);
    y = cy - float(halfHeight) - ry * Trig::sinDeg(a);
    ix = int(std::nearbyint(x));
    iy = int(std::nearbyint(y));
}
