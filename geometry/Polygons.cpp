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

Ring simpleRing(const Ring &ring)
{
    if (isSimple(ring))
        return ring;
    // Points of an offset are rounded crossings, which can leave a zigzag
    // of a unit or two that crosses itself.
    Path cleaned;
    ClipperLib::CleanPolygon(toPath(ring), cleaned, 2.5);
    if (cleaned.size() >= 3) {
        const Ring clean = toRing(cleaned);
        if (isSimple(clean))
            return clean;
    }
    Ring largest;
    for (const Ring &part : strictlySimple({ring}))
        if (std::abs(signedArea(part)) > std::abs(signedArea(largest)))
            largest = part;
    return largest;
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

namespace
{

// Sign of the turn a -> b -> c, exact on the grid (products in 128 bits).
int turn(const IntPoint &a, const IntPoint &b, const IntPoint &c)
{
    const __int128 t = __int128(b.X - a.X) * (c.Y - a.Y) - __int128(b.Y - a.Y) * (c.X - a.X);
    return (t > 0) - (t < 0);
}

// c lies on the segment ab, turn(a, b, c) being 0.
bool within(const IntPoint &a, const IntPoint &b, const IntPoint &c)
{
    return std::min(a.X, b.X) <= c.X && c.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= c.Y &&
           c.Y <= std::max(a.Y, b.Y);
}

// The closed segments ab and cd share a point.
bool meet(const IntPoint &a, const IntPoint &b, const IntPoint &c, const IntPoint &d)
{
    const int t1 = turn(c, d, a), t2 = turn(c, d, b), t3 = turn(a, b, c), t4 = turn(a, b, d);
    if (t1 * t2 < 0 && t3 * t4 < 0)
        return true;
    return (t1 == 0 && within(c, d, a)) || (t2 == 0 && within(c, d, b)) ||
           (t3 == 0 && within(a, b, c)) || (t4 == 0 && within(a, b, d));
}

} // namespace

bool isSimple(const Ring &ring)
{
    // Decided on the grid of kUnitsPerMm, the coordinates a cutting file
    // carries, with exact arithmetic: a loop or a touch however small, that
    // a reader of the file would find, is found here.
    const Path path = toPath(ring);
    const size_t n = path.size();
    if (n < 3)
        return false;
    __int128 twiceArea = 0;
    for (size_t i = 0; i < n; ++i) {
        const IntPoint &a = path[i], &b = path[(i + 1) % n];
        twiceArea += __int128(a.X) * b.Y - __int128(b.X) * a.Y;
    }
    if (twiceArea == 0)
        return false;
    // Two edges in a row that fold back along one line make a spike.
    for (size_t i = 0; i < n; ++i) {
        const IntPoint &a = path[i], &b = path[(i + 1) % n], &c = path[(i + 2) % n];
        if (turn(a, b, c) == 0 &&
            __int128(b.X - a.X) * (c.X - b.X) + __int128(b.Y - a.Y) * (c.Y - b.Y) < 0)
            return false;
    }
    // Every other pair of edges must not meet: edges in order of their
    // lowest point along the ring's x (the path's Y, see toPoint), each
    // tried against those still open across it whose ranges across
    // overlap.
    struct Edge {
        cInt along0, along1, across0, across1;
        size_t index;
    };
    std::vector<Edge> edges(n);
    for (size_t i = 0; i < n; ++i) {
        const IntPoint &a = path[i], &b = path[(i + 1) % n];
        edges[i] = {std::min(a.Y, b.Y), std::max(a.Y, b.Y), std::min(a.X, b.X), std::max(a.X, b.X),
                    i};
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge &a, const Edge &b) { return a.along0 < b.along0; });
    std::vector<const Edge *> open;
    for (const Edge &e : edges) {
        open.erase(std::remove_if(open.begin(), open.end(),
                                  [&](const Edge *o) { return o->along1 < e.along0; }),
                   open.end());
        for (const Edge *o : open) {
            const size_t gap = (e.index + n - o->index) % n;
            if (gap == 1 || gap == n - 1 || o->across1 < e.across0 || e.across1 < o->across0)
                continue;
            if (meet(path[e.index], path[(e.index + 1) % n], path[o->index],
                     path[(o->index + 1) % n]))
                return false;
        }
        open.push_back(&e);
    }
    return true;
}

