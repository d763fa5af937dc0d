// Figures against the template outline, and the kerf, on a rib whose
// outline is a plain 200 x 20 mm rectangle, so that every expected area and
// width is worked out by hand.
#include "Naca.h"

#include "cutting/RibContours.h"
#include "geometry/Polygons.h"
#include "ui/Language.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using RibVectors::Shape;

namespace
{

RibVectors::Rib boxRib()
{
    RibVectors::Rib rib;
    Shape cut;
    cut.layer = RibVectors::Cut;
    cut.closed = true;
    cut.path.addPolygon(QPolygonF({{0, -10}, {200, -10}, {200, 10}, {0, 10}}));
    cut.path.closeSubpath();
    rib.shapes.push_back(cut);
    return rib;
}

Shape figureShape(const QPolygonF &corners, double radius)
{
    Shape s;
    s.layer = RibVectors::Figures;
    s.figure = 0;
    if (radius > 0) { // corners[0] is the centre
        s.kind = Shape::Circle;
        s.centre = corners.first();
        s.radius = radius;
    } else {
        s.closed = true;
        s.path.addPolygon(corners);
        s.path.closeSubpath();
    }
    return s;
}

Shape cutPath(const QPolygonF &corners)
{
    Shape s;
    s.layer = RibVectors::Cut;
    s.closed = true;
    s.path.addPolygon(corners);
    s.path.closeSubpath();
    return s;
}

QPolygonF square(double x, double y, double side)
{
    return QPolygonF({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}});
}

// The outer contour: the last shape of the cut layer, cut after its inner
// contours.
const Shape *outline(const RibVectors::Rib &rib)
{
    const Shape *last = nullptr;
    for (const Shape &s : rib.shapes)
        if (s.layer == RibVectors::Cut)
            last = &s;
    return last;
}

int countOn(const RibVectors::Rib &rib, int layer)
{
    return int(std::count_if(rib.shapes.begin(), rib.shapes.end(),
                             [&](const Shape &s) { return s.layer == layer; }));
}

// Every cut contour before the outer one lies wholly inside it, measured by
// the polygon library.
bool innersInside(const RibVectors::Rib &rib)
{
    const Shape *outer = outline(rib);
    const Polygons::Shape ring{RibContours::ring(*outer)};
    for (const Shape &s : rib.shapes) {
        if (s.layer != RibVectors::Cut || &s == outer)
            continue;
        const Polygons::Ring r = RibContours::ring(s);
        const double own = std::abs(Polygons::signedArea(r));
        if (own <= 0 || std::abs(Polygons::area(Polygons::intersect(ring, {r})) - own) > 0.01)
            return false;
    }
    return true;
}

// The outline a family of figures is placed against, as the polygon
// library makes it one region: the 200 x 20 box, or a 2412 section of
// 200 mm chord drawn from its formula.
Polygons::Shape familyOutline(bool section)
{
    if (!section)
        return Polygons::unite({QPolygonF({{0, -10}, {200, -10}, {200, 10}, {0, 10}})}, {});
    const Naca::Section naca = Naca::fourDigit(QStringLiteral("2412"), 200);
    QPolygonF ring;
    for (const Naca::Point &p : naca.upper)
        ring << QPointF(200 * p.x, 200 * p.y);
    for (auto it = naca.lower.rbegin() + 1; it + 1 != naca.lower.rend(); ++it)
        ring << QPointF(200 * it->x, 200 * it->y);
    return Polygons::unite({ring}, {});
}

// Figures stepped from one place to another: squares of side size (their
// centres from a to b), or circles of radius size when circles.
QList<QPolygonF> stepped(QPointF a, QPointF b, double size, bool circles, int steps = 40)
{
    QList<QPolygonF> out;
    for (int i = 0; i <= steps; ++i) {
        const QPointF c = a + (b - a) * (double(i) / steps);
        const Shape s = circles ? figureShape({c}, size)
                                : figureShape(square(c.x() - size / 2, c.y() - size / 2, size), 0);
        out << RibContours::ring(s);
    }
    return out;
}

