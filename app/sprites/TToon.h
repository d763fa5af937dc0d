#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

// One picture of a toon with its mask, and where its opaque pixels lie (so
// that drawing it skips the transparent border).
struct TFrame {
    QImage image;
    QImage mask;
    QRect opaque;
};

// A named sequence of frames of one size. Pixels of the transparent colour
// let the background show through.
class TToon
{
public:
    TToon(const QString &name, int width, int height, QRgb transparent);
    virtual ~TToon() = default;

    QString name;
    int frameWidth;
    int frameHeight;
    QRgb transparentColour;
    std::vector<TFrame> frames;

    int frameCount() const { return int(frames.size()); }
    // Adds a frame of the toon's size: its pixels of the transparent colour
    // make the mask.
    void addFrame(QImage image);
};

// A toon drawn at a fixed place of the scene, in front of the sprites below
// layer 0.
class TDecor : public TToon
{
public:
    TDecor(const QString &name, int left, int top, int width, int height);

    int left, top, right, bottom;
    QRect place() const { return QRect(left, top, right - left, bottom - top); }
};
