#include "geometry/RibOutline.h"

#include "geometry/TemplateGeometry.h"
#include "numbers/VectorState.h"

#include <algorithm>
#include <cmath>

namespace RibOutline
{

namespace
{

// Points of a polyline that a straight line through their neighbours
// passes within this (mm) add nothing a cutter or an offset can see.
constexpr double kThinning = 2e-3;
// Far more than the offsets' arc tolerance and rounding (mm).
constexpr double kDeepSlack = 0.01;

void appendThinned(Polygons::Ring &out, const std::vector<QPointF> &line)
{
    Polygons::appendThinned(out, line, kThinning);
}

std::vector<QPointF> toMm(const std::vector<FPoint> &samples, const ViewGeometry &view,
                          float clipX)
{
    std::vector<QPointF> out;
    out.reserve(samples.size());
    for (FPoint p : samples)
        out.push_back({(double(std::min(p.x, clipX)) - view.originXf) / view.scale,
                       (double(p.y) - view.originYf) / view.scale});
    return out;
}

ViewGeometry millimetreView(const WorkingData &wd, float scale)
{
    ViewGeometry g;
    g.mode = OutputMode::Printer;
    g.scale = scale;
    g.originX = g.originY = 0;
    g.originXf = g.originYf = 0;
    g.pointScale = scale * wd.chord * 0.01f;
    for (int i = 0; i <= wd.lastPoint; ++i) {
        g.upperView[size_t(i)] = {g.pointScale * wd.upper[size_t(i)].x,
                                  g.pointScale * wd.upper[size_t(i)].y};
        g.lowerView[size_t(i)] = {g.pointScale * wd.lower[size_t(i)].x,
                                  g.pointScale * wd.lower[size_t(i)].y};
    }
    g.trailingEdgeX = roundPixel(g.upperView[size_t(wd.lastPoint)].x);
    return g;
}

bool drawable(const WorkingData &wd)
{
    return wd.lastPoint > 0 && wd.lastPoint < kMaxProfilePoints;
}

QRectF box(const Polygons::Ring &ring)
{
    return ring.boundingRect();
}

bool hasRoom(const Polygons::Ring &profile, double radius)
{
    return !Polygons::offset({profile}, -radius).empty();
}

// A point of ring at least depth inside shape (every ring of which is a
// boundary), looked for at the middle of the widest crossing of a few
// upright lines; false when none is found, which proves nothing.
bool hasDeepPoint(const Polygons::Ring &ring, const Polygons::Shape &shape, double depth)
{
    constexpr int kLines = 8;
    const QRectF span = box(ring);
    std::vector<double> ys;
    for (int k = 0; k < kLines; ++k) {
        const double x = span.left() + span.width() * (k + 0.5) / kLines;
        ys.clear();
        Polygons::uprightCrossings(ring, x, ys);
        std::sort(ys.begin(), ys.end());
        double widest = 0, middle = 0;
        for (size_t i = 0; i + 1 < ys.size(); i += 2)
            if (ys[i + 1] - ys[i] > widest) {
                widest = ys[i + 1] - ys[i];
                middle = (ys[i] + ys[i + 1]) / 2;
            }
        if (widest < 2 * depth)
            continue;
        const QPointF q(x, middle);
        if (Polygons::edgesClearOf(shape, q, depth) && Polygons::pointIn(shape, q) == 1)
            return true;
    }
    return false;
}

// Where the surfaces meet (the upper one's last point at ring[at - 1],
// the lower one's first at ring[at]; at 0 for the nose, where the ring
// closes), the skin may carry the two end points past each other: the last
// piece of one surface then crosses the first of the other by a hair,
// leaving a loop far under a pixel. The surfaces are joined at the crossing.
void joinCrossedEnds(Polygons::Ring &ring, int at)
{
    const int n = int(ring.size());
    if (n < 5 || at < 0 || at >= n)
        return;
    const int i0 = (at - 2 + n) % n, i1 = (at - 1 + n) % n, j0 = at, j1 = (at + 1) % n;
    const QPointF a = ring[i0], b = ring[i1], c = ring[j0], d = ring[j1];
    auto turn = [](QPointF o, QPointF p, QPointF q) {
        const double t = (p.x() - o.x()) * (q.y() - o.y()) - (p.y() - o.y()) * (q.x() - o.x());
        return (t > 0) - (t < 0);
    };
    if (turn(a, b, c) * turn(a, b, d) >= 0 || turn(c, d, a) * turn(c, d, b) >= 0)
        return;
    const QPointF r = b - a, q = d - c;
    const double t =
        ((c.x() - a.x()) * q.y() - (c.y() - a.y()) * q.x()) / (r.x() * q.y() - r.y() * q.x());
    ring[i1] = a + t * r;
    ring.remove(j0);
}

} // namespace

Polygons::Ring profileRing(const WorkingData &wd, int smoothing)
{
    if (!drawable(wd))
        return {};
    OutlineCurves curves;
    const ViewGeometry g = millimetreView(wd, 1.0f);
    curves.storeProfileKnots(g, wd.lastPoint);
    curves.smooth(std::clamp(smoothing, 0, 100));
    const float noClip = 1e30f;
    Polygons::Ring ring;
    appendThinned(ring, toMm(curves.curveSamples(true), g, noClip));
    std::vector<QPointF> lower = toMm(curves.curveSamples(false), g, noClip);
    std::reverse(lower.begin(), lower.end());
    appendThinned(ring, lower);
    return ring;
}

Room room(const WorkingData &wd, float skinTenths, int smoothing)
{
    VectorState::settle();
    Room r;
    r.profile = profileRing(wd, smoothing);
    r.skin = double(skinTenths) * 0.1;
    if (r.profile.size() < 3 || !(r.skin > 0))
        return r;
    const Polygons::Shape pieces = Polygons::offsetPieces({r.profile}, -r.skin);
    // The pieces front first; the first one that holds more than a sliver is
    // the rib.
    double largest = 0;
    for (const Polygons::Ring &p : pieces)
        if (std::abs(Polygons::signedArea(p)) > std::abs(largest))
            largest = Polygons::signedArea(p);
    std::vector<const Polygons::Ring *> outers;
    for (const Polygons::Ring &p : pieces)
        if ((Polygons::signedArea(p) > 0) == (largest > 0))
            outers.push_back(&p);
    std::sort(outers.begin(), outers.end(), [](const Polygons::Ring *a, const Polygons::Ring *b) {
        return box(*a).left() < box(*b).left();
    });
    // A point of the front piece well clear of the sliver margin lies in a
    // core of that piece, whatever the offset's arcs and rounding: the
    // offset that finds the cores is only needed when there is none.
    const Polygons::Ring *chosen = nullptr;
    if (!outers.empty() && hasDeepPoint(*outers.front(), pieces, kSliverMargin + kDeepSlack)) {
        chosen = outers.front();
    } else {
        const Polygons::Shape solid = Polygons::offset(pieces, -kSliverMargin);
        if (solid.empty())
            return r;
        for (const Polygons::Ring *p : outers) {
            for (const Polygons::Ring &core : solid) {
                if (!core.isEmpty() && Polygons::pointIn({*p}, core.front()) == 1) {
                    chosen = p;
                    break;
                }
            }
            if (chosen)
                break;
        }
    }
    if (!chosen && !outers.empty())
        chosen = outers.front();
    if (!chosen)
        return r;
    r.refused = false;
    r.offsetRing = Polygons::simpleRing(*chosen);
    r.front = box(*chosen).left();
    r.rear = box(*chosen).right();
    return r;
}

bool fits(const WorkingData &wd, float skinTenths, int smoothing)
{
    if (!drawable(wd) || !(skinTenths > 0))
        return false;
    return hasRoom(profileRing(wd, smoothing), double(skinTenths) * 0.1 + kSliverMargin);
}

int largestSkin(const WorkingData &wd, int smoothing)
{
    if (!drawable(wd))
        return 0;
    const Polygons::Ring profile = profileRing(wd, smoothing);
    auto fitsTenths = [&](int tenths) { return hasRoom(profile, tenths * 0.1 + kSliverMargin); };
    // Halving: fits(low) holds (or low is 0), fits(high) does not.
    int low = 0;
    int high = std::max(1, int(std::ceil(wd.skinThickness)));
    if (fitsTenths(high))
        return high;
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (fitsTenths(mid) ? low : high) = mid;
    }
    return low;
}

