#include "geometry/TemplateGeometry.h"

#include <QTest>

#include <cmath>

namespace
{

constexpr float kPi = 3.1415927f;

bool near(FPoint a, FPoint b, float tolerance = 1e-4f)
{
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

QByteArray text(FPoint p)
{
    return QByteArray::number(p.x) + ", " + QByteArray::number(p.y);
}

// Three view points per surface; the middle one is the one under test.
struct Setup {
    WorkingData wd;
    ViewGeometry view;
    Setup(std::initializer_list<FPoint> upper, std::initializer_list<FPoint> lower, float skin = 10,
          float scale = 3)
    {
        wd.lastPoint = int(upper.size()) - 1;
        wd.skinThickness = skin;
        view.scale = scale;
        int i = 0;
        for (FPoint p : upper)
            view.upperView[i++] = p;
        i = 0;
        for (FPoint p : lower)
            view.lowerView[i++] = p;
    }
};

} // namespace

Q_DECLARE_METATYPE(FPoint)

class TstSkinOffset : public QObject
{
    Q_OBJECT
private slots:
    void surfaceAngle_data();
    void surfaceAngle();
    void interiorPoint_data();
    void interiorPoint();
    void twoPointsGiveOnlyTheEnds();
    void noTemplatePoints_data();
    void noTemplatePoints();
    void offsetIsPerpendicularToNeighbourChord();
};

void TstSkinOffset::surfaceAngle_data()
{
    QTest::addColumn<FPoint>("p");
    QTest::addColumn<FPoint>("q");
    QTest::addColumn<float>("expected");
    // The direction from q to p with y counted upwards.
    QTest::newRow("p left of q, level") << FPoint{0, 0} << FPoint{10, 0} << kPi;
    QTest::newRow("p right of q, level") << FPoint{10, 0} << FPoint{0, 0} << 0.0f;
    QTest::newRow("p up-left (screen) of q") << FPoint{0, 0} << FPoint{10, 10} << kPi - kPi / 4;
    QTest::newRow("p up-right (screen) of q") << FPoint{10, 0} << FPoint{0, 10} << kPi / 4;
    QTest::newRow("p down-right of q") << FPoint{10, 10} << FPoint{0, 0} << -kPi / 4;
    QTest::newRow("vertical, p lower on screen") << FPoint{5, 20} << FPoint{5, 10} << 4.712389f;
    QTest::newRow("vertical, p higher on screen") << FPoint{5, 10} << FPoint{5, 20} << 1.5707964f;
    QTest::newRow("coincident points") << FPoint{5, 5} << FPoint{5, 5} << 1.5707964f;
    QTest::newRow("within 0.0001 counts as vertical")
        << FPoint{5.00005f, 20} << FPoint{5, 10} << 4.712389f;
}

void TstSkinOffset::surfaceAngle()
{
    QFETCH(FPoint, p);
    QFETCH(FPoint, q);
    QFETCH(float, expected);
    QVERIFY(std::fabs(TemplateGeometry::surfaceAngle(p, q) - expected) < 1e-6f);
}

void TstSkinOffset::interiorPoint_data()
{
    QTest::addColumn<FPoint>("previous");
    QTest::addColumn<FPoint>("point");
    QTest::addColumn<FPoint>("next");
    QTest::addColumn<FPoint>("upperExpected");
    QTest::addColumn<FPoint>("lowerExpected");
    // Skin 10/10 at 3 px/mm: d = 3. Both surfaces get the same points here,
    // so the upper one moves one way and the lower one the other.
    QTest::newRow("level surface: upper down, lower up")
        << FPoint{0, 100} << FPoint{10, 100} << FPoint{20, 100} << FPoint{10, 103}
        << FPoint{10, 97};
    QTest::newRow("vertical, previous lower on screen: upper right")
        << FPoint{10, 110} << FPoint{10, 100} << FPoint{10, 90} << FPoint{13, 100}
        << FPoint{7, 100};
    QTest::newRow("vertical, previous higher on screen: upper left")
        << FPoint{10, 90} << FPoint{10, 100} << FPoint{10, 110} << FPoint{7, 100}
        << FPoint{13, 100};
    QTest::newRow("neighbours coincide: upper left")
        << FPoint{10, 100} << FPoint{12, 95} << FPoint{10, 100} << FPoint{9, 95} << FPoint{15, 95};
    // Rising to the right at 45 degrees on screen (y falls): the normal into
    // an upper surface points down-right.
    QTest::newRow("45 degree slope") << FPoint{0, 100} << FPoint{10, 90} << FPoint{20, 80}
                                     << FPoint{10 + 3 * 0.70710677f, 90 + 3 * 0.70710677f}
                                     << FPoint{10 - 3 * 0.70710677f, 90 - 3 * 0.70710677f};
}

void TstSkinOffset::interiorPoint()
{
    QFETCH(FPoint, previous);
    QFETCH(FPoint, point);
    QFETCH(FPoint, next);
    QFETCH(FPoint, upperExpected);
    QFETCH(FPoint, lowerExpected);
    Setup s({previous, point, next}, {previous, point, next}, 10, 3);
    TemplateGeometry::applySkinOffset(s.wd, s.view);
    QVERIFY2(near(s.wd.upperTemplate[1], upperExpected), text(s.wd.upperTemplate[1]));
    QVERIFY2(near(s.wd.lowerTemplate[1], lowerExpected), text(s.wd.lowerTemplate[1]));
}

void TstSkinOffset::twoPointsGiveOnlyTheEnds()
{
    Setup s({{50, 100}, {350, 100}}, {{50, 100}, {350, 100}}, 10, 3);
    const FPoint sentinel{-1, -1};
    s.wd.upperTemplate[1] = sentinel;
    s.wd.upperTemplate[2] = sentinel;
    TemplateGeometry::applySkinOffset(s.wd, s.view);
    QVERIFY(near(s.wd.upperTemplate[0], {53, 100}));
    QVERIFY(near(s.wd.upperTemplate[1], {353, 100}));
    QVERIFY(near(s.wd.lowerTemplate[1], {353, 100}));
    QCOMPARE(s.wd.upperTemplate[2], sentinel);
}

void TstSkinOffset::noTemplatePoints_data()
{
    QTest::addColumn<float>("skin");
    QTest::addColumn<int>("lastPoint");
    QTest::newRow("skin 0") << 0.f << 2;
    QTest::newRow("negative skin") << -5.f << 2;
    QTest::newRow("single point") << 10.f << 0;
    QTest::newRow("no point") << 10.f << -1;
}

void TstSkinOffset::noTemplatePoints()
{
    QFETCH(float, skin);
    QFETCH(int, lastPoint);
    Setup s({{50, 100}, {60, 90}, {150, 100}}, {{50, 100}, {60, 110}, {150, 100}}, skin, 3);
    s.wd.lastPoint = lastPoint;
    const FPoint sentinel{-7, -7};
    s.wd.upperTemplate.fill(sentinel);
    s.wd.lowerTemplate.fill(sentinel);
    TemplateGeometry::applySkinOffset(s.wd, s.view);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(s.wd.upperTemplate[i], sentinel);
        QCOMPARE(s.wd.lowerTemplate[i], sentinel);
    }
}

