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
    return gridUnits(mm);
}

// The index after and before i in a ring of n points, without a division
// (a remainder in a loop over every point costs more than the rest of it).
size_t after(size_t i, size_t n)
{
    return i + 1 < n ? i + 1 : 0;
}

size_t before(size_t i, size_t n)
{
    return i > 0 ? i - 1 : n - 1;
}

// A box on the grid: edges whose boxes miss it are left out of a search
// that cannot find them.
struct Window {
    double x0, x1, y0, y1;
    bool meets(const IntPoint &a, const IntPoint &b) const
    {
        return double(std::max(a.X, b.X)) >= x0 && double(std::min(a.X, b.X)) <= x1 &&
               double(std::max(a.Y, b.Y)) >= y0 && double(std::min(a.Y, b.Y)) <= y1;
    }
};

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

Paths clipperOffset(const Paths &region, double delta, ClipperLib::JoinType join, double limit,
                    double arcTolerance)
{
    ClipperLib::ClipperOffset offsetter(limit, arcTolerance);
    offsetter.AddPaths(region, join, ClipperLib::etClosedPolygon);
    Paths out;
    offsetter.Execute(out, delta);
    return out;
}

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

// Fills order with 0 .. count - 1 in order of key(i), smallest first
// (equal keys in any order), when the keys come in at most 32 runs that
// go one way, then the other, as a ring's edges along a sweep do: the runs
// are merged, as a natural merge sort does. False, order unfinished, when
// they come in more (a zigzag), for the caller to sort.
template <typename Key> bool orderByRuns(size_t count, Key key, std::vector<uint32_t> &order)
{
    thread_local std::vector<uint32_t> merged;
    thread_local std::vector<size_t> runs;
    constexpr size_t kMostRuns = 32;
    order.resize(count);
    runs.clear();
    runs.push_back(0);
    for (size_t i = 0; i < count && runs.size() <= kMostRuns;) {
        // The run from i: up (the key never falls) or down (never rises),
        // as far as it goes; a run down is put in order backwards.
        size_t j = i + 1;
        const bool up = j == count || key(j) >= key(i);
        while (j < count && (up ? key(j) >= key(j - 1) : key(j) <= key(j - 1)))
            ++j;
        for (size_t k = i; k < j; ++k)
            order[k] = uint32_t(up ? k : i + j - 1 - k);
        runs.push_back(j);
        i = j;
    }
    if (runs.back() != count)
        return false;
    auto less = [&key](uint32_t a, uint32_t b) { return key(a) < key(b); };
    merged.resize(count);
    while (runs.size() > 2) {
        size_t kept = 1;
        for (size_t r = 0; r + 1 < runs.size(); r += 2) {
            const size_t from = runs[r], middle = runs[r + 1];
            const size_t to = r + 2 < runs.size() ? runs[r + 2] : middle;
            std::merge(order.begin() + std::ptrdiff_t(from), order.begin() + std::ptrdiff_t(middle),
                       order.begin() + std::ptrdiff_t(middle), order.begin() + std::ptrdiff_t(to),
                       merged.begin() + std::ptrdiff_t(from), less);
            runs[kept++] = to;
        }
        runs.resize(kept);
        order.swap(merged);
    }
    return true;
}

