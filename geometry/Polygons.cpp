#include "geometry/Polygons.h"

#include <clipper.hpp>

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace Polygons
{

namespace
{

using ClipperLib::cInt;
using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

cInt toUnits(double mm)
{
    return cInt(std::llround(mm * kUnitsPerMm));
}

// Clipper sweeps along y. Sections are long along x and thin across, with
// long runs of nearly level edges that its sweep handles slowly: the two
// axes are swapped on the way in and back on the way out.
IntPoint toPoint(QPointF p)
{
    return IntPoint(toUnits(p.y()), toUnits(p.x()));
}

Path toPath(const Ring &ring)
{
    Path path;
    path.reserve(size_t(ring.size()));
    for (const QPointF &p : ring) {
        const IntPoint q = toPoint(p);
        if (path.empty() || !(path.back() == q))
            path.push_back(q);
    }
    while (path.size() > 1 && path.front() == path.back())
        path.pop_back();
    return path;
}

Paths toPaths(const Shape &shape)
{
    Paths paths;
    paths.reserve(shape.size());
    for (const Ring &ring : shape) {
        Path path = toPath(ring);
        if (path.size() >= 3)
            paths.push_back(std::move(path));
    }
    return paths;
}

Ring toRing(const Path &path)
{
    Ring ring;
    ring.reserve(int(path.size()));
    for (const IntPoint &p : path)
        ring.append(QPointF(double(p.Y) / kUnitsPerMm, double(p.X) / kUnitsPerMm));
    return ring;
}

Shape toShape(const Paths &paths)
{
    Shape shape;
    shape.reserve(paths.size());
    for (const Path &path : paths)
        if (path.size() >= 3)
            shape.push_back(toRing(path));
    return shape;
}

Shape boolean(ClipperLib::ClipType type, const Shape &a, const Shape &b)
{
    ClipperLib::Clipper clipper;
    clipper.AddPaths(toPaths(a), ClipperLib::ptSubject, true);
    clipper.AddPaths(toPaths(b), ClipperLib::ptClip, true);
    Paths out;
    clipper.Execute(type, out, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return toShape(out);
}

Paths offsetPaths(const Paths &region, double delta, ClipperLib::JoinType join, double limit,
                  double arcTolerance)
{
    ClipperLib::ClipperOffset offsetter(limit, std::max(1.0, arcTolerance * kUnitsPerMm));
    offsetter.AddPaths(region, join, ClipperLib::etClosedPolygon);
    Paths out;
    offsetter.Execute(out, delta * kUnitsPerMm);
    return out;
}

Shape offsetWith(const Shape &shape, double delta, ClipperLib::JoinType join, double limit,
                 double arcTolerance)
{
    // Rings of either direction are first made one non-zero region, so that
    // the offset grows outer rings and shrinks holes whatever their order.
    ClipperLib::Clipper clean;
    clean.AddPaths(toPaths(shape), ClipperLib::ptSubject, true);
    Paths region;
    clean.Execute(ClipperLib::ctUnion, region, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return toShape(offsetPaths(region, delta, join, limit, arcTolerance));
}

// A ring of a union that touches itself passes its touching point twice:
// cut there into loops of their own. Clipper's own strictly simple mode
// does the same but takes time that grows with the square of the points.
void splitAtRepeats(const Path &path, Paths &out)
{
    struct Key {
        std::size_t operator()(const IntPoint &p) const
        {
            return std::hash<cInt>()(p.X) * 31 + std::hash<cInt>()(p.Y);
        }
    };
    struct Same {
        bool operator()(const IntPoint &a, const IntPoint &b) const { return a == b; }
    };
    std::unordered_map<IntPoint, std::size_t, Key, Same> at;
    Path current;
    for (const IntPoint &p : path) {
        const auto it = at.find(p);
        if (it == at.end()) {
            at.emplace(p, current.size());
            current.push_back(p);
            continue;
        }
        Path loop(current.begin() + std::ptrdiff_t(it->second), current.end());
        for (std::size_t k = it->second + 1; k < current.size(); ++k)
            at.erase(current[k]);
        current.resize(it->second + 1);
        if (loop.size() >= 3)
            out.push_back(std::move(loop));
    }
    if (current.size() >= 3)
        out.push_back(std::move(current));
}

Paths strictlySimplePaths(const Paths &paths)
{
    ClipperLib::Clipper clipper;
    clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    Paths united;
    clipper.Execute(ClipperLib::ctUnion, united, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    Paths out;
    for (const Path &path : united)
        splitAtRepeats(path, out);
    return out;
}

double perimeter(const Ring &ring)
{
    double length = 0;
    for (int i = 0; i < ring.size(); ++i)
        length += QLineF(ring[i], ring[(i + 1) % ring.size()]).length();
    return length;
}

double pointSegmentDistance(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    double t = len2 > 0 ? QPointF::dotProduct(p - a, ab) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF q = a + t * ab;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

// Distance from every vertex of from to the boundary of to.
double vertexDistance(const Shape &from, const Shape &to)
{
    double best = std::numeric_limits<double>::infinity();
    for (const Ring &ring : from)
        for (const QPointF &p : ring)
            for (const Ring &other : to)
                for (int i = 0; i < other.size(); ++i)
                    best = std::min(best,
                                    pointSegmentDistance(p, other[i], other[(i + 1) % other.size()]));
    return best;
}

} // namespace

Shape offset(const Shape &shape, double delta, double arcTolerance)
{
    return offsetWith(shape, delta, ClipperLib::jtRound, 2, arcTolerance);
}

Shape offsetMitred(const Shape &shape, double delta, double limit)
{
    return offsetWith(shape, delta, ClipperLib::jtMiter, limit, 0.001);
}

Shape unite(const Shape &a, const Shape &b)
{
    return boolean(ClipperLib::ctUnion, a, b);
}

Shape subtract(const Shape &a, const Shape &b)
{
    return boolean(ClipperLib::ctDifference, a, b);
}

Shape intersect(const Shape &a, const Shape &b)
{
    return boolean(ClipperLib::ctIntersection, a, b);
}

std::vector<QPolygonF> clipLine(const QPolygonF &line, const Shape &clip)
{
    Path open;
    for (const QPointF &p : line) {
        const IntPoint q = toPoint(p);
        if (open.empty() || !(open.back() == q))
            open.push_back(q);
    }
    std::vector<QPolygonF> pieces;
    if (open.size() < 2)
        return pieces;
    ClipperLib::Clipper clipper;
    clipper.AddPath(open, ClipperLib::ptSubject, false);
    clipper.AddPaths(toPaths(clip), ClipperLib::ptClip, true);
    ClipperLib::PolyTree tree;
    clipper.Execute(ClipperLib::ctIntersection, tree, ClipperLib::pftNonZero,
                    ClipperLib::pftNonZero);
    Paths out;
    ClipperLib::OpenPathsFromPolyTree(tree, out);
    for (const Path &path : out) {
        if (path.size() >= 2)
            pieces.push_back(toRing(path));
    }
    return pieces;
}

Shape simplify(const Ring &ring)
{
    Path path = toPath(ring);
    if (path.size() < 3)
        return {};
    return toShape(strictlySimplePaths({path}));
}

Shape strictlySimple(const Shape &shape)
{
    return toShape(strictlySimplePaths(toPaths(shape)));
}

Shape offsetPieces(const Shape &region, double delta, double arcTolerance)
{
    // The region is already one non-zero region and the offset's own result
    // a union: neither needs the union again, only the split at repeats
    // (which gives the same rings, starting at another point).
    Paths pieces;
    for (const Path &path : offsetPaths(toPaths(region), delta, ClipperLib::jtRound, 2, arcTolerance))
        splitAtRepeats(path, pieces);
    return toShape(pieces);
}

double signedArea(const Ring &ring)
{
    double twice = 0;
    for (int i = 0; i < ring.size(); ++i) {
        const QPointF &p = ring[i], &q = ring[(i + 1) % ring.size()];
        twice += p.x() * q.y() - q.x() * p.y();
    }
    return twice / 2;
}

double area(const Shape &shape)
{
    // Clipper's own rings: holes run the other way, so the signed sum is
    // the covered area; any other input is made one region first.
    const Shape region = unite(shape, {});
    double sum = 0;
    for (const Ring &ring : region)
        sum += signedArea(ring);
    return std::abs(sum);
}

bool isSimple(const Ring &ring)
{
    const Path path = toPath(ring);
    if (path.size() < 3)
        return false;
    const Ring rounded = toRing(path);
    const double own = std::abs(signedArea(rounded));
    if (own <= 0)
        return false;
    // A strictly simple union splits the ring wherever it touches or crosses
    // itself, and drops spikes that fold back on themselves: a simple ring
    // comes back whole, with its area and its length.
    const Shape parts = simplify(rounded);
    if (parts.size() != 1)
        return false;
    const double tolerance = 1e-6 * std::max(1.0, own);
    if (std::abs(std::abs(signedArea(parts.front())) - own) > tolerance)
        return false;
    const double length = perimeter(rounded);
    return std::abs(perimeter(parts.front()) - length) <= 1e-3 + 1e-7 * length;
}

double boundaryDistance(const Shape &a, const Shape &b)
{
    // Boundaries that cross: some of a's area lies inside b and some outside.
    const double inside = area(intersect(a, b));
    if (inside > 0 && inside < area(a) - 1e-9 && inside < area(b) - 1e-9)
        return 0;
    return std::min(vertexDistance(a, b), vertexDistance(b, a));
}

int pointIn(const Shape &shape, QPointF p)
{
    const IntPoint q = toPoint(p);
    int winding = 0;
    for (const Ring &ring : shape) {
        const Path path = toPath(ring);
        const int where = ClipperLib::PointInPolygon(q, path);
        if (where < 0)
            return -1;
        if (where > 0)
            winding += ClipperLib::Orientation(path) ? 1 : -1;
    }
    return winding != 0 ? 1 : 0;
}

} // namespace Polygons
