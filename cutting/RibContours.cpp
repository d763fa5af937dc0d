#include "cutting/RibContours.h"

#include "ui/Language.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace RibContours
{

using RibVectors::Shape;

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kFlatness = 0.01; // mm between a curve and its chords
// A figure closer than this to the outline touches it: the thin bridge left
// would break, so it is cut as a notch.
constexpr double kTouchMm = 0.01;
constexpr double kAreaTolerance = 1e-6; // mm²
// Farther than this from every edge of the outline, a figure cannot touch
// it: the touching distance, the polygon library's rounding (0.05 µm) and
// the arcs of the grown figure are all far smaller.
constexpr double kFarMm = 10 * kTouchMm;

// The area of a region as the polygon library returns it (rings that never
// cross, holes the other way round): the signed sum, with no union again.
double regionArea(const Polygons::Shape &region)
{
    double sum = 0;
    for (const Polygons::Ring &r : region)
        sum += Polygons::signedArea(r);
    return std::abs(sum);
}

// True when some edge of the shape has its box overlapping box: the edge
// may come into it (a quick test, on the safe side).
bool edgeNear(const Polygons::Shape &shape, const QRectF &box)
{
    for (const Polygons::Ring &r : shape) {
        const int n = int(r.size());
        for (int i = 0; i < n; ++i) {
            const QPointF &a = r[i], &b = r[i + 1 < n ? i + 1 : 0];
            if (std::max(a.x(), b.x()) >= box.left() && std::min(a.x(), b.x()) <= box.right() &&
                std::max(a.y(), b.y()) >= box.top() && std::min(a.y(), b.y()) <= box.bottom())
                return true;
        }
    }
    return false;
}

// The ring of largest area: the one outer contour kept when a figure
// splits the rib (the pieces cut off are reported with the figure).
Polygons::Ring largest(const Polygons::Shape &shape)
{
    Polygons::Ring best;
    double bestArea = 0;
    for (const Polygons::Ring &r : shape) {
        const double a = std::abs(Polygons::signedArea(r));
        if (a > bestArea) {
            bestArea = a;
            best = r;
        }
    }
    return best;
}

// Shrinks an inner contour by half the kerf. False when nothing, or more
// than one piece, would be left: a slot narrower than the kerf.
bool shrink(Shape &s, const Polygons::Ring &ring, double half)
{
    if (s.kind == Shape::Circle) {
        if (s.radius <= half)
            return false;
        s.radius -= half;
        return true;
    }
    const Polygons::Shape inner = Polygons::offset({ring}, -half);
    if (inner.size() != 1)
        return false;
    s.path = RibVectors::closedPath(inner.front());
    return true;
}

bool narrowerThan(const Shape &s, const Polygons::Ring &ring, double half)
{
    if (!(half > 0))
        return false;
    // As shrink() has it: a circle keeps one piece while it has a radius.
    if (s.kind == Shape::Circle)
        return s.radius <= half;
    return Polygons::offset({ring}, -half).size() != 1;
}

// An inner contour on its way to the cut layer, with its ring; a closed
// cut path that was there before (a kit's lightening hole) is no figure of
// the template.
struct Cutout {
    Shape shape;
    Polygons::Ring ring;
    bool figure = false;
};

// Cut-outs that overlap are cut as one: two contours that cross would
// leave a file whose inner contours are not inside the outer one, or not
// apart from each other. A hole that overlaps a notch (or a hole joined to
// one) becomes part of the notch; holes that overlap only each other become
// one inner contour, their union's outer edge (what they enclose falls out
// with them). Holes that only come near each other stay apart.
void joinOverlapping(std::vector<Cutout> &inner, Polygons::Shape &notches)
{
    const size_t n = inner.size();
    if (n == 0 || (n == 1 && notches.empty()))
        return;
    std::vector<QRectF> boxes;
    for (const Cutout &c : inner)
        boxes.push_back(c.ring.boundingRect());
    std::vector<QRectF> notchBoxes;
    for (const Polygons::Ring &notch : notches)
        notchBoxes.push_back(notch.boundingRect());
    auto overlap = [&](size_t i, const Polygons::Ring &other, const QRectF &otherBox) {
        return other.size() >= 3 && boxes[i].intersects(otherBox) &&
               regionArea(Polygons::intersect({inner[i].ring}, {other})) > kAreaTolerance;
    };
    // Groups named by their first member; n stands for the notches.
    std::vector<size_t> group(n + 1);
    std::iota(group.begin(), group.end(), size_t(0));
    auto root = [&](size_t i) {
        while (group[i] != i)
            i = group[i] = group[group[i]];
        return i;
    };
    auto join = [&](size_t a, size_t b) {
        a = root(a);
        b = root(b);
        if (b == n || (a != n && b < a))
            std::swap(a, b);
        group[b] = a;
    };
    for (size_t i = 0; i < n; ++i) {
        if (inner[i].ring.size() < 3)
            continue;
        for (size_t k = 0; k < notches.size(); ++k)
            if (overlap(i, notches[k], notchBoxes[k])) {
                join(i, n);
                break;
            }
        for (size_t j = i + 1; j < n; ++j)
            if (overlap(i, inner[j].ring, boxes[j]))
                join(i, j);
    }
    std::vector<Polygons::Shape> members(n + 1);
    for (size_t i = 0; i < n; ++i)
        members[root(i)].push_back(inner[i].ring);
    std::vector<Cutout> kept;
    for (size_t i = 0; i < n; ++i) {
        const size_t g = root(i);
        if (g == n) {
            notches.push_back(std::move(inner[i].ring));
        } else if (members[g].size() == 1) {
            kept.push_back(std::move(inner[i]));
        } else if (g == i) { // the group is cut with its first member
            Polygons::Shape united = Polygons::unite(members[g], {});
            // Its outer rings turn as its largest one does; a hole of the
            // union falls out with it.
            const bool outerTurn = Polygons::signedArea(largest(united)) > 0;
            for (Polygons::Ring &r : united) {
                if ((Polygons::signedArea(r) > 0) != outerTurn)
                    continue;
                Cutout c = inner[i];
                c.shape.kind = Shape::Path;
                c.shape.closed = true;
                c.shape.path = RibVectors::closedPath(r);
                c.ring = std::move(r);
                kept.push_back(std::move(c));
            }
        }
    }
    inner = std::move(kept);
}

} // namespace