// Whether two edges of the rings meet, exactly: edges in order of their
// lowest point along the sweep, each tried against those still open across
// it whose ranges across overlap. Edges of one ring are tried against each
// other only when withinRings (but never two in a row), else only edges of
// different rings. The sweep runs down a section's x (the path's Y, see
// toPoint), from the trailing edge: an offset of a section that meets
// itself there (a skin thicker than the tail) is found first. With a
// window, only edges that meet it are tried.
bool edgesMeet(const std::vector<const Path *> &rings, bool withinRings,
               const Window *window = nullptr)
{
    struct Edge {
        cInt along0, along1, across0, across1;
        uint32_t ring, index;
    };
    // Kept from one call to the next on each thread.
    thread_local std::vector<Edge> edges, sorted;
    thread_local std::vector<uint64_t> keys;
    thread_local std::vector<uint32_t> order;
    thread_local std::vector<const Edge *> open;
    edges.clear();
    for (size_t r = 0; r < rings.size(); ++r) {
        const Path &path = *rings[r];
        for (size_t i = 0; i < path.size(); ++i) {
            const IntPoint &a = path[i], &b = path[after(i, path.size())];
            if (window && !window->meets(a, b))
                continue;
            edges.push_back({-std::max(a.Y, b.Y), -std::min(a.Y, b.Y), std::min(a.X, b.X),
                             std::max(a.X, b.X), uint32_t(r), uint32_t(i)});
        }
    }
    if (edges.empty())
        return false;
    // In order of along0: a ring's runs merged; many (a zigzag) sorted as
    // keys of along0 and place packed in one word when they fit, else as
    // they are.
    const size_t count = edges.size();
    if (orderByRuns(count, [](size_t i) { return edges[i].along0; }, order)) {
        sorted.resize(count);
        for (size_t i = 0; i < count; ++i)
            sorted[i] = edges[order[i]];
    } else {
        cInt low = edges.front().along0, high = low;
        for (const Edge &e : edges) {
            low = std::min(low, e.along0);
            high = std::max(high, e.along0);
        }
        constexpr int kPlaceBits = 24;
        if (count < (size_t(1) << kPlaceBits) &&
            uint64_t(high - low) < (uint64_t(1) << (64 - kPlaceBits))) {
            keys.resize(count);
            for (size_t i = 0; i < count; ++i)
                keys[i] = (uint64_t(edges[i].along0 - low) << kPlaceBits) | i;
            std::sort(keys.begin(), keys.end());
            sorted.resize(count);
            for (size_t i = 0; i < count; ++i)
                sorted[i] = edges[keys[i] & ((uint64_t(1) << kPlaceBits) - 1)];
        } else {
            sorted = edges;
            std::stable_sort(sorted.begin(), sorted.end(),
                             [](const Edge &a, const Edge &b) { return a.along0 < b.along0; });
        }
    }
    open.clear();
    for (const Edge &e : sorted) {
        open.erase(std::remove_if(open.begin(), open.end(),
                                  [&](const Edge *o) { return o->along1 < e.along0; }),
                   open.end());
        const Path &pe = *rings[e.ring];
        for (const Edge *o : open) {
            if (o->across1 < e.across0 || e.across1 < o->across0)
                continue;
            const Path &po = *rings[o->ring];
            if (o->ring == e.ring) {
                const size_t n = pe.size(), gap = (e.index + n - o->index) % n;
                if (!withinRings || gap == 1 || gap == n - 1)
                    continue;
            }
            if (meet(pe[e.index], pe[after(e.index, pe.size())], po[o->index],
                     po[after(o->index, po.size())]))
                return true;
        }
        open.push_back(&e);
    }
    return false;
}

bool simplePath(const Path &path)
{
    // Decided on the grid of kUnitsPerMm, the coordinates a cutting file
    // carries, with exact arithmetic: a loop or a touch however small, that
    // a reader of the file would find, is found here.
    const size_t n = path.size();
    if (n < 3)
        return false;
    __int128 twiceArea = 0;
    for (size_t i = 0; i < n; ++i) {
        const IntPoint &a = path[i], &b = path[after(i, n)];
        twiceArea += __int128(a.X) * b.Y - __int128(b.X) * a.Y;
    }
    if (twiceArea == 0)
        return false;
    // Two edges in a row that fold back along one line make a spike.
    for (size_t i = 0; i < n; ++i) {
        const IntPoint &a = path[i], &b = path[after(i, n)], &c = path[after(after(i, n), n)];
        if (turn(a, b, c) == 0 &&
            __int128(b.X - a.X) * (c.X - b.X) + __int128(b.Y - a.Y) * (c.Y - b.Y) < 0)
            return false;
    }
    return !edgesMeet({&path}, true);
}