// Squares of side 6 at each distance d from the box's top (or bottom)
// edge, their side nearest it at edge + d outwards: on its inner side when
// d <= 0, beyond it when d >= 0 (both at 0), and one across it.
QList<QPolygonF> offEdge(bool top)
{
    const double edge = top ? 10 : -10, outwards = top ? 1 : -1;
    auto at = [&](double d, bool inner) {
        const double near = edge + outwards * d;
        return square(50, inner == top ? near - 6 : near, 6);
    };
    QList<QPolygonF> out{square(50, edge - 3, 6)};
    for (double d : {-3.0, -0.2, -0.1, -0.05, -0.0101, -0.0099, -0.005, -1e-4, 0.0, 1e-4, 0.005,
                     0.0099, 0.0101, 0.05, 0.1, 0.2, 3.0}) {
        if (d <= 0)
            out << at(d, true);
        if (d >= 0)
            out << at(d, false);
    }
    return out;
}

} // namespace

class TstRibContours : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::setFrench(false); }
    void figureCases_data();
    void figureCases();
    void kerf_data();
    void kerf();
    void circleNotchKerf_data();
    void circleNotchKerf();
    void innerContours_data();
    void innerContours();
    void quickPlace_data();
    void quickPlace();
    void messages();
};

void TstRibContours::figureCases_data()
{
    QTest::addColumn<QPolygonF>("figure");
    QTest::addColumn<double>("radius");  // > 0: a circle centred on figure[0]
    QTest::addColumn<int>("finding");    // -1 none, else Finding::Kind
    QTest::addColumn<int>("inner");      // inner contours left
    QTest::addColumn<double>("cutArea"); // area of the outer contour, mm²
    const double box = 200 * 20;
    QTest::newRow("circle wholly inside") << QPolygonF({{60, 0}}) << 3.0 << -1 << 1 << box;
    QTest::newRow("spar notch across the top edge")
        << QPolygonF({{57, 5}, {63, 5}, {63, 15}, {57, 15}}) << 0.0
        << int(RibContours::Finding::CutsEdge) << 0 << box - 6 * 5;
    QTest::newRow("notch across the bottom edge")
        << QPolygonF({{100, -15}, {104, -15}, {104, -8}, {100, -8}}) << 0.0
        << int(RibContours::Finding::CutsEdge) << 0 << box - 4 * 2;
    QTest::newRow("circle across the nose")
        << QPolygonF({{0, 0}}) << 4.0 << int(RibContours::Finding::CutsEdge) << 0
        << box - M_PI * 16 / 2;
    QTest::newRow("wholly outside") << QPolygonF({{50, 20}, {60, 20}, {60, 30}, {50, 30}}) << 0.0
                                    << int(RibContours::Finding::Outside) << 0 << box;
    QTest::newRow("touching the edge from inside")
        << QPolygonF({{50, 4}, {60, 4}, {60, 10}, {50, 10}}) << 0.0
        << int(RibContours::Finding::CutsEdge) << 0 << box - 10 * 6;
    QTest::newRow("touching the edge from outside")
        << QPolygonF({{50, 10}, {60, 10}, {60, 16}, {50, 16}}) << 0.0
        << int(RibContours::Finding::Outside) << 0 << box;
    QTest::newRow("0.5 mm inside: a hole")
        << QPolygonF({{50, 4}, {60, 4}, {60, 9.5}, {50, 9.5}}) << 0.0 << -1 << 1 << box;
}

