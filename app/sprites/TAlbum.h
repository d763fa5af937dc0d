#pragma once

#include "app/sprites/TSprite.h"
#include "app/sprites/TToon.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <memory>
#include <vector>

// Where the scene is shown: told which part of the work image changed.
class SpriteTarget
{
public:
    virtual ~SpriteTarget() = default;
    virtual void showArea(const QImage &work, const QRect &area) = 0;
};

// A target that keeps its own copy of what was shown.
class ImageTarget : public SpriteTarget
{
public:
    explicit ImageTarget(const QSize &size);
    QImage screen;
    void showArea(const QImage &work, const QRect &area) override;
};

class TPool;

// The scene: a background, the named toons and decors drawn on it, and the
// pools of sprites that move over it. The pristine image is the background
// with the decors; the work image adds the sprites and is what the target
// shows.
class TAlbum
{
public:
    TAlbum(SpriteTarget *target, const QImage &background);
    ~TAlbum();
    TAlbum(const TAlbum &) = delete;
    TAlbum &operator=(const TAlbum &) = delete;

    int width() const { return m_pristine.width(); }
    int height() const { return m_pristine.height(); }
    const QImage &pristine() const { return m_pristine; }
    const QImage &work() const { return m_work; }

    // One frame of width x height from the picture's top-left corner, black
    // transparent, placed at (left, top). A decor added under an existing
    // name takes its place.
    void AddDecor(const QString &name, const QImage &picture, int left, int top, int width,
                  int height);
    // Frames cut from a grid of the picture, left to right and top to
    // bottom, starting at (spacing, spacing) with `spacing` pixels between.
    void AddToon(const QString &name, const QImage &picture, int count, int rows, int columns,
                 int width, int height, int spacing, QRgb transparent);
    // Frames of the picture turned by a growing angle (degrees, clockwise on
    // the screen) and zoomed (percent) from the start to the end zoom; with
    // the back-and-forth flag at 1 the zoom goes there and back.
    void AddTurnedToon(const QString &name, const QImage &picture, int frames, int backAndForth,
                       int startZoom, int endZoom, int startAngle, int angleStep, QRgb transparent);
    // A copy of a toon scaled by the percentages; a negative width mirrors it
    // left-right, a negative height top-bottom; order -1 reverses the frames.
    void AddMirroredToon(const QString &newName, const QString &sourceName, int order,
                         int widthPercent, int heightPercent);
    TPool *CreatePool(int highestIndex);
    // Draws the decors into the pristine image, makes the work image the
    // pristine one (the sprites come back at the next step) and shows it.
    void Paint(const QRect &rect);

    std::shared_ptr<const TToon> toon(const QString &name) const;
    const std::vector<TDecor> &decors() const { return m_decors; }
    bool decorsPresent() const { return m_decorsPresent; }

private:
    friend class TPool;
    void addToon(std::shared_ptr<TToon> toon);

    SpriteTarget *m_target;
    QImage m_pristine;
    QImage m_work;
    QHash<QString, std::shared_ptr<const TToon>> m_toons;
    std::vector<TDecor> m_decors;
    bool m_decorsPresent = false;
    std::vector<std::unique_ptr<TPool>> m_pools;
};

// Numbered slots of sprites over a scene, drawn lowest layer first. Every
// operation on a slot that holds no sprite does nothing (getters give 0).
class TPool
{
public:
    TPool(TAlbum &scene, int highestIndex);
    // Restores the background under each sprite.
    ~TPool();
    TPool(const TPool &) = delete;
    TPool &operator=(const TPool &) = delete;

    int highestIndex() const { return int(m_slots.size()) - 1; }
    TSprite *sprite(int slot) const;
    // The sprites in drawing order.
    const std::vector<TSprite *> &layers() const { return m_layers; }

    // A new sprite of the toon in the slot (the old one is erased first);
    // false when no toon has that name.
    bool PlaceSprite(int slot, const QString &toonName);
    bool PlaceEllipseSprite(int slot, const QString &toonName);
    void RemoveSprite(int slot);

    void SetToon(int slot, const QString &name);
    void SetBounds(int slot, int left, int top, int right, int bottom);
    void SetEdgeModes(int slot, int left, int top, int right, int bottom);
    void SetElasticity(int slot, float left, float top, float right, float bottom);
    void SetPosition(int slot, int x, int y);
    void SetVelocity(int slot, float vx, float vy);
    void SetAcceleration(int slot, float ax, float ay);
    void SetSpeedFactors(int slot, float fx, float fy);
    void SetLayer(int slot, int layer);
    void SetFrame(int slot, int frame);
    void SetFrameDelay(int slot, int delay);
    void SetAnimationMode(int slot, int mode);
    void SetVisible(int slot, bool visible);
    // Ellipse sprites only.
    void SetCentre(int slot, float x, float y);
    void SetRadii(int slot, float rx, float ry);
    // Angular speed in hundredths of a degree per step, start angle in degrees.
    void SetOrbit(int slot, int hundredthsPerStep, int startAngle);

    int X(int slot) const;
    int Y(int slot) const;
    float VelocityX(int slot) const;
    float VelocityY(int slot) const;
    float AccelerationX(int slot) const;
    float AccelerationY(int slot) const;
    int HalfWidth(int slot) const;
    int HalfHeight(int slot) const;
    int Angle(int slot) const;
    bool Visible(int slot) const;

    // One animation step: erase every sprite, move them, draw them, show
    // the changed rectangles and advance the frames.
    void Step();

private:
    bool place(int slot, const QString &toonName, bool ellipse);
    TEllipse *ellipse(int slot) const;
    void insertInLayer(TSprite *s);
    void removeFromLayers(TSprite *s);

    TAlbum &m_scene;
    std::vector<std::unique_ptr<TSprite>> m_slots;
    std::vector<TSprite *> m_layers;
};
