#include "geometry/OutlineCurves.h"
#include "geometry/TemplateGeometry.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <vector>

Q_DECLARE_METATYPE(FPoint)
Q_DECLARE_METATYPE(std::vector<FPoint>)

namespace
{

constexpr float kInvalid = OutlineCurves::kInvalidHeight;

bool near(FPoint a, FPoint b, float tolerance = 1e-4f)
{
    return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

QByteArray text(FPoint p)
{
    return QByteArray::number(p.x) + ", " + QByteArray::number(p.y);
}

// A symmetric profile in view pixels with its leading edge at (50, 100):
// a flat-topped lens, 80 pixels thick from x = 100 to x = 200.
struct Lens {
    ViewGeometry view;
    int last = 3;
    Lens()
    {
        view.originX = 50;
        view.originY = 100;
        const FPoint upper[] = {{50, 100}, {100, 60}, {200, 60}, {250, 100}};
        for (int i = 0; i <= last; ++i) {
            view.upperView[i] = upper[i];
            view.lowerView[i] = {upper[i].x, 200 - upper[i].y};
        }
    }
};

// A smooth symmetric profile of n + 1 points per surface, with its template
// points offset by the skin.
struct Section {
    WorkingData wd;
    ViewGeometry view;
    Section(int n, float halfThickness, float skin, float trailingHalf = 0)
    {
        view.originX = 50;
        view.originY = 200;
        view.scale = 2;
        wd.lastPoint = n;
        wd.skinThickness = skin;
        for (int i = 0; i <= n; ++i) {
            // Stations close together at the nose, as in real sections.
            const float x = float(0.5 * (1 - std::cos(M_PI * i / n)));
            // A round nose and a taper to a (possibly blunt) trailing edge.
            const float h = std::sqrt(x) * (1 - x) * 2 * halfThickness + x * trailingHalf;
            view.upperView[i] = {50 + 400 * x, 200 - h};
            view.lowerView[i] = {50 + 400 * x, 200 + h};
        }
        TemplateGeometry::applySkinOffset(wd, view);
    }
};

} // namespace

class TstCurves : public QObject
{
    Q_OBJECT
private slots:
    void smoothing_data();
    void smoothing();
    void twoPointProfileSmoothing();
    void knotsAreKeptBySmoothing();
    void curvePointsFollowKnotsAndClip();
    void scanHeight_data();
    void scanHeight();
    void tailHeight_data();
    void tailHeight();
    void noseHeight_data();
    void noseHeight();
    void searchesResumed();
    void templateEnds();
    void noseFallback();
    void tailFallback();
    void templateKnots_data();
    void templateKnots();
    void camberScan();
    void camberPixelsAndMarkers_data();
    void camberPixelsAndMarkers();
};

void TstCurves::smoothing_data()
{
    QTest::addColumn<int>("coefficient");
    QTest::addColumn<FPoint>("before"); // control point before the middle knot
    QTest::addColumn<FPoint>("after");  // control point after it
    // Knots A = (0, 0), K = (40, -20), B = (100, 0).
    // s = 0: a quarter of the way from K towards each neighbour.
    QTest::newRow("coefficient 0") << 0 << FPoint{30, -15} << FPoint{55, -15};
    // s = 1: K -/+ (B - A) / 4, parallel to the line A-B.
    QTest::newRow("coefficient 100") << 100 << FPoint{15, -20} << FPoint{65, -20};
    // s = 0.5: (A + 3K - s(B - K)) / 4.
    QTest::newRow("coefficient 50") << 50 << FPoint{22.5f, -17.5f} << FPoint{60, -17.5f};
}

void TstCurves::smoothing()
{
    QFETCH(int, coefficient);
    QFETCH(FPoint, before);
    QFETCH(FPoint, after);
    OutlineCurves c;
    c.lastIndex = 6;
    c.upperList[0] = {0, 0};
    c.upperList[3] = {40, -20};
    c.upperList[6] = {100, 0};
    c.lowerList[0] = {0, 0};
    c.lowerList[3] = {40, 20};
    c.lowerList[6] = {100, 0};
    c.smooth(coefficient);
    QVERIFY2(near(c.upperList[2], before), text(c.upperList[2]));
    QVERIFY2(near(c.upperList[4], after), text(c.upperList[4]));
    // The lower list is the mirror image.
    QVERIFY(near(c.lowerList[2], {before.x, -before.y}));
    QVERIFY(near(c.lowerList[4], {after.x, -after.y}));
    // The curve leaves the leading edge vertically and arrives straight.
    QVERIFY(near(c.upperList[1], {0, -10}));
    QVERIFY(near(c.upperList[5], {100, 0}));
}

void TstCurves::twoPointProfileSmoothing()
{
    OutlineCurves c;
    c.lastIndex = 3;
    c.upperList[0] = {50, 100};
    c.upperList[3] = {350, 100};
    c.lowerList[0] = {50, 100};
    c.lowerList[3] = {350, 100};
    c.smooth(50);
    QVERIFY(near(c.upperList[1], {50, 100}));
    QVERIFY(near(c.upperList[2], {350, 100}));
    const QPolygon poly = c.curvePoints(true);
    QCOMPARE(poly.first(), QPoint(50, 100));
    QCOMPARE(poly.last(), QPoint(350, 100));
    for (const QPoint &p : poly)
        QCOMPARE(p.y(), 100);
}

void TstCurves::knotsAreKeptBySmoothing()
{
    Lens lens;
    OutlineCurves c;
    int reported = 0;
    c.storeProfileKnots(lens.view, lens.last, [&](FPoint) { ++reported; });
    QCOMPARE(reported, 2 * (lens.last + 1));
    QCOMPARE(c.lastIndex, 9);
    c.smooth(100);
    for (int i = 0; i <= lens.last; ++i) {
        QCOMPARE(c.upperList[3 * i], lens.view.upperView[i]);
        QCOMPARE(c.lowerList[3 * i], lens.view.lowerView[i]);
    }
}

void TstCurves::curvePointsFollowKnotsAndClip()
{
    OutlineCurves c;
    c.lastIndex = 6;
    // Straight lines with control points on them: the curve is the line.
    const FPoint upper[] = {{0, 10}, {10, 10}, {20, 10}, {30, 10}, {40, 10}, {50, 10}, {60, 10}};
    const FPoint lower[] = {{0, 20}, {12, 20}, {24, 20}, {36, 20}, {48, 20}, {60, 20}, {72, 20}};
    for (int i = 0; i <= 6; ++i) {
        c.upperList[i] = upper[i];
        c.lowerList[i] = lower[i];
    }
    const QPolygon up = c.curvePoints(true);
    QCOMPARE(up.size(), 33); // 16 points per segment after the start
    QCOMPARE(up.first(), QPoint(0, 10));
    QCOMPARE(up.last(), QPoint(60, 10));
    // The lower curve runs past the upper one's trailing edge: held at x 60.
    const QPolygon low = c.curvePoints(false);
    QCOMPARE(low.last(), QPoint(60, 20));
    int maxX = 0;
    for (const QPoint &p : low)
        maxX = std::max(maxX, p.x());
    QCOMPARE(maxX, 60);

    QImage img(80, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::black);
    c.draw(p);
    p.end();
    QCOMPARE(img.pixelColor(30, 10), QColor(Qt::black));
    QCOMPARE(img.pixelColor(30, 20), QColor(Qt::black));
    QCOMPARE(img.pixelColor(65, 20), QColor(Qt::white));
}

void TstCurves::scanHeight_data()
{
    QTest::addColumn<std::vector<FPoint>>("points");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("expected");
    const std::vector<FPoint> line{{0, 0}, {10, 20}, {30, 20}, {40, 0}};
    QTest::newRow("interpolated in the first piece") << line << 5.f << 10.f;
    QTest::newRow("at a point takes the next piece") << line << 10.f << 20.f;
    QTest::newRow("last piece") << line << 35.f << 10.f;
    QTest::newRow("beyond the last point") << line << 40.f << kInvalid;
    const std::vector<FPoint> steep{{0, 0}, {10, 0}, {10.5f, 30}, {40, 30}};
    QTest::newRow("closer than 1 pixel: first point's y") << steep << 10.2f << 0.f;
    // The first piece whose end lies beyond x, even after a piece going back.
    const std::vector<FPoint> back{{0, 0}, {20, 10}, {15, 20}, {30, 20}, {40, 0}};
    QTest::newRow("before a turn back") << back << 12.f << 6.f;
    QTest::newRow("past the turn back") << back << 25.f << 20.f;
}

void TstCurves::scanHeight()
{
    QFETCH(std::vector<FPoint>, points);
    QFETCH(float, x);
    QFETCH(float, expected);
    const int last = int(points.size()) - 1;
    QCOMPARE(OutlineCurves::scanHeight(points.data(), last, x), expected);
    // The same answer when the search resumes from where smaller x stopped.
    int from = 0;
    for (float before = points[0].x - 1; before < x; before += 0.75f)
        OutlineCurves::scanHeight(points.data(), last, before, &from);
    QCOMPARE(OutlineCurves::scanHeight(points.data(), last, x, &from), expected);
}

void TstCurves::tailHeight_data()
{
    QTest::addColumn<std::vector<FPoint>>("points");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("expected");
    // last = 4, searched from point 2 (= 4 div 2) onwards.
    const std::vector<FPoint> pts{{0, 0}, {10, 40}, {20, 40}, {30, 20}, {40, 0}};
    QTest::newRow("front of the rear half is invalid") << pts << 19.f << kInvalid;
    QTest::newRow("at the middle point") << pts << 20.f << 40.f;
    QTest::newRow("interpolated") << pts << 35.f << 10.f;
    QTest::newRow("at the last point: none beyond") << pts << 40.f << kInvalid;
    QTest::newRow("past the last point") << pts << 41.f << kInvalid;
    const std::vector<FPoint> flat{{0, 0}, {10, 40}, {20, 40}, {20.5f, 10}, {40, 0}};
    QTest::newRow("closer than 1 pixel") << flat << 20.2f << 40.f;
}

void TstCurves::tailHeight()
{
    QFETCH(std::vector<FPoint>, points);
    QFETCH(float, x);
    QFETCH(float, expected);
    QCOMPARE(OutlineCurves::tailHeight(points.data(), int(points.size()) - 1, x), expected);
}

void TstCurves::noseHeight_data()
{
    QTest::addColumn<std::vector<FPoint>>("points");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("threshold");
    QTest::addColumn<float>("expected");
    // last = 4: the front half is points 0..2, searched down from point 1.
    const std::vector<FPoint> pts{{10, 50}, {20, 30}, {30, 20}, {40, 20}, {50, 50}};
    QTest::newRow("before the first point") << pts << 9.f << 1.f << kInvalid;
    QTest::newRow("past the middle point") << pts << 31.f << 1.f << kInvalid;
    QTest::newRow("interpolated") << pts << 15.f << 1.f << 40.f;
    QTest::newRow("second piece") << pts << 25.f << 1.f << 25.f;
    QTest::newRow("at the first point: none before it") << pts << 10.f << 1.f << kInvalid;
    const std::vector<FPoint> close{{10, 50}, {10.5f, 30}, {30, 20}, {40, 20}, {50, 50}};
    QTest::newRow("0.5 apart, upper threshold 0.001") << close << 10.25f << 0.001f << 40.f;
    QTest::newRow("0.5 apart, lower threshold 1") << close << 10.25f << 1.f << 50.f;
}

void TstCurves::noseHeight()
{
    QFETCH(std::vector<FPoint>, points);
    QFETCH(float, x);
    QFETCH(float, threshold);
    QFETCH(float, expected);
    QCOMPARE(OutlineCurves::noseHeight(points.data(), int(points.size()) - 1, x, threshold),
             expected);
}

// The nose and tail searches step one pixel at a time, each search
// resumed where the last stopped: over surfaces whose points go back and
// forth in x, every step finds what a search from the middle finds.
void TstCurves::searchesResumed()
{
    QRandomGenerator random(5);
    for (int trial = 0; trial < 200; ++trial) {
        const int last = 4 + int(random.bounded(40));
        std::vector<FPoint> points;
        for (int i = 0; i <= last; ++i)
            points.push_back(
                {float(10 * i + random.bounded(trial % 2 ? 25 : 5)), float(random.bounded(100))});
        const float mid = points[size_t(last / 2)].x;
        int noseAt = last, tailAt = 0;
        for (float x = mid + 3; x > -5; x -= 1)
            QCOMPARE(OutlineCurves::noseHeight(points.data(), last, x, 1.f, &noseAt),
                     OutlineCurves::noseHeight(points.data(), last, x, 1.f));
        for (float x = mid - 3; x < 10 * last + 30; x += 1)
            QCOMPARE(OutlineCurves::tailHeight(points.data(), last, x, &tailAt),
                     OutlineCurves::tailHeight(points.data(), last, x));
    }
}

void TstCurves::templateEnds()
{
    // About 60 pixels thick at most, skin 12 pixels (60/10 at 2 px/mm): thick
    // enough for the offset curves to cross behind the nose.
    Section s(30, 40, 60);
    OutlineCurves c;
    c.computeTemplateEnds(s.wd, s.view);
    const int n = s.wd.lastPoint;
    const FPoint *ut = s.wd.upperTemplate.data();
    const FPoint *lt = s.wd.lowerTemplate.data();

    // The nose is where the offset curves cross: just behind it they are
    // apart in the right order.
    QVERIFY(c.nose.x < ut[n / 3].x && c.nose.x > ut[0].x);
    const float up = OutlineCurves::noseHeight(ut, n, c.nose.x, 0.001f);
    const float low = OutlineCurves::noseHeight(lt, n, c.nose.x, 1.f);
    QVERIFY(low - up < 0);
    QCOMPARE(c.nose.y, (up + low) / 2);
    QVERIFY(OutlineCurves::noseHeight(lt, n, c.nose.x + 1, 1.f) -
                OutlineCurves::noseHeight(ut, n, c.nose.x + 1, 0.001f) >=
            0);

    // The tail is where the profile is no thicker than two skins.
    const FPoint *uv = s.view.upperView.data();
    const FPoint *lv = s.view.lowerView.data();
    QVERIFY(c.tail.x > ut[2 * n / 3].x && c.tail.x < uv[n].x);
    const float tu = OutlineCurves::tailHeight(uv, n, c.tail.x);
    const float tl = OutlineCurves::tailHeight(lv, n, c.tail.x);
    QVERIFY(std::fabs(tl - tu) <= 24.f);
    QVERIFY(std::fabs(OutlineCurves::tailHeight(lv, n, c.tail.x - 1) -
                      OutlineCurves::tailHeight(uv, n, c.tail.x - 1)) > 24.f);
    QVERIFY(std::fabs(c.tail.y - 200.f) < 1e-3f);
}

void TstCurves::noseFallback()
{
    // Offset curves that never cross before the first template point: the
    // outline starts at the leading edge moved back by one skin.
    Section s(30, 40, 25);
    for (int i = 0; i <= 15; ++i) {
        s.wd.upperTemplate[i].y = 100;
        s.wd.lowerTemplate[i].y = 300;
    }
    OutlineCurves c;
    c.computeTemplateEnds(s.wd, s.view);
    QCOMPARE(c.nose, (FPoint{50.f + 5, 200.f}));
}

void TstCurves::tailFallback()
{
    // A blunt trailing edge 80 pixels thick, skins of 25 pixels: never
    // thinner than two skins, so the outline ends three skins ahead of the
    // last upper template point.
    Section s(30, 40, 125, 40);
    QCOMPARE(s.wd.skinOffsetRounded, 25);
    OutlineCurves c;
    c.computeTemplateEnds(s.wd, s.view);
    const FPoint last = s.wd.upperTemplate[30];
    QCOMPARE(c.tail, (FPoint{last.x - 75, last.y}));
}

void TstCurves::templateKnots_data()
{
    QTest::addColumn<std::vector<FPoint>>("upper");
    QTest::addColumn<std::vector<FPoint>>("lower");
    QTest::addColumn<int>("upperInside"); // template points kept on each surface
    QTest::addColumn<int>("lowerInside");
    // Nose at x 60.4 (rounded 60), tail at x 200.
    QTest::newRow("same count") << std::vector<FPoint>{{55, 0}, {100, 0}, {150, 0}, {210, 0}}
                                << std::vector<FPoint>{{55, 9}, {100, 9}, {150, 9}, {210, 9}} << 2
                                << 2;
    QTest::newRow("lower has more: upper padded with the tail")
        << std::vector<FPoint>{{55, 0}, {100, 0}, {199, 0}, {205, 0}}
        << std::vector<FPoint>{{61, 9}, {100, 9}, {150, 9}, {210, 9}} << 2 << 3;
    QTest::newRow("upper has more: lower padded")
        << std::vector<FPoint>{{61, 0}, {100, 0}, {150, 0}, {199.9f, 0}}
        << std::vector<FPoint>{{55, 9}, {60.4f, 9}, {200, 9}, {210, 9}} << 4 << 0;
    QTest::newRow("rounded x equal to the nose is left out")
        << std::vector<FPoint>{{60.4f, 0}, {100, 0}, {150, 0}, {210, 0}}
        << std::vector<FPoint>{{59.6f, 9}, {100, 9}, {150, 9}, {210, 9}} << 2 << 2;
}

void TstCurves::templateKnots()
{
    QFETCH(std::vector<FPoint>, upper);
    QFETCH(std::vector<FPoint>, lower);
    QFETCH(int, upperInside);
    QFETCH(int, lowerInside);
    WorkingData wd;
    const int last = int(upper.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        wd.upperTemplate[i] = upper[size_t(i)];
        wd.lowerTemplate[i] = lower[size_t(i)];
    }
    OutlineCurves c;
    c.nose = {60.4f, 5};
    c.tail = {200, 5};
    std::vector<FPoint> reported;
    c.storeTemplateKnots(wd, last, [&](FPoint k) { reported.push_back(k); });

    const int knots = std::max(upperInside, lowerInside) + 2;
    QCOMPARE(c.lastIndex, 3 * knots - 3);
    QCOMPARE(c.upperList[0], c.nose);
    QCOMPARE(c.lowerList[0], c.nose);
    QCOMPARE(c.upperList[3 * (upperInside + 1)], c.tail);
    QCOMPARE(c.lowerList[3 * (lowerInside + 1)], c.tail);
    // Padding repeats the tail up to the common last knot.
    QCOMPARE(c.upperList[c.lastIndex], c.tail);
    QCOMPARE(c.lowerList[c.lastIndex], c.tail);
    // Nose, every kept point, the tail once.
    QCOMPARE(int(reported.size()), upperInside + lowerInside + 2);
    QCOMPARE(reported.front(), c.nose);
    QCOMPARE(reported.back(), c.tail);
}

void TstCurves::camberScan()
{
    Lens lens;
    OutlineCurves c;
    c.scanCamber(lens.view, lens.last, nullptr, true, Qt::blue);
    // 80 pixels from x 100 to 200; the first sample there (x = 102) wins.
    QCOMPARE(c.maxThickness, 80.f);
    QCOMPARE(c.maxThicknessX, 102.f);
}

void TstCurves::camberPixelsAndMarkers_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("show");
    QTest::newRow("screen, shown") << int(OutputMode::Screen) << true;
    QTest::newRow("screen, hidden") << int(OutputMode::Screen) << false;
    QTest::newRow("printer: two pixels high") << int(OutputMode::Printer) << true;
}

