#pragma once

#include <QList>
#include <QPointF>
#include <QString>

// A repair of a coordinate file that keeps its shape, beside the correction
// that forces three points into place: the whole outline is moved so that
// its leading edge (the point farthest from the middle of the trailing edge)
// is at (0, 0), turned so that the middle of the trailing edge lies on the
// chord line, and scaled so that it is at x = 1.
//
// The database needs a closed trailing edge. An open one is closed by
// bending the rear of both surfaces, each by a share of half the gap that
// grows smoothly from nothing at 80 % of the chord to all of it at the
// trailing edge, so that no single point jumps; or it is kept open on
// request.
//
// Turning the outline can leave points that stood at the same x (a leading
// edge written twice around its nose) a hair out of order; such reversals,
// smaller than kTidy, are evened out. A file that passed the catalogue's
// check is never given back with errors: it is refused instead.
namespace AirfoilNormalise
{

// Where the bending of an open trailing edge begins, fraction of chord.
constexpr double kBendFrom = 0.8;
// Largest reversal of x evened out after the turn, fraction of chord.
constexpr double kTidy = 1e-5;
// Closing that moves a point by more than this, fraction of chord, is worth
// a word to the user: --keep-open may suit the airfoil better.
constexpr double kLargeClosing = 0.005;

struct Result {
    bool ok = false;
    QList<QPointF> points; // the same points, in the same order, normalised
    // The largest distance any point moved, fraction of the chord.
    double largestMove = 0;
    // The trailing edge's thickness after the move and turn, fraction of
    // the chord (before any closing).
    double gap = 0;
    // The largest move the closing of the trailing edge made, fraction of
    // the chord (0 when kept open).
    double closingMove = 0;
    bool closed = false; // the trailing edge is closed (first = last = (1, 0))
    QString refusal;     // why nothing could be done (ok false), by the language flag
};

// points: the outline in the catalogue's order (trailing edge, upper
// surface, leading edge, lower surface, trailing edge).
Result normalise(const QList<QPointF> &points, bool keepOpen = false);

} // namespace AirfoilNormalise
