#pragma once

#include "app/sprites/TToon.h"

#include <QRect>

#include <memory>

// The four sides of the rectangle a sprite moves in.
struct TEdges {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// What a sprite does when it has crossed an edge of its area.
enum EdgeMode { EdgeWrap = 0, EdgeBounce = 1, EdgeStop = 2, EdgeNone = 3 };

// How the frames of a sprite follow one another.
enum AnimationMode { AnimForward = 1, AnimBackAndForth = 2, AnimBackward = 3 };

// A sprite moving in straight lines under velocity and acceleration.
// Positions are the top-left corner of the drawn frame.
class TSprite
{
public:
    explicit TSprite(int slot) : slot(slot) {}
    virtual ~TSprite() = default;

    int slot;
    int layer = 0;
    bool visible = true;
    bool hasImage = false;
    bool sizePending = true;
    std::shared_ptr<const TToon> toon;
    int frame = 0;
    int frameDelay = 10;
    int tick = 1;
    int direction = 1;
    int animationMode = AnimForward;
    int ix = 0, iy = 0; // integer position
    int halfWidth = 0, halfHeight = 0;
    float x = 0, y = 0; // position
    float vx = 0, vy = 0;
    float ax = 0, ay = 0;
    float fx = 1, fy = 1; // speed factors
    TEdges bounds;
    TEdges effective;
    int edgeModes[4] = {EdgeWrap, EdgeWrap, EdgeWrap, EdgeWrap}; // left, top, right, bottom
    float elasticity[4] = {1, 1, 1, 1};
    // Where the opaque part of the frame was and is drawn in the work image.
    QRect oldRect, newRect;

    // Attaches a toon (or detaches with none): first frame, half sizes.
    void setToon(std::shared_ptr<const TToon> t);
    void setBounds(const TEdges &b);
    void setEdgeModes(int left, int top, int right, int bottom);
    void setPosition(int px, int py);
    void setFrame(int f);
    void setAnimationMode(int mode);

    int frameWidth() const { return toon ? toon->frameWidth : 0; }
    int frameHeight() const { return toon ? toon->frameHeight : 0; }
    // The frame's rectangle at the integer position.
    QRect frameRect() const { return QRect(ix, iy, frameWidth(), frameHeight()); }
    const TFrame *currentFrame() const;

    // One step of movement.
    virtual void move();
    // The frame counter after the sprite was shown.
    void animate();

protected:
    // The bounds corrected by the frame size: except for a bounce, the
    // sprite leaves an edge completely before the edge acts.
    void updateEffectiveBounds();
    void applyEdges();
};

// A sprite whose reference point runs on an ellipse round a centre that
// moves by the velocity. Angles are degrees, counted anticlockwise on the
// screen; a negative angular speed runs clockwise.
class TEllipse : public TSprite
{
public:
    using TSprite::TSprite;

    float cx = 0, cy = 0;
    float rx = 0, ry = 0;
    float angle = 0;
    float angularSpeed = 0;

    void move() override;
};