QString message(const Finding &finding)
{
    const int n = finding.figure + 1;
    switch (finding.kind) {
    case Finding::CutsEdge:
        return Language::pick(QStringLiteral("la figure %1 coupe le gabarit"),
                              QStringLiteral("figure %1 cuts the template edge"))
            .arg(n);
    case Finding::Outside:
        return Language::pick(QStringLiteral("la figure %1 est hors du gabarit"),
                              QStringLiteral("figure %1 is outside the template"))
            .arg(n);
    case Finding::NarrowerThanKerf:
        return Language::pick(QStringLiteral("la figure %1 est plus étroite que le trait de coupe"),
                              QStringLiteral("figure %1 is narrower than the kerf"))
            .arg(n);
    }
    return {};
}

Polygons::Ring ring(const Shape &shape)
{
    Polygons::Ring out;
    if (shape.kind == Shape::Circle && shape.radius > 0) {
        const double r = shape.radius;
        const double step = std::acos(std::max(-1.0, 1 - kFlatness / r));
        const int n = std::max(16, int(std::ceil(2 * kPi / std::max(step, 1e-3))));
        out.reserve(n);
        for (int i = 0; i < n; ++i) {
            const double a = 2 * kPi * i / n;
            out << shape.centre + QPointF(r * std::cos(a), r * std::sin(a));
        }
    } else if (shape.kind == Shape::Path && shape.closed) {
        out = RibVectors::flatten(shape.path, kFlatness);
        if (out.size() > 1 && out.first() == out.last())
            out.removeLast();
    }
    return out;
}

