#include "app/sprites/TAlbum.h"

#include "app/sprites/MaskedBitmap.h"
#include "geometry/Trig.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

ImageTarget::ImageTarget(const QSize &size) : screen(size, QImage::Format_RGB32)
{
    screen.fill(Qt::black);
}

void ImageTarget::showArea(const QImage &work, const QRect &area)
{
    MaskedBitmap::copyRect(screen, work, area);
}

TAlbum::TAlbum(SpriteTarget *target, const QImage &background)
    : m_target(target), m_pristine(MaskedBitmap::screenFormat(background).copy()),
      m_work(m_pristine.copy())
{
}

TAlbum::~TAlbum()
{
    // The pools put the background back under their sprites while the
    // images still exist.
    m_pools.clear();
}

std::shared_ptr<const TToon> TAlbum::toon(const QString &name) const
{
    return m_toons.value(name.toUpper());
}

void TAlbum::addToon(std::shared_ptr<TToon> toon)
{
    if (toon->frameCount() > 0) {
        const QString key = toon->name.toUpper();
        m_toons.insert(key, std::move(toon));
    }
}

void TAlbum::AddDecor(const QString &name, const QImage &picture, int left, int top, int width,
                      int height)
{
    if (width <= 0 || height <= 0)
        return;
    TDecor decor(name, left, top, width, height);
    QImage frame(width, height, QImage::Format_RGB32);
    frame.fill(Qt::black);
    MaskedBitmap::copyRect(frame, MaskedBitmap::screenFormat(picture), frame.rect());
    decor.addFrame(frame);
    for (TDecor &d : m_decors) {
        if (d.name.compare(name, Qt::CaseInsensitive) == 0) {
            d = std::move(decor);
            m_decorsPresent = true;
            return;
        }
    }
    m_decors.push_back(std::move(decor));
    m_decorsPresent = true;
}

void TAlbum::AddToon(const QString &name, const QImage &picture, int count, int rows, int columns,
                     int width, int height, int spacing, QRgb transparent)
{
    if (width <= 0 || height <= 0 || rows <= 0 || columns <= 0)
        return;
    const QImage source = MaskedBitmap::screenFormat(picture);
    auto toon = std::make_shared<TToon>(name, width, height, transparent);
    const int frames = std::min<long long>(count, (long long)rows * columns);
    int x = spacing, y = spacing;
    for (int i = 0; i < frames; ++i) {
        QImage frame(width, height, QImage::Format_RGB32);
        frame.fill(transparent);
        // The part of the picture under the frame's cell, where there is one.
        const QRect cell = QRect(x, y, width, height) & source.rect();
        if (!cell.isEmpty()) {
            for (int row = cell.top(); row <= cell.bottom(); ++row)
                std::copy_n(reinterpret_cast<const QRgb *>(source.constScanLine(row)) + cell.left(),
                            cell.width(),
                            reinterpret_cast<QRgb *>(frame.scanLine(row - y)) + (cell.left() - x));
        }
        toon->addFrame(frame);
        x += width + spacing;
        if ((i + 1) % columns == 0) {
            x = spacing;
            y += height + spacing;
        }
    }
    addToon(std::move(toon));
}

