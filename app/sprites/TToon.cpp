#include "app/sprites/TToon.h"

#include "app/sprites/MaskedBitmap.h"

TToon::TToon(const QString &name, int width, int height, QRgb transparent)
    : name(name), frameWidth(width), frameHeight(height), transparentColour(transparent)
{
}

void TToon::addFrame(QImage image)
{
    TFrame frame;
    frame.image = MaskedBitmap::screenFormat(image);
    frame.mask = MaskedBitmap::makeMask(frame.image, transparentColour);
    frame.opaque = MaskedBitmap::opaqueBounds(frame.mask);
    frames.push_back(std::move(frame));
}

TDecor::TDecor(const QString &name, int left, int top, int width, int height)
    : TToon(name, width, height, qRgb(0, 0, 0)), left(left), top(top), right(left + width),
      bottom(top + height)
{
}