namespace
{

// Points that settle what the booleans would find, looked for on a few
// upright lines across the figure: one well inside both the figure and the
// outline (they share more than the area tolerance), and one of the figure
// well beyond the outline (grown by the touching distance, the figure is
// not wholly inside it).
struct Witnesses {
    bool shared = false;
    bool beyond = false;
};

// A disc of this radius (mm) about the shared point lies in both, of an
// area far above the tolerance; the grid's rounding (0.05 µm) is far less.
constexpr double kSharedClear = 0.005;
// The figure grown by the touching distance holds a disc of half that
// radius about each of its points (its arcs' chords lie within 2.25 times
// their 0.001 mm tolerance of the arcs): about a point this far beyond the
// outline, that disc lies outside it.
constexpr double kBeyondClear = 3 * kTouchMm;
constexpr double kBeyondDisc = kTouchMm / 2;

Witnesses witnesses(const Polygons::Shape &outer, const Polygons::Ring &figure)
{
    constexpr int kLines = 8;
    struct Candidate {
        double room; // half the interval's length
        QPointF at;
        bool shared;
    };
    thread_local std::vector<double> fy, oy;
    thread_local std::vector<Candidate> candidates;
    // The outline's edges that reach over the figure's span (widened by
    // more than the witnesses' clearances), in pairs of ends: the only ones
    // its upright lines can cross (anywhere up them), or that can come near
    // a point on those lines.
    thread_local Polygons::Ring across;
    candidates.clear();
    const QRectF span = figure.boundingRect();
    across.clear();
    for (const Polygons::Ring &r : outer)
        for (int i = 0, n = int(r.size()); i < n; ++i) {
            const QPointF &a = r[i], &b = r[i + 1 < n ? i + 1 : 0];
            if (std::max(a.x(), b.x()) >= span.left() - kFarMm &&
                std::min(a.x(), b.x()) <= span.right() + kFarMm)
                across << a << b;
        }
    // The crossings of x by the kept edges, as uprightCrossings finds them.
    auto outlineCrossings = [&](double x) {
        for (int i = 0; i + 1 < across.size(); i += 2) {
            const QPointF a = across[i], b = across[i + 1];
            if ((a.x() <= x) != (b.x() <= x))
                oy.push_back(a.y() + (x - a.x()) * (b.y() - a.y()) / (b.x() - a.x()));
        }
    };
    // No kept edge nearer to p than distance, as edgesClearOf tells.
    auto outlineClearOf = [&](QPointF p, double distance) {
        for (int i = 0; i + 1 < across.size(); i += 2)
            if (Polygons::squaredSegmentDistance(p, across[i], across[i + 1]) <
                distance * distance)
                return false;
        return true;
    };
    for (int k = 0; k < kLines; ++k) {
        const double x = span.left() + span.width() * (k + 0.5) / kLines;
        fy.clear();
        oy.clear();
        Polygons::uprightCrossings(figure, x, fy);
        outlineCrossings(x);
        std::sort(fy.begin(), fy.end());
        std::sort(oy.begin(), oy.end());
        // Up the line, inside the figure and the outline by the parity of
        // the crossings passed; the widest stretch of each kind is kept.
        size_t i = 0, j = 0;
        double from = 0;
        bool inFigure = false, inOuter = false;
        Candidate best[2] = {{0, {}, true}, {0, {}, false}};
        while (i < fy.size() || j < oy.size()) {
            const bool figureNext = j >= oy.size() || (i < fy.size() && fy[i] <= oy[j]);
            const double y = figureNext ? fy[i] : oy[j];
            if (inFigure) {
                Candidate &c = best[inOuter ? 0 : 1];
                if ((y - from) / 2 > c.room)
                    c = {(y - from) / 2, QPointF(x, (y + from) / 2), inOuter};
            }
            (figureNext ? inFigure : inOuter) ^= true;
            (figureNext ? i : j) += 1;
            from = y;
        }
        for (const Candidate &c : best)
            if (c.room > (c.shared ? kSharedClear : kBeyondClear))
                candidates.push_back(c);
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate &a, const Candidate &b) { return a.room > b.room; });
    Witnesses seen;
    int tries[2] = {0, 0};
    for (const Candidate &c : candidates) {
        bool &found = c.shared ? seen.shared : seen.beyond;
        int &tried = tries[c.shared ? 0 : 1];
        if (found || tried == 3)
            continue;
        ++tried;
        found = c.shared ? outlineClearOf(c.at, kSharedClear) &&
                               Polygons::edgesClearOf({figure}, c.at, kSharedClear)
                         : outlineClearOf(c.at, kBeyondClear);
    }
    return seen;
}

