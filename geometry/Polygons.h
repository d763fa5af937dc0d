#pragma once

#include <QPolygonF>

#include <cmath>
#include <vector>

// Polygon offsets and booleans in millimetres, worked out by the Clipper
// library on integer coordinates: one conversion in (mm x 10^4, so 0.1 µm
// steps) and one out, so that no caller handles Clipper's types or does
// segment intersection by hand.
//
// A shape is a list of closed rings (the last point need not repeat the
// first); a result's holes run the other way round from its outer rings,
// as Clipper returns them. Inputs may run either way: unions, differences
// and offsets fill by the non-zero rule, so a ring's direction does not
// matter for a single ring.
namespace Polygons
{

using Ring = QPolygonF;
using Shape = std::vector<Ring>;

// Integer units per millimetre.
inline constexpr double kUnitsPerMm = 1e4;
// mm in whole units, the nearest (halves away from zero, as std::llround).
inline long long gridUnits(double mm)
{
    // std::llround without the library call: x - trunc(x) is exact.
    const double x = mm * kUnitsPerMm;
    if (!(std::abs(x) < 9e18))
        return std::llround(x);
    const long long t = static_cast<long long>(x);
    const double f = x - double(t);
    return t + (f >= 0.5) - (f <= -0.5);
}

// Grows (delta > 0) or shrinks (delta < 0) every ring by delta mm with
// round corners, the arcs within arcTolerance mm of true. The result is
// always a set of simple rings that never cross one another.
Shape offset(const Shape &shape, double delta, double arcTolerance = 0.001);
// The offset of a region this namespace returned (rings that never cross,
// holes the other way round), or of a single ring, as strictlySimple would
// give it: the union that makes any other input one region is left out.
Shape offsetPieces(const Shape &region, double delta, double arcTolerance = 0.001);
// The offset of a region this namespace returned, as offset() gives it:
// the check that first makes any shape such a region is left out.
Shape offsetRegion(const Shape &region, double delta, double arcTolerance = 0.001);
// Square corners kept square where they can be (mitre up to limit x delta).
Shape offsetMitred(const Shape &shape, double delta, double limit = 4);

// The part of a shape inside a rectangle, ring by ring (Sutherland and
// Hodgman): the same region there, with edges along the rectangle's sides
// where a ring leaves it, which may run over one another. For booleans
// with a shape well inside the rectangle, read far faster than the whole.
Shape clipToRect(const Shape &shape, const QRectF &rect);

Shape unite(const Shape &a, const Shape &b);
Shape subtract(const Shape &a, const Shape &b);
Shape intersect(const Shape &a, const Shape &b);
// The ring's own area as a union of its non-zero regions: a ring that
// crosses itself comes back as several simple rings.
Shape simplify(const Ring &ring);
// The same region as rings that never touch themselves or one another: a
// ring pinched to a point comes back as two.
Shape strictlySimple(const Shape &shape);
// The ring itself when it is simple (isSimple); else the same outline with
// the rounding's zigzags of a grid step or two taken out (points that close
// to a neighbour or to the line through their neighbours), or failing that
// the largest ring of its strictly simple region (parted also where it
// touches itself at a point of an edge).
Ring simpleRing(const Ring &ring);

// The pieces of an open polyline that lie inside a shape, in order along
// the line (a closed outline is clipped as an open line whose last point
// repeats the first, so a cut never draws the shape's edge).
std::vector<QPolygonF> clipLine(const QPolygonF &line, const Shape &clip);

// Squared distance (mm²) from p to the segment ab.
inline double squaredSegmentDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    double t = len2 > 0 ? QPointF::dotProduct(p - a, ab) / len2 : 0;
    t = t < 0 ? 0.0 : t > 1 ? 1.0 : t;
    const double dx = p.x() - a.x() - t * ab.x(), dy = p.y() - a.y() - t * ab.y();
    return dx * dx + dy * dy;
}

// Appends to ys where the ring's edges cross the upright line at x (each
// edge taken with its start, not its end, left of or on the line).
void uprightCrossings(const Ring &ring, double x, std::vector<double> &ys);

// True when every edge of the shape lies at least distance (mm) from p.
bool edgesClearOf(const Shape &shape, QPointF p, double distance);

// Douglas-Peucker: appends to out the points of line that lie further than
// tolerance (mm) from the chord of the stretch they belong to, with both
// ends, leaving out a point equal to the one before it.
void appendThinned(Ring &out, const std::vector<QPointF> &line, double tolerance);

// Signed area in mm² (positive anticlockwise in a y-up frame).
double signedArea(const Ring &ring);
// Total area of a shape, holes taken away.
double area(const Shape &shape);

// True when the ring never touches or crosses itself (consecutive repeats
// aside) and has at least three distinct points and some area, decided
// exactly on the grid of kUnitsPerMm that cutting files are written to.
bool isSimple(const Ring &ring);

// True when ring lies inside shape with every point of it at least distance
// (mm) from shape's boundary: no vertex of either comes nearer than that to
// an edge of the other, no edges cross, and a vertex of ring lies inside.
// Exact for the polylines as they stand (the nearest points of two segments
// that do not cross include an end of one of them).
bool clearInside(const Ring &ring, const Shape &shape, double distance);

// Smallest distance between the boundaries of two shapes, 0 when they cross.
// Exact for polylines (vertex to segment, both ways).
double boundaryDistance(const Shape &a, const Shape &b);

// Where a point lies against a shape: 1 inside, 0 outside, -1 on a boundary
// (within 0.1 µm).
int pointIn(const Shape &shape, QPointF p);

} // namespace Polygons