void appendThinned(Ring &out, const std::vector<QPointF> &line, double tolerance)
{
    if (line.empty())
        return;
    const size_t n = line.size();
    // The farthest point of a stretch from its chord is looked for block by
    // block. The points of a block lie within its width of the segment that
    // joins the two of them farthest apart along the block's direction, so
    // none is farther from the chord's line than the farther end of that
    // segment plus the width: a block that cannot beat the farthest point
    // found so far is passed over. The block that reaches farthest is read
    // first; the search then goes in order from the start. The points kept
    // are those of a point-by-point search: the farthest, the first of
    // equals.
    constexpr size_t kBlock = 16;
    const size_t blocks = n / kBlock;
    struct Block {
        QPointF from, to;
        double width;
    };
    std::vector<Block> spans(blocks);
    for (size_t k = 0; k < blocks; ++k) {
        const QPointF s0 = line[k * kBlock];
        const QPointF u = line[(k + 1) * kBlock - 1] - s0;
        const double length2 = QPointF::dotProduct(u, u);
        double low = 0, high = 0, width = 0;
        for (size_t i = k * kBlock + 1; i < (k + 1) * kBlock; ++i) {
            const QPointF v = line[i] - s0;
            const double t = QPointF::dotProduct(v, u);
            low = std::min(low, t);
            high = std::max(high, t);
            width = std::max(width, length2 > 0 ? std::abs(v.x() * u.y() - v.y() * u.x())
                                                : QPointF::dotProduct(v, v));
        }
        // Along the block's direction, and across it (a block of one
        // repeated point: its radius).
        const double length = std::sqrt(length2);
        width = length2 > 0 ? width / length : std::sqrt(width);
        const QPointF from = length2 > 0 ? s0 + (low / length2) * u : s0;
        const QPointF to = length2 > 0 ? s0 + (high / length2) * u : s0;
        // The width above the rounding of all this, far below the tolerance.
        spans[k] = {from, to, width * (1 + 1e-9) + 1e-9};
    }
    // Relative margins far above the rounding of the distances.
    constexpr double kOver = 1 + 1e-8, kUnder = 1 - 1e-8;
    std::vector<double> reach;
    std::vector<char> keep(n, 0);
    keep.front() = keep.back() = 1;
    std::vector<std::pair<size_t, size_t>> stack{{0, n - 1}};
    while (!stack.empty()) {
        const auto [a, b] = stack.back();
        stack.pop_back();
        const QPointF pa = line[a], pb = line[b];
        double worst = tolerance * tolerance;
        size_t at = 0;
        // A point that projects inside the chord lies at its distance from
        // the chord's line, |cross| / len, with no division to find it. In
        // cross² (len2 times the squared distance): beaten is what a point
        // must come near to be the farthest. It rises with the farthest
        // point found, and with the nearest any point known to project
        // inside is sure to be: one well short of it is passed over.
        const QPointF ab = pb - pa;
        const double len2 = QPointF::dotProduct(ab, ab);
        const double len = std::sqrt(len2);
        double beaten = worst * len2;
        auto along = [&](QPointF p) { return QPointF::dotProduct(p - pa, ab); };
        auto across = [&](QPointF p) {
            return (p.x() - pa.x()) * ab.y() - (p.y() - pa.y()) * ab.x();
        };
        // The largest cross² of the points of [from, to) that project
        // inside the chord, and whether they all do.
        auto farthestInside = [&](size_t from, size_t to, bool *allInside = nullptr) {
            double m = 0;
            bool all = true;
            for (size_t i = from; i < to; ++i) {
                const double c = across(line[i]), t = along(line[i]);
                const bool inside = t > 0 && t < len2;
                m = std::max(m, inside ? c * c : 0.0);
                all = all && inside;
            }
            if (allInside)
                *allInside = all;
            return m;
        };
        // Run by run, a run that cannot beat the farthest so far is passed
        // over after one pass without a branch.
        auto look = [&](size_t from, size_t to) {
            for (size_t run = from; run < to; run += kBlock) {
                const size_t end = std::min(to, run + kBlock);
                bool allInside = false;
                const double m = farthestInside(run, end, &allInside);
                if (allInside && m * kOver < beaten)
                    continue;
                beaten = std::max(beaten, m * kUnder);
                for (size_t i = run; i < end; ++i) {
                    const double c = across(line[i]), t = along(line[i]);
                    if (c * c * kOver < beaten && t > 0 && t < len2)
                        continue;
                    const double d = squaredSegmentDistance(line[i], pa, pb);
                    if (d > worst) {
                        worst = d;
                        at = i;
                        beaten = std::max(beaten, worst * len2);
                    }
                }
            }
        };
        // Whole blocks strictly between a and b: [first, last).
        const size_t first = (a + kBlock) / kBlock, last = b / kBlock;
        if (last < first + 2 || !(len2 > 0)) {
            look(a + 1, b);
        } else {
            // reach: the block's bound on cross², or -1 when some point of
            // it may project outside the chord.
            reach.resize(last - first);
            size_t best = first;
            for (size_t k = first; k < last; ++k) {
                const QPointF s0 = spans[k].from, s1 = spans[k].to;
                const double spread = spans[k].width * len;
                const double t0 = along(s0), t1 = along(s1);
                const double m = std::max(std::abs(across(s0)), std::abs(across(s1))) + spread;
                const bool inside = std::min(t0, t1) - spread > 0 && std::max(t0, t1) + spread < len2;
                reach[k - first] = inside ? m * m * kOver : -1;
                if (reach[k - first] > reach[best - first])
                    best = k;
            }
            beaten = std::max(beaten, farthestInside(best * kBlock, (best + 1) * kBlock) * kUnder);
            look(a + 1, first * kBlock);
            for (size_t k = first; k < last; ++k)
                if (reach[k - first] < 0 || reach[k - first] >= beaten)
                    look(k * kBlock, (k + 1) * kBlock);
            look(last * kBlock, b);
        }
        if (at) {
            keep[at] = 1;
            stack.push_back({a, at});
            stack.push_back({at, b});
        }
    }
    for (size_t i = 0; i < n; ++i)
        if (keep[i] && (out.isEmpty() || out.last() != line[i]))
            out.append(line[i]);
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
