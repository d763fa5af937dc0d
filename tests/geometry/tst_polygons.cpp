// Polygon offsets and booleans, checked against areas worked out by hand
// and rings whose faults are known.
#include "HardSections.h"
#include "geometry/Polygons.h"

#include <clipper.hpp>

#include <QtTest>

#include <QRandomGenerator>

#include <cmath>

using Polygons::Ring;
using Polygons::Shape;

namespace
{

Ring rect(double x, double y, double w, double h)
{
    return Ring({QPointF(x, y), QPointF(x + w, y), QPointF(x + w, y + h), QPointF(x, y + h)});
}

Ring rect(const QRectF &r)
{
    return rect(r.x(), r.y(), r.width(), r.height());
}

// Douglas-Peucker read point by point: the plain search the thinning must
// agree with, farthest point by farthest point.
Ring plainThinning(const std::vector<QPointF> &line, double tolerance)
{
    std::vector<bool> keep(line.size(), false);
    keep.front() = keep.back() = true;
    std::vector<std::pair<size_t, size_t>> stack{{0, line.size() - 1}};
    while (!stack.empty()) {
        const auto [a, b] = stack.back();
        stack.pop_back();
        double worst = tolerance * tolerance;
        size_t at = 0;
        for (size_t i = a + 1; i < b; ++i) {
            const double d = Polygons::squaredSegmentDistance(line[i], line[a], line[b]);
            if (d > worst) {
                worst = d;
                at = i;
            }
        }
        if (at) {
            keep[at] = true;
            stack.push_back({a, at});
            stack.push_back({at, b});
        }
    }
    Ring out;
    for (size_t i = 0; i < line.size(); ++i)
        if (keep[i] && (out.isEmpty() || out.last() != line[i]))
            out.append(line[i]);
    return out;
}

// The offset as Clipper's own offsetter makes it, on the same grid: the
// union of the rings first, then ClipperOffset with round joins.
Shape clipperOffset(const Ring &ring, double delta)
{
    using namespace ClipperLib;
    Path in;
    for (const QPointF &q : ring)
        in.push_back(IntPoint(std::llround(q.y() * 1e4), std::llround(q.x() * 1e4)));
    Paths region, out;
    Clipper clean;
    clean.AddPath(in, ptSubject, true);
    clean.Execute(ctUnion, region, pftNonZero, pftNonZero);
    ClipperOffset offsetter(2, 10);
    offsetter.AddPaths(region, jtRound, etClosedPolygon);
    offsetter.Execute(out, delta * 1e4);
    Shape shape;
    for (const Path &p : out) {
        shape.emplace_back();
        for (const IntPoint &q : p)
            shape.back() << QPointF(double(q.Y) / 1e4, double(q.X) / 1e4);
    }
    return shape;
}

// Sections at their chords, stars and combs (teeth narrower and wider than
// twice the offsets), each with a seed of its own.
std::vector<Ring> offsetFamily(const QString &kind, int count)
{
    std::vector<Ring> rings;
    QRandomGenerator random(42);
    if (kind == QLatin1String("sections")) {
        for (const HardSections::Section &s : HardSections::family(count)) {
            Ring r;
            const int n = 40 + int(random.bounded(80));
            for (int side = 0; side < 2; ++side)
                for (int i = 0; i <= n; ++i) {
                    const double x = (1 - std::cos(M_PI * (side ? n - i : i) / n)) / 2;
                    const double h = HardSections::halfThickness(s, x);
                    r << QPointF(x, HardSections::camberLine(s, x) + (side ? -h : h)) * s.chord;
                }
            rings.push_back(r);
        }
    } else if (kind == QLatin1String("stars")) {
        for (int k = 0; k < count; ++k) {
            Ring r;
            const int n = 5 + int(random.bounded(200));
            for (int i = 0; i < n; ++i) {
                const double a = 2 * M_PI * (i + random.generateDouble() * 0.9) / n;
                const double radius = 2 + random.generateDouble() * 20;
                r << QPointF(radius * std::cos(a), radius * std::sin(a));
            }
            rings.push_back(r);
        }
    } else {
        for (int k = 0; k < count; ++k) {
            Ring r{QPointF(0, 0)};
            double x = 0;
            const int teeth = 2 + int(random.bounded(12));
            for (int t = 0; t < teeth; ++t) {
                const double width = 0.05 + random.generateDouble() * 3;
                const double gap = 0.05 + random.generateDouble() * 3;
                const double depth = 1 + random.generateDouble() * 10;
                r << QPointF(x, depth) << QPointF(x + width, depth) << QPointF(x + width, 0.5);
                x += width + gap;
                r << QPointF(x, 0.5);
            }
            r << QPointF(x, 0) << QPointF(x, -2) << QPointF(0, -2);
            rings.push_back(r);
        }
    }
    return rings;
}

} // namespace