// Each case named once; the outer contour stays one closed ring with the
// notch area taken out, measured by the polygon library.
void TstRibContours::figureCases()
{
    QFETCH(QPolygonF, figure);
    QFETCH(double, radius);
    QFETCH(int, finding);
    QFETCH(int, inner);
    QFETCH(double, cutArea);
    RibVectors::Rib rib = boxRib();
    rib.shapes.push_back(figureShape(figure, radius));
    const std::vector<RibContours::Finding> checked = RibContours::check(rib);
    const std::vector<RibContours::Finding> found = RibContours::apply(rib, 0);
    QCOMPARE(int(checked.size()), int(found.size()));
    QCOMPARE(int(found.size()), finding < 0 ? 0 : 1);
    if (finding >= 0) {
        QCOMPARE(int(found.front().kind), finding);
        QCOMPARE(found.front().figure, 0);
    }
    // Inner contours join the cut layer, before the outer contour.
    QCOMPARE(countOn(rib, RibVectors::Figures), 0);
    QCOMPARE(countOn(rib, RibVectors::Cut), 1 + inner);
    const Shape *cut = outline(rib);
    QVERIFY(cut && cut->closed && cut->kind == Shape::Path);
    QCOMPARE(&rib.shapes.back(), cut);
    QVERIFY(innersInside(rib));
    const Polygons::Ring ring = RibContours::ring(*cut);
    QVERIFY(Polygons::isSimple(ring));
    QVERIFY2(std::abs(std::abs(Polygons::signedArea(ring)) - cutArea) < 0.05,
             qPrintable(QString::number(Polygons::signedArea(ring))));
}

void TstRibContours::kerf_data()
{
    QTest::addColumn<double>("kerf");
    QTest::addColumn<double>("notchWidth");
    QTest::addColumn<bool>("narrow");
    QTest::newRow("no kerf") << 0.0 << 6.0 << false;
    QTest::newRow("0.2 mm") << 0.2 << 5.8 << false;
    QTest::newRow("0.5 mm") << 0.5 << 5.5 << false;
    QTest::newRow("7 mm: wider than the notch") << 7.0 << 0.0 << true;
}

// The outer contour lies half the kerf outside the kerf-free one
// everywhere; a 6 mm notch narrows by the kerf; a hole shrinks by half of it.
void TstRibContours::kerf()
{
    QFETCH(double, kerf);
    QFETCH(double, notchWidth);
    QFETCH(bool, narrow);
    RibVectors::Rib plain = boxRib();
    plain.shapes.push_back(figureShape({{57, 5}, {63, 5}, {63, 15}, {57, 15}}, 0));
    Shape hole = figureShape({{120, 0}}, 4.0);
    hole.figure = 1;
    plain.shapes.push_back(hole);
    RibVectors::Rib kerfed = plain;
    RibContours::apply(plain, 0);
    const std::vector<RibContours::Finding> found = RibContours::apply(kerfed, kerf);
    bool reported = false;
    for (const RibContours::Finding &f : found)
        reported = reported || (f.kind == RibContours::Finding::NarrowerThanKerf && f.figure == 0);
    QCOMPARE(reported, narrow);

    const Polygons::Ring before = RibContours::ring(*outline(plain));
    const Polygons::Ring after = RibContours::ring(*outline(kerfed));
    if (kerf > 0) {
        const double d = Polygons::boundaryDistance({after}, {before});
        QVERIFY2(std::abs(d - kerf / 2) < 0.002, qPrintable(QString::number(d)));
        for (const QPointF &p : after) // and never farther than half the kerf
            QVERIFY(Polygons::boundaryDistance({{p, p + QPointF(1e-4, 0), p + QPointF(0, 1e-4)}},
                                               {before}) < kerf / 2 + 0.002);
    }
    if (!narrow) { // the notch bottom, raised by half the kerf, between its sides
        double left = 1e9, right = -1e9;
        for (const QPointF &p : after)
            if (std::abs(p.y() - (5 + kerf / 2)) < 1e-3) {
                left = std::min(left, p.x());
                right = std::max(right, p.x());
            }
        QVERIFY2(std::abs(right - left - notchWidth) < 0.002,
                 qPrintable(QString::number(right - left)));
    }
    const Shape &circle = kerfed.shapes.front();
    QCOMPARE(circle.kind, Shape::Circle);
    QCOMPARE(circle.radius, kerf < 8 ? 4.0 - kerf / 2 : 4.0);
}