void TAlbum::AddTurnedToon(const QString &name, const QImage &picture, int frames, int backAndForth,
                           int startZoom, int endZoom, int startAngle, int angleStep,
                           QRgb transparent)
{
    const QImage source = MaskedBitmap::screenFormat(picture);
    const int w = source.width(), h = source.height();
    if (w <= 0 || h <= 0)
        return;
    frames = std::clamp(frames, 1, 180);
    startZoom = std::clamp(startZoom, 5, 100);
    endZoom = std::clamp(endZoom, 5, 100);
    float zoomStep = float(endZoom - startZoom) / float(frames);
    if (backAndForth == 1)
        zoomStep *= 2;
    float zoom = float(startZoom);
    int angle = startAngle;
    const int cx = w / 2, cy = h / 2;
    auto toon = std::make_shared<TToon>(name, w, h, transparent);
    for (int k = 0; k < frames; ++k) {
        const float s = 100.0f / std::max(zoom, 1.0f);
        const float c = Trig::cosDeg(angle), sn = Trig::sinDeg(angle);
        QImage frame(w, h, QImage::Format_RGB32);
        for (int j = 0; j < h; ++j) {
            auto *out = reinterpret_cast<QRgb *>(frame.scanLine(j));
            for (int i = 0; i < w; ++i) {
                const int x = cx + int(c * float(i - cx) * s) + int(sn * float(j - cy) * s);
                const int y = cy + int(c * float(j - cy) * s) - int(sn * float(i - cx) * s);
                out[i] = x >= 0 && x < w && y >= 0 && y < h
                             ? reinterpret_cast<const QRgb *>(source.constScanLine(y))[x]
                             : transparent;
            }
        }
        toon->addFrame(frame);
        if (backAndForth == 1 && k == frames / 2)
            zoomStep = -zoomStep;
        zoom += zoomStep;
        angle += angleStep;
    }
    addToon(std::move(toon));
}

void TAlbum::AddMirroredToon(const QString &newName, const QString &sourceName, int order,
                             int widthPercent, int heightPercent)
{
    const std::shared_ptr<const TToon> source = toon(sourceName);
    if (!source || widthPercent == 0 || heightPercent == 0)
        return;
    const int w = std::max(1, int((long long)source->frameWidth * std::abs(widthPercent) / 100));
    const int h = std::max(1, int((long long)source->frameHeight * std::abs(heightPercent) / 100));
    auto copy = std::make_shared<TToon>(newName, w, h, source->transparentColour);
    const bool leftRight = widthPercent < 0, topBottom = heightPercent < 0;
    const int n = source->frameCount();
    for (int i = 0; i < n; ++i) {
        const TFrame &from = source->frames[size_t(order == -1 ? n - 1 - i : i)];
        // Nearest pixels only: no colour may blend with the transparent one.
        TFrame frame;
        frame.image = from.image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                          .mirrored(leftRight, topBottom);
        frame.mask = from.mask.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                         .mirrored(leftRight, topBottom);
        frame.opaque = MaskedBitmap::opaqueBounds(frame.mask);
        copy->frames.push_back(std::move(frame));
    }
    addToon(std::move(copy));
}

TPool *TAlbum::CreatePool(int highestIndex)
{
    m_pools.push_back(std::make_unique<TPool>(*this, highestIndex));
    return m_pools.back().get();
}

void TAlbum::Paint(const QRect &rect)
{
    for (const TDecor &d : m_decors) {
        const TFrame &f = d.frames.front();
        MaskedBitmap::compose(m_pristine, d.place().topLeft(), f.image, f.mask, m_pristine.rect(),
                              f.opaque);
    }
    m_work = m_pristine.copy();
    if (m_target)
        m_target->showArea(m_work, rect);
}

// ---------------------------------------------------------------- TPool

TPool::TPool(TAlbum &scene, int highestIndex) : m_scene(scene)
{
    m_slots.resize(size_t(std::max(0, highestIndex + 1)));
}

TPool::~TPool()
{
    for (int i = 0; i <= highestIndex(); ++i)
        RemoveSprite(i);
}

TSprite *TPool::sprite(int slot) const
{
    if (slot < 0 || slot > highestIndex())
        return nullptr;
    return m_slots[size_t(slot)].get();
}

TEllipse *TPool::ellipse(int slot) const
{
    return dynamic_cast<TEllipse *>(sprite(slot));
}

void TPool::insertInLayer(TSprite *s)
{
    const auto at = std::find_if(m_layers.begin(), m_layers.end(),
                                 [s](const TSprite *o) { return o->layer >= s->layer; });
    m_layers.insert(at, s);
}