void TstCurves::camberPixelsAndMarkers()
{
    QFETCH(int, mode);
    QFETCH(bool, show);
    Lens lens;
    lens.view.mode = OutputMode(mode);
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    OutlineCurves c;
    std::vector<FPoint> markers;
    c.scanCamber(lens.view, lens.last, &p, show, QColor(0, 0, 128),
                 [&](FPoint m) { markers.push_back(m); });
    p.end();
    const QColor navy(0, 0, 128);
    // Samples at x = 54, 58, ... up to 234 (16 pixels before 250), on y 100.
    QCOMPARE(img.pixelColor(54, 100) == navy, show);
    QCOMPARE(img.pixelColor(234, 100) == navy, show);
    QCOMPARE(img.pixelColor(238, 100), QColor(Qt::white));
    QCOMPARE(img.pixelColor(56, 100), QColor(Qt::white));
    QCOMPARE(img.pixelColor(54, 101) == navy, show && mode == int(OutputMode::Printer));
    // The thickness is measured whether or not the camber is shown.
    QCOMPARE(c.maxThickness, 80.f);
    if (show) {
        QCOMPARE(int(markers.size()), 4);
        QCOMPARE(markers[0], (FPoint{100, 100})); // 25 % of 200 pixels
        QCOMPARE(markers[1], (FPoint{110, 100}));
        QCOMPARE(markers[2], (FPoint{130, 100}));
        QCOMPARE(markers[3], (FPoint{150, 100}));
    } else {
        QVERIFY(markers.empty());
    }
}

QTEST_MAIN(TstCurves)
#include "tst_curves.moc"