void TstRibContours::innerContours_data()
{
    QTest::addColumn<QList<QPolygonF>>("cut");     // closed cut paths, in the rib's order
    QTest::addColumn<QList<QPolygonF>>("figures"); // closed figures
    QTest::addColumn<double>("kerf");
    QTest::addColumn<int>("inner");         // inner contours on the cut layer
    QTest::addColumn<int>("leftOnFigures"); // figures not cut
    QTest::addColumn<double>("outerArea");  // mm²
    QTest::addColumn<double>("innerArea");  // all inner contours together, mm²
    const QPolygonF box({{0, -10}, {200, -10}, {200, 10}, {0, 10}});
    const double area = 200 * 20;
    // Grown by 0.1 mm: the sides move out, the corners round.
    const double grown = 200.2 * 20.2 - (4 - M_PI) * 0.01;
    QTest::newRow("holes before the outline")
        << QList<QPolygonF>{square(20, -5, 10), square(50, -5, 10), box} << QList<QPolygonF>{}
        << 0.0 << 2 << 0 << area << 200.0;
    QTest::newRow("holes on both sides of the outline, kerf 0.2")
        << QList<QPolygonF>{square(20, -5, 10), box, square(50, -5, 10)} << QList<QPolygonF>{}
        << 0.2 << 2 << 0 << grown << 2 * 9.8 * 9.8;
    QTest::newRow("a hole and a figure inside")
        << QList<QPolygonF>{box, square(20, -5, 10)} << QList<QPolygonF>{square(80, -4, 8)} << 0.0
        << 2 << 0 << area << 164.0;
    QTest::newRow("no outline: the figures stay")
        << QList<QPolygonF>{} << QList<QPolygonF>{square(80, -4, 8), square(20, -5, 10)} << 0.2 << 0
        << 2 << 0.0 << 0.0;
    // The notch leaves 0..100 and 104..200: the larger piece is kept, and
    // the hole in the other goes with it.
    QTest::newRow("a notch splits the rib")
        << QList<QPolygonF>{box}
        << QList<QPolygonF>{QPolygonF({{100, -15}, {104, -15}, {104, 15}, {100, 15}}),
                            square(20, -5, 10), square(150, -5, 10)}
        << 0.0 << 1 << 0 << 100.0 * 20 << 100.0;
    // Cut-outs that overlap are cut as one contour. A hole across a hole
    // across a notch: 6 x 5 of the notch is in the rib, then 25 less the 1
    // shared with it, then 16 less the 3 shared with the second hole.
    QTest::newRow("a hole across a hole that overlaps a notch")
        << QList<QPolygonF>{box}
        << QList<QPolygonF>{square(66, 0, 4), QPolygonF({{57, 5}, {63, 5}, {63, 15}, {57, 15}}),
                            square(62, 1, 5)}
        << 0.0 << 0 << 0 << area - 30 - (25 - 1) - (16 - 3) << 0.0;
    // A figure over a lightening hole (100 + 16 - 8), two figures that
    // overlap (64 + 64 - 24), one inside another (64), one apart (16).
    QTest::newRow("holes that overlap are one")
        << QList<QPolygonF>{square(20, -5, 10), box}
        << QList<QPolygonF>{square(28, -2, 4), square(60, -4, 8), square(64, -2, 8),
                            square(102, -2, 4), square(100, -4, 8), square(150, -2, 4)}
        << 0.0 << 4 << 0 << area << 108 + 104 + 64 + 16.0;
    QTest::newRow("holes 5 µm apart stay two")
        << QList<QPolygonF>{box} << QList<QPolygonF>{square(20, -5, 10), square(30.005, -5, 10)}
        << 0.0 << 2 << 0 << area << 200.0;
    QTest::newRow("no outline: figures that overlap are one")
        << QList<QPolygonF>{} << QList<QPolygonF>{square(80, -4, 8), square(84, -4, 8)} << 0.0 << 0
        << 1 << 0.0 << 0.0;
}