Place placeNear(const Polygons::Shape &outer, const Polygons::Ring &figure, bool witnessed)
{
    // Measured exactly, a figure farther inside than the touching distance
    // needs no boolean.
    if (Polygons::clearInside(figure, outer, kTouchMm))
        return Place::Inside;
    const Witnesses seen = witnessed ? witnesses(outer, figure) : Witnesses();
    const QRectF box = figure.boundingRect();
    // The grown figure's area is less than its box's; the disc it leaves
    // outside the outline is more than the booleans' tolerance.
    const double grownBox = (box.width() + 2 * kTouchMm) * (box.height() + 2 * kTouchMm);
    const bool beyond =
        seen.beyond && kPi * kBeyondDisc * kBeyondDisc > 2 * (kAreaTolerance + 1e-9 * grownBox);
    if (seen.shared && beyond)
        return Place::Edge;
    const Polygons::Shape shape{figure};
    // Only the outline about the figure counts in what they share.
    const Polygons::Shape near = Polygons::clipToRect(outer, box.adjusted(-1, -1, 1, 1));
    if (!seen.shared && regionArea(Polygons::intersect(near, shape)) <= kAreaTolerance)
        return Place::Outside;
    if (beyond)
        return Place::Edge;
    // Grown by the touching distance, a figure that touches the outline is
    // no longer wholly inside it.
    const Polygons::Shape grown = Polygons::offset(shape, kTouchMm);
    const double grownArea = regionArea(grown);
    if (regionArea(Polygons::intersect(near, grown)) <
        grownArea - kAreaTolerance - 1e-9 * grownArea)
        return Place::Edge;
    return Place::Inside;
}

} // namespace

Place placeByBooleans(const Polygons::Shape &outer, const Polygons::Ring &figure)
{
    return placeNear(outer, figure, false);
}

Place place(const Polygons::Shape &outer, const Polygons::Ring &figure)
{
    if (figure.isEmpty())
        return placeByBooleans(outer, figure);
    const double m = kFarMm;
    if (edgeNear(outer, figure.boundingRect().adjusted(-m, -m, m, m)))
        return placeNear(outer, figure, true);
    // No edge of the outline in the figure's box: the box, the figure and
    // the figure grown by the touching distance lie all inside or all
    // outside, as its first point does.
    switch (Polygons::pointIn(outer, figure.first())) {
    case 0:
        return Place::Outside;
    case 1:
        // Inside, it is its own common area with the outline: a figure of
        // no area has none.
        return Polygons::area({figure}) <= kAreaTolerance ? Place::Outside : Place::Inside;
    default:
        return placeByBooleans(outer, figure);
    }
}

