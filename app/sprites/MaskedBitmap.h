#pragma once

#include <QImage>
#include <QRect>

// The pixel layer under the sprites: every picture, frame, mask and scene
// image is a 32-bit RGB image. A frame is drawn through its mask: the
// destination is combined with the mask by AND, then with the frame by OR.
// The mask is white where the frame is transparent (which keeps the
// destination) and black elsewhere (which clears it for the frame's pixel);
// the frame itself is black where it is transparent, so the OR leaves the
// destination alone there.
namespace MaskedBitmap
{

constexpr QRgb kMaskKeep = 0xFFFFFFFFu;  // white: transparent pixel
constexpr QRgb kMaskClear = 0xFF000000u; // black: opaque pixel

// The picture in the layer's pixel format.
QImage screenFormat(const QImage &picture);

// Colours compared without their alpha byte.
inline bool sameColour(QRgb a, QRgb b)
{
    return ((a ^ b) & 0x00FFFFFFu) == 0;
}

// Makes the mask of a frame: white where the frame has the transparent
// colour, black elsewhere; those transparent pixels of the frame become black.
QImage makeMask(QImage &frame, QRgb transparent);

// The smallest rectangle (in frame coordinates) holding every opaque pixel
// of a mask; empty when the frame is wholly transparent.
QRect opaqueBounds(const QImage &mask);

// Copies src over dst inside rect (the same coordinates in both images),
// clipped to both images.
void copyRect(QImage &dst, const QImage &src, const QRect &rect);

// Draws a frame with its mask at `at` in dst, only inside `clip` (destination
// coordinates) and inside `part` of the frame (frame coordinates).
void compose(QImage &dst, const QPoint &at, const QImage &frame, const QImage &mask,
             const QRect &clip, const QRect &part);

} // namespace MaskedBitmap