Polygons::Ring curvesRing(const OutlineCurves &curves, const ViewGeometry &view)
{
    const std::vector<FPoint> upper = curves.curveSamples(true);
    const float tailX = upper.back().x; // drawn clipped there
    Polygons::Ring ring;
    appendThinned(ring, toMm(upper, view, tailX));
    const int tail = int(ring.size());
    std::vector<QPointF> lower = toMm(curves.curveSamples(false), view, tailX);
    std::reverse(lower.begin(), lower.end());
    appendThinned(ring, lower);
    while (ring.size() > 1 && ring.last() == ring.front())
        ring.removeLast();
    joinCrossedEnds(ring, tail);
    joinCrossedEnds(ring, 0);
    return ring;
}

bool sound(const Polygons::Ring &ring, const Room &room, double shortfall, double endSlack)
{
    // The ends first: they cost nothing and turn away one outline in six.
    if (room.refused || ring.size() < 3)
        return false;
    const QRectF span = box(ring);
    if (std::abs(span.left() - room.front) > endSlack ||
        std::abs(span.right() - room.rear) > endSlack)
        return false;
    if (!Polygons::isSimple(ring))
        return false;
    return Polygons::clearInside(ring, {room.profile}, room.skin - shortfall);
}

Kind build(const WorkingData &wd, const ViewGeometry &view, int smoothing, const Room &room,
           double shortfall, double endSlack, OutlineCurves &curves, Polygons::Ring *ring)
{
    VectorState::settle();
    if (room.refused) {
        ring->clear();
        return Kind::Refused;
    }
    curves.computeTemplateEnds(wd, view);
    curves.storeTemplateKnots(wd, wd.lastPoint);
    curves.smooth(smoothing);
    Polygons::Ring kept = curvesRing(curves, view);
    if (sound(kept, room, shortfall, endSlack)) {
        *ring = std::move(kept);
        return Kind::Kept;
    }
    *ring = room.offsetRing;
    return Kind::Offset;
}

Cut cutOutline(const WorkingData &work, float chordMm, float skinTenths, int smoothing)
{
    VectorState::settle();
    Cut cut;
    smoothing = std::clamp(smoothing, 0, 100);
    WorkingData wd = work;
    wd.chord = chordMm;
    wd.skinThickness = skinTenths;
    const Room r = room(wd, skinTenths, smoothing);
    cut.profile = r.profile;
    for (QPointF &p : cut.profile)
        p.setY(-p.y());
    if (r.refused || !drawable(wd)) {
        cut.refused = true;
        cut.largestSkin = largestSkin(wd, smoothing);
        return cut;
    }
    // The mapping of a print at kCutDotsPerInch, so that the cut follows the
    // printed outline, with the origin on the leading edge.
    const ViewGeometry g = millimetreView(wd, float(kCutDotsPerInch * 0.039370078740157480));
    TemplateGeometry::applySkinOffset(wd, g);
    OutlineCurves curves;
    cut.kind = build(wd, g, smoothing, r, kCheckedShortfall, kCheckedEndSlack, curves, &cut.ring);
    for (QPointF &p : cut.ring)
        p.setY(-p.y());
    return cut;
}

} // namespace RibOutline