std::vector<Finding> apply(RibVectors::Rib &rib, double kerfMm)
{
    std::vector<Finding> found;
    const double half = std::max(kerfMm, 0.0) / 2;
    auto isClosedCut = [](const Shape &s) {
        return s.layer == RibVectors::Cut && s.kind == Shape::Path && s.closed;
    };
    // The outer contour is the closed cut path of largest area: a kit puts
    // its lightening holes on the cut layer too, in no particular order.
    auto cut = rib.shapes.end();
    double cutArea = -1;
    Polygons::Ring cutRing;
    for (auto it = rib.shapes.begin(); it != rib.shapes.end(); ++it) {
        if (!isClosedCut(*it))
            continue;
        Polygons::Ring r = ring(*it);
        const double a = std::abs(Polygons::signedArea(r));
        if (a > cutArea) {
            cutArea = a;
            cut = it;
            cutRing = std::move(r);
        }
    }
    Polygons::Shape outer;
    if (cut != rib.shapes.end())
        outer = Polygons::unite({cutRing}, {});

    std::vector<Cutout> cutouts;
    std::vector<Shape> rest;
    Polygons::Shape notches;
    for (auto it = rib.shapes.begin(); it != rib.shapes.end(); ++it) {
        Shape &s = *it;
        if (it == cut)
            continue;
        if (isClosedCut(s)) {
            Polygons::Ring r = ring(s);
            cutouts.push_back({std::move(s), std::move(r), false});
            continue;
        }
        Polygons::Ring r = s.layer == RibVectors::Figures ? ring(s) : Polygons::Ring();
        if (r.size() < 3) {
            rest.push_back(std::move(s));
            continue;
        }
        if (!outer.empty()) {
            const Place where = place(outer, r);
            if (where == Place::Outside) {
                found.push_back({Finding::Outside, s.figure});
                continue;
            }
            if (where == Place::Edge) {
                found.push_back({Finding::CutsEdge, s.figure});
                if (narrowerThan(s, r, half))
                    found.push_back({Finding::NarrowerThanKerf, s.figure});
                notches.push_back(std::move(r));
                continue;
            }
            // Cut with the outline that holds it. Without an outline (the
            // template refused, or the cut layer left out) it stays a figure.
            s.layer = RibVectors::Cut;
        }
        cutouts.push_back({std::move(s), std::move(r), true});
    }
    joinOverlapping(cutouts, notches);
    std::vector<Shape> inner;
    for (Cutout &c : cutouts) {
        // One the kerf would close is left as it is: the laser cuts it as a
        // slot. A figure's is reported.
        if (half > 0 && c.ring.size() >= 3 && !shrink(c.shape, c.ring, half) && c.figure)
            found.push_back({Finding::NarrowerThanKerf, c.shape.figure});
        inner.push_back(std::move(c.shape));
    }

    std::vector<Shape> shapes;
    if (cut != rib.shapes.end()) {
        Shape outline = std::move(*cut);
        if (!notches.empty())
            outer = Polygons::subtract(outer, notches);
        Polygons::Ring contour = largest(outer);
        // A notch that splits the rib leaves the inner contours of the
        // pieces cut off outside the one outer contour: they go with them.
        if (!notches.empty() && outer.size() > 1) {
            const Polygons::Shape kept{contour};
            inner.erase(std::remove_if(inner.begin(), inner.end(),
                                       [&](const Shape &s) {
                                           const Polygons::Ring r = ring(s);
                                           return !r.isEmpty() &&
                                                  regionArea(Polygons::intersect(kept, {r})) <=
                                                      kAreaTolerance;
                                       }),
                        inner.end());
        }
        // A ring of the region the booleans left: grown as it stands.
        if (half > 0 && !contour.isEmpty())
            contour = largest(Polygons::offsetRegion({contour}, half));
        outline.path = RibVectors::closedPath(contour);
        shapes = std::move(inner);
        shapes.push_back(std::move(outline));
    } else {
        shapes = std::move(inner);
    }
    std::move(rest.begin(), rest.end(), std::back_inserter(shapes));
    rib.shapes = std::move(shapes);
    return found;
}

std::vector<Finding> check(const RibVectors::Rib &rib)
{
    RibVectors::Rib copy = rib;
    return apply(copy, 0);
}

} // namespace RibContours