// The outer contour is the largest closed cut path wherever it stands;
// every other closed contour is cut before it, inside it, shrunk by half the
// kerf.
void TstRibContours::innerContours()
{
    QFETCH(QList<QPolygonF>, cut);
    QFETCH(QList<QPolygonF>, figures);
    QFETCH(double, kerf);
    QFETCH(int, inner);
    QFETCH(int, leftOnFigures);
    QFETCH(double, outerArea);
    QFETCH(double, innerArea);
    RibVectors::Rib rib;
    for (const QPolygonF &c : cut)
        rib.shapes.push_back(cutPath(c));
    for (int i = 0; i < figures.size(); ++i) {
        rib.shapes.push_back(figureShape(figures[i], 0));
        rib.shapes.back().figure = i;
    }
    RibContours::apply(rib, kerf);
    QCOMPARE(countOn(rib, RibVectors::Figures), leftOnFigures);
    for (const Shape &s : rib.shapes)
        QVERIFY(s.closed);
    if (cut.isEmpty()) {
        QCOMPARE(countOn(rib, RibVectors::Cut), 0);
        return;
    }
    QCOMPARE(countOn(rib, RibVectors::Cut), inner + 1);
    QVERIFY(innersInside(rib));
    const Shape *outer = outline(rib);
    // No two inner contours share any area.
    for (const Shape &a : rib.shapes)
        for (const Shape &b : rib.shapes)
            if (&a < &b && a.layer == RibVectors::Cut && b.layer == RibVectors::Cut && &a != outer &&
                &b != outer)
                QVERIFY(Polygons::area(Polygons::intersect({RibContours::ring(a)},
                                                           {RibContours::ring(b)})) < 1e-6);
    const double measured = std::abs(Polygons::signedArea(RibContours::ring(*outer)));
    QVERIFY2(std::abs(measured - outerArea) < 0.01, qPrintable(QString::number(measured)));
    double holes = 0;
    for (const Shape &s : rib.shapes)
        if (s.layer == RibVectors::Cut && &s != outer)
            holes += std::abs(Polygons::signedArea(RibContours::ring(s)));
    QVERIFY2(std::abs(holes - innerArea) < 0.01, qPrintable(QString::number(holes)));
}

void TstRibContours::circleNotchKerf_data()
{
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("kerf");
    QTest::newRow("3 mm, 0.2 mm kerf") << 3.0 << 0.2;
    QTest::newRow("1 mm, 1.9 mm kerf") << 1.0 << 1.9;
    QTest::newRow("1 mm, 2.1 mm kerf") << 1.0 << 2.1;
    QTest::newRow("0.5 mm, 4 mm kerf") << 0.5 << 4.0;
}

// A round notch is narrower than the kerf when its ring shrunk by half the
// kerf no longer holds one piece.
void TstRibContours::circleNotchKerf()
{
    QFETCH(double, radius);
    QFETCH(double, kerf);
    RibVectors::Rib rib = boxRib();
    const Shape notch = figureShape({{60, 10}}, radius);
    rib.shapes.push_back(notch);
    bool reported = false, cuts = false;
    for (const RibContours::Finding &f : RibContours::apply(rib, kerf)) {
        reported = reported || f.kind == RibContours::Finding::NarrowerThanKerf;
        cuts = cuts || f.kind == RibContours::Finding::CutsEdge;
    }
    QVERIFY(cuts);
    const Polygons::Ring ring = RibContours::ring(notch);
    QCOMPARE(reported, Polygons::offset({ring}, -kerf / 2).size() != 1);
}