// A simple ring without its points in line with both neighbours. It has no
// spikes (simplePath refuses them), so such a point lies between the two,
// and so do several in a row.
Path withoutStraight(const Path &path)
{
    const size_t n = path.size();
    std::vector<char> straight(n);
    for (size_t i = 0; i < n; ++i)
        straight[i] = turn(path[before(i, n)], path[i], path[after(i, n)]) == 0;
    Path kept;
    kept.reserve(n);
    for (size_t i = 0; i < n; ++i)
        if (!straight[i])
            kept.push_back(path[i]);
    return kept;
}

// The shape as one non-zero region, as Clipper's union gives it: rings
// that never cross, outer ones turning positively, holes the other way,
// without points that lie straight between their neighbours. A single ring
// that is simple on the grid is such a region already once its straight-
// through points are dropped and it turns the right way: the union's
// sweep, most of an offset's time, is left out.
Paths region(const Shape &shape)
{
    if (shape.size() == 1) {
        Path path = toPath(shape.front());
        if (simplePath(path)) {
            Path kept = withoutStraight(path);
            if (!ClipperLib::Orientation(kept))
                ClipperLib::ReversePath(kept);
            return {std::move(kept)};
        }
    }
    ClipperLib::Clipper clean;
    clean.AddPaths(toPaths(shape), ClipperLib::ptSubject, true);
    Paths united;
    clean.Execute(ClipperLib::ctUnion, united, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return united;
}

// No vertex of a comes nearer than reach to an edge of b, nor any vertex of
// b to an edge of a. A vertex that near an edge lies in the edge's box grown
// by reach, so its own edge's box meets that grown box: the edges of both
// are swept along the path's Y (a section's x), those of b with their boxes
// grown (by a hair more, against the rounding), and each pair whose boxes
// meet has the start of either edge tried against the other, as a grid of
// the edges would try it. With a window, only the edges of b that meet it
// are swept: it must hold a's box grown by reach.
bool clearOfEachOther(const Paths &a, const Paths &b, double reach,
                      const Window *bWindow = nullptr)
{
    struct Edge {
        double ax, ay, dx, dy, inv;
        double left, right, bottom, top; // its box
    };
    // An open edge as the sweep reads it: its box grown as the other set's
    // edges see it (b's by growth, a's not at all).
    struct Open {
        double top, left, right;
        uint32_t edge;
    };
    // b's edges first: an edge of a has an index from bCount on.
    thread_local std::vector<Edge> edges;
    thread_local std::vector<double> keys;
    thread_local std::vector<uint32_t> order, near2;
    thread_local std::vector<Open> openA, openB;
    edges.clear();
    keys.clear();
    const double growth = reach * (1 + 1e-9) + 1;
    size_t bCount = 0;
    for (const Paths *set : {&b, &a}) {
        const double g = set == &b ? growth : 0;
        for (const Path &path : *set)
            for (size_t i = 0; i < path.size(); ++i) {
                const IntPoint &p = path[i], &q = path[after(i, path.size())];
                if (set == &b && bWindow && !bWindow->meets(p, q))
                    continue;
                const double ax = double(p.X), ay = double(p.Y);
                const double dx = double(q.X) - ax, dy = double(q.Y) - ay;
                const double len2 = dx * dx + dy * dy;
                const double bottom = std::min(ay, ay + dy);
                edges.push_back({ax, ay, dx, dy, len2 > 0 ? 1 / len2 : 0, std::min(ax, ax + dx),
                                 std::max(ax, ax + dx), bottom, std::max(ay, ay + dy)});
                keys.push_back(bottom - g);
            }
        if (set == &b)
            bCount = edges.size();
    }
    const double reach2 = reach * reach;
    // The start of edge e nearer than reach to edge f: within f's box grown
    // by reach, and by its distance (both worked out, without a branch).
    auto near = [reach, reach2](const Edge &e, const Edge &f) {
        const double px = e.ax, py = e.ay;
        const bool inBox = !(px < f.left - reach) & !(px > f.right + reach) &
                           !(py < f.bottom - reach) & !(py > f.top + reach);
        const double t = std::clamp(((px - f.ax) * f.dx + (py - f.ay) * f.dy) * f.inv, 0.0, 1.0);
        const double ex = f.ax + t * f.dx - px, ey = f.ay + t * f.dy - py;
        return inBox & (ex * ex + ey * ey < reach2);
    };
    if (!orderByRuns(keys.size(), [](size_t i) { return keys[i]; }, order)) {
        for (size_t i = 0; i < keys.size(); ++i)
            order[i] = uint32_t(i);
        std::sort(order.begin(), order.end(),
                  [](uint32_t x, uint32_t y) { return keys[x] < keys[y]; });
    }
    openA.clear();
    openB.clear();
    for (uint32_t k : order) {
        const Edge &e = edges[k];
        const bool ofB = k < bCount;
        // The open edges of the other set: those that end before this one
        // starts along the sweep are dropped, the others kept in order, and
        // those whose boxes meet this one's across are noted; all in one
        // pass without a branch (which edge is which follows no pattern a
        // processor could learn), the distances then measured for the few
        // noted.
        std::vector<Open> &others = ofB ? openA : openB;
        const double from = keys[k];
        const double g = ofB ? growth : 0;
        const double left = e.left - g, right = e.right + g;
        near2.resize(others.size());
        size_t kept = 0, noted = 0;
        for (size_t at = 0; at < others.size(); ++at) {
            const Open o = others[at];
            const bool open = !(o.top < from);
            others[kept] = o;
            kept += open;
            near2[noted] = o.edge;
            noted += open & !(o.right < left) & !(right < o.left);
        }
        others.resize(kept);
        for (size_t at = 0; at < noted; ++at) {
            const Edge &f = edges[near2[at]];
            if (near(e, f) | near(f, e))
                return false;
        }
        (ofB ? openB : openA).push_back({e.top + g, e.left - g, e.right + g, k});
    }
    return true;
}

// The closed rings Clipper's offset would make of a region before its
// union, round joins, step by step as ClipperOffset makes them, but for one
// thing. Where the offsets of two edges in a row overlap, Clipper goes to
// the end of the first, back to the corner and out to the start of the
// second: a loop at every such corner of a curve drawn in short lines,
// which its union then undoes one crossing at a time. Here the two are
// joined where they cross, when that lies within both. The loop cut off
// lies within |delta| of its corner, outside the offset.
Paths trimmedRings(const Paths &region, double delta, double arcTolerance, size_t *joins)
{
    *joins = 0;
    constexpr double kPi = 3.14159265358979323846;
    const double y = std::min(arcTolerance, 0.25 * std::abs(delta));
    double steps = kPi / std::acos(1 - y / std::abs(delta));
    steps = std::min(steps, std::abs(delta) * kPi);
    const double sinStep = std::sin(2 * kPi / steps) * (delta < 0 ? -1 : 1);
    const double cosStep = std::cos(2 * kPi / steps);
    const double stepsPerRad = steps / (2 * kPi);
    // A turn forward of less than 1.4 steps' angle is one step, as rounded
    // below: most are, and need no arc tangent to tell.
    const double oneStepSin = 1.4 / stepsPerRad < kPi / 2 ? std::sin(1.4 / stepsPerRad) : 2.0;
    // Rounded as ClipperOffset rounds its points (halves up, by adding one).
    auto clipperRound = [](double v) { return v < 0 ? cInt(v - 0.5) : cInt(v + 0.5); };
    auto rounded = [&](double x, double y) { return IntPoint(clipperRound(x), clipperRound(y)); };
    Paths out;
    std::vector<std::pair<double, double>> normals;
    for (const Path &src : region) {
        const size_t n = src.size();
        if (n < 3)
            continue;
        normals.resize(n);
        for (size_t j = 0; j < n; ++j) {
            const IntPoint &a = src[j], &b = src[after(j, n)];
            const double dx = double(b.X - a.X), dy = double(b.Y - a.Y);
            const double f = dx == 0 && dy == 0 ? 0 : 1 / std::sqrt(dx * dx + dy * dy);
            normals[j] = {dy * f, -dx * f};
        }
        Path dest;
        dest.reserve(n * 2);
        // Where the last point put down lies along the offset of edge k, as
        // a share of its length (0 at its start), when it was a crossing.
        double along = 0, firstAlong = -1;
        size_t k = n - 1;
        for (size_t j = 0; j < n; ++j) {
            const auto [kx, ky] = normals[k];
            const auto [jx, jy] = normals[j];
            const double px = double(src[j].X), py = double(src[j].Y);
            double sinA = kx * jy - jx * ky;
            if (std::abs(sinA * delta) < 1.0) {
                if (kx * jx + ky * jy > 0) {
                    // Nearly straight on: one point, and k stays as it was.
                    dest.push_back(rounded(px + kx * delta, py + ky * delta));
                    along = 0;
                    continue;
                }
            } else {
                sinA = std::clamp(sinA, -1.0, 1.0);
            }
            if (sinA * delta < 0) {
                bool joined = false;
                {
                    // The edge before j offset along normal k (its own, or
                    // that of the straight run it ends, from the last point
                    // put down: a0 to a1) and edge j offset (b0 to b1)
                    // cross at a0 + s (a1 - a0) = b0 + t (b1 - b0).
                    const IntPoint &pk = src[before(j, n)], &pn = src[after(j, n)];
                    const double a0x = double(pk.X) + kx * delta, a0y = double(pk.Y) + ky * delta;
                    const double ax = px - double(pk.X), ay = py - double(pk.Y);
                    const double b0x = px + jx * delta, b0y = py + jy * delta;
                    const double bx = double(pn.X) - px, by = double(pn.Y) - py;
                    const double den = ax * by - ay * bx;
                    if (den != 0) {
                        const double s = ((b0x - a0x) * by - (b0y - a0y) * bx) / den;
                        const double t = ((b0x - a0x) * ay - (b0y - a0y) * ax) / den;
                        const double last = j == n - 1 && firstAlong >= 0 ? firstAlong : 1.0;
                        if (s > along && s < 1 && t > 0 && t < last) {
                            dest.push_back(rounded(a0x + s * ax, a0y + s * ay));
                            if (j == 0)
                                firstAlong = s;
                            along = t;
                            joined = true;
                            ++*joins;
                        }
                    }
                }
                if (!joined) {
                    dest.push_back(rounded(px + kx * delta, py + ky * delta));
                    dest.push_back(src[j]);
                    dest.push_back(rounded(px + jx * delta, py + jy * delta));
                    along = 0;
                }
            } else {
                const double cosA = kx * jx + ky * jy;
                const int count =
                    cosA > 0 && std::abs(sinA) < oneStepSin
                        ? 1
                        : std::max(int(std::llround(stepsPerRad * std::abs(std::atan2(sinA, cosA)))),
                                   1);
                double x = kx, yy = ky;
                for (int i = 0; i < count; ++i) {
                    dest.push_back(rounded(px + x * delta, py + yy * delta));
                    const double x2 = x;
                    x = x * cosStep - sinStep * yy;
                    yy = x2 * sinStep + yy * cosStep;
                }
                dest.push_back(rounded(px + jx * delta, py + jy * delta));
                along = 0;
            }
            k = j;
        }
        out.push_back(std::move(dest));
    }
    return out;
}

// Clipper turns every ring round when the one with the lowest point runs
// the wrong way (a region's outer rings run positively).
bool lowestTurnsPositively(const Paths &paths)
{
    const Path *lowest = nullptr;
    const IntPoint *at = nullptr;
    for (const Path &path : paths)
        for (const IntPoint &p : path)
            if (!at || p.Y > at->Y || (p.Y == at->Y && p.X < at->X)) {
                at = &p;
                lowest = &path;
            }
    return lowest && ClipperLib::Orientation(*lowest);
}

Paths offsetPaths(const Paths &region, double delta, ClipperLib::JoinType join, double limit,
                  double arcTolerance)
{
    const double units = delta * kUnitsPerMm;
    const double tolerance = std::max(1.0, arcTolerance * kUnitsPerMm);
    if (join != ClipperLib::jtRound || !(std::abs(units) >= 8) || !lowestTurnsPositively(region))
        return clipperOffset(region, units, join, limit, tolerance);
    // The rings with their loops cut off fill the same region by the
    // positive rule as Clipper's own, for far less work in the union. That
    // holds while no other part of them comes into a loop cut off; the
    // result is checked for it (nothing of it nearer to the region's edges
    // than |delta|, less the arcs' tolerance and the rounding, nor the other
    // way round), and is otherwise Clipper's.
    size_t joins = 0;
    Paths out = trimmedRings(region, units, tolerance, &joins);
    const bool simple = out.size() == 1 && simplePath(out.front());
    if (simple) {
        // One ring that never meets itself: its inside, when it turns the
        // way the region does (else nothing is left: a shrink past the
        // middle turns it inside out).
        if (ClipperLib::Orientation(out.front()) != ClipperLib::Orientation(region.front()))
            out.clear();
        else
            out.front() = withoutStraight(out.front());
    } else {
        ClipperLib::Clipper clipper;
        clipper.AddPaths(out, ClipperLib::ptSubject, true);
        clipper.Execute(ClipperLib::ctUnion, out, ClipperLib::pftPositive, ClipperLib::pftPositive);
    }
    // Clipper's arcs end with a step up to half as long again as the others,
    // whose chord lies up to 2.25 times the tolerance inside the arc.
    const double reach = std::abs(units) - 2.25 * std::min(tolerance, 0.25 * std::abs(units)) - 2;
    // With no loop cut off, a simple ring is Clipper's own, union and all.
    if ((simple && joins == 0) ||
        clearOfEachOther(out, region, reach))
        return out;
    return clipperOffset(region, units, join, limit, tolerance);
}

Shape offsetWith(const Shape &shape, double delta, ClipperLib::JoinType join, double limit,
                 double arcTolerance)
{
    // Rings of either direction are first made one non-zero region, so that
    // the offset grows outer rings and shrinks holes whatever their order.
    return toShape(offsetPaths(region(shape), delta, join, limit, arcTolerance));
}

// A ring of a union that touches itself passes its touching point twice:
// cut there into loops of their own. Clipper's own strictly simple mode
// does the same but takes time that grows with the square of the points.
void splitAtRepeats(const Path &path, Paths &out)
{
    // Most rings pass no point twice: looked for first in a table of their
    // own, kept from one call to the next on each thread.
    thread_local std::vector<uint32_t> table;
    size_t size = 16;
    while (size < 2 * path.size())
        size *= 2;
    table.assign(size, 0);
    bool repeats = false;
    for (size_t i = 0; i < path.size() && !repeats; ++i) {
        const IntPoint &p = path[i];
        size_t at = size_t((uint64_t(p.X) * 0x9E3779B97F4A7C15ULL) ^
                           (uint64_t(p.Y) * 0xC2B2AE3D27D4EB4FULL)) &
                    (size - 1);
        for (; table[at] != 0; at = (at + 1) & (size - 1))
            if (path[table[at] - 1] == p) {
                repeats = true;
                break;
            }
        table[at] = uint32_t(i + 1);
    }
    if (!repeats) {
        if (path.size() >= 3)
            out.push_back(path);
        return;
    }
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

Shape clipToRect(const Shape &shape, const QRectF &rect)
{
    Shape out;
    Ring in, kept;
    for (const Ring &ring : shape) {
        kept = ring;
        // Against each side in turn: x >= left, x <= right, y >= top,
        // y <= bottom.
        for (int side = 0; side < 4 && !kept.isEmpty(); ++side) {
            const bool alongX = side < 2;
            const double limit = side == 0   ? rect.left()
                                 : side == 1 ? rect.right()
                                 : side == 2 ? rect.top()
                                             : rect.bottom();
            const double sign = side % 2 == 0 ? 1 : -1;
            auto inside = [&](QPointF p) { return sign * ((alongX ? p.x() : p.y()) - limit) >= 0; };
            in.swap(kept);
            kept.clear();
            for (int i = 0; i < in.size(); ++i) {
                const QPointF a = in[i], b = in[(i + 1) % in.size()];
                const bool ia = inside(a), ib = inside(b);
                if (ia)
                    kept.append(a);
                if (ia != ib) {
                    const double va = alongX ? a.x() : a.y(), vb = alongX ? b.x() : b.y();
                    const double t = (limit - va) / (vb - va);
                    const QPointF c = a + t * (b - a);
                    kept.append(alongX ? QPointF(limit, c.y()) : QPointF(c.x(), limit));
                }
            }
        }
        if (kept.size() >= 3)
            out.push_back(kept);
    }
    return out;
}

Shape unite(const Shape &a, const Shape &b)
{
    if (b.empty())
        return toShape(region(a));
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
    auto largestOf = [](const Shape &parts) {
        Ring largest;
        for (const Ring &part : parts)
            if (std::abs(signedArea(part)) > std::abs(signedArea(largest)))
                largest = part;
        return largest;
    };
    const Ring largest = largestOf(strictlySimple({ring}));
    if (largest.isEmpty() || isSimple(largest))
        return largest;
    // Pinched to a point that is no vertex of the ring's (a vertex on an
    // edge): Clipper's own strictly simple mode, slow but rare, parts it.
    ClipperLib::Clipper clipper;
    clipper.StrictlySimple(true);
    clipper.AddPath(toPath(ring), ClipperLib::ptSubject, true);
    Paths parts;
    clipper.Execute(ClipperLib::ctUnion, parts, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    return largestOf(toShape(parts));
}

Shape offsetPieces(const Shape &region, double delta, double arcTolerance)
{
    // The region is already one non-zero region and the offset's own result
    // a union: neither needs the union again, only the split at repeats
    // (which gives the same rings, starting at another point).
    Paths pieces;
    const Paths in = region.size() == 1 ? Polygons::region(region) : toPaths(region);
    for (const Path &path : offsetPaths(in, delta, ClipperLib::jtRound, 2, arcTolerance))
        splitAtRepeats(path, pieces);
    return toShape(pieces);
}

Shape offsetRegion(const Shape &region, double delta, double arcTolerance)
{
    return toShape(offsetPaths(toPaths(region), delta, ClipperLib::jtRound, 2, arcTolerance));
}

double signedArea(const Ring &ring)
{
    double twice = 0;
    for (int i = 0; i < ring.size(); ++i) {
        const QPointF &p = ring[i], &q = ring[i + 1 < ring.size() ? i + 1 : 0];
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
    return simplePath(toPath(ring));
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
        // inside the chord.
        auto farthestInside = [&](size_t from, size_t to) {
            double m = 0;
            for (size_t i = from; i < to; ++i) {
                const double c = across(line[i]), t = along(line[i]);
                m = std::max(m, t > 0 && t < len2 ? c * c : 0.0);
            }
            return m;
        };
        // Run by run, a run that cannot beat the farthest so far is passed
        // over after one pass without a branch (the same as farthestInside,
        // keeping each point's cross and along for the second pass).
        auto look = [&](size_t from, size_t to) {
            double cs[kBlock], ts[kBlock];
            for (size_t run = from; run < to; run += kBlock) {
                const size_t count = std::min(to, run + kBlock) - run;
                double m = 0;
                bool allInside = true;
                for (size_t k = 0; k < count; ++k) {
                    const double c = across(line[run + k]), t = along(line[run + k]);
                    cs[k] = c;
                    ts[k] = t;
                    const bool inside = t > 0 && t < len2;
                    m = std::max(m, inside ? c * c : 0.0);
                    allInside = allInside && inside;
                }
                if (allInside && m * kOver < beaten)
                    continue;
                beaten = std::max(beaten, m * kUnder);
                for (size_t k = 0; k < count; ++k) {
                    if (cs[k] * cs[k] * kOver < beaten && ts[k] > 0 && ts[k] < len2)
                        continue;
                    const size_t i = run + k;
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

void uprightCrossings(const Ring &ring, double x, std::vector<double> &ys)
{
    for (int i = 0, n = int(ring.size()); i < n; ++i) {
        const QPointF a = ring[i], b = ring[i + 1 < n ? i + 1 : 0];
        if ((a.x() <= x) != (b.x() <= x))
            ys.push_back(a.y() + (x - a.x()) * (b.y() - a.y()) / (b.x() - a.x()));
    }
}

bool edgesClearOf(const Shape &shape, QPointF p, double distance)
{
    const double reach2 = distance * distance;
    for (const Ring &r : shape)
        for (int i = 0, n = int(r.size()); i < n; ++i)
            if (squaredSegmentDistance(p, r[i], r[i + 1 < n ? i + 1 : 0]) < reach2)
                return false;
    return true;
}

bool clearInside(const Ring &ring, const Shape &shape, double distance)
{
    if (ring.isEmpty() || pointIn(shape, ring.front()) != 1)
        return false;
    const Paths inner{toPath(ring)}, outer = toPaths(shape);
    // On the grid, less a step for the rounding of both. Two edges that
    // cross come no nearer than that at their ends: crossings are looked
    // for on their own.
    const double reach = distance * kUnitsPerMm - 1;
    std::vector<const Path *> both{&inner.front()};
    for (const Path &path : outer)
        both.push_back(&path);
    // Against one ring, only its edges about the inner ring count: a
    // vertex of either near an edge of the other, and a crossing, lie
    // within the inner ring's box grown by reach. (Two rings of the shape
    // could meet each other anywhere.)
    Window window{0, 0, 0, 0};
    const bool oneRing = outer.size() == 1 && !inner.front().empty();
    if (oneRing) {
        const Path &path = inner.front();
        window = {double(path.front().X), double(path.front().X), double(path.front().Y),
                  double(path.front().Y)};
        for (const IntPoint &p : path) {
            window.x0 = std::min(window.x0, double(p.X));
            window.x1 = std::max(window.x1, double(p.X));
            window.y0 = std::min(window.y0, double(p.Y));
            window.y1 = std::max(window.y1, double(p.Y));
        }
        const double margin = std::max(reach, 0.0) + 2;
        window = {window.x0 - margin, window.x1 + margin, window.y0 - margin,
                  window.y1 + margin};
    }
    const Window *only = oneRing ? &window : nullptr;
    return clearOfEachOther(inner, outer, reach, only) && !edgesMeet(both, false, only);
}

double boundaryDistance(const Shape &a, const Shape &b)
{
    // Boundaries that cross: some of a's area lies inside b and some outside.
    // Clipper's booleans may drop a point a grid step from its neighbours,
    // a hundred square steps of area: less than that outside is none.
    constexpr double kSliver = 1e-6; // mm²
    const double inside = area(intersect(a, b));
    if (inside > kSliver && inside < area(a) - kSliver && inside < area(b) - kSliver)
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