void TPool::removeFromLayers(TSprite *s)
{
    m_layers.erase(std::remove(m_layers.begin(), m_layers.end(), s), m_layers.end());
}

void TPool::RemoveSprite(int slot)
{
    TSprite *s = sprite(slot);
    if (!s)
        return;
    // Where the sprite was last drawn gets its background back.
    const QRect drawn = s->newRect & m_scene.m_work.rect();
    if (!drawn.isEmpty()) {
        MaskedBitmap::copyRect(m_scene.m_work, m_scene.m_pristine, drawn);
        if (m_scene.m_target)
            m_scene.m_target->showArea(m_scene.m_work, drawn);
    }
    removeFromLayers(s);
    m_slots[size_t(slot)].reset();
}

bool TPool::place(int slot, const QString &toonName, bool isEllipse)
{
    if (slot < 0 || slot > highestIndex())
        return false;
    std::shared_ptr<const TToon> t = m_scene.toon(toonName);
    if (!t)
        return false;
    RemoveSprite(slot);
    std::unique_ptr<TSprite> s =
        isEllipse ? std::make_unique<TEllipse>(slot) : std::make_unique<TSprite>(slot);
    s->setBounds({0, 0, m_scene.width(), m_scene.height()});
    s->setToon(std::move(t));
    insertInLayer(s.get());
    m_slots[size_t(slot)] = std::move(s);
    return true;
}

bool TPool::PlaceSprite(int slot, const QString &toonName)
{
    return place(slot, toonName, false);
}

bool TPool::PlaceEllipseSprite(int slot, const QString &toonName)
{
    return place(slot, toonName, true);
}

void TPool::SetToon(int slot, const QString &name)
{
    if (TSprite *s = sprite(slot))
        s->setToon(m_scene.toon(name));
}

void TPool::SetBounds(int slot, int left, int top, int right, int bottom)
{
    if (TSprite *s = sprite(slot))
        s->setBounds({left, top, right, bottom});
}

void TPool::SetEdgeModes(int slot, int left, int top, int right, int bottom)
{
    if (TSprite *s = sprite(slot))
        s->setEdgeModes(left, top, right, bottom);
}

void TPool::SetElasticity(int slot, float left, float top, float right, float bottom)
{
    if (TSprite *s = sprite(slot)) {
        s->elasticity[0] = left;
        s->elasticity[1] = top;
        s->elasticity[2] = right;
        s->elasticity[3] = bottom;
    }
}

void TPool::SetPosition(int slot, int x, int y)
{
    if (TSprite *s = sprite(slot))
        s->setPosition(x, y);
}

void TPool::SetVelocity(int slot, float vx, float vy)
{
    if (TSprite *s = sprite(slot)) {
        s->vx = vx;
        s->vy = vy;
    }
}

void TPool::SetAcceleration(int slot, float ax, float ay)
{
    if (TSprite *s = sprite(slot)) {
        s->ax = ax;
        s->ay = ay;
    }
}

void TPool::SetSpeedFactors(int slot, float fx, float fy)
{
    if (TSprite *s = sprite(slot)) {
        s->fx = fx;
        s->fy = fy;
    }
}

void TPool::SetLayer(int slot, int layer)
{
    if (TSprite *s = sprite(slot)) {
        removeFromLayers(s);
        s->layer = layer;
        insertInLayer(s);
    }
}

void TPool::SetFrame(int slot, int frame)
{
    if (TSprite *s = sprite(slot))
        s->setFrame(frame);
}

void TPool::SetFrameDelay(int slot, int delay)
{
    if (TSprite *s = sprite(slot))
        s->frameDelay = delay;
}

void TPool::SetAnimationMode(int slot, int mode)
{
    if (TSprite *s = sprite(slot))
        s->setAnimationMode(mode);
}

void TPool::SetVisible(int slot, bool visible)
{
    if (TSprite *s = sprite(slot))
        s->visible = visible;
}

