#pragma once

#include <QColor>
#include <QPoint>
#include <QPointF>

class QImage;
class QPainter;

// The catalogue's drawing of an airfoil: a grid every tenth of the chord,
// the chord line in red and the outline through the preview points. The
// places are those of the design size (kWidth × kHeight); a larger picture
// shows the same drawing enlarged as far as it fits, the grid and the chord
// line running on across the rest.
namespace AirfoilPreview
{

constexpr int kWidth = 473;
constexpr int kHeight = 197;
constexpr int kLeft = 8;     // pixel of the leading edge
constexpr int kChordY = 128; // pixel of the chord line
constexpr int kStep = 46;    // a tenth of the 460-pixel chord

struct Colours {
    QColor background; // the window colour (the background of lists and edit boxes)
    QColor grid;       // the button-face colour
    QColor chord = QColor(255, 0, 0);
    QColor outline = QColor(0, 0, 0);
};

// The system's colours for the background and the grid.
Colours systemColours();

// How much a picture of width × height enlarges the design size (never
// below 1).
double scaleFor(int width, int height);

// Draws the grid and the outline through points[0..count] (the entry after
// the last point repeats the first one; count 0 draws the grid only), the
// outline antialiased.
void draw(QPainter &painter, int width, int height, const QPointF *points, int count,
          const Colours &colours);
void draw(QImage &image, const QPointF *points, int count, const Colours &colours);
void draw(QImage &image, const QPoint *points, int count, const Colours &colours);

} // namespace AirfoilPreview