void TstRibContours::quickPlace_data()
{
    QTest::addColumn<bool>("section"); // the 2412 section, else the box
    QTest::addColumn<QList<QPolygonF>>("figures");
    QTest::addColumn<QList<int>>("places"); // each Place the family must reach
    using P = RibContours::Place;
    const QList<int> in{int(P::Inside)}, out{int(P::Outside)}, edge{int(P::Edge)};
    const QList<int> all{int(P::Inside), int(P::Edge), int(P::Outside)};
    const QList<int> outOrEdge{int(P::Edge), int(P::Outside)};
    QTest::newRow("squares inside the box") << false << stepped({5, 0}, {195, 0}, 4, false) << in;
    QTest::newRow("off the top edge") << false << offEdge(true) << all;
    QTest::newRow("off the bottom edge") << false << offEdge(false) << all;
    QTest::newRow("circles across the nose")
        << false << stepped({-8, 0}, {8, 0}, 4, true, 64) << all;
    QTest::newRow("circles along the section's chord")
        << true << stepped({10, 1}, {205, 1}, 1.5, true) << all;
    QTest::newRow("squares through the top of the section")
        << true << stepped({60, 5}, {60, 25}, 6, false, 80) << all;
    QTest::newRow("squares through the bottom of the section")
        << true << stepped({120, 5}, {120, -15}, 6, false, 80) << all;
    QTest::newRow("circles rising through the top of the section in 0.05 mm steps")
        << true << stepped({60, 12}, {60, 19}, 2, true, 140) << all;
    QTest::newRow("circles coming down onto the box's top in 2.5 µm steps")
        << false << stepped({100, 12.05}, {100, 11.95}, 2, true, 40) << outOrEdge;
    QTest::newRow("squares of 4 µm across the box's top")
        << false << stepped({50, 9.99}, {50, 10.01}, 0.004, false, 40) << outOrEdge;
    QTest::newRow("squares of 4 µm leaving the box's top in 0.02 µm steps")
        << false << stepped({50, 10.0015}, {50, 10.0021}, 0.004, false, 30) << outOrEdge;
    QTest::newRow("outside the section") << true << stepped({-20, 40}, {220, 40}, 10, false) << out;
    QTest::newRow("surrounding the rib")
        << true << stepped({100, 0}, {100, 2}, 240, false, 4) << edge;
}

// The quick answer for figures far from the outline is the answer of the
// booleans, figure by figure, and each family reaches the places it names.
void TstRibContours::quickPlace()
{
    QFETCH(bool, section);
    QFETCH(QList<QPolygonF>, figures);
    QFETCH(QList<int>, places);
    const Polygons::Shape outer = familyOutline(section);
    QSet<int> reached;
    for (int i = 0; i < figures.size(); ++i) {
        const RibContours::Place quick = RibContours::place(outer, figures[i]);
        QVERIFY2(quick == RibContours::placeByBooleans(outer, figures[i]),
                 qPrintable(QStringLiteral("figure %1").arg(i)));
        reached.insert(int(quick));
    }
    QCOMPARE(reached, QSet<int>(places.begin(), places.end()));
}

void TstRibContours::messages()
{
    Language::setFrench(true);
    QCOMPARE(RibContours::message({RibContours::Finding::CutsEdge, 2}),
             QStringLiteral("la figure 3 coupe le gabarit"));
    QCOMPARE(RibContours::message({RibContours::Finding::Outside, 0}),
             QStringLiteral("la figure 1 est hors du gabarit"));
    Language::setFrench(false);
    QCOMPARE(RibContours::message({RibContours::Finding::CutsEdge, 2}),
             QStringLiteral("figure 3 cuts the template edge"));
    QCOMPARE(RibContours::message({RibContours::Finding::Outside, 0}),
             QStringLiteral("figure 1 is outside the template"));
}

QTEST_MAIN(TstRibContours)
#include "tst_ribcontours.moc"