void TstSkinOffset::offsetIsPerpendicularToNeighbourChord()
{
    // Points on a circle of radius 100 around (200, 200), upper half: each
    // template point is d from its view point, on the side of the centre,
    // and the move is at right angles to the chord of its neighbours.
    Setup s({}, {}, 20, 5); // d = 10
    const int n = 18;
    s.wd.lastPoint = n;
    for (int i = 0; i <= n; ++i) {
        const double a = M_PI - M_PI * i / n;
        s.view.upperView[i] = {float(200 + 100 * std::cos(a)), float(200 - 100 * std::sin(a))};
        s.view.lowerView[i] = {float(200 + 100 * std::cos(a)), float(200 + 100 * std::sin(a))};
    }
    TemplateGeometry::applySkinOffset(s.wd, s.view);
    for (int i = 1; i < n; ++i) {
        for (bool upperSurface : {true, false}) {
            const auto &v = upperSurface ? s.view.upperView : s.view.lowerView;
            const FPoint t = upperSurface ? s.wd.upperTemplate[i] : s.wd.lowerTemplate[i];
            const float mx = t.x - v[i].x, my = t.y - v[i].y;
            QVERIFY(std::fabs(std::hypot(mx, my) - 10.f) < 1e-3f);
            const float cx = v[i + 1].x - v[i - 1].x, cy = v[i + 1].y - v[i - 1].y;
            QVERIFY(std::fabs(mx * cx + my * cy) < 1e-2f);
            // Into the circle: closer to the centre.
            QVERIFY(std::hypot(t.x - 200.f, t.y - 200.f) < 95.f);
        }
    }
}

QTEST_APPLESS_MAIN(TstSkinOffset)
#include "tst_skinoffset.moc"
