#pragma once

#include <QColor>
#include <QImage>

// The start window's pictures, drawn once at start-up. Everything but the
// banner stands on black, the sprites' transparent colour; none of their
// own pixels is pure black.
namespace IntroPictures
{

// The sky, taken by the scene from the banner's pixel (2, 2).
QColor sky();

QImage banner();     // 586 x 74: an airfoil with the program's name, on the sky
QImage largePlane(); // 135 x 77: side view, nose to the left
QImage frontPlane(); // 150 x 80: seen from the front left
QImage smallPlane(); // 36 x 36: side view, nose to the left
QImage cloud();      // 200 x 78
QImage smallCloud(); // 176 x 74

} // namespace IntroPictures
