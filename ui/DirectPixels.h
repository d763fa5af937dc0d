#pragma once

#include <QPoint>

class QImage;
class QPainter;
class QPolygon;

// Single pixels drawn with the painter's pen, written straight into the
// image under the painter when that gives exactly what the painter would
// draw: a 32-bit image, no transform, clip or antialiasing, full opacity,
// plain source-over, and a solid opaque pen no wider than a pixel. Any
// other painter (the printer, a PDF or SVG file, a scaled preview) draws
// the points itself.
namespace DirectPixels
{

// The image under the painter when writing into it gives what the painter
// would draw with an opaque colour; null otherwise.
QImage *imageUnder(QPainter &painter);

// Draws each point as one pixel in the pen's colour.
void drawPoints(QPainter &painter, const QPoint *points, int count);

// The same small figure of pixels (offsets from its centre) at each centre.
void drawStamps(QPainter &painter, const QPoint *centres, int count, const QPoint *stamp,
                int stampSize);

// A polyline through the points, then each point once more (a polyline
// may leave out the pixel where two long pieces meet at an angle). A step
// to a neighbouring pixel draws just its two ends, so on a plain image
// only the runs of longer steps go through the painter's line drawing.
void drawPolylineWithVertices(QPainter &painter, const QPolygon &points);

} // namespace DirectPixels