class TestPolygons : public QObject
{
    Q_OBJECT

private slots:
    void offsetArea_data()
    {
        QTest::addColumn<double>("delta");
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<double>("expected");
        // A 40 x 10 mm rectangle: grown by d with round corners it covers
        // (40 + 2d)(10 + 2d) - (4 - pi) d²; shrunk, (40 - 2d)(10 - 2d).
        const double pi = M_PI;
        QTest::newRow("grow 0.1") << 0.1 << false << 40.2 * 10.2 - (4 - pi) * 0.01;
        QTest::newRow("grow 2") << 2.0 << false << 44.0 * 14.0 - (4 - pi) * 4;
        QTest::newRow("grow, ring clockwise") << 2.0 << true << 44.0 * 14.0 - (4 - pi) * 4;
        QTest::newRow("shrink 1.5") << -1.5 << false << 37.0 * 7.0;
        QTest::newRow("shrink to nothing") << -5.0 << false << 0.0;
        QTest::newRow("shrink past nothing") << -6.0 << false << 0.0;
    }

    void offsetArea()
    {
        QFETCH(double, delta);
        QFETCH(bool, clockwise);
        QFETCH(double, expected);
        Ring r = rect(0, 0, 40, 10);
        if (clockwise)
            std::reverse(r.begin(), r.end());
        const Shape out = Polygons::offset({r}, delta);
        QVERIFY(std::abs(Polygons::area(out) - expected) < 0.01 * std::max(1.0, std::abs(delta)));
        for (const Ring &ring : out)
            QVERIFY(Polygons::isSimple(ring));
    }