void TPool::SetCentre(int slot, float x, float y)
{
    if (TEllipse *e = ellipse(slot)) {
        e->cx = x;
        e->cy = y;
    }
}

void TPool::SetRadii(int slot, float rx, float ry)
{
    if (TEllipse *e = ellipse(slot)) {
        e->rx = rx;
        e->ry = ry;
    }
}

void TPool::SetOrbit(int slot, int hundredthsPerStep, int startAngle)
{
    if (TEllipse *e = ellipse(slot)) {
        e->angularSpeed = float(hundredthsPerStep) / 100.0f;
        e->angle = float(startAngle);
    }
}

int TPool::X(int slot) const
{
    const TSprite *s = sprite(slot);
    return s ? int(s->x) : 0;
}

int TPool::Y(int slot) const
{
    const TSprite *s = sprite(slot);
    return s ? int(s->y) : 0;
}

float TPool::VelocityX(int slot) const
{
    const TSprite *s = sprite(slot);
    return s ? s->vx : 0;
}

float TPool::VelocityY(int slot) const
{
    const TSprite *s = sprite(slot);
    return s ? s->vy : 0;
}

float TPool::AccelerationX(int slot) const
{
    const TSprite *s = sprite(slot);
    return s ? s->ax : 0;
}

float TPool::AccelerationY(int slot) const
{
    const TSprite *s = sprite(slot);
    return s ? s->ay : 0;
}

int TPool::HalfWidth(int slot) const
{
    const TSprite *s = sprite(slot);
    return s ? s->halfWidth : 0;
}

int TPool::HalfHeight(int slot) const
{
    const TSprite *s = sprite(slot);
    return s ? s->halfHeight : 0;
}

int TPool::Angle(int slot) const
{
    const TEllipse *e = ellipse(slot);
    return e ? int(e->angle) : 0;
}

bool TPool::Visible(int slot) const
{
    const TSprite *s = sprite(slot);
    return s && s->visible;
}

void TPool::Step()
{
    QImage &work = m_scene.m_work;
    const QImage &pristine = m_scene.m_pristine;
    const QRect scene = work.rect();

    // Erase every sprite where it was drawn last. That is its frame at its
    // position, trimmed to the frame's opaque part; a sprite put somewhere
    // else since leaves no trace behind.
    for (TSprite *s : m_layers) {
        if (!s->visible || !s->hasImage)
            continue;
        s->oldRect = s->newRect;
        MaskedBitmap::copyRect(work, pristine, s->oldRect);
    }
    // Move them.
    for (TSprite *s : m_layers) {
        s->sizePending = false;
        if (s->visible)
            s->move();
    }
    // Draw them at their new places, lowest layer first; below layer 0 the
    // decors they meet are drawn again over them.
    for (TSprite *s : m_layers) {
        if (!s->visible || !s->hasImage)
            continue;
        const TFrame *f = s->currentFrame();
        s->newRect = f ? f->opaque.translated(s->ix, s->iy) : QRect();
        if (f)
            MaskedBitmap::compose(work, QPoint(s->ix, s->iy), f->image, f->mask, scene, f->opaque);
        if (s->layer < 0 && m_scene.m_decorsPresent) {
            for (const TDecor &d : m_scene.m_decors) {
                const QRect overlap = d.place() & s->newRect;
                if (overlap.isEmpty())
                    continue;
                const TFrame &df = d.frames.front();
                MaskedBitmap::compose(work, d.place().topLeft(), df.image, df.mask, overlap,
                                      df.opaque);
            }
        }
    }
    // Show what changed and advance the frames.
    for (TSprite *s : m_layers) {
        if (!s->visible || !s->hasImage)
            continue;
        const QRect changed = s->oldRect.united(s->newRect) & scene;
        if (m_scene.m_target && !changed.isEmpty())
            m_scene.m_target->showArea(work, changed);
        s->animate();
    }
}