    // A generated family against Clipper. Offsets against its own
    // offsetter, which fills the same region: the two may differ by the
    // rounding of a crossing, far under a micrometre over the whole outline.
    // A ring cut to a rectangle covers what its intersection with it
    // covers, by Clipper's boolean.
    void matchesClipper_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("count");
        QTest::newRow("sections") << QStringLiteral("sections") << 60;
        QTest::newRow("stars") << QStringLiteral("stars") << 80;
        QTest::newRow("combs") << QStringLiteral("combs") << 80;
    }

    void matchesClipper()
    {
        QFETCH(QString, kind);
        QFETCH(int, count);
        QRandomGenerator random(7);
        int index = 0;
        for (const Ring &ring : offsetFamily(kind, count)) {
            const double delta = std::array{
                -3.0, -1.5, -0.5, -0.075, -0.018, 0.01, 0.075, 0.6, 2.0}[size_t(index++ % 9)];
            const Shape ours = Polygons::offset({ring}, delta);
            const Shape theirs = clipperOffset(ring, delta);
            double perimeter = 0;
            for (const Ring &r : theirs)
                for (int i = 0; i < r.size(); ++i)
                    perimeter += QLineF(r[i], r[(i + 1) % r.size()]).length();
            const double apart = Polygons::area(Polygons::subtract(ours, theirs)) +
                                 Polygons::area(Polygons::subtract(theirs, ours));
            QVERIFY2(apart <= 1e-4 * perimeter + 1e-6,
                     qPrintable(QStringLiteral("%1 #%2 by %3: %4 mm² apart over %5 mm")
                                    .arg(kind)
                                    .arg(index - 1)
                                    .arg(delta)
                                    .arg(apart)
                                    .arg(perimeter)));
            QCOMPARE(Polygons::strictlySimple(ours).size(),
                     Polygons::strictlySimple(theirs).size());
            for (const Ring &r : ours)
                QVERIFY(Polygons::isSimple(r));

            const QRectF box = ring.boundingRect();
            const QRectF window(box.left() + random.generateDouble() * box.width() * 0.8,
                                box.top() + random.generateDouble() * box.height() * 0.8,
                                box.width() * 0.5, box.height() * 0.5);
            const double clipped = Polygons::area(Polygons::clipToRect({ring}, window));
            const double shared = Polygons::area(Polygons::intersect({ring}, {rect(window)}));
            // Crossings round to the grid's 0.1 µm along the window's sides.
            QVERIFY2(std::abs(clipped - shared) < 1e-4 * 2 * (window.width() + window.height()),
                     qPrintable(QStringLiteral("%1 against %2").arg(clipped).arg(shared)));
        }
    }

    // A ring inside a 40 x 10 mm bar, at least 1 mm from its edges or not.
    void clearInside_data()
    {
        QTest::addColumn<QPolygonF>("ring");
        QTest::addColumn<bool>("clear");
        QTest::newRow("well inside") << QPolygonF(rect(2, 2, 30, 6)) << true;
        QTest::newRow("half a micrometre too near") << QPolygonF(rect(2, 0.9995, 30, 6)) << false;
        QTest::newRow("exactly the distance") << QPolygonF(rect(1, 1, 38, 8)) << true;
        // Starting inside, with long edges that cross the bar's far from
        // every vertex of either.
        QTest::newRow("crossing between vertices")
            << QPolygonF({QPointF(20, 5), QPointF(21, -50), QPointF(-50, -50), QPointF(-50, 5)})
            << false;
        QTest::newRow("outside") << QPolygonF(rect(50, 2, 10, 6)) << false;
        QTest::newRow("around it") << QPolygonF(rect(-5, -5, 50, 20)) << false;
    }

    void clearInside()
    {
        QFETCH(QPolygonF, ring);
        QFETCH(bool, clear);
        QCOMPARE(Polygons::clearInside(ring, {rect(0, 0, 40, 10)}, 1.0), clear);
    }

    void offsetPieces_data()
    {
        QTest::addColumn<Shape>("region"); // as a boolean returns it
        QTest::addColumn<double>("delta");
        QTest::addColumn<int>("pieces");
        QTest::addColumn<double>("expected"); // area, by hand
        const Shape bar = Polygons::unite({rect(0, 0, 40, 10)}, {});
        const Shape bells =
            Polygons::unite({rect(0, 0, 10, 10), rect(20, 0, 10, 10)}, {rect(10, 4, 10, 2)});
        const Shape holed = Polygons::subtract({rect(0, 0, 40, 10)}, {rect(5, 3, 4, 4)});
        // Each bell shrunk by 1.5 keeps a bulge towards the neck between the
        // arcs round the neck's corners, from 1.5 to sqrt(1.25) short of it.
        const auto F = [](double u) {
            return (u * std::sqrt(2.25 - u * u) + 2.25 * std::asin(u / 1.5)) / 2;
        };
        const double u0 = std::sqrt(1.25), bulge = 2 * (1.5 - u0) - 2 * (F(1.5) - F(u0));
        QTest::newRow("bar shrunk") << bar << -1.5 << 1 << 37.0 * 7.0;
        QTest::newRow("neck closed: two bells") << bells << -1.5 << 2 << 2 * (49 + bulge);
        QTest::newRow("hole grows, round corners")
            << holed << -1.0 << 2 << 38.0 * 8 - (36 - (4 - M_PI));
        QTest::newRow("shrunk to nothing") << bar << -5.0 << 0 << 0.0;
    }

    void offsetPieces()
    {
        QFETCH(Shape, region);
        QFETCH(double, delta);
        QFETCH(int, pieces);
        QFETCH(double, expected);
        const Shape out = Polygons::offsetPieces(region, delta);
        QCOMPARE(int(out.size()), pieces);
        QVERIFY(std::abs(Polygons::area(out) - expected) < 0.01);
        // The same region as the general offset with its unions.
        const Shape general = Polygons::strictlySimple(Polygons::offset(region, delta));
        QCOMPARE(int(general.size()), pieces);
        QVERIFY(Polygons::area(Polygons::subtract(out, general)) < 1e-9);
        QVERIFY(Polygons::area(Polygons::subtract(general, out)) < 1e-9);
    }

    void offsetRegion_data()
    {
        QTest::addColumn<Shape>("region"); // as a boolean returns it
        QTest::addColumn<double>("delta");
        const Shape bar = Polygons::unite({rect(0, 0, 40, 10)}, {});
        const Shape holed = Polygons::subtract({rect(0, 0, 40, 10)}, {rect(5, 3, 4, 4)});
        const std::vector<Ring> sections = offsetFamily(QStringLiteral("sections"), 4);
        for (double delta : {0.1, -0.1, 1.5, -1.5}) {
            const QByteArray d = QByteArray::number(delta);
            QTest::newRow("bar " + d) << bar << delta;
            QTest::newRow("holed bar " + d) << holed << delta;
            for (size_t k = 0; k < sections.size(); ++k) {
                // A notch from the chord line up, one through the whole
                // section, and the section as the union leaves it.
                const QRectF span = sections[k].boundingRect();
                const double c = span.width();
                const Shape notched = Polygons::subtract(
                    {sections[k]}, {rect(span.left() + 0.3 * c, 0, 0.02 * c, c),
                                    rect(span.left() + 0.6 * c, -c, 0.01 * c, 2 * c)});
                const QByteArray name = "section " + QByteArray::number(int(k)) + " " + d;
                QTest::newRow(name + " notched") << notched << delta;
                QTest::newRow(name) << Polygons::unite({sections[k]}, {}) << delta;
            }
        }
    }

    // Without the check that makes a region, the same rings point by point.
    void offsetRegion()
    {
        QFETCH(Shape, region);
        QFETCH(double, delta);
        QCOMPARE(Polygons::offsetRegion(region, delta), Polygons::offset(region, delta));
    }

    void booleans()
    {
        // A 6 mm notch cut 3 mm deep into the top edge of a 40 x 10 rib.
        const Shape rib{rect(0, 0, 40, 10)};
        const Shape notch{rect(17, 7, 6, 5)};
        const Shape cut = Polygons::subtract(rib, notch);
        QCOMPARE(int(cut.size()), 1);
        QVERIFY(std::abs(Polygons::area(cut) - (400 - 18)) < 1e-6);
        QCOMPARE(Polygons::pointIn(cut, QPointF(20, 8)), 0);
        QCOMPARE(Polygons::pointIn(cut, QPointF(20, 6)), 1);
        QCOMPARE(Polygons::pointIn(cut, QPointF(17, 8)), -1);
        // A hole wholly inside stays a separate, clockwise ring.
        const Shape holed = Polygons::subtract(rib, {rect(5, 3, 4, 4)});
        QCOMPARE(int(holed.size()), 2);
        QVERIFY(std::abs(Polygons::area(holed) - 384) < 1e-6);
        QVERIFY(std::abs(Polygons::area(Polygons::unite(rib, notch)) - (400 + 12)) < 1e-6);
        QVERIFY(std::abs(Polygons::area(Polygons::intersect(rib, notch)) - 18) < 1e-6);
        QVERIFY(std::abs(Polygons::boundaryDistance({rect(5, 3, 4, 4)}, rib) - 3) < 1e-9);
        QCOMPARE(Polygons::boundaryDistance(notch, rib), 0.0);
    }

    // Whether a ring is simple, on the files' 0.1 µm grid; where madeSimple
    // is given, the area of the ring simpleRing makes of it (by hand). An
    // offset's rounded crossings can leave a zigzag of a grid step that
    // crosses itself (seen on a real section): cleaned, the outline stays
    // within a few steps; a true crossing keeps its larger part.
    void simple_data()
    {
        QTest::addColumn<QPolygonF>("ring");
        QTest::addColumn<bool>("simple");
        QTest::addColumn<double>("madeSimple"); // 0: not tried
        auto row = [](const char *name, const Ring &ring, bool simple, double madeSimple = 0) {
            QTest::newRow(name) << QPolygonF(ring) << simple << madeSimple;
        };
        row("rectangle", rect(0, 0, 4, 2), true, 8.0);
        row("bow-tie", Ring({QPointF(0, 0), QPointF(4, 2), QPointF(4, 0), QPointF(0, 2)}), false);
        row("bow-tie, the larger loop kept",
            Ring({QPointF(0, 0), QPointF(4, 2), QPointF(4, 0), QPointF(0, 4)}), false, 16.0 / 3);
        row("tiny bow-tie at the tail",
            Ring({QPointF(0, 0), QPointF(10, 0.5), QPointF(10.003, 0.499), QPointF(10.003, 0.501),
                  QPointF(10, 0.5), QPointF(0, 1)}),
            false);
        row("zero-width spike",
            Ring({QPointF(0, 0), QPointF(4, 0), QPointF(6, 1), QPointF(4, 0), QPointF(4, 2),
                  QPointF(0, 2)}),
            false);
        row("touching itself",
            Ring({QPointF(0, 0), QPointF(4, 0), QPointF(2, 1), QPointF(4, 2), QPointF(0, 2),
                  QPointF(2, 1)}),
            false);
        row("pinched at a point of an edge, the larger part kept",
            Ring({QPointF(0, 0), QPointF(10, 0), QPointF(10, 6), QPointF(5, 0), QPointF(0, 4)}),
            false, 15.0);
        row("a loop under a micrometre where the ends meet",
            Ring({QPointF(0.0001, 0), QPointF(5, 1), QPointF(10, 0), QPointF(5, -1),
                  QPointF(0, 0.0001)}),
            false);
        row("an offset's zigzag of one grid step",
            Ring({QPointF(1.9920, -2.2852), QPointF(1.7442, -1.3441), QPointF(1.4914, -0.1874),
                  QPointF(1.4914, -0.1875), QPointF(1.4916, -0.1851), QPointF(1.4973, -0.0894),
                  QPointF(3, 0), QPointF(3, -2.2852)}),
            false, 2.87874);
        row("a spike under a micrometre",
            Ring({QPointF(0, 0), QPointF(4, 0), QPointF(4.0004, 0), QPointF(4, 0), QPointF(4, 2),
                  QPointF(0, 2)}),
            false);
        row("a slot two tenths of a micrometre wide",
            Ring({QPointF(0, 0), QPointF(10, 0), QPointF(10, 2), QPointF(0, 2), QPointF(0, 1.0002),
                  QPointF(9, 1.0002), QPointF(9, 1), QPointF(0, 1)}),
            true);
        row("two points", Ring({QPointF(0, 0), QPointF(4, 0)}), false);
        row("no area", Ring({QPointF(0, 0), QPointF(2, 0), QPointF(4, 0)}), false);
        row("repeated point kept simple",
            Ring({QPointF(0, 0), QPointF(4, 0), QPointF(4, 0), QPointF(4, 2), QPointF(0, 2)}),
            true);
    }

    // The thinning passes over blocks of points it can rule out: over a
    // family of lines (smooth, noisy at the tolerance, on a grid where many
    // distances tie, doubling back, with repeats, of every length around
    // the block size) it keeps exactly the points the plain search keeps.
    void thinning_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("count");
        const char *kinds[] = {"section", "noise", "grid", "hairpin", "repeats", "spiral"};
        for (int kind = 0; kind < 6; ++kind)
            for (int count : {2, 3, 15, 16, 17, 33, 64, 257, 1000, 6881})
                QTest::addRow("%s, %d points", kinds[kind], count) << kind << count;
    }

    void thinning()
    {
        QFETCH(int, kind);
        QFETCH(int, count);
        const double tolerance = 2e-3;
        for (quint32 seed = 1; seed <= 5; ++seed) {
            QRandomGenerator random(seed * 7919 + quint32(count));
            auto jitter = [&](double size) { return (random.generateDouble() - 0.5) * size; };
            std::vector<QPointF> line;
            for (int i = 0; i < count; ++i) {
                const double u = count > 1 ? double(i) / (count - 1) : 0;
                const double x = 200 * (1 - std::cos(M_PI * u)) / 2;
                switch (kind) {
                case 0: // an upper surface
                    line.push_back({x, 12 * std::sqrt(x / 200) * (1 - x / 200) * seed});
                    break;
                case 1: // straight, within a few tolerances
                    line.push_back({200 * u, jitter(4 * tolerance)});
                    break;
                case 2: // integer steps of a tenth of the tolerance
                    line.push_back(
                        {std::round(200 * u), tolerance * 0.1 * double(random.bounded(40))});
                    break;
                case 3: // out and back along nearly the same line
                    line.push_back({100 - std::abs(200 * u - 100), u * tolerance * 3});
                    break;
                case 4: // each point two or three times
                    line.push_back({x, 5 * std::sin(x / 15)});
                    for (quint32 r = random.bounded(3); r > 0 && int(line.size()) < count; --r)
                        line.push_back(line.back());
                    i = int(line.size()) - 1;
                    break;
                default: // turning round more than once
                    line.push_back({(1 + 20 * u) * std::cos(12 * u + jitter(1e-3)),
                                    (1 + 20 * u) * std::sin(12 * u)});
                }
            }
            line.resize(size_t(count));
            Ring thinned;
            Polygons::appendThinned(thinned, line, tolerance);
            QCOMPARE(thinned, plainThinning(line, tolerance));
        }
    }

    // The sweep that finds crossings takes a ring's edges in runs along a
    // section's x: over combs of 3 to 60 teeth across it (from a few runs
    // to well over the number merged rather than sorted), every other one
    // with a tooth pushed into the next, it agrees with every pair of edges
    // tried on the grid, whichever point the ring starts from.
    void simpleAgreesWithEveryPair()
    {
        using Grid = std::pair<long long, long long>;
        auto turn = [](Grid a, Grid b, Grid c) {
            const __int128 t = __int128(b.first - a.first) * (c.second - a.second) -
                               __int128(b.second - a.second) * (c.first - a.first);
            return (t > 0) - (t < 0);
        };
        auto on = [](Grid a, Grid b, Grid c) {
            return std::min(a.first, b.first) <= c.first && c.first <= std::max(a.first, b.first) &&
                   std::min(a.second, b.second) <= c.second &&
                   c.second <= std::max(a.second, b.second);
        };
        auto meet = [&](Grid a, Grid b, Grid c, Grid d) {
            const int t1 = turn(c, d, a), t2 = turn(c, d, b), t3 = turn(a, b, c),
                      t4 = turn(a, b, d);
            return (t1 * t2 < 0 && t3 * t4 < 0) || (t1 == 0 && on(c, d, a)) ||
                   (t2 == 0 && on(c, d, b)) || (t3 == 0 && on(a, b, c)) || (t4 == 0 && on(a, b, d));
        };
        QRandomGenerator random(11);
        int crossing = 0, simple = 0, few = 0;
        for (int trial = 0; trial < 600; ++trial) {
            const int teeth = 3 + trial % 58;
            const int pushed = trial % 2 ? int(random.bounded(teeth - 1)) : -1;
            auto jitter = [&] { return (random.generateDouble() - 0.5) * 0.8; };
            Ring ring{QPointF(0, 0)};
            for (int k = 0; k < teeth; ++k) {
                const double y = 10 * k, tip = 50 + 5 * jitter();
                ring << QPointF(10 + jitter(), y + 1 + jitter())
                     << QPointF(tip, y + 3 + jitter() + (k == pushed ? 9 : 0))
                     << QPointF(tip, y + 7 + jitter()) << QPointF(10 + jitter(), y + 9 + jitter());
            }
            ring << QPointF(0, 10 * teeth);
            std::vector<Grid> grid;
            for (const QPointF &p : ring)
                grid.emplace_back(Polygons::gridUnits(p.x()), Polygons::gridUnits(p.y()));
            int pairs = 0;
            const size_t n = grid.size();
            for (size_t i = 0; i < n; ++i)
                for (size_t j = i + 2; j < n; ++j)
                    if (!(i == 0 && j == n - 1))
                        pairs += meet(grid[i], grid[(i + 1) % n], grid[j], grid[(j + 1) % n]);
            const bool crosses = pairs > 0;
            few += pairs > 0 && pairs <= 2;
            // From its first point, and from another.
            Ring turned = ring.mid(1 + trial % (ring.size() - 1)) + ring;
            turned.resize(ring.size());
            for (const Ring &r : {ring, turned})
                QVERIFY2(Polygons::isSimple(r) == !crosses,
                         qPrintable(QStringLiteral("comb %1 of %2 teeth").arg(trial).arg(teeth)));
            ++(crosses ? crossing : simple);
        }
        QVERIFY(crossing > 50 && simple > 50 && few > 20);
    }

    // Over stars inside stars and small stars about their outlines, some
    // turned so that their edges run every way across the sweep,
    // clearInside agrees with every pair tried in
    // millimetres: the first point inside, each vertex of either at least
    // the distance from every edge of the other, and no two edges meeting.
    // Trials within a hair of the distance are left out. Nested combs, whose
    // edges go out and back along the sweep far more often than the runs it
    // merges, take the sweep's other way of ordering its edges.
    void clearInsideAgreesWithEveryPair()
    {
        int clear = 0, near = 0, crossing = 0;
        // Empty when clearInside agrees, else what it got wrong.
        auto check = [&](const Ring &in, const Ring &out, const QString &what) {
            double nearest = 1e9;
            bool meet = false;
            for (const auto &[from, to] : {std::pair(&in, &out), std::pair(&out, &in)})
                for (const QPointF &p : *from)
                    for (int i = 0; i < to->size(); ++i)
                        nearest = std::min(nearest, std::sqrt(Polygons::squaredSegmentDistance(
                                                        p, (*to)[i], (*to)[(i + 1) % to->size()])));
            for (int i = 0; i < in.size() && !meet; ++i)
                for (int j = 0; j < out.size() && !meet; ++j)
                    meet = QLineF(in[i], in[(i + 1) % in.size()])
                               .intersects(QLineF(out[j], out[(j + 1) % out.size()]), nullptr) ==
                           QLineF::BoundedIntersection;
            if (std::abs(nearest - 1.0) < 1e-6)
                return QString();
            const bool expected = !meet && nearest > 1.0 && Polygons::pointIn({out}, in[0]) == 1;
            ++(meet ? crossing : expected ? clear : near);
            if (Polygons::clearInside(in, {out}, 1.0) == expected)
                return QString();
            return QStringLiteral("%1: %2 mm, %3")
                .arg(what)
                .arg(nearest)
                .arg(meet ? "crossing" : "apart");
        };
        QRandomGenerator random(5);
        auto star = [&](int points, double turn, const std::vector<double> &radii) {
            Ring ring;
            for (int k = 0; k < points; ++k) {
                const double a = turn + 2 * M_PI * k / points;
                ring << QPointF(radii[size_t(k)] * std::cos(a),
                                0.6 * radii[size_t(k)] * std::sin(a));
            }
            return ring;
        };
        for (int trial = 0; trial < 400; ++trial) {
            const int points = 5 + trial % 120;
            const double turn = trial % 3 ? random.generateDouble() * 2 * M_PI : 0;
            std::vector<double> outer(static_cast<size_t>(points)), inner(outer.size());
            for (int k = 0; k < points; ++k) {
                outer[size_t(k)] = 40 + 10 * random.generateDouble();
                inner[size_t(k)] =
                    outer[size_t(k)] - (trial % 4 ? 2 + 3 * random.generateDouble()
                                                  : 0.2 + 1.5 * random.generateDouble());
            }
            const Ring out = star(points, turn, outer);
            Ring in = star(points, turn + (trial % 5 ? 0 : 0.02), inner);
            if (trial % 2) {
                // A small figure about the outline, as a rib's holes and
                // notches are: most of the outline lies far from it.
                const int k = int(random.bounded(points));
                const double a = turn + 2 * M_PI * k / points;
                const std::vector<double> small(size_t(3 + trial % 20),
                                                1.5 + 2.5 * random.generateDouble());
                const double centre = outer[size_t(k)] - small[0] - 3 + 5 * random.generateDouble();
                in = star(int(small.size()), random.generateDouble(), small);
                in.translate(centre * std::cos(a), 0.6 * centre * std::sin(a));
            }
            const QString wrong = check(in, out, QStringLiteral("star %1").arg(trial));
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        }
        QVERIFY2(clear > 40 && near > 40 && crossing > 20,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(clear).arg(near).arg(crossing)));
        // A comb of teeth along x, and about it one grown by c on every side
        // (its spine and the floors of its gaps c further out), each point
        // moved by up to 0.15 mm: nearest apart about c.
        auto comb = [&](int teeth, double c) {
            auto jitter = [&] { return (random.generateDouble() - 0.5) * 0.3; };
            auto at = [&](double x, double y) { return QPointF(x + jitter(), y + jitter()); };
            Ring ring{at(5 - c, -c), at(10 + c, -c)};
            for (int k = 0; k < teeth; ++k)
                ring << at(10 + c, 10 * k + 3 - c) << at(50 + c, 10 * k + 3 - c)
                     << at(50 + c, 10 * k + 7 + c) << at(10 + c, 10 * k + 7 + c);
            ring << at(10 + c, 10 * teeth + c) << at(5 - c, 10 * teeth + c);
            return ring;
        };
        const int starsClear = clear, starsNear = near;
        for (int trial = 0; trial < 200; ++trial) {
            const int teeth = 17 + trial % 24;
            const double c = 1.05 + 0.35 * random.generateDouble();
            const QString wrong =
                check(comb(teeth, 0), comb(teeth, c), QStringLiteral("comb %1").arg(trial));
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        }
        QVERIFY2(clear - starsClear > 40 && near - starsNear > 40,
                 qPrintable(QStringLiteral("%1 %2").arg(clear - starsClear).arg(near - starsNear)));
    }

    // An offset's rounded crossings can leave a zigzag of a grid step that
    // crosses itself (seen on a real section); the ring made simple keeps
    // the outline within a few steps, and a true crossing keeps its larger
    // part.
    void simple()
    {
        QFETCH(QPolygonF, ring);
        QFETCH(bool, simple);
        QFETCH(double, madeSimple);
        QCOMPARE(Polygons::isSimple(Ring(ring)), simple);
        if (madeSimple > 0) {
            const Ring made = Polygons::simpleRing(Ring(ring));
            QVERIFY(Polygons::isSimple(made));
            QVERIFY2(std::abs(std::abs(Polygons::signedArea(made)) - madeSimple) < 1e-4,
                     qPrintable(QString::number(Polygons::signedArea(made), 'g', 8)));
        }
    }
};

QTEST_MAIN(TestPolygons)
#include "tst_polygons.moc"
